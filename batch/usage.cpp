// The runner's --help and --version texts (German, like every message of the runner; the
// option and field names stay as they are typed). The manual page is made from --help.
#include <string>

#include "batch/arguments.h"
#include "tesmo_version.h"

namespace tesmo {

namespace {
constexpr const char* kSynopsis =
    "Aufruf: tesmo-gegen-batch [OPTION]... [NAME=TEXT]...\n"
    "  oder: tesmo-gegen-batch --vary NAME=VON:BIS:SCHRITT [--vary ...] [OPTION]...\n"
    "        [NAME=TEXT]...\n"
    "  oder: tesmo-gegen-batch --cases DATEI.csv [OPTION]... [NAME=TEXT]...\n"
    "  oder: tesmo-gegen-batch --uq DATEI.tguq [--table DATEI] [--jobs N] [--shard K/N]\n"
    "        [--uq-report DATEI] [NAME=TEXT]...\n"
    "  oder: tesmo-gegen-batch --uq DATEI.tguq --uq-summary TABELLE... [--uq-report DATEI]\n";
}

std::string shortUsageText() {
    return std::string(kSynopsis) +
           "Felder, Optionen und Rückgabewerte zeigt tesmo-gegen-batch --help.\n";
}

std::string versionText() {
    return programVersionText("tesmo-gegen-batch");
}

std::string usageText() {
    std::string text = kSynopsis;
    text +=
        "\n"
        "Rechnet den Trocknungslauf des Start-Knopfs ohne Fenster: einen Lauf, der ausgibt, was\n"
        "das Fenster an seinem Ende zeigt, oder eine Parameterstudie aus vielen Läufen auf allen\n"
        "Kernen, die je Fall eine Tabellenzeile schreibt.\n"
        "\n"
        "NAME=TEXT setzt den Text eines Eingabefelds, geschrieben wie im Fenster (Dezimalkomma,\n"
        "z. B. txt_Dicke=15,0). Jedes nicht genannte Feld behält seinen Vorgabetext (oder den\n"
        "Text der Falldatei aus --case). Die Felder:\n";
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        text += "  ";
        text += controlName(c);
        text += std::string(24 - std::string_view(controlName(c)).size(), ' ');
        text += inputCaption(c);
        text += " (Vorgabe ";
        text += defaultText(c);
        text += ")\n";
    }
    text +=
        "\n"
        "Fälle:\n"
        "  --case DATEI      von den Texten einer Falldatei (.tgcase) statt der Vorgaben\n"
        "                    ausgehen; NAME=TEXT-Argumente gehen vor\n"
        "  --save-case DATEI die geltenden Texte als Falldatei schreiben und nichts rechnen\n"
        "\n"
        "Betriebsarten (auch in einer Falldatei; die Optionen gehen vor):\n"
        "  --klima gegenstrom|konstant\n"
        "                gegenstrom (Vorgabe): der Gegenstromtrockner, dessen Luft sich auf dem\n"
        "                Weg der Platte ändert; konstant: ein Versuch in der Klimakammer, die\n"
        "                Luft bleibt den ganzen Lauf im Zustand der Abluft (txt_Lufttemp,\n"
        "                txt_AbluftFeuchte)\n"
        "  --luftbilanz standard|korrigiert\n"
        "                die Luftbilanz des zweiten Trocknungsabschnitts: standard (Vorgabe)\n"
        "                wie immer gerechnet, oder korrigiert (die fühlbare Wärme der Platte je\n"
        "                Zeitschritt)\n"
        "\n"
        "Ein einzelner Lauf:\n"
        "  --human       Beschriftungen statt Feldnamen in den Zeilen der Ausgabe\n"
        "  --csv DATEI   die zehn Zeitverläufe in DATEI schreiben: die siebzehn Eingabetexte als\n"
        "                Zeilen '# NAME = TEXT', eine Kopfzeile mit den Namen der Verläufe, dann\n"
        "                eine Zeile je Datensatz 0..HistIndex, Komma-getrennt, Punkt als\n"
        "                Dezimalzeichen, jede Zahl in der kürzesten Form, die denselben Wert\n"
        "                zurückliest; die Schwindung bleibt unter XSchwEnde bei der linearen\n"
        "                Trockenschwindung stehen (für jeden Lauf, der begonnen hat, auch einen\n"
        "                vorzeitig beendeten; die Datei entsteht ganz oder gar nicht)\n"
        "  --progress    gerechnete Zeit und Anteil des entfernten Wassers auf stderr, alle\n"
        "                2000 Zeitschritte\n"
        "  --report DATEI\n"
        "                PDF-Bericht des Laufs (A4, deutsch): Eingaben, Werte der Einrichtung,\n"
        "                Ergebnisse, Warnungen und Wasserbilanzfehler, beide Diagramme und die\n"
        "                Diagramme von Wasserbeladung, Temperaturen und Schwindung mit Skalen\n"
        "  --svg ORDNER  beide Diagramme als SVG-Vektorgrafik: ORDNER/profil.svg\n"
        "                (Wasserbeladungsprofile) und ORDNER/verlauf.svg (Zeitverläufe), mit\n"
        "                Achsentexten und Legenden\n"
        "  --png ORDNER  dasselbe als PNG in doppelter Fenstergröße: ORDNER/profil.png und\n"
        "                ORDNER/verlauf.png\n"
        "  --plot ORDNER jedes Diagramm des Diagrammfensters als SVG und PNG: wasserbeladung,\n"
        "                temperaturen, verdunstungsrate, trocknungsspiegel, schwindung, bigot,\n"
        "                profile, hx-diagramm (.svg, .png)\n"
        "                Der ORDNER wird bei Bedarf angelegt. Die Diagramme entstehen ohne\n"
        "                Bildschirm: QT_QPA_PLATFORM wird auf offscreen gesetzt, wenn es nicht\n"
        "                schon gesetzt ist. Wie --csv für jeden Lauf, der begonnen hat.\n"
        "\n"
        "Eine Studie (jeder Fall rechnet wie ein einzelner Lauf mit seinen Texten):\n"
        "  --vary NAME=VON:BIS:SCHRITT  eine Eingabe über einen Bereich einschließlich der\n"
        "                Grenzen variieren, z. B. txt_Lufttemp=25:45:5 oder\n"
        "                txt_Dicke=10,0:30,0:2,5 (das Ende zählt, wenn es auf ein Tausendstel\n"
        "                eines Schritts getroffen wird; die Texte erhalten so viele\n"
        "                Nachkommastellen wie der längste von VON, BIS, SCHRITT)\n"
        "  --vary \"NAME=A;B;C\"          eine Eingabe über eine Liste von Texten variieren\n"
        "                mehrere --vary ergeben alle Kombinationen, das letzte ändert sich am\n"
        "                schnellsten\n"
        "  --cases DATEI die Fälle einer CSV-Tabelle: eine Kopfzeile mit Feldnamen, ein Fall je\n"
        "                Zeile, Texte wie getippt, ';' oder ',' wie in der Kopfzeile; eine leere\n"
        "                Zelle behält den Text des Grundfalls (die Ergebnistabelle einer Studie\n"
        "                wird als ihre Fälle gelesen, ihre übrigen Spalten übergangen)\n"
        "  --study DATEI Grundfall und Variationen aus einer Studiendatei (.tgstudy)\n"
        "  --jobs N      N Fälle gleichzeitig rechnen (Vorgabe: jeder Kern; nie mehr, als der\n"
        "                Rechner Kerne hat)\n"
        "  --shard K/N   nur jeden N-ten Fall ab Fall K rechnen (1 <= K <= N), um eine Studie\n"
        "                auf N Rechner zu verteilen; die Teiltabellen, zusammengefügt und nach\n"
        "                Fall sortiert, ergeben die Tabelle der ganzen Studie\n"
        "  --table DATEI die Ergebnistabelle in DATEI schreiben (Vorgabe: Standardausgabe)\n"
        "  --progress    gerechnete Fälle von allen, verstrichene und verbleibende Zeit auf\n"
        "                stderr (von selbst, wenn stderr ein Terminal ist)\n"
        "  --yes         eine Studie von mehr als 100000 Fällen erlauben\n"
        "\n"
        "Tabellen (--csv, --table):\n"
        "  --table-format csv | de\n"
        "                csv (Vorgabe) für Programme; de für eine deutsche Tabellenkalkulation:\n"
        "                ';' zwischen den Zellen, ',' als Dezimalzeichen, UTF-8 mit\n"
        "                Byte-Order-Mark\n"
        "\n"
        "Eine Unsicherheitsstudie (unsichere Eingaben nach Verteilungen gezogen):\n"
        "  --uq DATEI    die Studie aus einer Datei .tguq: Grundfall, je unsicherer Eingabe\n"
        "                eine Zeile uncertain NAME = VERTEILUNG, Zahl der Proben, Plan und\n"
        "                Startwert; die gezogenen Fälle laufen als Studie (--table, --jobs,\n"
        "                --shard, --progress und --yes wie oben), gleicher Startwert, gleiche\n"
        "                Tabelle\n"
        "  --uq-report DATEI\n"
        "                die Auswertung als Markdown (deutsch): Mittelwert, Streuung,\n"
        "                5-, 50- und 95-%-Quantil mit Vertrauensintervallen, Histogramme,\n"
        "                Wahrscheinlichkeiten jenseits der Grenzen, Sobol'-Indizes und die\n"
        "                nicht fertig gerechneten Fälle (nicht mit --shard)\n"
        "  --uq-summary TABELLE...\n"
        "                rechnet nichts, sondern wertet die Ergebnistabellen der Studie aus,\n"
        "                z. B. die Tabellen aller ihrer Teile (--shard); alle folgenden\n"
        "                Argumente bis zur nächsten Option sind Tabellen. Die Auswertung geht\n"
        "                nach --uq-report DATEI oder auf die Standardausgabe\n"
        "\n"
        "  --help        diese Hilfe\n"
        "  --version     die Version des Programms\n"
        "\n"
        "Ausgabe eines einzelnen Laufs (stdout), ein Paar je Zeile, durch TAB getrennt:\n"
        "  jedes Ergebnisfeld, das der Lauf geschrieben hat, von oben nach unten wie im\n"
        "  Fenster: NAME<TAB>Text\n"
        "  lbl_Achtung, lbl_ungenau1, lbl_ungenau2, lbl_ungenau3, Image7: visible oder hidden\n"
        "  txt_Wasserfehler.color<TAB>R,G,B\n"
        "  end<TAB>target | midplane | stopped | history-full | non-finite | unstable\n"
        "\n"
        "Ergebnistabelle einer Studie (CSV, ',' zwischen den Zellen, '.' als Dezimalzeichen,\n"
        "jede Zahl in der kürzesten Form, die denselben Wert zurückliest, eine Zeile je Fall in\n"
        "der Reihenfolge der Fälle; --table-format de wie oben): case, die\n"
        "siebzehn Eingaben als die Zahlen, die das Modell gelesen hat, end (target, midplane,\n"
        "refused, history-full, non-finite, unstable), message (die Meldung der Abweisung oder\n"
        "des vorzeitigen Endes), dann LuftRohlingVerh, LuftWasserVerh, XSchwEnde, offPoren,\n"
        "Laufzeit, t1TA, X1TA, Anfangsrate, t1xse, t2xse, SchwindDiffMax, SchwindGradMax,\n"
        "thetaLuftMom, thetaKern, Xmom, spezEnergie, relEnergie, Wasserfehler, HistIndex,\n"
        "lbl_Achtung, lbl_ungenau (Zeiten in s, Werte in den Einheiten des Modells; leer, wo\n"
        "ein Fall nicht so weit kam).\n"
        "\n"
        "Strg+C, SIGTERM oder SIGHUP wirken bei einem einzelnen Lauf wie der Stop-Knopf. Eine\n"
        "Studie beginnt keinen neuen Fall, hält die laufenden an (sie erhalten keine Zeile) und\n"
        "behält jede schon geschriebene Zeile. Ein zweites solches Signal beendet das Programm\n"
        "sofort.\n"
        "\n"
        "Jede Option darf einmal angegeben werden, --vary beliebig oft. Dateien werden nur\n"
        "gelesen, wenn sie gewöhnliche Dateien sind; eine Datei wird nur über eine gewöhnliche\n"
        "Datei geschrieben, die der Benutzer schreiben darf, ganz oder gar nicht (--table:\n"
        "Zeile für Zeile).\n"
        "\n"
        "Rückgabewert:\n"
        "   0  der Lauf (jeder Fall der Studie) ist fertig: Zielwasserbeladung oder\n"
        "      Trocknungsspiegel in der Plattenmitte\n"
        "   2  die Eingabe wurde abgewiesen, eine Fall-, Studien- oder Tabellendatei ließ sich\n"
        "      nicht lesen (oder ist keine gewöhnliche Datei) oder die Studie ist fehlerhaft\n"
        "      (die Gründe auf stderr, nichts auf stdout)\n"
        "   3  der Lauf endete vorzeitig; bei einer Studie: Fälle wurden abgewiesen oder\n"
        "      endeten vorzeitig (--uq-summary: oder fehlen in den Tabellen)\n"
        "  64  falscher Aufruf, auch eine doppelt angegebene Option oder eine ohne Wirkung\n"
        "  74  eine Datei oder die Ausgabe ließ sich nicht schreiben, oder das System gab einer\n"
        "      Studie keinen Thread oder keinen Speicher mehr (die geschriebenen Zeilen bleiben)\n"
        " 130  eine Studie wurde mit Strg+C (SIGINT) unterbrochen; 143 mit SIGTERM; 129 mit\n"
        "      SIGHUP\n";
    return text;
}

}  // namespace tesmo
