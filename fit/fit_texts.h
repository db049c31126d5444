// A fit's result as German texts for reading, the same in the window and in its report: a value
// with as many digits as its standard error warrants, the interval, the correlations, the
// residuals with their units, and how the fit ended.
#pragma once

#include <string>

#include "fit/fit.h"

namespace tesmo {

// The input as the window's label names it, without the blanks some captions end in.
std::string inputLabel(Control field);

// The value rounded where its standard error has its second significant digit ("55,01" for
// 55,0115 ± 0,359); with an unknown or infinite error to six significant digits.
std::string estimateText(const ParameterEstimate& p);
// "± 0,36", or "± ∞" where the measurements do not depend on the input, "–" where unknown.
std::string errorText(const ParameterEstimate& p);
// The 95 % interval "54,31 … 55,73" at the value's digits; "–" where unknown.
std::string intervalText(const ParameterEstimate& p);
// "bestimmt" or "nicht bestimmt".
std::string determinedText(const ParameterEstimate& p);
// A correlation with two decimals; "–" where there is none (a variance is infinite).
std::string correlationText(double c);
// A residual's root mean square with three significant digits and the quantity's unit.
std::string rmsText(double rms, Messgroesse g);
// A quantity's measurement noise: "0,00195 kg/kg (geschätzt)" or "(vorgegeben)".
std::string sigmaText(const FitResult& result, Messgroesse g);

// How the fit ended, as a sentence fragment: "konvergiert nach 12 Iterationen",
// "Iterationsgrenze erreicht (100 Iterationen)", "fehlgeschlagen", "abgebrochen".
std::string endText(const FitResult& result);
// The figures of a computed fit: "396 Modellläufe in 0:00:07, bester von 2 Startpunkten".
std::string effortText(const FitResult& result);

}  // namespace tesmo
