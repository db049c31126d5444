// Section 2 of the report: grid convergence of the default case.
#include <algorithm>
#include <cmath>

#include "verify/report.h"

namespace tesmo {

namespace {

struct Refinement {
    const GridSeries* series;
    const char* name;
};

std::vector<Refinement> refinements(const GridStudy& s) {
    return {{&s.space, "Ort"},
            {&s.time, "Zeit"},
            {&s.both, "beide, Δt ∝ Δx²"},
            {&s.bothKorrigiert, "beide, korrigierte Luftbilanz"}};
}

std::string valueText(const GridQuantity& q, double v) {
    if (q.duration) return dauer(v);
    return fest(v, q.decimals) + (*q.unit != '\0' ? std::string(" ") + q.unit : "");
}

// Refining the space step alone, at a fixed time step, approaches no solution: the boundary
// values taken from the profile before the step err by κ·Δt/Δx, which grows without bound.
bool canConverge(const GridSeries& g) {
    return g.refinesTime;
}

RichardsonEstimate estimateOf(const GridSeries& g, const GridQuantity& q) {
    return canConverge(g) ? g.estimate(q) : RichardsonEstimate{};
}

// The default case: the middle level of every series.
const CaseResult& defaultCase(const GridStudy& s) {
    return s.time.levels[1].result;
}

std::string runTable(const GridStudy& s) {
    MarkdownTable t(
        {"Verfeinerung", "Δx in mm", "Δt in s", "Laufzeit", "t1TA", "spezEnergie in kJ/kg",
         "darin fühlbare Wärme der Platte in kJ/kg", "Wasserfehler F", "Ende"},
        "lrrrrrrrl");
    for (const Refinement& r : refinements(s)) {
        for (const GridLevel& l : r.series->levels) {
            const CaseResult& c = l.result;
            t.row({r.name, l.dxText, l.dtText, dauer(c.Laufzeit), dauer(c.t1TA),
                   fest(c.spezEnergie, 1), fest(c.fuehlbarEnergie, 1),
                   prozent(c.WasserfehlerVorzeichen, 2), endeText(c.end)});
        }
    }
    return t.str();
}

std::string estimateTable(const GridStudy& s) {
    MarkdownTable t(
        {"Verfeinerung", "Größe", "Ordnung p", "Richardson-Schätzung", "Standardfall dagegen"},
        "llrrr");
    for (const Refinement& r : refinements(s)) {
        for (const GridQuantity& q : kGridQuantities) {
            const RichardsonEstimate e = estimateOf(*r.series, q);
            const double standard = defaultCase(s).*q.value;
            t.row({r.name, q.name, e.monotone ? ordnung(e.order) : "–",
                   e.monotone ? valueText(q, e.value) : "keine Konvergenz",
                   e.monotone ? prozent(100 * (standard / e.value - 1), 1) : "–"});
        }
    }
    return t.str();
}

Figure timeFigure(const GridStudy& s) {
    Figure f;
    f.file = "gitter_zeit.svg";
    f.caption =
        "Bild 2.1: Standardfall bei Δx = 0,1 mm mit der Standard-Luftbilanz, Abweichung von der "
        "Richardson-Schätzung über dem Zeitschritt";
    f.spec.xTitle = "Zeitschritt Δt in s";
    f.spec.yTitle = "Abweichung von der Schätzung in %";
    int i = 0;
    for (const GridQuantity& q : kGridQuantities) {
        const RichardsonEstimate e = s.time.estimate(q);
        std::vector<double> dt, dev;
        for (const GridLevel& l : s.time.levels) {
            dt.push_back(l.dt);
            dev.push_back(100 * (l.result.*q.value / e.value - 1));
        }
        f.spec.series.push_back(series(q.name, dt, dev, seriesColour(i++), true, true));
    }
    // The estimates themselves: each quantity's deviation from its own estimate is 0 at Δt = 0.
    f.spec.series.push_back(estimatePoint("Richardson-Schätzung (Δt → 0)", 0, kBlack));
    return f;
}

// Every level's Δt of a series, "2 / 0,5 / 0,125 s".
std::string stepsOf(const GridSeries& g) {
    std::string text;
    for (const GridLevel& l : g.levels)
        text += (text.empty() ? "" : " / ") + l.dtText;
    return text + " s";
}

Figure spaceFigure(const GridStudy& s) {
    Figure f;
    f.file = "gitter_ort.svg";
    f.caption =
        "Bild 2.3: Standardfall, spezifischer Energiebedarf über dem Ortsschritt; gemeinsam "
        "verfeinert mit Δt = " +
        stepsOf(s.both) + " bei Δx = 0,2 / 0,1 / 0,05 mm";
    f.spec.xTitle = "Ortsschritt Δx in mm";
    f.spec.yTitle = "spezEnergie in kJ/kg Wasser";
    int i = 0;
    for (const GridSeries* g : {&s.space, &s.both, &s.bothKorrigiert}) {
        std::vector<double> dx, energy;
        for (const GridLevel& l : g->levels) {
            dx.push_back(l.dx);
            energy.push_back(l.result.spezEnergie);
        }
        const std::string name = g == &s.space  ? "Δt = " + g->levels[0].dtText + " s fest"
                                 : g == &s.both ? "Δt ∝ Δx²: " + stepsOf(*g)
                                                : "korrigiert, Δt ∝ Δx²";
        f.spec.series.push_back(series(name, dx, energy, seriesColour(i++), true, true));
    }
    i = 1;
    for (const GridSeries* g : {&s.both, &s.bothKorrigiert}) {
        const RichardsonEstimate e = g->estimate(kEnergie);
        if (e.monotone)
            f.spec.series.push_back(
                estimatePoint(g == &s.both ? "Schätzung Δx, Δt → 0" : "korrigiert, Δx, Δt → 0",
                              e.value, seriesColour(i)));
        ++i;
    }
    return f;
}

// Both air balances of the default case over the time step.
std::string balanceTable(const BalanceStudy& b) {
    MarkdownTable t({"Δt in s", "Laufzeit Standard", "Laufzeit korrigiert", "Zuluft Standard",
                     "Zuluft korrigiert", "spezEnergie Standard", "spezEnergie korrigiert"},
                    "rrrrrrr");
    for (std::size_t i = 0; i < b.standard.size(); ++i) {
        const CaseResult& s = b.standard[i].result;
        const CaseResult& k = b.korrigiert[i].result;
        t.row({b.standard[i].dtText, dauer(s.Laufzeit), dauer(k.Laufzeit),
               fest(s.thetaZuluft, 1) + " °C", fest(k.thetaZuluft, 1) + " °C",
               fest(s.spezEnergie, 1) + " kJ/kg", fest(k.spezEnergie, 1) + " kJ/kg"});
    }
    const auto limit = [](const std::vector<BalanceLevel>& v, double CaseResult::*m) {
        return richardson(v[0].result.*m, v[1].result.*m, v[2].result.*m, 2);
    };
    const auto cell = [](const RichardsonEstimate& e, const std::string& text) {
        return e.monotone ? text : std::string("–");
    };
    const RichardsonEstimate sL = limit(b.standard, &CaseResult::Laufzeit);
    const RichardsonEstimate kL = limit(b.korrigiert, &CaseResult::Laufzeit);
    const RichardsonEstimate sZ = limit(b.standard, &CaseResult::thetaZuluft);
    const RichardsonEstimate kZ = limit(b.korrigiert, &CaseResult::thetaZuluft);
    const RichardsonEstimate sE = limit(b.standard, &CaseResult::spezEnergie);
    const RichardsonEstimate kE = limit(b.korrigiert, &CaseResult::spezEnergie);
    t.row({"→ 0 (Richardson aus 1 / 0,5 / 0,25 s)", cell(sL, dauer(sL.value)),
           cell(kL, dauer(kL.value)), cell(sZ, fest(sZ.value, 1) + " °C"),
           cell(kZ, fest(kZ.value, 1) + " °C"), cell(sE, fest(sE.value, 1) + " kJ/kg"),
           cell(kE, fest(kE.value, 1) + " kJ/kg")});
    return t.str();
}

Figure balanceFigure(const BalanceStudy& b) {
    Figure f;
    f.file = "gitter_luftbilanz.svg";
    f.caption =
        "Bild 2.2: Trocknungsdauer des Standardfalls über dem Zeitschritt mit beiden "
        "Luftbilanzen; bei Δt = 0 die Richardson-Schätzungen";
    f.spec.xTitle = "Zeitschritt Δt in s";
    f.spec.yTitle = "Laufzeit in h";
    std::vector<PlotSeries> estimates;
    int i = 0;
    for (const auto* v : {&b.standard, &b.korrigiert}) {
        const bool standard = v == &b.standard;
        std::vector<double> dt, hours;
        for (const BalanceLevel& l : *v) {
            dt.push_back(l.dt);
            hours.push_back(l.result.Laufzeit / 3600);
        }
        f.spec.series.push_back(series(standard ? "Standard-Luftbilanz" : "korrigierte Luftbilanz",
                                       dt, hours, seriesColour(i), true, true));
        const RichardsonEstimate e = richardson(hours[0], hours[1], hours[2], 2);
        if (e.monotone)
            estimates.push_back(estimatePoint(standard ? "Standard, Δt → 0" : "korrigiert, Δt → 0",
                                              e.value, seriesColour(i)));
        ++i;
    }
    f.spec.series.insert(f.spec.series.end(), estimates.begin(), estimates.end());
    return f;
}

// The crack indicators at every level of the refinements, and how far they spread.
std::string crackTable(const GridStudy& s) {
    std::vector<std::string> header{"Verfeinerung", "Δx in mm", "Δt in s"};
    std::string align = "lrr";
    for (const GridQuantity& q : kCrackQuantities) {
        header.push_back(q.duration ? std::string(q.name) : std::string(q.name) + " in " + q.unit);
        align += 'r';
    }
    MarkdownTable t(header, align);
    for (const Refinement& r : refinements(s)) {
        if (r.series == &s.bothKorrigiert) continue;  // the first period does not see it
        for (const GridLevel& l : r.series->levels) {
            std::vector<std::string> row{r.name, l.dxText, l.dtText};
            for (const GridQuantity& q : kCrackQuantities)
                row.push_back(q.duration ? dauer(l.result.*q.value)
                                         : fest(l.result.*q.value, q.decimals));
            t.row(row);
        }
    }
    return t.str();
}

// "±1,2 %": the widest departure of the quantity from the default case over all levels.
std::string spread(const GridStudy& s, const GridQuantity& q) {
    const double standard = defaultCase(s).*q.value;
    double lo = 0, hi = 0;
    for (const GridSeries* g : {&s.space, &s.time, &s.both}) {
        for (const GridLevel& l : g->levels) {
            const double d = 100 * (l.result.*q.value / standard - 1);
            lo = std::min(lo, d);
            hi = std::max(hi, d);
        }
    }
    return prozent(lo, 1) + " bis +" + prozent(hi, 1);
}

// "um 7,9 % zu kurz" or "um 2,0 % zu lang": value against the reference.
std::string off(double value, double reference, const char* below, const char* above) {
    const double percent = 100 * (value / reference - 1);
    return "um " + prozent(std::abs(percent), 1) + " zu " + (percent < 0 ? below : above);
}

// The quantities whose refinement does (or does not) converge, as a list in words.
std::string quantities(const GridSeries& g, bool converging) {
    std::vector<std::string> names;
    for (const GridQuantity& q : kGridQuantities)
        if (estimateOf(g, q).monotone == converging) names.push_back(q.name);
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " und " : ", ") + names[i];
    return text.empty() ? "keine" : text;
}

std::string orderRange(const GridSeries& g) {
    double lo = INFINITY, hi = -INFINITY;
    for (const GridQuantity& q : kGridQuantities) {
        const RichardsonEstimate e = estimateOf(g, q);
        if (!e.monotone) continue;
        lo = std::min(lo, e.order);
        hi = std::max(hi, e.order);
    }
    return ordnung(lo) + " bis " + ordnung(hi);
}

// spezEnergie without the plate's sensible heat.
RichardsonEstimate withoutStepTerm(const GridSeries& g) {
    std::vector<double> v;
    for (const GridLevel& l : g.levels)
        v.push_back(l.result.spezEnergie - l.result.fuehlbarEnergie);
    return richardson(v[0], v[1], v[2], 2);
}

void addTimeStep(ReportSection& r, const GridStudy& s, const BalanceStudy& b) {
    const CaseResult& standard = defaultCase(s);
    const RichardsonEstimate laufzeit = s.time.estimate(kLaufzeit);
    const RichardsonEstimate energie = s.time.estimate(kEnergie);
    const RichardsonEstimate bereinigt = withoutStepTerm(s.time);
    const GridLevel& fine = s.time.levels[2];
    const auto moves = [](const std::vector<BalanceLevel>& v) {
        return prozent(100 * std::abs(v.back().result.Laufzeit / v.front().result.Laufzeit - 1), 1);
    };
    std::string text =
        "**Zeitschritt.** Es konvergieren " + quantities(s.time, true) + ", mit Ordnungen " +
        orderRange(s.time) + ". Der Standardschritt von " + s.time.levels[1].dtText +
        " s liegt scheinbar weit vom Grenzwert: Die Laufzeit ist " +
        off(standard.Laufzeit, laufzeit.value, "kurz", "lang") + " (" + dauer(standard.Laufzeit) +
        " statt " + dauer(laufzeit.value) + "), der Energiebedarf " +
        off(standard.spezEnergie, energie.value, "niedrig", "hoch") +
        ". Das ist aber zum größten Teil nicht der Fehler des Verfahrens, sondern der Faktor Δt "
        "in der Luftbilanz des zweiten Abschnitts (unten).\n\n";
    r.add(text);
    r.add(timeFigure(s));
    text =
        "**Der Faktor Δt.** Im zweiten Abschnitt nimmt die Luftbilanz die fühlbare Wärme der "
        "Platte als Δt·(0,9 + 4,19·Xmom)·ΔθK/LuftRohlingVerh auf. ΔθK ist aber schon die "
        "Änderung der Temperatur der feuchten Zone über einen Schritt; der Term trägt daher die "
        "Einheit K·s und ist proportional zum Zeitschritt: Bei Δt = 1 s entspricht er der Wärme "
        "c·ΔθK, bei " +
        s.time.levels[1].dtText +
        " s ihrer Hälfte. Dazu nimmt der erste Schritt des zweiten Abschnitts die ganze "
        "Temperatur der Platte als Änderung, weil die vorige Temperatur bis dahin 0 ist. "
        "Gemessen als der Teil der Luftbilanz, der über die Verdunstungswärme hinausgeht, hebt "
        "die fühlbare Wärme die Zulufttemperatur im Standardfall um " +
        fest(standard.fuehlbarLuftK, 2) + " K und den Energiebedarf um " +
        fest(standard.fuehlbarEnergie, 1) + " kJ/kg, bei Δt = " + fine.dtText + " s nur noch um " +
        fest(fine.result.fuehlbarEnergie, 1) +
        " kJ/kg. Die Schätzungen für Δt → 0 beschreiben daher eine Bilanz ganz ohne fühlbare "
        "Wärme – für die Laufzeit und die Zulufttemperatur ebenso wie für den Energiebedarf, denn "
        "die wärmere Luft trocknet den zweiten Abschnitt schneller. Ohne den Term schätzt "
        "Richardson für den Energiebedarf " +
        (bereinigt.monotone ? fest(bereinigt.value, 1) + " kJ/kg (Ordnung " +
                                  ordnung(bereinigt.order) + "), der Standardfall liegt dann " +
                                  prozent(100 * ((standard.spezEnergie - standard.fuehlbarEnergie) /
                                                     bereinigt.value -
                                                 1),
                                          1) +
                                  " darüber."
                            : std::string("keine Konvergenz.")) +
        "\n\n";
    text +=
        "Die korrigierte Luftbilanz (Handbuch, Abschnitt 4.5; Abschnitt 5 hier) bucht die "
        "Erwärmung der Platte einmal je Schritt, vom Ende des ersten Abschnitts an. Mit ihr "
        "ändert sich die Laufzeit zwischen Δt = " +
        std::string(b.korrigiert.front().dtText) + " und " + b.korrigiert.back().dtText + " s um " +
        moves(b.korrigiert) + ", mit der Standard-Luftbilanz um " + moves(b.standard) + ":\n\n";
    r.add(text);
}

}  // namespace

ReportSection gridSection(const GridStudy& s, const BalanceStudy& b) {
    ReportSection r;
    r.add("## 2 Gitterkonvergenz des Standardfalls\n\n");
    r.add(
        "Der Standardfall (die Vorgaben des Fensters) wird mit `Trocknungslauf` "
        "(model/drying_run.h) ganz gerechnet: nach der Eingabeprüfung, ohne Fenster, jeder Lauf "
        "auf einem eigenen, frisch angelegten Laufzustand. Verfeinert wird der Ortsschritt bei "
        "festem Zeitschritt, der Zeitschritt bei festem Ortsschritt und beide gemeinsam so, dass "
        "κ·Δt/Δx² gleich bleibt, dies auch mit der korrigierten Luftbilanz des zweiten "
        "Abschnitts. Aus drei Stufen f₁, f₂, f₃ mit dem Verhältnis 2 folgen die "
        "beobachtete Ordnung p = log₂((f₂ − f₁)/(f₃ − f₂)) und die Richardson-Schätzung des "
        "konvergierten Werts f₃ + (f₃ − f₂)/(2^p − 1); wo die Differenzen nicht gleichsinnig "
        "kleiner werden, gibt es keine Ordnung. Die Spalte *darin fühlbare Wärme* ist unten "
        "erklärt; der Wasserfehler F steht mit Vorzeichen (positiv: das Profil hält weniger "
        "Wasser, als die Bilanz des Oberflächenstroms sagt, Abschnitt 4).\n\n");
    r.add(runTable(s));
    r.add(estimateTable(s));

    addTimeStep(r, s, b);
    r.add(balanceTable(b));
    r.add(balanceFigure(b));

    r.add(
        "**Ortsschritt.** Den Ortsschritt allein zu verfeinern, bei festem Zeitschritt, führt zu "
        "keiner Lösung: Die Randwerte des impliziten Schritts stammen aus dem Profil vor dem "
        "Schritt (der Symmetrieknoten an der Mittelebene, der Hilfsknoten an der Oberfläche), ihr "
        "Fehler ist proportional zu κ·Δt/Δx (Abschnitte 1 und 6) und wächst ohne Grenze, wenn Δx "
        "bei festem Δt kleiner wird. Die Tabelle zeigt deshalb für diese Verfeinerung keine "
        "Konvergenz, auch wo sich die Werte wie bei der Laufzeit scheinbar gleichsinnig "
        "annähern. Gemeinsam verfeinert, mit festem κ·Δt/Δx², konvergieren mit der "
        "Standard-Luftbilanz " +
        quantities(s.both, true) + " (Ordnungen " + orderRange(s.both) +
        "), mit der korrigierten Luftbilanz " + quantities(s.bothKorrigiert, true) +
        " (Ordnungen " + orderRange(s.bothKorrigiert) + ").\n\n");
    r.add(spaceFigure(s));

    r.add(
        "**Rissanzeiger.** Die Größen, an denen man die Gefahr von Trockenrissen abliest, "
        "entstehen im ersten Abschnitt oder kurz danach (das Ende der Kernschwindung) und "
        "hängen daher kaum von der Luftbilanz des zweiten ab:\n\n");
    r.add(crackTable(s));
    std::string spreads;
    for (const GridQuantity& q : kCrackQuantities)
        spreads += std::string(spreads.empty() ? "" : "; ") + q.name + " " + spread(s, q);
    r.add("Gegen den Standardfall streuen sie über alle Stufen: " + spreads +
          ". Der größte Schwindungsgradient wird über den ersten Knotenabstand gemessen (zwischen "
          "dem Hilfsknoten und Knoten 1) und hängt deshalb vom Ortsschritt ab; die Endzeiten "
          "folgen dem ersten Abschnitt und ändern sich wie dessen Dauer um wenige Prozent.\n\n");
    r.add(
        "**Befund.** Mit der Standard-Luftbilanz bestimmt der Zeitschritt die Ergebnisse des "
        "Standardfalls, weil ihr Term der fühlbaren Wärme mit Δt wächst; die Grenzwerte für "
        "Δt → 0 gehören zu einer Bilanz ohne diese Wärme. Mit der korrigierten Luftbilanz bleibt "
        "der Fehler des Verfahrens: wenige Prozent, erster Ordnung. Ein feineres Ortsgitter "
        "allein macht keinen Lauf genauer. Wer Laufzeit und Energiebedarf auf wenige Prozent "
        "braucht, rechnet mit der korrigierten Luftbilanz und prüft das Ergebnis mit halbem "
        "Ortsschritt und geviertelter Zeitschrittweite (Handbuch, Abschnitt 8).\n\n");
    return r;
}

}  // namespace tesmo
