"""numpy peer of `plexo tft` on the wavelet benchmark grid: the same 99 rows by direct sums
(np.convolve of the 4000-sample window with each row's 1001-tap Gabor wavelet) and the modulus
table written as text."""
import sys

import numpy as np

path = sys.argv[1]
dt, freq_step, rows, columns, taps = 1e-7, 1e4, 100, 4000, 1001
x = np.loadtxt(path, skiprows=9)[:columns]
omega = 8.885765876316732 / dt
gamma = 5.336446257
table = np.zeros((rows, columns))
j = np.arange(taps)
for row in range(1, rows):
    s = 1.414213562373095 / (row * freq_step * dt)
    t = (j * dt - (taps + 1) // 2 * dt) / s
    u = omega * t / gamma
    w = np.pi ** -0.25 * np.sqrt(omega / gamma) * np.exp(-0.5 * u * u) * np.exp(1j * omega * t)
    table[row - 1] = np.abs(np.convolve(x, np.conj(w[::-1]) / np.sqrt(s), mode="same"))
np.savetxt(path[:-4] + "_peer_wt.txt", table, fmt="%e", delimiter="\t")
