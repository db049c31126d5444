"""Tesmo-Gegen in Python: the convective drying of a shrinking green-clay plate in a
counter-current dryer, computed by the same C++ model as the window and tesmo-gegen-batch,
with the same numbers to the last bit.

Inputs are named by the window's control names (txt_Dicke, txt_XAnf, ...; see defaults())
and given as texts typed as in the window ("12,5") or as numbers (12.5).

One run:

    import tesmo
    r = tesmo.run(txt_Dicke=12.5, txt_Lufttemp="40")
    print(r.end, r.texts["txt_Zeit"], r.values["spezEnergie"])
    f = r.frame()                      # the ten time histories over the Laufzeit in s
    f[["VerlaufThetaOb", "VerlaufThetaK"]].plot()
    f.attrs["units"]["VerlaufRate"]    # "kg/(m² h)"

Units: the histories and results are in the units of the model's run state: water loads in
kg/kg, temperatures in °C, times in s, the evaporation rate in kg/(m² h), the depth of the
drying front in m, shrinkage in %; HISTORY_UNITS and RESULT_UNITS name each, help(Result)
lists them.

A parameter study into a DataFrame (one row per case, the runner's table columns):

    df = tesmo.study(vary={"txt_Lufttemp": "25:45:5", "txt_mue": [10, 20, 40]})
    df.pivot(index="txt_Lufttemp", columns="txt_mue", values="Laufzeit")
    tesmo.write_table(df, "studie.csv")          # as tesmo-gegen-batch --table writes it
    df = tesmo.read_table("studie.csv")         # and back, exactly

A study on a Dask cluster (examples/dask_study.py does this with chunks of cases):

    from dask.distributed import Client
    def run_case(number, inputs):
        try:
            return tesmo.study_row(number, tesmo.run(inputs))
        except tesmo.InputError as refused:
            return tesmo.study_row(number, refused)
    cases = tesmo.study_cases(vary={"txt_Dicke": "10:30:5"})
    client = Client("tcp://scheduler:8786")
    futures = client.map(run_case, range(1, len(cases) + 1), cases)
    df = tesmo.study_frame(client.gather(futures))   # equals tesmo.study() of the same cases

An uncertainty study (inputs drawn from distributions; statistics and Sobol' indices):

    u = tesmo.uncertainty("versuch.tguq")          # or uncertain={"txt_mue": "uniform 15 : 25"}
    u.statistics, u.exceedance, u.indices, u.samples

Run modes by name, as keywords (see RUN_OPTIONS): a climate-chamber test, whose air stays at
the exhaust-air state, has no air or energy demand (NaN):

    r = tesmo.run(txt_Lufttemp=45, txt_AbluftFeuchte=40, klima="konstant")

Fitting inputs to measured drying curves (measurement files: CSV with a time column t_s,
t_min, t_h or Zeit and the measured X, m_g, thetaOb, schwind):

    f = tesmo.fit("anpassung.tgfit")            # or series=[...], parameters={...}
    f.values, f.stderr, f.interval, f.determined, f.notes, f.correlation
    f.frame()                                   # measured against simulated
    f.save("anpassung.tgfit")                   # with its outcome and covariance
    m = tesmo.read_measurement("versuch1.csv")

Functions: defaults, input_text, run (-> Result), read_case, write_case, study, study_cases,
study_row, study_frame, read_table, write_table, uncertainty (-> Uncertainty),
uncertainty_cases, fit (-> FitResult), read_measurement, read_fit. Refused input raises
InputError, a ValueError whose `field` names the input and whose `messages` are the window's
German ones.
"""

from ._fit import FitProgress, FitResult, fit, read_fit, read_measurement
from ._inputs import INPUT_NAMES, RUN_OPTIONS, defaults, input_text, read_case, write_case
from ._run import (
    HISTORY_NAMES,
    HISTORY_UNITS,
    RESULT_NAMES,
    RESULT_UNITS,
    InputError,
    Refusal,
    Result,
    run,
)
from ._study import (
    TABLE_COLUMNS,
    Progress,
    read_table,
    study,
    study_cases,
    study_frame,
    study_row,
    write_table,
)
from ._uncertainty import Uncertainty, uncertainty, uncertainty_cases

__all__ = [
    "FitProgress",
    "FitResult",
    "HISTORY_NAMES",
    "HISTORY_UNITS",
    "INPUT_NAMES",
    "RESULT_NAMES",
    "RESULT_UNITS",
    "RUN_OPTIONS",
    "TABLE_COLUMNS",
    "InputError",
    "Progress",
    "Refusal",
    "Result",
    "Uncertainty",
    "defaults",
    "fit",
    "input_text",
    "read_case",
    "read_fit",
    "read_measurement",
    "read_table",
    "run",
    "study",
    "study_cases",
    "study_frame",
    "study_row",
    "uncertainty",
    "uncertainty_cases",
    "write_case",
    "write_table",
]
