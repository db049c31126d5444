// The window's controls that the drying model and the run control address by name.
//
// The enumerators carry the controls' own names. Input fields come first, in the window's
// top-to-bottom order; then the output fields in the same order, each followed by nothing
// else: their labels follow as a block in the same order, so that an output field and its
// label are the same distance apart in the list (see labelOf()).
#pragma once

#include <cstdint>

namespace tesmo {

enum class Control : std::uint8_t {
    // input fields, top to bottom (the Tab order)
    txt_Dicke,
    txt_rhos,
    txt_XAnf,
    txt_XZiel,
    txt_linTrSchwind,
    txt_Feuchteleit,
    txt_lambda,
    txt_mue,
    txt_Waermeuebergang,
    txt_AussenluftTemp,
    txt_AussenluftFeuchte,
    txt_Lufttemp,
    txt_AbluftFeuchte,
    txt_Ortsschrittweite,
    txt_deltaT,
    txt_rund,
    txt_KappaSteig,

    // output fields, top to bottom
    txt_XSchwEnde,
    txt_offPoren,
    txt_LuftRohlingVerh,
    txt_LuftWasserVerh,
    txt_Zeit,
    txt_momLuftTemp,
    txt_momPhiLuft,
    txt_thetaOb,
    txt_thetaK,
    txt_xmom,
    txt_qrand,
    txt_Wasserdampf,
    txt_KapGeschw,
    txt_Dampfgeschw,
    txt_Dauer1TA,
    txt_X1TA,
    txt_Anfangsrate,
    txt_t1xse,
    txt_schwinddiff,
    txt_schwindgrad,
    txt_t2xse,
    txt_spezEnergie,
    txt_relEnergie,
    txt_Wasserfehler,

    // labels of the output fields, in the same order
    lbl_SchwindEnde,
    lbl_offPoren,
    lbl_LuftRohlingVerh,
    lbl_LuftWasserVerh,
    lbl_Zeit,
    lbl_momLuftTemp,
    lbl_momPhiLuft,
    lbl_thetaOb,
    lbl_Kerntemp,
    lbl_Xmom,
    lbl_Waermestromdichte,
    lbl_Wasserdampf,
    lbl_KapGeschw,
    lbl_DampfGeschw,
    lbl_Dauer1TA,
    lbl_X1TA,
    lbl_Anfangsrate,
    lbl_OberflSchwind,
    lbl_SchwindDiff,
    lbl_SchwindGradient,
    lbl_KernSchwind,
    lbl_spezEnergie,
    lbl_relEnergie,
    lbl_Wasserfehler,

    // warning labels
    lbl_ungenau1,
    lbl_ungenau2,
    lbl_ungenau3,
    lbl_Achtung,

    // the one image whose visibility changes
    Image7,

    // buttons
    cmd_Start,
    cmd_Pause,
    cmd_Weiter,
    cmd_Stop,
    cmd_Neustart,

    // focus parking field and the two drawing surfaces
    txt_parkfocus,
    pic_Ausgabe,
    pic_Zeit,

    Count
};

inline constexpr int kControlCount = static_cast<int>(Control::Count);
inline constexpr int kInputCount = 17;
inline constexpr Control kFirstInput = Control::txt_Dicke;
inline constexpr Control kFirstOutput = Control::txt_XSchwEnde;
inline constexpr Control kFirstOutputLabel = Control::lbl_SchwindEnde;
inline constexpr int kOutputCount = 24;

constexpr int index(Control c) {
    return static_cast<int>(c);
}
constexpr Control controlAt(int i) {
    return static_cast<Control>(i);
}

constexpr bool isInput(Control c) {
    return index(c) < kInputCount;
}
constexpr bool isOutputField(Control c) {
    return index(c) >= index(kFirstOutput) && index(c) < index(kFirstOutput) + kOutputCount;
}
// The label that names an output field.
constexpr Control labelOf(Control outputField) {
    return controlAt(index(outputField) - index(kFirstOutput) + index(kFirstOutputLabel));
}

// Control name as the window knows it (the Qt object name, the batch runner's key).
const char* controlName(Control c);

}  // namespace tesmo
