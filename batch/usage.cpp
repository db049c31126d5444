// The runner's --help and --version texts.
#include <string>

#include "batch/arguments.h"
#include "tesmo_version.h"

namespace tesmo {

namespace {
constexpr const char* kSynopsis =
    "Usage: tesmo-gegen-batch [OPTION]... [NAME=TEXT]...\n"
    "       tesmo-gegen-batch --vary NAME=FROM:TO:STEP [--vary ...] [OPTION]... [NAME=TEXT]...\n"
    "       tesmo-gegen-batch --cases FILE.csv [OPTION]... [NAME=TEXT]...\n"
    "       tesmo-gegen-batch --fit DATEI.tgfit [OPTION]... [NAME=TEXT]...\n";
}

std::string shortUsageText() {
    return std::string(kSynopsis) + "Run with --help for the fields, options and exit status.\n";
}

std::string versionText() {
    return programVersionText("tesmo-gegen-batch");
}

std::string usageText() {
    std::string text = kSynopsis;
    text +=
        "\n"
        "Runs the drying simulation of the window's Start button without a window: one run,\n"
        "printing what the window would show at its end, or a parameter study of many runs\n"
        "on every core, writing one table row per case.\n"
        "\n"
        "NAME=TEXT sets the text of one input field, typed as in the window (decimal comma,\n"
        "e.g. txt_Dicke=15,0). Every field not named keeps its default text (or the text of\n"
        "the case file given with --case). The fields:\n";
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        text += "  ";
        text += controlName(c);
        text += std::string(24 - std::string_view(controlName(c)).size(), ' ');
        text += inputCaption(c);
        text += " (default ";
        text += defaultText(c);
        text += ")\n";
    }
    text +=
        "\n"
        "Cases:\n"
        "  --case FILE       start from the texts of a case file (.tgcase) instead of the\n"
        "                    defaults; NAME=TEXT arguments override it\n"
        "  --save-case FILE  write the texts in effect as a case file and run nothing\n"
        "\n"
        "Run modes (a case file may set them too; the options override it):\n"
        "  --klima gegenstrom|konstant\n"
        "                gegenstrom (default): the counter-current dryer, whose air changes\n"
        "                along the plate's way; konstant: a climate-chamber test, the air stays\n"
        "                at the exhaust-air state (txt_Lufttemp, txt_AbluftFeuchte) for the\n"
        "                whole run\n"
        "  --luftbilanz standard|korrigiert\n"
        "                the second drying period's air balance: standard (default) as always\n"
        "                computed, or korrigiert (the plate's sensible heat per time step)\n"
        "\n"
        "A single run:\n"
        "  --human       label captions instead of control names in the field lines\n"
        "  --csv FILE    write the ten time histories to FILE: a header row with the array\n"
        "                names, then one row per record 0..HistIndex, comma-separated, '.' as\n"
        "                decimal point, 17 significant digits (written for every run that\n"
        "                started, also one that ended early; the file appears whole or not\n"
        "                at all)\n"
        "  --progress    simulated time and share of the water removed on stderr, every 2000\n"
        "                time steps\n"
        "  --report FILE\n"
        "                PDF report of the run (A4, German): its inputs, set-up values,\n"
        "                results, warnings and water-balance error, and both charts\n"
        "  --svg DIR     both charts as SVG vector drawings: DIR/profil.svg (water-load\n"
        "                profiles) and DIR/verlauf.svg (time histories), with their axis\n"
        "                texts and legends\n"
        "  --png DIR     the same as PNG at twice the window's size: DIR/profil.png and\n"
        "                DIR/verlauf.png\n"
        "                DIR is created if needed. The charts are drawn without a display:\n"
        "                QT_QPA_PLATFORM is set to offscreen unless it is set already.\n"
        "                Like --csv, these are written for every run that started.\n"
        "\n"
        "A study (every case runs as a single run with its texts would):\n"
        "  --vary NAME=FROM:TO:STEP  vary one input over an inclusive range, e.g.\n"
        "                txt_Lufttemp=30:70:5 or txt_Dicke=10,0:30,0:2,5 (the end counts when\n"
        "                within a thousandth of a step; texts get as many decimals as the\n"
        "                widest of FROM, TO, STEP)\n"
        "  --vary \"NAME=A;B;C\"       vary one input over a list of texts\n"
        "                several --vary make the cartesian product, the last varying fastest\n"
        "  --cases FILE  the cases of a CSV table instead: a header row of control names,\n"
        "                one case per row, texts as typed, ';' or ',' as the header shows;\n"
        "                an empty cell keeps the base text\n"
        "  --study FILE  base texts and variations from a study file (.tgstudy)\n"
        "  --jobs N      run N cases at a time (default: every core)\n"
        "  --shard K/N   run only every N-th case starting at case K (1 <= K <= N), to spread\n"
        "                one study over N machines; the shard tables joined and sorted by\n"
        "                case equal the table of the whole study\n"
        "  --table FILE  write the result table to FILE (default: standard output)\n"
        "  --progress    cases done of all, time elapsed and left, on stderr (default when\n"
        "                stderr is a terminal)\n"
        "  --yes         allow a study of more than 100000 cases\n"
        "\n"
        "Anpassung an Messungen (Stoffwerte aus Trocknungsversuchen):\n"
        "  --fit DATEI   passt die Eingaben der fit-Zeilen einer Anpassungsdatei (.tgfit) an\n"
        "                die gemessenen Verläufe ihrer Versuchsreihen an (gewichtete kleinste\n"
        "                Quadrate, Levenberg-Marquardt in den Grenzen); NAME=TEXT, --klima und\n"
        "                --luftbilanz gelten für die Fälle aller Reihen, --jobs N rechnet N\n"
        "                Modellläufe zugleich (Vorgabe: alle Kerne)\n"
        "  --fit-table DATEI\n"
        "                gemessene und gerechnete Werte nebeneinander (CSV: series, time,\n"
        "                quantity, measured, simulated, residual; Zeit in s)\n"
        "  --fit-case DATEI\n"
        "                der Fall der ersten Versuchsreihe mit den angepassten Werten (.tgcase)\n"
        "  --fit-save DATEI\n"
        "                die Anpassungsdatei mit ihrem Ergebnis: je Eingabe eine Zeile\n"
        "                ergebnis NAME = WERT ; log|linear und die Kovarianzmatrix als\n"
        "                kovarianz-Zeilen (Pfade relativ zum neuen Ordner)\n"
        "  --progress    Start, Iteration, Kosten und Modellläufe auf stderr (Vorgabe, wenn\n"
        "                stderr ein Terminal ist)\n"
        "  Ausgabe (stdout): je angepasster Eingabe NAME<TAB>Wert<TAB>Standardabweichung<TAB>\n"
        "  untere<TAB>obere Grenze des 95-%-Intervalls<TAB>determined|undetermined, dann je nicht\n"
        "  bestimmter Eingabe note<TAB>NAME<TAB>Satz, correlation-, rms- (je Reihe und Messgröße)\n"
        "  und sigma-Zeilen, cost, points, runs, seconds, starts, best-start und\n"
        "  end<TAB>converged|max-iterations|failed.\n"
        "  Exit-Status: 0 konvergiert, 3 nicht konvergiert oder fehlgeschlagen, 2 fehlerhafte\n"
        "  Anpassungs-, Mess- oder Falldatei, 64 Aufruffehler, 74 Schreibfehler, 130/143\n"
        "  abgebrochen (SIGINT/SIGTERM).\n"
        "\n"
        "  --help        this text\n"
        "  --version     the program's version\n"
        "\n"
        "Output of a single run (stdout), one TAB-separated pair per line:\n"
        "  every output field the run wrote, top to bottom as in the window: NAME<TAB>text\n"
        "  lbl_Achtung, lbl_ungenau1, lbl_ungenau2, lbl_ungenau3, Image7: visible or hidden\n"
        "  txt_Wasserfehler.color<TAB>R,G,B\n"
        "  end<TAB>target | midplane | stopped | history-full | non-finite | unstable\n"
        "\n"
        "Result table of a study (CSV, ',' between cells, '.' as decimal point, 17 significant\n"
        "digits, one row per case in case order): case, the seventeen inputs as the numbers\n"
        "the model used, end (target, midplane, refused, history-full, non-finite, unstable),\n"
        "message (the refusal or early-end message), then LuftRohlingVerh, LuftWasserVerh,\n"
        "XSchwEnde, offPoren, Laufzeit, t1TA, X1TA, Anfangsrate, t1xse, t2xse, SchwindDiffMax,\n"
        "SchwindGradMax, thetaLuftMom, thetaKern, Xmom, spezEnergie, relEnergie, Wasserfehler,\n"
        "HistIndex, lbl_Achtung, lbl_ungenau (times in s, values in the model's units; empty\n"
        "where a case did not get there).\n"
        "\n"
        "Ctrl-C or SIGTERM acts like the Stop button on a single run. A study starts no new\n"
        "case, stops the running ones (they get no row) and keeps every row already written.\n"
        "\n"
        "Exit status:\n"
        "   0  the run (every case of the study) finished: target water load or drying front\n"
        "      at the mid-plane\n"
        "   2  the input was refused, a case file could not be read, or the study is malformed\n"
        "      (the reasons on stderr, nothing on stdout)\n"
        "   3  the run ended early; in a study: some cases were refused or ended early\n"
        "  64  usage error\n"
        "  74  a file or the output could not be written\n"
        " 130  a study was interrupted by Ctrl-C (SIGINT); 143 by SIGTERM\n";
    return text;
}

}  // namespace tesmo
