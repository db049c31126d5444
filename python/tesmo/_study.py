"""The runner's parameter study as a pandas DataFrame, and its table as a file."""

import collections
import math
import sys
import time

import numpy as np
import pandas as pd

from . import _core
from ._inputs import (
    INPUT_NAMES,
    RUN_OPTIONS,
    _check_names,
    case_path,
    input_text,
    is_path,
    options_of,
    texts_of,
)
from ._run import RESULT_NAMES, InputError, Result

TABLE_COLUMNS = tuple(_core.table_columns())
_TEXT_COLUMNS = ("end", "message")
_INTEGER_COLUMNS = ("case",)

Progress = collections.namedtuple("Progress", "done total elapsed remaining")
Progress.__doc__ = """How far a study is: cases done of all, seconds elapsed and (estimated) left."""


def _dtype(column):
    if column in _INTEGER_COLUMNS:
        return np.int64
    if column in _TEXT_COLUMNS:
        return object
    return np.float64


def _typed(frame):
    """The frame with the study table's columns in order and their dtypes."""
    frame = frame.reindex(columns=list(TABLE_COLUMNS))
    for column in _TEXT_COLUMNS:
        frame[column] = frame[column].fillna("").astype(object)
    return frame.astype({column: _dtype(column) for column in TABLE_COLUMNS})


def _case_spec(vary, cases, base):
    """The arguments of _core.study and _core.case_texts: base, vary, rows, table."""
    if (vary is None) == (cases is None):
        raise TypeError("give the cases either as vary or as cases")
    base_texts = texts_of(base)
    variations, rows, table = [], None, None
    if vary is not None:
        if not isinstance(vary, dict):
            raise TypeError(f"vary is a dict of input -> range or values, not {type(vary).__name__}")
        _check_names(vary)
        for name, spec in vary.items():
            if isinstance(spec, str):
                variations.append((name, spec))
                continue
            values = [spec] if not isinstance(spec, (list, tuple, np.ndarray, range)) else spec
            if len(values) == 0:
                raise ValueError(f"{name}: no values to vary over")
            variations.append((name, [input_text(v) for v in values]))
    elif is_path(cases):
        table = case_path(cases)
    else:
        base_dict = dict(zip(INPUT_NAMES, base_texts))
        rows = []
        for case in cases:
            if not isinstance(case, dict):
                raise TypeError(f"a case is a dict of inputs, not {type(case).__name__}")
            rows.append(texts_of(base_dict, case))
    return base_texts, variations, rows, table


def _case_options(cases, base, options):
    """The run modes of the whole study and, for cases given one by one, of each case."""
    for name in options:
        if name not in RUN_OPTIONS:
            raise TypeError(f"unexpected keyword {name!r}; the run modes are " + ", ".join(RUN_OPTIONS))
    base_options = options_of(base, options)
    row_options = None
    if cases is not None and not is_path(cases):
        row_options = [{**base_options, **options_of(case)} for case in cases]
    return base_options, row_options


def study_cases(vary=None, cases=None, base=None, **options):
    """The cases of a study as tesmo.study() forms them: a list of dicts of the 17 texts.

    Case i (from 0) is table row i + 1. A run mode that is not at its default is in the dict
    too ("klima": "konstant"), so tesmo.run(case) runs the case as the study would. Useful to
    spread a study over machines (see the Dask example) or to look at the cases before running
    them.
    """
    base_options, row_options = _case_options(cases, base, options)
    texts = _core.case_texts(*_case_spec(vary, cases, base))
    chosen = row_options or [base_options] * len(texts)
    return [
        {
            **dict(zip(INPUT_NAMES, t)),
            **{k: v for k, v in o.items() if v != RUN_OPTIONS[k][0]},
        }
        for t, o in zip(texts, chosen)
    ]


class _ProgressLine:
    """Cases done of all and the time left on sys.stderr: rewritten in place on a terminal and
    in a notebook (at most ten times a second), one line per second elsewhere."""

    def __init__(self):
        stream = sys.stderr
        self.in_place = stream.isatty() or "ipykernel" in sys.modules
        self.interval = 0.1 if self.in_place else 1.0
        self.last = -math.inf
        self.shown = False

    def __call__(self, progress):
        now = time.monotonic()
        if progress.done != progress.total and now - self.last < self.interval:
            return
        self.last = now
        text = _core.progress_text(*progress)
        if self.in_place:
            sys.stderr.write("\r" + text + "   " + ("\n" if progress.done == progress.total else ""))
        else:
            sys.stderr.write(text + "\n")
        sys.stderr.flush()


def study(vary=None, cases=None, base=None, jobs=None, progress=False, **options):
    """Runs a parameter study and returns its table as a pandas DataFrame.

    vary      dict input -> a range "FROM:TO:STEP" or list "A;B;C" as the runner's --vary
              takes it, or a list of values (numbers or texts); several inputs form the
              cartesian product, the last varying fastest
    cases     instead of vary: a list of dicts of inputs (one case each, over `base`) or the
              path of a CSV case table as the runner's --cases reads it
    base      the texts the cases start from: a dict of inputs or a case-file path (default:
              the window's defaults)
    jobs      the number of cases run at a time (default: every core)
    progress  True: cases done of all and the time left on stderr; or a callable, called
              with a Progress(done, total, elapsed, remaining) at most ten times a second and
              once at the end
    options   the run modes of every case by name, e.g. klima="konstant" (as tesmo.run takes
              them; a base case file or dict may choose them too, and a case of `cases` may
              choose its own)

    Every case runs as tesmo.run() would run it. The frame has exactly the columns of the
    runner's result table (case, the seventeen inputs as the numbers the model read, end,
    message, then the results of Result.values), one row per case in case order: case as
    int64, end and message as str, every other column float64 with NaN where the table
    leaves the cell empty. A refused case has end "refused" and its German messages. The
    cases run in C++ threads without the GIL; Ctrl+C stops them within a second and raises
    KeyboardInterrupt.
    """
    if jobs is None:
        jobs = _core.default_jobs()
    if isinstance(jobs, bool) or not isinstance(jobs, int) or jobs < 1:
        raise ValueError(f"jobs is a whole number from 1, not {jobs!r}")
    if progress is True:
        progress = _ProgressLine()
    elif progress is False or progress is None:
        progress = None
    elif not callable(progress):
        raise TypeError("progress is True, False or a callable")
    show = None if progress is None else (lambda *p: progress(Progress(*p)))
    base_options, row_options = _case_options(cases, base, options)
    columns = _core.study(*_case_spec(vary, cases, base), jobs, show, base_options, row_options)
    return _frame_of_columns(columns)


def _frame_of_columns(columns):
    data = {"case": columns["case"]}
    data.update(zip(INPUT_NAMES, columns["inputs"].T))
    data["end"] = columns["end"]
    data["message"] = columns["message"]
    data.update(zip(RESULT_NAMES, columns["results"].T))
    return _typed(pd.DataFrame(data))


def study_row(case, outcome):
    """One row of the study table, as a dict column -> value, for a case run by tesmo.run().

    case      the case number (from 1)
    outcome   the Result of tesmo.run(), or the InputError it raised

    study_frame() of the rows of every case equals tesmo.study() of the same cases; this is
    how a study spread over other machines (see the Dask example) comes back together.
    """
    if isinstance(outcome, Result):
        inputs, end, message = outcome.inputs, outcome.end, outcome.message
        values = [outcome.values[name] for name in RESULT_NAMES]
    elif isinstance(outcome, InputError):
        inputs, end, message = outcome.inputs, "refused", " ".join(outcome.messages)
        values = [math.nan] * len(RESULT_NAMES)
    else:
        raise TypeError("the outcome of a case is a tesmo.Result or a tesmo.InputError")
    row = {"case": int(case)}
    row.update(zip(INPUT_NAMES, _core.input_numbers([inputs[n] for n in INPUT_NAMES])))
    row["end"] = end
    row["message"] = message
    row.update(zip(RESULT_NAMES, values))
    return row


def study_frame(rows):
    """The DataFrame of tesmo.study() from rows of study_row(), sorted by case."""
    frame = pd.DataFrame(list(rows), columns=list(TABLE_COLUMNS))
    return _typed(frame.sort_values("case", kind="stable").reset_index(drop=True))


def read_table(path):
    """Reads a result table that tesmo-gegen-batch wrote into the DataFrame of tesmo.study().

    The numbers are read back exactly (17 significant digits); empty cells become NaN, an
    empty message "". Tables of several shards can be joined with pandas.concat and sorted
    by case.
    """
    frame = pd.read_csv(
        path,
        dtype={column: _dtype(column) for column in TABLE_COLUMNS},
        float_precision="round_trip",
        keep_default_na=False,
        na_values={column: [""] for column in TABLE_COLUMNS if column not in _TEXT_COLUMNS},
    )
    return _typed(frame)


def write_table(frame, path):
    """Writes a study frame as the result table that tesmo-gegen-batch writes (CSV).

    The text is the runner's for the same cases: ',' between cells, '.' as decimal point,
    17 significant digits, empty cells for NaN. The file appears whole or not at all.
    """
    missing = [c for c in TABLE_COLUMNS if c not in frame.columns]
    if missing:
        raise ValueError(f"not a study frame: no column {', '.join(missing)}")
    _core.write_table(
        case_path(path),
        frame["case"].to_numpy(np.int64),
        frame[list(INPUT_NAMES)].to_numpy(np.float64),
        [str(e) for e in frame["end"]],
        [str(m) for m in frame["message"].fillna("")],
        frame[list(RESULT_NAMES)].to_numpy(np.float64),
    )
