"""plexo.features against plexo features' table, on a messy folder, a list of paths, waveforms
in memory and a waveform database; its errors; the GIL released; Ctrl+C; no leaks."""
import os
import signal
import subprocess
import sys
import textwrap
import threading
import time

import numpy as np
import pytest

import plexo
from conftest import burst, printed, write_waveform

TIME_COLUMNS = {"arrival time", "modulus maximus time"}  # printed with 14 digits


def read_feature_table(path):
    """{header: column} of an FX_Results.txt written with --with-file-names."""
    lines = path.read_text().splitlines()
    headers = [h for h in lines[0].split("\t") if h]
    rows = [line.split("\t")[:len(headers)] for line in lines[2:]]
    table = {"file": [row[0] for row in rows]}
    for c, header in enumerate(headers[1:], start=1):
        table[header] = np.array([float(row[c]) for row in rows])
    return table


def assert_equal_to_table(result, table):
    assert list(result["file"]) == table["file"]
    for header, column in table.items():
        if header == "file":
            continue
        digits = 14 if header in TIME_COLUMNS else 6
        np.testing.assert_array_equal(printed(result[header], digits), column, err_msg=header)


@pytest.fixture
def messy_folder(tmp_path):
    folder = tmp_path / "hits"
    folder.mkdir()
    for k in range(7):
        write_waveform(folder / ("hit %02d.txt" % k), burst(5000, seed=k, frequency=1e5 * (k + 1)),
                       time_of_test=10.0 + k)
    (folder / "README.txt").write_text("a note, not a waveform\n")
    (folder / "sub.txt").mkdir()  # a folder named like a waveform is not one
    (folder / "HIT_UPPER.TXT").write_text((folder / "hit 03.txt").read_text())
    (folder / "no_interval.txt").write_text(
        "\n".join((folder / "hit 01.txt").read_text().splitlines()[:3] + [""] * 6 + ["0.1"] * 50))
    return folder


# Parameter sets: the defaults, every column with the onset picker and a band, a short window.
CASES = [
    ([], {}, dict()),
    (["--all", "--aic", "--duration", "150e-6", "--band", "7:100e3:250e3",
      "--wt-band", "2:100e3:200e3", "--freq-res", "20e3"],
     "all", dict(aic=True, duration=150e-6, band={7: (100e3, 250e3)},
                 wt_band="2:100e3:200e3", freq_res=20e3)),
    (["--columns", "energy,centroid,mm", "--start", "1e-4", "--time-end", "3e-4",
      "--impedance", "1e3"],
     ["energy", "centroid", "mm"], dict(start=1e-4, time_end=3e-4, impedance=1000)),
    (["--all", "--wavelet-method", "fft"], "all", dict(wavelet_method="fft")),
]


@pytest.mark.parametrize("options,columns,parameters", CASES)
def test_features_of_a_folder_equal_the_table(messy_folder, run_plexo, options, columns,
                                              parameters):
    result = run_plexo("features", messy_folder, "--with-file-names", *options)
    assert result.returncode == 0, result.stderr
    table = read_feature_table(messy_folder / "FXData" / "FX_Results.txt")
    for jobs in (1, 3):
        features = plexo.features(str(messy_folder), columns=columns or None, jobs=jobs,
                                  **parameters)
        assert_equal_to_table(features, table)
        assert all(v.dtype == np.float64 for k, v in features.items()
                   if k not in ("file", "warnings"))
    # The skipped files are named with their reasons, as the command line names them.
    said = "\n".join(line.removeprefix("plexo: ") for line in result.stderr.splitlines())
    skipped = [w for w in features["warnings"] if w.startswith("Skipped: ")]
    assert "\n".join(skipped) in said
    assert len(skipped) == said.count("Skipped: ") == 2
    assert "README.txt" in skipped[0] and "no_interval.txt" in skipped[1]


def test_lists_of_paths_and_of_waveforms_give_the_folders_rows(messy_folder):
    from_folder = plexo.features(str(messy_folder), columns="all")
    paths = [str(messy_folder / name) for name in from_folder["file"]]
    from_paths = plexo.features(paths, columns="all")
    assert from_paths["file"] == paths
    waveforms = [plexo.read_waveform(p) for p in paths]
    in_memory = plexo.features(waveforms, columns="all")
    assert list(in_memory["file"]) == list(range(len(waveforms)))
    for header in from_folder:
        if header not in ("file", "warnings"):
            np.testing.assert_array_equal(from_paths[header], from_folder[header])
            np.testing.assert_array_equal(in_memory[header], from_folder[header])
    assert from_paths["warnings"] == [] and in_memory["warnings"] == []
    # Equal-length columns only, as pandas.DataFrame(result) needs; the notes beside them.
    assert {len(v) for v in in_memory.values()} == {len(waveforms)}
    assert "warnings" not in in_memory and in_memory.warnings == []
    # Samples set from a strided view are read element by element.
    strided = plexo.Waveform(np.zeros(1), 1e-7)
    strided.samples = np.repeat(waveforms[0].samples, 2)[::2]
    assert not strided.samples.flags.c_contiguous or strided.samples.base is None
    np.testing.assert_array_equal(plexo.features([strided])["signal energy"],
                                  plexo.features([waveforms[0]])["signal energy"])


def test_features_of_a_database_equal_the_table(realdata, tmp_path, run_plexo):
    # The recording is read in place: the table goes beside a link to it.
    db = tmp_path / "bearing.tradb"
    db.symlink_to(realdata / "vallenae-sqlite" / "bearing-bearing.tradb")
    columns = ["amplitude", "energy", "centroid", "peak-frequency-1", "partial-power-2"]
    result = run_plexo("features", db, "--with-file-names", "--columns", ",".join(columns),
                       "--start", "0", "--end", "1e-3")
    assert result.returncode == 0, result.stderr
    table = read_feature_table(tmp_path / "bearing_FXData" / "FX_Results.txt")
    features = plexo.features(str(db), columns=columns, start=0, end=1e-3, jobs=2)
    assert features["file"] == [int(trai) for trai in table["file"]]
    table["file"] = features["file"]
    assert_equal_to_table(features, table)


@pytest.mark.parametrize("call,error,message", [
    (lambda d: plexo.features(d, frequency=1), ValueError, "time_start.*impedance"),
    (lambda d: plexo.features(d, columns=["energy", "loudness"]), ValueError, "loudness"),
    (lambda d: plexo.features(d, columns="everything"), ValueError, "all"),
    (lambda d: plexo.features(d, impedance=50.5), ValueError, "whole number"),
    (lambda d: plexo.features(d, duration=-1), ValueError, "> 0"),
    (lambda d: plexo.features(d, band="9:0:1"), ValueError, "K in 1..8"),
    (lambda d: plexo.features(d, band={7: (0, 1e5)}), ValueError, "partial-power-7"),
    (lambda d: plexo.features(d, columns="all", wt_band={4: (5e5, 1e5)}), ValueError,
     "Begin of frequency interval"),
    (lambda d: plexo.features(d + "/none"), FileNotFoundError, "No files found"),
    (lambda d: plexo.features(d + "/hit 01.txt"), NotADirectoryError, "not a folder"),
    (lambda d: plexo.features(d, strict=True), ValueError, "README.txt"),
    (lambda d: plexo.features([plexo.Waveform(np.ones(3), 0.0)], strict=True), ValueError,
     "Sample interval"),
])
def test_refusals_raise_with_the_programs_message(messy_folder, call, error, message):
    with pytest.raises(error, match=message):
        call(str(messy_folder))


def test_a_waveform_without_a_sample_interval_is_skipped_and_named():
    good = plexo.Waveform(burst(4096), 1e-7)
    result = plexo.features([good, plexo.Waveform(np.ones(3), 0.0), good])
    assert result["file"] == [0, 2]
    assert len(result["signal energy"]) == 2
    assert result["warnings"] == ["Skipped: Sample interval of 0.000000e+000 s is not allowed! "
                                  "Value has to be > 0!\nwaveform 1"]


def test_an_inverted_band_is_a_warning(messy_folder):
    result = plexo.features(str(messy_folder), band={2: (300e3, 150e3)})
    assert result["warnings"][0].startswith("Begin of frequency interval")


def test_the_gil_is_released_while_features_run(tmp_path):
    folder = tmp_path / "many"
    folder.mkdir()
    for k in range(20):
        write_waveform(folder / ("h%03d.txt" % k), burst(8192, seed=k))
    spans = []

    def run():
        start = time.perf_counter()
        plexo.features(str(folder), columns="all", jobs=1)
        spans.append((start, time.perf_counter()))

    threads = [threading.Thread(target=run) for _ in range(2)]
    ticks = []
    for t in threads:
        t.start()
    while any(t.is_alive() for t in threads):
        ticks.append(time.perf_counter())
    for t in threads:
        t.join()
    (a0, a1), (b0, b1) = spans
    assert a0 < b1 and b0 < a1  # the two calls overlap
    # This thread kept running Python while both calls were inside the calculation.
    both_inside = [t for t in ticks if max(a0, b0) < t < min(a1, b1)]
    assert len(both_inside) > 1000


def test_ctrl_c_interrupts_a_batch_between_files(tmp_path):
    folder = tmp_path / "many"
    folder.mkdir()
    for k in range(10):
        write_waveform(folder / ("h%03d.txt" % k), burst(8192, seed=k))
    start = time.perf_counter()
    plexo.features(str(folder), columns="all", jobs=2)
    per_file = (time.perf_counter() - start) / 10
    for k in range(10, 300):
        os.link(folder / ("h%03d.txt" % (k % 10)), folder / ("h%03d.txt" % k))
    script = textwrap.dedent("""
        import os, signal, sys, threading, time
        import plexo
        threading.Timer(0.5, lambda: os.kill(os.getpid(), signal.SIGINT)).start()
        start = time.perf_counter()
        try:
            plexo.features(sys.argv[1], columns="all", jobs=2)
            print("finished", time.perf_counter() - start)
        except KeyboardInterrupt:
            print("interrupted", time.perf_counter() - start)
        print(len(plexo.features([sys.argv[1] + "/h000.txt"])["file"]))
        """)
    out = subprocess.run([sys.executable, "-c", script, str(folder)], capture_output=True,
                         text=True, env=os.environ, timeout=300)
    word, seconds, rows = out.stdout.split()
    assert word == "interrupted", out.stdout + out.stderr
    # It stopped between two files, long before the 300 files were done, and the module
    # computes again afterwards; nothing was written.
    assert float(seconds) < 0.5 + 0.5 * 300 * per_file
    assert rows == "1"
    assert sorted(p.name for p in folder.iterdir()) == ["h%03d.txt" % k for k in range(300)]


def resident_bytes():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def test_no_leaks_over_a_thousand_calls(tmp_path):
    path = write_waveform(tmp_path / "one.txt", burst(512, onset=1e-5))
    waveform = plexo.read_waveform(str(path))
    grid = dict(freq_start=0, freq_end=2e5, freq_step=5e4, time_start=0, time_end=2e-5)

    def calls():
        plexo.read_waveform(str(path))
        plexo.fft(waveform)
        plexo.features([waveform, waveform], jobs=1, start=0, end=5e-5)
        plexo.features([str(path)], jobs=1, columns=["mm"], start=0, end=2e-5, freq_res=5e4,
                       wavelet_length=51)
        plexo.cwt(waveform, wavelet_length=51, jobs=1, **grid)
        plexo.spwvd(waveform, jobs=1, **grid)
        plexo.average_fft([str(path)], jobs=1)
        for bad in (lambda: plexo.features(str(tmp_path / "none")),
                    lambda: plexo.cwt(waveform, freq_step=0),
                    lambda: plexo.features([waveform], loudness=1)):
            try:
                bad()
            except (OSError, ValueError):
                pass

    for _ in range(100):
        calls()
    before = resident_bytes()
    for _ in range(1000):
        calls()
    assert resident_bytes() - before < 4 << 20
