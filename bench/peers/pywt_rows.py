#!/usr/bin/env python3
"""PyWavelets' continuous wavelet transform by FFT on the wavelet benchmark's workload: 100 rows
(1e4 .. 1e6 Hz at dt = 1e-7 s) of a 4000-sample window, a complex Morlet wavelet sampled over
about 1000 points per row at the low end. Prints the median of R runs.

Usage: bench/peers/pywt_rows.py [--repeat R]
"""
import argparse
import statistics
import time

import numpy as np
import pywt


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--repeat", type=int, default=7)
    args = parser.parse_args()
    dt = 1e-7
    k = np.arange(4000)
    x = np.sin(2 * np.pi * 2e5 * k * dt) * np.exp(-k / 1500.0)
    wavelet = "cmor1.5-1.0"
    frequencies = np.arange(1, 101) * 1e4
    scales = pywt.central_frequency(wavelet) / (frequencies * dt)
    times = []
    for _ in range(args.repeat):
        start = time.perf_counter()
        coefficients, _ = pywt.cwt(x, scales, wavelet, sampling_period=dt, method="fft")
        times.append(time.perf_counter() - start)
    print("pywt.cwt(method='fft') %d rows x %d columns: median %.1f ms (%s)" %
          (coefficients.shape[0], coefficients.shape[1], 1e3 * statistics.median(times),
           ", ".join("%.1f" % (1e3 * t) for t in times)))


if __name__ == "__main__":
    main()
