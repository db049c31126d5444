#include "verify/water_balance_study.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "model/input_check.h"
#include "model/setup.h"
#include "model/text_to_number.h"

namespace tesmo {

using C = Control;

// In the order of the input fields.
const std::array<InputRange, kInputCount> kWaterStudyRanges = {{
    {C::txt_Dicke, 10, 30, 0, false},
    {C::txt_rhos, 1600, 2100, 10, false},
    {C::txt_XAnf, 0.20, 0.30, 0.005, false},
    {C::txt_XZiel, 0, 0.02, 0.005, false},
    {C::txt_linTrSchwind, 3, 7, 0.1, false},
    {C::txt_Feuchteleit, 10, 100, 1, true},
    {C::txt_lambda, 0.5, 1.5, 0.05, false},
    {C::txt_mue, 5, 30, 1, false},
    {C::txt_Waermeuebergang, 20, 80, 1, false},
    {C::txt_AussenluftTemp, 0, 25, 0.5, false},
    {C::txt_AussenluftFeuchte, 40, 90, 1, false},
    {C::txt_Lufttemp, 28, 50, 0.5, false},
    {C::txt_AbluftFeuchte, 50, 90, 1, false},
    {C::txt_Ortsschrittweite, 0.05, 0.25, 0.01, true},
    {C::txt_deltaT, 0.25, 2, 0.05, true},
    {C::txt_rund, 200, 5000, 100, false},
    {C::txt_KappaSteig, 3, 10, 0.1, false},
}};

namespace {

// Decimals that a multiple of `step` needs.
int decimalsOf(double step) {
    int d = 0;
    while (d < 6 &&
           std::abs(step * std::pow(10.0, d) - std::nearbyint(step * std::pow(10.0, d))) > 1e-9)
        ++d;
    return d;
}

}  // namespace

std::string fieldCaption(Control field) {
    std::string text = inputCaption(field);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string typedText(double v, double step) {
    // std::to_chars: the same digits as printf's %f, and a point whatever the C locale says.
    char buffer[400];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimalsOf(step))
            .ptr;
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

namespace {

double value(const InputTexts& t, Control c) {
    return TextZuZahl(t[c]);
}

void addDerived(WaterStudy& s) {
    Driver nodes{"nOrt", {}};
    Driver fourier{"κ₂₅·Δt/Δx²", {}};
    Driver share{"κ₂₅·Δt/(Δx·a)", {}};
    for (std::size_t i : s.finished) {
        const InputTexts& t = s.cases[i];
        // The grid spans the dried plate's half thickness.
        const Einrichtungswerte w = berechneEinrichtung(t);
        const double halfDry = w.Dicke / 2;
        const double dx = halfDry / w.nOrt;
        const double kappa = w.Feuchteleit;
        const double dt = w.deltaT;
        nodes.values.push_back(w.nOrt);
        fourier.values.push_back(kappa * dt / (dx * dx));
        share.values.push_back(kappa * dt / (dx * halfDry));
    }
    s.drivers.push_back(std::move(nodes));
    s.drivers.push_back(std::move(fourier));
    s.drivers.push_back(std::move(share));
}

}  // namespace

InputDraw::InputDraw(std::uint64_t seed) : engine_(seed) {}

// A 53-bit uniform number straight from the engine, whose output the standard fixes; the
// library's distributions may differ from one library to the next.
double InputDraw::uniform() {
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

InputTexts InputDraw::next() {
    InputTexts t = defaultInputTexts();
    double dicke = 0;
    for (const InputRange& r : kWaterStudyRanges) {
        const double u = uniform();
        const double v = r.logarithmic ? r.lo * std::pow(r.hi / r.lo, u) : r.lo + u * (r.hi - r.lo);
        if (r.field == C::txt_Dicke) {
            dicke = v;
            continue;
        }
        const double rounded = std::nearbyint(v / r.step) * r.step;
        t[r.field] = typedText(rounded, r.step);
        if (r.field == C::txt_Ortsschrittweite) {
            const double twice = 2 * rounded;
            t[C::txt_Dicke] = typedText(std::nearbyint(dicke / twice) * twice, r.step);
        }
    }
    return t;
}

WaterStudy runWaterStudy(int cases, std::uint64_t seed, int threads) {
    WaterStudy s;
    InputDraw draw(seed);
    while (static_cast<int>(s.cases.size()) < cases) {
        InputTexts t = draw.next();
        ++s.drawn;
        if (pruefeEingaben(t).empty()) s.cases.push_back(std::move(t));
    }
    s.results = runCases(s.cases, threads);
    for (std::size_t i = 0; i < s.results.size(); ++i) {
        if (!s.results[i].finished()) continue;
        s.finished.push_back(i);
        s.errors.push_back(s.results[i].Wasserfehler);
    }
    for (const InputRange& r : kWaterStudyRanges) {
        Driver d{fieldCaption(r.field), {}};
        for (std::size_t i : s.finished)
            d.values.push_back(value(s.cases[i], r.field));
        s.drivers.push_back(std::move(d));
    }
    addDerived(s);
    return s;
}

ShrinkageCheck runShrinkageCheck(int threads) {
    std::vector<InputTexts> cases;
    for (const char* shrinkage : {defaultText(C::txt_linTrSchwind), "0"}) {
        for (const char* dt : kShrinkageCheckSteps) {
            InputTexts t = defaultInputTexts();
            t[C::txt_deltaT] = dt;
            t[C::txt_linTrSchwind] = shrinkage;
            cases.push_back(t);
        }
    }
    // The other space steps of the floor; the default one is among the runs above.
    const std::size_t n = kShrinkageCheckSteps.size();
    for (const char* dx : kFloorSpaceSteps) {
        if (std::string_view(dx) == defaultText(C::txt_Ortsschrittweite)) continue;
        for (std::size_t i = n - 3; i < n; ++i) {
            InputTexts t = defaultInputTexts();
            t[C::txt_Ortsschrittweite] = dx;
            t[C::txt_deltaT] = kShrinkageCheckSteps[i];
            cases.push_back(t);
        }
    }
    const std::vector<CaseResult> results = runCases(cases, threads);
    ShrinkageCheck c;
    for (std::size_t i = 0; i < n; ++i) {
        c.dt.push_back(TextZuZahl(kShrinkageCheckSteps[i]));
        c.withShrinkage.push_back(results[i]);
        c.without.push_back(results[n + i]);
    }
    std::size_t next = 2 * n;
    for (const char* dx : kFloorSpaceSteps) {
        std::array<double, 3> f{};
        for (std::size_t k = 0; k < 3; ++k) {
            const bool standard = std::string_view(dx) == defaultText(C::txt_Ortsschrittweite);
            f[k] = (standard ? results[n - 3 + k] : results[next++]).WasserfehlerVorzeichen;
        }
        c.floorErrors.push_back(f);
    }
    return c;
}

}  // namespace tesmo
