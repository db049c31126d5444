"""What the tests of the package tesmo share: the runner they compare it with."""

import os
import subprocess

import pytest

# Small cases: a thin plate dries in a few thousand time steps.
THIN = {"txt_Dicke": "4"}


@pytest.fixture(scope="session")
def runner():
    """Runs tesmo-gegen-batch (its path in TESMO_BATCH) and returns the finished process."""
    path = os.environ.get("TESMO_BATCH")
    if not path:
        pytest.fail("TESMO_BATCH must name the runner tesmo-gegen-batch")

    def run(*args, check_status=None):
        done = subprocess.run(
            [path, *args], capture_output=True, text=True, timeout=120, check=False
        )
        if check_status is not None:
            assert done.returncode == check_status, done.stderr
        return done

    return run


def runner_args(inputs):
    return [f"{name}={text}" for name, text in inputs.items()]


def runner_report(stdout):
    """The runner's report as (output field texts, visible warning labels, end)."""
    texts, warnings, end = {}, [], None
    for line in stdout.splitlines():
        name, text = line.split("\t")
        if name == "end":
            end = text
        elif name.startswith("lbl_"):
            if text == "visible":
                warnings.append(name)
        elif name.startswith("txt_") and "." not in name:
            texts[name] = text
    return texts, warnings, end
