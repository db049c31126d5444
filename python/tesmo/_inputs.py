"""The seventeen input texts: names, defaults, numbers turned into texts, paths."""

import math
import numbers
import os

from . import _core

INPUT_NAMES = tuple(_core.input_names())
_DEFAULT_TEXTS = tuple(_core.default_texts())
# The run modes beside the seventeen inputs: name -> its words, the first being the default
# ({"klima": ("gegenstrom", "konstant"), "luftbilanz": ("standard", "korrigiert")}).
RUN_OPTIONS = {name: tuple(words) for name, words in _core.run_options()}


def defaults():
    """The window's default texts of the seventeen inputs.

    Returns a dict control name -> text in the window's order (top to bottom), e.g.
    ``{"txt_Dicke": "20,0", "txt_rhos": "1850", ...}``.
    """
    return dict(zip(INPUT_NAMES, _DEFAULT_TEXTS))


def input_text(value):
    """An input as the window takes it: a text as it is, a number as the shortest text.

    A number becomes the shortest decimal text that reads back as the same number, with a
    decimal comma: 20.5 -> "20,5", 20 -> "20", 20.0 -> "20", 1e-07 -> "1e-07",
    1.5e-07 -> "1,5e-07". The text of an int is its digits. NaN and infinity become "nan" and
    "inf", which the input check refuses as texts without a number. Raises TypeError for
    anything else and ValueError for a text that is not Unicode (a lone surrogate).
    """
    return _text_of(value, "value")


def _text_of(value, argument):
    """input_text() for the input named `argument` in the messages."""
    if isinstance(value, str):
        try:
            value.encode("utf-8")
        except UnicodeEncodeError:
            raise ValueError(
                f"{argument}: the text {value!r} is not Unicode text (it holds a lone "
                "surrogate, e.g. a byte that was not UTF-8)"
            ) from None
        return value
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{argument} is a text or a number, not {type(value).__name__}")
    if isinstance(value, numbers.Integral):
        return str(int(value))
    number = float(value)
    if not math.isfinite(number):
        return repr(number)
    text = repr(number)
    if text.endswith(".0"):
        text = text[:-2]
    return text.replace(".", ",")


def _check_names(names, what="input"):
    unknown = [name for name in names if name not in INPUT_NAMES]
    if unknown:
        raise TypeError(
            f"unknown {what} {', '.join(map(repr, unknown))}; the inputs are "
            + ", ".join(INPUT_NAMES)
        )


def case_path(path, argument="path"):
    """A path (str, bytes or os.PathLike) as the bytes the C++ side opens.

    Raises TypeError for anything else and ValueError for a NUL byte in it, as open() does:
    the file functions would otherwise take only the part before it.
    """
    if not is_path(path):
        raise TypeError(f"{argument} is a path (str, bytes or os.PathLike), not {type(path).__name__}")
    encoded = os.fsencode(path)
    if b"\0" in encoded:
        raise ValueError(f"{argument}: embedded null byte")
    return encoded


def is_path(value):
    return isinstance(value, (str, bytes, os.PathLike))


def _named_texts(inputs, argument):
    """The texts of a dict control name -> input; TypeError for a name that is no input."""
    if not isinstance(inputs, dict):
        raise TypeError(f"{argument} is a dict of control name -> input, not {type(inputs).__name__}")
    inputs = _inputs_only(inputs)
    _check_names(inputs)
    return {name: _text_of(value, name) for name, value in inputs.items()}


def _inputs_only(mapping):
    return {name: value for name, value in mapping.items() if name not in RUN_OPTIONS}


def options_of(case=None, overrides=None, argument="case"):
    """The run modes a case and its overrides choose: a dict name -> word.

    `case` as for texts_of (a case file's modes, or the keys of a dict that name a run mode
    such as "klima"); the modes in `overrides` are applied after it. Modes not named are not in
    the dict (they keep their defaults). A word a mode does not have raises ValueError.
    """
    options = {}
    if is_path(case):
        options.update(_core.read_case_options(case_path(case, argument)))
    for mapping in (case, overrides):
        if isinstance(mapping, dict):
            options.update((k, v) for k, v in mapping.items() if k in RUN_OPTIONS)
    for name, word in options.items():
        if not isinstance(word, str) or word not in RUN_OPTIONS[name]:
            raise ValueError(
                f"{name} kennt {word!r} nicht, möglich ist " + " oder ".join(RUN_OPTIONS[name])
            )
    return options


def texts_of(case=None, overrides=None, argument="case"):
    """The seventeen texts (a list in the window's order) of a case and overrides.

    `case` is None (the defaults), a case-file path or a dict control name -> input; the
    dict `overrides` is applied after it. Names that are no input raise TypeError.
    """
    if case is None:
        texts = dict(zip(INPUT_NAMES, _DEFAULT_TEXTS))
    elif is_path(case):
        texts = dict(zip(INPUT_NAMES, _core.read_case(case_path(case, argument))))
    elif isinstance(case, dict):
        texts = dict(zip(INPUT_NAMES, _DEFAULT_TEXTS))
        texts.update(_named_texts(case, argument))
    else:
        raise TypeError(
            f"{argument} is a case-file path or a dict of inputs, not {type(case).__name__}"
        )
    if overrides:
        texts.update(_named_texts(overrides, "the inputs"))
    return [texts[name] for name in INPUT_NAMES]


def read_case(path):
    """The seventeen texts of a case file (*.tgcase) as a dict control name -> text.

    Fields the file does not name keep their default texts. A run mode the file chooses
    (a line "klima = konstant") is in the dict too, under its name ("klima": "konstant");
    modes at their default are not. Raises OSError (e.g. FileNotFoundError) when the system
    refuses the file and ValueError when its content is refused; the message is the program's
    German one, naming the file and the line.
    """
    encoded = case_path(path)
    texts = dict(zip(INPUT_NAMES, _core.read_case(encoded)))
    texts.update(_core.read_case_options(encoded))
    return texts


def write_case(path, inputs):
    """Saves a case file with all seventeen texts, atomically.

    `inputs` is a dict control name -> input (a text or a number, turned into a text as
    input_text() does); inputs it does not name keep their default texts. Keys that name a run
    mode ("klima": "konstant") are saved as the mode's line. Raises OSError when
    the file cannot be written and ValueError for a text a case file cannot hold (a line
    break, more than the allowed length, ...), with the program's German message; an earlier
    file at `path` then stays as it was.
    """
    encoded = case_path(path)
    if not isinstance(inputs, dict):
        raise TypeError(f"inputs is a dict of control name -> input, not {type(inputs).__name__}")
    _core.write_case(
        encoded, texts_of(inputs, argument="inputs"), options_of(inputs, argument="inputs")
    )
