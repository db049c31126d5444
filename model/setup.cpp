#include "model/setup.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "model/moist_air.h"
#include "model/physical_constants.h"
#include "model/step_helpers.h"
#include "model/text_to_number.h"

namespace tesmo {

namespace {

double gelesen(const Einrichtungswerte& w, Control c) {
    return w.gelesen[static_cast<std::size_t>(index(c))];
}

}  // namespace

bool fastGanzzahlig(double q, double* ganz) {
    const double n = std::nearbyint(q);
    if (!(n >= 1) || !(std::abs(q - n) <= kOrtsschrittToleranz * n)) return false;
    *ganz = n;
    return true;
}

Einrichtungswerte berechneEinrichtung(const InputTexts& texts) {
    Einrichtungswerte w;
    for (std::size_t i = 0; i < w.gelesen.size(); ++i) {
        bool gefunden = false;
        w.gelesen[i] = TextZuZahl(texts.text[i], &gefunden);
        w.zahlGefunden[i] = gefunden;
    }

    // Half thickness over the space step, both in mm.
    w.nOrtQuotient =
        ortsQuotient(gelesen(w, Control::txt_Dicke), gelesen(w, Control::txt_Ortsschrittweite));
    w.nOrtGanz = fastGanzzahlig(w.nOrtQuotient, &w.nOrt);
    if (!w.nOrtGanz) w.nOrt = w.nOrtQuotient;

    w.DickeGruen = gelesen(w, Control::txt_Dicke) / 1000;
    w.rhos = gelesen(w, Control::txt_rhos);
    w.XAnf = gelesen(w, Control::txt_XAnf);
    w.XZiel = static_cast<float>(gelesen(w, Control::txt_XZiel));
    w.thetaLuft = gelesen(w, Control::txt_Lufttemp);
    w.phiAbluft = gelesen(w, Control::txt_AbluftFeuchte) / 100;
    w.alpha = gelesen(w, Control::txt_Waermeuebergang) / 1000;
    w.lambda = gelesen(w, Control::txt_lambda) / 1000;
    w.thetaAussen = gelesen(w, Control::txt_AussenluftTemp);
    w.phiAussen = gelesen(w, Control::txt_AussenluftFeuchte) / 100;
    w.mue = gelesen(w, Control::txt_mue);
    w.deltaT = gelesen(w, Control::txt_deltaT);
    w.rund = gelesen(w, Control::txt_rund);
    w.linTrSchwind = gelesen(w, Control::txt_linTrSchwind);
    w.Feuchteleit = gelesen(w, Control::txt_Feuchteleit) * 1e-9;
    w.KappaSteig = gelesen(w, Control::txt_KappaSteig);

    // The plate is computed at its dry thickness; the grid spans the dry half thickness.
    w.Dicke = w.DickeGruen * (1 - w.linTrSchwind / 100);
    w.spezOberfl = 2 / (w.Dicke * w.rhos);

    // Exhaust air: the air that leaves the dryer where the green plate enters.
    w.pvAbluft = Saettigungsdruck(w.thetaLuft) * w.phiAbluft;
    w.XAbluftAbluft = wasserbeladungAusDampfdruck(w.pvAbluft);
    w.thetaKG = Kuehlgrenztemperatur(w.thetaLuft, w.XAbluftAbluft, &w.kgHalbierungen);

    // Outside air: the air that is heated and blown in where the dried plate leaves.
    w.pvAussen = Saettigungsdruck(w.thetaAussen) * w.phiAussen;
    w.XAussen = static_cast<float>(wasserbeladungAusDampfdruck(w.pvAussen));

    // Dry air per kg of dry product: the water removed from the plate goes into the air.
    w.LuftRohlingVerh = (w.XAnf - static_cast<double>(w.XZiel)) /
                        (w.XAbluftAbluft - static_cast<double>(w.XAussen));

    // Shrinkage geometry of the ideally shrinking, saturated green plate (water 1000 kg/m³).
    w.s = w.linTrSchwind / 100;
    w.rhosRoh = w.rhos * std::pow(1 - w.s, 3);
    w.psiRoh = w.XAnf * w.rhos / kDichteWasser * std::pow(1 - w.s, 3);
    w.offPoren = (w.psiRoh - (1 - std::pow(1 - w.s, 3))) * w.rhos / w.rhosRoh;
    w.XSchwEnde = w.offPoren * kDichteWasser / w.rhos;
    // The reference state of the moisture conductivity, 0.25 kg/kg.
    w.s25 = 1 - std::pow((1 - w.psiRoh) + 0.25 * w.rhosRoh / kDichteWasser, 1.0 / 3.0);
    w.rhos25 = w.rhos * std::pow((1 - w.s) / (1 - w.s25), 3);
    w.psi25 = (w.psiRoh - (1 - std::pow(1 - w.s25, 3))) * w.rhos25 / w.rhosRoh;
    // The conductivity law grows with the square of the water volume fraction above offPoren;
    // this reference makes it give Feuchteleit at psi25.
    w.FeuchteleitGrenz = w.Feuchteleit * std::pow(w.offPoren / w.psi25, 2);

    // The air at the plate starts as the exhaust air, with the water load that belongs to the
    // wet-bulb temperature the search found.
    w.XAbluft = XausKuehlgrenze(w.thetaLuft, w.thetaKG);
    w.pvLuft = pDampfAusKuehlgrenze(w.thetaLuft, w.thetaKG);
    return w;
}

void Einrichtung(RunState& st, const InputTexts& texts, WindowPort& window) {
    const Einrichtungswerte w = berechneEinrichtung(texts);

    st.Laeuft = 1;
    st.Beendet = 0;

    st.nOrt = w.nOrt;
    st.Dicke = w.DickeGruen;
    st.rhos = w.rhos;
    st.XAnf = w.XAnf;
    st.XZiel = w.XZiel;
    st.thetaLuft = w.thetaLuft;
    st.phiAbluft = w.phiAbluft;
    st.alpha = w.alpha;
    st.lambda = w.lambda;
    st.thetaAussen = w.thetaAussen;
    st.phiAussen = w.phiAussen;
    st.mue = w.mue;
    st.deltaT = w.deltaT;
    st.rund = w.rund;
    st.linTrSchwind = w.linTrSchwind;
    // The shrinkage arrow beside the profile chart means nothing for a plate that does not shrink.
    window.setVisible(Control::Image7, st.linTrSchwind >= 0.001);
    st.Feuchteleit = w.Feuchteleit;
    st.XEnde = 0;
    st.thetaKernVorher = 0;
    st.dThetaKern = 0;
    st.SchwindGradMax = 0;
    st.SchwindDiffMax = 0;
    st.KappaSteig = w.KappaSteig;
    st.optionen = texts.optionen;

    st.Dicke = w.Dicke;
    st.spezOberfl = w.spezOberfl;
    st.pvAbluft = w.pvAbluft;
    st.XAbluft = w.XAbluftAbluft;
    st.thetaKG = w.thetaKG;
    st.thetaKG0 = w.thetaKG;
    st.pvAussen = w.pvAussen;
    st.XAussen = w.XAussen;
    st.LuftRohlingVerh = w.LuftRohlingVerh;
    // In a constant climate no air is heated and passed along the plates: the outside air is
    // not part of the run and there is no air demand to show. Not a number, so that nothing
    // can use it unnoticed.
    if (luftImGegenstrom(st))
        window.writeGroup(DisplayGroup::SetupAir);
    else
        st.LuftRohlingVerh = std::numeric_limits<double>::quiet_NaN();

    st.s = w.s;
    st.rhosRoh = w.rhosRoh;
    st.psiRoh = w.psiRoh;
    st.offPoren = w.offPoren;
    st.XSchwEnde = w.XSchwEnde;
    st.s25 = w.s25;
    st.rhos25 = w.rhos25;
    st.psi25 = w.psi25;
    window.writeGroup(DisplayGroup::SetupShrinkage);

    st.FeuchteleitGrenz = w.FeuchteleitGrenz;
    st.thetaLuftMom = w.thetaLuft;
    st.XAbluft = w.XAbluft;
    st.thetaOb = w.thetaKG;
    st.pvLuft = w.pvLuft;
    window.writeGroup(DisplayGroup::SetupTemperatures);

    st.t1xse = 0;
    st.t2xse = 0;
}

}  // namespace tesmo
