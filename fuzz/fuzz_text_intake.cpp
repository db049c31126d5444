// Text intake: TextZuZahl and the input check on texts from the input, which is split at '|'
// into the texts of the first input fields (the others keep their defaults).
//
// TextZuZahl is held against its own description: a reference reading collects the same
// number the plain way (blanks, tabs and line feeds dropped, commas as points, the longest
// leading number) and lets strtod round it; the two must agree to the bit, and ZahlZuText with
// 17 digits must give a text that reads back to the same number. The input check must describe
// every refusal readably, a value it suggests must clear the field, and what it accepts must
// give a finite set-up.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_properties.h"
#include "model/input_check.h"
#include "model/setup.h"
#include "model/text_to_number.h"

using namespace tesmo;

namespace {

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading number of `text` read the plain way, or +0 and `found` false.
double referenceReading(std::string_view text, bool& found) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s += c == ',' ? '.' : c;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i)
        ++digits;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDigit(s[i]); ++i)
            ++digits;
    found = digits > 0;
    if (!found) return 0.0;
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        const std::size_t firstExponentDigit = j;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        if (j > firstExponentDigit) end = j;
    }
    return std::strtod(s.substr(0, end).c_str(), nullptr);
}

void checkTextZuZahl(std::string_view text) {
    bool found = false;
    const double value = TextZuZahl(text, &found);
    FUZZ_REQUIRE(!std::isnan(value));
    FUZZ_REQUIRE(found || sameBits(value, 0.0));
    FUZZ_REQUIRE(sameBits(TextZuZahl(text), value));

    bool referenceFound = false;
    const double reference = referenceReading(text, referenceFound);
    FUZZ_REQUIRE(found == referenceFound);
    FUZZ_REQUIRE(sameBits(value, reference));

    // Whatever follows the number is ignored.
    FUZZ_REQUIRE(sameBits(TextZuZahl(std::string(text) + "x"), value));
    if (std::isfinite(value)) FUZZ_REQUIRE(TextZuZahl(ZahlZuText(value, 17)) == value);
}

bool namesField(const std::vector<Refusal>& refusals, Control field) {
    for (const Refusal& r : refusals)
        if (r.field == field) return true;
    return false;
}

void checkRefusals(const InputTexts& texts, const std::vector<Refusal>& refusals) {
    for (const Refusal& r : refusals) {
        const std::string message = refusalMessage(r);
        FUZZ_REQUIRE(!message.empty() && isUtf8(message));
        FUZZ_REQUIRE(!hasControlCharacter(message, ""));
        FUZZ_REQUIRE(isInput(r.field) || r.reason == RefusalReason::DerivedNotComputable);
        if (!isInput(r.field)) continue;
        for (double suggestion : r.suggestions) {
            if (std::isnan(suggestion)) continue;
            InputTexts instead = texts;
            instead[r.field] = ZahlZuText(suggestion);
            FUZZ_REQUIRE(!namesField(checkInputs(instead), r.field));
        }
    }
}

void checkAcceptedSetUp(const InputTexts& texts) {
    const Einrichtungswerte w = berechneEinrichtung(texts);
    FUZZ_REQUIRE(w.nOrtGanz && w.nOrt >= 1 && w.nOrt <= kMaxNodes);
    const double derived[] = {w.DickeGruen, w.rhos,          w.XAnf,
                              w.XZiel,      w.thetaLuft,     w.phiAbluft,
                              w.alpha,      w.lambda,        w.thetaAussen,
                              w.phiAussen,  w.mue,           w.deltaT,
                              w.rund,       w.linTrSchwind,  w.Feuchteleit,
                              w.KappaSteig, w.Dicke,         w.spezOberfl,
                              w.pvAbluft,   w.XAbluftAbluft, w.thetaKG,
                              w.pvAussen,   w.XAussen,       w.LuftRohlingVerh,
                              w.s,          w.rhosRoh,       w.psiRoh,
                              w.offPoren,   w.XSchwEnde,     w.s25,
                              w.rhos25,     w.psi25,         w.FeuchteleitGrenz,
                              w.XAbluft,    w.pvLuft};
    for (double v : derived)
        FUZZ_REQUIRE(std::isfinite(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view input = fuzzInput(data, size);
    InputTexts texts = defaultInputTexts();
    std::size_t start = 0;
    for (int field = 0; field < kInputCount && start <= input.size(); ++field) {
        const std::size_t bar = std::min(input.find('|', start), input.size());
        texts.text[static_cast<std::size_t>(field)] = std::string(input.substr(start, bar - start));
        start = bar + 1;
    }
    for (const std::string& text : texts.text)
        checkTextZuZahl(text);

    const std::vector<Refusal> refusals = checkInputs(texts);
    checkRefusals(texts, refusals);
    if (refusals.empty()) checkAcceptedSetUp(texts);
    return 0;
}
