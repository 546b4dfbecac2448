#!/usr/bin/env python3
"""Whole-process timings of the plexo commands users run in loops, with their numpy peers
measured in the same run (the peers run only when numpy can be imported).

Usage: bench/cli_bench.py PLEXO [OLD_PLEXO] [--data DIR] [--files N] [--repeat R]

PLEXO is the program to measure; OLD_PLEXO, when given, is measured alongside it (the figure
before a change). The data (bench/make_bench_data.py) is made in DIR when missing. Each figure
is the median wall time of R runs, with the median CPU time (user + system, all threads) in
brackets; runs of the programs compared alternate.
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TFT_GRID = ("tft grid.txt --method cwt --time-start 0 --time-end 4e-4 --auto-time-res "
            "--freq-start 0 --freq-end 1e6 --freq-res 1e4 --auto-freq-res=0 "
            "--wavelet-length 1001 --complex=0").split()


def numpy_python():
    for python in (sys.executable, "/usr/bin/python3"):
        if subprocess.run([python, "-c", "import numpy"], capture_output=True).returncode == 0:
            return python
    return None


def median_time(commands, repeat, cwd):
    """Runs each command `repeat` times, alternating between them; median wall and CPU
    (user + system) seconds of each."""
    wall = [[] for _ in commands]
    cpu = [[] for _ in commands]
    for _ in range(repeat):
        for i, command in enumerate(commands):
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            start = time.perf_counter()
            result = subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            wall[i].append(time.perf_counter() - start)
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            cpu[i].append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
            if result.returncode != 0:
                sys.exit("failed: " + " ".join(command))
    return [(statistics.median(w), statistics.median(c)) for w, c in zip(wall, cpu)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plexo")
    parser.add_argument("old_plexo", nargs="?")
    parser.add_argument("--data", default="/tmp/plexo-bench-data")
    parser.add_argument("--files", type=int, default=2000)
    parser.add_argument("--repeat", type=int, default=11)
    args = parser.parse_args()
    data = args.data
    if not os.path.exists(os.path.join(data, "folder", "hit_%05d.txt" % (args.files - 1))):
        shutil.rmtree(data, ignore_errors=True)
        subprocess.run([sys.executable, os.path.join(HERE, "make_bench_data.py"), data,
                        str(args.files)], check=True)
    programs = [("plexo", os.path.abspath(args.plexo))]
    if args.old_plexo:
        programs.append(("before", os.path.abspath(args.old_plexo)))
    python = numpy_python()
    peer = (lambda name: [python, os.path.join(HERE, "peers", name)]) if python else None
    if not peer:
        print("numpy not found: peers skipped")

    def row(what, commands, repeat, unit=None):
        names = [name for name, _ in commands]
        medians = median_time([c for _, c in commands], repeat, data)
        cells = []
        for name, (seconds, cpu) in zip(names, medians):
            cell = "%s %.1f ms [cpu %.1f ms]" % (name, seconds * 1e3, cpu * 1e3)
            if unit:
                cell += " (%.0f %s)" % (unit[0] / seconds, unit[1])
            cells.append(cell)
        print("%-34s %s" % (what, " | ".join(cells)), flush=True)
        return dict(zip(names, medians))

    print("load average at start: %s" % open("/proc/loadavg").read().split()[0])
    row("plexo --help", [(n, [p, "--help"]) for n, p in programs], args.repeat)
    fft = [(n, [p, "fft", "hit.txt"]) for n, p in programs]
    if peer:
        fft.append(("numpy", peer("fft_peer.py") + ["hit.txt"]))
    row("fft on one 4096-sample file", fft, args.repeat)
    # The folder commands and their one-core peers alternate run by run in one row each, so
    # that a change in the machine's load touches all of them alike.
    folder_repeat = max(3, args.repeat // 2)
    for command, peer_script in (("avg-fft", "avg_fft_peer.py"), ("features", "features_numpy.py")):
        runs = [("plexo -j%d" % jobs, [programs[0][1], command, "folder", "--jobs", str(jobs)])
                for jobs in (1, 2)]
        if command == "avg-fft":  # the program before the speed work had no features command
            runs += [(n + " -j2", [p, command, "folder", "--jobs", "2"]) for n, p in programs[1:]]
        if peer:
            runs.append(("numpy", peer(peer_script) + ["folder"]))
        row("%s %d files" % (command, args.files), runs, folder_repeat, (args.files, "files/s"))
    tft = [(n, [p] + TFT_GRID) for n, p in programs]
    if peer:
        tft.append(("numpy", peer("tft_peer.py") + ["grid.txt"]))
    row("tft, wavelet benchmark grid", tft, max(3, args.repeat // 2))


if __name__ == "__main__":
    main()
