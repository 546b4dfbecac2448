"""The wavelet transform, the Wigner-Ville distribution and the Average FFT against the
command line's files, parsed: every number equal to the printed digits."""
import shutil

import numpy as np
import pytest

import plexo
from conftest import burst, printed, read_tft_file, write_waveform


@pytest.fixture
def hit(tmp_path):
    return write_waveform(tmp_path / "burst.txt", burst(6000), dt=1e-7, channel=2)


# (method, the command line's grid options, the module's arguments): a default grid, a window
# that starts before the record's end and runs past it, a coarse grid with a short wavelet.
MAP_CASES = [
    ("cwt", dict(freq_start=1e4, freq_end=1e6, freq_step=1e4, wavelet_length=1001,
                 time_start=0.0, time_end=4e-4)),
    ("cwt", dict(freq_start=0.0, freq_end=5e5, freq_step=2.5e4, wavelet_length=301,
                 time_start=5.5e-4, time_end=6.5e-4)),
    ("spwvd", dict(freq_start=1e4, freq_end=1e6, freq_step=1e4, time_start=0.0, time_end=4e-4,
                   subsampling=2, window_parameter=4)),
    ("spwvd", dict(freq_start=0.0, freq_end=4e5, freq_step=5e3, time_start=1e-4,
                   time_end=3e-4, subsampling=3, window_parameter=2)),
]


def cli_options(method, args):
    names = {"freq_step": "--freq-res"}
    options = ["--method", method, "--complex", "--auto-time-res", "--no-auto-freq-res",
               "--no-preview"]
    for key, value in args.items():
        options += [names.get(key, "--" + key.replace("_", "-")), repr(value)]
    return options


@pytest.mark.parametrize("method,args", MAP_CASES)
def test_maps_equal_the_tft_file(hit, run_plexo, method, args):
    result = run_plexo("tft", hit, *cli_options(method, args))
    assert result.returncode == 0, result.stderr
    suffix = "_wt.txt" if method == "cwt" else "_spvwd.txt"
    file_f, file_t, file_cells = read_tft_file(hit.with_name("burst" + suffix))
    compute = plexo.cwt if method == "cwt" else plexo.spwvd
    frequencies, times, matrix = compute(plexo.read_waveform(str(hit)), **args)
    assert matrix.shape == (len(frequencies), len(times)) == file_cells.shape
    np.testing.assert_array_equal(printed(frequencies), file_f)
    np.testing.assert_array_equal(printed(times), file_t)
    if method == "cwt":
        assert matrix.dtype == np.complex128
        np.testing.assert_array_equal(printed(matrix.real), file_cells.real)
        np.testing.assert_array_equal(printed(matrix.imag), file_cells.imag)
    else:
        assert matrix.dtype == np.float64
        np.testing.assert_array_equal(printed(matrix), file_cells.real)
    # Threads share rows or columns but never change a number.
    assert np.array_equal(compute(plexo.read_waveform(str(hit)), jobs=1, **args)[2], matrix)


def test_cwt_finds_a_tone_at_its_frequency_and_time():
    dt, n = 1e-7, 4000
    t = np.arange(n) * dt
    tone = np.where((t > 1e-4) & (t < 2e-4), np.sin(2 * np.pi * 300e3 * t), 0.0)
    freqs, times, matrix = plexo.cwt(plexo.Waveform(tone, dt), freq_start=0, freq_end=6e5,
                                     freq_step=1e4, wavelet_length=1001, time_start=0,
                                     time_end=n * dt)
    row, column = np.unravel_index(np.argmax(np.abs(matrix)), matrix.shape)
    assert freqs[row] == pytest.approx(300e3, abs=1e4)
    assert 1e-4 < times[column] < 2e-4


@pytest.mark.parametrize("call,message", [
    (lambda w: plexo.cwt(w, freq_step=0.0), "resolution"),
    (lambda w: plexo.cwt(w, time_start=4e-4, time_end=1e-4), ""),
    (lambda w: plexo.spwvd(w, subsampling=0), "Subsampling size 0 is not allowed"),
    (lambda w: plexo.spwvd(w, subsampling=200), "Subsampling rate to high"),
])
def test_grids_that_cannot_be_computed_raise_value_errors(call, message):
    with pytest.raises(ValueError, match=message):
        call(plexo.Waveform(burst(4096), 1e-7))


def write_folder(folder, count, n=4096, dt=1e-7):
    folder.mkdir()
    for k in range(count):
        write_waveform(folder / ("hit_%03d.txt" % k), burst(n, dt=dt, seed=k,
                                                             frequency=150e3 + 20e3 * k))
    return folder


@pytest.mark.parametrize("window", [None, "200us"])
def test_average_fft_equals_the_average_table(tmp_path, run_plexo, window):
    folder = write_folder(tmp_path / "hits", 5)
    (folder / "README.txt").write_text("not a waveform\n")  # skipped, with its reason
    # Another sample count in the middle: averaged bin by bin, and noted.
    (folder / "hit_001_short.txt").write_text(open(folder / "hit_000.txt").read()[:4000])
    cli_window = "none" if window is None else window
    result = run_plexo("avg-fft", folder, "--window", cli_window, "--no-preview")
    assert result.returncode == 0, result.stderr
    table = np.loadtxt(folder / "avgFFTData" / "average_FFT.txt", skiprows=1)
    average = plexo.average_fft(str(folder), window=window)
    titles = ["Frequency", "Real", "Imaginary", "Magnitude", "Standard Deviation",
              "Minimum Magnitude", "Maximum Magnitude"]
    for c, title in enumerate(titles):
        assert len(average[title]) == len(table)
        np.testing.assert_array_equal(printed(average[title]), table[:, c], err_msg=title)
    assert average["averaged"] == 6
    assert any("README.txt" in w for w in average["warnings"])
    assert any("hit_001_short.txt" in w for w in average["warnings"])


def test_average_fft_of_a_database_equals_its_table(realdata, tmp_path, run_plexo):
    db = tmp_path / "bearing.tradb"
    db.symlink_to(realdata / "vallenae-sqlite" / "bearing-bearing.tradb")
    result = run_plexo("avg-fft", db, "--window", "none", "--no-preview")
    assert result.returncode == 0, result.stderr
    table = np.loadtxt(tmp_path / "bearing_avgFFTData" / "average_FFT.txt", skiprows=1)
    average = plexo.average_fft(str(db), jobs=2)
    for c, title in enumerate(["Frequency", "Real", "Imaginary", "Magnitude"]):
        np.testing.assert_array_equal(printed(average[title]), table[:, c], err_msg=title)


def test_average_fft_of_a_list_is_the_mean_of_the_ffts(tmp_path):
    folder = write_folder(tmp_path / "hits", 3)
    files = [str(p) for p in sorted(folder.glob("*.txt"))]
    spectra = [plexo.fft(plexo.read_waveform(f))[1] for f in files]
    average = plexo.average_fft(files)
    np.testing.assert_allclose(average["Real"], np.mean([s.real for s in spectra], axis=0),
                               rtol=1e-12, atol=1e-12)
    np.testing.assert_allclose(average["Magnitude"], np.mean(np.abs(spectra), axis=0),
                               rtol=1e-12, atol=1e-12)
    np.testing.assert_allclose(average["Maximum Magnitude"], np.max(np.abs(spectra), axis=0))
    np.testing.assert_allclose(average["Standard Deviation"],
                               np.std(np.abs(spectra), axis=0, ddof=1), rtol=1e-6, atol=1e-9)


def test_average_fft_errors(tmp_path):
    with pytest.raises(FileNotFoundError):
        plexo.average_fft(str(tmp_path / "none"))
    (tmp_path / "empty").mkdir()
    with pytest.raises(ValueError, match="No files found"):
        plexo.average_fft(str(tmp_path / "empty"))
    (tmp_path / "junk").mkdir()
    (tmp_path / "junk" / "a.txt").write_text("nothing\n")
    with pytest.raises(ValueError, match="a.txt"):
        plexo.average_fft(str(tmp_path / "junk"))
    with pytest.raises(ValueError, match="200us"):
        plexo.average_fft(str(tmp_path / "junk"), window="hamming")
    with pytest.raises(ValueError, match="a.txt"):
        plexo.average_fft(str(tmp_path / "junk"), strict=True)


def test_fft_wavelet_rows_are_within_the_tolerance_of_the_direct_sum():
    wave = plexo.Waveform(burst(4096, seed=3, frequency=2e5), 1e-7)
    frequencies, times, direct = plexo.cwt(wave, 0.0, 5e5, 1e4, 1001, 0.0, 3e-4)
    _, _, fast = plexo.cwt(wave, 0.0, 5e5, 1e4, 1001, 0.0, 3e-4, wavelet_method="fft")
    assert fast.shape == direct.shape == (len(frequencies), len(times))
    largest = np.abs(direct).max(axis=1, keepdims=True)
    assert np.all(np.abs(fast - direct) <= 1e-12 * largest)
    assert not np.array_equal(fast, direct)  # another sum, not the same code
    with pytest.raises(ValueError, match="wavelet_method"):
        plexo.cwt(wave, wavelet_method="fast")
