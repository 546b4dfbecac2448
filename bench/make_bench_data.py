#!/usr/bin/env python3
"""Writes the waveform files the command-line benchmarks run on (plain Python, no numpy).

  DIR/hit.txt        4096 samples at 100 ns: one file for start-up and parse throughput
  DIR/grid.txt       the wavelet benchmark's window: a decaying 200 kHz burst, 4100 samples
  DIR/folder/*.txt   COUNT files of 4096 samples each for the Average FFT
"""
import math
import os
import random
import sys

HEADER = ("SOURCE FILE NAME: -/-\r\nDATE:\t08-Dec-2026\r\nTIME:\t12:00:00\r\n"
          "SAMPLE INTERVAL (Seconds):   1.000000e-007\r\nUNITS:\tVolts\r\n"
          "CHANNEL NUMBER:\t1\r\nHIT NUMBER: -/-\r\nTIME OF TEST:\t{tot:e}\r\n\r\n")


def three_digit_e(value):
    """%e with a three-digit exponent, as the program writes it."""
    mantissa, exponent = ("%e" % value).split("e")
    return "%se%s%03d" % (mantissa, exponent[0], abs(int(exponent)))


def write(path, samples, time_of_test=1.0):
    with open(path, "w", newline="") as f:
        f.write(HEADER.replace("{tot:e}", three_digit_e(time_of_test)))
        f.write("".join("%f\r\n" % s for s in samples))


def burst(n, rng):
    f = rng.uniform(1e5, 4e5)
    onset = rng.randint(200, 800)
    return [(math.sin(2 * math.pi * f * (k - onset) * 1e-7) * math.exp(-(k - onset) / 900.0)
             if k >= onset else 0.0) + rng.gauss(0, 0.002) for k in range(n)]


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    rng = random.Random(20261208)
    os.makedirs(os.path.join(out, "folder"), exist_ok=True)
    write(os.path.join(out, "hit.txt"), burst(4096, rng))
    grid = [math.sin(2.0 * 3.141592653589793 * 2e5 * k * 1e-7) * math.exp(-k / 1500.0)
            for k in range(4000)] + [0.0] * 100
    write(os.path.join(out, "grid.txt"), grid)
    for i in range(count):
        write(os.path.join(out, "folder", "hit_%05d.txt" % i), burst(4096, rng), 1.0 + i)


if __name__ == "__main__":
    main()
