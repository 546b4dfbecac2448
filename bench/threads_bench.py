#!/usr/bin/env python3
"""Two plexo programs on the commands whose work runs on several threads and is joined in file
or row order (Average FFT, features, several files of fft, the wavelet TFT and its file), run
alternately so that the machine's load touches both alike.

Usage: bench/threads_bench.py OLD_PLEXO NEW_PLEXO [--data DIR] [--repeat R]

The data (bench/make_bench_data.py, 2000 files of 4096 samples) is made in DIR when missing;
fft runs on copies of its first 40 files in DIR/few. Each figure is the median wall time of R
runs, with the median CPU time (user + system, all threads) in brackets.
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


def run(command, cwd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("old_plexo")
    parser.add_argument("new_plexo")
    parser.add_argument("--data", default="/tmp/plexo-threads-bench")
    parser.add_argument("--repeat", type=int, default=7)
    args = parser.parse_args()
    data = args.data
    if not os.path.exists(os.path.join(data, "folder", "hit_01999.txt")):
        shutil.rmtree(data, ignore_errors=True)
        subprocess.run([sys.executable, os.path.join(HERE, "make_bench_data.py"), data, "2000"],
                       check=True)
    few = [os.path.join("few", "hit_%05d.txt" % i) for i in range(40)]
    os.makedirs(os.path.join(data, "few"), exist_ok=True)
    for name in few:
        shutil.copy(os.path.join(data, "folder", os.path.basename(name)), os.path.join(data, name))
    cases = [("avg-fft 2000 files -j1", ["avg-fft", "folder", "--jobs", "1"]),
             ("avg-fft 2000 files -j2", ["avg-fft", "folder", "--jobs", "2"]),
             ("features 2000 files -j2", ["features", "folder", "--jobs", "2"]),
             ("fft 40 files -j2", ["fft"] + few + ["--jobs", "2"]),
             ("tft wavelet grid", TFT_GRID)]
    programs = [("old", os.path.abspath(args.old_plexo)), ("new", os.path.abspath(args.new_plexo))]
    print("load average at start: %s" % open("/proc/loadavg").read().split()[0])
    for name, arguments in cases:
        times = {tag: [] for tag, _ in programs}
        for _ in range(args.repeat):
            for tag, program in programs:
                times[tag].append(run([program] + arguments, data))
        cells = ["%s %.0f ms [cpu %.0f ms]" % (tag, statistics.median(t[0] for t in times[tag]) * 1e3,
                                             statistics.median(t[1] for t in times[tag]) * 1e3)
                 for tag, _ in programs]
        print("%-26s %s" % (name, " | ".join(cells)), flush=True)
    print("load average at end: %s" % open("/proc/loadavg").read().split()[0])


if __name__ == "__main__":
    main()
