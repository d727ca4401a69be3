import os
import pathlib

import pytest

DATA = pathlib.Path(os.environ.get("TORVA_SHARED_DATA",
                                   pathlib.Path(__file__).resolve().parents[3] / "shared" / "data"))


def reference_objectives(folder):
    table = DATA / folder / "objectives.tsv"
    if not table.exists():
        return {}
    refs = {}
    for line in table.read_text().splitlines():
        if line.startswith("#") or not line.strip():
            continue
        fields = line.split("\t")
        refs[fields[0]] = fields[1:]
    return refs


def agrees(value, reference, tol=1e-6):
    """The data set's rule: 1e-6 relative, 1e-6 absolute for a zero reference."""
    return abs(value - reference) <= tol * (abs(reference) if reference != 0 else 1.0)


@pytest.fixture
def netlib():
    if not (DATA / "netlib").is_dir():
        pytest.skip(f"Netlib models not found under {DATA}")
    return DATA / "netlib"
