#include "model/transport.h"

#include <cmath>

#include "model/physical_constants.h"
#include "model/shrinkage.h"

namespace tesmo {

double Feuchteleitwert(const RunParameters& p, double X, double theta) {
    // Water volume fraction: a plate that has finished shrinking has the dry density; above the
    // shrinkage end the plate is still swollen and its dry-mass concentration is lower.
    const double psi = X <= p.XSchwEnde ? X * p.rhos / kDichteWasser
                                        : rhosAusS(p, sAusX(p, X)) * X / kDichteWasser;
    double kappa25;
    if (psi >= p.offPoren) {
        const double q = psi / p.offPoren;
        kappa25 = p.FeuchteleitGrenz * (q * q);
    } else if (psi > 0) {
        kappa25 = p.FeuchteleitGrenz * std::pow(10.0, p.KappaSteig * (psi - p.offPoren));
    } else {
        kappa25 = p.FeuchteleitGrenz * std::pow(10.0, -p.KappaSteig * p.offPoren);
    }
    return kappa25 * (80 + 1.8 * (theta - 25)) / 80;
}

void TridiagLoeser(int n, const NodeArray& TriD, const NodeArray& TriA, const NodeArray& TriC,
                   const NodeArray& TriB, int TriFaktor, NodeArray& TriX, int& TriFehler,
                   NodeArray& TriGamma, NodeArray& TriBeta,
                   std::array<float, kNodeArraySize>& TriY) {
    if (TriFaktor == 0) {
        TriFehler = 0;
        TriBeta[1] = TriB[1];
        if (TriBeta[1] == 0) {
            TriFehler = 1;
            return;
        }
        if (n == 1) {
            TriX[1] = TriD[1] / TriBeta[1];
            return;
        }
        for (int j = 1; j <= n - 1; ++j) {
            TriGamma[j] = TriC[j] / TriBeta[j];
            const double p = TriB[j + 1] - TriGamma[j] * TriA[j + 1];
            if (p == 0) {
                TriFehler = 1;
                return;
            }
            TriBeta[j + 1] = p;
        }
    }
    if (n > 1) {
        // Each forward value is stored in single precision and the next row builds on the
        // stored value; the back substitution then runs in double precision.
        TriY[1] = static_cast<float>(TriD[1] / TriBeta[1]);
        for (int j = 2; j <= n; ++j) {
            TriY[j] = static_cast<float>((TriD[j] - TriY[j - 1] * TriA[j]) / TriBeta[j]);
        }
        TriX[n] = TriY[n];
        for (int k = n - 1; k >= 1; --k)
            TriX[k] = TriY[k] - TriGamma[k] * TriX[k + 1];
    } else {
        TriX[1] = TriD[1] / TriBeta[1];
    }
}

namespace {

// The conductivity of the face between two nodes, at the mean of their water loads. Long
// stretches of the profile often hold the same value (a plate that has not yet felt the drying
// inside), so the last face is remembered: the same argument gives the same result.
class FaceConductivity {
  public:
    FaceConductivity(const RunParameters& p, double theta) : p_(p), theta_(theta) {}
    double operator()(double Xleft, double Xright) {
        const double Xs = (Xleft + Xright) / 2;
        if (!known_ || Xs != lastX_) {
            lastKappa_ = Feuchteleitwert(p_, Xs, theta_);
            lastX_ = Xs;
            known_ = true;
        }
        return lastKappa_;
    }

  private:
    const RunParameters& p_;
    double theta_;
    bool known_ = false;
    double lastX_ = 0;
    double lastKappa_ = 0;
};

// Rows f+1..nOrt of the system, written directly into rows 1..nOrt−f. Each face conductivity
// is evaluated once and serves both rows it joins.
void assemble(const RunParameters& p, const NodeArray& X, SolverScratch& s, int f, double theta) {
    const int nOrt = knoten(p);
    const double dtdx2 = s.dtdx2;
    FaceConductivity kappa(p, theta);
    double kappaAussen = kappa(X[f], X[f + 1]);
    double kappaInnen = kappaAussen;
    for (int i = f + 1; i <= nOrt; ++i) {
        kappaInnen = kappa(X[i], X[i + 1]);
        const int row = i - f;
        s.TriB[row] = 1 + dtdx2 * (kappaAussen + kappaInnen);
        s.TriC[row] = i < nOrt ? -dtdx2 * kappaInnen : 0;
        s.TriA[row] = i > f + 1 ? -dtdx2 * kappaAussen : 0;
        double d = X[i];
        if (i == f + 1) d = d + dtdx2 * kappaAussen * X[f];
        if (i == nOrt) d = d + dtdx2 * kappaInnen * X[nOrt + 1];
        s.TriD[row] = d;
        s.KappaAussen = kappaAussen;
        s.KappaInnen = kappaInnen;
        kappaAussen = kappaInnen;
    }
}

}  // namespace

void Transportschritt(const RunParameters& p, NodeArray& XKnoten, SolverScratch& s, int f,
                      double theta) {
    const int nOrt = knoten(p);
    const int n = nOrt - f;
    s.dtdx2 = p.deltaT / (p.Ortsschritt * p.Ortsschritt);
    assemble(p, XKnoten, s, f, theta);
    s.TriFaktor = 0;
    TridiagLoeser(n, s.TriD, s.TriA, s.TriC, s.TriB, s.TriFaktor, s.TriX, s.TriFehler, s.TriGamma,
                  s.TriBeta, s.TriY);
    for (int j = 1; j <= n; ++j)
        XKnoten[f + j] = s.TriX[j];
}

}  // namespace tesmo
