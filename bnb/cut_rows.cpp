// Cuts from single rows of the model: extended knapsack covers (Balas 1975;
// Gu, Nemhauser and Savelsbergh 1998 for the cover heuristic) and
// complemented mixed-integer rounding (Marchand and Wolsey 2001).
#include <algorithm>
#include <cmath>

#include "bnb/cuts.hpp"

namespace torva::bnb {
namespace {

// A row in "<=" form over the columns of the relaxation.
struct LeRow {
  std::vector<int> col;
  std::vector<double> val;
  double rhs = 0.0;
};

// The rows to round: 'L' rows as they are, 'G' rows negated, 'E' rows both
// ways. Only rows of the model (not earlier cuts).
template <class Fn>
void forEachLeRow(const SeparationInput& in, const RowMatrix& rows, Fn fn) {
  LeRow r;
  for (int i = 0; i < std::min(in.originalRows, rows.rows()); ++i) {
    const char t = in.lp.conType[static_cast<std::size_t>(i)];
    if (t == 'N') continue;
    for (double sign : {1.0, -1.0}) {
      if ((sign > 0 && t == 'G') || (sign < 0 && t == 'L')) continue;
      r.col.clear();
      r.val.clear();
      for (int k = rows.begin(i); k < rows.end(i); ++k) {
        r.col.push_back(rows.col(k));
        r.val.push_back(sign * rows.value(k));
      }
      r.rhs = sign * in.lp.rhs[static_cast<std::size_t>(i)];
      fn(r);
    }
  }
}

// Cover rows with fewer binaries than this are skipped (a cover of one
// column is a bound, which propagation finds).
constexpr int kMinCoverSize = 2;
// MIR: right-hand sides closer than this to an integer after division by
// delta give weak cuts with a large 1/(1-f) factor.
constexpr double kMirMinFrac = 0.05;
// A set covers when its weight exceeds the capacity by more than this
// relative margin: weights summed in floating point can pass the capacity
// by rounding alone (mod008's rows do, by 1e-14).
constexpr double kCoverMargin = 1e-9;
// Columns within this of a bound count as sitting at it.
constexpr double kAtBound = 1e-9;

bool isBinary(const SeparationInput& in, int j) {
  const std::size_t u = static_cast<std::size_t>(j);
  return in.isInt[u] && in.lower[u] == 0.0 && in.upper[u] == 1.0;
}

// Turns a "<=" cut over x into the ">=" record and appends it.
void pushLe(std::vector<Cut>& out, const std::vector<int>& col, const std::vector<double>& val, double rhs,
            int family) {
  Cut c;
  c.family = family;
  c.rhs = -rhs;
  for (std::size_t k = 0; k < col.size(); ++k)
    if (val[k] != 0.0) {
      c.idx.push_back(col[k]);
      c.val.push_back(-val[k]);
    }
  if (!c.idx.empty()) out.push_back(std::move(c));
}

}  // namespace

void separateCovers(const SeparationInput& in, const RowMatrix& rows, std::vector<Cut>& out) {
  std::vector<int> bin;
  std::vector<double> w, ys;
  std::vector<char> comp;
  forEachLeRow(in, rows, [&](const LeRow& r) {
    bin.clear();
    w.clear();
    ys.clear();
    comp.clear();
    double b = r.rhs;
    for (std::size_t k = 0; k < r.col.size(); ++k) {
      const int j = r.col[k];
      const std::size_t u = static_cast<std::size_t>(j);
      const double a = r.val[k];
      if (!isBinary(in, j)) {
        // Moved out at the bound that makes its term smallest.
        const double lo = a > 0 ? in.lower[u] : in.upper[u];
        if (std::fabs(lo) >= kInfinity) return;
        b -= a * lo;
        continue;
      }
      if (a == 0.0) continue;
      bin.push_back(j);
      comp.push_back(a < 0);
      w.push_back(std::fabs(a));
      ys.push_back(a < 0 ? 1.0 - in.x[u] : in.x[u]);
      if (a < 0) b -= a;
    }
    if (static_cast<int>(bin.size()) < kMinCoverSize || b < 0) return;
    double total = 0.0;
    for (double v : w) total += v;
    const double cap = b + kCoverMargin * (1.0 + std::fabs(b));
    if (total <= cap) return;
    // Greedy cover: columns near 1 and heavy first.
    std::vector<int> ord(bin.size());
    for (std::size_t k = 0; k < ord.size(); ++k) ord[k] = static_cast<int>(k);
    std::sort(ord.begin(), ord.end(), [&](int p, int q) {
      return (1.0 - ys[static_cast<std::size_t>(p)]) * w[static_cast<std::size_t>(q)] <
             (1.0 - ys[static_cast<std::size_t>(q)]) * w[static_cast<std::size_t>(p)];
    });
    std::vector<char> inCover(bin.size(), 0);
    double sum = 0.0, lhs = 0.0;
    int size = 0;
    for (int k : ord) {
      if (sum > cap) break;
      inCover[static_cast<std::size_t>(k)] = 1;
      sum += w[static_cast<std::size_t>(k)];
      lhs += ys[static_cast<std::size_t>(k)];
      ++size;
    }
    if (sum <= cap) return;
    // Toward a minimal cover: drop members at zero while it stays a cover.
    for (auto it = ord.rbegin(); it != ord.rend(); ++it) {
      const std::size_t k = static_cast<std::size_t>(*it);
      if (inCover[k] && ys[k] <= kAtBound && sum - w[k] > cap) {
        inCover[k] = 0;
        sum -= w[k];
        --size;
      }
    }
    if (lhs <= size - 1) return;  // the cover inequality is not violated
    double maxW = 0.0;
    for (std::size_t k = 0; k < bin.size(); ++k)
      if (inCover[k]) maxW = std::max(maxW, w[k]);
    // Extension: every column at least as heavy as the cover's heaviest.
    std::vector<int> col;
    std::vector<double> val;
    double rhs = size - 1;
    for (std::size_t k = 0; k < bin.size(); ++k) {
      if (!inCover[k] && w[k] < maxW) continue;
      col.push_back(bin[k]);
      // A complemented column enters as (1 - x).
      val.push_back(comp[k] ? -1.0 : 1.0);
      if (comp[k]) rhs -= 1.0;
    }
    pushLe(out, col, val, rhs, kCutCover);
  });
}

namespace {

// Variable upper bounds x <= u y (x continuous, y binary, u > 0) read from
// two-entry rows with a zero right-hand side: per column, y or -1, and u.
void findVariableBounds(const SeparationInput& in, const RowMatrix& rows, std::vector<int>& vubY,
                        std::vector<double>& vubU) {
  vubY.assign(in.isInt.size(), -1);
  vubU.assign(in.isInt.size(), 0.0);
  for (int i = 0; i < std::min(in.originalRows, rows.rows()); ++i) {
    const char t = in.lp.conType[static_cast<std::size_t>(i)];
    if (rows.end(i) - rows.begin(i) != 2 || in.lp.rhs[static_cast<std::size_t>(i)] != 0.0) continue;
    if (t != 'L' && t != 'G') continue;
    int kx = rows.begin(i), ky = kx + 1;
    if (in.isInt[static_cast<std::size_t>(rows.col(kx))]) std::swap(kx, ky);
    const int x = rows.col(kx), y = rows.col(ky);
    if (in.isInt[static_cast<std::size_t>(x)] || !isBinary(in, y)) continue;
    const double sign = t == 'L' ? 1.0 : -1.0;  // as a "<=" row
    const double ax = sign * rows.value(kx), ay = sign * rows.value(ky);
    if (ax <= 0.0 || ay >= 0.0 || vubY[static_cast<std::size_t>(x)] >= 0) continue;
    vubY[static_cast<std::size_t>(x)] = y;
    vubU[static_cast<std::size_t>(x)] = -ay / ax;
  }
}

}  // namespace

void separateMir(const SeparationInput& in, const RowMatrix& rows, std::vector<Cut>& out) {
  // Per row: continuous columns replaced by t >= 0 measured from the nearer
  // of their simple bounds or their variable upper bound (t = u y - x, which
  // moves a u onto the binary y); then integers measured from the nearer
  // finite bound. The continuous terms with negative coefficient form s >= 0.
  struct Term {
    int col;
    double a;       // coefficient of the transformed column
    int kind;       // 0: t = x - l, 1: t = u - x, 2: t = vubU y - x
    double value;   // its value at the relaxation point
  };
  const std::size_t n = in.isInt.size();
  std::vector<int> vubY;
  std::vector<double> vubU;
  findVariableBounds(in, rows, vubY, vubU);
  std::vector<Term> ints, conts;
  std::vector<double> deltas, intCoef(n, 0.0), cutCoef(n, 0.0);
  std::vector<int> touched, cutTouched;
  forEachLeRow(in, rows, [&](const LeRow& r) {
    ints.clear();
    conts.clear();
    for (int j : touched) intCoef[static_cast<std::size_t>(j)] = 0.0;
    touched.clear();
    double beta = r.rhs;
    auto addInt = [&](int j, double a) {
      if (intCoef[static_cast<std::size_t>(j)] == 0.0) touched.push_back(j);
      intCoef[static_cast<std::size_t>(j)] += a;
    };
    for (std::size_t k = 0; k < r.col.size(); ++k) {
      const int j = r.col[k];
      const std::size_t u = static_cast<std::size_t>(j);
      const double a = r.val[k], lo = in.lower[u], up = in.upper[u], xj = in.x[u];
      if (a == 0.0 || lo == up) {
        beta -= a * lo;
        continue;
      }
      if (in.isInt[u]) {
        addInt(j, a);
        continue;
      }
      const bool hasLo = lo > -kInfinity, hasUp = up < kInfinity;
      const int y = vubY[u];
      const double vubDist = y >= 0 ? vubU[u] * in.x[static_cast<std::size_t>(y)] - xj : kInfinity;
      const double simple = std::min(hasLo ? xj - lo : kInfinity, hasUp ? up - xj : kInfinity);
      if (y >= 0 && vubDist < simple) {
        // a x = a u y - a t.
        addInt(y, a * vubU[u]);
        conts.push_back({j, -a, 2, std::max(vubDist, 0.0)});
        continue;
      }
      if (!hasLo && !hasUp) return;
      const bool fromUpper = !hasLo || (hasUp && up - xj < xj - lo);
      beta -= a * (fromUpper ? up : lo);
      conts.push_back({j, fromUpper ? -a : a, fromUpper ? 1 : 0, fromUpper ? up - xj : xj - lo});
    }
    for (int j : touched) {
      const std::size_t u = static_cast<std::size_t>(j);
      const double a = intCoef[u], lo = in.lower[u], up = in.upper[u], xj = in.x[u];
      intCoef[u] = 0.0;  // a column listed twice is taken once
      if (a == 0.0) continue;
      const bool hasLo = lo > -kInfinity, hasUp = up < kInfinity;
      if (!hasLo && !hasUp) return;
      const bool fromUpper = !hasLo || (hasUp && up - xj < xj - lo);
      beta -= a * (fromUpper ? up : lo);
      ints.push_back({j, fromUpper ? -a : a, fromUpper ? 1 : 0, fromUpper ? up - xj : xj - lo});
    }
    if (ints.empty()) return;
    // s = sum over continuous terms with negative coefficient of -a t.
    double sVal = 0.0;
    for (const Term& t : conts)
      if (t.a < 0) sVal -= t.a * t.value;
    deltas.clear();
    for (const Term& t : ints)
      if (t.value > kAtBound) deltas.push_back(std::fabs(t.a));
    if (deltas.empty()) return;
    std::sort(deltas.begin(), deltas.end());
    deltas.erase(std::unique(deltas.begin(), deltas.end()), deltas.end());
    // Violation of the rounded row for a divisor delta, scaled by delta.
    auto violation = [&](double delta) {
      const double bd = beta / delta, f = bd - std::floor(bd);
      if (f < kMirMinFrac || f > 1.0 - kMirMinFrac) return -1.0;
      double lhs = 0.0;
      for (const Term& t : ints) {
        const double ad = t.a / delta, fj = ad - std::floor(ad);
        lhs += (std::floor(ad) + std::max(0.0, fj - f) / (1.0 - f)) * t.value;
      }
      return (lhs - std::floor(bd) - sVal / (delta * (1.0 - f))) / (1.0 + 1.0 / delta);
    };
    double best = 0.0, bestDelta = 0.0;
    for (double dl : deltas) {
      const double v = violation(dl);
      if (v > best) best = v, bestDelta = dl;
    }
    if (bestDelta == 0.0) return;
    for (double div : {2.0, 4.0, 8.0}) {
      const double v = violation(bestDelta / div);
      if (v > best) best = v, bestDelta /= div;
    }
    // The cut over the transformed columns, then back over x.
    const double bd = beta / bestDelta, f = bd - std::floor(bd);
    double rhs = std::floor(bd);
    auto put = [&](int j, double v) {
      if (cutCoef[static_cast<std::size_t>(j)] == 0.0) cutTouched.push_back(j);
      cutCoef[static_cast<std::size_t>(j)] += v;
    };
    auto add = [&](const Term& t, double g) {
      const std::size_t u = static_cast<std::size_t>(t.col);
      if (g == 0.0) return;
      if (t.kind == 0) {  // g (x - l)
        put(t.col, g);
        rhs += g * in.lower[u];
      } else if (t.kind == 1) {  // g (u - x)
        put(t.col, -g);
        rhs -= g * in.upper[u];
      } else {  // g (vubU y - x)
        put(t.col, -g);
        put(vubY[u], g * vubU[u]);
      }
    };
    for (const Term& t : ints) {
      const double ad = t.a / bestDelta, fj = ad - std::floor(ad);
      add(t, std::floor(ad) + std::max(0.0, fj - f) / (1.0 - f));
    }
    // - s / (delta (1 - f)) with s = sum -a t over negative a.
    for (const Term& t : conts)
      if (t.a < 0) add(t, t.a / (bestDelta * (1.0 - f)));
    std::vector<int> col;
    std::vector<double> val;
    for (int j : cutTouched) {
      col.push_back(j);
      val.push_back(cutCoef[static_cast<std::size_t>(j)]);
      cutCoef[static_cast<std::size_t>(j)] = 0.0;
    }
    cutTouched.clear();
    pushLe(out, col, val, rhs, kCutMir);
  });
}

}  // namespace torva::bnb
