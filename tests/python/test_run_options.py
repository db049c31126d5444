"""The run modes from Python: keywords, case files and studies as the runner's --klima."""

import math

import pandas as pd
import pytest

import tesmo
from conftest import THIN, runner_args, runner_report


def test_the_modes_come_from_the_programs_table():
    assert tesmo.RUN_OPTIONS["klima"] == ("gegenstrom", "konstant")
    assert tesmo.RUN_OPTIONS["luftbilanz"][0] == "standard"


def test_a_constant_climate_run_shows_what_the_runner_prints(runner):
    # The outside air is no part of a climate-chamber run: a text without a number is fine.
    inputs = {**THIN, "txt_AussenluftTemp": "x"}
    done = runner(*runner_args(inputs), "--klima", "konstant", check_status=0)
    texts, warnings, end = runner_report(done.stdout)
    r = tesmo.run(inputs, klima="konstant")
    assert r.texts == texts and r.end == end and r.warnings == warnings
    assert r.options["klima"] == "konstant"
    # No air and energy demand (not 0: NaN), the water balance as always.
    for name in ("LuftRohlingVerh", "LuftWasserVerh", "spezEnergie", "relEnergie"):
        assert math.isnan(r.values[name]), name
    assert r.values["Wasserfehler"] >= 0
    assert (r.histories["VerlaufThetaLuft"] == 35).all()
    with pytest.raises(tesmo.InputError):
        tesmo.run(inputs)  # the counter-current dryer needs its outside air


def test_case_files_and_dicts_keep_the_modes(tmp_path):
    path = tmp_path / "kammer.tgcase"
    tesmo.write_case(path, {**THIN, "klima": "konstant"})
    assert "klima = konstant" in path.read_text(encoding="utf-8")
    case = tesmo.read_case(path)
    assert case["klima"] == "konstant" and "luftbilanz" not in case
    assert tesmo.run(path).options["klima"] == "konstant"
    assert tesmo.run(case).values["Laufzeit"] == tesmo.run(THIN, klima="konstant").values["Laufzeit"]
    # A keyword overrides the file; a plain case reads as it always did.
    assert tesmo.run(path, klima="gegenstrom").options["klima"] == "gegenstrom"
    tesmo.write_case(path, THIN)
    assert "klima" not in tesmo.read_case(path)
    with pytest.raises(ValueError, match="gegenstrom oder konstant"):
        tesmo.run(klima="kammer")


def test_a_study_in_a_constant_climate_equals_the_runners(runner, tmp_path):
    path = tmp_path / "runner.csv"
    runner(
        "--vary", "txt_Dicke=4;5", "--klima", "konstant", "--table", str(path),
        *runner_args({"txt_AussenluftFeuchte": "x"}), check_status=0,
    )
    studied = tesmo.study(
        vary={"txt_Dicke": [4, 5]}, base={"txt_AussenluftFeuchte": "x"}, klima="konstant", jobs=2
    )
    pd.testing.assert_frame_equal(studied, tesmo.read_table(path), check_exact=True)
    assert studied["spezEnergie"].isna().all() and studied["Wasserfehler"].notna().all()
    # Each case of a list may choose its own mode; study_cases carries it to tesmo.run.
    mixed = tesmo.study(cases=[THIN, {**THIN, "klima": "konstant"}], jobs=2)
    assert not math.isnan(mixed["spezEnergie"][0]) and math.isnan(mixed["spezEnergie"][1])
    cases = tesmo.study_cases(cases=[THIN, {**THIN, "klima": "konstant"}])
    assert "klima" not in cases[0] and cases[1]["klima"] == "konstant"
    assert tesmo.run(cases[1]).values["Laufzeit"] == mixed["Laufzeit"][1]
    with pytest.raises(TypeError):
        tesmo.study(vary={"txt_Dicke": [4]}, klimaa="konstant")
