#include "display/control_table.h"

#include <array>
#include <cstddef>

#include "model/inputs.h"

namespace tesmo {

namespace {

constexpr FontSpec kBold9{9.0, true};         // text fields and labels unless stated
constexpr FontSpec kRegular825{8.25, false};  // the lower group: numerics and water error
constexpr FontSpec kBold825{8.25, true};
constexpr FontSpec kRegular675{6.75, false};
constexpr FontSpec kBold975{9.75, true};
constexpr FontSpec kBold12{12.0, true};  // buttons
constexpr FontSpec kBold24{24.0, true};

// Input fields, top to bottom; the upper group stands at Left 3870, the lower group (numerics)
// at Left 4095 in the smaller regular font.
struct InputPlace {
    Twips geometry;
    bool lowerGroup;
};
constexpr std::array<InputPlace, kInputCount> kInputPlaces = {{
    {{3870, 1020, 780, 195}, false},  // txt_Dicke
    {{3870, 1245, 780, 225}, false},  // txt_rhos
    {{3870, 1485, 780, 195}, false},  // txt_XAnf
    {{3870, 1710, 780, 195}, false},  // txt_XZiel
    {{3870, 1935, 780, 225}, false},  // txt_linTrSchwind
    {{3870, 2610, 780, 225}, false},  // txt_Feuchteleit
    {{3870, 2835, 780, 195}, false},  // txt_lambda
    {{3870, 3060, 780, 225}, false},  // txt_mue
    {{3870, 3285, 780, 195}, false},  // txt_Waermeuebergang
    {{3870, 3510, 780, 225}, false},  // txt_AussenluftTemp
    {{3870, 3735, 780, 225}, false},  // txt_AussenluftFeuchte
    {{3870, 3960, 780, 225}, false},  // txt_Lufttemp
    {{3870, 4185, 780, 225}, false},  // txt_AbluftFeuchte
    {{4095, 9540, 510, 195}, true},   // txt_Ortsschrittweite
    {{4095, 9720, 510, 195}, true},   // txt_deltaT
    {{4095, 9900, 510, 195}, true},   // txt_rund
    {{4095, 10080, 510, 195}, true},  // txt_KappaSteig
}};

// Output fields in enumerator order, with the caption of the label that names each.
struct OutputRow {
    const char* caption;
    Rgb colour;
    Twips geometry;
};
constexpr std::array<OutputRow, kOutputCount> kOutputs = {{
    {"Wasserbeladung Schwind.-Ende in kg/kg", kDarkBlue, {3870, 2160, 780, 195}},
    {"offene Porosität im trock. Zustand in Vol.-%", kDarkBlue, {3870, 2385, 780, 195}},
    {"spez. Luftdurchsatz in kg pro kg tr. Rohling", kDarkBlue, {3870, 4410, 780, 195}},
    {"spez. Luftdurchsatz in kg pro kg Wasser", kDarkBlue, {3870, 4635, 780, 195}},
    {"laufende Zeit in hh : mm : ss", kGreen, {3750, 4905, 900, 195}},
    {"mom. Lufttemperatur in °C", kDarkBlue, {3870, 5175, 780, 195}},
    {"mom. relative Luftfeuchtigkeit in %", kDarkBlue, {3870, 5400, 780, 195}},
    {"mom. Oberflächentemperatur in °C", kDarkBlue, {3870, 5670, 780, 195}},
    {"mom. Kerntemperatur in °C", kDarkBlue, {3870, 5895, 780, 225}},
    {"mom. Rohlingswasser in kg/kg atro", kDarkBlue, {3870, 6120, 780, 195}},
    {"mom. Wärmestromdichte in kW/m²", kDarkBlue, {3870, 6390, 780, 195}},
    {"mom. Verdunstungsrate in kg/(m² h)", kDarkBlue, {3870, 6615, 780, 225}},
    {"mom. oberfl. Kapillarströmung in mm/h", kDarkBlue, {3870, 6840, 780, 195}},
    {"mom. Dampfgeschw. durch Poren in m/h", kDarkBlue, {3870, 7065, 780, 195}},
    {"Dauer des 1. TroAbschn. in hh : mm : ss", kDarkBlue, {3825, 7335, 810, 195}},
    {"danach Wasserbeladung in kg/kg atro", kDarkBlue, {3870, 7560, 780, 225}},
    {"anfängliche Verdunstungsrate in kg/(m² h)", kDarkBlue, {3870, 7785, 780, 195}},
    {"Dauer der Oberflächenschw. in hh : mm : ss", kDarkBlue, {3840, 8055, 810, 225}},
    {"max. Differenz der lin. Schwindung in % ", kDarkBlue, {3870, 8280, 780, 195}},
    {"max. Schwindungsgradient in % pro mm", kDarkBlue, {3870, 8505, 780, 195}},
    {"Dauer der Kernschwindung in hh : mm : ss", kDarkBlue, {3840, 8730, 810, 195}},
    {"mittl. spez. Energiebedarf in kJ/kg H2O", kRed, {3870, 9000, 780, 195}},
    {"mittl. Energie / Verdampfungsenthalpie", kRed, {3870, 9225, 780, 195}},
    {"relativer Wasserfehler in %", kDarkBlue, {4095, 10260, 510, 195}},
}};

// The labels of the field column start at the left margin and end where their field begins;
// the lower group's labels start further right, as the numerics' labels do.
constexpr int kUpperLabelLeft = 120;
constexpr int kLowerLabelLeft = 1275;
constexpr int kLowerLabelWidth = 2820;

using Table = std::array<ControlSpec, kControlCount>;

void put(Table& t, ControlSpec entry) {
    t[static_cast<std::size_t>(index(entry.id))] = entry;
}

Table buildTable() {
    Table t{};
    for (int i = 0; i < kInputCount; ++i) {
        const Control c = controlAt(i);
        const InputPlace& p = kInputPlaces[static_cast<std::size_t>(i)];
        put(t, {c, ControlKind::TextField, defaultText(c), p.geometry,
                p.lowerGroup ? kRegular825 : kBold9, kBlack, Align::Center, true});
    }
    for (int i = 0; i < kOutputCount; ++i) {
        const Control field = controlAt(index(kFirstOutput) + i);
        const OutputRow& row = kOutputs[static_cast<std::size_t>(i)];
        const bool lower = field == Control::txt_Wasserfehler;
        const FontSpec font = lower ? kRegular825 : kBold9;
        // The water error's field holds one blank until its first use.
        put(t, {field, ControlKind::TextField, lower ? " " : "", row.geometry, font, row.colour,
                Align::Center, false});
        const Twips& g = row.geometry;
        const Twips labelPlace =
            lower ? Twips{kLowerLabelLeft, g.top, kLowerLabelWidth, g.height}
                  : Twips{kUpperLabelLeft, g.top, g.left - kUpperLabelLeft, g.height};
        put(t, {labelOf(field), ControlKind::Label, row.caption, labelPlace, font, row.colour,
                Align::Left, false});
    }

    using enum Control;
    using K = ControlKind;
    constexpr auto L = Align::Left, C = Align::Center;
    // clang-format off
    put(t, {lbl_ungenau1, K::Label, "evtl. sehr ungenau !", {1215, 10530, 1860, 195},
            kBold825, kRed, L, false});
    put(t, {lbl_ungenau2, K::Label, "Ortsschrittweite vergrößern!", {1215, 10860, 1815, 195},
            kRegular675, kRed, L, false});
    put(t, {lbl_ungenau3, K::Label, "Zeitschrittweite verkleinern od.", {1215, 10710, 1995, 195},
            kRegular675, kRed, L, false});
    // Inside pic_Zeit, in that chart's logical units.
    put(t, {lbl_Achtung, K::Label, "!", {7020, 540, 195, 510}, kBold24, kRed, L, false});
    put(t, {Image7, K::Image, "Schwindung", {14895, 1170, 225, 1995}, kBold9, kBlue, L, true});

    put(t, {cmd_Start, K::Button, "Start", {3780, 10635, 780, 375}, kBold12, kBlack, C, true});
    put(t, {cmd_Pause, K::Button, "Pause", {135, 9585, 915, 375}, kBold12, kBlack, C, false});
    put(t, {cmd_Weiter, K::Button, "Weiter", {90, 9810, 1005, 375}, kBold12, kBlack, C, false});
    put(t, {cmd_Stop, K::Button, "Stop", {135, 10080, 915, 375}, kBold12, kBlack, C, false});
    put(t, {cmd_Neustart, K::Button, "Nochmal !", {3120, 10635, 1455, 375}, kBold12, kBlack, C,
            false});

    // Almost wholly outside the client area: it only parks the keyboard focus during a run.
    put(t, {txt_parkfocus, K::TextField, "", {-120, 10125, 225, 360}, kBold975, kWhite, C, true});
    put(t, {pic_Ausgabe, K::Surface, "", {4860, 1170, 9915, 4395}, kBold9, kBlack, L, true});
    put(t, {pic_Zeit, K::Surface, "", {4860, 6330, 9915, 3945}, kBold9, kBlack, L, true});
    // clang-format on
    return t;
}

const Table& table() {
    static const Table t = buildTable();
    return t;
}

}  // namespace

const ControlSpec& controlSpec(Control c) {
    return table()[static_cast<std::size_t>(index(c))];
}

const char* fieldCaption(Control field) {
    if (isInput(field)) return inputCaption(field);
    if (isOutputField(field)) return controlSpec(labelOf(field)).text;
    return "";
}

}  // namespace tesmo
