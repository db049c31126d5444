"""tesmo.run against the runner: the same texts, the same histories to the last bit."""

import concurrent.futures
import math
import pickle
import pydoc
import re

import numpy as np
import pytest

import tesmo
from conftest import THIN, runner_args, runner_report

CASES = {
    "default": {},
    "target": {**THIN, "txt_XZiel": "0,05"},
    "warnings": {**THIN, "txt_deltaT": "5"},
    "unstable": {"txt_XZiel": "0,2499"},
}


@pytest.mark.parametrize("case", CASES)
def test_a_run_shows_what_the_runner_prints(runner, case):
    inputs = CASES[case]
    done = runner(*runner_args(inputs))
    texts, warnings, end = runner_report(done.stdout)
    r = tesmo.run(**inputs)
    assert list(r.texts.items()) == list(texts.items())
    assert r.warnings == warnings
    assert r.end == end
    assert r.message == done.stderr.strip()
    assert r.inputs == {**tesmo.defaults(), **inputs}
    assert r.finished == (done.returncode == 0)


def read_csv_exactly(path):
    """The runner's history table: input lines behind '#', the header, the records."""
    with open(path, encoding="utf-8") as f:
        lines = [line for line in f if not line.startswith("#")]
    names = lines[0].strip().split(",")
    rows = [[float(cell) for cell in line.split(",")] for line in lines[1:]]
    return names, np.array(rows)


@pytest.mark.parametrize("case", ["default", "unstable"])
def test_histories_equal_the_runners_csv_to_the_last_bit(runner, tmp_path, case):
    inputs = CASES[case]
    runner(*runner_args(inputs), "--csv", str(tmp_path / "h.csv"))
    names, table = read_csv_exactly(tmp_path / "h.csv")
    r = tesmo.run(inputs)
    assert list(r.histories) == names == list(tesmo.HISTORY_NAMES)
    for i, name in enumerate(names):
        h = r.histories[name]
        assert h.dtype == np.float64 and h.flags.writeable
        assert np.array_equal(h, table[:, i]), name
    assert len(table) == r.values["HistIndex"] + 1

    frame = r.frame()
    assert list(frame.columns) == names
    assert np.array_equal(frame.to_numpy(), table)
    frame.iloc[0, 0] = -1  # a copy: the result keeps its histories
    assert r.histories[names[0]][0] != -1


def test_shrinkage_is_the_plates_it_stops_at_the_linear_drying_shrinkage():
    r = tesmo.run(THIN)
    frame = r.frame()
    surface, core = frame["VerlaufSchwindOb"], frame["VerlaufSchwindK"]
    assert surface.max() == core.max() == 6.2  # reached, and never passed
    # Above XSchwEnde linear in the water removed, from the surface water load by hand.
    x_anf, x_end = 0.25, r.values["XSchwEnde"]
    wet = (frame["VerlaufXOb"] > x_end) & (frame.index > 0) & (frame.index < r.values["t1TA"])
    expected = 6.2 * (x_anf - frame["VerlaufXOb"][wet]) / (x_anf - x_end)
    assert np.allclose(surface[wet], expected, rtol=1e-12, atol=0)
    dry = (frame["VerlaufXOb"] < x_end) & (frame.index > 0) & (frame.index < r.values["t1TA"])
    assert dry.sum() > 10 and (surface[dry] == 6.2).all()


def test_the_frame_is_indexed_by_the_laufzeit_of_each_record():
    r = tesmo.run(THIN)
    t = r.frame().index.to_numpy()
    dt = 0.5
    assert t[0] == 0 and np.all(np.diff(t) > 0)
    # One record per stored step; the step in which the surface dries out (at t1TA) and the
    # last step store none.
    before = t < r.values["t1TA"]
    assert np.allclose(t[before], np.arange(before.sum()) * dt)
    assert np.allclose(t[~before], (np.arange(before.sum(), len(t)) + 1) * dt)
    assert t[-1] + dt == r.values["Laufzeit"]


def test_numbers_become_the_texts_a_user_would_type():
    assert tesmo.input_text(20.5) == "20,5"
    assert tesmo.input_text(20) == "20"
    assert tesmo.input_text(20.0) == "20"
    assert tesmo.input_text(1e-07) == "1e-07"
    assert tesmo.input_text(1.5e-07) == "1,5e-07"
    assert tesmo.input_text(0.1 + 0.2) == "0,30000000000000004"
    assert tesmo.input_text(np.float32(0.1)) == "0,10000000149011612"
    assert tesmo.input_text(np.int64(1850)) == "1850"
    assert tesmo.input_text(" 12,5 ") == " 12,5 "
    for wrong in (True, None, [1], b"12"):
        with pytest.raises(TypeError):
            tesmo.input_text(wrong)

    by_number = tesmo.run(THIN, txt_Lufttemp=40.5, txt_rund=600, txt_Feuchteleit=4e1)
    by_text = tesmo.run(THIN, txt_Lufttemp="40,5", txt_rund="600", txt_Feuchteleit="40")
    assert by_number.inputs == by_text.inputs
    assert by_number.texts == by_text.texts
    assert by_number.values == by_text.values  # a finished run: no NaN among them


def test_refused_input_raises_with_the_field_and_the_runners_messages(runner):
    inputs = {"txt_Ortsschrittweite": "0", "txt_mue": "x"}
    done = runner(*runner_args(inputs), check_status=2)
    with pytest.raises(tesmo.InputError) as caught:
        tesmo.run(txt_Ortsschrittweite=0, txt_mue="x")
    e = caught.value
    assert isinstance(e, ValueError)
    assert e.messages == done.stderr.splitlines()
    assert e.field == "txt_mue"  # the first field refused, in the window's order
    assert [r.field for r in e.refusals] == ["txt_mue", "txt_Ortsschrittweite"]
    assert e.refusals[0].value is None and e.refusals[1].value == 0
    assert str(e) == "\n".join(e.messages)
    # Sent from a worker process, the error arrives whole.
    back = pickle.loads(pickle.dumps(e))
    assert (back.field, back.messages, back.refusals, back.inputs) == (
        e.field, e.messages, e.refusals, e.inputs
    )

    # Values that would be accepted come with a refusal where the model knows them.
    with pytest.raises(tesmo.InputError) as caught:
        tesmo.run(txt_Ortsschrittweite="0,3")
    assert caught.value.field == "txt_Ortsschrittweite"
    assert caught.value.refusals[0].suggestions

    with pytest.raises(TypeError, match="txt_Dike"):
        tesmo.run(txt_Dike=12)
    with pytest.raises(TypeError, match="txt_Dike"):
        tesmo.run({"txt_Dike": 12})
    with pytest.raises(TypeError):
        tesmo.run(12)


def test_a_run_cut_short_keeps_what_it_reached(runner):
    # More time steps than the histories hold.
    inputs = {"txt_Dicke": "4", "txt_Ortsschrittweite": "1", "txt_deltaT": "0,001"}
    done = runner(*runner_args(inputs), check_status=3)
    r = tesmo.run(inputs)
    assert r.end == "history-full" and not r.finished
    assert r.message == done.stderr.strip()
    assert r.texts == runner_report(done.stdout)[0]
    assert len(r.histories["VerlaufXmom"]) == len(r.frame()) == 500001
    assert math.isnan(r.values["spezEnergie"]) and math.isnan(r.values["Wasserfehler"])
    assert r.values["HistIndex"] == 500000


def test_runs_in_threads_equal_runs_one_after_the_other():
    cases = [{**THIN, "txt_Lufttemp": str(t)} for t in (30, 40, 50, 60)] + [{"txt_XZiel": "0,2499"}]
    alone = [tesmo.run(c) for c in cases]
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        together = list(pool.map(lambda c: tesmo.run(c), cases * 2))
    together.append(pickle.loads(pickle.dumps(alone[0])))  # as a worker process sends it
    for a, b in zip(alone * 2 + alone[:1], together):
        assert a.texts == b.texts and a.end == b.end
        assert np.array_equal([*a.values.values()], [*b.values.values()], equal_nan=True)
        np.testing.assert_array_equal(a.frame().to_numpy(), b.frame().to_numpy())
        np.testing.assert_array_equal(a.times, b.times)


def test_a_case_file_is_the_base_of_a_run(tmp_path):
    path = tmp_path / "fall.tgcase"
    tesmo.write_case(path, {**THIN, "txt_mue": 30})
    r = tesmo.run(path, txt_Lufttemp=45)
    assert r.inputs == {**tesmo.defaults(), "txt_Dicke": "4", "txt_mue": "30", "txt_Lufttemp": "45"}
    assert r.texts == tesmo.run(str(path), txt_Lufttemp="45").texts


def test_every_history_and_result_has_its_unit_in_help_and_in_the_frame():
    assert set(tesmo.HISTORY_UNITS) == set(tesmo.HISTORY_NAMES)
    assert set(tesmo.RESULT_UNITS) == set(tesmo.RESULT_NAMES)
    f = tesmo.run(THIN).frame()
    units = f.attrs["units"]
    assert set(units) == {f.index.name, *f.columns}
    assert units["Laufzeit"] == "s"
    assert units["VerlaufSpiegel"] == "m"
    assert units["VerlaufRate"] == "kg/(m² h)"
    shown = pydoc.render_doc(tesmo.Result, renderer=pydoc.plaintext)
    for name, unit in {**tesmo.HISTORY_UNITS, **tesmo.RESULT_UNITS}.items():
        assert re.search(rf"\b{name} +{re.escape(unit)}\n", shown), name
