#!/usr/bin/env python3
"""Files per second of `plexo features` and `plexo avg-fft` in one process and under mpirun
with 1, 2 and 4 ranks (more ranks than cores run oversubscribed).

Usage: bench/mpi_bench.py PLEXO [--data DIR] [--files N] [--repeat R] [--launcher MPIRUN]

The folder (bench/make_bench_data.py: N files of 4096 samples) is made in DIR when missing.
Each figure is the median wall time of R runs of the whole launch (start of the ranks, listing,
reading, computing, gathering and writing); the tables of every run are compared with the
one-process table (features: the same bytes; avg-fft: the same table for 2 and 4 ranks).
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def launch_prefix(launcher, ranks):
    prefix = [launcher, "--oversubscribe", "-n", str(ranks)]
    if os.geteuid() == 0:
        prefix.insert(1, "--allow-run-as-root")
    return prefix


def timed(command, env):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, env=env)
    return time.perf_counter() - start


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plexo")
    parser.add_argument("--data", default="/tmp/plexo-mpi-bench")
    parser.add_argument("--files", type=int, default=2000)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--launcher", default="mpirun")
    args = parser.parse_args()

    folder = os.path.join(args.data, "folder")
    if not os.path.isdir(folder) or len(os.listdir(folder)) < args.files:
        subprocess.run([sys.executable, os.path.join(HERE, "make_bench_data.py"), args.data,
                        str(args.files)], check=True)
    env = dict(os.environ, OMPI_MCA_btl="self,vader", OMPI_MCA_pml="ob1",
               OMPI_MCA_btl_vader_single_copy_mechanism="none")
    count = len([n for n in os.listdir(folder) if n.lower().endswith(".txt")])
    cores = os.cpu_count()
    print(f"{count} files of 4096 samples, {cores} cores, median of {args.repeat} runs\n")
    print("| command | ranks x threads | wall time | files/s | table |")
    print("|---|---|---|---|---|")
    for command, table in (("features", "FXData/FX_Results.txt"),
                           ("avg-fft", "avgFFTData/average_FFT.txt")):
        runs = [("one process", None, cores)] + [(f"mpirun -n {r}", r, t) for r, t in
                                                 ((1, cores), (2, 1), (2, cores), (4, 1))]
        reference = None
        shared = None
        for name, ranks, threads in runs:
            base = [args.plexo, command, folder, "--jobs", str(threads)]
            full = base if ranks is None else launch_prefix(args.launcher, ranks) + base
            times = [timed(full, env) for _ in range(args.repeat)]
            out = read(os.path.join(folder, table))
            if reference is None:
                reference = out
            if ranks is not None and ranks > 1 and shared is None:
                shared = out
            same = ("= one process" if out == reference else
                    "= other rank counts" if out == shared else "DIFFERS")
            wall = statistics.median(times)
            over = (" (more ranks than cores: oversubscribed)" if ranks and ranks > cores else
                    " (more threads than cores)" if ranks and ranks * threads > cores else "")
            label = "1" if ranks is None else str(ranks)
            print(f"| `{command}` {name} | {label} x {threads}{over} | {wall:.2f} s | "
                  f"{count / wall:.0f} | {same} |")


if __name__ == "__main__":
    main()
