"""Waveforms in and spectra out, against the command line's files and a plain numpy FFT."""
import errno
import shutil

import numpy as np
import pytest

import plexo


def read_fft_file(path):
    rows = [line.split("\t") for line in path.read_text().splitlines()[4:]]
    table = np.array([[float(v) for v in row[:3]] for row in rows])
    return table[:, 0], table[:, 1] + 1j * table[:, 2]


def sample_lines(path):
    return np.array([float(v) for v in path.read_text().splitlines()[9:]])


def test_read_waveform_gives_the_samples_the_calculations_use(examples):
    wf = plexo.read_waveform(str(examples / "hit_001.txt"))
    assert wf.sample_interval == 1e-7
    assert wf.channel == 1
    assert wf.time_of_test == pytest.approx(12.01532)
    assert wf.units == "volts"
    assert wf.trai is None
    lines = sample_lines(examples / "hit_001.txt")
    assert len(wf) == len(lines) == 4096
    assert wf.samples[0] == 0.0  # the reader stores the first sample as 0
    np.testing.assert_array_equal(wf.samples[1:], lines[1:])


def test_fft_agrees_with_the_fft_file_and_with_numpy(examples, tmp_path, run_plexo):
    shutil.copy(examples / "hit_002.txt", tmp_path)
    assert run_plexo("fft", tmp_path / "hit_002.txt").returncode == 0
    freqs, spectrum = plexo.fft(plexo.read_waveform(str(tmp_path / "hit_002.txt")))
    file_freqs, file_spectrum = read_fft_file(tmp_path / "hit_002_fft.txt")
    assert spectrum.dtype == np.complex128 and len(spectrum) == 2048
    # The file holds seven significant digits of the same numbers.
    np.testing.assert_allclose(freqs, file_freqs, rtol=5e-7)
    scale = np.abs(spectrum).max()
    np.testing.assert_allclose(spectrum, file_spectrum, rtol=0, atol=scale * 1e-6)
    # A pure tone is read at its frequency, and numpy's transform gives the same bins.
    dt, n = 1e-7, 3000
    t = np.arange(n) * dt
    tone = plexo.Waveform(np.sin(2 * np.pi * 312.5e3 * t), dt)
    freqs, spectrum = plexo.fft(tone)
    assert len(freqs) == 2048
    assert freqs[np.argmax(np.abs(spectrum))] == pytest.approx(312.5e3, abs=1 / (4096 * dt))
    reference = np.fft.fft(np.sin(2 * np.pi * 312.5e3 * t), 4096)[:2048]
    np.testing.assert_allclose(spectrum, reference, rtol=0, atol=1e-9 * np.abs(reference).max())


def test_files_raise_os_errors_and_contents_value_errors(tmp_path):
    with pytest.raises(FileNotFoundError) as missing:
        plexo.read_waveform(str(tmp_path / "none.txt"))
    assert missing.value.errno == errno.ENOENT
    assert missing.value.filename == str(tmp_path / "none.txt")
    with pytest.raises(IsADirectoryError):
        plexo.read_waveform(str(tmp_path))
    bad = tmp_path / "bad.txt"
    bad.write_text("SAMPLE INTERVAL (Seconds):   1e-7\n" + "\n" * 8 + "0.1\n0,2\n")
    with pytest.raises(ValueError, match="decimal comma"):
        plexo.read_waveform(str(bad))
    with pytest.raises(ValueError, match="Sample interval"):
        plexo.fft(plexo.Waveform(np.ones(8), 0.0))
    with pytest.raises(ValueError, match="exceeds program limit"):
        plexo.fft(plexo.Waveform(np.ones(plexo.MAX_SAMPLES + 1), 1e-7))
    with pytest.raises(ValueError, match="No data"):
        plexo.fft(plexo.Waveform(np.ones(0), 1e-7))


def test_read_tradb_yields_the_records_in_trai_order(realdata, tmp_path, run_plexo):
    db = realdata / "vallenae-sqlite" / "bearing-bearing.tradb"
    records = plexo.read_tradb(str(db), trai=(3, 5))
    assert len(records) == 3
    waveforms = list(records)
    assert [w.trai for w in waveforms] == [3, 4, 5]
    assert all(len(w) == 5000 and w.sample_interval == 2e-6 for w in waveforms)
    # The same waveform as the imported file reads back as.
    assert run_plexo("import", db, "--to", tmp_path, "--trai", "4").returncode == 0
    imported = plexo.read_waveform(str(tmp_path / "bearing-bearing_4.txt"))
    np.testing.assert_array_equal(waveforms[1].samples, imported.samples)
    assert waveforms[1].time_of_test == imported.time_of_test
    with pytest.raises(FileNotFoundError):
        plexo.read_tradb(str(tmp_path / "none.tradb"))
    (tmp_path / "text.tradb").write_text("0.1\n")
    with pytest.raises(ValueError, match="text.tradb"):
        plexo.read_tradb(str(tmp_path / "text.tradb"))
