#!/usr/bin/env python3
"""Seeded mutation check: does the test suite notice small faults in the code?

Samples source lines of base/, io/ and simplex/lu*.cpp with a fixed seed, applies
one mutation per line (flip a comparison, change an integer constant by one, swap
+ and -, drop a statement), rebuilds only the test program of the mutated folder
(the build tool recompiles just the touched object), runs it and records whether
the mutant was killed (the tests fail or time out), survived (the tests pass) or
was stillborn (it does not compile; such mutants are left out of the ratio).

Usage:
  scripts/mutate.py --build build --seed 12 --count 200 --log mutants.tsv
  scripts/mutate.py --summary mutants.tsv [other.tsv]

To weigh a change to the suite in one pass (one build per mutant), give the
gtest filter of the smaller suite as --second-filter: every mutant the full
suite kills is run again under it, and the log gets both outcomes; --summary
then prints both ratios.

To weigh a smaller suite in a later run, on the same sources, give the log of
the earlier run as --only-killed: only the mutants that run killed are tried
(a subset of a suite cannot kill what the whole suite let live, so the others
count as survivors without a build). The sampled lines must be the same as in
the earlier log; the run stops if they differ.

The build directory must be configured and built. The log is appended line by
line, so an interrupted run can be resumed (mutants already logged are skipped).
Every mutated file is restored before the next mutant, also on Ctrl-C.
"""

import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time

# Folders sampled and the test program that covers each.
FOLDERS = {"base": "test_base", "io": "test_io", "simplex": "test_simplex"}
SIMPLEX_FILES = re.compile(r"^lu.*\.cpp$")

COMPARISONS = [("<=", ">"), (">=", "<"), ("==", "!="), ("!=", "=="), ("<", ">="), (">", "<=")]
DECLARATION_START = re.compile(
    r"^\s*(return\b|case\b|default\b|break\b|continue\b|using\b|namespace\b|template\b|typedef\b|"
    r"static\b|const\b|constexpr\b|auto\b|int\b|double\b|bool\b|char\b|long\b|unsigned\b|size_t\b|"
    r"std::\w+(<[^;]*>)?\s+\w+|[A-Z]\w*(<[^;]*>)?[\s&*]+\w+\s*[=({;])")
STATEMENT = re.compile(r"^\s*[\w:.\->\[\]()*]+.*;\s*$")


def mask(line):
    """The line with string/char literals and comments blanked, same length."""
    out, i, n = [], 0, len(line)
    while i < n:
        c = line[i]
        if line.startswith("//", i):
            out.append(" " * (n - i))
            break
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + (c if j - i >= 2 else ""))
            i = j
            continue
        out.append(c)
        i += 1
    return "".join(out)[:n]


def mutations(line):
    """All (description, mutated line) pairs applicable to one source line."""
    m = mask(line)
    stripped = m.strip()
    if not stripped or stripped.startswith(("#", "*", "/*")) or "template" in m or "#include" in m:
        return []
    found = []
    # Comparisons written with a blank on each side (templates, arrows and stream
    # operators are written without, or are excluded by their neighbours).
    for op, rep in COMPARISONS:
        for mt in re.finditer(r"(?<=\s)" + re.escape(op) + r"(?=\s)", m):
            s, e = mt.start(), mt.end()
            found.append((f"'{op}' -> '{rep}' @{s}", line[:s] + rep + line[e:]))
    # Integer constants (not part of identifiers, floats or exponents).
    for mt in re.finditer(r"(?<![\w.])(\d+)(?![\w.])", m):
        v = int(mt.group(1))
        for nv in (v + 1, v - 1) if v > 0 else (v + 1,):
            found.append((f"{v} -> {nv} @{mt.start()}", line[:mt.start()] + str(nv) + line[mt.end():]))
    # Binary + and - (not ++, --, +=, -=, ->, unary signs after an operator or bracket).
    for mt in re.finditer(r"(?<=[\w)\]\s])\s*([+-])\s*(?=[\w(])", m):
        s = mt.start(1)
        prev = m[:s].rstrip()
        if not prev or prev[-1] in "=(,<>!&|?:[{+-*/%" or m[s + 1:s + 2] in "+-=>":
            continue
        if prev.endswith(("return", "case")):
            continue
        rep = "-" if m[s] == "+" else "+"
        found.append((f"'{m[s]}' -> '{rep}' @{s}", line[:s] + rep + line[s + 1:]))
    # Drop a plain statement (a call or an assignment; not declarations or returns).
    if STATEMENT.match(m) and not DECLARATION_START.match(m) and m.count("(") == m.count(")") \
            and not stripped.startswith(("}", "{", "else", "if", "for", "while", "do", ":", "?")):
        indent = line[:len(line) - len(line.lstrip())]
        found.append(("drop statement", indent + ";  // dropped: " + line.strip() + "\n"))
    return found


def candidates(root):
    """(path, line number, line) of every mutable line, in a fixed order."""
    out = []
    for folder in sorted(FOLDERS):
        d = os.path.join(root, folder)
        if not os.path.isdir(d):
            continue
        for name in sorted(os.listdir(d)):
            if not name.endswith(".cpp") or (folder == "simplex" and not SIMPLEX_FILES.match(name)):
                continue
            rel = f"{folder}/{name}"
            with open(os.path.join(root, rel)) as f:
                lines = f.readlines()
            in_comment = False
            for no, line in enumerate(lines, 1):
                s = line.strip()
                if in_comment:
                    in_comment = "*/" not in s
                    continue
                if s.startswith("/*"):
                    in_comment = "*/" not in s
                    continue
                if mutations(line):
                    out.append((rel, no, line))
    return out


def sample(root, seed, count):
    rng = random.Random(seed)
    cands = candidates(root)
    picked = rng.sample(cands, min(count, len(cands)))
    result = []
    for rel, no, line in picked:
        desc, mutated = rng.choice(mutations(line))
        result.append((rel, no, desc, mutated))
    return result


def run(cmd, timeout, cwd):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=timeout)
        return p.returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def pending_path(build, rel):
    """Where the original of a file under mutation is kept until it is back."""
    return os.path.join(build, "mutate-pending", rel.replace("/", "__"))


def restore_pending(root, build):
    """Puts back the originals a killed run left mutated."""
    folder = os.path.join(build, "mutate-pending")
    if not os.path.isdir(folder):
        return
    for name in sorted(os.listdir(folder)):
        rel = name.replace("__", "/")
        with open(os.path.join(folder, name)) as f:
            original = f.read()
        with open(os.path.join(root, rel), "w") as f:
            f.write(original)
        os.remove(os.path.join(folder, name))
        print(f"restored {rel}, left mutated by an interrupted run", file=sys.stderr)


def test_mutant(root, build, rel, no, mutated, timeout, gtest_filter, second_filter=None):
    path = os.path.join(root, rel)
    with open(path) as f:
        original = f.read()
    lines = original.splitlines(keepends=True)
    lines[no - 1] = mutated
    program = FOLDERS[rel.split("/")[0]]
    # The original goes to disk first, so that even a run killed outright
    # leaves the means to restore it (done at the start of the next run).
    backup = pending_path(build, rel)
    os.makedirs(os.path.dirname(backup), exist_ok=True)
    with open(backup, "w") as f:
        f.write(original)
    try:
        with open(path, "w") as f:
            f.write("".join(lines))
        rc = run(["cmake", "--build", build, "-j2", "--target", program], 1800, root)
        if rc != 0:
            return "stillborn"
        env_tmp = os.path.join(build, "tests")
        os.environ.setdefault("TORVA_TEST_TMP", env_tmp)

        def outcome(flt):
            cmd = [os.path.join(build, "tests", program), "--gtest_fail_fast", "--gtest_brief=1"]
            if flt:
                cmd.append(f"--gtest_filter={flt}")
            return "survived" if run(cmd, timeout, env_tmp) == 0 else "killed"
        first = outcome(gtest_filter)
        if second_filter is None:
            return first
        # A subset of the suite cannot kill what the whole suite lets live.
        second = outcome(second_filter) if first == "killed" else "survived"
        return f"{first}\t{second}"
    finally:
        with open(path, "w") as f:
            f.write(original)
        os.remove(backup)


def summary(paths):
    outcomes = {"killed", "survived", "stillborn"}
    for path in paths:
        columns = {}
        with open(path) as f:
            for row in f:
                parts = row.rstrip("\n").split("\t")
                if len(parts) < 5 or not parts[0].isdigit():
                    continue
                for k, word in enumerate(p for p in parts[4:] if p in outcomes):
                    counts = columns.setdefault(k, {})
                    counts[word] = counts.get(word, 0) + 1
        for k, counts in sorted(columns.items()):
            viable = counts.get("killed", 0) + counts.get("survived", 0)
            ratio = 100.0 * counts.get("killed", 0) / viable if viable else 0.0
            label = path if k == 0 else f"{path} (second filter)"
            print(f"{label}: {counts}  killed {counts.get('killed', 0)}/{viable} = {ratio:.1f}%")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    ap.add_argument("--build", default="build")
    ap.add_argument("--seed", type=int, default=12)
    ap.add_argument("--count", type=int, default=200)
    ap.add_argument("--timeout", type=int, default=600, help="seconds per test run")
    ap.add_argument("--log", default="mutants.tsv")
    ap.add_argument("--filter", default="", help="gtest filter passed to every test run")
    ap.add_argument("--second-filter", default=None,
                    help="gtest filter of a smaller suite, run again on every killed mutant")
    ap.add_argument("--only-killed", default=None, metavar="LOG",
                    help="run only the mutants killed in this earlier log")
    ap.add_argument("--list", action="store_true", help="print the sampled mutants and stop")
    ap.add_argument("--summary", nargs="*", help="summarise existing logs and stop")
    args = ap.parse_args()
    if args.summary is not None:
        summary(args.summary)
        return
    root = os.path.abspath(args.root)
    build = os.path.abspath(os.path.join(root, args.build)) if not os.path.isabs(args.build) else args.build
    # A termination signal unwinds like an exception, so the mutated file is
    # put back before the process ends.
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, lambda *_: sys.exit(1))
    restore_pending(root, build)
    mutants = sample(root, args.seed, args.count)
    if args.list:
        for i, (rel, no, desc, mutated) in enumerate(mutants):
            print(f"{i}\t{rel}:{no}\t{desc}\t{mutated.strip()}")
        return
    wanted = None
    if args.only_killed:
        wanted = set()
        with open(args.only_killed) as f:
            for r in f:
                parts = r.rstrip("\n").split("\t")
                if len(parts) < 5 or not parts[0].isdigit():
                    continue
                i = int(parts[0])
                if i >= len(mutants) or f"{mutants[i][0]}:{mutants[i][1]}" != parts[1] \
                        or mutants[i][3].strip() != parts[3]:
                    sys.exit(f"mutant {i} differs from {args.only_killed}: sources changed?")
                if parts[4] == "killed":
                    wanted.add(i)
    # A run stopped during a build can leave an object compiled from a mutated
    # file that is newer than the restored source; mark every sampled file
    # changed so that the first build recompiles them (a compiler cache makes
    # this cheap).
    for rel in sorted({rel for rel, _, _, _ in mutants}):
        os.utime(os.path.join(root, rel))
    done = set()
    if os.path.exists(args.log):
        with open(args.log) as f:
            done = {int(r.split("\t")[0]) for r in f if r[:1].isdigit()}
    with open(args.log, "a") as log:
        for i, (rel, no, desc, mutated) in enumerate(mutants):
            if i in done or (wanted is not None and i not in wanted):
                continue
            t0 = time.time()
            outcome = test_mutant(root, build, rel, no, mutated, args.timeout, args.filter,
                                  args.second_filter)
            log.write(f"{i}\t{rel}:{no}\t{desc}\t{mutated.strip()}\t{outcome}\t{time.time() - t0:.0f}s\n")
            log.flush()
    # Leave the build matching the restored sources.
    run(["cmake", "--build", build, "-j2", "--target", *sorted(set(FOLDERS.values()))], 3600, root)
    summary([args.log])


if __name__ == "__main__":
    sys.exit(main())
