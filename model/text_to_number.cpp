#include "model/text_to_number.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace tesmo {

namespace {

bool istLeerraum(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool istZiffer(char c) {
    return c >= '0' && c <= '9';
}

// More significant digits than this cannot change the nearest double.
constexpr int kMaxZiffern = 800;
// The written exponent saturates here. The decimal shift of the mantissa is bounded by the
// length of the text, which no text can bring near this bound, so shift and exponent still add
// up to a total on the right side of the double range: 0,000…0001E1000000 is judged by its
// whole value, not by a capped exponent.
constexpr long long kMaxExponent = 1'000'000'000'000'000;

}  // namespace

namespace {

// The characters of std::to_chars as a user types them: a decimal comma, "E" and the exponent
// without "+" and leading zeros (1e+39 and 1e-07 read as 1E39 and 1E-7).
std::string wieGetippt(const char* anfang, const char* ende) {
    std::string text;
    for (const char* c = anfang; c != ende; ++c) {
        if (*c == '.') {
            text += ',';
        } else if (*c == 'e') {
            text += 'E';
            if (c[1] == '+') ++c;
            if (c[1] == '-') text += *++c;
            while (c[1] == '0' && c + 2 != ende)
                ++c;
        } else {
            text += *c;
        }
    }
    return text;
}

}  // namespace

std::string ZahlZuText(double v, int stellen) {
    if (v == 0) v = 0;  // no "-0"
    char puffer[64];
    const auto r =
        std::to_chars(puffer, puffer + sizeof puffer, v, std::chars_format::general, stellen);
    return wieGetippt(puffer, r.ptr);
}

std::string ZahlZuTextExakt(double v) {
    char puffer[64];
    const auto r = std::to_chars(puffer, puffer + sizeof puffer, v);  // shortest round trip
    return wieGetippt(puffer, r.ptr);
}

double TextZuZahl(std::string_view text) {
    return TextZuZahl(text, nullptr);
}

double TextZuZahl(std::string_view text, bool* zahlGefunden) {
    // The number is collected as "d…de<exp>" in a fixed buffer (no locale, no allocation):
    // leading zeros are dropped, the decimal point is folded into the exponent.
    char ziffern[kMaxZiffern + 32];
    int nZiffern = 0;
    long long exponentVersatz = 0;  // decimal shift caused by the point and by dropped digits
    bool negativ = false;
    bool mantisseGesehen = false;
    bool punktGesehen = false;

    enum class Teil { Vorzeichen, Mantisse, ExponentVorzeichen, Exponent } teil = Teil::Vorzeichen;
    bool exponentNegativ = false;
    bool exponentZiffernGesehen = false;
    long long exponent = 0;

    for (char c : text) {
        if (istLeerraum(c)) continue;
        if (c == ',') c = '.';
        if (teil == Teil::Vorzeichen) {
            teil = Teil::Mantisse;
            if (c == '+' || c == '-') {
                negativ = (c == '-');
                continue;
            }
        }
        if (teil == Teil::Mantisse) {
            if (istZiffer(c)) {
                mantisseGesehen = true;
                if (nZiffern == 0 && c == '0') {
                    if (punktGesehen) --exponentVersatz;  // 0.00x: leading zeros after the point
                } else if (nZiffern < kMaxZiffern) {
                    ziffern[nZiffern++] = c;
                    if (punktGesehen) --exponentVersatz;
                } else if (!punktGesehen) {
                    ++exponentVersatz;  // a digit too many before the point still counts a decade
                }
                continue;
            }
            if (c == '.' && !punktGesehen) {
                punktGesehen = true;
                continue;
            }
            if ((c == 'E' || c == 'e') && mantisseGesehen) {
                teil = Teil::ExponentVorzeichen;
                continue;
            }
            break;
        }
        if (teil == Teil::ExponentVorzeichen) {
            teil = Teil::Exponent;
            if (c == '+' || c == '-') {
                exponentNegativ = (c == '-');
                continue;
            }
        }
        if (!istZiffer(c)) break;  // Teil::Exponent
        exponentZiffernGesehen = true;
        if (exponent < kMaxExponent) exponent = exponent * 10 + (c - '0');
    }

    if (zahlGefunden != nullptr) *zahlGefunden = mantisseGesehen;
    if (!mantisseGesehen) return 0.0;
    if (nZiffern == 0) return negativ ? -0.0 : 0.0;

    long long gesamtExponent = exponentVersatz;
    if (exponentZiffernGesehen) gesamtExponent += exponentNegativ ? -exponent : exponent;

    // Digits followed by "e<exponent>"; the buffer has room for the exponent's digits.
    int laenge = nZiffern;
    ziffern[laenge++] = 'e';
    const auto ende = std::to_chars(ziffern + laenge, ziffern + sizeof ziffern, gesamtExponent);
    laenge = static_cast<int>(ende.ptr - ziffern);

    double wert = 0.0;
    const auto ergebnis = std::from_chars(ziffern, ziffern + laenge, wert);
    if (ergebnis.ec == std::errc::result_out_of_range) {
        // Out of range leaves the value unset: decide between overflow and underflow by the
        // decade of the leading digit.
        const long long dekade = gesamtExponent + nZiffern - 1;
        wert = dekade > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negativ ? -wert : wert;
}

}  // namespace tesmo
