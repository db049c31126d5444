// Measurement files: a refusal names the file and a line of it; an accepted file has times that
// start at 0 or later and increase, one value (or NaN) per record for every quantity it measures,
// and no value a sample cannot have.
#include <cmath>

#include "files/measurement_file.h"
#include "fuzz_properties.h"

using namespace tesmo;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view content = fuzzInput(data, size);
    const std::string name = "fuzz.csv";
    Measurement m;
    FileProblem problem;
    if (!parseMeasurementFile(content, name, m, problem)) {
        requireGoodRefusal(problem, content, name);
        FUZZ_REQUIRE(m.size() == 0);
        return 0;
    }
    FUZZ_REQUIRE(m.size() > 0);
    FUZZ_REQUIRE(m.zeile.size() == m.size());
    bool measures = false;
    for (const MessgroesseSpec& q : kMessgroessen) {
        if (!m.misst(q.groesse)) continue;
        measures = true;
        const std::vector<double>& v = m.werte[slot(q.groesse)];
        FUZZ_REQUIRE(v.size() == m.size());
        for (double x : v) {
            FUZZ_REQUIRE(std::isnan(x) || std::isfinite(x));
            if (q.groesse == Messgroesse::Masse) FUZZ_REQUIRE(!(x < 0));
            if (q.groesse == Messgroesse::thetaOb) FUZZ_REQUIRE(!(x < -273.15));
        }
    }
    FUZZ_REQUIRE(measures);
    for (std::size_t i = 0; i < m.size(); ++i) {
        FUZZ_REQUIRE(std::isfinite(m.zeit[i]) && m.zeit[i] >= 0);
        FUZZ_REQUIRE(m.zeile[i] >= 2);
        if (i > 0) FUZZ_REQUIRE(m.zeit[i] > m.zeit[i - 1] && m.zeile[i] > m.zeile[i - 1]);
        // Every record measures something.
        bool any = false;
        for (const auto& v : m.werte)
            any = any || (!v.empty() && !std::isnan(v[i]));
        FUZZ_REQUIRE(any);
    }
    return 0;
}
