#!/usr/bin/python3
"""A Tesmo-Gegen parameter study on a Dask cluster, with the runner's result table as output.

    dask_study.py --vary txt_Lufttemp=25:45:5 --vary "txt_mue=10;20;40" studie.csv
    dask_study.py --scheduler tcp://rechner:8786 --vary txt_Dicke=10:30:1 txt_XZiel=0,05 studie.csv

The cases are those of `tesmo-gegen-batch --vary ...` with the same arguments (NAME=TEXT sets
the base texts, --case starts from a case file). They go to the workers in chunks; a worker
runs each case with tesmo.run and sends back rows of the study table, which come together as
the DataFrame that tesmo.study gives for the same cases and are written as the runner writes
its --table. Without --scheduler, a cluster of one worker per core runs on this machine.
Every worker needs the package tesmo (and the same version of it).

Exit status as the runner's: 0 every case finished, 3 some were refused or ended early,
2 the study is malformed or the command line wrong.
"""

import argparse
import math
import os
import sys

from dask.distributed import Client, LocalCluster, wait

import tesmo

EXIT_FINISHED, EXIT_REFUSED, EXIT_ENDED_EARLY = 0, 2, 3


def run_chunk(chunk):
    """Runs (case number, inputs) pairs on a worker; returns their rows of the study table."""
    rows = []
    for number, inputs in chunk:
        try:
            outcome = tesmo.run(inputs)
        except tesmo.InputError as refused:
            outcome = refused
        rows.append(tesmo.study_row(number, outcome))
    return rows


def dask_study(client, cases, chunk_size=None, timeout=None):
    """The frame of tesmo.study for `cases` (dicts of inputs), computed on the client's cluster.

    chunk_size  cases per task (default: about four tasks per worker thread, so that fast and
                slow cases even out)
    timeout     seconds to wait for the results at most (None: no limit)
    """
    numbered = list(enumerate(cases, start=1))
    if chunk_size is None:
        threads = max(1, sum(client.nthreads().values()))
        chunk_size = max(1, math.ceil(len(numbered) / (4 * threads)))
    chunks = [numbered[i : i + chunk_size] for i in range(0, len(numbered), chunk_size)]
    futures = client.map(run_chunk, chunks, pure=False)
    wait(futures, timeout=timeout)
    rows = [row for chunk in client.gather(futures) for row in chunk]
    return tesmo.study_frame(rows)


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        description="A Tesmo-Gegen parameter study on a Dask cluster.",
        epilog="The varied inputs, NAME=TEXT and --case as tesmo-gegen-batch takes them.",
    )
    parser.add_argument(
        "--vary",
        action="append",
        default=[],
        metavar="NAME=SPEC",
        help="vary an input over FROM:TO:STEP or A;B;C (several: the product, the last fastest)",
    )
    parser.add_argument("--case", metavar="FILE", help="base texts from a case file")
    parser.add_argument("--scheduler", metavar="ADDRESS", help="a Dask scheduler, e.g. tcp://host:8786")
    parser.add_argument("--workers", type=int, help="workers of the local cluster (default: cores)")
    parser.add_argument("--chunk", type=int, help="cases per task")
    parser.add_argument("items", nargs="+", metavar="NAME=TEXT ... TABLE.csv")
    args = parser.parse_args(argv)
    *texts, args.output = args.items
    args.overrides = {}
    for item in texts:
        name, equals, text = item.partition("=")
        if not equals:
            parser.error(f"expected NAME=TEXT, not {item!r}")
        args.overrides[name] = text
    args.varied = {}
    for spec in args.vary:
        name, equals, values = spec.partition("=")
        if not equals or name in args.varied:
            parser.error(f"--vary {spec}: expected NAME=SPEC, each NAME once")
        args.varied[name] = values
    if not args.varied:
        parser.error("at least one --vary is needed")
    return args


def local_cluster(workers):
    # tesmo.run releases the GIL, so worker threads in this process compute in parallel.
    return LocalCluster(
        n_workers=workers or os.cpu_count() or 1,
        threads_per_worker=1,
        processes=False,
        dashboard_address=None,
    )


def main(argv=None, client=None):
    """Runs the study of the command line; on `client` when given (its cluster stays open)."""
    args = parse_arguments(argv)
    try:
        base = tesmo.read_case(args.case) if args.case else tesmo.defaults()
        base.update(args.overrides)
        cases = tesmo.study_cases(vary=args.varied, base=base)
    except (OSError, ValueError, TypeError) as problem:
        print(f"dask_study: {problem}", file=sys.stderr)
        return EXIT_REFUSED
    if client is None:
        if args.scheduler:
            with Client(args.scheduler) as remote:
                frame = dask_study(remote, cases, args.chunk)
        else:
            # The client closes before its cluster, so that it does not try to reconnect.
            with local_cluster(args.workers) as cluster, Client(cluster) as local:
                frame = dask_study(local, cases, args.chunk)
    else:
        frame = dask_study(client, cases, args.chunk)
    tesmo.write_table(frame, args.output)
    finished = frame["end"].isin(["target", "midplane"])
    print(f"{len(frame)} Fälle, {int(finished.sum())} beendet -> {args.output}", file=sys.stderr)
    return EXIT_FINISHED if finished.all() else EXIT_ENDED_EARLY


if __name__ == "__main__":
    sys.exit(main())
