#!/usr/bin/python3
"""The Python package against the runner: one default run, and a study of 16 default cases.

    PYTHONPATH=build/release/python bench/bench_python.py build/release/batch/tesmo-gegen-batch

tesmo.run() is timed inside Python; the runner as a whole process (start, run, report, exit),
which is what a script calling it would wait for; its start-up alone (--version) is shown
beside it. The two sides take turns so that a change of load on a shared machine hits both.
The study runs on two threads on both sides. Measure on a quiet machine (load below 1).
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

import tesmo

ROUNDS = 15
STUDY_ROUNDS = 5
STUDY_CASES = 16
TARGETS = {"run": 0.05, "study": 0.10}


def timed(action):
    start = time.perf_counter()
    action()
    return time.perf_counter() - start


def runner_call(runner, *args):
    return lambda: subprocess.run([runner, *args], stdout=subprocess.DEVNULL, check=False)


def alternate(rounds, python, runner):
    """Median and best seconds of each side, the sides taking turns."""
    python(), runner()  # warm: the run state allocated, the binary in the page cache
    times = {"python": [], "runner": []}
    for _ in range(rounds):
        times["python"].append(timed(python))
        times["runner"].append(timed(runner))
    return {side: (statistics.median(t), min(t)) for side, t in times.items()}


def report(name, result, extra=""):
    (py_median, py_best), (runner_median, runner_best) = result["python"], result["runner"]
    ratio = py_median / runner_median - 1
    verdict = "within" if ratio <= TARGETS[name] else "OVER"
    print(
        f"{name:6} python median {py_median * 1000:8.1f} ms (best {py_best * 1000:7.1f})   "
        f"runner median {runner_median * 1000:8.1f} ms (best {runner_best * 1000:7.1f})   "
        f"python {ratio:+6.1%}  {verdict} the target of {TARGETS[name]:.0%}{extra}"
    )


def main(runner):
    print(f"load average before: {os.getloadavg()[0]:.2f}")
    start_up = statistics.median(timed(runner_call(runner, "--version")) for _ in range(ROUNDS))
    run = alternate(ROUNDS, tesmo.run, runner_call(runner))
    report("run", run, f"   (runner start-up {start_up * 1000:.1f} ms)")

    with tempfile.TemporaryDirectory() as folder:
        table = os.path.join(folder, "table.csv")
        values = ";".join(["20"] * STUDY_CASES)
        study = alternate(
            STUDY_ROUNDS,
            lambda: tesmo.study(vary={"txt_mue": [20] * STUDY_CASES}, jobs=2),
            runner_call(runner, "--vary", f"txt_mue={values}", "--jobs", "2", "--table", table),
        )
    report("study", study)
    print(f"load average after: {os.getloadavg()[0]:.2f}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} PATH/TO/tesmo-gegen-batch")
    main(sys.argv[1])
