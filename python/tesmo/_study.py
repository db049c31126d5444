"""The runner's parameter study as a pandas DataFrame, and its table as a file."""

import collections
import collections.abc
import io
import os
import math
import numbers
import sys
import time
import warnings

import numpy as np
import pandas as pd

from . import _core
from ._inputs import (
    INPUT_NAMES,
    RUN_OPTIONS,
    _check_names,
    _text_of,
    case_path,
    is_path,
    options_of,
    texts_of,
)
from ._run import RESULT_NAMES, InputError, Result

TABLE_COLUMNS = tuple(_core.table_columns())
# A study of more cases than this runs only when asked for with yes=True, as the runner's --yes.
CASES_WITHOUT_YES = _core.cases_without_yes()
_TEXT_COLUMNS = ("end", "message")
_INTEGER_COLUMNS = ("case",)

Progress = collections.namedtuple("Progress", "done total elapsed remaining")
Progress.__doc__ = """How far a study is: cases done of all, seconds elapsed and (estimated) left."""


_ENDS = tuple(_core.end_names())


def _dtype(column):
    if column in _INTEGER_COLUMNS:
        return np.int64
    if column in _TEXT_COLUMNS:
        return object
    return np.float64


def _typed(frame, argument):
    """The frame with the study table's columns in order and their dtypes.

    ValueError naming `argument` and the column for cells that do not fit: a case number that
    is missing or not whole, a number column holding something else, an end that is none.
    """
    frame = frame.reindex(columns=list(TABLE_COLUMNS))
    for column in _TEXT_COLUMNS:
        frame[column] = frame[column].fillna("").astype(str).astype(object)
    unknown = sorted(set(frame["end"]) - set(_ENDS))
    if unknown:
        raise ValueError(
            f"{argument}: column 'end' holds {', '.join(map(repr, unknown))}; a case ends as "
            + ", ".join(_ENDS)
        )
    typed = {}
    for column in TABLE_COLUMNS:
        if column in _TEXT_COLUMNS:
            continue
        try:
            values = pd.to_numeric(frame[column], errors="raise").astype(np.float64)
        except (ValueError, TypeError):
            raise ValueError(f"{argument}: column {column!r} holds cells that are no numbers") from None
        if column in _INTEGER_COLUMNS:
            if values.isna().any() or not (values == np.floor(values)).all():
                raise ValueError(f"{argument}: column {column!r} holds cells that are no whole numbers")
            values = values.astype(np.int64)
        typed[column] = values
    return frame.assign(**typed).astype({column: _dtype(column) for column in TABLE_COLUMNS})


def _case_spec(vary, cases, base):
    """The arguments of _core.study and _core.case_texts: base, vary, rows, table."""
    if (vary is None) == (cases is None):
        raise TypeError("give the cases either as vary or as cases")
    base_texts = texts_of(base, argument="base")
    variations, rows, table = [], None, None
    if vary is not None:
        if not isinstance(vary, dict):
            raise TypeError(f"vary is a dict of input -> range or values, not {type(vary).__name__}")
        _check_names(vary)
        for name, spec in vary.items():
            if isinstance(spec, str):
                variations.append((name, _text_of(spec, f"vary[{name!r}]")))
                continue
            values = [spec] if not isinstance(spec, (list, tuple, np.ndarray, range)) else spec
            if len(values) == 0:
                raise ValueError(f"vary[{name!r}]: no values to vary over")
            variations.append((name, [_text_of(v, f"vary[{name!r}]") for v in values]))
    elif is_path(cases):
        table = case_path(cases, "cases")
    else:
        if isinstance(cases, dict) or not isinstance(cases, collections.abc.Iterable):
            raise TypeError(
                "cases is a list of dicts of inputs or the path of a case table, not "
                + type(cases).__name__
            )
        base_dict = dict(zip(INPUT_NAMES, base_texts))
        rows = []
        for i, case in enumerate(cases):
            if not isinstance(case, dict):
                raise TypeError(f"cases[{i}] is a dict of inputs, not {type(case).__name__}")
            rows.append(texts_of(base_dict, case))
    return base_texts, variations, rows, table


def _check_yes(yes):
    if not isinstance(yes, bool):
        raise TypeError(f"yes is True or False, not {type(yes).__name__}")
    return yes


def _case_options(cases, base, options):
    """The run modes of the whole study and, for cases given one by one, of each case."""
    for name in options:
        if name not in RUN_OPTIONS:
            raise TypeError(
                f"unexpected keyword {name!r}; the run modes are " + ", ".join(RUN_OPTIONS)
            )
    base_options = options_of(base, options, argument="base")
    row_options = None
    if cases is not None and not is_path(cases):
        row_options = [
            {**base_options, **(options_of(case) if isinstance(case, dict) else {})}
            for case in cases
        ]
    return base_options, row_options


def study_cases(vary=None, cases=None, base=None, yes=False, **options):
    """The cases of a study as tesmo.study() forms them: a list of dicts of the 17 texts.

    Case i (from 0) is table row i + 1. A run mode that is not at its default is in the dict
    too ("klima": "konstant"), so tesmo.run(case) runs the case as the study would. Useful to
    spread a study over machines (see the Dask example) or to look at the cases before running
    them. A study of more than 100 000 cases needs yes=True, as in tesmo.study().
    """
    spec = _case_spec(vary, cases, base)
    base_options, row_options = _case_options(cases, base, options)
    texts = _core.case_texts(*spec, _check_yes(yes))
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


def jobs_argument(jobs):
    """The number of cases or model runs at a time: every core for None; more than the cores
    run on every core, with a RuntimeWarning pointing at the caller's call."""
    cores = _core.default_jobs()
    if jobs is None:
        return cores
    if isinstance(jobs, bool) or not isinstance(jobs, numbers.Integral):
        raise TypeError(f"jobs is a whole number from 1, not {type(jobs).__name__}")
    if jobs < 1:
        raise ValueError(f"jobs is a whole number from 1, not {jobs!r}")
    if jobs > cores:
        warnings.warn(
            f"jobs={jobs} is more than the {cores} cores of this machine; "
            f"the study runs {cores} case{'s' if cores != 1 else ''} at a time",
            RuntimeWarning,
            stacklevel=3,
        )
        return cores
    return int(jobs)


def progress_argument(progress, line, record):
    """The progress argument (True, False/None or a callable) as the display and the function
    the C++ side calls with the progress fields (None for no progress): True shows `line()`,
    a callable gets each state as a `record`."""
    if progress is True:
        progress = line()
    elif progress is False or progress is None:
        return None, None
    elif not callable(progress):
        raise TypeError(f"progress is True, False or a callable, not {type(progress).__name__}")
    return progress, (lambda *p: progress(record(*p)))


def study(vary=None, cases=None, base=None, jobs=None, progress=False, yes=False, **options):
    """Runs a parameter study and returns its table as a pandas DataFrame.

    vary      dict input -> a range "FROM:TO:STEP" or list "A;B;C" as the runner's --vary
              takes it, or a list of values (numbers or texts); several inputs form the
              cartesian product, the last varying fastest
    cases     instead of vary: a list of dicts of inputs (one case each, over `base`) or the
              path of a CSV case table as the runner's --cases reads it
    base      the texts the cases start from: a dict of inputs or a case-file path (default:
              the window's defaults)
    jobs      the number of cases run at a time (default and most: every core; a larger
              number runs on every core and says so with a RuntimeWarning)
    progress  True: cases done of all and the time left on stderr; or a callable, called
              with a Progress(done, total, elapsed, remaining) at most ten times a second and
              once at the end
    yes       True: a study of more than 100 000 cases may run (the runner's --yes)
    options   the run modes of every case by name, e.g. klima="konstant" (as tesmo.run takes
              them; a base case file or dict may choose them too, and a case of `cases` may
              choose its own)

    Every case runs as tesmo.run() would run it. The frame has exactly the columns of the
    runner's result table (case, the seventeen inputs as the numbers the model read, end,
    message, then the results of Result.values), one row per case in case order: case as
    int64, end and message as str, every other column float64 with NaN where the table
    leaves the cell empty. A refused case has end "refused" and its German messages. The
    cases run in C++ threads without the GIL; Ctrl+C stops them within a second and raises
    KeyboardInterrupt. When the system refuses the study memory or a thread, it stops with
    MemoryError or RuntimeError and the program's German message.
    """
    jobs = jobs_argument(jobs)
    _, show = progress_argument(progress, _ProgressLine, Progress)
    spec = _case_spec(vary, cases, base)
    base_options, row_options = _case_options(cases, base, options)
    columns = _core.study(*spec, _check_yes(yes), int(jobs), show, base_options, row_options)
    return _frame_of_columns(columns)


def _frame_of_columns(columns):
    data = {"case": columns["case"]}
    data.update(zip(INPUT_NAMES, columns["inputs"].T))
    data["end"] = columns["end"]
    data["message"] = columns["message"]
    data.update(zip(RESULT_NAMES, columns["results"].T))
    return _typed(pd.DataFrame(data), "study")


def study_row(case, outcome):
    """One row of the study table, as a dict column -> value, for a case run by tesmo.run().

    case      the case number (from 1)
    outcome   the Result of tesmo.run(), or the InputError it raised

    study_frame() of the rows of every case equals tesmo.study() of the same cases; this is
    how a study spread over other machines (see the Dask example) comes back together.
    """
    if isinstance(case, bool) or not isinstance(case, numbers.Integral):
        raise TypeError(f"case is the case number, a whole number from 1, not {type(case).__name__}")
    if case < 1:
        raise ValueError(f"case is the case number, a whole number from 1, not {case!r}")
    if isinstance(outcome, Result):
        inputs, end, message = outcome.inputs, outcome.end, outcome.message
        values = [outcome.values[name] for name in RESULT_NAMES]
    elif isinstance(outcome, InputError):
        inputs, end, message = outcome.inputs, "refused", " ".join(outcome.messages)
        values = [math.nan] * len(RESULT_NAMES)
    else:
        raise TypeError(
            f"outcome is a tesmo.Result or a tesmo.InputError, not {type(outcome).__name__}"
        )
    row = {"case": int(case)}
    row.update(zip(INPUT_NAMES, _core.input_numbers([inputs[n] for n in INPUT_NAMES])))
    row["end"] = end
    row["message"] = message
    row.update(zip(RESULT_NAMES, values))
    return row


def study_frame(rows):
    """The DataFrame of tesmo.study() from rows of study_row(), sorted by case."""
    if isinstance(rows, (str, bytes, dict)) or not isinstance(rows, collections.abc.Iterable):
        raise TypeError(f"rows is a list of rows of tesmo.study_row(), not {type(rows).__name__}")
    rows = list(rows)
    for i, row in enumerate(rows):
        if not isinstance(row, dict):
            raise TypeError(f"rows[{i}] is a row of tesmo.study_row() (a dict), not {type(row).__name__}")
        missing = [c for c in TABLE_COLUMNS if c not in row]
        if missing:
            raise ValueError(f"rows[{i}] is not a row of tesmo.study_row(): no {', '.join(missing)}")
    frame = _typed(pd.DataFrame(rows, columns=list(TABLE_COLUMNS)), "rows")
    return frame.sort_values("case", kind="stable").reset_index(drop=True)


_GERMAN_START = b"\xef\xbb\xbf"


def read_table(path):
    """Reads a result table that tesmo-gegen-batch wrote into the DataFrame of tesmo.study().

    Either format: the plain one (',' between cells, '.' as decimal point) or the one for a
    German spreadsheet (--table-format de: a byte-order mark, ';' and the decimal comma). The
    numbers are read back exactly; empty cells become NaN, an empty message "". Tables of
    several shards can be joined with pandas.concat and sorted by case. Raises OSError when the
    file cannot be read and ValueError when it is not such a table.
    """
    encoded = case_path(path)
    with open(encoded, "rb") as f:
        data = f.read()
    name = os.fsdecode(encoded)
    german = data.startswith(_GERMAN_START)
    separator = ";" if german else ","
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError as e:
        raise ValueError(
            f"path: {name} is not a result table of tesmo-gegen-batch: byte {e.start + 1} is "
            "not UTF-8 text"
        ) from None
    if text.split("\n", 1)[0].rstrip("\r").split(separator) != list(TABLE_COLUMNS):
        raise ValueError(
            f"path: {name} is not a result table of tesmo-gegen-batch: its first line is not "
            f"the table's header ({separator.join(TABLE_COLUMNS[:3])}{separator}...)"
        )
    try:
        frame = pd.read_csv(
            io.StringIO(text),
            sep=separator,
            decimal="," if german else ".",
            dtype={column: object for column in _TEXT_COLUMNS},
            float_precision="round_trip",
            keep_default_na=False,
            na_values={column: [""] for column in TABLE_COLUMNS if column not in _TEXT_COLUMNS},
        )
    except (ValueError, pd.errors.ParserError) as e:
        raise ValueError(f"path: {name} is not a result table of tesmo-gegen-batch: {e}") from None
    return _typed(frame, f"path: {name}")


def write_table(frame, path, table_format="csv"):
    """Writes a study frame as the result table that tesmo-gegen-batch writes (CSV).

    The text is the runner's for the same cases, each number in the shortest form that reads
    back to the same value, empty cells for NaN. table_format "csv" (',' between cells, '.'
    as decimal point) or "de", as --table-format de writes it for a German spreadsheet (a
    byte-order mark, ';' and the decimal comma). The file appears whole or not at all.
    """
    if not isinstance(frame, pd.DataFrame):
        raise TypeError(f"frame is the DataFrame of a study, not {type(frame).__name__}")
    encoded = case_path(path)
    missing = [c for c in TABLE_COLUMNS if c not in frame.columns]
    if missing:
        raise ValueError(f"frame is not a study frame: no column {', '.join(missing)}")
    frame = _typed(frame, "frame")
    _core.write_table(
        encoded,
        frame["case"].to_numpy(np.int64),
        frame[list(INPUT_NAMES)].to_numpy(np.float64),
        list(frame["end"]),
        list(frame["message"]),
        frame[list(RESULT_NAMES)].to_numpy(np.float64),
        table_format,
    )
