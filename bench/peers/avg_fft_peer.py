"""numpy peer of `plexo avg-fft DIR` on one core: per file loadtxt + fft, running sums of the
spectrum, the magnitudes and their squares, minimum and maximum; then the table."""
import os
import sys

import numpy as np

folder = sys.argv[1]
names = sorted(f for f in os.listdir(folder) if f.lower().endswith(".txt"))
s = a = q = lo = hi = None
for name in names:
    x = np.loadtxt(os.path.join(folder, name), skiprows=9)
    n = 1 << (len(x) - 1).bit_length()
    spectrum = np.fft.fft(x, n)[: n // 2]
    g = np.abs(spectrum)
    if s is None:
        s, a, q, lo, hi = spectrum.copy(), g.copy(), g * g, g.copy(), g.copy()
    else:
        s += spectrum
        a += g
        q += g * g
        np.minimum(lo, g, out=lo)
        np.maximum(hi, g, out=hi)
k = len(names)
sd = np.sqrt((k * q - a * a) / (k * (k - 1)))
frequencies = np.arange(len(a)) / (n * 1e-7)
os.makedirs(os.path.join(folder, "avgFFTData"), exist_ok=True)
np.savetxt(os.path.join(folder, "avgFFTData", "peer_average_FFT.txt"),
           np.column_stack([frequencies, s.real / k, s.imag / k, a / k, sd, lo, hi]), fmt="%e",
           delimiter="\t")
