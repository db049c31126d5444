"""tesmo.uncertainty against the runner's --uq: the same cases, table and report."""

import os
from pathlib import Path

import numpy as np
import openturns as ot
import pandas as pd
import pytest

import tesmo

STUDY = """format = tesmo-gegen-uq 1
txt_Dicke = 4
txt_Ortsschrittweite = 0,25
txt_deltaT = 2,0
uncertain txt_Feuchteleit = lognormal 40 ; 8
uncertain txt_AbluftFeuchte = normal 70 ; 3
samples = 12
seed = 12
results = Laufzeit, SchwindGradMax
limit SchwindGradMax > 8
"""
COARSE = {"txt_Dicke": "4", "txt_Ortsschrittweite": "0,25", "txt_deltaT": "2,0"}


@pytest.fixture(scope="module")
def study_file(tmp_path_factory):
    path = tmp_path_factory.mktemp("uq") / "u.tguq"
    path.write_text(STUDY, encoding="utf-8")
    return path


def test_a_study_file_gives_the_runners_table_and_report(runner, tmp_path, study_file):
    table, report = tmp_path / "t.csv", tmp_path / "r.md"
    runner("--uq", str(study_file), "--table", str(table), "--uq-report", str(report),
           check_status=0)
    u = tesmo.uncertainty(study_file, jobs=2)
    pd.testing.assert_frame_equal(tesmo.read_table(table), u.samples, check_exact=True)
    assert u.report == report.read_text(encoding="utf-8")
    assert list(u.statistics.index) == ["Laufzeit", "SchwindGradMax"]
    stats = u.statistics.loc["Laufzeit"]
    assert stats["count"] == 12
    assert stats["q05_low"] <= stats["q05"] <= stats["q05_high"]
    assert stats["mean"] == pytest.approx(u.samples["Laufzeit"].mean(), rel=1e-12)
    assert stats["q95"] == pytest.approx(u.samples["Laufzeit"].quantile(0.95), rel=1e-12)
    assert list(u.exceedance["result"]) == ["SchwindGradMax"]
    assert set(u.indices["input"]) == {"txt_Feuchteleit", "txt_AbluftFeuchte"}
    assert u.histograms["Laufzeit"]["count"].sum() == 12
    assert u.unfinished.empty and u.regions.empty

    # The same cases analysed from the runner's table (as from the tables of its shards).
    again = tesmo.uncertainty(study_file, tables=[table])
    assert again.report == u.report


def test_arguments_and_openturns_distributions_give_the_same_study(tmp_path, study_file):
    from_file = tesmo.uncertainty(study_file)
    by_arguments = tesmo.uncertainty(
        uncertain={"txt_Feuchteleit": ("lognormal", 40, 8), "txt_AbluftFeuchte": "normal 70 ; 3"},
        base=COARSE, samples=12, seed=12, results=["Laufzeit", "SchwindGradMax"],
        limits=["SchwindGradMax > 8"])
    pd.testing.assert_frame_equal(by_arguments.samples, from_file.samples, check_exact=True)
    # An OpenTURNS object stands for the same distribution (its quantiles computed by
    # OpenTURNS from its own parameters, so equal to rounding, not to the bit).
    with_ot = tesmo.uncertainty(
        uncertain={"txt_Feuchteleit": ot.LogNormalMuSigma(40, 8).getDistribution(),
                   "txt_AbluftFeuchte": ot.Normal(70, 3)},
        base=COARSE, samples=12, seed=12, results="Laufzeit")
    np.testing.assert_allclose(with_ot.samples["txt_AbluftFeuchte"],
                               from_file.samples["txt_AbluftFeuchte"], rtol=1e-12)
    beta = tesmo.uncertainty_cases(uncertain={"txt_mue": ot.Beta(2, 3, 15, 25)}, samples=50)
    values = beta["txt_mue"].str.replace(",", ".").astype(float)
    assert values.between(15, 25).all() and len(values) == 50


def test_correlated_inputs_are_one_group(tmp_path):
    covariance = ot.CovarianceMatrix([[64.0, 2.0], [2.0, 0.25]])  # correlation 0,5
    u = tesmo.uncertainty(
        uncertain={("txt_Feuchteleit", "txt_KappaSteig"): ot.Normal([40, 6.7], covariance),
                   "txt_mue": "uniform 15 : 25"},
        base=COARSE, samples=30, seed=3, results="Laufzeit", jobs=2)
    assert list(u.indices["input"]) == ["txt_mue", "txt_Feuchteleit + txt_KappaSteig"]
    correlation = np.corrcoef(u.samples["txt_Feuchteleit"], u.samples["txt_KappaSteig"])[0, 1]
    # 30 draws estimate a correlation of 0,5 with a standard error of (1 - 0,5²)/√30 = 0,14.
    assert correlation == pytest.approx(0.5, abs=0.3)
    assert "als Gruppe bewertet" in u.report


def test_refusals_of_bad_studies():
    with pytest.raises(ValueError, match="Standardabweichung einer Verteilung „normal“"):
        tesmo.uncertainty(uncertain={"txt_mue": "normal 20 ; 0"})
    with pytest.raises(ValueError, match="nicht positiv definit"):
        tesmo.uncertainty(uncertain={("txt_mue", "txt_rhos"): ("normal", [20, 1850],
                                                              [[1, 2], [2, 1]])})
    with pytest.raises(TypeError, match="unknown input"):
        tesmo.uncertainty(uncertain={"txt_Mue": "normal 20 ; 1"})
    with pytest.raises(ValueError, match="'Lauzeit' is not a result column"):
        tesmo.uncertainty(uncertain={"txt_mue": "normal 20 ; 1"}, results="Lauzeit")
    with pytest.raises(ValueError, match="Pick-Freeze-Verfahren braucht die Studie mindestens 150"):
        tesmo.uncertainty(uncertain={"txt_mue": "normal 20 ; 1"}, samples=100,
                          indices="pickfreeze")
    with pytest.raises(TypeError, match="either as a .tguq file or by its arguments"):
        tesmo.uncertainty("x.tguq", uncertain={"txt_mue": "normal 20 ; 1"})
    with pytest.raises(FileNotFoundError):
        tesmo.uncertainty("/nonexistent/x.tguq")


def test_a_study_written_from_python_reads_back(tmp_path):
    path = tmp_path / "w.tguq"
    plan = tesmo._core.uq_plan(
        list(tesmo.defaults().values()), [("txt_mue", "triangular", [10, 20, 40], "")], [],
        100, "sobol", 7, "chaos", ["Laufzeit"], [("Laufzeit", "<", 2e4)])
    tesmo._core.uq_write(bytes(path), plan)
    text = path.read_text(encoding="utf-8")
    assert "uncertain txt_mue = triangular 10 : 20 : 40\n" in text
    assert "limit Laufzeit < 20000\n" in text
    assert tesmo._core.uq_case_table(tesmo._core.uq_plan_file(bytes(path))) == \
        tesmo._core.uq_case_table(plan)


EXAMPLE = Path(__file__).resolve().parents[2] / "examples" / "unsicherheit.tguq"


def test_the_example_of_the_readme_runs(runner):
    assert len(tesmo.uncertainty_cases(EXAMPLE)) == 1000
    # A hundredth of its cases, as one of a hundred shards would run them.
    done = runner("--uq", str(EXAMPLE), "--shard", "1/100", "--jobs", "2", check_status=0)
    rows = done.stdout.splitlines()
    assert len(rows) == 1 + 10
    assert all(row.split(",")[0] == str(1 + 100 * i) for i, row in enumerate(rows[1:]))


FIT = Path(__file__).resolve().parents[2] / "examples" / "anpassung" / "ergebnis.tgfit"


def test_a_fit_argument_gives_the_fit_line_of_a_study_file(tmp_path):
    study = tmp_path / "f.tguq"
    study.write_text(
        "format = tesmo-gegen-uq 1\ntxt_Dicke = 4\ntxt_Ortsschrittweite = 0,25\n"
        f"txt_deltaT = 2,0\nuncertain txt_AbluftFeuchte = normal 70 ; 3\nfit = {FIT}\n"
        "samples = 12\nseed = 4\n", encoding="utf-8")
    by_file = tesmo.uncertainty_cases(study)
    by_arguments = tesmo.uncertainty_cases(
        uncertain={"txt_AbluftFeuchte": "normal 70 ; 3"}, fit=FIT,
        base={**COARSE, "txt_Dicke": "4"}, samples=12, seed=4)
    pd.testing.assert_frame_equal(by_arguments, by_file)
    assert list(by_file.columns)[1:] == ["txt_Feuchteleit", "txt_KappaSteig", "txt_mue"]
    # The fit alone is a study too; written out, it names the fit file from its own folder.
    plan = tesmo._core.uq_plan(list(tesmo.defaults().values()), [], [], 50, "lhs", 1, "auto",
                               ["Laufzeit"], [], bytes(FIT))
    (tmp_path / "sub").mkdir()
    tesmo._core.uq_write(bytes(tmp_path / "sub" / "w.tguq"), plan)
    text = (tmp_path / "sub" / "w.tguq").read_text(encoding="utf-8")
    assert f"fit = {os.path.relpath(FIT, tmp_path / 'sub')}\n" in text
    with pytest.raises(ValueError, match="kein gespeichertes Ergebnis"):
        tesmo.uncertainty(fit=FIT.parent / "anpassung.tgfit")
    with pytest.raises(TypeError, match="either as a .tguq file or by its arguments"):
        tesmo.uncertainty(study, fit=FIT)
