"""numpy peer of `plexo fft FILE`: read the samples, transform, write frequency, real and
imaginary part per bin below Nyquist."""
import sys

import numpy as np

path = sys.argv[1]
x = np.loadtxt(path, skiprows=9)
n = 1 << (len(x) - 1).bit_length()
spectrum = np.fft.fft(x, n)[: n // 2]
frequencies = np.arange(n // 2) / (n * 1e-7)
np.savetxt(path[:-4] + "_peer_fft.txt",
           np.column_stack([frequencies, spectrum.real, spectrum.imag]), fmt="%e", delimiter="\t")
