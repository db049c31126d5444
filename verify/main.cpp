// tesmo-verify: runs the verification studies and writes the report and its figures.
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "files/atomic_file.h"
#include "plot/plot_files.h"
#include "verify/report.h"

namespace {

using namespace tesmo;

constexpr int kExitWriteFailed = 74;  // EX_IOERR
constexpr int kExitUsage = 64;        // EX_USAGE
const QSize kFigureSize(760, 460);

constexpr const char* kUsage =
    "Aufruf: tesmo-verify [ORDNER]\n"
    "Rechnet die Verifikation des Trocknungsmodells und schreibt ORDNER/verification.md mit den\n"
    "Bildern in ORDNER/verification/ (Vorgabe: docs). Bilder, die nicht mehr zum Bericht gehören,\n"
    "werden dort gelöscht.\n";

// Creating the QGuiApplication runs vector code of Qt's that leaves the upper halves of the
// AVX registers in use. Until that state is cleared, every SSE instruction of the maths
// library (exp, pow) pays for a state transition: the model then runs about five times slower,
// and threads started later inherit the state. Clearing it changes no result.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void zeroUpper() {
    _mm256_zeroupper();
}
void clearUpperVectorState() {
    if (__builtin_cpu_supports("avx")) zeroUpper();
}
#else
void clearUpperVectorState() {}
#endif

// What is being computed, with the seconds since the start.
void progress(const char* what, std::chrono::steady_clock::time_point start) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "tesmo-verify: %3.0f s  %s\n", seconds, what);
}

// Writes the figures, removes SVG files of the folder that the report no longer uses.
bool writeFigures(const std::filesystem::path& folder, const std::vector<ReportSection>& sections) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<std::string> written;
    for (const ReportSection& s : sections) {
        for (const Figure& f : s.figures) {
            std::string error;
            if (!writePlotSvg((folder / f.file).string(), f.spec, kFigureSize, &error)) {
                std::fprintf(stderr, "tesmo-verify: %s\n", error.c_str());
                return false;
            }
            written.push_back(f.file);
        }
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".svg" &&
            std::find(written.begin(), written.end(), name) == written.end())
            std::filesystem::remove(entry.path(), ec);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() > 1 || (!args.empty() && args[0].starts_with("-"))) {
        const bool help = !args.empty() && (args[0] == "--help" || args[0] == "-h");
        std::fputs(kUsage, help ? stdout : stderr);
        return help ? 0 : kExitUsage;
    }
    const std::filesystem::path docs = args.empty() ? "docs" : std::string(args[0]);

    // The figures are drawn offscreen; fonts need an application object.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    clearUpperVectorState();

    const auto start = std::chrono::steady_clock::now();
    const int threads = coreCount();
    const auto st = std::make_unique<RunState>();
    progress("1/6 Feuchteleitung gegen die Plattenlösung", start);
    const SheetStudy sheet = runSheetStudy(*st);
    progress("2/6 Gitterkonvergenz des Standardfalls", start);
    const GridStudy grid = runGridStudy(threads);
    progress("3/6 Feuchte Luft", start);
    const AirComparison air = compareAir();
    progress("4/6 Wasserbilanzfehler", start);
    const WaterStudy water = runWaterStudy(kWaterStudyCases, kWaterStudySeed, threads);
    const ShrinkageCheck check = runShrinkageCheck(threads);
    progress("5/6 Bilanzen des Trockners", start);
    const BalanceStudy balance = runBalanceStudy(threads);
    progress("6/6 Randstrom, nichtlineare Feuchteleitung, Trocknungsspiegel", start);
    const FluxStudy flux = runFluxStudy(*st);
    const SimilarityStudy similarity = runSimilarityStudy(*st);
    const FrontStudy front = runFrontStudy(*st);

    const std::vector<ReportSection> sections = {
        sheetSection(sheet),     gridSection(grid, balance),
        airSection(air),         waterSection(water, check),
        balanceSection(balance), boundarySection(flux, similarity, front)};
    std::string markdown = reportHead();
    for (const ReportSection& s : sections)
        markdown += s.markdown;
    markdown += reportTail();

    if (!writeFigures(docs / kFigureFolder, sections)) return kExitWriteFailed;
    const std::string report = (docs / "verification.md").string();
    WriteFailure failure;
    if (!writeFileAtomically(report, markdown, &failure)) {
        std::fprintf(stderr, "tesmo-verify: %s konnte nicht geschrieben werden: %s\n",
                     report.c_str(), reasonText(failure).c_str());
        return kExitWriteFailed;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s geschrieben, Rechenzeit %.0f s auf %d Kernen\n", report.c_str(), seconds,
                threads);
    return 0;
}
