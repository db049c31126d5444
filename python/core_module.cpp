// tesmo._core: the C++ side of the Python package tesmo (see tesmo/__init__.py).
#include "python/binding.h"

PYBIND11_MODULE(_core, m) {
    m.doc() = "The drying model, its case files and its parameter study; use the package tesmo.";
    tesmo::registerRun(m);
    tesmo::registerStudy(m);
    tesmo::registerFiles(m);
    tesmo::registerOptions(m);
    tesmo::registerFit(m);
    tesmo::registerUncertainty(m);
    // Runs and studies in other threads stop when the interpreter ends (see stopRunsAtExit).
    pybind11::module_::import("atexit").attr("register")(
        pybind11::cpp_function([] { tesmo::stopRunsAtExit(); }));
}
