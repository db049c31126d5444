// Section 6 of the report: surface flux, a water-load-dependent conductivity and the receding
// drying front, each against a reference solution.
#include <cmath>

#include "verify/report.h"

namespace tesmo {

namespace {

constexpr int kCurveSamples = 201;

// The observed order between the last two points of a refinement by 2.
template <class Point, class Error>
double lastOrder(const std::vector<Point>& points, Error error) {
    const std::size_t n = points.size();
    return observedOrder(error(points[n - 2]), error(points[n - 1]), 2);
}

// --- 6.1 ---------------------------------------------------------------------------------------

std::string fluxTable(const FluxStudy& s) {
    MarkdownTable t({"κ·Δt/Δx²", "nOrt", "Δτ", "Oberfläche (X0 + X1)/2 erreicht X_k",
                     "Hilfsknoten X0 erreicht X_k", "Mittelwert bei τ_k"},
                    "rrrrrr");
    for (const FluxSeries& series : s.series) {
        for (const FluxPoint& p : series.points) {
            t.row({zahl(series.fourier, 2), std::to_string(p.nOrt), zahl(p.dtau, 2),
                   prozentMitVorzeichen(100 * (p.tauSurface / s.tauExact - 1), 2),
                   prozentMitVorzeichen(100 * (p.tauHelper / s.tauExact - 1), 2),
                   prozentMitVorzeichen(100 * p.meanError, 2)});
        }
    }
    return t.str();
}

std::string fluxText(const FluxStudy& s) {
    const FluxSeries& small = s.series.front();
    const FluxSeries& large = s.series.back();
    const auto surface = [&](const FluxPoint& p) { return p.tauSurface / s.tauExact - 1; };
    const auto helper = [&](const FluxPoint& p) { return p.tauHelper / s.tauExact - 1; };
    const auto mean = [](const FluxPoint& p) { return p.meanError; };
    const FluxPoint& atDefault = large.points[2];
    return "**Befund.** Der Oberflächenwert erreicht die Grenze zu spät, und das Profil hält zu "
           "viel Wasser: Der Hilfsknoten wird aus dem Profil vor dem Schritt gesetzt, im Schritt "
           "fließt daher F + κ·ΔX1/Δx statt F, mit ΔX1 < 0 also weniger; dazu führt der "
           "Symmetrieknoten an der Mittelebene Wasser zu (Abschnitt 1). Beides ist proportional "
           "zu κ·Δt/Δx, bei festem κ·Δt/Δx² also von erster Ordnung im Ort (beobachtet " +
           ordnung(lastOrder(large.points, surface)) + " für die Oberfläche und " +
           ordnung(lastOrder(large.points, mean)) +
           " für den Mittelwert bei κ·Δt/Δx² = " + zahl(large.fourier, 2) +
           "). Der Hilfsknoten liegt einen halben Knotenabstand außerhalb der Platte und fällt "
           "um F·Δx/(2·ρ·κ) tiefer als die Oberfläche; bei kleinem κ·Δt/Δx² erreicht er die "
           "Grenze daher zu früh (Ordnung " +
           ordnung(lastOrder(small.points, helper)) +
           "), bei großem zu spät, dazwischen heben sich beide Fehler zufällig auf. Das Ende des "
           "ersten Abschnitts, das das Modell mit X0 < 0 erkennt, hat so einen Fehler erster "
           "Ordnung, dessen Vorzeichen vom Verhältnis der Schritte abhängt. Bei κ·Δt/Δx² = " +
           zahl(large.fourier, 2) + " (im Standardfall ist es zu Beginn etwa 2,5) und nOrt = " +
           std::to_string(atDefault.nOrt) + " hält das Profil zur Zeit τ_k " +
           prozent(100 * atDefault.meanError, 1) +
           " mehr Wasser, als abgegeben sein müsste – bei einem Strom, der die Oberfläche schon "
           "bei τ_k = " +
           fest(s.tauExact, 3) +
           " austrocknet; im Standardfall endet der erste Abschnitt erst bei τ = κ·t/a² ≈ 4 (mit "
           "κ bei der Anfangswasserbeladung), der Fehler verteilt sich dort auf weit mehr "
           "abgegebenes Wasser.\n\n";
}

// --- 6.2 ---------------------------------------------------------------------------------------

std::string similarityTable(const SimilarityStudy& s) {
    const std::vector<SimilarityPoint>& p = s.points;
    MarkdownTable t({"nOrt", "Δt in s", "größte Abweichung des Profils in kg/kg", "Ordnung",
                     "entzogenes Wasser gegen die Referenz"},
                    "rrrrr");
    for (std::size_t i = 0; i < p.size(); ++i) {
        t.row({std::to_string(p[i].nOrt), zahl(p[i].dt, 3), zahl(p[i].profileError, 2),
               i == 0 ? "" : ordnung(observedOrder(p[i - 1].profileError, p[i].profileError, 2)),
               prozentMitVorzeichen(100 * p[i].removedError, 3)});
    }
    return t.str();
}

Figure similarityFigure(const SimilarityStudy& s) {
    Figure f;
    f.file = "rand_aehnlichkeit.svg";
    f.caption =
        "Bild 6.1: Profil der Platte mit der Feuchteleitfähigkeit des Standardfalls bei t = " +
        fest(s.tEnd, 0) + " s, Ähnlichkeitslösung gegen das Modell mit nOrt = " +
        std::to_string(s.points.front().nOrt);
    f.spec.xTitle = "Tiefe x in mm";
    f.spec.yTitle = "Wasserbeladung X in kg/kg";
    const double root = std::sqrt(s.tEnd);
    const double xEnd = s.coarseX.back() / 2;  // the half towards the surface holds the profile
    std::vector<double> x, X;
    for (int i = 0; i < kCurveSamples; ++i) {
        const double depth = xEnd * i / (kCurveSamples - 1);
        const double eta = depth / root;
        std::size_t j = 1;
        while (j + 1 < s.reference.eta.size() && s.reference.eta[j] < eta)
            ++j;
        const double w =
            (eta - s.reference.eta[j - 1]) / (s.reference.eta[j] - s.reference.eta[j - 1]);
        x.push_back(1000 * depth);
        X.push_back(s.reference.X[j - 1] +
                    std::min(1.0, w) * (s.reference.X[j] - s.reference.X[j - 1]));
    }
    f.spec.series.push_back(series("Ähnlichkeitslösung", x, X, kBlack, true, false));
    std::vector<double> mx, mX;
    for (std::size_t i = 0; i < s.coarseX.size() && s.coarseX[i] <= xEnd; ++i) {
        mx.push_back(1000 * s.coarseX[i]);
        mX.push_back(s.coarseLoad[i]);
    }
    f.spec.series.push_back(series("Modell, nOrt = " + std::to_string(s.points.front().nOrt), mx,
                                   mX, seriesColour(1), false, true));
    return f;
}

// --- 6.3 ---------------------------------------------------------------------------------------

std::string frontTable(const FrontStudy& s) {
    MarkdownTable t({"nOrt", "Ankunft an der Mittelebene", "gegen die Referenz", "Ordnung",
                     "Spiegeltiefe minus Wassertiefe: Mittel", "kleinste", "größte"},
                    "rrrrrrr");
    const auto error = [&](const FrontPoint& p) { return p.arrival / s.arrivalRef - 1; };
    for (std::size_t i = 0; i < s.points.size(); ++i) {
        const FrontPoint& p = s.points[i];
        t.row({std::to_string(p.nOrt), dauer(p.arrival), prozentMitVorzeichen(100 * error(p), 2),
               i == 0 ? "" : ordnung(observedOrder(error(s.points[i - 1]), error(p), 2)),
               fest(p.offsetMean, 2) + " Δx", fest(p.offsetMin, 2) + " Δx",
               fest(p.offsetMax, 2) + " Δx"});
    }
    return t.str();
}

Figure frontFigure(const FrontStudy& s) {
    Figure f;
    f.file = "rand_spiegel.svg";
    f.caption = "Bild 6.2: Tiefe des Trocknungsspiegels über √t, nOrt = " +
                std::to_string(s.points.front().nOrt) +
                ": die Spiegeltiefe des Modells, die Tiefe nach dem entzogenen Wasser und das "
                "Wurzelgesetz";
    f.spec.xTitle = "√t in √s";
    f.spec.yTitle = "Tiefe unter der Oberfläche in mm";
    f.spec.series.push_back(
        series("Wurzelgesetz s = √(2·K·t/(ρ·X_w))", s.rootT, s.depthRef, kBlack, true, false));
    f.spec.series.push_back(
        series("Spiegeltiefe des Modells", s.rootT, s.depthModel, seriesColour(0), true, false));
    f.spec.series.push_back(series("Tiefe nach entzogenem Wasser", s.rootT, s.depthWater,
                                   seriesColour(1), true, false, true));
    return f;
}

}  // namespace

ReportSection boundarySection(const FluxStudy& flux, const SimilarityStudy& similarity,
                              const FrontStudy& front) {
    ReportSection r;
    r.add("## 6 Randstrom, nichtlineare Feuchteleitung und Trocknungsspiegel\n\n");
    r.add(
        "Abschnitt 1 prüft den Feuchteschritt mit festgehaltener Oberfläche und konstanter "
        "Feuchteleitfähigkeit. Im Trocknungslauf hat er drei andere Aufgaben: Im ersten "
        "Abschnitt gibt die Oberfläche einen Strom vor, die Feuchteleitfähigkeit hängt von der "
        "Wasserbeladung ab, und im zweiten Abschnitt wandert ein Trocknungsspiegel in die "
        "Platte. Jede wird hier gegen eine Lösung geprüft, die nicht aus dem Verfahren des "
        "Modells stammt; gerufen werden die Funktionen des Modells selbst (model/transport.h, "
        "model/second_period.h).\n\n");

    r.add("### 6.1 Konstanter Oberflächenstrom\n\n");
    r.add("Die Platte aus Abschnitt 1 (κ = " + zahl(flux.sheet.kappa, 4) +
          " m²/s, a = " + fest(flux.sheet.a * 1000, 2) +
          " mm) beginnt gleichförmig bei X_A = " + fest(kSheetXStart, 2) +
          " kg/kg und gibt ab t = 0 an beiden Seiten den festen Strom F ab, wie im ersten "
          "Trocknungsabschnitt. Referenz ist die Reihenlösung für die ebene Platte mit "
          "konstantem Randstrom (Crank, *The Mathematics of Diffusion*, 2. Aufl., Abschnitt "
          "4.3.3):\n\n"
          "X_Oberfläche = X_A − F·a/(ρ·κ)·b(τ), b(τ) = τ + 1/3 − (2/π²)·Σ_{n≥1} "
          "exp(−n²π²τ)/n², X̄ = X_A − F·t/(ρ·a), τ = κ·t/a².\n\n"
          "F ist so gewählt, dass F·a/(ρ·κ·(X_A − X_k)) = " +
          fest(kFluxNumber, 0) + "; die Oberfläche erreicht die Grenze X_k = " +
          fest(kSheetXFace, 2) + " kg/kg dann bei τ_k = " + fest(flux.tauExact, 5) +
          ". Das Modell setzt den Hilfsknoten 0 außerhalb der Platte so, dass der Fluss "
          "zwischen ihm und Knoten 1 für das Profil vor dem Schritt gerade F ist; die "
          "Oberfläche liegt zwischen beiden, ihr Wert ist (X0 + X1)/2. Das Ende des ersten "
          "Abschnitts erkennt es am Hilfsknoten selbst (X0 < 0). Gemessen wird, wann "
          "Oberflächenwert und Hilfsknoten X_k erreichen (relativ zu τ_k), und der Fehler der "
          "mittleren Beladung der Knoten 1 … nOrt zur Zeit τ_k, bezogen auf das bis dahin "
          "abgegebene Wasser. Orts- und Zeitschritt werden gemeinsam verfeinert, κ·Δt/Δx² "
          "bleibt fest.\n\n");
    r.add(fluxTable(flux));
    r.add(fluxText(flux));

    const SimilarityStudy& s = similarity;
    r.add("### 6.2 Feuchteleitfähigkeit abhängig von der Wasserbeladung\n\n");
    r.add(
        "Der Standardfall unterhalb seiner Schwindungsgrenze, bei 25 °C und mit seinem "
        "Gesetz der Feuchteleitfähigkeit: Zwischen X_A = " +
        fest(kSheetXStart, 2) + " und X_R = " + fest(kSheetXFace, 2) + " kg/kg fällt κ von " +
        zahl(s.kappaMax, 3) + " auf " + zahl(s.kappaMin, 3) + " m²/s, um den Faktor " +
        fest(s.kappaMax / s.kappaMin, 1) +
        ". Die Oberfläche wird ab t = 0 auf X_R gehalten. Solange die Trocknung die Mitte "
        "nicht erreicht, verhält sich die Platte wie ein Halbraum, dessen Profil nur von "
        "η = x/√t abhängt (Boltzmann-Transformation):\n\n"
        "(κ(X)·X′)′ + (η/2)·X′ = 0, X(0) = X_R, X(∞) = X_A.\n\n"
        "Die Referenz löst diese Gleichung durch Schießen auf den Randstrom mit einem "
        "Runge-Kutta-Verfahren vierter Ordnung in η; entzogen ist dann ρ·√t·∫(X_A − X) dη. "
        "Das Modell rechnet bis t = " +
        fest(s.tEnd, 1) + " s (κ_max·t/a² = " + fest(kSimilarityTau, 2) +
        ", die Mitte bleibt unberührt), Orts- und Zeitschritt gemeinsam verfeinert mit "
        "κ_max·Δt/Δx² = " +
        fest(kSimilarityFourier, 1) +
        "; verglichen werden die Knoten mit der Referenz an derselben Tiefe und das entzogene "
        "Wasser (Trapezregel über die Knoten).\n\n");
    r.add(similarityTable(s));
    const auto profile = [](const SimilarityPoint& p) { return p.profileError; };
    r.add("**Befund.** Das Profil nähert sich der Ähnlichkeitslösung mit der Ordnung " +
          ordnung(lastOrder(s.points, profile)) +
          " (zweite Ordnung, wie für die konstante Feuchteleitfähigkeit in Abschnitt 1): Die "
          "Leitfähigkeit zwischen zwei Knoten aus ihrer mittleren Beladung ist auch bei einem "
          "Gesetz, das sich über eine Zehnerpotenz ändert, genau genug. Die größte Abweichung "
          "liegt an den ersten Knoten unter der Oberfläche, wo das Profil bei kleiner "
          "Leitfähigkeit steil ist; auf dem gröbsten Gitter liegen dort nur ein, zwei Knoten. "
          "Das entzogene Wasser trifft die Referenz ab nOrt = " +
          std::to_string(s.points[1].nOrt) + " auf " +
          prozent(100 * std::max(std::abs(s.points[1].removedError),
                                 std::max(std::abs(s.points[2].removedError),
                                          std::abs(s.points[3].removedError))),
                  2) +
          " genau.\n\n");
    r.add(similarityFigure(s));

    const FrontStudy& f = front;
    r.add("### 6.3 Der Trocknungsspiegel\n\n");
    r.add(
        "Die Mechanik des zweiten Abschnitts allein: Die Platte des Standardfalls, gleichförmig "
        "bei X_w = " +
        fest(kFrontLoad, 2) +
        " kg/kg und mit einer so kleinen Feuchteleitfähigkeit, dass die feuchte Zone ihr Wasser "
        "behält, verliert am Trocknungsspiegel Wasser mit der Rate K/s eines "
        "diffusionsbestimmten Spiegels in der Tiefe s (der Dampf durchquert die trockene "
        "Schicht der Dicke s bei festem Druckunterschied). Die Massenbilanz ρ·X_w·ds/dt = K/s "
        "gibt das Wurzelgesetz s = √(2·K·t/(ρ·X_w)) und die Ankunft an der Mittelebene bei "
        "t = ρ·X_w·a²/(2·K), hier mit K = " +
        zahl(f.K, 3) + " kg/(m s) bei " + dauer(f.arrivalRef) +
        ". Getragen wird der Spiegel von den Funktionen des Modells: Spiegelsuche "
        "(`frontSuche`), Spiegeltiefe (`spiegeltiefe`), der Randwert am Spiegel, der die Rate "
        "mit der Leitfähigkeit der trockenen Masse trägt, und der implizite Schritt auf der "
        "feuchten Zone; die Rate rechnet mit der Spiegeltiefe des Modells, Δt = " +
        zahl(kFrontStep, 1) +
        " s. Verglichen werden die Ankunft an der Mittelebene und die Spiegeltiefe mit der "
        "Tiefe, die das entzogene Wasser angibt, (entzogenes Wasser je m²)/(ρ·X_w).\n\n");
    r.add(frontTable(f));
    const FrontPoint& coarse = f.points.front();
    r.add("**Befund.** Die Spiegeltiefe des Modells liegt " + fest(coarse.offsetMin, 1) + " bis " +
          fest(coarse.offsetMax, 1) + " Knotenabstände, im Mittel " + fest(coarse.offsetMean, 1) +
          ", tiefer als die Tiefe nach dem entzogenen Wasser: Sie zählt vom Hilfsknoten 0, einen "
          "halben Knotenabstand außerhalb der Oberfläche, und legt noch einen halben Knoten zu; "
          "solange ein Knoten geleert wird, steht sie am Ende seiner Schicht. Die Rate, die mit "
          "ihr rechnet, ist entsprechend kleiner, und der Spiegel erreicht die Mittelebene so "
          "spät, als wäre die Platte einen Knotenabstand dicker: um etwa 2·Δx/a, erste Ordnung "
          "im Ort. Im Standardfall (nOrt = 100) wären das bei einem rein diffusionsbestimmten "
          "Spiegel 2 % der Dauer des zweiten Abschnitts.\n\n");
    r.add(frontFigure(f));
    return r;
}

}  // namespace tesmo
