// The report of a run as a PDF document (see exportReportPdf).
#pragma once

#include <QDateTime>
#include <QIODevice>

#include "display/run_control.h"
#include "display/window_base.h"

namespace tesmo::qt {

// Writes three A4 pages in German onto `device`: the tables (inputs as read at Start, set-up
// values, results, warnings and water-balance error), both charts, and the numeric diagrams of
// water load, temperatures and shrinkage. `made` is the time the report names as its own.
// False if the document could not be made.
bool writeReportPdf(QIODevice& device, const WindowBase& window, const RunControl& run,
                    const QDateTime& made);

}  // namespace tesmo::qt
