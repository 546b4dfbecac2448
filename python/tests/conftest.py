import os
import pathlib
import subprocess

import pytest

EXAMPLES = pathlib.Path(os.environ.get("PLEXO_EXAMPLES_DIR", pathlib.Path(__file__).parents[2] / "examples"))
REALDATA = pathlib.Path(os.environ.get("PLEXO_REALDATA_DIR", pathlib.Path(__file__).parents[3] / "shared" / "realdata"))
PLEXO = os.environ.get("PLEXO_BINARY", "plexo")


@pytest.fixture
def examples():
    return EXAMPLES


@pytest.fixture
def realdata():
    if not (REALDATA / "vallenae-sqlite").is_dir():
        pytest.skip("no real recordings")
    return REALDATA


@pytest.fixture
def run_plexo():
    """Runs the command line on the same inputs, for comparing numbers with its files."""
    def run(*arguments):
        return subprocess.run([PLEXO, *map(str, arguments)], capture_output=True, text=True)
    return run


HEADER = ("SOURCE FILE NAME: -/-\r\nDATE:\t09-Dec-2026\r\nTIME:\t12:00:00\r\n"
          "SAMPLE INTERVAL (Seconds):   {dt}\r\nUNITS:\tvolts\r\n"
          "CHANNEL NUMBER:\t{channel}\r\nHIT NUMBER: -/-\r\nTIME OF TEST:\t{tot}\r\n\r\n")


def write_waveform(path, samples, dt=1e-7, channel=1, time_of_test=1.5):
    """A waveform file as an acquisition writes it (the reader stores its first sample as 0)."""
    with open(path, "w", newline="") as f:
        f.write(HEADER.format(dt="%e" % dt, channel=channel, tot="%e" % time_of_test))
        f.write("".join("%.6f\r\n" % s for s in samples))
    return path


def burst(n, dt=1e-7, frequency=250e3, onset=2.2e-4, seed=0):
    """A decaying tone burst after some noise, the shape of an AE hit."""
    import numpy as np
    rng = np.random.default_rng(seed)
    t = np.arange(n) * dt
    envelope = np.where(t >= onset, np.exp(-(t - onset) / 6e-5), 0.0)
    return 0.8 * envelope * np.sin(2 * np.pi * frequency * t) + 0.01 * rng.standard_normal(n)


def printed(values, precision=6):
    """The values as the program's files hold them: rounded to "%e" digits, read back."""
    import numpy as np
    return np.vectorize(lambda v: float("%.*e" % (precision, v)))(np.asarray(values))


def read_tft_file(path):
    """(frequencies, times, cells) of a TFT file; complex cells "re,im" give complex values."""
    import numpy as np
    lines = path.read_text().splitlines()
    times = np.array([float(v) for v in lines[3].split("\t")[1:] if v])
    frequencies, rows = [], []
    for line in lines[4:]:
        fields = [v for v in line.split("\t") if v]
        frequencies.append(float(fields[0]))
        cells = fields[1:]
        if cells and "," in cells[0]:
            rows.append([complex(float(c.split(",")[0]), float(c.split(",")[1])) for c in cells])
        else:
            rows.append([float(c) for c in cells])
    return np.array(frequencies), times, np.array(rows)
