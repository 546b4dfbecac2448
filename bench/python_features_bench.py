#!/usr/bin/env python3
"""plexo.features on a folder of waveform files, against the numpy peer and a per-waveform
Python loop calling the module, in one run, for bench/RESULTS.md.

    PYTHONPATH=build/release/python /usr/bin/python3 bench/python_features_bench.py FOLDER

FOLDER: e.g. the 2000 files of `python3 bench/make_bench_data.py /tmp/pybench 2000`
(/tmp/pybench/folder). Every way computes the default columns of every file, reading it.
"""
import glob
import os
import sys
import time

import numpy as np
import plexo


def timed(what, run, files):
    began = time.perf_counter()
    result = run()
    seconds = time.perf_counter() - began
    print(f"{what:48s} {seconds:7.2f} s {len(files) / seconds:9.0f} files/s")
    return seconds, result


def main():
    folder = sys.argv[1]
    files = sorted(glob.glob(os.path.join(folder, "*.txt")))
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "peers"))
    import features_numpy as peer
    print(f"{len(files)} files, numpy {np.__version__}, {os.cpu_count()} cores")
    module, table = timed("plexo.features(folder) (jobs=0: every core)",
                          lambda: plexo.features(folder), files)
    one_job, _ = timed("plexo.features(folder, jobs=1)", lambda: plexo.features(folder, jobs=1),
                       files)
    loop, rows = timed("per-waveform loop: read_waveform + features([w])",
                       lambda: [plexo.features([plexo.read_waveform(p)], jobs=1) for p in files],
                       files)
    numpy_peer, peer_rows = timed("numpy peer (bench/peers/features_numpy.py)",
                                  lambda: [peer.features(p) for p in files], files)
    # The same numbers from the module's two ways; the peer agrees to its float rounding.
    energy = np.array([r["signal energy"][0] for r in rows])
    assert np.array_equal(energy, table["signal energy"])
    assert np.allclose([r[1] for r in peer_rows], table["signal energy"], rtol=1e-9)
    print(f"ratios: module {numpy_peer / module:.1f}x the numpy peer, {loop / module:.1f}x the "
          f"per-waveform loop; one job {numpy_peer / one_job:.1f}x the peer")
    return 0


if __name__ == "__main__":
    sys.exit(main())
