// Section 5 of the report: the dryer's energy and water balances closed by hand.
#include <algorithm>
#include <cmath>

#include "model/physical_constants.h"
#include "model/setup.h"
#include "verify/report.h"

namespace tesmo {

namespace {

const char* bilanzName(const std::vector<BalanceLevel>& levels, const BalanceStudy& s) {
    return &levels == &s.standard ? "Standard" : "korrigiert";
}

// The Richardson estimate from the levels 1, 0,5 and 0,25 s.
RichardsonEstimate limit(const std::vector<BalanceLevel>& levels,
                         double (*value)(const BalanceLevel&)) {
    return richardson(value(levels[0]), value(levels[1]), value(levels[2]), 2);
}

double laufzeit(const BalanceLevel& l) {
    return l.result.Laufzeit;
}
double zuluft(const BalanceLevel& l) {
    return l.result.thetaZuluft;
}
double energie(const BalanceLevel& l) {
    return l.result.spezEnergie;
}
double handEnergie(const BalanceLevel& l) {
    return handBalance(l.texts, l.result.thetaKernEnde, kCpLuft).energie;
}

std::string closureTable(const BalanceStudy& s) {
    MarkdownTable t(
        {"Luftbilanz", "Δt in s", "Laufzeit", "Zuluft Modell in °C", "Zuluft Hand in °C",
         "Energie Modell in kJ/kg", "Energie Hand in kJ/kg", "Wärme Modell gegen Hand"},
        "lrrrrrrr");
    for (const auto* levels : {&s.standard, &s.korrigiert}) {
        for (const BalanceLevel& l : *levels) {
            t.row({bilanzName(*levels, s), l.dtText, dauer(l.result.Laufzeit),
                   fest(l.result.thetaZuluft, 2), fest(l.split.hand, 2),
                   fest(l.result.spezEnergie, 1), fest(handEnergie(l), 1),
                   prozentMitVorzeichen(100 * l.split.heatRatio, 1)});
        }
        const RichardsonEstimate tL = limit(*levels, laufzeit);
        const RichardsonEstimate tZ = limit(*levels, zuluft);
        const RichardsonEstimate tE = limit(*levels, energie);
        const auto shown = [](const RichardsonEstimate& e, const std::string& text) {
            return e.monotone ? text : std::string("–");
        };
        t.row({bilanzName(*levels, s), "→ 0", shown(tL, dauer(tL.value)),
               shown(tZ, fest(tZ.value, 2)), "", shown(tE, fest(tE.value, 1)), "", ""});
    }
    return t.str();
}

std::string splitTable(const BalanceStudy& s) {
    MarkdownTable t({"Luftbilanz", "Δt in s", "Hand in °C", "Luft mit 1 kJ/(kg K)",
                     "fehlendes Wasser", "Wasser bei θOb", "Rest", "Modell in °C"},
                    "lrrrrrrr");
    for (const auto* levels : {&s.standard, &s.korrigiert}) {
        for (const BalanceLevel& l : *levels) {
            const BalanceSplit& p = l.split;
            t.row({bilanzName(*levels, s), l.dtText, fest(p.hand, 2), festMitVorzeichen(p.cLuft, 2),
                   festMitVorzeichen(p.wasserFehlt, 2), festMitVorzeichen(p.wasserTemperatur, 2),
                   festMitVorzeichen(p.rest, 2), fest(p.model, 2)});
        }
    }
    return t.str();
}

Figure supplyFigure(const BalanceStudy& s) {
    Figure f;
    f.file = "bilanz_zuluft.svg";
    f.caption =
        "Bild 5.1: Zulufttemperatur des Standardfalls über dem Zeitschritt, beide Luftbilanzen "
        "gegen die Handbilanz (mit der Endtemperatur der korrigierten Läufe); bei Δt = 0 die "
        "Richardson-Schätzungen";
    f.spec.xTitle = "Zeitschritt Δt in s";
    f.spec.yTitle = "Zulufttemperatur in °C";
    std::vector<double> dt, standard, korrigiert, hand;
    for (std::size_t i = 0; i < s.standard.size(); ++i) {
        dt.push_back(s.standard[i].dt);
        standard.push_back(s.standard[i].result.thetaZuluft);
        korrigiert.push_back(s.korrigiert[i].result.thetaZuluft);
        hand.push_back(s.korrigiert[i].split.hand);
    }
    f.spec.series.push_back(
        series("Standard-Luftbilanz", dt, standard, seriesColour(0), true, true));
    f.spec.series.push_back(
        series("korrigierte Luftbilanz", dt, korrigiert, seriesColour(1), true, true));
    f.spec.series.push_back(series("Handbilanz", dt, hand, kBlack, true, false, true));
    int i = 0;
    for (const auto* levels : {&s.standard, &s.korrigiert}) {
        const RichardsonEstimate e = limit(*levels, zuluft);
        if (e.monotone)
            f.spec.series.push_back(
                estimatePoint(levels == &s.standard ? "Standard, Δt → 0" : "korrigiert, Δt → 0",
                              e.value, seriesColour(i)));
        ++i;
    }
    return f;
}

// The air's water balance of one run: where the water removed from the plate went.
std::string waterTable(const BalanceLevel& l) {
    const Einrichtungswerte w = berechneEinrichtung(l.texts);
    const CaseResult& r = l.result;
    const double profil = w.XAnf - r.XEnde;
    const double bilanz = w.XAnf - r.XmomBilanz;
    const double luft = w.LuftRohlingVerh * (r.XLuftStart - r.XLuftEnde);
    const double soll = w.LuftRohlingVerh * (w.XAbluftAbluft - static_cast<double>(w.XAussen));
    MarkdownTable t({"Wasser je kg Trockenmasse", "in kg/kg", "gegen das Profil"}, "lrr");
    const auto row = [&](const std::string& name, double v) {
        t.row({name, fest(v, 5), prozentMitVorzeichen(100 * (v / profil - 1), 2)});
    };
    row("aus der Platte, nach dem Feuchteprofil: XAnf − XEnde", profil);
    row("nach der Bilanz des Oberflächenstroms: XAnf − XmomBilanz", bilanz);
    row("von der Luft aufgenommen: L·(X_Start − X_Ende)", luft);
    row("für die Zuluft aus der Außenluft nötig: L·(XAbluft − XAußen) = XAnf − XZiel", soll);
    return t.str();
}

}  // namespace

ReportSection balanceSection(const BalanceStudy& s) {
    ReportSection r;
    const BalanceLevel& standard = s.standard[1];  // Δt = 0,5 s: the default case
    const BalanceLevel& korr = s.korrigiert[1];
    const Einrichtungswerte w = berechneEinrichtung(standard.texts);

    r.add("## 5 Energie- und Wasserbilanz des Trockners\n\n");
    r.add(
        "Der Trockner lässt sich als Ganzes von Hand bilanzieren, ohne den Weg der Platte durch "
        "ihn zu kennen. Je kg Trockenmasse wird Außenluft (θAußen, XAußen) auf die "
        "Zulufttemperatur θZu erwärmt und verlässt den Trockner als Abluft (θAbluft, XAbluft) "
        "mit dem Wasser, das die Platte abgab; die Platte tritt mit der Kühlgrenztemperatur θKG "
        "der Abluft ein und mit ihrer Endtemperatur θEnde aus. Die Enthalpiebilanz\n\n"
        "L·(c_L + c_D·XAußen)·θZu = L·(c_L + c_D·XAbluft)·θAbluft + r₀·(XAnf − XZiel) + "
        "(c_S + c_W·XZiel)·θEnde − (c_S + c_W·XAnf)·θKG\n\n"
        "mit L dem spezifischen Luftbedarf, c_L = 1,005 und c_D = 1,86 kJ/(kg K) für trockene "
        "Luft und Dampf, r₀ = 2500 kJ/kg, c_S = 0,9 und c_W = 4,1868 kJ/(kg K) für Trockenmasse "
        "und Wasser gibt die Zulufttemperatur, die der Trockner braucht. Als θEnde dient die "
        "Temperatur der feuchten Zone am Ende des Laufs (die Anzeige „Kerntemperatur“): Mit ihr "
        "erwärmt das Modell die ganze Platte. Die Energie zählt die Hand wie die Wärme, mit "
        "L·(c_L + c_D·XAußen)·(θZu − θAußen)/(XAnf − XZiel); die Spalte *Wärme Modell gegen "
        "Hand* vergleicht beide mit dieser Wärmekapazität, also (θZu,Modell − θAußen)/(θZu,Hand − "
        "θAußen) − 1. Gerechnet ist der Standardfall bei Δx = 0,1 mm und vier Zeitschritten mit "
        "beiden Luftbilanzen des zweiten Abschnitts: der Standard-Luftbilanz, die die Erwärmung "
        "der Platte mit dem Faktor Δt bucht, und der korrigierten (Handbuch, Abschnitt 4.5).\n\n");
    r.add(closureTable(s));

    const auto moves = [](const std::vector<BalanceLevel>& v) {
        return prozent(100 * std::abs(v.back().result.Laufzeit / v.front().result.Laufzeit - 1), 1);
    };
    const BalanceLevel& s1 = s.standard.front();
    const BalanceLevel& sLast = s.standard.back();
    r.add("**Befund.** Die Handbilanz verlangt bei jedem Zeitschritt eine Zuluft von " +
          fest(std::min(s1.split.hand, sLast.split.hand), 1) + " bis " +
          fest(std::max(s1.split.hand, sLast.split.hand), 1) +
          " °C (sie hängt nur über die Endtemperatur der Platte vom Lauf ab). Die "
          "Standard-Luftbilanz verfehlt sie um " +
          prozentMitVorzeichen(100 * s1.split.heatRatio, 1) + " Wärme bei Δt = " + s1.dtText +
          " s und " + prozentMitVorzeichen(100 * sLast.split.heatRatio, 1) + " bei " +
          sLast.dtText + " s; bei " + standard.dtText + " s trifft sie sie zufällig (" +
          prozentMitVorzeichen(100 * standard.split.heatRatio, 1) +
          "). Ihre Trocknungsdauer ändert sich zwischen " + s1.dtText + " und " + sLast.dtText +
          " s um " + moves(s.standard) + ", die der korrigierten Luftbilanz um " +
          moves(s.korrigiert) + "; deren Wärme liegt zwischen " +
          prozentMitVorzeichen(100 * s.korrigiert.back().split.heatRatio, 1) + " und " +
          prozentMitVorzeichen(100 * s.korrigiert.front().split.heatRatio, 1) +
          " neben der Handbilanz. Die Schätzungen für Δt → 0 der Standard-Luftbilanz beschreiben "
          "eine Bilanz ganz ohne die Erwärmung der Platte (Abschnitt 2).\n\n");
    r.add(supplyFigure(s));

    r.add("### Was die Luftbilanz des Modells von der Handbilanz trennt\n\n");
    r.add(
        "Die Luft des Modells rückt Schritt für Schritt weiter; ihre Enthalpiesummen laufen durch, "
        "sodass sich der Unterschied zur Handbilanz genau in Teile zerlegen lässt (in K "
        "Zulufttemperatur):\n\n"
        "- *Luft mit 1 kJ/(kg K):* Die Luftbilanz des Modells rechnet trockene Luft mit 1 statt "
        "1,005 kJ/(kg K). Der angezeigte Energiebedarf rechnet die feuchte Außenluft ebenfalls "
        "mit 1 kJ/(kg K) statt 1,005 + 1,86·XAußen = " +
        fest(kCpLuft + kCpDampf * static_cast<double>(w.XAussen), 3) +
        " kJ/(kg K): Er liegt allein deshalb um " +
        prozent(100 * (1 - 1 / (kCpLuft + kCpDampf * static_cast<double>(w.XAussen))), 1) +
        " unter der Wärme, die die Luft aufnimmt.\n"
        "- *fehlendes Wasser:* Die Luft endet nicht mit der Wasserbeladung der Außenluft: Sie hat "
        "nur das Wasser aufgenommen, das die Bilanz des Oberflächenstroms bucht. Dessen Fehlbetrag "
        "ist der Wasserbilanzfehler (Abschnitt 4); seine Verdampfungswärme fehlt der Zuluft. Weil "
        "der Wasserbilanzfehler selbst vom Zeitschritt abhängt, trägt dieser Teil den größten "
        "Teil der Zeitschrittabhängigkeit, die der korrigierten Luftbilanz bleibt.\n"
        "- *Wasser bei θOb:* Im zweiten Abschnitt tritt das verdunstete Wasser in der Luftbilanz "
        "flüssig mit der Kühlgrenztemperatur θOb der Luft ein, obwohl es die Platte am "
        "Trocknungsspiegel mit der Temperatur θK der feuchten Zone verlässt, die die Luft schon "
        "erwärmt hat. Die Luft muss dafür Σ 4,19·(θK − θOb)·ΔX zu viel aufbringen.\n"
        "- *Rest:* alles Übrige. In der Standard-Luftbilanz ist das der Faktor Δt der fühlbaren "
        "Wärme: Er bucht die Erwärmung der Platte bei Δt = 1 s einmal und zusätzlich den ganzen "
        "Sprung von 0 °C auf ihre Temperatur im ersten Schritt des zweiten Abschnitts, bei "
        "kleineren Schritten nur den Bruchteil Δt/s. In der korrigierten Luftbilanz bleiben die "
        "Erwärmung mit der jeweiligen mittleren Wasserbeladung (und c_W = 4,19) statt mit den "
        "Beladungen am Ein- und Austritt und der Beginn bei der Kühlgrenztemperatur am Ende des "
        "ersten Abschnitts statt bei θKG.\n\n");
    r.add(splitTable(s));
    const double endMean =
        (kCpTrockenmasse + kCwWasser * static_cast<double>(w.XZiel)) *
        (korr.result.thetaOberflEnde - korr.result.thetaKernEnde) / 2 /
        (w.LuftRohlingVerh * (kCpLuft + kCpDampf * static_cast<double>(w.XAussen)));
    double rest = 0;
    for (const BalanceLevel& l : s.korrigiert)
        rest = std::max(rest, std::abs(l.split.rest));
    r.add("Der Rest der korrigierten Luftbilanz bleibt bei jedem Zeitschritt unter " +
          fest(0.1 * std::ceil(10 * rest), 1) +
          " K; was sie von der Handbilanz trennt, sind die drei benannten Teile. Auch die "
          "Endtemperatur der Handbilanz ist eine Wahl: Die trockene Schicht ist wärmer als die "
          "feuchte Zone (am Ende des korrigierten Laufs bei " +
          std::string(korr.dtText) + " s " + fest(korr.result.thetaOberflEnde, 2) +
          " °C an der "
          "Oberfläche gegen " +
          fest(korr.result.thetaKernEnde, 2) +
          " °C); mit dem Mittel beider als Endtemperatur stiege die Zuluft der Handbilanz um " +
          fest(endMean, 2) + " K.\n\n");

    r.add("### Die Wasserbilanz der Luft\n\n");
    r.add("Am Ende des Standardfalls (Δt = " + std::string(standard.dtText) +
          " s) trägt die Luft an der Platte X = " + fest(standard.result.XLuftEnde, 5) +
          " kg/kg, die Außenluft " + fest(static_cast<double>(w.XAussen), 5) +
          " kg/kg. Wohin das Wasser der Platte ging:\n\n");
    r.add(waterTable(standard));
    r.add(
        "Zwischen Profil und Bilanz des Oberflächenstroms liegt der Wasserbilanzfehler; zwischen "
        "dieser Bilanz und der Luft die Schritte, in denen die Luft nicht weiterrückt (der erste "
        "Schritt des Laufs und im ersten Abschnitt der erste nach jeder gezeichneten Kurve), "
        "deren Wasser die Platte abgibt, die Luft aber nicht aufnimmt. Die Luft beginnt mit der "
        "Wasserbeladung, die zur gesuchten Kühlgrenztemperatur gehört (" +
        fest(standard.result.XLuftStart, 6) +
        " kg/kg), der Luftbedarf rechnet mit der aus der "
        "relativen Feuchte (" +
        fest(w.XAbluftAbluft, 6) + " kg/kg).\n\n");
    return r;
}

}  // namespace tesmo
