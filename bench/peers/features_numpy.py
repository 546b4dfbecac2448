#!/usr/bin/env python3
"""A short numpy peer of `plexo features` with the default columns, for bench/RESULTS.md.

Reads every *.txt waveform of FOLDER with numpy.loadtxt (samples from line 9 on, the first one
forced to 0 as the program's reader does), and computes per file the peak amplitude and energy
of the 200..400 us window (50 ohms), the gated spectrum's three peak frequencies (each further
than fs/200 from those before), the weighted peak frequencies, the centroid and the six default
partial powers. Prints files per second on one core; with --table writes the values.

    python3 bench/peers/features_numpy.py FOLDER [--table OUT]

Exits with status 0 and a note when numpy is not installed.
"""
import glob
import math
import os
import sys
import time

try:
    import numpy as np
except ImportError:
    print("numpy is not installed: peer skipped")
    sys.exit(0)

BANDS = [(0, 150e3), (150e3, 300e3), (300e3, 450e3), (450e3, 600e3), (600e3, 900e3),
         (900e3, 1200e3)]
LIMIT = 1200e3
START, END, OHMS = 200e-6, 400e-6, 50


def sample_interval(path):
    with open(path) as f:
        for line in f:
            if line.startswith("SAMPLE INTERVAL (Seconds):"):
                return float(line[26:])
    raise ValueError(path + ": no sample interval")


def features(path):
    dt = sample_interval(path)
    x = np.loadtxt(path, skiprows=9, ndmin=1)
    x[0] = 0.0
    n = len(x)
    size = 1 << max(0, math.ceil(math.log2(n))) if n > 1 else 1
    first, last = int(START / dt), END / dt
    window = np.abs(x[max(first, 0):max(0, min(n, math.ceil(last)))])
    amplitude = window.max(initial=0.0)
    energy = float(np.sum(window * window)) * dt / OHMS
    gated = np.zeros(size)
    keep = np.arange(n)
    mask = (keep >= START / dt) & (keep < int(END / dt))
    gated[:n][mask] = x[mask]
    a = np.abs(np.fft.fft(gated)[: max(1, size // 2)])
    f = np.arange(len(a)) / (size * dt)
    exclusion = 1 / dt / 200
    peaks = [f[np.argmax(a)]]
    for _ in range(2):
        allowed = np.ones(len(a), bool)
        for p in peaks:
            allowed &= np.abs(np.trunc(f - p)) > exclusion
        peaks.append(f[np.argmax(np.where(allowed, a, -1))] if allowed.any() else 0.0)
    centroid = float(np.sum(a * f) / np.sum(a))
    weighted = [math.sqrt(p * centroid) for p in peaks]
    below = f < LIMIT
    total = float(np.sum(a[below]))
    shares = [float(np.sum(a[(f >= b) & (f < e) & below])) / (total * 0.01) for b, e in BANDS]
    return [amplitude, energy, *peaks, *weighted, centroid, *shares]


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    files = sorted(glob.glob(os.path.join(sys.argv[1], "*.txt")))
    began = time.perf_counter()
    rows = [features(p) for p in files]
    seconds = time.perf_counter() - began
    print(f"{len(files)} files in {seconds:.2f} s: {len(files) / seconds:.0f} files/s (numpy "
          f"{np.__version__}, one process)")
    if len(sys.argv) == 4 and sys.argv[2] == "--table":
        with open(sys.argv[3], "w") as out:
            for row in rows:
                out.write("".join(f"{v:e}\t" for v in row) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
