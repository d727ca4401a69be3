import resource
import tracemalloc

import numpy as np
import scipy.sparse as sp

import torva

CYCLES = 10_000


def rss_kib():
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss


def cycle(env, A):
    with torva.Model(env) as m:
        m.load([1.0, 1.0, 1.0], A, [1.0, 2.0], "GG")
        m.optimize()
        assert m.objective > 0


def test_no_leak_over_many_create_solve_delete_cycles():
    A = sp.csc_matrix(np.array([[1.0, 0.0, 1.0], [0.0, 2.0, 1.0]]))
    with torva.Env() as env:
        for _ in range(200):  # warm up allocator pools and name caches
            cycle(env, A)
        tracemalloc.start()
        before_py = tracemalloc.take_snapshot()
        before_rss = rss_kib()
        for _ in range(CYCLES):
            cycle(env, A)
        grown_py = sum(s.size_diff for s in
                       tracemalloc.take_snapshot().compare_to(before_py, "filename"))
        tracemalloc.stop()
        grown_rss = rss_kib() - before_rss
    # A leak of one small model per cycle would be megabytes over the cycles.
    assert grown_py < 256 * 1024, f"Python heap grew by {grown_py} bytes"
    assert grown_rss < 4 * 1024, f"resident set grew by {grown_rss} KiB"


def test_closing_the_environment_first_keeps_models_usable_until_closed():
    env = torva.Env()
    m = torva.Model(env)
    env.close()
    m.close()
    assert m.closed and env.closed
