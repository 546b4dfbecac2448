#!/usr/bin/env python3
"""`plexo features` over a waveform database against the same records as text files.

Usage: bench/database_bench.py PLEXO [--data DIR] [--records N] [--repeat R] [--long]

Makes in DIR (a temporary folder when not given) a database of N raw 4096-sample records, copied
from 64 made ones, and, when the real bearing database is there, its 490 FLAC
5000-sample records copied in turn to N as well; `plexo import` writes the text files of each. Then times
`plexo features DB` against `plexo features FOLDER` (same table, checked) on 1 and 2 threads:
median wall time of R runs, median CPU time (user + system) in brackets, runs alternating.
With --long: the peak resident memory (/usr/bin/time -v) of `plexo features` and `plexo avg-fft`
over a database of eight 2^20-sample records, with --max-samples 1048576.
"""
import argparse
import math
import os
import random
import re
import shutil
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from cli_bench import median_time  # noqa: E402  (median wall and CPU, runs alternating)
REALDATA = os.environ.get("PLEXO_REALDATA_DIR",
                          os.path.realpath(os.path.join(HERE, "..", "..", "shared", "realdata")))
BEARING = os.path.join(REALDATA, "vallenae-sqlite", "bearing-bearing.tradb")

SCHEMA = """
CREATE TABLE tr_globalinfo (Key TEXT, Value TEXT);
CREATE TABLE tr_params (ID INTEGER PRIMARY KEY, SetupID INT, Chan INT, "ADC_µV" REAL, TR_mV REAL);
CREATE TABLE tr_data ("SetID" INTEGER PRIMARY KEY, "Time" INT, "TRAI" INT, "Status" INT,
  "ParamID" INT, "Chan" INT, "Pretrigger" INT, "Thr" INT, "SampleRate" INT, "Samples" INT,
  "DataFormat" INT, "Data" BLOB);
INSERT INTO tr_globalinfo VALUES ('Version', '1'), ('TimeBase', '10000000');
INSERT INTO tr_params VALUES (1, 1, 1, 3.0517578125, 0.0030517578125);
"""


def burst(n, seed):
    rng = random.Random(seed)
    values = []
    for i in range(n):
        v = 12000.0 * math.exp(-i / 600.0) * math.sin(0.188 * i + seed) + rng.uniform(-300, 300)
        values.append(max(-32768, min(32767, int(v))))
    return struct.pack("<%dh" % n, *values)


def make_raw_database(path, records, samples, distinct=64):
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.executescript(SCHEMA)
    blobs = [burst(samples, seed) for seed in range(distinct)]
    db.executemany(
        "INSERT INTO tr_data VALUES (NULL, ?, ?, 0, 1, ?, 100, 66, 5000000, ?, 0, ?)",
        ((k * 10000, k + 1, 1 + k % 4, samples, blobs[k % distinct]) for k in range(records)))
    db.commit()
    db.close()


def make_copied_database(path, source, records):
    """`records` rows copied from the records of `source` in turn, with TRAI 1 .. records."""
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.executescript(SCHEMA.replace("INSERT INTO tr_params VALUES (1, 1, 1, 3.0517578125, "
                                    "0.0030517578125);", ""))
    db.execute("ATTACH DATABASE ? AS src", ("file:%s?mode=ro" % source,))
    db.execute("INSERT INTO tr_params SELECT * FROM src.tr_params")
    rows = db.execute("SELECT ParamID, Chan, Pretrigger, Thr, SampleRate, Samples, DataFormat, "
                      "Data FROM src.tr_data ORDER BY TRAI").fetchall()
    db.executemany("INSERT INTO tr_data VALUES (NULL, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?)",
                   ((k * 10000, k + 1) + tuple(rows[k % len(rows)]) for k in range(records)))
    db.commit()
    db.execute("DETACH DATABASE src")
    db.close()


def run(command):
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        sys.exit("failed: " + " ".join(command) + "\n" + result.stderr)


def table_of(results_folder):
    with open(os.path.join(results_folder, "FX_Results.txt"), "rb") as f:
        return f.read()


def compare(plexo, database, folder, repeat):
    stem = os.path.splitext(database)[0]
    start = time.perf_counter()
    run([plexo, "import", database, "--to", folder])
    imported = time.perf_counter() - start
    count = len(os.listdir(folder))
    print("%s: %d records, import into text files %.2f s" % (os.path.basename(database), count,
                                                              imported))
    for jobs in ("1", "2"):
        direct, files = median_time([[plexo, "features", database, "--jobs", jobs],
                                     [plexo, "features", folder, "--jobs", jobs]], repeat, None)
        print("  --jobs %s: database %.2f s (%.2f s CPU), text files %.2f s (%.2f s CPU), "
              "ratio %.2f" % (jobs, direct[0], direct[1], files[0], files[1], files[0] / direct[0]))
    # Same records in the same order when the names sort as the TRAIs do; else the same rows.
    a = table_of(stem + "_FXData").split(b"\r\n")
    b = table_of(os.path.join(folder, "FXData")).split(b"\r\n")
    if sorted(a) != sorted(b):
        sys.exit("the tables differ")


def peak_memory(plexo, arguments):
    result = subprocess.run(["/usr/bin/time", "-v", plexo] + arguments, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        sys.exit("failed: " + " ".join(arguments) + "\n" + result.stderr)
    return int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", result.stderr).group(1))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("plexo")
    parser.add_argument("--data")
    parser.add_argument("--records", type=int, default=20480)
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--long", action="store_true")
    args = parser.parse_args()
    plexo = os.path.realpath(args.plexo)
    work = args.data or tempfile.mkdtemp(prefix="plexo-db-bench-")
    os.makedirs(work, exist_ok=True)
    try:
        raw = os.path.join(work, "raw4096.tradb")
        make_raw_database(raw, args.records, 4096)
        compare(plexo, raw, os.path.join(work, "raw4096_files"), args.repeat)
        if os.path.exists(BEARING):
            flac = os.path.join(work, "bearing_copies.tradb")
            make_copied_database(flac, BEARING, args.records)
            compare(plexo, flac, os.path.join(work, "bearing_copies_files"), args.repeat)
        if args.long:
            long_db = os.path.join(work, "long.tradb")
            make_raw_database(long_db, 8, 1 << 20, distinct=2)
            for arguments in (["features", long_db, "--jobs", "1"],
                              ["features", long_db, "--jobs", "2"],
                              ["avg-fft", long_db, "--jobs", "1"],
                              ["avg-fft", long_db, "--jobs", "2"]):
                kib = peak_memory(plexo, arguments + ["--max-samples", str(1 << 20)])
                print("peak resident memory, %s: %.1f MiB" % (" ".join(
                    [arguments[0]] + arguments[2:]), kib / 1024.0))
            kib = peak_memory(plexo, ["features", raw, "--jobs", "2"])
            print("peak resident memory, features of the 4096-sample database --jobs 2: %.1f MiB"
                  % (kib / 1024.0))
    finally:
        if not args.data:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
