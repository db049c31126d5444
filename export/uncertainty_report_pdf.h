// The report of an uncertainty study as a PDF document (see writeUncertaintyReportPdf).
#pragma once

#include <QDateTime>
#include <QIODevice>
#include <QString>

#include "uq/analysis.h"

namespace tesmo::qt {

// Writes A4 pages in German onto `device`: what the study is (its file, the sample, the base
// case, the uncertain inputs and their correlations), how many cases finished, the statistics
// of every analysed result, the probabilities beyond the limits and the Sobol' indices as
// tables of real text; then a page per analysed result with its histogram and its indices as
// vector charts. `study` names the study file (empty: not saved); `made` is the time the report
// names as its own. False if the document could not be made.
bool writeUncertaintyReportPdf(QIODevice& device, const UncertaintyPlan& plan,
                               const UncertaintyAnalysis& analysis, const QString& study,
                               const QDateTime& made);

}  // namespace tesmo::qt
