#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/run_state.h"
#include "model/setup.h"
#include "model/shrinkage.h"
#include "recording_port.h"

namespace tesmo {

namespace {

std::unique_ptr<RunState> eingerichtet(const char* XAnf, const char* schwindung) {
    auto st = std::make_unique<RunState>();
    InputTexts texte = defaultInputTexts();
    texte[Control::txt_XAnf] = XAnf;
    texte[Control::txt_linTrSchwind] = schwindung;
    test::RecordingPort port;
    Einrichtung(*st, texte, port);
    return st;
}

}  // namespace

TEST(Schwindung, RelationsMeetTheSetUpGeometry) {
    for (const char* XAnf : {"0,25", "0,30", "0,18"}) {
        const auto st = eingerichtet(XAnf, "6,2");
        SCOPED_TRACE(XAnf);
        EXPECT_NEAR(sAusX(*st, st->XAnf), 0.0, 1e-15);
        EXPECT_NEAR(sAusX(*st, st->XSchwEnde), st->s, 1e-14);
        EXPECT_DOUBLE_EQ(rhosAusS(*st, 0), st->rhosRoh);
        EXPECT_DOUBLE_EQ(psiAusS(*st, 0), st->psiRoh);
        EXPECT_NEAR(psiAusS(*st, st->s), st->offPoren, 1e-14);
        EXPECT_NEAR(sAusX(*st, 0.25), st->s25, 1e-14);
        EXPECT_NEAR(psiAusS(*st, st->s25), st->psi25, 1e-14);
        // Fully shrunk and beyond: the dried plate's density.
        EXPECT_EQ(rhosAusS(*st, st->s), st->rhos);
        EXPECT_EQ(rhosAusS(*st, st->s + 0.1), st->rhos);
        // Ideal shrinkage: the water volume fraction is the water load times the density, and
        // the water load at shrinkage sigma comes back from the two relations.
        for (double X = st->XSchwEnde; X <= st->XAnf; X += (st->XAnf - st->XSchwEnde) / 7) {
            const double sigma = sAusX(*st, X);
            EXPECT_NEAR(psiAusS(*st, sigma), rhosAusS(*st, sigma) * X / 1000, 1e-13) << X;
            EXPECT_NEAR(1000 * psiAusS(*st, sigma) / rhosAusS(*st, sigma), X, 1e-13) << X;
        }
        // Not limited: below the shrinkage end the relation runs on past s.
        EXPECT_GT(sAusX(*st, st->XSchwEnde / 2), st->s);
    }
}

TEST(Schwindung, APlateThatDoesNotShrink) {
    const auto st = eingerichtet("0,25", "0");
    EXPECT_EQ(st->rhosRoh, st->rhos);
    EXPECT_DOUBLE_EQ(st->offPoren, st->psiRoh);
    EXPECT_DOUBLE_EQ(st->psiRoh, 0.25 * 1850 / 1000);
    EXPECT_DOUBLE_EQ(st->XSchwEnde, st->XAnf);
    EXPECT_EQ(rhosAusS(*st, 0), st->rhos);
}

}  // namespace tesmo
