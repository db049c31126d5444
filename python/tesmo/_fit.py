"""Fitting inputs to measured drying curves: tesmo.fit(), its FitResult, measurement files."""

import collections
import math
import numbers
import os
import sys
import time

import numpy as np
import pandas as pd

from . import _core
from ._study import jobs_argument, progress_argument
from ._inputs import INPUT_NAMES, RUN_OPTIONS, case_path, is_path, options_of, texts_of

FitProgress = collections.namedtuple(
    "FitProgress", "start starts iteration cost best_cost runs seconds"
)
FitProgress.__doc__ = """How far a fit is: the start that reports (from 1) of all starts, its
iteration and weighted sum of squares, the lowest of all starts so far, the model runs so far and
the seconds since the fit began."""

QUANTITIES = ("X", "m_g", "thetaOb", "schwind")


def read_measurement(path):
    """A measurement file (CSV) as a pandas DataFrame.

    The index, named "t_s", is the time in seconds since the start of drying (whatever time
    column the file has: t_s, t_min, t_h or Zeit as h:mm:ss); the columns are the quantities the
    file measures (X in kg/kg, m_g in g, thetaOb in °C, schwind in %), NaN for an empty cell.
    Raises OSError when the system refuses the file and ValueError, with the program's German
    message naming file and line, when its content is refused.
    """
    raw = _core.read_measurement(case_path(path))
    index = pd.Index(raw["time"], name="t_s")
    return pd.DataFrame({name: raw["values"][name] for name in QUANTITIES if name in raw["values"]},
                        index=index)


def read_fit(path):
    """A fit file (*.tgfit) as a dict.

    "series": a list of dicts with "measurement" and "case" (paths resolved from the file's
    folder), "name" (the measurement as written), "trockenmasse_g" and run modes where the line
    gives them; "parameters": input -> (start, lower, upper); "starts", "seed", "iterations";
    "sigma": quantity -> noise where given; and, when the file holds a fit's outcome, "result":
    {"names", "values", "scales" ("log" or "linear"), "covariance" (a NumPy array in those
    scales, the natural logarithm's for "log"; None when not saved)}.
    """
    return _core.read_fit(case_path(path))


def _number(value, what):
    if isinstance(value, bool) or not isinstance(value, (numbers.Real, str)):
        raise TypeError(f"{what} is a number, not {type(value).__name__}")
    if isinstance(value, str):
        try:
            return float(value.strip().replace(",", "."))
        except ValueError:
            raise ValueError(f"{what}: {value!r} is not a number") from None
    return float(value)


def _series_specs(series):
    """(measurement path, name, 17 texts, run modes, dry mass) for each series given."""
    if not series:
        raise ValueError("a fit needs at least one series")
    specs = []
    for entry in series:
        if isinstance(entry, (tuple, list)):
            entry = dict(zip(("measurement", "case"), entry))
        if not isinstance(entry, dict) or "measurement" not in entry:
            raise TypeError("a series is a dict with 'measurement' and 'case' or a pair of them")
        unknown = set(entry) - {"measurement", "case", "name", "trockenmasse_g", *RUN_OPTIONS}
        if unknown:
            raise TypeError("unknown series keys " + ", ".join(map(repr, sorted(unknown))))
        measurement = entry["measurement"]
        case = entry.get("case")
        texts = texts_of(case)
        options = {**options_of(case), **{k: entry[k] for k in RUN_OPTIONS if k in entry}}
        options_of(options)  # checks the words
        dry = entry.get("trockenmasse_g")
        specs.append(
            (
                case_path(measurement),
                str(entry.get("name", os.fsdecode(measurement))),
                texts,
                options,
                math.nan if dry is None else _number(dry, "trockenmasse_g"),
            )
        )
    return specs


def _parameter_specs(parameters):
    if not isinstance(parameters, dict) or not parameters:
        raise TypeError("parameters is a dict input -> (start, lower, upper)")
    specs = []
    for name, bounds in parameters.items():
        if name not in INPUT_NAMES:
            raise TypeError(f"{name!r} is not an input; the inputs are " + ", ".join(INPUT_NAMES))
        if not isinstance(bounds, (tuple, list)) or len(bounds) != 3:
            raise TypeError(f"{name}: give (start, lower, upper)")
        specs.append((name, *(_number(v, name) for v in bounds)))
    return specs


class _ProgressLine:
    """A fit's progress on sys.stderr: rewritten in place on a terminal and in a notebook."""

    def __init__(self):
        self.in_place = sys.stderr.isatty() or "ipykernel" in sys.modules
        self.last = -math.inf

    def finish(self):
        if self.in_place and self.last > -math.inf:
            sys.stderr.write("\n")
            sys.stderr.flush()

    def __call__(self, p):
        now = time.monotonic()
        if now - self.last < (0.1 if self.in_place else 1.0):
            return
        self.last = now
        text = _core.fit_progress_text(*p)
        sys.stderr.write(("\r" + text + "   ") if self.in_place else text + "\n")
        sys.stderr.flush()


class FitResult:
    """What a fit found and how sure it is.

    values        input -> fitted value (in the units typed into the field)
    stderr        input -> standard error (infinite when the measurements do not depend on it)
    interval      input -> (low, high), the 95 % confidence interval
    determined    input -> whether the measurements determine it (relative standard error up
                  to 50 % and no correlation above 0.95 in magnitude)
    notes         input -> the German sentence for an input that is not determined
    correlation   the correlation matrix, a DataFrame indexed and labelled by input
    covariance    the covariance of the fitted coordinates (the natural logarithm for inputs
                  fitted on the logarithmic scale, see `scales`), a DataFrame
    scales        input -> "log" or "linear"
    residuals     a DataFrame: series, quantity, points, rms (in the quantity's unit)
    sigma         quantity -> the noise it was weighted with; sigma_estimated the same -> bool
    end           "converged", "max-iterations", "failed" or "cancelled"; message the German
                  reason or notes; cost, points, runs (model runs), seconds, starts (a DataFrame
                  of every start), best_start
    frame()       measured against simulated values: series, time (s), quantity, measured,
                  simulated, residual
    case()        the first series' case with the fitted values, a dict for tesmo.run()
    save(path)    a fit file with the fit's settings and outcome (tesmo-gegen-batch --fit runs
                  it; the outcome lines keep values, scales and covariance)
    """

    def __init__(self, raw, spec):
        self._raw = raw
        self._spec = spec
        params = raw["parameters"]
        names = [p["name"] for p in params]
        self.end = raw["end"]
        self.message = raw["message"]
        self.values = {p["name"]: p["value"] for p in params}
        self.stderr = {p["name"]: p["stderr"] for p in params}
        self.interval = {p["name"]: (p["low"], p["high"]) for p in params}
        self.determined = {p["name"]: p["determined"] for p in params}
        self.notes = {p["name"]: p["note"] for p in params if p["note"]}
        self.scales = {p["name"]: p["scale"] for p in params}
        self.correlation = pd.DataFrame(raw["correlation"], index=names, columns=names)
        self.covariance = pd.DataFrame(raw["covariance"], index=names, columns=names)
        self.residuals = pd.DataFrame(raw["residuals"], columns=["series", "quantity", "points", "rms"])
        self.sigma = {q: s for q, s, _ in raw["sigma"] if any(self.residuals["quantity"] == q)}
        self.sigma_estimated = {q: e for q, _, e in raw["sigma"] if q in self.sigma}
        self.cost = raw["cost"]
        self.points = raw["points"]
        self.runs = raw["runs"]
        self.seconds = raw["seconds"]
        self.best_start = raw["best_start"] + 1
        self.starts = pd.DataFrame(
            [
                {"start": s, "values": v, "cost": c, "iterations": i, "end": e}
                for s, v, c, i, e in raw["starts"]
            ]
        )

    @property
    def converged(self):
        return self.end == "converged"

    def frame(self):
        """Measured against simulated values, one row per measured value."""
        c = self._raw["comparison"]
        return pd.DataFrame(
            {
                "series": c["series"],
                "time": c["time"],
                "quantity": c["quantity"],
                "measured": c["measured"],
                "simulated": c["simulated"],
                "residual": c["residual"],
            }
        )

    def case(self):
        """The first series' case with the fitted values: a dict of the 17 texts (and its run
        modes where not at their default), for tesmo.run() or tesmo.write_case()."""
        if not self._raw["fitted_case"]:
            raise ValueError("the fit found no values: " + self.message)
        case = dict(zip(INPUT_NAMES, self._raw["fitted_case"]))
        case.update({k: v for k, v in self._spec["options"][0].items() if v != RUN_OPTIONS[k][0]})
        return case

    def save(self, path):
        """Saves the fit as a fit file (*.tgfit) with its outcome, atomically.

        Every series needs a case file (a series whose case was a dict has none: save it with
        tesmo.write_case first). The paths are written relative to the new file's folder.
        """
        folder = os.path.dirname(os.path.abspath(os.fsdecode(path)))
        lines = []
        for measurement, case, dry, options in self._spec["series"]:
            if case is None:
                raise ValueError("a series whose case is a dict has no case file to name")
            rel = [os.path.relpath(os.path.abspath(os.fsdecode(p)), folder) for p in (measurement, case)]
            lines.append((rel[0], rel[1], dry, options))
        result = None
        if self.values:
            names = list(self.values)
            result = (
                names,
                [self.values[n] for n in names],
                [self.scales[n] for n in names],
                self.covariance.to_numpy(np.float64),
            )
        s = self._spec
        _core.write_fit(case_path(path), lines, s["parameters"], s["starts"], s["seed"],
                        s["iterations"], s["sigma"], result)

    def __repr__(self):
        shown = ", ".join(
            f"{n}={v:.6g}±{self.stderr[n]:.2g}{'' if self.determined[n] else ' (nicht bestimmt)'}"
            for n, v in self.values.items()
        )
        return f"<tesmo.FitResult end={self.end!r} {shown}>"


def fit(spec=None, *, series=None, parameters=None, starts=None, seed=None, iterations=None,
        sigma=None, jobs=None, progress=False):
    """Fits inputs of the model to measured drying curves.

    Either a fit file:    tesmo.fit("versuch.tgfit")
    or its parts:         tesmo.fit(series=[...], parameters={"txt_Feuchteleit": (40, 5, 200)})

    series      a list of measured series, each a dict {"measurement": path of a measurement
                file, "case": a case-file path or a dict of inputs (the case it was measured
                under), "trockenmasse_g": the dry mass where the file has masses (m_g), and
                optionally run modes ("klima": "konstant")}, or a pair (measurement, case)
    parameters  input -> (start, lower bound, upper bound), in the units typed into the field;
                an input with a lower bound above 0 is fitted on the logarithmic scale
    starts      starting points: the given start and a seeded Latin hypercube in the bounds
                (default 1)
    seed        the Latin hypercube's seed (default 1)
    iterations  at most this many Levenberg–Marquardt iterations per start (default 100)
    sigma       quantity -> measurement noise in its unit (e.g. {"X": 0.002}); quantities not
                named have their noise estimated from the residuals
    jobs        model runs at a time (default: every core)
    progress    True: progress on stderr; or a callable called with a FitProgress

    The keyword form overrides the file's settings. Returns a FitResult (a fit that did not
    converge or could not be computed too: see its `end` and `message`). Raises OSError or
    ValueError (the program's German message naming file and line) for files that cannot be
    read, and KeyboardInterrupt on Ctrl+C, which stops the fit within about one model run.
    """
    file_sigma = {}
    settings = {"starts": 1, "seed": 1, "iterations": 100}
    if spec is not None:
        if not is_path(spec):
            raise TypeError("the first argument is the path of a fit file")
        f = read_fit(spec)
        if series is None:
            series = f["series"]
        if parameters is None:
            parameters = f["parameters"]
        settings = {name: f[name] for name in settings}
        file_sigma = f["sigma"]
    starts = settings["starts"] if starts is None else starts
    seed = settings["seed"] if seed is None else seed
    iterations = settings["iterations"] if iterations is None else iterations
    if series is None or parameters is None:
        raise TypeError("give a fit file or series and parameters")
    sigma = {**file_sigma, **({} if sigma is None else {q: _number(v, q) for q, v in sigma.items()})}
    series = [dict(zip(("measurement", "case"), s)) if isinstance(s, (tuple, list)) else s
              for s in series]
    series_specs = _series_specs(series)
    parameter_specs = _parameter_specs(parameters)
    jobs = jobs_argument(jobs)
    progress, show = progress_argument(progress, _ProgressLine, FitProgress)
    try:
        raw = _core.fit(series_specs, parameter_specs, int(starts), int(seed), int(iterations),
                        sigma, jobs, show)
    finally:
        if isinstance(progress, _ProgressLine):
            progress.finish()
    saved = {
        "series": [
            (
                s["measurement"],
                s.get("case") if is_path(s.get("case")) else None,
                math.nan if s.get("trockenmasse_g") is None else _number(s["trockenmasse_g"], "trockenmasse_g"),
                {k: s[k] for k in RUN_OPTIONS if k in s},
            )
            for s in series
        ],
        "options": [spec_[3] for spec_ in series_specs],
        "parameters": parameter_specs,
        "starts": int(starts),
        "seed": int(seed),
        "iterations": int(iterations),
        "sigma": sigma,
    }
    return FitResult(raw, saved)
