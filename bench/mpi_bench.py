#!/usr/bin/env python3
"""Files per second of `plexo features` and `plexo avg-fft` in one process and under mpirun
with 1, 2 and 4 ranks (more ranks than cores run oversubscribed).

Usage: bench/mpi_bench.py PLEXO [--data DIR] [--files N] [--repeat R] [--launcher MPIRUN]
                           [--commands features,avg-fft] [--features-options "--all"]

The folder (bench/make_bench_data.py: N files of 4096 samples) is made in DIR when missing.
Each figure is the median wall time of R runs of the whole launch (start of the ranks, listing,
reading, computing, gathering and writing); "launch" is the median time of the same command on
an empty folder (`features`: starting and ending the ranks), and files/s after launch divides by the
difference. The tables of every run are compared with the one-process table and with the
first table of several ranks.
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


def timed(command, env, check=True):
    start = time.perf_counter()
    subprocess.run(command, check=check, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   env=env)
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
    parser.add_argument("--features-options", default="",
                        help="options for plexo features, e.g. --all (the wavelet columns)")
    parser.add_argument("--commands", default="features,avg-fft")
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
    empty = os.path.join(args.data, "empty")
    os.makedirs(empty, exist_ok=True)
    print("| command | ranks x threads | wall time | launch | files/s | files/s after launch "
          "| table |")
    print("|---|---|---|---|---|---|---|")
    tables = {"features": "FXData/FX_Results.txt", "avg-fft": "avgFFTData/average_FFT.txt"}
    for command in args.commands.split(","):
        table = tables[command]
        extra = args.features_options.split() if command == "features" else []
        runs = [("one process", None, cores)] + [(f"mpirun -n {r}", r, t) for r, t in
                                                 ((1, cores), (2, 1), (2, cores), (4, 1))]
        reference = None
        shared = None
        for name, ranks, threads in runs:
            base = [args.plexo, command, folder, "--jobs", str(threads)] + extra
            full = base if ranks is None else launch_prefix(args.launcher, ranks) + base
            times = [timed(full, env) for _ in range(args.repeat)]
            # `features` on the empty folder: it succeeds (a run that fails keeps mpirun
            # waiting longer), and starting and ending the ranks is the same for both commands.
            launch_command = [a for a in full if a not in extra]
            launch_command[launch_command.index(command)] = "features"
            launch_command[launch_command.index(folder)] = empty
            launch = statistics.median(timed(launch_command, env) for _ in range(args.repeat))
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
            shown = " ".join([command] + extra)
            print(f"| `{shown}` {name} | {label} x {threads}{over} | {wall:.2f} s | "
                  f"{launch:.2f} s | {count / wall:.0f} | {count / max(wall - launch, 1e-3):.0f} "
                  f"| {same} |")


if __name__ == "__main__":
    main()
