"""tesmo.study against the runner's study: the same table, read back or written."""

import os
import re
import subprocess
import sys

import numpy as np
import pandas as pd
import pytest

import tesmo
from conftest import THIN, runner_args

# Both regular ends, refused cases (a text without a number, a 0) and a run cut short.
VARY = {"txt_Dicke": "4;5;x;0;20", "txt_XZiel": "0;0,05;0,2499"}


def runner_table(runner, tmp_path, *args, base=None):
    path = tmp_path / "runner.csv"
    runner(*args, *runner_args(base or {}), "--table", str(path), "--jobs", "2", check_status=3)
    return path


@pytest.fixture(scope="module")
def studied():
    return tesmo.study(vary=VARY, jobs=2)


def test_a_study_equals_the_runners_table(runner, tmp_path, studied):
    path = runner_table(runner, tmp_path, *[f"--vary={n}={s}" for n, s in VARY.items()])
    assert list(studied.columns) == list(tesmo.TABLE_COLUMNS)
    assert set(studied["end"]) == {"target", "midplane", "refused", "unstable"}
    assert studied["case"].dtype == np.int64
    assert studied["end"].dtype == studied["message"].dtype == object
    assert (studied.drop(columns=["case", "end", "message"]).dtypes == np.float64).all()

    pd.testing.assert_frame_equal(tesmo.read_table(path), studied, check_exact=True)
    # pandas' own reading gives the same numbers when it reads them exactly; it makes
    # whole-number columns int64 and an empty message NaN.
    plain = pd.read_csv(path, float_precision="round_trip")
    plain["message"] = plain["message"].fillna("")
    pd.testing.assert_frame_equal(plain, studied, check_exact=True, check_dtype=False)

    tesmo.write_table(studied, tmp_path / "python.csv")
    assert (tmp_path / "python.csv").read_bytes() == path.read_bytes()


def test_the_german_table_is_the_runners_and_a_german_reader_takes_it(runner, tmp_path, studied):
    args = [f"--vary={n}={s}" for n, s in VARY.items()]
    path = runner_table(runner, tmp_path, *args, "--table-format", "de")
    tesmo.write_table(studied, tmp_path / "python_de.csv", table_format="de")
    assert (tmp_path / "python_de.csv").read_bytes() == path.read_bytes()
    assert path.read_bytes().startswith(b"\xef\xbb\xbfcase;txt_Dicke;")
    # Read back exactly by the package, and by pandas as a German spreadsheet file.
    pd.testing.assert_frame_equal(tesmo.read_table(path), studied, check_exact=True)
    german = pd.read_csv(path, sep=";", decimal=",", encoding="utf-8-sig",
                         float_precision="round_trip")
    german["message"] = german["message"].fillna("")
    pd.testing.assert_frame_equal(german, studied, check_exact=True, check_dtype=False)
    # The cases of a result table run again: the same table, except where a text held no
    # number ("x"): its cell is empty and takes the base text.
    again = tesmo.study(cases=path)
    read = studied["txt_Dicke"].notna()
    pd.testing.assert_frame_equal(again[read], studied[read], check_exact=True)
    assert (again["txt_Dicke"][~read] == 20).all()
    with pytest.raises(ValueError, match="table_format"):
        tesmo.write_table(studied, tmp_path / "x.csv", table_format="xlsx")


def test_inputs_appear_as_typed_in_the_table(tmp_path, studied):
    tesmo.write_table(studied, tmp_path / "t.csv")
    text = (tmp_path / "t.csv").read_text(encoding="utf-8")
    assert ",0.05," in text and "0.050000000000000003" not in text


def test_cases_from_a_table_a_list_or_a_case_file_run_as_the_runners(runner, tmp_path):
    table = tmp_path / "faelle.csv"
    table.write_text("txt_Dicke;txt_Lufttemp\n4;40\n5;\nx;45\n", encoding="utf-8")
    base = tmp_path / "basis.tgcase"
    tesmo.write_case(base, {"txt_mue": 25, "txt_XZiel": "0,05"})

    path = runner_table(runner, tmp_path, "--cases", str(table), "--case", str(base))
    expected = tesmo.read_table(path)
    by_table = tesmo.study(cases=table, base=base)
    by_list = tesmo.study(
        cases=[{"txt_Dicke": 4, "txt_Lufttemp": 40}, {"txt_Dicke": 5}, {"txt_Dicke": "x", "txt_Lufttemp": 45}],
        base=tesmo.read_case(base),
    )
    pd.testing.assert_frame_equal(by_table, expected, check_exact=True)
    pd.testing.assert_frame_equal(by_list, expected, check_exact=True)


def test_varied_values_form_the_product_the_last_fastest(studied):
    lists = tesmo.study(vary={"txt_Dicke": [4, 5, "x", 0, 20.0], "txt_XZiel": [0, 0.05, "0,2499"]})
    pd.testing.assert_frame_equal(lists, studied, check_exact=True)
    cases = tesmo.study_cases(vary={"txt_Dicke": "10:12:1", "txt_mue": "20;30"}, base=THIN)
    assert [(c["txt_Dicke"], c["txt_mue"]) for c in cases] == [
        ("10", "20"), ("10", "30"), ("11", "20"), ("11", "30"), ("12", "20"), ("12", "30")
    ]
    assert tesmo.study(cases=[]).columns.tolist() == list(tesmo.TABLE_COLUMNS)


def test_rows_of_single_runs_make_the_studys_frame(studied):
    rows = []
    for number, inputs in reversed(list(enumerate(tesmo.study_cases(vary=VARY), start=1))):
        try:
            outcome = tesmo.run(inputs)
        except tesmo.InputError as refused:
            outcome = refused
        rows.append(tesmo.study_row(number, outcome))
    pd.testing.assert_frame_equal(tesmo.study_frame(rows), studied, check_exact=True)


def test_progress_is_reported_up_to_the_last_case(capsys):
    seen = []
    tesmo.study(vary={"txt_Dicke": "4;5;4;5"}, jobs=2, progress=seen.append)
    assert seen and all(isinstance(p, tesmo.Progress) for p in seen)
    assert seen[-1].done == seen[-1].total == 4
    assert [p.done for p in seen] == sorted(p.done for p in seen)

    tesmo.study(vary={"txt_Dicke": "4"}, progress=True)
    assert "1 von 1 Fällen, Zeit" in capsys.readouterr().err

    def failing(progress):
        raise RuntimeError("progress failed")

    with pytest.raises(RuntimeError, match="progress failed"):
        tesmo.study(vary={"txt_Dicke": "4;5"}, progress=failing)


def test_a_malformed_study_is_refused_before_it_runs(runner):
    done = runner("--vary", "txt_Dicke=30:10:5", check_status=2)
    with pytest.raises(ValueError) as caught:
        tesmo.study(vary={"txt_Dicke": "30:10:5"})
    assert done.stderr.strip() == f"tesmo-gegen-batch: --vary {caught.value}"
    with pytest.raises(ValueError):
        tesmo.study(vary={"txt_Dicke": []})
    with pytest.raises(TypeError, match="txt_Dike"):
        tesmo.study(vary={"txt_Dike": "1;2"})
    with pytest.raises(TypeError):
        tesmo.study(vary={"txt_Dicke": "4"}, cases=[{}])
    with pytest.raises(ValueError):
        tesmo.study(vary={"txt_Dicke": "4"}, jobs=0)
    with pytest.raises(FileNotFoundError):
        tesmo.study(cases="/nonexistent/faelle.csv")


# A study under a limit of its address space: a little more than the interpreter holds already,
# too little for the run states (40 MB each) or the further thread's stack.
LIMITED = """
import resource, sys, tesmo
with open("/proc/self/status") as f:
    vm = next(int(line.split()[1]) for line in f if line.startswith("VmSize:")) * 1024
resource.setrlimit(resource.RLIMIT_AS, (vm + int(sys.argv[1]) * 2**20, resource.RLIM_INFINITY))
try:
    tesmo.study(vary={"txt_Dicke": [4] * 8}, jobs=2)
    print("finished")
except (MemoryError, RuntimeError) as e:
    print(type(e).__name__ + ": " + str(e))
"""


@pytest.mark.skipif("asan" in os.environ.get("LD_PRELOAD", ""), reason="the sanitizer needs the address space")
@pytest.mark.parametrize("megabytes", [10, 30])
def test_a_study_the_system_refuses_memory_or_a_thread_raises_instead_of_aborting(megabytes):
    done = subprocess.run(
        [sys.executable, "-c", LIMITED, str(megabytes)],
        capture_output=True,
        text=True,
        timeout=60,
        check=False,
    )
    assert done.returncode == 0, done.stderr
    said = done.stdout.strip()
    assert re.match(r"^(MemoryError|RuntimeError): Die Studie wurde abgebrochen: ", said), said
