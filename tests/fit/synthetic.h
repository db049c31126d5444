// Measurements made by the model itself: known parameters, seeded noise, the laboratory's
// climate-chamber test on a thin plate on a coarse grid (a run of a few tens of milliseconds).
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "display/run_capture.h"
#include "fit/fit.h"
#include "fit/sampling.h"
#include "study/case_runner.h"

namespace tesmo::test {

// A climate chamber at an air temperature and humidity.
struct Klimakammer {
    const char* lufttemp;
    const char* feuchte;
};
inline constexpr Klimakammer kWarmFeucht{"35", "60"};
inline constexpr Klimakammer kHeissTrocken{"60", "20"};
inline constexpr Klimakammer kMittel{"45", "40"};

// An 8 mm plate on the coarse grid, dried in a climate chamber to 0,03 kg/kg.
inline InputTexts labCase(Klimakammer k) {
    InputTexts t = defaultInputTexts();
    t[Control::txt_Dicke] = "8";
    t[Control::txt_Ortsschrittweite] = "0,25";
    t[Control::txt_deltaT] = "2,0";
    t[Control::txt_XZiel] = "0,03";
    t[Control::txt_Lufttemp] = k.lufttemp;
    t[Control::txt_AbluftFeuchte] = k.feuchte;
    t.optionen.klima = Klima::Konstant;
    return t;
}

// Gaussian numbers from a seed, the same on every machine (Box–Muller on the Mersenne twister).
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : random_(seed) {}
    double next() {
        const double u1 = (random_() + 0.5) / 4294967296.0, u2 = (random_() + 0.5) / 4294967296.0;
        return std::sqrt(-2 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

  private:
    std::mt19937 random_;
};

// The exact model curve of a case at `count` times spread evenly over `share` of its drying time,
// as a series that measures `groessen` (values without noise).
inline MeasuredSeries exactSeries(const std::string& name, const InputTexts& texts,
                                  std::size_t count, double share,
                                  std::vector<Messgroesse> groessen = {Messgroesse::X}) {
    MeasuredSeries s;
    s.name = s.path = name;
    s.texts = texts;
    s.trockenmasse_g = 150;
    auto runner = std::make_unique<CaseRunner>();
    auto capture = std::make_unique<RunCapture>();
    runner->run(1, texts, nullptr, capture.get());
    const HistoryArray& times = capture->recordTimes();
    const RunState& st = runner->state();
    Measurement& m = s.measurement;
    for (std::size_t i = 0; i < count; ++i) {
        m.zeit.push_back(share * st.Laufzeit * static_cast<double>(i) /
                         static_cast<double>(count - 1));
        m.zeile.push_back(static_cast<int>(i) + 2);
    }
    for (Messgroesse g : groessen)
        m.werte[slot(g)].assign(count, 0);
    const MeasuredPoints points = measuredPoints({s});
    std::vector<double> values(points.size());
    simulatedValues(s, points.points.data(), points.size(), st, times, values.data());
    for (std::size_t i = 0; i < points.size(); ++i)
        m.werte[slot(points.points[i].groesse)][points.points[i].record] = values[i];
    return s;
}

// The series with Gaussian noise of `sigma` (per quantity, in its unit) added.
inline MeasuredSeries noisy(MeasuredSeries s, const std::array<double, kMessgroessenCount>& sigma,
                            Noise& noise) {
    for (std::size_t g = 0; g < kMessgroessenCount; ++g)
        for (double& v : s.measurement.werte[g])
            v += sigma[g] * noise.next();
    return s;
}

inline FitParameterEntry parameter(Control field, double start, double lower, double upper) {
    return {field, start, lower, upper, 0};
}

}  // namespace tesmo::test
