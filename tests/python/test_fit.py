"""tesmo.fit against the runner's --fit, measurement files, and saving a fit's outcome."""

import math
import os

import pandas as pd
import pytest

import tesmo

EXAMPLE = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "anpassung")


def example(name):
    return os.path.abspath(os.path.join(EXAMPLE, name))


# One series and one parameter: a fit of some thirty runs of a few milliseconds.
SMALL = (
    "format = tesmo-gegen-fit 1\n"
    f"series = {example('versuch3.csv')} ; {example('versuch3.tgcase')}\n"
    "fit txt_Feuchteleit = 40 ; 5 : 200\n"
)


@pytest.fixture(scope="module")
def small_fit(tmp_path_factory):
    path = tmp_path_factory.mktemp("fit") / "klein.tgfit"
    path.write_text(SMALL, encoding="utf-8")
    return path


def test_a_measurement_file_reads_as_a_frame_over_the_time_in_seconds(tmp_path):
    m = tesmo.read_measurement(example("versuch2.csv"))
    assert m.index.name == "t_s" and list(m.columns) == ["X", "thetaOb"]
    assert m.index[1] == 240 and math.isnan(m["thetaOb"].iloc[1])
    assert tesmo.read_measurement(example("versuch1.csv")).index[1] == 360  # minutes
    bad = tmp_path / "kaputt.csv"
    bad.write_text("t_s;X\n10;0,2\n5;0,1\n", encoding="utf-8")
    with pytest.raises(ValueError, match="Zeile 3: die Zeit „5“ ist nicht größer"):
        tesmo.read_measurement(bad)
    with pytest.raises(FileNotFoundError):
        tesmo.read_measurement(tmp_path / "fehlt.csv")


def test_a_fit_gives_the_runners_numbers_in_both_forms(runner, small_fit):
    done = runner("--fit", str(small_fit), "--jobs", "2", check_status=0)
    line = done.stdout.splitlines()[0].split("\t")
    by_file = tesmo.fit(small_fit, jobs=2)
    by_parts = tesmo.fit(
        series=[(example("versuch3.csv"), example("versuch3.tgcase"))],
        parameters={"txt_Feuchteleit": (40, 5, 200)},
    )
    for f in (by_file, by_parts):
        assert f.converged and f.end == "converged"
        assert f.values["txt_Feuchteleit"] == float(line[1])
        assert f.stderr["txt_Feuchteleit"] == float(line[2])
        assert f.interval["txt_Feuchteleit"] == (float(line[3]), float(line[4]))
        assert f.determined == {"txt_Feuchteleit": True}
    f = by_file
    assert list(f.correlation.index) == ["txt_Feuchteleit"]
    assert f.scales == {"txt_Feuchteleit": "log"}
    frame = f.frame()
    assert list(frame.columns) == ["series", "time", "quantity", "measured", "simulated", "residual"]
    assert len(frame) == f.points == 25
    assert (frame["residual"] == frame["simulated"] - frame["measured"]).all()
    assert f.residuals["rms"][0] == pytest.approx(math.sqrt((frame["residual"] ** 2).mean()))
    assert f.sigma_estimated == {"X": True}
    assert f.runs > 0 and f.seconds > 0
    case = f.case()
    assert case["klima"] == "konstant" and case["txt_Lufttemp"] == "60"
    assert tesmo.run(case).values["Laufzeit"] > 0


def test_a_saved_fit_keeps_its_outcome_and_its_files(small_fit, tmp_path):
    f = tesmo.fit(small_fit, sigma={"X": 0.002}, iterations=30)
    target = tmp_path / "woanders" / "gespeichert.tgfit"
    target.parent.mkdir()
    f.save(target)
    saved = tesmo.read_fit(target)
    assert saved["sigma"] == {"X": 0.002} and saved["iterations"] == 30
    assert saved["series"][0]["measurement"] == example("versuch3.csv")
    result = saved["result"]
    assert result["names"] == ["txt_Feuchteleit"] and result["scales"] == ["log"]
    assert result["values"][0] == f.values["txt_Feuchteleit"]
    assert result["covariance"][0, 0] == f.covariance.iloc[0, 0]
    # The noise was given: no estimate, and the file's noise used as given.
    assert f.sigma_estimated == {"X": False} and f.sigma == {"X": 0.002}
    # A series whose case is a dict has no case file to save.
    g = tesmo.fit(
        series=[{"measurement": example("versuch3.csv"), "case": tesmo.read_case(example("versuch3.tgcase"))}],
        parameters={"txt_Feuchteleit": (40, 5, 200)},
    )
    assert g.converged
    with pytest.raises(ValueError, match="case file"):
        g.save(tmp_path / "x.tgfit")


def test_wrong_fits_are_refused_with_the_reason(tmp_path):
    mass = {"measurement": example("versuch1.csv"), "case": example("versuch1.tgcase")}
    with pytest.raises(ValueError, match="keine Trockenmasse angegeben"):
        tesmo.fit(series=[mass], parameters={"txt_mue": (20, 2, 200)})
    with pytest.raises(TypeError, match="not an input"):
        tesmo.fit(series=[{**mass, "trockenmasse_g": 152.3}], parameters={"txt_muh": (1, 0, 2)})
    with pytest.raises(ValueError, match="within the bounds"):
        tesmo.fit(series=[{**mass, "trockenmasse_g": 152.3}], parameters={"txt_mue": (1, 2, 200)})
    with pytest.raises(TypeError):
        tesmo.fit(series=[{**mass, "masse": 1}], parameters={"txt_mue": (20, 2, 200)})
    with pytest.raises(ValueError, match="unbekannter Name"):
        bad = tmp_path / "b.tgfit"
        bad.write_text("format = tesmo-gegen-fit 1\ntempo = 3\n", encoding="utf-8")
        tesmo.fit(bad)
