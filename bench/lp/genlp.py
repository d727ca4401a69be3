#!/usr/bin/env python3
"""Seeded generator of structured LPs for the LP benchmark, written as fixed MPS.

Families (each always feasible and bounded):
  mcf        multicommodity flow on a square grid: conservation rows per commodity
             and node, a joint capacity row per arc, and an unmet-demand column per
             commodity at a penalty cost
  transport  transportation problem, every supplier to every customer, costs from
             distances between random points in the plane
  prod       multi-period production planning with inventories: balance rows per
             product and period (inventory in + production + outsourcing - inventory
             out = demand) and resource capacity rows per resource and period

Usage: genlp.py FAMILY SIZE SEED OUT.mps    (SIZE: the family's size parameter,
see SIZES for the benchmark's choices) or genlp.py --list.
"""
import gzip
import random
import sys

# Benchmark models: name -> (family, size parameters, seed). Nonzeros in comments.
SIZES = {
    "mcf-g15-k40": ("mcf", (15, 40), 1),           # 100880 nonzeros
    "transport-100x500": ("transport", (100, 500), 2),  # 100000
    "prod-p600-t24": ("prod", (600, 24, 40, 4), 3),     # about 115000
    "mcf-g20-k60": ("mcf", (20, 60), 4),           # 273720
}

PENALTY = 1000  # cost of one unit of unmet demand / outsourcing factor scale


class Lp:
    """Rows and columns by name; columns hold (row, value) lists."""

    def __init__(self, name):
        self.name = name
        self.rows = []  # (name, sense, rhs)
        self.cols = []  # (name, cost, entries, upper or None)

    def row(self, sense, rhs):
        self.rows.append(("R%07d" % len(self.rows), sense, rhs))
        return len(self.rows) - 1

    def col(self, cost, entries, upper=None):
        self.cols.append(("C%07d" % len(self.cols), cost, entries, upper))

    def nonzeros(self):
        return sum(len(c[2]) for c in self.cols)


def num(v):
    text = repr(float(v)) if not float(v).is_integer() else "%d" % v
    if len(text) > 12:
        text = "%.6g" % v
    return text


def write_mps(lp, path):
    opener = gzip.open if path.endswith(".gz") else open
    with opener(path, "wt") as f:
        f.write("NAME          %s\nROWS\n N  COST\n" % lp.name)
        for name, sense, _ in lp.rows:
            f.write(" %s  %s\n" % (sense, name))
        f.write("COLUMNS\n")
        for name, cost, entries, _ in lp.cols:
            if cost:
                f.write("    %-8s  %-8s  %12s\n" % (name, "COST", num(cost)))
            for r, v in entries:
                f.write("    %-8s  %-8s  %12s\n" % (name, lp.rows[r][0], num(v)))
        f.write("RHS\n")
        for name, _, rhs in lp.rows:
            if rhs:
                f.write("    %-8s  %-8s  %12s\n" % ("RHS", name, num(rhs)))
        if any(c[3] is not None for c in lp.cols):
            f.write("BOUNDS\n")
            for name, _, _, upper in lp.cols:
                if upper is not None:
                    f.write(" UP %-8s  %-8s  %12s\n" % ("BND", name, num(upper)))
        f.write("ENDATA\n")


def mcf(grid, commodities, rng):
    lp = Lp("MCF%dK%d" % (grid, commodities))
    nodes = grid * grid
    arcs = []
    for i in range(grid):
        for j in range(grid):
            v = i * grid + j
            if j + 1 < grid:
                arcs += [(v, v + 1), (v + 1, v)]
            if i + 1 < grid:
                arcs += [(v, v + grid), (v + grid, v)]
    cost = [rng.randint(1, 20) for _ in arcs]
    demand = []
    for _ in range(commodities):
        s, t = rng.sample(range(nodes), 2)
        demand.append((s, t, rng.randint(5, 20)))
    # Capacities tight enough that many arcs bind: a fraction of the total demand.
    total = sum(d for _, _, d in demand)
    conservation = []
    for s, t, d in demand:
        first = len(lp.rows)
        for v in range(nodes):
            lp.row("E", d if v == s else (-d if v == t else 0))
        conservation.append(first)
    capacity = [lp.row("L", rng.randint(total // 40 + 1, total // 10 + 2)) for _ in arcs]
    for k in range(commodities):
        base = conservation[k]
        for a, (u, v) in enumerate(arcs):
            lp.col(cost[a], [(base + u, 1), (base + v, -1), (capacity[a], 1)])
        s, t, _ = demand[k]
        lp.col(PENALTY, [(base + s, 1), (base + t, -1)])
    return lp


def transport(suppliers, customers, rng):
    lp = Lp("TR%dX%d" % (suppliers, customers))
    sp = [(rng.random() * 1000, rng.random() * 1000) for _ in range(suppliers)]
    cp = [(rng.random() * 1000, rng.random() * 1000) for _ in range(customers)]
    demand = [rng.randint(10, 100) for _ in range(customers)]
    share = 1.15 * sum(demand) / suppliers
    supply_rows = [lp.row("L", int(share * rng.uniform(0.8, 1.2)) + 1) for _ in range(suppliers)]
    demand_rows = [lp.row("G", d) for d in demand]
    for i, (x, y) in enumerate(sp):
        for j, (u, v) in enumerate(cp):
            c = int(((x - u) ** 2 + (y - v) ** 2) ** 0.5) + 1
            lp.col(c, [(supply_rows[i], 1), (demand_rows[j], 1)])
    # Supply sum >= 1.15 * 0.8 of demand is not a guarantee: keep it feasible.
    if sum(r[2] for r in lp.rows[:suppliers]) < sum(demand):
        raise SystemExit("transport: supply below demand; pick another seed")
    return lp


def prod(products, periods, resources, per_product, rng):
    lp = Lp("PR%dT%d" % (products, periods))
    unit = [rng.randint(5, 50) for _ in range(products)]
    use = [[(r, rng.randint(1, 9)) for r in rng.sample(range(resources), per_product)]
           for _ in range(products)]
    demand = [[rng.randint(0, 100) * (1 + (t % 6 == 5)) for t in range(periods)]
              for _ in range(products)]
    # Each resource can serve about 85% of the average load it would carry.
    load = [0.0] * resources
    for p in range(products):
        avg = sum(demand[p]) / periods
        for r, a in use[p]:
            load[r] += a * avg
    balance = [[lp.row("E", demand[p][t]) for t in range(periods)] for p in range(products)]
    cap = [[lp.row("L", int(0.85 * load[r] * rng.uniform(0.8, 1.2)) + 1) for _ in range(periods)]
           for r in range(resources)]
    for p in range(products):
        for t in range(periods):
            lp.col(unit[p] + t % 3, [(balance[p][t], 1)] + [(cap[r][t], a) for r, a in use[p]])
            lp.col(5 * unit[p], [(balance[p][t], 1)])  # outsourcing
            inv = [(balance[p][t], -1)]
            if t + 1 < periods:
                inv.append((balance[p][t + 1], 1))
            lp.col(1 + unit[p] // 10, inv, upper=400)
    return lp


def generate(name, out):
    family, size, seed = SIZES[name]
    rng = random.Random(seed)
    lp = {"mcf": mcf, "transport": transport, "prod": prod}[family](*size, rng)
    write_mps(lp, out)
    return lp


def main(argv):
    if len(argv) == 2 and argv[1] == "--list":
        for name in SIZES:
            print(name)
        return 0
    if len(argv) != 5:
        print(__doc__)
        return 2
    family, size, seed, out = argv[1], tuple(int(s) for s in argv[2].split(",")), int(argv[3]), argv[4]
    rng = random.Random(seed)
    lp = {"mcf": mcf, "transport": transport, "prod": prod}[family](*size, rng)
    write_mps(lp, out)
    print("%s: %d rows, %d columns, %d nonzeros" % (out, len(lp.rows), len(lp.cols), lp.nonzeros()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
