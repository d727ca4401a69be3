#!/usr/bin/env python3
"""LP benchmark: runtorva against clp, model by model, in the same run.

For each model it runs `runtorva -q FILE` and then `clp FILE -dualsimplex` (both
with their default presolve, one thread each), and records both wall times
(the whole process, reading included), CPU times (user + system of the child),
iteration counts and objectives, whether the objectives agree to 1e-6 relative
(1e-6 absolute at 0) with each other and with the reference of the data set,
and the ratios ours / clp's. At the end it prints per set the geometric means
of the wall and CPU ratios, the largest ratio and the iteration ratio.

Sets:
  netlib   every Netlib model of the shared data
  large    the Netlib models where either solver needs 0.2 s or more (wall);
           taken from the netlib run, so it needs that set too
  gen      structured LPs written by genlp.py (seeded, into --workdir)
  miplib   the LP relaxations of the MIPLIB models (runtorva --relax; clp
           solves an MPS file with integer markers as an LP anyway)

Example: python3 bench/lp/run.py --sets netlib,large,gen,miplib --tsv out.tsv
"""
import argparse
import math
import os
import re
import resource
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
import genlp  # noqa: E402

# Agreement of two objectives, as the shared data's README judges a solve.
AGREE_TOL = 1e-6
# The "large" Netlib subset: either solver needs at least this many seconds.
LARGE_SECONDS = 0.2
# CPU times below this (seconds) are taken as this in ratios.
CPU_FLOOR = 1e-3
# A model counts as a target miss when ours is slower than this times clp.
MAX_RATIO = 3.0


def agree(a, b, printed=0.0):
    """a and b agree to AGREE_TOL, or to half a unit of the last digit that b
    was printed with (printed) when that is coarser."""
    if a is None or b is None:
        return False
    return abs(a - b) <= max(AGREE_TOL * (abs(b) if b != 0 else 1.0), printed)


def last_digit(text):
    """Half a unit of the last significant digit of a number written as text."""
    mantissa, _, exponent = text.lower().partition("e")
    decimals = len(mantissa.split(".")[1]) if "." in mantissa else 0
    return 0.5 * 10.0 ** (-decimals + (int(exponent) if exponent else 0))


def run_timed(cmd, timeout):
    """Runs cmd; returns (wall seconds, output text, whether it was killed)."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    timed_out = False
    try:
        out, _ = proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        proc.kill()
        out, _ = proc.communicate()
        timed_out = True
    wall = time.perf_counter() - start
    # communicate() reaped the child; its rusage is in RUSAGE_CHILDREN deltas.
    return wall, out.decode("utf-8", "replace"), timed_out


def cpu_children():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def parse_ours(text):
    status = re.search(r"^Model status : (.*)$", text, re.M)
    obj = re.search(r"^Objective value : (\S+)", text, re.M)
    its = re.search(r"^Simplex iterations : (\d+)", text, re.M)
    value = None
    if obj:
        try:
            value = float(obj.group(1))
        except ValueError:
            value = None
    return (status.group(1).strip() if status else "error", value,
            int(its.group(1)) if its else None)


def parse_clp(text):
    m = re.search(r"^(\w[\w ]*?) objective (\S+) - (\d+) iterations", text, re.M)
    if not m:
        return "error", None, None
    status = "Optimal" if m.group(1) == "Optimal" else m.group(1)
    return status, float(m.group(2)), int(m.group(3))


def solve_pair(path, relax, args):
    ours_cmd = [args.runtorva, "-q", "--set", "num_threads=1",
                "--time-limit", str(args.time_limit)]
    if args.method:
        ours_cmd += ["--method", args.method]
    if relax:
        ours_cmd.append("--relax")
    ours_cmd.append(path)
    clp_cmd = [args.clp, path, "-seconds", str(args.time_limit), "-dualsimplex"]
    row = {}
    for who, cmd, parse in (("ours", ours_cmd, parse_ours), ("clp", clp_cmd, parse_clp)):
        before = cpu_children()
        wall, text, timed_out = run_timed(cmd, args.time_limit + 60)
        cpu = cpu_children() - before
        status, obj, its = parse(text)
        if timed_out:
            status = "killed"
        row[who] = dict(wall=wall, cpu=cpu, status=status, obj=obj, its=its)
    return row


def geomean(values):
    values = [v for v in values if v > 0]
    if not values:
        return float("nan")
    return math.exp(sum(math.log(v) for v in values) / len(values))


def references(folder, column):
    refs = {}
    path = os.path.join(folder, "objectives.tsv")
    if os.path.exists(path):
        for line in open(path):
            if line.startswith("#") or not line.strip():
                continue
            parts = line.rstrip("\n").split("\t")
            try:
                refs[parts[0]] = (float(parts[column]), last_digit(parts[column]))
            except (IndexError, ValueError):
                pass
    return refs


def model_list(args):
    """(set name, model name, path, relax, reference) in run order."""
    sets = args.sets.split(",")
    todo = []
    pattern = re.compile(args.filter) if args.filter else None
    if "netlib" in sets or "large" in sets:
        folder = os.path.join(args.data, "netlib")
        if not os.path.isdir(folder):
            print("skipping Netlib: no folder %s" % folder)
        else:
            refs = references(folder, 1)
            for f in sorted(os.listdir(folder)):
                if f.endswith(".mps.gz"):
                    name = f[:-7]
                    todo.append(("netlib", name, os.path.join(folder, f), False, refs.get(name)))
    if "gen" in sets:
        os.makedirs(args.workdir, exist_ok=True)
        for name in genlp.SIZES:
            path = os.path.join(args.workdir, name + ".mps.gz")
            if not os.path.exists(path):
                lp = genlp.generate(name, path)
                print("generated %s: %d rows, %d columns, %d nonzeros" %
                      (path, len(lp.rows), len(lp.cols), lp.nonzeros()), flush=True)
            todo.append(("gen", name, path, False, None))
    if "miplib" in sets:
        folder = os.path.join(args.data, "miplib3")
        if not os.path.isdir(folder):
            print("skipping MIPLIB: no folder %s" % folder)
        else:
            refs = references(folder, 5)
            for f in sorted(os.listdir(folder)):
                if f.endswith(".mps.gz"):
                    name = f[:-7]
                    todo.append(("miplib", name, os.path.join(folder, f), True, refs.get(name)))
    if pattern:
        todo = [t for t in todo if pattern.search(t[1])]
    return todo


def fmt_obj(v):
    return "%.10g" % v if v is not None else "-"


def report_line(name, r, ref):
    o, c = r["ours"], r["clp"]
    ratio = o["wall"] / c["wall"] if c["wall"] > 0 else float("nan")
    cratio = max(o["cpu"], CPU_FLOOR) / max(c["cpu"], CPU_FLOOR)
    both = "yes" if agree(o["obj"], c["obj"]) else "NO"
    vs_ref = "-" if ref is None else ("ok" if agree(o["obj"], *ref) else "WRONG")
    print("%-18s %8.2f %8.2f %7s %7s %6.2f %6.2f  %-8s %-8s %17s %17s %-3s %s" % (
        name, o["wall"], c["wall"], o["its"] if o["its"] is not None else "-",
        c["its"] if c["its"] is not None else "-", ratio, cratio, o["status"][:8],
        c["status"][:8], fmt_obj(o["obj"]), fmt_obj(c["obj"]), both, vs_ref), flush=True)
    return ratio, cratio


HEADER = "%-18s %8s %8s %7s %7s %6s %6s  %-8s %-8s %17s %17s %-3s %s" % (
    "model", "ours s", "clp s", "ours it", "clp it", "wall", "cpu", "ours", "clp",
    "ours objective", "clp objective", "agr", "ref")


def summarise(label, rows):
    if not rows:
        return
    ratios = [r["ours"]["wall"] / r["clp"]["wall"] for r in rows]
    cratios = [max(r["ours"]["cpu"], CPU_FLOOR) / max(r["clp"]["cpu"], CPU_FLOOR) for r in rows]
    iratios = [r["ours"]["its"] / r["clp"]["its"] for r in rows
               if r["ours"]["its"] and r["clp"]["its"]]
    done = [r for r in rows if r["ours"]["status"] == "Optimal" and r["clp"]["status"] == "Optimal"]
    unfinished = len(rows) - len(done)
    wrong = sum(1 for r in done if not agree(r["ours"]["obj"], r["clp"]["obj"]))
    off_ref = sum(1 for r in done if r["ref"] and not agree(r["ours"]["obj"], *r["ref"]))
    worst = max(rows, key=lambda r: r["ours"]["wall"] / r["clp"]["wall"])
    print("%-7s models %3d  geomean wall ratio %6.2f  cpu ratio %6.2f  iteration ratio %5.2f  "
          "slower than %gx: %d (worst %s %.1f)  not both optimal: %d  objectives disagree: %d, ours off the reference: %d  total s ours %.1f clp %.1f" % (
              label, len(rows), geomean(ratios), geomean(cratios), geomean(iratios), MAX_RATIO,
              sum(1 for x in ratios if x > MAX_RATIO), worst["name"],
              worst["ours"]["wall"] / worst["clp"]["wall"], unfinished, wrong, off_ref,
              sum(r["ours"]["wall"] for r in rows), sum(r["clp"]["wall"] for r in rows)))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--sets", default="netlib,large,gen,miplib")
    ap.add_argument("--filter", help="regular expression on model names")
    ap.add_argument("--runtorva", default=os.path.join(ROOT, "build", "app", "runtorva"))
    ap.add_argument("--clp", default="/usr/bin/clp")
    ap.add_argument("--method", choices=("free", "primal", "dual"),
                    help="runtorva --method (default: runtorva's own, free)")
    ap.add_argument("--data", default=os.environ.get(
        "TORVA_SHARED_DATA", os.path.join(ROOT, "..", "shared", "data")))
    ap.add_argument("--workdir", default=os.path.join(ROOT, "build", "bench_lp"),
                    help="folder of the generated models")
    ap.add_argument("--time-limit", type=float, default=300.0, help="seconds per solve")
    ap.add_argument("--tsv", help="also write one line per model to this file")
    args = ap.parse_args()
    for exe in (args.runtorva, args.clp):
        if not os.access(exe, os.X_OK):
            sys.exit("run.py: %s is not an executable (build runtorva first)" % exe)
    todo = model_list(args)
    tsv = open(args.tsv, "w") if args.tsv else None
    if tsv:
        tsv.write("set\tmodel\tours_wall\tclp_wall\tours_cpu\tclp_cpu\tours_its\tclp_its\t"
                  "ours_status\tclp_status\tours_obj\tclp_obj\treference\n")
    results = []
    current = None
    for set_name, name, path, relax, ref in todo:
        if set_name != current:
            current = set_name
            print("\n[%s]\n%s" % (set_name, HEADER), flush=True)
        r = solve_pair(path, relax, args)
        r.update(set=set_name, name=name, ref=ref)
        report_line(name, r, ref)
        results.append(r)
        if tsv:
            o, c = r["ours"], r["clp"]
            tsv.write("\t".join(str(x) for x in (
                set_name, name, "%.3f" % o["wall"], "%.3f" % c["wall"], "%.3f" % o["cpu"],
                "%.3f" % c["cpu"], o["its"], c["its"], o["status"], c["status"],
                fmt_obj(o["obj"]), fmt_obj(c["obj"]), fmt_obj(ref[0] if ref else None))) + "\n")
            tsv.flush()
    print()
    sets = args.sets.split(",")
    for label in ("netlib", "gen", "miplib"):
        if label in sets:
            summarise(label, [r for r in results if r["set"] == label])
    if "large" in sets:
        summarise("large", [r for r in results if r["set"] == "netlib" and
                            max(r["ours"]["wall"], r["clp"]["wall"]) >= LARGE_SECONDS])
    return 0


if __name__ == "__main__":
    sys.exit(main())
