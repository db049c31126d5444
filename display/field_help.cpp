#include "display/field_help.h"

#include <array>
#include <cstddef>
#include <iterator>
#include <string>

#include "model/inputs.h"

namespace tesmo {

namespace {

using enum Control;

struct Eingabe {
    Control feld;
    TypicalRange typisch;
    const char* einheit;
    const char* abgewiesen;
    const char* text;
};

struct Ergebnis {
    Control feld;
    const char* text;
};

// The input check refuses nothing else for a quantity that only has to be positive.
constexpr const char* kNurPositiv = "Werte bis 0.";

// clang-format off
// The inputs: typical values for a brick-clay plate in a counter-current dryer, the unit written
// after them ("" for a pure number), what the input check refuses, and what the input means.
constexpr Eingabe kEingaben[] = {
    {txt_Dicke, {"10", "30"}, "mm",
     "Werte bis 0. Die halbe Dicke muss sich durch die Ortsschrittweite ohne Rest in 1 bis 500 "
     "Schritte teilen lassen (die Meldung nennt dann die Ortsschrittweite).",
     "Dicke der feuchten, noch ungeschwundenen Rohlingsplatte beim Eintritt in den Trockner. Die "
     "Platte trocknet symmetrisch von beiden Seiten; gerechnet wird über die halbe Dicke der "
     "getrockneten Platte. Eine dickere Platte trocknet deutlich länger."},
    {txt_rhos, {"1700", "2000"}, "kg/m³",
     "Werte bis 0 und Werte, mit denen der Rohling bei dieser Anfangswasserbeladung und "
     "Schwindung nur aus Wasser bestünde.",
     "Trockenrohdichte der fertig getrockneten Platte: kg Trockenmasse je m³ getrockneter "
     "Platte. Mit Anfangswasserbeladung und Schwindung bestimmt sie die offene Porosität und die "
     "Schwindungsgrenze. Probe: Trockendichte / (1 − offene Porosität) ist die Reindichte des "
     "Feststoffs, für Ziegeltone etwa 2600 bis 2700 kg/m³."},
    {txt_XAnf, {"0,18", "0,30"}, "kg/kg",
     "Werte bis 0, Werte, mit denen der Rohling nur aus Wasser bestünde, und Werte, die für die "
     "eingegebene Schwindung zu klein sind (die Meldung nennt dann die Schwindung).",
     "Wassergehalt der Rohlingsplatte beim Eintritt, in kg Wasser je kg Trockenmasse („atro“: "
     "bezogen auf die absolut trockene Masse). Der Rohling gilt als wassergesättigt: Sein "
     "Volumen besteht nur aus Feststoff und Wasser."},
    {txt_XZiel, {"0,00", "0,02"}, "kg/kg",
     "negative Werte und Werte ab der Anfangswasserbeladung.",
     "Mittlere Wasserbeladung, bei der die Rechnung endet. Mit 0 läuft sie, bis der "
     "Trocknungsspiegel die Plattenmitte erreicht. Die letzten Hundertstel kosten viel Zeit: Mit "
     "0,02 statt 0 endet die Rechnung mit den Vorgabewerten über eine Stunde früher."},
    {txt_linTrSchwind, {"4", "8"}, "%",
     "negative Werte, Werte ab 100 und Werte, bei denen mehr Volumen verloren ginge, als der "
     "Rohling Wasser enthält.",
     "Lineare Trockenschwindung vom Rohling bis zur getrockneten Platte, in % der Rohlingsmaße. "
     "Die Platte schwindet ideal: Bis zum Schwindungsende verliert sie so viel Volumen, wie "
     "Wasser sie verlässt. Mit 0 wird eine nicht schwindende Platte gerechnet."},
    {txt_Feuchteleit, {"20", "80"}, "· 10⁻⁹ m²/s", kNurPositiv,
     "Feuchteleitkoeffizient κ des kapillaren Wassertransports bei 0,25 kg/kg (25 % atro) und "
     "25 °C. Oberhalb der Schwindungsgrenze wächst er mit dem Quadrat des "
     "Wasservolumenanteils, darunter fällt er mit der Kappa-Steigung ab; je Kelvin über 25 °C "
     "steigt er um 2,25 %. Größere Werte halten die Oberfläche länger nass. Zu gewinnen aus "
     "gemessenen Trocknungskurven (siehe Handbuch, Stoffwerte)."},
    {txt_lambda, {"0,5", "1,2"}, "W/(m K)", kNurPositiv,
     "Wärmeleitfähigkeit λ der getrockneten Platte. Sie bestimmt im 2. Trocknungsabschnitt, wie "
     "viel Wärme durch die trockene Schicht zum Trocknungsspiegel gelangt."},
    {txt_mue, {"5", "30"}, "", kNurPositiv,
     "Wasserdampf-Diffusionswiderstandszahl µ der trockenen Masse, ohne Einheit: um diesen "
     "Faktor diffundiert Wasserdampf durch die trockene Schicht langsamer als durch ruhende "
     "Luft. Sie begrenzt im 2. Trocknungsabschnitt die Verdunstung am Trocknungsspiegel. Zu "
     "messen im Napfversuch an einer Scheibe der getrockneten Masse."},
    {txt_Waermeuebergang, {"10", "35"}, "W/(m² K)", kNurPositiv,
     "Effektiver Wärmeübergangskoeffizient α zwischen Trocknungsluft und Plattenoberfläche. Im "
     "1. Trocknungsabschnitt ist die Verdunstungsrate ihm proportional. Werte von 50 bis 80 "
     "W/(m² K) erreicht man nur mit hoher Luftgeschwindigkeit; aus der Luftgeschwindigkeit w "
     "längs der Platte etwa 5,6 + 4,0 · w (w in m/s, bis 5 m/s)."},
    {txt_AussenluftTemp, {"-10", "25"}, "°C",
     "Werte ab der Ablufttemperatur, bis -234,175 °C und über 10000 °C.",
     "Temperatur der angesaugten Außenluft. Sie wird ohne Wasseraufnahme auf die "
     "Zulufttemperatur erwärmt; die Wärme dafür ist der Energiebedarf des Trockners."},
    {txt_AussenluftFeuchte, {"30", "90"}, "%",
     "Werte unter 0 und über 100, ein Dampfdruck von 1 bar und Außenluft, die so viel Wasser "
     "trägt wie die Abluft oder mehr (die Meldung nennt dann die Abluftfeuchte).",
     "Relative Feuchte der Außenluft. Mit ihrer Temperatur bestimmt sie die Wasserbeladung, mit "
     "der die Luft in den Trockner kommt."},
    {txt_Lufttemp, {"25", "45"}, "°C",
     "Werte bis -234,175 °C und über 10000 °C und Abluft, deren Kühlgrenztemperatur nicht unter "
     "ihrer Temperatur liegt (so jede Abluft bis 0 °C).",
     "Temperatur der Abluft, die den Trockner dort verlässt, wo die feuchten Rohlinge "
     "eintreten. Im Gegenstrom trifft die Platte zuerst auf diese Luft, danach auf immer wärmere "
     "und trockenere."},
    {txt_AbluftFeuchte, {"60", "90"}, "%",
     "Werte unter 0 und ab 100, ein Dampfdruck von 1 bar, Abluft, die nicht mehr Wasser trägt "
     "als die Außenluft, und Abluft, die fast reiner Wasserdampf wäre (die Meldung nennt die "
     "Abluftfeuchte, auch wenn die Ablufttemperatur zu hoch ist).",
     "Relative Feuchte der Abluft. Feuchtere Abluft braucht weniger Luft je kg Wasser, lässt "
     "die Platte am Anfang aber langsamer trocknen."},
    {txt_Ortsschrittweite, {"0,05", "0,2"}, "mm",
     "Werte bis 0 und Werte, die die halbe Anfangsdicke nicht ohne Rest in 1 bis 500 Schritte "
     "teilen.",
     "Abstand der Rechenknoten über die halbe Plattendicke, bezogen auf die Anfangsdicke. Halbe "
     "Anfangsdicke / Ortsschrittweite ist die Zahl der Schritte. Kleinere Werte lösen das "
     "Feuchteprofil feiner auf und rechnen länger."},
    {txt_deltaT, {"0,1", "1"}, "s", kNurPositiv,
     "Zeitschritt der Rechnung. Jeder Zeitschritt wird gespeichert: Braucht ein Lauf mehr als "
     "500 000, bricht er ab. Mit der Standard-Luftbilanz hängen Zulufttemperatur, Energiebedarf "
     "und Trocknungsdauer stark von ihm ab, weil sie die Erwärmung der Platte mit ihm "
     "multipliziert; mit Berechnung → Korrigierte Luftbilanz nur noch um wenige Prozent (siehe "
     "Handbuch, Numerik)."},
    {txt_rund, {"500", "5000"}, "",
     "Werte unter 50 (die Momentanwerte werden fünfzigmal je Kurve aufgefrischt), Werte mit "
     "Nachkommastellen und Werte über 1000000000.",
     "Zeitschritte zwischen zwei Wasserbeladungskurven im oberen Diagramm; die Momentanwerte "
     "werden etwa fünfzigmal je Kurve aufgefrischt. Im 1. Zeitschritt nach jeder Kurve rückt der "
     "Luftzustand nicht weiter, deshalb ändern kleine Werte die Ergebnisse leicht."},
    {txt_KappaSteig, {"4", "10"}, "",
     "Werte, mit denen sich der Feuchteleitkoeffizient bis zur trockenen Masse um mehr als 100 "
     "Zehnerpotenzen änderte.",
     "Steigung des Feuchteleitkoeffizienten unterhalb der Schwindungsgrenze, in Dekaden je "
     "m³/m³: Er fällt um so viele Zehnerpotenzen je Einheit Wasservolumenanteil, bei 6,7 also um "
     "0,67 Zehnerpotenzen je 0,1 m³/m³. Größere Werte lassen die Oberfläche früher "
     "austrocknen."},
};

// Results and warnings: what each means, its unit, and how a result is computed.
constexpr Ergebnis kErgebnisse[] = {
    {txt_XSchwEnde,
     "Wasserbeladung am Schwindungsende (Schwindungsgrenze), in kg/kg atro. Bis dahin schwindet "
     "die Platte ideal, danach leeren sich die Poren. Berechnet als offene Porosität · 1000 "
     "kg/m³ / Trockendichte."},
    {txt_offPoren,
     "Offene Porosität der getrockneten Platte, in Vol.-%: der Wasservolumenanteil am "
     "Schwindungsende. Wasservolumen des Rohlings minus Schwindvolumen, bezogen auf das Volumen "
     "der getrockneten Platte."},
    {txt_LuftRohlingVerh,
     "Spezifischer Luftbedarf: trockene Luft je kg trockener Rohlinge, in kg/kg: (Anfangs- "
     "minus Endwasserbeladung) / (Wasserbeladung der Abluft minus der Außenluft). Die Luft nimmt "
     "genau das Wasser auf, das die Platten abgeben."},
    {txt_LuftWasserVerh,
     "Spezifischer Luftbedarf je kg verdunsteten Wassers, in kg trockener Luft je kg: 1 / "
     "(Wasserbeladung der Abluft minus der Außenluft). Hängt nur von Abluft und Außenluft ab."},
    {txt_Zeit,
     "Gerechnete Trocknungszeit seit dem Eintritt der Platte in den Trockner, in Stunden : "
     "Minuten : Sekunden (nicht die Rechenzeit). Am Ende die ganze Trocknungsdauer."},
    {txt_momLuftTemp,
     "Temperatur der Luft, die die Platte gerade umströmt, in °C. Sie beginnt bei der "
     "Ablufttemperatur und steigt, während die Platte der Zuluft entgegenfährt; am Ende ist sie "
     "die Zulufttemperatur."},
    {txt_momPhiLuft,
     "Relative Feuchte der Luft, die die Platte gerade umströmt, in %, aus ihrer "
     "Wasserbeladung und Temperatur."},
    {txt_thetaOb,
     "Oberflächentemperatur der Platte, in °C. Im 1. Trocknungsabschnitt die "
     "Kühlgrenztemperatur der umströmenden Luft, im 2. Lufttemperatur minus "
     "Wärmestromdichte / Wärmeübergangskoeffizient."},
    {txt_thetaK,
     "Kerntemperatur, in °C. Im 1. Trocknungsabschnitt die Kühlgrenztemperatur wie an der "
     "Oberfläche. Im 2. die Temperatur der feuchten Zone, gerechnet am Trocknungsspiegel: Bei "
     "ihr gleicht die zugeführte Wärme den Dampf aus, der durch die "
     "trockene Schicht entweichen kann. Angezeigt höchstens 100 °C."},
    {txt_xmom,
     "Mittlere Wasserbeladung der Platte, in kg/kg atro, aus dem Feuchteprofil (nur Knoten mit "
     "Wasser zählen). Im 2. Trocknungsabschnitt unter 0,005 als „<0,01“; am Ende steht hier die "
     "Endwasserbeladung."},
    {txt_qrand,
     "Wärmestromdichte in die Platte je m² Fläche einer Seite der getrockneten Platte, in "
     "kW/m². Im 1. Trocknungsabschnitt "
     "Wärmeübergangskoeffizient · (Luft- minus Oberflächentemperatur), im 2. durch "
     "Luftgrenzschicht und trockene Schicht in Reihe bis zum Trocknungsspiegel."},
    {txt_Wasserdampf,
     "Verdunstungsrate je m² Fläche einer Seite der getrockneten Platte, in kg/(m² h). Im 1. "
     "Trocknungsabschnitt Wärmestromdichte / Verdampfungsenthalpie, im 2. die geglättete "
     "Dampfdiffusion durch die trockene Schicht."},
    {txt_KapGeschw,
     "Mittlere Geschwindigkeit, mit der das Kapillarwasser an die Oberfläche nachströmt, in "
     "mm/h: Verdunstungsrate / (Trockendichte · Wasserbeladung an der Oberfläche). Im 2. "
     "Trocknungsabschnitt „-“."},
    {txt_Dampfgeschw,
     "Ein Vergleichsmaß für die Geschwindigkeit des Wasserdampfs in den offenen Poren der "
     "trockenen Schicht, in m/h: Verdunstungsrate / (offene Porosität · 219,492 / T), mit "
     "219,492 / T kg/m³ der Dichte reinen Wasserdampfs bei 1,013 bar und der "
     "Oberflächentemperatur T in K. Der Dampf in den Poren ist viel dünner (rund hundertmal), "
     "seine wirkliche Geschwindigkeit entsprechend größer. Im 1. Trocknungsabschnitt „-“."},
    {txt_Dauer1TA,
     "Dauer des 1. Trocknungsabschnitts, in Stunden : Minuten : Sekunden: bis die "
     "Kapillarströmung die Oberfläche nicht mehr nass halten kann und ein Trocknungsspiegel in "
     "die Platte wandert."},
    {txt_X1TA,
     "Mittlere Wasserbeladung am Ende des 1. Trocknungsabschnitts, in kg/kg atro. Am Ende der "
     "Rechnung wird sie wie alle Wasserbeladungsverläufe so umgerechnet, dass der Lauf genau bei "
     "der Endwasserbeladung endet."},
    {txt_Anfangsrate,
     "Verdunstungsrate beim Eintritt in den Trockner, je m² Fläche einer Seite der getrockneten "
     "Platte, in kg/(m² h): Wärmeübergangskoeffizient · (Ablufttemperatur minus ihre "
     "Kühlgrenztemperatur) / Verdampfungsenthalpie."},
    {txt_t1xse,
     "Zeit ab Eintritt, zu der die Oberfläche die Schwindungsgrenze unterschreitet und nicht "
     "mehr schwindet, in Stunden : Minuten : Sekunden."},
    {txt_schwinddiff,
     "Unterschied der linearen Schwindung zwischen Oberfläche und Kern, in %, im Augenblick des "
     "steilsten Schwindungsgradienten an der Oberfläche. Ein Maß für die Spannungen, die zu "
     "Trockenrissen führen können."},
    {txt_schwindgrad,
     "Größter Gradient der linearen Schwindung an der Oberfläche, in % pro mm, über den ersten "
     "Knotenabstand, solange die Oberfläche schwindet."},
    {txt_t2xse,
     "Zeit ab Eintritt, zu der der Kern (die Plattenmitte) die Schwindungsgrenze erreicht: "
     "Danach schwindet die Platte nicht mehr. In Stunden : Minuten : Sekunden."},
    {txt_spezEnergie,
     "Mittlerer spezifischer Energiebedarf, in kJ je kg entfernten Wassers: Luft je kg Rohling · "
     "(Zuluft- minus Außenlufttemperatur) / (Anfangs- minus Endwasserbeladung), mit 1 kJ/(kg K) "
     "für die Luft (die feuchte Außenluft hat etwa 1,7 % mehr). Zulufttemperatur ist die "
     "Lufttemperatur am Ende. Mit der Standard-Luftbilanz hängt er von der Zeitschrittweite ab "
     "(siehe Handbuch, Gegenstromluft)."},
    {txt_relEnergie,
     "Mittlerer Energiebedarf bezogen auf die Verdampfungsenthalpie von 2500 kJ/kg: Werte über "
     "1 sagen, wie viel mehr Wärme gebraucht wird als zum bloßen Verdampfen."},
    {txt_Wasserfehler,
     "Relativer Fehler der Wasserbilanz, in % des zu entfernenden Wassers: Unterschied zwischen "
     "der Wasserbeladung aus dem Feuchteprofil und der aus der aufsummierten Verdunstung. Blau "
     "bis 3 %, darüber rot; über 6 % erscheint „evtl. sehr ungenau !“."},

    // warnings
    {lbl_ungenau1,
     "Der Wasserbilanzfehler liegt über 6 %: Orts- und Zeitschrittweite passen nicht "
     "zueinander. Beide ändern und die Ergebnisse vergleichen (siehe Handbuch, Numerik)."},
    {lbl_ungenau2,
     "Hinweis zum Wasserbilanzfehler über 6 %. Eine größere Ortsschrittweite hilft, wenn der "
     "Zeitschritt im Verhältnis zu ihr groß ist; bei grober Ortsschrittweite (z. B. 0,5 mm) hilft "
     "dagegen eine kleinere."},
    {lbl_ungenau3,
     "Hinweis zum Wasserbilanzfehler über 6 %. Eine kleinere Zeitschrittweite hilft, wenn sie "
     "im Verhältnis zur Ortsschrittweite groß ist; sonst wächst der Fehler dabei sogar."},
    {lbl_Achtung,
     "Die Suche nach der Temperatur am Trocknungsspiegel brauchte zuletzt mehr als 45 von "
     "höchstens 51 Halbierungen: Wärmezufuhr und Dampfdiffusion fanden kaum ins Gleichgewicht. "
     "Im Diagramm wird die Verdunstungsrate solcher Schritte durch die vorige ersetzt. Das "
     "Ergebnis mit kleinerer Zeitschrittweite prüfen."},
};
// clang-format on

// An input's text with its typical values, its default and what the input check refuses.
std::string eingabeText(const Eingabe& e) {
    std::string text = e.text;
    text += "\nTypisch für eine Ziegeltonplatte im Gegenstromtrockner: ";
    text += e.typisch.from;
    text += " bis ";
    text += e.typisch.to;
    if (*e.einheit != '\0') text += std::string(" ") + e.einheit;
    text += std::string(" (Vorgabe ") + defaultText(e.feld) + ").";
    text += std::string("\nAbgewiesen werden ") + e.abgewiesen;
    return text;
}

// The composed texts, indexed like the controls; an output field's label shares its field's.
const std::array<std::string, kControlCount>& texte() {
    static const std::array<std::string, kControlCount> t = [] {
        std::array<std::string, kControlCount> a;
        const auto setze = [&a](Control c, const std::string& text) {
            a[static_cast<std::size_t>(index(c))] = text;
        };
        for (const Eingabe& e : kEingaben)
            setze(e.feld, eingabeText(e));
        for (const Ergebnis& e : kErgebnisse) {
            setze(e.feld, e.text);
            if (isOutputField(e.feld)) setze(labelOf(e.feld), e.text);
        }
        return a;
    }();
    return t;
}

}  // namespace

const char* fieldHelp(Control c) {
    return texte()[static_cast<std::size_t>(index(c))].c_str();
}

TypicalRange typicalRange(Control input) {
    for (const Eingabe& e : kEingaben)
        if (e.feld == input) return e.typisch;
    return {};
}

int fieldHelpRows() {
    return static_cast<int>(std::size(kEingaben) + std::size(kErgebnisse));
}

}  // namespace tesmo
