#include "uq/report.h"

#include <array>
#include <cmath>

#include "model/text_to_number.h"
#include "plot/number_text.h"
#include "study/result_view.h"
#include "uq/result_texts.h"

namespace tesmo {

namespace {

// The study table's units, by column (resultColumns() order).
constexpr std::array<const char*, kResultCount> kTableUnits = {
    "kg/kg", "kg/kg", "kg/kg", "",      "s",     "s", "kg/kg", "kg/(m² h)", "s", "s", "%",
    "1/m",   "°C",    "°C",    "kg/kg", "kJ/kg", "",  "%",     "",          "",  ""};

std::string resultName(std::size_t column) {
    const std::string unit = tableUnit(column);
    std::string name = "`";
    name.append(resultColumns()[column].name).append("`");
    return unit.empty() ? name : name + " in " + unit;
}

std::string exact(double v) {
    return ZahlZuTextExakt(v);
}

std::string fieldCell(Control field) {
    std::string cell = "`";
    return cell.append(controlName(field))
        .append("` | ")
        .append(trimmedCaption(inputCaption(field)));
}

void inputsSection(std::string& out, const UncertaintyPlan& plan) {
    out += "\n## Unsichere Eingaben\n\n| Eingabe | Bedeutung | Verteilung |\n| --- | --- | --- |\n";
    for (const Marginal& m : plan.marginals)
        out += "| " + fieldCell(m.field) + " | " + distributionWords(m) + " |\n";
    for (const CorrelatedNormal& b : plan.correlated) {
        const std::size_t n = b.fields.size();
        for (std::size_t i = 0; i < n; ++i)
            out += "| " + fieldCell(b.fields[i]) + " | " + correlatedWords(b, i) + " |\n";
    }
    for (const CorrelatedNormal& b : plan.correlated) {
        const std::size_t n = b.fields.size();
        std::string head = "|", rule = "| --- |";
        for (Control f : b.fields) {
            head += " | `" + std::string(controlName(f)) + "`";
            rule += " --- |";
        }
        out += "\nKorrelationen:\n\n" + head + " |\n" + rule + "\n";
        for (std::size_t i = 0; i < n; ++i) {
            out += "| `" + std::string(controlName(b.fields[i])) + "`";
            for (std::size_t j = 0; j < n; ++j)
                out += " | " + decimalText(correlation(b, i, j), 3);
            out += " |\n";
        }
    }
}

void unfinishedSection(std::string& out, const UncertaintyAnalysis& a) {
    const Unfinished& u = a.unfinished;
    if (u.count == 0) return;
    out += "\n## Nicht fertig gerechnete Fälle\n\n" + std::to_string(u.count) + " von " +
           std::to_string(u.total) + " Fällen (" +
           percentText(static_cast<double>(u.count) / static_cast<double>(u.total)) +
           ") sind nicht fertig gerechnet. Die Kennwerte und Indizes unten beruhen nur auf den "
           "fertigen Fällen; wenn die nicht fertigen Fälle in einem Bereich der Eingaben "
           "liegen, fehlt dieser Bereich in ihnen.\n\n| Ende | Fälle |\n| --- | --- |\n";
    for (const EndCount& e : u.ends)
        out += "| " + e.word + " (`" + e.end + "`) | " + std::to_string(e.count) + " |\n";
    if (u.regions.empty()) return;
    out +=
        "\nHerkunft der abgewiesenen und vorzeitig beendeten Fälle (Lage in der Verteilung: "
        "0 % ist ihr unteres, 100 % ihr oberes Ende):\n\n"
        "| Eingabe | Werte | Lage in der Verteilung |\n| --- | --- | --- |\n";
    for (const InputRegion& r : u.regions)
        out += "| `" + std::string(controlName(r.field)) + "` | " + readableNumber(r.lowest) +
               " bis " + readableNumber(r.highest) + " | " + percentText(r.lowestLevel) + " bis " +
               percentText(r.highestLevel) + " |\n";
}

void statisticsSection(std::string& out, const UncertaintyAnalysis& a) {
    out +=
        "\n## Kennwerte der Ergebnisse\n\nIn eckigen Klammern das 95-%-Vertrauensintervall "
        "(Bootstrap mit " +
        std::to_string(kBootstrapResamples) +
        " Wiederholungen). Quantile linear zwischen den geordneten Werten interpoliert.\n\n"
        "| Ergebnis | Fälle | Mittelwert | Standardabweichung | 5-%-Quantil | Median | "
        "95-%-Quantil |\n| --- | --- | --- | --- | --- | --- | --- |\n";
    for (const ResultStatistics& s : a.statistics)
        out += "| " + resultName(s.column) + " | " + std::to_string(s.count) + " | " +
               withInterval(s.mean, readableNumber) + " | " + readableNumber(s.sd) + " | " +
               withInterval(s.q05, readableNumber) + " | " + withInterval(s.q50, readableNumber) +
               " | " + withInterval(s.q95, readableNumber) + " |\n";
}

void limitsSection(std::string& out, const UncertaintyAnalysis& a) {
    if (a.limits.empty()) return;
    out +=
        "\n## Wahrscheinlichkeit jenseits einer Grenze\n\nIn eckigen Klammern das "
        "95-%-Vertrauensintervall nach Wilson. Die letzte Spalte gibt den Bereich über alle "
        "Fälle: von „keiner der Fälle ohne Wert läge jenseits“ bis „alle lägen "
        "jenseits“.\n\n| Grenze | Fälle jenseits | Wahrscheinlichkeit | über alle Fälle |\n"
        "| --- | --- | --- | --- |\n";
    for (const LimitStatistics& l : a.limits) {
        const std::string unit = tableUnit(l.limit.column);
        out += "| `" + std::string(resultColumns()[l.limit.column].name) + "` " +
               (l.limit.side == LimitSide::Above ? "> " : "< ") + exact(l.limit.value) +
               (unit.empty() ? "" : " " + unit) + " | " + std::to_string(l.beyond) + " von " +
               std::to_string(l.count) + " | " + withInterval(l.probability, percentText) + " | " +
               percentText(l.lowest) + " bis " + percentText(l.highest) + " |\n";
    }
}

void indicesSection(std::string& out, const UncertaintyPlan& plan, const UncertaintyAnalysis& a) {
    out +=
        "\n## Sensitivität: Sobol'-Indizes\n\nDer Index erster Ordnung einer Eingabe ist der "
        "Anteil an der Varianz des Ergebnisses, den sie allein verursacht; der totale Index "
        "zählt ihre Wechselwirkungen mit den anderen Eingaben dazu. Ein totaler Index nahe 0 "
        "heißt: die Streuung dieser Eingabe ist für das Ergebnis belanglos.";
    out += a.method == IndexMethod::PickFreeze
               ? " Geschätzt aus dem Pick-Freeze-Plan der Fälle (erste Ordnung nach Saltelli "
                 "2010, total nach Jansen), Intervalle aus dem Bootstrap. Schätzungen außerhalb "
                 "von 0 bis 1 und breite Intervalle zeigen, dass der Plan für dieses Ergebnis zu "
                 "klein ist.\n"
               : " Geschätzt aus einem Polynomchaos-Ersatzmodell, das an die Fälle angepasst "
                 "ist; Q² ist der Anteil der Varianz weggelassener Fälle, den es richtig "
                 "vorhersagt (Leave-one-out). Die Intervalle geben die Streuung seiner "
                 "Koeffizienten, erweitert um das, was der nicht erklärte Anteil 1 − Q² an "
                 "einem Index S höchstens verschieben kann: 1 − Q² + 2·√((1 − Q²)·S).\n";
    if (!plan.correlated.empty())
        out +=
            "\nKorrelierte Eingaben werden als Gruppe bewertet: ihre Indizes gelten für die "
            "Gruppe als Ganzes. Wie sich deren Anteil auf die einzelnen korrelierten "
            "Eingaben verteilt, ist nicht eindeutig und wird nicht angegeben.\n";
    for (const ResultIndices& r : a.indices) {
        out += "\n### " + resultName(r.column) + "\n\n";
        if (r.method == IndexMethod::Chaos && r.degree > 0)
            out += "Ersatzmodell: Polynome bis Grad " + std::to_string(r.degree) + ", " +
                   std::to_string(r.terms) + " Terme, angepasst an " + std::to_string(r.used) +
                   " Fälle, Q² " + q2Text(r.q2) + ".\n\n";
        if (r.method == IndexMethod::PickFreeze && r.reported)
            out += "Aus " + std::to_string(r.used) + " vollständigen Zeilen des Plans.\n\n";
        if (!r.reported) {
            out += "Keine Indizes: " + r.reason + ".\n";
            continue;
        }
        out += "| Eingabe | erster Ordnung | total |\n| --- | --- | --- |\n";
        for (const SobolIndex& s : r.indices)
            out += "| " + a.groups[s.group].name + " | " + withInterval(s.first, indexText) +
                   " | " + withInterval(s.total, indexText) + " |\n";
    }
}

void histogramSection(std::string& out, const UncertaintyAnalysis& a) {
    out += "\n## Histogramme\n";
    for (const ResultStatistics& s : a.statistics) {
        out += "\n### " + resultName(s.column) + "\n\n| von | bis | Fälle |\n| --- | --- | --- |\n";
        for (std::size_t b = 0; b < s.histogram.counts.size(); ++b)
            out += "| " + readableNumber(s.histogram.edges[b]) + " | " +
                   readableNumber(s.histogram.edges[b + 1]) + " | " +
                   std::to_string(s.histogram.counts[b]) + " |\n";
    }
}

const char* designWords(SampleDesign design) {
    switch (design) {
        case SampleDesign::Lhs:
            return "Latin-Hypercube-Plan";
        case SampleDesign::Sobol:
            return "Sobol'-Folge, zufällig verschoben";
        case SampleDesign::MonteCarlo:
            return "Monte-Carlo-Stichprobe";
    }
    return "";
}

}  // namespace

const char* tableUnit(std::size_t column) {
    return column < kTableUnits.size() ? kTableUnits[column] : "";
}

std::string uncertaintyReport(const UncertaintyPlan& plan, const UncertaintyAnalysis& a) {
    std::string out = "# Unsicherheitsstudie" + (plan.name.empty() ? "" : " " + plan.name) + "\n\n";
    out += "Stichprobe: " + std::to_string(a.cases) + " Fälle, " + designWords(plan.design) +
           ", Startwert " + std::to_string(plan.seed) +
           (a.method == IndexMethod::PickFreeze
                ? "; die Fälle bilden einen Pick-Freeze-Plan aus " +
                      std::to_string(a.independentCases) + " unabhängigen Fällen und " +
                      std::to_string(a.cases - a.independentCases) + " gemischten"
                : "") +
           ".\n\nFertig gerechnet: " + std::to_string(a.finishedCases) + " von " +
           std::to_string(a.cases) + " Fällen (" +
           percentText(a.cases ? static_cast<double>(a.finishedCases) / static_cast<double>(a.cases)
                               : 0.0) +
           "). Alle Werte in den Einheiten der Ergebnistabelle.\n";
    inputsSection(out, plan);
    unfinishedSection(out, a);
    statisticsSection(out, a);
    limitsSection(out, a);
    indicesSection(out, plan, a);
    histogramSection(out, a);
    return out;
}

}  // namespace tesmo
