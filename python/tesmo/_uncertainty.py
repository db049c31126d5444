"""Uncertainty studies: inputs drawn from distributions, the cases run as a study, and the
statistics and Sobol' indices of the results, as tesmo-gegen-batch --uq computes them."""

import numbers

import numpy as np
import pandas as pd

from . import _core
from ._inputs import _check_names, case_path, is_path, texts_of
from ._study import Progress, _frame_of_columns, _ProgressLine, jobs_argument, progress_argument

_KINDS = ("lognormal", "uniform", "normal", "triangular")


class Uncertainty:
    """What an uncertainty study found; tesmo.uncertainty() returns it.

    samples     the study table of every case (tesmo.study()'s columns), one row per case
    statistics  one row per result: count (cases with the value), mean, sd, q05, q50, q95,
                each estimate with its 95 % bootstrap interval (columns *_low, *_high)
    exceedance  one row per limit: result, side ('>' or '<'), limit, count, beyond,
                probability with probability_low/_high (Wilson), without_value (cases that did
                not give the value) and lowest/highest (the probability over all cases if none
                or all of those lay beyond)
    indices     one row per result and input (a correlated group as one input): first and
                total Sobol' index with their 95 % intervals
    estimation  one row per result: method ('chaos' or 'pickfreeze'), reported, reason
                (German, when indices are withheld), used, degree, terms, q2 (surrogate's
                leave-one-out Q²)
    histograms  dict result -> DataFrame of bins (low, high, count)
    unfinished  one row per way cases did not finish: end, word (German), count
    regions     one row per input: the values and probability levels (0..1) of the cases
                that were refused or ended early (empty when every case finished)
    report      the runner's --uq-report text (Markdown, German)
    """

    def __init__(self, columns, analysis):
        self.samples = _frame_of_columns(columns)
        self.statistics = _statistics_frame(analysis["statistics"])
        self.exceedance = _exceedance_frame(analysis["limits"])
        self.indices = _indices_frame(analysis["indices"])
        self.estimation = pd.DataFrame(
            analysis["methods"],
            columns=["result", "method", "reported", "reason", "used", "degree", "terms", "q2"],
        ).set_index("result")
        self.histograms = {
            name: pd.DataFrame({"low": edges[:-1], "high": edges[1:], "count": counts})
            for name, edges, counts in analysis["histograms"]
        }
        self.unfinished = pd.DataFrame(analysis["ends"], columns=["end", "word", "count"])
        self.regions = pd.DataFrame(
            analysis["regions"],
            columns=["input", "lowest", "highest", "lowest_level", "highest_level"],
        )
        self.cases = analysis["cases"]
        self.finished = analysis["finished"]
        self.report = analysis["report"]

    def __repr__(self):
        return f"<tesmo.Uncertainty: {self.finished} of {self.cases} cases finished>"


def _with_interval(name, estimate):
    value, low, high = estimate
    return {name: value, f"{name}_low": low, f"{name}_high": high}


def _statistics_frame(rows):
    records = []
    for name, count, mean, sd, q05, q50, q95 in rows:
        record = {"result": name, "count": count}
        record.update(_with_interval("mean", mean))
        record["sd"] = sd
        for label, estimate in (("q05", q05), ("q50", q50), ("q95", q95)):
            record.update(_with_interval(label, estimate))
        records.append(record)
    columns = ["result", "count", "mean", "mean_low", "mean_high", "sd"]
    for label in ("q05", "q50", "q95"):
        columns += [label, f"{label}_low", f"{label}_high"]
    return pd.DataFrame(records, columns=columns).set_index("result")


def _exceedance_frame(rows):
    records = []
    for name, side, value, count, beyond, probability, without, lowest, highest in rows:
        record = {"result": name, "side": side, "limit": value, "count": count, "beyond": beyond}
        record.update(_with_interval("probability", probability))
        record.update({"without_value": without, "lowest": lowest, "highest": highest})
        records.append(record)
    columns = ["result", "side", "limit", "count", "beyond", "probability", "probability_low",
               "probability_high", "without_value", "lowest", "highest"]
    return pd.DataFrame(records, columns=columns)


def _indices_frame(rows):
    records = []
    for name, group, first, total in rows:
        record = {"result": name, "input": group}
        record.update(_with_interval("first", first))
        record.update(_with_interval("total", total))
        records.append(record)
    columns = ["result", "input", "first", "first_low", "first_high", "total", "total_low",
               "total_high"]
    return pd.DataFrame(records, columns=columns)


def _is_openturns(distribution):
    return hasattr(distribution, "getParameter") and hasattr(distribution, "getDimension")


def _class_name(distribution):
    implementation = getattr(distribution, "getImplementation", None)
    return (implementation() if implementation else distribution).getClassName()


def _marginal(name, spec):
    """(name, kind, parameters, library) for the C++ plan."""
    if isinstance(spec, str):
        kind, parameters = _core.uq_parse_distribution(spec)
        return name, kind, list(parameters), ""
    if _is_openturns(spec):
        if spec.getDimension() != 1:
            raise ValueError(f"{name}: a distribution of one input has dimension 1")
        return name, "library", [float(p) for p in spec.getParameter()], _class_name(spec)
    if isinstance(spec, (tuple, list)) and spec and spec[0] in _KINDS:
        numbers_ = spec[1:]
        if not all(isinstance(v, numbers.Real) and not isinstance(v, bool) for v in numbers_):
            raise TypeError(f"{name}: the parameters of {spec[0]} are numbers")
        return name, spec[0], [float(v) for v in numbers_], ""
    raise TypeError(
        f"{name}: a distribution is a text such as 'lognormal 40 ; 8', a tuple such as "
        "('uniform', 15, 25) or a one-dimensional openturns distribution"
    )


def _block(names, spec):
    """(fields, mean, covariance rows, scales) of a correlated normal block."""
    _check_names(names)
    if _is_openturns(spec):
        if _class_name(spec) != "Normal" or spec.getDimension() != len(names):
            raise ValueError(
                f"{', '.join(names)}: correlated inputs take a Normal of dimension {len(names)}"
            )
        mean = list(spec.getMean())
        covariance = np.array(spec.getCovariance())
        scales = []
    elif isinstance(spec, (tuple, list)) and len(spec) in (3, 4) and spec[0] == "normal":
        mean, covariance = list(spec[1]), np.asarray(spec[2], dtype=float)
        scales = list(spec[3]) if len(spec) == 4 else []
    else:
        raise TypeError(
            f"{', '.join(names)}: correlated inputs take ('normal', mean, covariance[, scales]) "
            "or an openturns Normal"
        )
    n = len(names)
    if covariance.shape != (n, n) or len(mean) != n:
        raise ValueError(f"{', '.join(names)}: mean and covariance do not fit {n} inputs")
    return list(names), [float(m) for m in mean], covariance.tolist(), scales


def _limit(limit):
    if isinstance(limit, str):
        for side in (">", "<"):
            if side in limit:
                name, value = limit.split(side, 1)
                return name.strip(), side, float(value.strip().replace(",", "."))
        raise ValueError(f"a limit reads 'RESULT > VALUE' or 'RESULT < VALUE', not {limit!r}")
    name, side, value = limit
    return str(name), str(side), float(value)


def _plan(study, uncertain, base, samples, design, seed, indices, results, limits):
    if study is not None:
        if uncertain is not None or base is not None:
            raise TypeError("give the study either as a .tguq file or by its arguments")
        return _core.uq_plan_file(case_path(study))
    if not isinstance(uncertain, dict) or not uncertain:
        raise TypeError("uncertain is a dict input -> distribution (or tuple of inputs -> Normal)")
    marginals, blocks = [], []
    for key, spec in uncertain.items():
        if isinstance(key, tuple):
            blocks.append(_block(key, spec))
        else:
            _check_names([key])
            marginals.append(_marginal(key, spec))
    if isinstance(results, str):
        results = [results]
    return _core.uq_plan(
        texts_of(base), marginals, blocks, int(samples), design, int(seed), indices,
        list(results), [_limit(limit) for limit in (limits or [])],
    )


def uncertainty(study=None, *, uncertain=None, base=None, samples=1000, design="lhs", seed=1,
                indices="auto", results=("Laufzeit",), limits=None, tables=None, jobs=None,
                progress=False):
    """Runs an uncertainty study and returns what it found (an Uncertainty).

    study      the path of a study file (.tguq) as tesmo-gegen-batch --uq reads it; or None
               and the study given by the arguments below
    uncertain  dict input -> distribution: a text as in a study file ('lognormal 40 ; 8',
               'uniform 15 : 25', 'normal 70 ; 3', 'triangular 5 : 6,7 : 8'), a tuple
               ('lognormal', mean, sd), ('uniform', low, high), ('normal', mean, sd),
               ('triangular', low, peak, high), or any one-dimensional openturns distribution
               (ot.Beta(2, 3, 0, 1), ...). A tuple of inputs as key takes a multivariate normal
               for inputs that scatter together: an openturns Normal(mean, covariance) or
               ('normal', mean, covariance[, scales]), a scale 'log' meaning the input is exp
               of the normal variable
    base       the texts the cases start from: a dict of inputs or a case-file path
    samples    the number of cases drawn; design 'lhs', 'sobol' or 'montecarlo'; seed
    indices    'auto', 'pickfreeze' or 'chaos' (see the manual)
    results    the result columns analysed; limits a list of 'SchwindGradMax > 8' or
               (result, '>', value)
    tables     instead of running: result tables of the study's cases (e.g. the shards'
               tables of tesmo-gegen-batch --uq --shard), analysed as --uq-summary does
    jobs, progress  as for tesmo.study()

    The same study (and seed) gives the runner's table and report to the last bit.
    """
    plan = _plan(study, uncertain, base, samples, design, seed, indices, results, limits)
    jobs = jobs_argument(jobs)
    _, show = progress_argument(progress, _ProgressLine, Progress)
    if tables is not None and is_path(tables):
        tables = [tables]
    paths = [case_path(t) for t in tables] if tables is not None else []
    columns, analysis = _core.uq_run(plan, paths, jobs, show)
    return Uncertainty(columns, analysis)


def uncertainty_cases(study=None, **arguments):
    """The drawn cases of an uncertainty study as a DataFrame of input texts (the runner's
    case table), one row per case in case order; arguments as for uncertainty()."""
    keys = ("uncertain", "base", "samples", "design", "seed", "indices", "results", "limits")
    defaults = {"uncertain": None, "base": None, "samples": 1000, "design": "lhs", "seed": 1,
                "indices": "auto", "results": ("Laufzeit",), "limits": None}
    unknown = set(arguments) - set(keys)
    if unknown:
        raise TypeError(f"unknown argument {', '.join(sorted(unknown))}")
    defaults.update(arguments)
    plan = _plan(study, *(defaults[k] for k in keys))
    lines = _core.uq_case_table(plan).splitlines()
    header = lines[0].split(";")
    return pd.DataFrame([line.split(";") for line in lines[1:]], columns=header)


__all__ = ["Uncertainty", "uncertainty", "uncertainty_cases"]
