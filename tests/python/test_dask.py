"""The Dask example on an in-process cluster gives the study of tesmo.study and the runner."""

import importlib.util
import pathlib

import pandas as pd
import pytest

import tesmo
from conftest import runner_args

distributed = pytest.importorskip("dask.distributed")

EXAMPLE = pathlib.Path(__file__).resolve().parents[2] / "examples" / "dask_study.py"
# 12 cases: both regular ends and a refused one.
VARY = {"txt_Dicke": "4;5;x", "txt_deltaT": "1;2", "txt_XZiel": "0;0,05"}


def load_example():
    spec = importlib.util.spec_from_file_location("dask_study", EXAMPLE)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


@pytest.fixture(scope="module")
def client():
    # Two workers in this process: no other process, no socket, no dashboard.
    cluster = distributed.LocalCluster(
        n_workers=2,
        threads_per_worker=1,
        processes=False,
        protocol="inproc://",
        dashboard_address=None,
    )
    with distributed.Client(cluster, timeout=30) as c:
        yield c
    cluster.close(timeout=30)


def test_the_dask_study_equals_tesmo_study_and_the_runners_table(runner, client, tmp_path):
    example = load_example()
    expected = tesmo.study(vary=VARY, jobs=2)
    assert len(expected) == 12 and "refused" in set(expected["end"])
    cases = tesmo.study_cases(vary=VARY)
    frame = example.dask_study(client, cases, chunk_size=5, timeout=120)
    pd.testing.assert_frame_equal(frame, expected, check_exact=True)

    # The command line writes the runner's table for the same arguments.
    base = {"txt_mue": "25"}
    argv = [f"--vary={n}={s}" for n, s in VARY.items()] + runner_args(base)
    status = example.main([*argv, str(tmp_path / "dask.csv")], client=client)
    done = runner(*argv, "--table", str(tmp_path / "runner.csv"), "--jobs", "2")
    assert status == done.returncode == 3
    assert (tmp_path / "dask.csv").read_bytes() == (tmp_path / "runner.csv").read_bytes()
