// The report's title, introduction and closing section.
#include "verify/report.h"

namespace tesmo {

namespace {

std::string band(const OrderBand& b) {
    return fest(b.lo, 1) + " … " + fest(b.hi, 1);
}

}  // namespace

std::string reportHead() {
    return std::string("# Verifikation des Trocknungsmodells\n\n") +
           "Dieser Bericht entsteht mit `make verify` aus frischen Rechnungen: Das Programm "
           "`tesmo-verify` (Ordner verify/) rechnet die sechs Prüfungen und schreibt diesen Text "
           "und seine Bilder (docs/verification/). Alle Zahlen stammen aus diesen Rechnungen; "
           "eingetragen sind nur Referenzwerte, jeweils mit ihrer Quelle. Zahlen stehen mit "
           "Dezimalkomma, Zeiten als Stunden:Minuten:Sekunden.\n\n"
           "1. [Feuchteleitung gegen die analytische Lösung der ebenen Platte]"
           "(#1-feuchteleitung-gegen-die-analytische-lösung-der-ebenen-platte): der implizite "
           "Schritt, seine Ordnung in Zeit und Ort\n"
           "2. [Gitterkonvergenz des Standardfalls](#2-gitterkonvergenz-des-standardfalls): "
           "Laufzeit, erster Abschnitt und Energiebedarf bei feineren Schritten\n"
           "3. [Feuchte Luft gegen Referenzwerte](#3-feuchte-luft-gegen-referenzwerte): "
           "Sättigungsdruck und Kühlgrenztemperatur\n"
           "4. [Wasserbilanzfehler über Zufallsfälle](#4-wasserbilanzfehler-über-" +
           std::to_string(kWaterStudyCases) +
           "-zufallsfälle): Verteilung, ungünstigster Fall, Ursachen\n"
           "5. [Energie- und Wasserbilanz des Trockners]"
           "(#5-energie--und-wasserbilanz-des-trockners): die Handbilanz gegen beide "
           "Luftbilanzen bei vier Zeitschritten, was sie trennt, die Wasserbilanz der Luft\n"
           "6. [Randstrom, nichtlineare Feuchteleitung und Trocknungsspiegel]"
           "(#6-randstrom-nichtlineare-feuchteleitung-und-trocknungsspiegel): der Feuchteschritt "
           "gegen Reihen-, Ähnlichkeits- und Wurzelgesetz-Lösung\n\n";
}

std::string reportTail() {
    return "## Reproduzieren\n\n"
           "`make verify` installiert fehlende Pakete, baut `tesmo-verify` und schreibt "
           "docs/verification.md mit den Bildern neu; die Rechnungen laufen auf allen Kernen, "
           "jeder Lauf auf einem eigenen, frisch angelegten Laufzustand, sodass das Ergebnis "
           "nicht von der Zahl der Kerne abhängt. Das Programm nennt am Ende seine Laufzeit. "
           "Damit der Bericht nicht unbemerkt veraltet, prüft der Test `tesmo_verify_tests` "
           "(ctest) bei jedem Testlauf die Rechnungen von Abschnitt 1: Die beobachtete Ordnung in "
           "der Zeit muss in " +
           band(kTimeOrderBand) + " liegen, die im Ort gegen die Platte a + Δx/2 in " +
           band(kSpaceOrderBand) + " und gegen die Platte der Eingabe in " +
           band(kNominalSpaceOrderBand) +
           ". Weitere Tests halten die Schlüsselzahlen der Abschnitte 5 und 6 in ihren Bändern: "
           "die Handbilanz des Standardfalls, den Rest der korrigierten Luftbilanz, die Ordnungen "
           "des Randstroms, der Ähnlichkeitslösung und der Ankunft des Trocknungsspiegels.\n";
}

}  // namespace tesmo
