#include "study/variation.h"

#include <cstdint>
#include <optional>

namespace tesmo {

namespace {

// Digits a number of a range may have in all; the scaled integers, times the 1000 of the end
// tolerance, then stay inside 64 bits.
constexpr int kMaxDigits = 15;
constexpr int kMaxDecimals = 9;

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A plain decimal number: optional sign, digits, optional comma or point with digits.
struct Decimal {
    bool negative = false;
    std::string digits;  // integer and decimal digits, without the separator
    int decimals = 0;
};

std::optional<Decimal> parseDecimal(std::string_view s) {
    Decimal d;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        d.negative = s.front() == '-';
        s.remove_prefix(1);
    }
    bool separator = false;
    int integerDigits = 0;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            d.digits += c;
            if (separator)
                ++d.decimals;
            else
                ++integerDigits;
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (integerDigits == 0 && d.decimals == 0) return std::nullopt;
    if (separator && d.decimals == 0) return std::nullopt;  // "10," is not written out
    return d;
}

// The number times 10^decimals as a whole number (decimals >= the number's own).
std::int64_t scaled(const Decimal& d, int decimals) {
    std::int64_t v = 0;
    for (char c : d.digits)
        v = v * 10 + (c - '0');
    for (int i = d.decimals; i < decimals; ++i)
        v *= 10;
    return d.negative ? -v : v;
}

// The scaled whole number written with `decimals` decimals and a decimal comma.
std::string text(std::int64_t v, int decimals) {
    const auto places = static_cast<std::size_t>(decimals);
    std::string digits = std::to_string(v < 0 ? -v : v);
    if (digits.size() <= places) digits = std::string(places + 1 - digits.size(), '0') + digits;
    std::string out = v < 0 ? "-" : "";
    out.append(digits, 0, digits.size() - places);
    if (places > 0) {
        out += ',';
        out.append(digits, digits.size() - places, places);
    }
    return out;
}

VariationResult fail(std::string message) {
    VariationResult r;
    r.error = std::move(message);
    return r;
}

constexpr const char* kNothingGiven = "kein Bereich und keine Werte angegeben";

// A range from its three numbers' texts, each without surrounding blanks.
VariationResult parseRangeParts(Control field, const std::string_view (&parts)[3]) {
    const char* names[3] = {"VON", "BIS", "SCHRITT"};
    Decimal d[3];
    int decimals = 0;
    for (int i = 0; i < 3; ++i) {
        const auto parsed = parseDecimal(parts[i]);
        if (!parsed)
            return fail(std::string(names[i]) + " „" + std::string(parts[i]) +
                        "“ ist keine Dezimalzahl (z. B. 2,5)");
        if (static_cast<int>(parsed->digits.size()) > kMaxDigits)
            return fail(std::string(names[i]) + " „" + std::string(parts[i]) +
                        "“ hat mehr als 15 Stellen");
        if (parsed->decimals > kMaxDecimals)
            return fail(std::string(names[i]) + " „" + std::string(parts[i]) +
                        "“ hat mehr als 9 Nachkommastellen");
        d[i] = *parsed;
        if (d[i].decimals > decimals) decimals = d[i].decimals;
    }
    for (const Decimal& x : d)
        if (static_cast<int>(x.digits.size()) - x.decimals + decimals > kMaxDigits)
            return fail("die Zahlen des Bereichs haben zusammen mehr als 15 Stellen");
    const std::int64_t from = scaled(d[0], decimals), to = scaled(d[1], decimals),
                       step = scaled(d[2], decimals);
    if (step == 0) return fail("der SCHRITT ist 0");
    if ((to - from) != 0 && ((to - from) > 0) != (step > 0))
        return fail(step > 0 ? "BIS liegt unter VON, der SCHRITT müsste negativ sein"
                             : "BIS liegt über VON, der SCHRITT müsste positiv sein");
    // Values FROM + i·STEP while they lie at most a thousandth of a step beyond TO.
    const std::int64_t magnitude = step > 0 ? step : -step;
    const std::int64_t span = step > 0 ? to - from : from - to;  // >= 0
    const std::int64_t count = (span * 1000 + magnitude) / (magnitude * 1000) + 1;
    if (count > static_cast<std::int64_t>(kMaxVariationValues))
        return fail("der Bereich ergäbe " + std::to_string(count) +
                    " Werte, mehr als 1000000; bitte einen größeren SCHRITT wählen");
    VariationResult r;
    r.ok = true;
    r.variation.field = field;
    for (std::int64_t i = 0; i < count; ++i)
        r.variation.texts.push_back(text(from + i * step, decimals));
    return r;
}

VariationResult parseRange(Control field, std::string_view spec) {
    std::string_view parts[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t colon = spec.find(':', start);
        if ((i < 2) != (colon != std::string_view::npos))
            return fail("ein Bereich hat die Form VON:BIS:SCHRITT, z. B. 30:70:5");
        parts[i] = trim(spec.substr(start, i < 2 ? colon - start : std::string_view::npos));
        start = colon + 1;
    }
    return parseRangeParts(field, parts);
}

VariationResult parseList(Control field, std::string_view spec) {
    VariationResult r;
    r.variation.field = field;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = spec.find(';', start);
        const std::string_view item = trim(spec.substr(start, semicolon - start));
        if (item.empty()) return fail("die Liste enthält einen leeren Wert");
        r.variation.texts.emplace_back(item);
        if (r.variation.texts.size() > kMaxVariationValues)
            return fail("die Liste hat mehr als 1000000 Werte");
        if (semicolon == std::string_view::npos) break;
        start = semicolon + 1;
    }
    r.ok = true;
    return r;
}

}  // namespace

VariationResult parseVariationSpec(Control field, std::string_view spec) {
    spec = trim(spec);
    if (spec.empty()) return fail(kNothingGiven);
    if (spec.find(';') != std::string_view::npos) return parseList(field, spec);
    if (spec.find(':') != std::string_view::npos) return parseRange(field, spec);
    return parseList(field, spec);
}

VariationResult parseVariationRange(Control field, std::string_view from, std::string_view to,
                                    std::string_view step) {
    const std::string_view parts[3] = {trim(from), trim(to), trim(step)};
    if (parts[0].empty() && parts[1].empty() && parts[2].empty()) return fail(kNothingGiven);
    return parseRangeParts(field, parts);
}

VariationResult parseVariation(std::string_view nameAndSpec) {
    const std::size_t eq = nameAndSpec.find('=');
    if (eq == std::string_view::npos)
        return fail("erwartet NAME=VON:BIS:SCHRITT oder NAME=A;B;C, nicht „" +
                    std::string(nameAndSpec) + "“");
    const std::string_view name = trim(nameAndSpec.substr(0, eq));
    const Control field = inputByName(name);
    if (field == Control::Count)
        return fail("„" + std::string(name) + "“ ist kein Eingabefeld (z. B. txt_Lufttemp)");
    VariationResult r = parseVariationSpec(field, nameAndSpec.substr(eq + 1));
    if (!r.ok) r.error = std::string(name) + ": " + r.error;
    return r;
}

}  // namespace tesmo
