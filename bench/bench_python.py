#!/usr/bin/python3
"""The Python package against the runner: one default run, and a study of 16 default cases.

    PYTHONPATH=build/release/python bench/bench_python.py build/release/batch/tesmo-gegen-batch

tesmo.run() is timed inside Python; the runner as a whole process (start, run, report, exit),
which is what a script calling it would wait for; its start-up alone (--version) is shown
beside it. The two sides take turns so that a change of load on a shared machine hits both.
The study runs on two threads on both sides. Wall-clock time is what counts; measure it on a
quiet machine (load below 1). The processor time of all threads (of the runner's process,
of this process for Python) is shown as well: it changes less with the load.
"""

import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

import tesmo

ROUNDS = 15
STUDY_ROUNDS = 7
STUDY_CASES = 16
TARGETS = {"run": 0.05, "study": 0.10}


def cpu_seconds():
    """Processor time so far of this process and of its finished children."""
    me = resource.getrusage(resource.RUSAGE_SELF)
    children = resource.getrusage(resource.RUSAGE_CHILDREN)
    return me.ru_utime + me.ru_stime + children.ru_utime + children.ru_stime


def timed(action):
    """Wall-clock and processor seconds of one call."""
    start, cpu = time.perf_counter(), cpu_seconds()
    action()
    return time.perf_counter() - start, cpu_seconds() - cpu


def runner_call(runner, *args):
    return lambda: subprocess.run([runner, *args], stdout=subprocess.DEVNULL, check=False)


def alternate(rounds, python, runner):
    """Median and best wall-clock seconds and median processor seconds of each side, the
    sides taking turns."""
    python(), runner()  # warm: the run state allocated, the binary in the page cache
    times = {"python": [], "runner": []}
    for _ in range(rounds):
        times["python"].append(timed(python))
        times["runner"].append(timed(runner))
    return {
        side: (
            statistics.median(wall for wall, _ in t),
            min(wall for wall, _ in t),
            statistics.median(cpu for _, cpu in t),
        )
        for side, t in times.items()
    }


def report(name, result, extra=""):
    (py_median, py_best, py_cpu) = result["python"]
    (runner_median, runner_best, runner_cpu) = result["runner"]
    ratio = py_median / runner_median - 1
    verdict = "within" if ratio <= TARGETS[name] else "OVER"
    print(
        f"{name:6} python {py_median * 1000:7.1f} ms (best {py_best * 1000:7.1f}, "
        f"cpu {py_cpu * 1000:7.1f})   runner {runner_median * 1000:7.1f} ms "
        f"(best {runner_best * 1000:7.1f}, cpu {runner_cpu * 1000:7.1f})   "
        f"python {ratio:+6.1%}: {verdict} the target of {TARGETS[name]:.0%}{extra}"
    )


def main(runner):
    print(f"load average before: {os.getloadavg()[0]:.2f}")
    start_up = statistics.median(
        timed(runner_call(runner, "--version"))[0] for _ in range(ROUNDS)
    )
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
