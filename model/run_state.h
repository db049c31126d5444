// The run state: every quantity of one drying run in one record.
//
// The program keeps a single instance for its whole life (see programRunState()); a new Start
// overwrites what the run writes and nothing clears it between runs, so fields that a run does
// not touch keep their values from the run before. All storage is fixed in size: the node and
// solver arrays hold 502 entries (nodes 0 to nOrt+1 with nOrt <= 500), the ten histories and
// the air's water load beside them 500001 records each. Nothing is allocated while a run steps.
//
// Units inside the model: temperatures in °C, vapour pressures in bar (total pressure 1 bar),
// water loads in kg/kg dry basis, lengths in m, heat-transfer coefficients and conductivities
// in kW, heat flux densities in kW/m², mass flux densities in kg/(m² s) (negative while water
// leaves the plate), time in s.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "model/run_options.h"

namespace tesmo {

inline constexpr int kNodeArraySize = 502;   // indices 0..501
inline constexpr int kMaxNodes = 500;        // nOrt; the mirror node nOrt+1 must fit
inline constexpr int kHistorySize = 500001;  // records 0..500000
inline constexpr int kMaxHistoryIndex = kHistorySize - 1;

using NodeArray = std::array<double, kNodeArraySize>;
using HistoryArray = std::array<double, kHistorySize>;

// Why a run ended. The first three are the regular ends; the last three are the guards that
// keep a run from writing past the histories, showing values that are not numbers, or
// reporting a computation that has left physics as a result.
enum class RunEnd : std::uint8_t {
    None,         // no run has ended yet (or one is in progress)
    Target,       // the mean water load reached XZiel
    Midplane,     // the drying front reached the mid-plane
    Stopped,      // the user pressed Stop (or closed the window)
    HistoryFull,  // the run needed more history records than the arrays hold
    NonFinite,    // a non-finite value appeared in the run state
    Unstable,     // the step left physics: air below absolute zero or with less than no water,
                  // or a plate gaining water
};

// What a run is given: the seventeen inputs after conversion and everything the set-up (and
// the first period's preparation, for the grid) derives from them. Written before the first
// time step, then only read; a function that takes these as const cannot change the run's
// premises.
struct RunParameters {
    // the two flag constants of the first-period state
    int Laeuft = 1;
    int Beendet = 0;

    // --- inputs after conversion (read in this order at set-up) ----------------------------
    double nOrt = 0;          // intervals over the half thickness (a whole number once accepted)
    double Dicke = 0;         // m; green thickness when read, dry thickness after set-up
    double rhos = 0;          // kg/m³ dry mass of the dried plate
    double XAnf = 0;          // kg/kg initial water load
    float XZiel = 0;          // kg/kg target water load, single precision
    double thetaLuft = 0;     // °C exhaust air
    double phiAbluft = 0;     // fraction
    double alpha = 0;         // kW/(m² K)
    double lambda = 0;        // kW/(m K)
    double thetaAussen = 0;   // °C
    double phiAussen = 0;     // fraction
    double mue = 0;           // vapour-diffusion resistance factor
    double deltaT = 0;        // s
    double rund = 0;          // time steps per drawn profile curve
    double linTrSchwind = 0;  // % linear drying shrinkage
    double Feuchteleit = 0;   // m²/s moisture conductivity at 0.25 kg/kg and 25 °C
    double KappaSteig = 0;    // slope of log10(kappa) below the limit moisture

    // --- run modes, taken with the texts -------------------------------------------------------
    RunOptions optionen{};

    // --- derived at set-up -------------------------------------------------------------------
    double s = 0;  // total linear shrinkage as a fraction
    double spezOberfl = 0;
    double pvAbluft = 0;
    double thetaKG = 0;   // wet-bulb temperature of the exhaust air
    double thetaKG0 = 0;  // its copy, the bottom of the time chart's temperature scale
    double pvAussen = 0;
    float XAussen = 0;  // single precision
    double LuftRohlingVerh = 0;
    double rhosRoh = 0;
    double psiRoh = 0;
    double offPoren = 0;
    double XSchwEnde = 0;
    double s25 = 0;
    double rhos25 = 0;
    double psi25 = 0;
    double FeuchteleitGrenz = 0;

    // --- grid, fixed by the first period's preparation ---------------------------------------
    double Ortsschritt = 0;  // m, node spacing over the dry half thickness
    double KurvenDx = 0;     // profile-chart units per node interval
};

// What a run computes as it goes: the air at the plate's position, the water-load profile, the
// time-loop scalars, the state of the drying front, the evaluation's results and how the run
// ended. Start overwrites what a run writes; nothing clears it between runs.
struct RunVariables {
    // --- run-control flags -------------------------------------------------------------------
    std::int16_t PauseFlag = 0;
    int StopFlag = 0;

    // --- the air at the plate's current position ---------------------------------------------
    double XAbluft = 0;       // water load (the exhaust air's at Start)
    double thetaLuftMom = 0;  // temperature
    double thetaOb = 0;       // its wet-bulb temperature (the wet surface's temperature)
    double pvLuft = 0;        // its vapour partial pressure

    // --- the water-load profile, nodes 0 (surface) to nOrt (mid-plane) and the mirror node ---
    NodeArray XKnoten{};

    // --- time loop -----------------------------------------------------------------------------
    double Laufzeit = 0;
    int KurvenZaehler = 0;
    int HistIndex = 0;
    double Xmom = 0;
    double XmomBilanz = 0;
    double mPunkt = 0;
    double mPunktAlt = 0;
    double qRand = 0;
    double Anfangsrate = 0;
    double RateMax = 0;
    int Zustand1 = 1;
    double t1xse = 0;
    double t2xse = 0;
    double SchwindGrad = 0;
    double SchwindGradMax = 0;
    double SchwindDiffMax = 0;  // % surface–core shrinkage difference at the steepest gradient
    double XEnde = 0;
    double thetaKernVorher = 0;
    float dThetaKern = 0;  // single precision
    double thetaOberfl = 0;
    double thetaKern = 0;
    double t1TA = 0;
    double X1TA = 0;

    // first period: air-state advance
    double XLuftAlt = 0, XLuftNeu = 0, thetaLuftAlt = 0, thetaLuftNeu = 0;

    // second period: drying front and its temperature
    double mWaerme = 0;
    double mDiffusion = 0;
    double thetaUnten = 0;
    double thetaOben = 0;
    double DiffLeit = 0;
    double thetaKernAlt = 0;
    int FrontKnoten = 0;
    double Spiegeltiefe = 0;
    int nIterKern = 0;         // never reset by Start
    std::int16_t mGlaett = 0;  // smoothing weight, 16-bit signed

    // evaluation results (shown, kept until the next run)
    double spezEnergie = 0;
    double relEnergie = 0;
    double Wasserfehler = 0;

    // profile-chart shrinkage scale
    double sTick = 0;
    double XTick = 0;

    // how the last run ended
    RunEnd Laufende = RunEnd::None;
};

// The working arrays of the implicit moisture step: assembled, solved and overwritten in every
// time step; nothing in them carries over from one step to the next.
struct SolverScratch {
    double KappaAussen = 0;
    double KappaInnen = 0;
    double dtdx2 = 0;
    int TriFaktor = 0;
    int TriFehler = 0;
    NodeArray TriA{}, TriB{}, TriC{}, TriD{}, TriX{}, TriGamma{}, TriBeta{};
    std::array<float, kNodeArraySize> TriY{};  // forward-substitution values, single precision
};

// One record per stored time step: record 0 is the start state, record HistIndex the latest.
// The arrays have no initialiser on purpose: their 44 MB stay as the storage holds them when a
// run state is constructed. A run state is built in storage that is zero already and that no
// one has written (the blocks of programRunState() and newRunState()), so every record
// reads 0 while the operating system has not even mapped a page for it; a run then touches only
// the records it writes. (Value-initialisation, std::make_unique<RunState>(), zeroes them too,
// but writes every page.)
struct Histories {
    HistoryArray VerlaufXmom;
    HistoryArray VerlaufXOb;
    HistoryArray VerlaufXK;
    HistoryArray VerlaufSpiegel;
    HistoryArray VerlaufThetaLuft;
    HistoryArray VerlaufThetaOb;
    HistoryArray VerlaufThetaK;
    HistoryArray VerlaufRate;
    HistoryArray VerlaufSchwindOb;
    HistoryArray VerlaufSchwindK;

    // Beside the ten: the water load of the air at the plate's position (kg/kg dry air), in
    // the same records. It traces the air's path through the dryer for the h,x diagram; no
    // file column, display or result depends on it, and the evaluation leaves it as stored.
    HistoryArray VerlaufXLuft;
};

// The ten histories by name, in the order in which files and tables list them.
struct HistoryColumn {
    const char* name;
    HistoryArray Histories::*array;
};
inline constexpr std::array<HistoryColumn, 10> kHistoryColumns = {{
    {"VerlaufXmom", &Histories::VerlaufXmom},
    {"VerlaufXOb", &Histories::VerlaufXOb},
    {"VerlaufXK", &Histories::VerlaufXK},
    {"VerlaufSpiegel", &Histories::VerlaufSpiegel},
    {"VerlaufThetaLuft", &Histories::VerlaufThetaLuft},
    {"VerlaufThetaOb", &Histories::VerlaufThetaOb},
    {"VerlaufThetaK", &Histories::VerlaufThetaK},
    {"VerlaufRate", &Histories::VerlaufRate},
    {"VerlaufSchwindOb", &Histories::VerlaufSchwindOb},
    {"VerlaufSchwindK", &Histories::VerlaufSchwindK},
}};

// The whole run in one record. Functions that need only a part take that part, so their
// signature shows what they read and what they write.
struct RunState : RunParameters, RunVariables, SolverScratch, Histories {};

// Returns the state to what a freshly started program holds, without giving up its storage:
// every parameter, variable and scratch value to its initial value, and the history records
// the previous run wrote back to 0 (records beyond them are still 0 from the start).
void resetToFreshProgram(RunState& st);

// Node count as the loops use it. Accepted input makes nOrt a whole number from 1 to 500.
inline int knoten(const RunParameters& st) {
    return static_cast<int>(st.nOrt);
}

// The one instance the program uses, made on first use and kept for the program's whole life.
// Throws std::bad_alloc when the memory is not there.
RunState& programRunState();

// Frees a run state from newRunState().
struct RunStateRelease {
    void operator()(RunState* st) const;
};
using RunStateOwner = std::unique_ptr<RunState, RunStateRelease>;

// A run state of its own, as a freshly started program holds it, in memory that comes zeroed
// from the operating system and stays untouched until a run writes it: a study's worker costs
// what its runs use, not 40 MB each. Throws std::bad_alloc when the memory is not there.
RunStateOwner newRunState();

// A history-sized array of zeros (e.g. the times of the records) on the same terms.
struct HistoryArrayRelease {
    void operator()(HistoryArray* a) const;
};
using HistoryArrayOwner = std::unique_ptr<HistoryArray, HistoryArrayRelease>;
HistoryArrayOwner newHistoryArray();

}  // namespace tesmo
