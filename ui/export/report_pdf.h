// The report of a run as a PDF document (see exportReportPdf).
#pragma once

#include <QByteArray>
#include <QDateTime>

#include "ui/run_control.h"
#include "ui/window_base.h"

namespace tesmo::qt {

// Two A4 pages in German: the tables (inputs as read at Start, set-up values, results, warnings
// and water-balance error) and both charts. `made` is the time the report names as its own.
QByteArray reportPdf(const WindowBase& window, const RunControl& run, const QDateTime& made);

}  // namespace tesmo::qt
