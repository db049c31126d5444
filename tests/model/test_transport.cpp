#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "model/transport.h"
#include "tests/model/run_fixture.h"

namespace tesmo {
namespace {

using test::preparedRun;

struct System {
    NodeArray a{}, b{}, c{}, d{}, x{}, gamma{}, beta{};
    std::array<float, kNodeArraySize> y{};
    int fehler = -1;
    void solve(int n, int faktor = 0) {
        TridiagLoeser(n, d, a, c, b, faktor, x, fehler, gamma, beta, y);
    }
};

// Gaussian elimination with partial pivoting on the dense matrix, in double precision.
std::vector<double> denseSolve(const System& s, int n) {
    std::vector<std::vector<double>> m(n, std::vector<double>(n + 1, 0.0));
    for (int j = 0; j < n; ++j) {
        if (j > 0) m[j][j - 1] = s.a[j + 1];
        m[j][j] = s.b[j + 1];
        if (j + 1 < n) m[j][j + 1] = s.c[j + 1];
        m[j][n] = s.d[j + 1];
    }
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int r = k + 1; r < n; ++r) {
            if (std::fabs(m[r][k]) > std::fabs(m[p][k])) p = r;
        }
        std::swap(m[k], m[p]);
        for (int r = k + 1; r < n; ++r) {
            const double f = m[r][k] / m[k][k];
            for (int col = k; col <= n; ++col)
                m[r][col] -= f * m[k][col];
        }
    }
    std::vector<double> x(n);
    for (int k = n - 1; k >= 0; --k) {
        double sum = m[k][n];
        for (int col = k + 1; col < n; ++col)
            sum -= m[k][col] * x[col];
        x[k] = sum / m[k][k];
    }
    return x;
}

TEST(TridiagLoeser, MatchesADenseSolveOnDiagonallyDominantSystems) {
    std::mt19937 rng(20070813);
    std::uniform_real_distribution<double> off(-1.0, 1.0), rhs(-10.0, 10.0), extra(0.1, 2.0);
    for (int n : {2, 3, 7, 50, 200, 501}) {
        for (int trial = 0; trial < 5; ++trial) {
            System s;
            for (int j = 1; j <= n; ++j) {
                s.a[j] = j > 1 ? off(rng) : 0;
                s.c[j] = j < n ? off(rng) : 0;
                const double sign = trial % 2 ? -1 : 1;
                s.b[j] = sign * (std::fabs(s.a[j]) + std::fabs(s.c[j]) + extra(rng));
                s.d[j] = rhs(rng);
            }
            s.solve(n);
            ASSERT_EQ(s.fehler, 0);
            const auto ref = denseSolve(s, n);
            double scale = 0;
            for (double v : ref)
                scale = std::max(scale, std::fabs(v));
            for (int j = 1; j <= n; ++j) {
                // The forward values are stored in single precision.
                EXPECT_NEAR(s.x[j], ref[j - 1], 2e-6 * scale) << "n=" << n << " j=" << j;
            }
        }
    }
}

TEST(TridiagLoeser, SingleUnknownIsSolvedInDoublePrecisionSeveralInSingle) {
    System s;
    s.b[1] = 3;
    s.d[1] = 1;
    s.solve(1);
    EXPECT_EQ(s.fehler, 0);
    EXPECT_EQ(s.x[1], 1.0 / 3.0);  // not the single-precision 1/3
    s.b[2] = 3;
    s.d[1] = 0;
    s.d[2] = 1;
    s.solve(2);
    EXPECT_EQ(s.x[2], static_cast<double>(1.0f / 3.0f));
}

TEST(TridiagLoeser, ZeroPivotLeavesTheSolutionUntouched) {
    System s;
    s.x.fill(7.5);
    s.b[1] = 0;
    s.b[2] = 1;
    s.d[1] = s.d[2] = 1;
    s.solve(2);
    EXPECT_EQ(s.fehler, 1);
    EXPECT_EQ(s.x[1], 7.5);

    // A pivot that vanishes in the elimination: b(2) − c(1)/b(1)·a(2) = 1 − 1 = 0.
    System t;
    t.x.fill(-2.0);
    t.b[1] = 1;
    t.c[1] = 1;
    t.a[2] = 1;
    t.b[2] = 1;
    t.b[3] = 4;
    t.d[1] = t.d[2] = t.d[3] = 1;
    t.solve(3);
    EXPECT_EQ(t.fehler, 1);
    for (int j = 1; j <= 3; ++j)
        EXPECT_EQ(t.x[j], -2.0);
}

// The default plate: XSchwEnde ≈ 0.1356, offPoren ≈ 0.2508, psi25 = psiRoh.
class FeuchteleitwertTest : public ::testing::Test {
  protected:
    std::unique_ptr<RunState> st = preparedRun();
};

TEST_F(FeuchteleitwertTest, JoinsItsBranchesContinuously) {
    const RunState& s = *st;
    // psi = offPoren exactly at XSchwEnde (end of shrinkage), from both sides.
    const double below = Feuchteleitwert(s, s.XSchwEnde * (1 - 1e-12), 25);
    const double above = Feuchteleitwert(s, s.XSchwEnde * (1 + 1e-12), 25);
    EXPECT_NEAR(below / above, 1, 1e-9);
    EXPECT_NEAR(Feuchteleitwert(s, s.XSchwEnde, 25), s.FeuchteleitGrenz,
                1e-12 * s.FeuchteleitGrenz);
    // psi = 0, and the same value for every dry mass.
    const double dry = Feuchteleitwert(s, 0, 25);
    EXPECT_NEAR(Feuchteleitwert(s, 1e-12, 25) / dry, 1, 1e-9);
    EXPECT_EQ(Feuchteleitwert(s, -0.5, 25), dry);
    EXPECT_EQ(Feuchteleitwert(s, -3.0, 25), dry);
    EXPECT_NEAR(dry, s.FeuchteleitGrenz * std::pow(10.0, -s.KappaSteig * s.offPoren), 1e-20);
}

TEST_F(FeuchteleitwertTest, GivesTheInputAtTheReferenceStateAndRisesWithTemperature) {
    const RunState& s = *st;
    EXPECT_NEAR(Feuchteleitwert(s, 0.25, 25), 40e-9, 1e-20);
    const double at25 = Feuchteleitwert(s, 0.2, 25);
    EXPECT_DOUBLE_EQ(Feuchteleitwert(s, 0.2, 65), 1.9 * at25);
    EXPECT_DOUBLE_EQ(Feuchteleitwert(s, 0.1, 65), 1.9 * Feuchteleitwert(s, 0.1, 25));
    // Below the limit moisture the conductivity falls by 10^KappaSteig per unit volume
    // fraction: psi 0.1 less is a factor 10^0.67.
    const double psiA = 0.2, psiB = 0.1;
    const double ratio =
        Feuchteleitwert(s, psiA * 1000 / s.rhos, 25) / Feuchteleitwert(s, psiB * 1000 / s.rhos, 25);
    EXPECT_NEAR(ratio, std::pow(10.0, 0.67), 1e-9);
}

// A plate whose conductivity is FeuchteleitGrenz everywhere: no slope below the limit
// moisture, water loads below the shrinkage end and below the open porosity, 25 °C.
void makeConstantConductivity(RunState& st, int nOrt, double Ortsschritt, double deltaT) {
    st.nOrt = nOrt;
    st.Ortsschritt = Ortsschritt;
    st.deltaT = deltaT;
    st.rhos = 1000;
    st.offPoren = 0.5;
    st.XSchwEnde = 0.5;
    st.KappaSteig = 0;
    st.FeuchteleitGrenz = 1;
}

TEST(Transportschritt, KeepsAUniformProfile) {
    auto st = preparedRun();  // default plate, profile XAnf everywhere, X(0) included
    for (int k = 0; k < 20; ++k)
        Transportschritt(*st, st->XKnoten, *st, 0, 30);
    for (int i = 0; i <= 101; ++i)
        EXPECT_NEAR(st->XKnoten[i], 0.25, 1e-7) << i;
    st->XKnoten.fill(0.1);  // below the shrinkage end, on the moved boundary
    for (int k = 0; k < 20; ++k)
        Transportschritt(*st, st->XKnoten, *st, 37, 60);
    for (int i = 0; i <= 101; ++i)
        EXPECT_NEAR(st->XKnoten[i], 0.1, 1e-7) << i;
}

// The system as written row by row, each face evaluated from both sides, the rows of the wet
// zone then moved down: the step must give the same bits.
void literalStep(RunState& st, int f, double theta) {
    const int n = knoten(st);
    auto& X = st.XKnoten;
    const double r = st.deltaT / (st.Ortsschritt * st.Ortsschritt);
    NodeArray A{}, B{}, C{}, D{};
    for (int i = f + 1; i <= n; ++i) {
        const double ka = Feuchteleitwert(st, (X[i - 1] + X[i]) / 2, theta);
        const double ki = Feuchteleitwert(st, (X[i] + X[i + 1]) / 2, theta);
        B[i] = 1 + r * (ka + ki);
        C[i] = i < n ? -r * ki : 0;
        A[i] = i > f + 1 ? -r * ka : 0;
        D[i] = X[i];
        if (i == f + 1) D[i] = D[i] + r * ka * X[f];
        if (i == n) D[i] = D[i] + r * ki * X[n + 1];
    }
    NodeArray a{}, b{}, c{}, d{}, x{}, g{}, be{};
    std::array<float, kNodeArraySize> y{};
    for (int i = f + 1; i <= n; ++i) {
        a[i - f] = A[i];
        b[i - f] = B[i];
        c[i - f] = C[i];
        d[i - f] = D[i];
    }
    int fehler = 0;
    TridiagLoeser(n - f, d, a, c, b, 0, x, fehler, g, be, y);
    for (int j = 1; j <= n - f; ++j)
        X[f + j] = x[j];
}

TEST(Transportschritt, MatchesTheRowByRowAssemblyBitForBit) {
    auto st = preparedRun();
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> load(-0.05, 0.3);
    for (int f : {0, 1, 40, 98, 99}) {
        for (int i = 0; i <= 100; ++i)
            st->XKnoten[i] = load(rng);
        st->XKnoten[101] = st->XKnoten[100];
        auto ref = test::copyOf(*st);
        Transportschritt(*st, st->XKnoten, *st, f, 45);
        literalStep(*ref, f, 45);
        for (int i = 0; i <= 101; ++i)
            EXPECT_EQ(st->XKnoten[i], ref->XKnoten[i]) << f << " " << i;
    }
}

TEST(Transportschritt, SingleIntervalGetsBothBoundaryTerms) {
    auto st = preparedRun();
    st->nOrt = 1;
    st->XKnoten[0] = 0.05;
    st->XKnoten[1] = 0.2;
    st->XKnoten[2] = 0.15;
    Transportschritt(*st, st->XKnoten, *st, 0, 25);
    const double r = st->dtdx2;
    EXPECT_DOUBLE_EQ(st->TriD[1], 0.2 + r * (st->KappaAussen * 0.05 + st->KappaInnen * 0.15));
    EXPECT_EQ(st->TriA[1], 0);
    EXPECT_EQ(st->TriC[1], 0);
    EXPECT_EQ(st->XKnoten[1], st->TriD[1] / st->TriB[1]);
    EXPECT_EQ(st->XKnoten[0], 0.05);  // boundary values stay
    EXPECT_EQ(st->XKnoten[2], 0.15);
}

// Fraction of the water removed from a plane sheet of half thickness 1 with a constant
// conductivity of 1 and the surface held at 0 (series solution).
double removedFraction(double T) {
    double rest = 0;
    for (int k = 0; k < 100; ++k) {
        const double m = (2 * k + 1) * std::numbers::pi;
        rest += 8 / (m * m) * std::exp(-m * m * T / 4);
    }
    return 1 - rest;
}

// The step resolves the half thickness up to the zero-flux face between the core node and its
// mirror, (nOrt + 1/2) node spacings; each node stands for one spacing, the surface node's
// half spacing holds 0.
double simulatedRemovedFraction(RunState& st, int nOrt, double deltaT, double T) {
    makeConstantConductivity(st, nOrt, 1.0 / (nOrt + 0.5), deltaT);
    st.XKnoten.fill(0.4);
    st.XKnoten[0] = 0;
    const long steps = std::lround(T / deltaT);
    for (long k = 0; k < steps; ++k) {
        st.XKnoten[nOrt + 1] = st.XKnoten[nOrt];
        Transportschritt(st, st.XKnoten, st, 0, 25);
    }
    double sum = 0;
    for (int i = 1; i <= nOrt; ++i)
        sum += st.XKnoten[i];
    return 1 - sum / (nOrt + 0.5) / 0.4;
}

TEST(Transportschritt, ConvergesToThePlaneSheetSolution) {
    EXPECT_NEAR(removedFraction(0.1), 0.35682, 5e-6);
    EXPECT_NEAR(removedFraction(0.5), 0.76395, 5e-6);
    auto st = std::make_unique<RunState>();
    for (double T : {0.1, 0.5}) {
        // First order in time: on one grid, halving the step halves the change.
        std::vector<double> m;
        for (int div : {40, 80, 160, 320})
            m.push_back(simulatedRemovedFraction(*st, 10, T / div, T));
        for (int k = 0; k + 2 < int(m.size()); ++k) {
            const double ratio = (m[k + 1] - m[k]) / (m[k + 2] - m[k + 1]);
            EXPECT_GT(ratio, 1.7) << "T=" << T;
            EXPECT_LT(ratio, 2.3) << "T=" << T;
        }
        // Second order in space. The mirror value is the core value from the start of the
        // step, which lags the core's flux by one step (an error of order deltaT/spacing), so
        // the time step shrinks with the cube of the spacing here.
        std::vector<double> err;
        for (int n : {10, 20}) {
            const double dx = 1.0 / (n + 0.5);
            const double steps = std::ceil(T / (dx * dx * dx));
            err.push_back(
                std::fabs(simulatedRemovedFraction(*st, n, T / steps, T) - removedFraction(T)));
        }
        EXPECT_GT(err[0] / err[1], 3.0) << "T=" << T;
        EXPECT_LT(err[1], 1.5e-3) << "T=" << T;
    }
}

}  // namespace
}  // namespace tesmo
