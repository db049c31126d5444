// An uncertainty study as the library runs it: the base case, the uncertain inputs with their
// distributions, how many cases to draw and how, and which results to analyse.
//
// Inputs scatter independently of each other, each after its own distribution, except the
// inputs of a correlated normal block (the parameters of a fit, with the fit's covariance):
// those scatter together. For the sensitivity indices every independent input is a group of
// its own and every block one group: inputs that are correlated cannot be told apart by how
// much of the spread each causes, but the group as a whole can.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/file_problem.h"
#include "files/uncertainty_file.h"
#include "model/inputs.h"

namespace tesmo {

// One input that scatters on its own: after one of the file's four distributions, or after any
// one-dimensional continuous OpenTURNS distribution named by its class and its parameters (as
// the Python package passes them on).
struct Marginal {
    Control field = Control::txt_Dicke;
    DistributionSpec spec;
    std::string library;             // e.g. "Beta"; empty: `spec` applies
    std::vector<double> parameters;  // the library distribution's parameters, in its order
};

enum class Scale : std::uint8_t {
    Linear,  // the input is the normal variable itself
    Log,     // the input is exp of the normal variable (a parameter fitted on a log scale)
};

// Inputs that scatter together after one multivariate normal distribution.
struct CorrelatedNormal {
    std::vector<Control> fields;
    std::vector<double> mean;        // on each field's scale
    std::vector<double> covariance;  // row after row, fields² numbers; symmetric, positive definite
    std::vector<Scale> scale;        // one per field (empty: all linear)
    std::string source;              // where it comes from, for the report (a fit file)
    // The fit file this block was read from, as a path that opens it from the working folder
    // (`source` is how the study names it); empty for a block given in code, which a study file
    // cannot hold.
    std::string fitPath{};
};

struct Limit {
    std::size_t column = 0;  // into resultColumns()
    LimitSide side = LimitSide::Above;
    double value = 0;  // in the study table's unit of the column
};

struct UncertaintyPlan {
    std::string name;  // the study's file as the user named it; empty for one built in code
    InputTexts base = defaultInputTexts();
    std::vector<Marginal> marginals;
    std::vector<CorrelatedNormal> correlated;
    std::size_t samples = 1000;
    SampleDesign design = SampleDesign::Lhs;
    std::uint64_t seed = 1;
    IndexMethod indices = IndexMethod::Auto;
    std::vector<std::size_t> results;  // columns of resultColumns(), at least one
    std::vector<Limit> limits;
};

// The groups of inputs the sensitivity indices speak of, in the order of the sample's columns:
// each marginal on its own, then each correlated block.
struct InputGroup {
    std::vector<Control> fields;
    bool correlated = false;
    std::string name;  // "txt_mue", or "txt_Feuchteleit + txt_KappaSteig" for a block
};
std::vector<InputGroup> inputGroups(const UncertaintyPlan& plan);
// The sampled inputs, one column each: the marginals' fields, then each block's.
std::vector<Control> sampledFields(const UncertaintyPlan& plan);

// The names results and limits may use: the study table's result columns.
std::vector<std::string> resultNames();

// The fitted inputs of a fit file (at `path`; `written` is how the study names it) as one
// correlated normal block: the fitted values as its mean, the fit's covariance, each input on
// the scale it was fitted on (the logarithm of a log-fitted input is normal). Refuses, naming
// the fit file, a fit file that cannot be read, one without a saved result or without its
// covariance, and an input the measurements did not determine (variance "inf"): it could take
// any value, and a study that drew it from anything else would report too narrow a spread.
bool fitBlock(const std::string& written, const std::string& path, CorrelatedNormal& out,
              FileProblem& problem);

// A fit line's path made usable: relative to the folder of the study file `studyPath`.
std::string fitFileBeside(const std::string& studyPath, const std::string& written);
// The other way: how a study file at `studyPath` names the fit file at `fitFile` (a usable
// path): relative to the study's folder, absolute where no relative path leads there.
std::string fitPathFrom(const std::string& studyPath, const std::string& fitFile);

// The plan of a file read by readUncertaintyFile; `displayName` is the study file's path as the
// user named it, and a relative fit path starts from its folder. Refuses, with the file and
// line, a fit line whose fit cannot be used (see fitBlock).
bool planOf(const UncertaintyFile& file, const std::string& displayName, UncertaintyPlan& out,
            FileProblem& problem);
// readUncertaintyFile and planOf in one.
bool readUncertaintyPlan(const std::string& path, UncertaintyPlan& out, FileProblem& problem);
// The file of a plan, to be saved at `studyPath`: a block from a fit file becomes its fit line
// again, naming the fit file from the study's folder (with no `studyPath`: as the block's
// source names it). Marginals of a library distribution, blocks given in code and a second fit
// cannot be written; refused as unsupported.
bool uncertaintyFileOf(const UncertaintyPlan& plan, UncertaintyFile& out, FileProblem& problem,
                       const std::string& studyPath = {});

// The lower Cholesky factor `l` of the symmetric n × n matrix `a` (both row after row), so that
// a = l·lᵀ; false when `a` is not positive definite (a pivot at or below rounding).
bool choleskyLower(const std::vector<double>& a, std::size_t n, std::vector<double>& l);

// What is wrong with a plan built in code (German, empty when it can run): an input twice, a
// covariance that is not positive definite, a library distribution OpenTURNS cannot build, …
std::string checkPlan(const UncertaintyPlan& plan);

}  // namespace tesmo
