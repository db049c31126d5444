// Section 3 of the report: the moist-air functions against reference values.
#include <algorithm>
#include <cmath>

#include "verify/reference_air.h"
#include "verify/report.h"

namespace tesmo {

namespace {

// The row with the largest |deviation|.
template <class Row, class Deviation>
const Row& largest(const std::vector<Row>& rows, Deviation deviation) {
    return *std::max_element(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        return std::abs(deviation(a)) < std::abs(deviation(b));
    });
}

double wetBulbDeviation(const WetBulbRow& r) {
    return r.model - r.reference;
}

std::string checkTemperatures() {
    std::string text;
    for (std::size_t i = 0; i < kIf97CheckValues.size(); ++i) {
        text += (i == 0                             ? ""
                 : i + 1 == kIf97CheckValues.size() ? " und "
                                                    : ", ") +
                fest(kIf97CheckValues[i].kelvin, 0);
    }
    return text + " K";
}

Figure pressureFigure(const AirComparison& c) {
    std::vector<double> theta, dev, tableTheta, tableDev;
    for (const PressureRow& r : c.curve) {
        theta.push_back(r.theta);
        dev.push_back(r.deviation());
    }
    for (const PressureRow& r : c.pressures) {
        tableTheta.push_back(r.theta);
        tableDev.push_back(r.deviation());
    }
    Figure f;
    f.file = "luft_saettigungsdruck.svg";
    f.caption = "Bild 3.1: Relative Abweichung des Sättigungsdrucks des Modells von IAPWS-IF97";
    f.spec.xTitle = "Temperatur θ in °C";
    f.spec.yTitle = "(p_Modell − p_IF97)/p_IF97 in %";
    f.spec.series.push_back(series("je Kelvin", theta, dev, seriesColour(0), true, false));
    f.spec.series.push_back(
        series("Werte der Tabelle", tableTheta, tableDev, seriesColour(0), false, true));
    return f;
}

}  // namespace

ReportSection airSection(const AirComparison& c) {
    ReportSection r;
    r.add("## 3 Feuchte Luft gegen Referenzwerte\n\n");
    r.add("### Sättigungsdruck\n\n");
    r.add(
        "`Saettigungsdruck` (model/moist_air.h) ist eine Magnus-Formel. Referenz ist die "
        "Sättigungsdruckgleichung der IAPWS-IF97 (Bereich 4, Gl. 30), aus ihren veröffentlichten "
        "Koeffizienten n₁ … n₁₀ umgesetzt:\n\n"
        "ϑ = T + n₉/(T − n₁₀), A = ϑ² + n₁·ϑ + n₂, B = n₃·ϑ² + n₄·ϑ + n₅, "
        "C = n₆·ϑ² + n₇·ϑ + n₈, p_s = (2C/(−B + √(B² − 4AC)))⁴ · 1 MPa.\n\n"
        "Die Umsetzung trifft die Prüfwerte der Norm für " +
        checkTemperatures() + " auf " + zahl(c.checkDeviation, 1) + " (relativ).\n\n");
    MarkdownTable t({"θ in °C", "Modell in Pa", "IAPWS-IF97 in Pa", "Abweichung"}, "rrrr");
    for (const PressureRow& p : c.pressures)
        t.row(
            {fest(p.theta, 0), fest(p.model, 1), fest(p.reference, 1), prozent(p.deviation(), 3)});
    r.add(t.str());
    const PressureRow& worstTable =
        largest(c.pressures, [](const PressureRow& p) { return p.deviation(); });
    const PressureRow& worstCurve =
        largest(c.curve, [](const PressureRow& p) { return p.deviation(); });
    r.add("Die größte Abweichung der Tabelle liegt bei " + fest(worstTable.theta, 0) + " °C (" +
          prozent(worstTable.deviation(), 3) + "), zwischen 0 und 100 °C bei " +
          fest(worstCurve.theta, 0) + " °C (" + prozent(worstCurve.deviation(), 3) + ").\n\n");
    r.add(pressureFigure(c));

    r.add("### Kühlgrenztemperatur\n\n");
    r.add(
        "`Kuehlgrenztemperatur(θ, X)` sucht durch Intervallhalbierung die Temperatur, bei der "
        "die adiabate Sättigung der Luft endet, mit der Enthalpie 1,005·θ + X·(2500 + 1,86·θ) und "
        "dem Sättigungsdruck oben. Referenz sind die psychrometrischen Beziehungen des *ASHRAE "
        "Handbook – Fundamentals* (Kapitel Psychrometrics) bei 1 bar Gesamtdruck: die "
        "Wasserbeladung W = 0,621945·p_w/(p − p_w) und die Gleichung der thermodynamischen "
        "Feuchtkugeltemperatur t*\n\n"
        "W = ((2501 − 2,326·t*)·W_s(t*) − 1,006·(t − t*)) / (2501 + 1,86·t − 4,186·t*),\n\n"
        "W_s(t*) die Beladung gesättigter Luft bei t* mit dem Sättigungsdruck nach IAPWS-IF97, "
        "gelöst durch Intervallhalbierung bis zur Rechengenauigkeit. Die Luftzustände sind durch "
        "Temperatur "
        "und relative Feuchte gegeben; beide Funktionen erhalten dieselbe Wasserbeladung X, "
        "berechnet mit dem Referenz-Sättigungsdruck.\n\n");
    MarkdownTable w({"Luft θ in °C", "φ in %", "X in g/kg", "Modell θKG in °C", "Referenz t* in °C",
                     "Abweichung in K"},
                    "rrrrrr");
    for (const WetBulbRow& b : c.wetBulbs)
        w.row({fest(b.state.theta, 0), fest(b.state.phi, 0), fest(1000 * b.X, 2), fest(b.model, 3),
               fest(b.reference, 3), fest(wetBulbDeviation(b), 3)});
    r.add(w.str());
    const WetBulbRow& worst = largest(c.wetBulbs, wetBulbDeviation);
    r.add("**Befund.** Der Sättigungsdruck des Modells weicht zwischen 0 und 100 °C um höchstens " +
          prozent(std::abs(worstCurve.deviation()), 2) +
          " von IAPWS-IF97 ab, die Kühlgrenztemperatur um höchstens " +
          fest(std::abs(wetBulbDeviation(worst)), 3) + " K (bei " + fest(worst.state.theta, 0) +
          " °C und " + fest(worst.state.phi, 0) +
          " %). Das ist klein gegen die Unterschiede, die Zeit- und Ortsschritt ausmachen "
          "(Abschnitt 2).\n\n");
    return r;
}

}  // namespace tesmo
