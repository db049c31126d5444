// Section 1 of the report: the implicit moisture step against the plane-sheet solution.
#include <algorithm>
#include <cmath>

#include "verify/report.h"

namespace tesmo {

namespace {

constexpr int kCurveSamples = 101;  // points of the series solution in the figures

std::string orderCell(const std::vector<double>& orders, std::size_t row) {
    return row == 0 ? "" : ordnung(orders[row - 1]);
}

Figure curveFigure(const SheetStudy& s) {
    Figure f;
    f.file = "platte_verlauf.svg";
    f.caption =
        "Bild 1.1: Abgegebener Anteil des entfernbaren Wassers über der dimensionslosen Zeit";
    std::vector<double> tau, F;
    const double tauEnd = s.curveTau.back();
    for (int i = 0; i < kCurveSamples; ++i) {
        tau.push_back(tauEnd * i / (kCurveSamples - 1));
        F.push_back(removedFraction(tau.back()));
    }
    f.spec.xTitle = "dimensionslose Zeit τ = κ·t/a²";
    f.spec.yTitle = "abgegebener Anteil F";
    f.spec.series.push_back(series("Reihenlösung", tau, F, kBlack, true, false));
    f.spec.series.push_back(series("Modell, nOrt = 100, Δτ = 10⁻⁴", s.curveTau, s.curveModel,
                                   seriesColour(1), false, true));
    return f;
}

Figure errorFigure(const SheetStudy& s) {
    Figure f;
    f.file = "platte_fehler.svg";
    f.caption =
        "Bild 1.2: Fehler des abgegebenen Anteils gegen die Reihenlösung über √τ, "
        "nOrt = 100, Δτ = 10⁻⁴";
    f.spec.xTitle = "√τ";
    f.spec.yTitle = "F_Modell − F_Reihe";
    f.spec.series.push_back(series("gegen die Platte der Eingabe (a)", s.errorRootTau,
                                   s.errorNominal, seriesColour(1), true, false));
    f.spec.series.push_back(series("gegen die Platte a + Δx/2", s.errorRootTau, s.errorEffective,
                                   seriesColour(0), true, false));
    f.spec.series.push_back(
        series("", {0, s.errorRootTau.back()}, {0, 0}, kBlack, true, false, true));
    return f;
}

// What Bild 1.2 shows: the half-space stage, then the mid-plane's lagged symmetry node.
std::string errorText(const SheetStudy& s) {
    constexpr double kHalfSpace = 0.2;  // √τ until which the mid-plane has not been reached
    double early = 0;
    std::size_t worst = 0;
    for (std::size_t i = 0; i < s.errorRootTau.size(); ++i) {
        if (s.errorRootTau[i] <= kHalfSpace) early = std::max(early, std::abs(s.errorEffective[i]));
        if (std::abs(s.errorEffective[i]) > std::abs(s.errorEffective[worst])) worst = i;
    }
    return "Bis √τ = " + fest(kHalfSpace, 1) +
           ", solange die Trocknung die Mittelebene noch nicht erreicht, verhält sich die Platte "
           "wie ein Halbraum: Beide Vergleiche fallen zusammen, der Fehler bleibt bei "
           "höchstens " +
           zahl(early, 2) +
           ". Danach führt der Symmetrieknoten der Mittelebene Wasser zu (unten): Der Fehler "
           "wächst bis √τ = " +
           fest(s.errorRootTau[worst], 2) + " auf " + zahl(s.errorEffective[worst], 2) +
           " gegen die Platte a + Δx/2 (" + zahl(s.errorNominal[worst], 2) +
           " gegen die Platte der Eingabe, mit dem Anteil der halben Masche) und nimmt wieder "
           "ab, wenn sich die Platte ihrem Endzustand nähert und die Änderung je Schritt klein "
           "wird.";
}

Figure profileFigure(const SheetStudy& s) {
    const SheetProfile& p = s.coarseProfile;
    const double widen = (p.nOrt + 0.5) / p.nOrt;
    const auto load = [&](double xOverA, double tau) {
        return kSheetXFace + (kSheetXStart - kSheetXFace) * relativeLoad(xOverA, tau);
    };
    // The thicker sheet at the same time t: depth and time scale with its half thickness.
    std::vector<double> x, nominal, effective;
    for (int i = 0; i < kCurveSamples; ++i) {
        x.push_back(widen * i / (kCurveSamples - 1));
        nominal.push_back(x.back() <= 1 ? load(x.back(), p.tau) : std::nan(""));
        effective.push_back(load(x.back() / widen, p.tau / (widen * widen)));
    }
    Figure f;
    f.file = "platte_profil.svg";
    f.caption = "Bild 1.3: Profil mit nur " + std::to_string(p.nOrt) +
                " Ortsschritten bei τ = " + fest(p.tau, 1) +
                " gegen die Reihenlösung für die Platte der Eingabe und für die " +
                "um Δx/2 dickere";
    f.spec.xTitle = "Tiefe x/a (Oberfläche bei 0)";
    f.spec.yTitle = "Wasserbeladung X in kg/kg";
    f.spec.series.push_back(series("Reihe, halbe Dicke a", x, nominal, kBlack, true, false));
    f.spec.series.push_back(
        series("Reihe, halbe Dicke a + Δx/2", x, effective, kBlack, true, false, true));
    f.spec.series.push_back(series("Modell, Knoten 0 … " + std::to_string(p.nOrt), p.x, p.X,
                                   seriesColour(1), false, true));
    return f;
}

Figure timeFigure(const SheetStudy& s) {
    std::vector<double> dtau, err;
    for (const SheetPoint& p : s.time) {
        dtau.push_back(p.dtau);
        err.push_back(std::abs(p.error().effective));
    }
    Figure f;
    f.file = "platte_zeit.svg";
    f.caption = "Bild 1.4: Fehler bei τ = " + fest(kSheetTauEnd, 1) +
                " über dem Zeitschritt, nOrt = " + std::to_string(kTimeStudyNodes);
    f.spec.logX = f.spec.logY = true;
    f.spec.xTitle = "Zeitschritt Δτ = κ·Δt/a²";
    f.spec.yTitle = "|F − F_Reihe| (Platte a + Δx/2)";
    f.spec.series.push_back(series("Modell", dtau, err, seriesColour(0), true, true));
    const double c = err.back() / dtau.back();
    f.spec.series.push_back(series("Steigung 1", {dtau.front(), dtau.back()},
                                   {c * dtau.front(), c * dtau.back()}, kBlack, true, false, true));
    return f;
}

Figure spaceFigure(const SheetStudy& s) {
    std::vector<double> h, nominal, effective, hEff;
    for (const SheetPoint& p : s.space) {
        h.push_back(1.0 / p.nOrt);
        nominal.push_back(std::abs(p.error().nominal));
        const bool aboveFloor = std::abs(p.error().effective) > kFloorMargin * p.roundingFloor();
        effective.push_back(aboveFloor ? std::abs(p.error().effective) : std::nan(""));
    }
    Figure f;
    f.file = "platte_ort.svg";
    f.caption = "Bild 1.5: Fehler bei τ = " + fest(kSheetTauEnd, 1) +
                " über dem Ortsschritt, Zeitfehler herausgerechnet";
    f.spec.logX = f.spec.logY = true;
    f.spec.xTitle = "Ortsschritt Δx/a = 1/nOrt";
    f.spec.yTitle = "|F − F_Reihe|";
    f.spec.series.push_back(
        series("Platte der Eingabe (a)", h, nominal, seriesColour(1), true, true));
    f.spec.series.push_back(series("Platte a + Δx/2", h, effective, seriesColour(0), true, true));
    const double c1 = nominal.back() / h.back();
    const double c2 = effective.front() / (h.front() * h.front());
    f.spec.series.push_back(series("Steigung 1", {h.front(), h.back()},
                                   {c1 * h.front(), c1 * h.back()}, kBlack, true, false, true));
    f.spec.series.push_back(series("Steigung 2", {h.front(), h.back()},
                                   {c2 * h.front() * h.front(), c2 * h.back() * h.back()},
                                   seriesColour(2), true, false, true));
    f.spec.note = "Punkte, deren Fehler keine zehnmal größer als ihr Rundungsanteil ist, fehlen.";
    return f;
}

std::string timeTable(const SheetStudy& s) {
    const std::vector<double> orders = observedOrders(s.time, true, false);
    MarkdownTable t({"Δτ", "Δt in s", "Schritte", "F Modell", "F Reihe (a + Δx/2)", "Fehler",
                     "Rundungsanteil", "Ordnung"},
                    "rrrrrrrr");
    for (std::size_t i = 0; i < s.time.size(); ++i) {
        const SheetPoint& p = s.time[i];
        t.row({zahl(p.dtau, 2), fest(p.dtSeconds, 3), std::to_string(p.steps),
               fest(p.model.effective, 6), fest(p.series.effective, 6),
               zahl(p.error().effective, 3), zahl(p.roundingFloor(), 2), orderCell(orders, i)});
    }
    return t.str();
}

std::string spaceTable(const SheetStudy& s) {
    const std::vector<double> nominal = observedOrders(s.space, false, true);
    const std::vector<double> effective = observedOrders(s.space, true, true);
    MarkdownTable t(
        {"nOrt", "Δx/a", "Fehler (a)", "Ordnung", "Fehler (a + Δx/2)", "Ordnung", "Rundungsanteil"},
        "rrrrrrr");
    for (std::size_t i = 0; i < s.space.size(); ++i) {
        const SheetPoint& p = s.space[i];
        t.row({std::to_string(p.nOrt), zahl(1.0 / p.nOrt, 3), zahl(p.error().nominal, 3),
               orderCell(nominal, i), zahl(p.error().effective, 3), orderCell(effective, i),
               zahl(p.roundingFloor(), 2)});
    }
    return t.str();
}

// Which grids of the space study have no order against the thicker sheet, and why.
std::string unmeasured(const std::vector<SheetPoint>& points, const std::vector<double>& orders) {
    std::string grids;
    for (std::size_t i = 0; i < orders.size(); ++i)
        if (!std::isfinite(orders[i]))
            grids += (grids.empty() ? "" : ", ") + std::to_string(points[i + 1].nOrt);
    if (grids.empty()) return "";
    return " Bei nOrt = " + grids +
           " liegt der Fehler der dickeren Platte nicht mehr zehnmal über seinem Rundungsanteil, "
           "er ist so klein wie der Rest aus Rundung und Zeitextrapolation; dort ist keine "
           "Ordnung angegeben.";
}

double largestFloorShare(const std::vector<SheetPoint>& points) {
    double share = 0;
    for (const SheetPoint& p : points)
        share = std::max(share, p.roundingFloor() / std::abs(p.error().effective));
    return share;
}

}  // namespace

ReportSection sheetSection(const SheetStudy& s) {
    ReportSection r;
    const SheetPoint& atDefault = s.time[2];
    const std::vector<double> timeOrders = observedOrders(s.time, true, false);
    const std::vector<double> nominalOrders = observedOrders(s.space, false, true);
    const std::vector<double> effectiveOrders = observedOrders(s.space, true, true);

    r.add("## 1 Feuchteleitung gegen die analytische Lösung der ebenen Platte\n\n");
    r.add(
        "Geprüft wird der implizite Feuchteschritt `Transportschritt` (model/transport.h), so "
        "wie ihn der erste Trocknungsabschnitt aufruft: Der Symmetrieknoten nOrt+1 erhält den Wert "
        "von Knoten nOrt, dann folgt ein Schritt bei der Temperatur der Platte. Der Laufzustand "
        "ist der Standardfall nach der Einrichtung, nur mit „Kappa-Steigung unter Grenzfeuchte“ "
        "= 0. Für Wasserbeladungen unter XSchwEnde ist die Feuchteleitfähigkeit dann die "
        "Konstante FeuchteleitGrenz, und bei 25 °C ist der Temperaturfaktor 1: κ = " +
        zahl(s.sheet.kappa, 4) +
        " m²/s (für beide Beladungen unten nachgeprüft gleich), halbe "
        "Dicke der getrockneten Platte a = " +
        fest(s.sheet.a * 1000, 2) +
        " mm. Die Platte beginnt gleichförmig bei X_A = " + fest(kSheetXStart, 2) +
        " kg/kg, ihre Oberflächen (Knoten 0) werden ab t = 0 auf X_R = " + fest(kSheetXFace, 2) +
        " kg/kg gehalten.\n\n");
    r.add(
        "Referenz ist die klassische Reihenlösung für die ebene Platte der Dicke 2a mit konstantem "
        "Diffusionskoeffizienten (Crank, *The Mathematics of Diffusion*, 2. Aufl., Gl. 4.18) für "
        "den abgegebenen Anteil des entfernbaren Wassers:\n\n"
        "F(τ) = (X_A − X̄)/(X_A − X_R) = 1 − Σ_{m≥0} 8/((2m+1)²π²) · exp(−(2m+1)²π²τ/4), "
        "τ = κ·t/a²,\n\n"
        "summiert, bis die Glieder unter 10⁻²⁶ liegen; für das Profil in Bild 1.3 die zugehörige "
        "Sinusreihe. Den Mittelwert X̄ der Rechnung bildet die Trapezregel über die Knoten.\n\n");
    r.add(
        "**Wo die Mittelebene liegt.** Weil der Symmetrieknoten den Wert von Knoten nOrt erhält, "
        "verschwindet der Fluss auf halbem Weg zwischen Knoten nOrt und Symmetrieknoten: Eine "
        "Rechnung mit nOrt Schritten der Weite Δx = a/nOrt beschreibt eine Platte der halben "
        "Dicke a + Δx/2. Verglichen wird deshalb zweimal, mit der Platte der Eingabe (Mittel "
        "über 0 … a) und mit der um Δx/2 dickeren (Mittel über 0 … a + Δx/2, das letzte halbe "
        "Intervall beim Wert von Knoten nOrt). Bild 1.3 zeigt den Unterschied an einem groben "
        "Gitter: Die Knoten liegen auf dem Profil der dickeren Platte.\n\n");
    r.add(curveFigure(s));
    r.add("Bei der Auflösung des Standardfalls (nOrt = " + std::to_string(atDefault.nOrt) +
          ", Δτ = " + zahl(atDefault.dtau, 1) + ", das sind Δt = " + fest(atDefault.dtSeconds, 2) +
          " s) folgt die Rechnung der Reihenlösung; bei τ = " + fest(kSheetTauEnd, 1) +
          " fehlen ihr " + zahl(-atDefault.error().nominal, 2) +
          " des abgegebenen Anteils F = " + fest(atDefault.series.nominal, 3) +
          ". Im Bild 1.1 liegen die Kurven aufeinander; Bild 1.2 zeigt den Fehler selbst, über "
          "√τ aufgetragen, weil der abgegebene Anteil anfangs mit √τ wächst. " +
          errorText(s) + "\n\n");
    r.add(errorFigure(s));
    r.add(profileFigure(s));

    r.add("### Ordnung in der Zeit\n\n");
    r.add("Gitter nOrt = " + std::to_string(kTimeStudyNodes) +
          ", Fehler bei τ = " + fest(kSheetTauEnd, 1) +
          " gegen die Platte a + Δx/2 (gegen die Platte der Eingabe kommt ein fester Anteil der "
          "halben Masche hinzu, hier " +
          zahl(s.time.back().error().nominal - s.time.back().error().effective, 2) + ").\n\n");
    r.add(timeTable(s));
    r.add("Beobachtete Ordnung: **" + ordnung(finestOrder(timeOrders)) +
          "** zwischen den beiden kleinsten Schritten; erwartet ist 1 (implizites "
          "Euler-Verfahren). Der Zeitfehler hängt stark vom Gitter ab: Der Spiegelwert stammt "
          "aus dem Profil vor dem Schritt, der Fluss durch die Mittelebene ist daher nicht null, "
          "sondern κ·(X_alt − X_neu)/Δx. Das ist ein Fehler der Größe κ·Δt/(Δx·a), erster Ordnung "
          "in der Zeit, aber umgekehrt proportional zum Ortsschritt: Mit nOrt = " +
          std::to_string(s.coarserGrid.nOrt) + " statt " + std::to_string(kTimeStudyNodes) +
          " ist der Fehler bei Δτ = " + zahl(s.coarserGrid.dtau, 1) + " nur " +
          zahl(s.coarserGrid.error().effective, 3) + " statt " +
          zahl(s.time[2].error().effective, 3) + ".\n\n");
    r.add(
        "Der *Rundungsanteil* ist der Unterschied zum selben Verfahren mit einem Löser in "
        "doppelter Genauigkeit. Der Löser des Modells hält die Werte der Vorwärtselimination "
        "(TriY) in einfacher Genauigkeit; je mehr und je kleinere Schritte, desto größer wird "
        "ihre Rundung im Verhältnis zur Änderung je Schritt. Die Schrittweiten sind so gewählt, "
        "dass er höchstens " +
        prozent(100 * largestFloorShare(s.time), 2) +
        " des Fehlers ausmacht; bei noch kleineren Schritten wächst er rasch.\n\n");
    r.add(timeFigure(s));

    r.add("### Ordnung im Ort\n\n");
    r.add("Jeder Wert ist aus zwei Rechnungen mit Δτ = " + zahl(kSpaceStudyStep, 1) + " und " +
          zahl(kSpaceStudyStep / 2, 1) +
          " auf Δτ → 0 extrapoliert (Richardson für erste Ordnung: F₀ = 2·F(Δτ/2) − F(Δτ)), "
          "damit der Zeitfehler die Ortsordnung nicht verdeckt; der Rundungsanteil ist der dieses "
          "extrapolierten Werts.\n\n");
    r.add(spaceTable(s));
    r.add("Gegen die Platte a + Δx/2 ist die beobachtete Ordnung **" +
          ordnung(finestOrder(effectiveOrders)) +
          "**, die zweite Ordnung der zentralen Differenzen. Gegen die Platte der Eingabe nähert "
          "sie sich nur der ersten (zuletzt **" +
          ordnung(finestOrder(nominalOrders)) +
          "**): Die um Δx/2 verschobene Mittelebene ist ein Fehler erster Ordnung im Ort, der "
          "auf groben Gittern mit dem zweiter Ordnung (entgegengesetztes Vorzeichen) "
          "konkurriert." +
          unmeasured(s.space, effectiveOrders) + "\n\n");
    r.add(spaceFigure(s));
    r.add(
        "**Befund.** Der implizite Schritt löst die lineare Diffusionsgleichung mit erster "
        "Ordnung in der Zeit und zweiter im Ort, für eine Platte, deren Mittelebene einen halben "
        "Ortsschritt hinter dem letzten Knoten liegt. Im ersten Trocknungsabschnitt gibt die "
        "Oberfläche einen Fluss vor statt einer festen Beladung; der dort zählende Mittelwert "
        "über die Knoten 1 … nOrt entspricht Maschen der Weite Δx mit der Oberfläche zwischen "
        "Knoten 0 und 1, sodass die Masse stimmt. Die aus dem alten Profil übernommenen "
        "Randwerte ergeben dagegen Fehler proportional zu κ·Δt/Δx, die in Abschnitt 2 und 4 "
        "wiederkehren.\n\n");
    return r;
}

}  // namespace tesmo
