"""One run of the drying model: tesmo.run(), its Result and the refusal of input."""

import collections
import math

import pandas as pd

from . import _core
from ._inputs import INPUT_NAMES, RUN_OPTIONS, options_of, texts_of

HISTORY_NAMES = tuple(_core.history_names())
RESULT_NAMES = tuple(_core.result_names())

# The units of the histories and results: those of the model's run state, in which they are
# stored (the window shows some of them scaled: the open porosity in Vol.-%, the shrinkage
# gradient in % per mm, times as h:mm:ss). "1" marks a pure number.
HISTORY_UNITS = {
    "VerlaufXmom": "kg/kg",  # mean water load of the plate (kg water per kg dry mass)
    "VerlaufXOb": "kg/kg",  # water load of the surface node
    "VerlaufXK": "kg/kg",  # water load of the core node (mid-plane)
    "VerlaufSpiegel": "m",  # depth of the drying front below the surface (0 before it forms)
    "VerlaufThetaLuft": "°C",  # air passing the plate
    "VerlaufThetaOb": "°C",  # surface
    "VerlaufThetaK": "°C",  # core
    "VerlaufRate": "kg/(m² h)",  # evaporation rate per side
    "VerlaufSchwindOb": "%",  # linear shrinkage reached at the surface node
    "VerlaufSchwindK": "%",  # linear shrinkage reached at the core node
}
RESULT_UNITS = {
    "LuftRohlingVerh": "kg/kg",  # dry air per kg of dry product
    "LuftWasserVerh": "kg/kg",  # dry air per kg of water removed
    "XSchwEnde": "kg/kg",  # water load at the end of shrinkage
    "offPoren": "m³/m³",  # open porosity of the dried plate
    "Laufzeit": "s",  # drying time
    "t1TA": "s",  # duration of the first drying period
    "X1TA": "kg/kg",  # mean water load after the first period
    "Anfangsrate": "kg/(m² h)",  # evaporation rate at the start
    "t1xse": "s",  # end of surface shrinkage
    "t2xse": "s",  # end of core shrinkage
    "SchwindDiffMax": "%",  # surface-core shrinkage difference at the steepest gradient
    "SchwindGradMax": "1/m",  # steepest shrinkage gradient at the surface
    "thetaLuftMom": "°C",  # air temperature at the end (the supply air)
    "thetaKern": "°C",  # core temperature at the end
    "Xmom": "kg/kg",  # mean water load at the end
    "spezEnergie": "kJ/kg",  # energy per kg of water removed
    "relEnergie": "1",  # energy over the evaporation enthalpy of 2500 kJ/kg
    "Wasserfehler": "%",  # relative water-balance error
    "HistIndex": "1",  # number of stored time steps
    "lbl_Achtung": "1",  # 1 when "!" shows
    "lbl_ungenau": "1",  # 1 when "evtl. sehr ungenau !" shows
}


def _units_text(units):
    width = max(len(name) for name in units)
    return "\n".join(f"    {name:<{width}}  {unit}" for name, unit in units.items())

Refusal = collections.namedtuple("Refusal", "field fields message value suggestions")
Refusal.__doc__ = """What the input check found wrong with one field.

field: the input's control name (None when no single field is at fault); fields: for a
quantity that the inputs together cannot give, the inputs that give it; message: the German
message the window shows; value: the number read from the text (None: the text holds
none); suggestions: values that, typed in instead, would be accepted (may be empty)."""


class InputError(ValueError):
    """Input that the model cannot compute, refused before the run starts.

    Attributes: field (the control name of the first field refused, None when no single field
    is at fault), messages (the German messages, one per problem, as the window shows them),
    refusals (a list of Refusal, one per message) and inputs (the seventeen texts, a dict).
    """

    def __init__(self, refusals, inputs):
        self.refusals = [Refusal(**r) for r in refusals]
        self.messages = [r.message for r in self.refusals]
        self.field = self.refusals[0].field if self.refusals else None
        self.inputs = inputs
        super().__init__("\n".join(self.messages))

    def __reduce__(self):
        # Sent from a worker process (Dask, multiprocessing), it arrives whole.
        return type(self), ([r._asdict() for r in self.refusals], self.inputs)


class Result:
    """What one run leaves behind, as the window and the runner show it.

    inputs     the seventeen input texts used (dict control name -> text)
    texts      the final text of every output field the run wrote, by control name in the
               window's order, exactly as shown ("0,136", " 6:09:35", "-")
    values     the results by the study table's column names (LuftRohlingVerh, ...,
               HistIndex, lbl_Achtung, lbl_ungenau) as floats in the model's units, times in
               seconds; NaN for what the run did not reach
    end        how the run ended: "target", "midplane", "history-full", "non-finite" or
               "unstable"
    message    the German message of a run cut short ("" for one that finished)
    warnings   the control names of the visible warning labels (lbl_Achtung, lbl_ungenau1,
               lbl_ungenau2, lbl_ungenau3)
    histories  the ten time histories (dict name -> NumPy float64 array), records 0 to
               HistIndex, each record one stored time step, as the runner's --csv writes
               them: the shrinkage histories are the plate's physical shrinkage, which stops
               at the linear drying shrinkage once the water load is below XSchwEnde
    times      the Laufzeit in seconds at which each record was stored
    options    the run modes it ran in, every mode by name ({"klima": "gegenstrom", ...})

    The units (also HISTORY_UNITS, RESULT_UNITS, and frame().attrs["units"]) follow.
    """

    __slots__ = (
        "inputs", "texts", "values", "end", "message", "warnings", "histories", "times", "options"
    )

    def __init__(self, inputs, raw, options=None):
        self.inputs = inputs
        self.texts = dict(raw["texts"])
        self.values = dict(zip(RESULT_NAMES, raw["values"]))
        self.end = raw["end"]
        self.message = raw["message"]
        self.warnings = list(raw["warnings"])
        self.histories = dict(zip(HISTORY_NAMES, raw["histories"]))
        self.times = raw["times"]
        self.options = {name: words[0] for name, words in RUN_OPTIONS.items()}
        self.options.update(options or {})

    @property
    def finished(self):
        """Whether the run ended as runs are meant to: target water load or mid-plane."""
        return self.end in ("target", "midplane")

    def frame(self):
        """The histories as a pandas DataFrame, one column per history, one row per record
        (the shrinkage capped at the linear drying shrinkage, as in the runner's --csv).

        The index, named "Laufzeit", is the simulated time in seconds at which the model
        stored the record: record j is taken after j time steps (j·deltaT) until the surface
        dries out; the step in which it does stores no record, so from then on record j
        belongs to (j+1)·deltaT. The last step (target reached, front at the mid-plane) stores
        none either, so the run's Laufzeit is one step after the last record.

        frame().attrs["units"] gives the unit of the index and of every column (HISTORY_UNITS).
        """
        index = pd.Index(self.times, name="Laufzeit", copy=True)
        frame = pd.DataFrame({name: self.histories[name] for name in HISTORY_NAMES}, index=index)
        frame.attrs["units"] = {"Laufzeit": "s", **HISTORY_UNITS}
        return frame

    def __repr__(self):
        shown = ", ".join(
            f"{name}={self.values[name]:.6g}"
            for name in ("Laufzeit", "Xmom", "spezEnergie")
            if not math.isnan(self.values[name])
        )
        return f"<tesmo.Result end={self.end!r} {shown}>"


Result.__doc__ += (
    "\n    Units of the histories:\n\n"
    + _units_text(HISTORY_UNITS)
    + "\n\n    Units of the values:\n\n"
    + _units_text(RESULT_UNITS)
    + "\n"
)


def run(case=None, **inputs):
    """Runs the drying model once, as the window's Start button would.

    case      None (the window's default texts), a case-file path (str or os.PathLike) or a
              dict control name -> input
    inputs    control name = input, applied after `case`; also the run modes by name:
              klima="konstant" (a climate-chamber test, the air stays at the exhaust-air
              state; the outside air is not used, air and energy demand are NaN),
              luftbilanz="korrigiert" (see tesmo.RUN_OPTIONS for every mode and its words; a
              case file or dict may choose them too)

    An input is a text as typed in the window ("20,0") or a number (20.5 becomes "20,5", see
    input_text()). Every run starts from the state of a freshly started program, so a result
    never depends on the runs before it. Returns a Result; a run cut short (too many time
    steps, a value that is no longer finite, an unstable step) returns its Result too, with
    `end` and `message` saying why. Raises InputError (a ValueError) for input the model
    cannot compute, TypeError for a name that is no input, and KeyboardInterrupt on Ctrl+C.
    The model runs without holding the GIL, so runs in several threads run in parallel.
    """
    texts = texts_of(case, inputs)
    options = options_of(case, inputs)
    raw = _core.run(texts, options)
    named = dict(zip(INPUT_NAMES, texts))
    if raw["refused"]:
        raise InputError(raw["refusals"], named)
    return Result(named, raw, options)
