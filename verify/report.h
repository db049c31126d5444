// The verification report: one section per study, each with its text (German Markdown) and
// its figures, built from the studies' results. Nothing here computes the model.
#pragma once

#include <string>

#include "verify/air_comparison.h"
#include "verify/boundary_studies.h"
#include "verify/dryer_balance.h"
#include "verify/grid_study.h"
#include "verify/plane_sheet.h"
#include "verify/report_text.h"
#include "verify/water_balance_study.h"

namespace tesmo {

// The title and introduction, and the closing section on reproducing the report.
std::string reportHead();
ReportSection sheetSection(const SheetStudy& study);
ReportSection gridSection(const GridStudy& study, const BalanceStudy& balance);
ReportSection airSection(const AirComparison& comparison);
ReportSection waterSection(const WaterStudy& study, const ShrinkageCheck& check);
ReportSection balanceSection(const BalanceStudy& study);
ReportSection boundarySection(const FluxStudy& flux, const SimilarityStudy& similarity,
                              const FrontStudy& front);
std::string reportTail();

}  // namespace tesmo
