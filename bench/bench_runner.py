#!/usr/bin/python3
"""The runner as a whole process: the time of a default run and the memory it holds at most.

    bench/bench_runner.py build/release/batch/tesmo-gegen-batch [REFERENCE-RUNNER]

Measures the default run (start, run, report, exit) and its peak resident memory, the peak of a
study of four default cases on two threads (--jobs 2), and --version: the runner's start alone,
which loads none of its modules (Qt, OpenTURNS, Ceres). With a second runner (e.g. a build
of an earlier version) both default runs are timed taking turns, so that a change of load on a
shared machine hits both alike. Targets: a default run no slower than the reference (by the
median, within the 2 % the medians scatter by), a single run under 16 MiB, and the study on two
threads under twice what one run holds (each worker holds the records of its own run).
Wall-clock time is what counts; measure it on a quiet machine (load below 1). The processor
time (user and system) is shown as well: it changes less with the load.
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

ROUNDS = 15
MIB = 1024 * 1024
SINGLE_RUN_LIMIT = 16 * MIB
SCATTER = 0.02
STUDY = ["--vary", "txt_mue=20;20;20;20", "--jobs", "2"]


def measured(command):
    """Wall-clock seconds, user and system seconds and peak resident bytes of one process.

    The process is started by /usr/bin/time, which reports its peak: a process started from
    Python directly would count this interpreter's memory too, which its parent held when it
    was forked.
    """
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        done = subprocess.run(
            ["/usr/bin/time", "-f", "%U %S %M", "-o", report.name, *command],
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
            check=False,
        )
        wall = time.perf_counter() - start
        if done.returncode != 0:
            sys.exit(f"{' '.join(command)} failed")
        user, system, kib = report.read().split()[-3:]
    return wall, float(user), float(system), int(kib) * 1024


def summary(samples):
    """Median wall, best wall, median user, median system seconds and the largest peak."""
    return (
        statistics.median(s[0] for s in samples),
        min(s[0] for s in samples),
        statistics.median(s[1] for s in samples),
        statistics.median(s[2] for s in samples),
        max(s[3] for s in samples),
    )


def show(name, s):
    wall, best, user, system, peak = s
    print(
        f"{name:28} {wall * 1000:7.1f} ms (best {best * 1000:7.1f}; user {user * 1000:6.1f}, "
        f"system {system * 1000:5.1f})   peak {peak / MIB:6.1f} MiB"
    )


def verdict(ok):
    return "within" if ok else "OVER"


def main(runner, reference=None):
    print(f"load average before: {os.getloadavg()[0]:.2f}")
    sides = {"runner": [runner]}
    if reference:
        sides["reference"] = [reference]
    for command in sides.values():
        measured(command)  # warm: the program and its libraries in the page cache
    samples = {name: [] for name in sides}
    for _ in range(ROUNDS):
        for name, command in sides.items():
            samples[name].append(measured(command))
    single = summary(samples["runner"])
    show("default run", single)
    if reference:
        ref = summary(samples["reference"])
        show("default run, reference", ref)
        # Medians of the same program taken in turns differ by up to about 2 % on an idle
        # machine; more than that is slower.
        print(f"  default run {single[0] / ref[0] - 1:+6.1%} against the reference "
              f"(user time {single[2] / ref[2] - 1:+6.1%}): "
              f"{verdict(single[0] <= ref[0] * (1 + SCATTER))} the target (no slower)")
    print(f"  single run peak {single[4] / MIB:.1f} MiB: "
          f"{verdict(single[4] < SINGLE_RUN_LIMIT)} the target of {SINGLE_RUN_LIMIT / MIB:.0f} MiB")

    study = summary([measured([runner, *STUDY]) for _ in range(5)])
    show("4 default cases, --jobs 2", study)
    print(f"  --jobs 2 peak {study[4] / MIB:.1f} MiB = {study[4] / single[4]:.2f} x one run: "
          f"{verdict(study[4] <= 2 * single[4])} the target of 2 x")

    show("--version", summary([measured([runner, "--version"]) for _ in range(ROUNDS)]))
    print(f"load average after: {os.getloadavg()[0]:.2f}")


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(f"usage: {sys.argv[0]} PATH/TO/tesmo-gegen-batch [REFERENCE-RUNNER]")
    main(*sys.argv[1:])
