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
