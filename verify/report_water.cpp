// Section 4 of the report: the water-balance error over random input sets.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "display/display_groups.h"
#include "model/text_to_number.h"
#include "verify/report.h"
#include "verify/statistics.h"

namespace tesmo {

namespace {

constexpr double kBinWidth = 0.5;  // % per histogram bin
constexpr double kHistogramEnd = 10;
constexpr std::array<double, 8> kQuantiles = {0, 0.1, 0.25, 0.5, 0.75, 0.9, 0.95, 1};
constexpr double kSignificance = 1.96;  // two-sided 5 % for the rank correlation

// "1 Lauf", "3 Läufe".
std::string runs(int n) {
    return std::to_string(n) + (n == 1 ? " Lauf" : " Läufe");
}

std::vector<double> signedErrors(const WaterStudy& s) {
    std::vector<double> v;
    for (std::size_t i : s.finished)
        v.push_back(s.results[i].WasserfehlerVorzeichen);
    return v;
}

struct Correlation {
    const Driver* driver;
    double withSigned, withAbsolute;
};

// All drivers, the strongest rank correlation with the signed error first.
std::vector<Correlation> correlations(const WaterStudy& s) {
    const std::vector<double> signedError = signedErrors(s);
    std::vector<Correlation> c;
    for (const Driver& d : s.drivers)
        c.push_back({&d, spearman(d.values, signedError), spearman(d.values, s.errors)});
    std::stable_sort(c.begin(), c.end(), [](const Correlation& a, const Correlation& b) {
        return std::abs(a.withSigned) > std::abs(b.withSigned);
    });
    return c;
}

const Correlation& correlationOf(const std::vector<Correlation>& all, const std::string& name) {
    return *std::find_if(all.begin(), all.end(),
                         [&](const Correlation& c) { return c.driver->name == name; });
}

std::string rangeTable() {
    MarkdownTable t({"Eingabe", "von", "bis", "Stufe", "Verteilung"}, "lrrrl");
    for (const InputRange& r : kWaterStudyRanges) {
        const bool follows = r.step == 0;
        t.row({fieldCaption(r.field), typedText(r.lo, follows ? 0.01 : r.step),
               typedText(r.hi, follows ? 0.01 : r.step),
               follows ? "2·Ortsschritt" : typedText(r.step, r.step),
               r.logarithmic ? "gleich im Logarithmus" : "gleich"});
    }
    return t.str();
}

std::string endCounts(const WaterStudy& s) {
    int target = 0, midplane = 0;
    int earlyCount = 0;
    std::vector<std::pair<std::string, int>> early;  // each way of ending early, how often
    for (const CaseResult& r : s.results) {
        target += r.end == RunEnd::Target;
        midplane += r.end == RunEnd::Midplane;
        if (r.finished()) continue;
        ++earlyCount;
        const std::string how = endeText(r.end);
        auto it =
            std::find_if(early.begin(), early.end(), [&](const auto& e) { return e.first == how; });
        if (it == early.end())
            early.emplace_back(how, 1);
        else
            ++it->second;
    }
    std::string text = runs(static_cast<int>(s.finished.size())) + " kamen ans Ende (" +
                       std::to_string(target) + " an der Zielbeladung, " +
                       std::to_string(midplane) + " mit dem Trocknungsspiegel an der Mittelebene)";
    if (early.empty()) return text + ".";
    text += "; " + runs(earlyCount) + (earlyCount == 1 ? " endete" : " endeten") + " vorher (";
    for (std::size_t i = 0; i < early.size(); ++i)
        text += (i ? ", " : "") + std::to_string(early[i].second) + " " + early[i].first;
    text += (earlyCount == 1 ? ") und hat" : ") und haben");
    text += " keinen Wasserfehler.";
    // Why such a run is not counted: its balances no longer hold, so its error would only say
    // that the run went wrong, which the program already says by stopping it.
    const bool unstable = std::any_of(s.results.begin(), s.results.end(), [](const CaseResult& r) {
        return r.end == RunEnd::Unstable;
    });
    if (unstable)
        text +=
            " Instabil bricht das Programm einen Lauf ab, dessen Luft kälter als der absolute "
            "Nullpunkt würde oder eine Wasserbeladung unter null bekäme oder dessen Platte "
            "Wasser aufnähme: Seine Bilanzen gelten dann nicht mehr, und ein Wasserfehler "
            "sagte nur, dass der Lauf misslungen ist.";
    return text;
}

std::string quantileTable(const std::vector<double>& errors) {
    std::vector<std::string> header, cells;
    for (double q : kQuantiles) {
        header.push_back(q == 0     ? "Minimum"
                         : q == 1   ? "Maximum"
                         : q == 0.5 ? "Median"
                                    : prozent(100 * q, 0));
        cells.push_back(prozent(quantile(errors, q), 2));
    }
    MarkdownTable t(header, std::string(header.size(), 'r'));
    t.row(cells);
    return t.str();
}

int countAbove(const std::vector<double>& v, double limit) {
    return static_cast<int>(std::count_if(v.begin(), v.end(), [&](double e) { return e > limit; }));
}

Figure histogramFigure(const WaterStudy& s) {
    const int bins = static_cast<int>(kHistogramEnd / kBinWidth);
    const std::vector<int> counts = histogram(s.errors, 0, kBinWidth, bins);
    std::vector<double> x{0}, y{0};
    for (int i = 0; i < bins; ++i) {
        x.push_back(i * kBinWidth);
        y.push_back(counts[static_cast<std::size_t>(i)]);
        x.push_back((i + 1) * kBinWidth);
        y.push_back(counts[static_cast<std::size_t>(i)]);
    }
    x.push_back(kHistogramEnd);
    y.push_back(0);
    const double top = *std::max_element(y.begin(), y.end());
    Figure f;
    f.file = "wasserfehler_verteilung.svg";
    f.caption = "Bild 4.1: Verteilung des Wasserfehlers, Klassen von " + fest(kBinWidth, 1) + " %";
    f.spec.xTitle = "Wasserfehler in %";
    f.spec.yTitle = "Anzahl der Läufe";
    f.spec.series.push_back(series("", x, y, seriesColour(0), true, false));
    f.spec.series.push_back(series("Grenze rot (" + fest(kWasserfehlerRot, 0) + " %)",
                                   {kWasserfehlerRot, kWasserfehlerRot}, {0, top}, seriesColour(1),
                                   true, false, true));
    f.spec.series.push_back(series("Grenze Warnung (" + fest(kWasserfehlerUngenau, 0) + " %)",
                                   {kWasserfehlerUngenau, kWasserfehlerUngenau}, {0, top},
                                   seriesColour(3), true, false, true));
    const int beyond = countAbove(s.errors, kHistogramEnd);
    const int early = static_cast<int>(s.results.size() - s.finished.size());
    std::vector<std::string> notes;
    if (beyond > 0)
        notes.push_back(runs(beyond) + " über " + fest(kHistogramEnd, 0) +
                        " % nicht gezeigt (größter " +
                        prozent(*std::max_element(s.errors.begin(), s.errors.end()), 1) + ")");
    if (early > 0) notes.push_back(runs(early) + " nicht beendet, ohne Wert");
    for (std::size_t i = 0; i < notes.size(); ++i)
        f.spec.note += (i ? "; " : "") + notes[i];
    return f;
}

Figure scatterFigure(const WaterStudy& s, const Driver& d) {
    std::vector<double> xp, yp, xn, yn;
    for (std::size_t k = 0; k < s.finished.size(); ++k) {
        const double e = s.results[s.finished[k]].WasserfehlerVorzeichen;
        (e >= 0 ? xp : xn).push_back(d.values[k]);
        (e >= 0 ? yp : yn).push_back(std::abs(e));
    }
    Figure f;
    f.file = "wasserfehler_treiber.svg";
    f.caption = "Bild 4.2: Wasserfehler über " + d.name;
    f.spec.logX = f.spec.logY = true;
    f.spec.xTitle = d.name;
    f.spec.yTitle = "Wasserfehler in %";
    f.spec.series.push_back(
        series("Profil trockener als die Bilanz", xp, yp, seriesColour(1), false, true));
    f.spec.series.push_back(
        series("Profil feuchter als die Bilanz", xn, yn, seriesColour(0), false, true));
    const auto zero = std::count(s.errors.begin(), s.errors.end(), 0.0);
    if (zero > 0) f.spec.note = runs(static_cast<int>(zero)) + " mit dem Fehler 0 nicht gezeigt";
    return f;
}

std::string worstCase(const WaterStudy& s, const Driver& top) {
    const auto it = std::max_element(s.errors.begin(), s.errors.end());
    const auto k = static_cast<std::size_t>(it - s.errors.begin());
    const std::size_t i = s.finished[k];
    const double v = top.values[k];
    const auto larger = std::count_if(top.values.begin(), top.values.end(),
                                      [&](double other) { return other > v; });
    const CaseResult& r = s.results[i];
    std::string text = "Den größten Wasserfehler, " + prozent(r.Wasserfehler, 2) +
                       " (mit Vorzeichen " + prozent(r.WasserfehlerVorzeichen, 2) + "), hat Fall " +
                       std::to_string(i + 1) + " mit nOrt = " + std::to_string(r.nOrt) +
                       ", Laufzeit " + dauer(r.Laufzeit) + ", Ende: " + endeText(r.end) +
                       ". Seine Eingaben:\n\n";
    MarkdownTable t({"Eingabe", "Text"}, "lr");
    for (const InputRange& range : kWaterStudyRanges)
        t.row({fieldCaption(range.field), s.cases[i][range.field]});
    return text + t.str() + "Die Größe, mit der F am stärksten zusammenhängt (unten), " + top.name +
           ", hat bei ihm den Wert " + zahl(v, 3) + ": Rang " + std::to_string(larger + 1) +
           " unter den " + std::to_string(top.values.size()) +
           " beendeten Läufen, vom größten Wert an gezählt.\n\n";
}

std::string correlationTable(const std::vector<Correlation>& all) {
    MarkdownTable t({"Größe", "ρ mit dem Fehler samt Vorzeichen", "ρ mit dem Betrag"}, "lrr");
    for (const Correlation& c : all)
        t.row({c.driver->name, fest(c.withSigned, 2), fest(c.withAbsolute, 2)});
    return t.str();
}

std::string checkTable(const ShrinkageCheck& c, double shrinkage) {
    MarkdownTable t({"Δt in s", "mit " + fest(shrinkage, 1) + " % Schwindung", "ohne Schwindung"},
                    "rrr");
    std::vector<double> with, without;
    for (std::size_t i = 0; i < c.dt.size(); ++i) {
        with.push_back(c.withShrinkage[i].WasserfehlerVorzeichen);
        without.push_back(c.without[i].WasserfehlerVorzeichen);
        t.row({kShrinkageCheckSteps[i], prozent(with.back(), 2), prozent(without.back(), 2)});
    }
    const auto limit = [](const std::vector<double>& v) {
        const std::size_t n = v.size();
        const RichardsonEstimate e = richardson(v[n - 3], v[n - 2], v[n - 1], 2);
        return e.monotone ? prozent(e.value, 2) + " (Ordnung " + ordnung(e.order) + ")" : "–";
    };
    t.row({"→ 0 (Richardson)", limit(with), limit(without)});
    return t.str();
}

// The positive part that stays for Δt → 0, at three space steps.
std::string floorTable(const ShrinkageCheck& c) {
    std::vector<std::string> header{"Δx in mm"};
    for (std::size_t k = kShrinkageCheckSteps.size() - 3; k < kShrinkageCheckSteps.size(); ++k)
        header.push_back(std::string("F bei ") + kShrinkageCheckSteps[k] + " s");
    header.push_back("→ 0 (Richardson)");
    MarkdownTable t(header, "rrrrr");
    for (std::size_t i = 0; i < c.floorErrors.size(); ++i) {
        const std::array<double, 3>& f = c.floorErrors[i];
        const RichardsonEstimate e = richardson(f[0], f[1], f[2], 2);
        t.row({kFloorSpaceSteps[i], prozent(f[0], 2), prozent(f[1], 2), prozent(f[2], 2),
               e.monotone ? prozent(e.value, 2) + " (Ordnung " + ordnung(e.order) + ")" : "–"});
    }
    return t.str();
}

}  // namespace

ReportSection waterSection(const WaterStudy& s, const ShrinkageCheck& c) {
    ReportSection r;
    const std::vector<Correlation> all = correlations(s);
    const Correlation& top = all.front();
    const double shrinkage = TextZuZahl(defaultText(Control::txt_linTrSchwind));

    r.add("## 4 Wasserbilanzfehler über " + std::to_string(s.cases.size()) + " Zufallsfälle\n\n");
    r.add(
        "Das Fenster zeigt am Ende eines Laufs den Wasserfehler |XmomBilanz − XEnde|/(XAnf − "
        "XZiel) in %: wie weit die mittlere Beladung, die das Integral des Oberflächenstroms "
        "ergibt, von der des Profils abweicht. Unten heißt F derselbe Wert mit Vorzeichen; "
        "positiv heißt, das Profil hält weniger Wasser, als die Bilanz sagt. Alle siebzehn "
        "Eingaben werden gleichverteilt aus Bereichen gezogen, die die für Ziegelton üblichen "
        "Werte einschließen (der Wärmeübergangskoeffizient bis zu Werten, die nur bei hoher "
        "Luftgeschwindigkeit vorkommen), und auf die Stufe gerundet, wie man sie eintippt; die "
        "Dicke wird danach auf ein ganzes "
        "Vielfaches des doppelten Ortsschritts gelegt. Zufallsgenerator mt19937_64, Startwert " +
        std::to_string(kWaterStudySeed) +
        ". Sätze, die die Eingabeprüfung ablehnt, werden nicht gerechnet: Von " +
        std::to_string(s.drawn) + " gezogenen Sätzen wurden " +
        std::to_string(s.drawn - static_cast<int>(s.cases.size())) + " abgelehnt.\n\n");
    r.add(rangeTable());

    r.add("### Verteilung\n\n");
    r.add(endCounts(s) + " Quantile des Wasserfehlers:\n\n");
    r.add(quantileTable(s.errors));
    const int red = countAbove(s.errors, kWasserfehlerRot);
    const int warned = countAbove(s.errors, kWasserfehlerUngenau);
    const double n = static_cast<double>(s.errors.size());
    r.add("Über " + prozent(kWasserfehlerRot, 0) +
          " (das Fenster zeigt ihn dann rot): " + std::to_string(red) + " Läufe (" +
          prozent(100 * red / n, 1) + "); über " + prozent(kWasserfehlerUngenau, 0) +
          " (mit dem Rat, die Schrittweiten zu ändern): " + std::to_string(warned) + " (" +
          prozent(100 * warned / n, 1) + ").\n\n");
    r.add(histogramFigure(s));

    r.add("### Der ungünstigste Fall\n\n");
    r.add(worstCase(s, *top.driver));

    r.add("### Was den Fehler treibt\n\n");
    r.add(
        "Spearmans Rangkorrelation ρ jeder Eingabe und dreier abgeleiteter Größen mit F und mit "
        "seinem Betrag, über die " +
        std::to_string(s.errors.size()) + " beendeten Läufe; |ρ| über " +
        fest(kSignificance / std::sqrt(n - 1), 2) +
        " ist auf dem 5-%-Niveau von null verschieden. Die abgeleiteten Größen sind die Zahl "
        "der Ortsschritte nOrt, die Fourier-Zahl des Gitters κ₂₅·Δt/Δx² und κ₂₅·Δt/(Δx·a); sie "
        "rechnen mit dem Gitter des Modells (Δx = a/nOrt, a die halbe Dicke der getrockneten "
        "Platte) und der eingegebenen Feuchteleitfähigkeit κ₂₅.\n\n");
    r.add(correlationTable(all));
    r.add(scatterFigure(s, *top.driver));

    r.add("Kontrollversuch: der Standardfall bei Δx = " +
          std::string(defaultText(Control::txt_Ortsschrittweite)) +
          " mm und kleiner werdendem Zeitschritt, mit seiner Schwindung und ohne; F mit "
          "Vorzeichen:\n\n");
    r.add(checkTable(c, shrinkage));

    const Correlation& shrink = correlationOf(all, fieldCaption(Control::txt_linTrSchwind));
    r.add(
        "**Deutung.** Zwei Ursachen lassen sich trennen. *Randwerte aus dem alten Profil:* Am "
        "stärksten hängt F von " +
        top.driver->name + " ab (ρ = " + fest(top.withSigned, 2) +
        "). Spiegel- und Oberflächenwert des impliziten Schritts stammen aus dem Profil vor dem "
        "Schritt (Abschnitt 1); der Fluss durch die Mittelebene ist dann κ·(X_alt − X_neu)/Δx "
        "statt null und führt dem Profil Wasser zu, je Schritt proportional zu κ·Δt/Δx, bezogen "
        "auf die Wassermenge der halben Platte also zu κ·Δt/(Δx·a). Große Werte geben große "
        "negative F: Das Profil hält mehr Wasser, als die Bilanz sagt. *Schwindung:* Mit der "
        "Schwindung steigt F (ρ = " +
        fest(shrink.withSigned, 2) +
        "). Solange die Oberfläche schwindet (X(1) > XSchwEnde), rechnet der Oberflächenwert den "
        "Verdunstungsstrom mit der Trockendichte des noch geschwollenen Rohlings, rhosAusS, in "
        "ein Gefälle um; Bilanz und Mittelwert zählen mit der Trockendichte rhos der getrockneten "
        "Platte. Das Profil gibt dann um den Faktor rhos/rhosAusS mehr Wasser ab, als die Bilanz "
        "bucht, im Standardfall anfangs (1 − s)⁻³ = " +
        fest(std::pow(1 - shrinkage / 100, -3), 3) +
        ". Der Kontrollversuch zeigt beides: Ohne Schwindung geht F mit dem Zeitschritt in "
        "erster Ordnung gegen null, mit Schwindung gegen einen festen Wert. Weil die beiden "
        "Ursachen entgegengesetzte Vorzeichen haben, heben sie sich teilweise auf; ein kleiner "
        "angezeigter Wasserfehler belegt daher keine genaue Rechnung (der Standardfall bei Δt = " +
        std::string(kShrinkageCheckSteps[0]) +
        " s hat F = " + prozent(c.withShrinkage[0].WasserfehlerVorzeichen, 2) +
        ", seine Laufzeit liegt nach Abschnitt 2 trotzdem weit vom Grenzwert).\n\n");
    r.add(
        "Der Wasserfehler zerfällt also nicht in einen Teil, der mit dem Ortsschritt, und einen, "
        "der mit dem Zeitschritt wächst. Der positive Teil ist eine Untergrenze, die für Δt → 0 "
        "bleibt und kaum vom Ortsschritt abhängt; der negative wächst mit κ·Δt/Δx, bei "
        "gleichem Zeitschritt also, wenn der Ortsschritt kleiner wird:\n\n");
    r.add(floorTable(c));
    return r;
}

}  // namespace tesmo
