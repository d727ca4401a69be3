// Crossover: from an interior solution to a basis the simplex finishes.
//
// 1. Starting basis. Near the optimum the variables of the optimal
//    partition's basic part stay away from their bounds while their reduced
//    costs vanish; the others do the opposite. The ratio of bound distance to
//    reduced cost separates the two sets (about 1/mu against mu). The
//    interior variables come first, then slacks (unit columns keep the basis
//    well conditioned where the interior set has fewer than m members), then
//    the rest; the first m form the basis, and the factorisation replaces
//    dependent ones by slacks.
// 2. Primal push (Megiddo 1991; Bixby and Saltzman 1994): every nonbasic
//    variable still strictly between its bounds (superbasic) moves to a bound
//    while the basic variables stay within theirs; a basic variable that
//    blocks the move leaves the basis for it (a ratio test with Harris's
//    tolerance and the largest pivot among the ties). The objective changes
//    by the variable's reduced cost under the current basis times its step,
//    so the move goes the way that does not raise it: up for a negative
//    reduced cost, down for a positive one, to the nearer bound only when
//    the reduced cost is zero within the dual tolerance. (Moving every
//    superbasic to its nearer bound lost 0.17% of the optimum on degen3
//    and left thousands of simplex iterations.)
// The basis that results is primal feasible up to the tolerance and close to
// dual feasible; the simplex removes what remains and certifies the optimum.
// When the preferred basis is so ill-conditioned that the push loses primal
// feasibility, it is factorised again with a stricter threshold, and when
// that push fails too, the push starts again from the slack basis.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numeric>

#include "simplex/ipm/ipm.hpp"
#include "simplex/lu.hpp"

namespace torva::ipm {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Host basis codes.
constexpr int kBasic = 0, kAtLower = -1, kAtUpper = -2, kFreeZero = -3;
// Bound distance over reduced cost above which a variable counts as
// interior.
constexpr double kInteriorRatio = 1.0;
// Entries of a transformed column below this are no pivot candidates (the
// simplex's default pivot tolerance, QX_DPARAM_LP_PIV_ZEROTOL).
constexpr double kPivotTol = 1e-8;
// A pushed basis whose basic variables violate their bounds by more than
// this (relative) is given up for a push from the slack basis (ten times
// the simplex's default feasibility tolerance).
constexpr double kRetryViolation = 1e-6;
// Threshold of the second factorisation of the preferred basis when the
// first push loses feasibility: the value Duff, Erisman and Reid recommend
// for threshold pivoting (Direct Methods for Sparse Matrices, 1986, 5.4).
constexpr double kStrictRelPivot = 0.1;

class Pusher {
 public:
  Pusher(const simplex::Lp& lp, const IpmResult& r, const CrossoverOptions& o, double zeroDual)
      : lp_(lp), o_(o), n_(lp.n), m_(lp.m), nt_(lp.n + lp.m), zeroDual_(zeroDual), x_(r.x), lu_(lp.m) {
    a_.numRows = m_;
    a_.numCols = n_;
    a_.begin = lp.colStart.data();
    a_.index = lp.rowIndex.data();
    a_.value = lp.colValue.data();
    lu_.setDoubleOption(kLuDparEpsPivRel, o.luRelPivot);
  }

  bool start(const std::vector<int>& basic);
  void push(CrossoverStats& stats);
  void statuses(std::vector<int>& colStatus, std::vector<int>& rowStatus) const;
  // Largest bound violation of a variable, relative to 1 + |bound|.
  double worstViolation() const {
    double worst = 0.0;
    for (int v = 0; v < nt_; ++v) {
      const double lo = lp_.lower[v], up = lp_.upper[v];
      if (x_[v] < lo) worst = std::max(worst, (lo - x_[v]) / (1.0 + std::fabs(lo)));
      if (x_[v] > up) worst = std::max(worst, (x_[v] - up) / (1.0 + std::fabs(up)));
    }
    return worst;
  }

 private:
  double tolX(double bound) const { return o_.tolX * (1.0 + std::fabs(bound)); }
  bool refactor();
  void basicValues();
  void column(int v, LuVector& col) const;
  double reducedCost(int v);
  bool pushOne(int s, CrossoverStats& stats, int forced = 0);

  const simplex::Lp& lp_;
  const CrossoverOptions& o_;
  int n_, m_, nt_;
  double zeroDual_;
  std::vector<double> x_;
  std::vector<double> y_;  // duals of the current basis, valid while !yStale_
  bool yStale_ = true;
  std::vector<int> basic_, pos_;
  LuKernel lu_;
  LuMatrix a_;
};

bool Pusher::refactor() {
  const int rc = lu_.factorize(a_, basic_);
  if (rc != kLuOk && rc != kLuSingular) return false;
  if (rc == kLuSingular) basic_ = lu_.basic();
  pos_.assign(nt_, -1);
  for (int p = 0; p < m_; ++p) pos_[basic_[p]] = p;
  basicValues();
  yStale_ = true;
  return true;
}

bool Pusher::start(const std::vector<int>& basic) {
  basic_ = basic;
  pos_.assign(nt_, -1);
  for (int p = 0; p < m_; ++p) pos_[basic_[p]] = p;
  // Nonbasic variables within the tolerance of a bound sit on it.
  for (int v = 0; v < nt_; ++v) {
    if (pos_[v] >= 0) continue;
    const double lo = lp_.lower[v], up = lp_.upper[v];
    if (lo != -kInf && std::fabs(x_[v] - lo) <= tolX(lo)) x_[v] = lo;
    else if (up != kInf && std::fabs(x_[v] - up) <= tolX(up)) x_[v] = up;
  }
  return refactor();
}

// x_B = B^-1 (b - N x_N).
void Pusher::basicValues() {
  LuVector rhs(m_);
  std::vector<double> r(lp_.rhs);
  for (int j = 0; j < n_; ++j) {
    if (pos_[j] >= 0 || x_[j] == 0.0) continue;
    for (int q = lp_.colStart[j]; q < lp_.colStart[j + 1]; ++q) r[lp_.rowIndex[q]] -= lp_.colValue[q] * x_[j];
  }
  for (int i = 0; i < m_; ++i)
    if (pos_[n_ + i] < 0) r[i] -= x_[n_ + i];
  for (int i = 0; i < m_; ++i)
    if (r[i] != 0.0) rhs.add(i, r[i]);
  lu_.ftran(rhs);
  for (int p = 0; p < m_; ++p) x_[basic_[p]] = rhs.array[p];
}

void Pusher::column(int v, LuVector& col) const {
  col.clear();
  if (v >= n_) {
    col.add(v - n_, 1.0);
    return;
  }
  for (int q = lp_.colStart[v]; q < lp_.colStart[v + 1]; ++q) col.add(lp_.rowIndex[q], lp_.colValue[q]);
}

// c_v - a_v'y with y = B^-T c_B of the current basis.
double Pusher::reducedCost(int v) {
  if (yStale_) {
    LuVector y(m_);
    for (int p = 0; p < m_; ++p) {
      const int b = basic_[p];
      if (b < n_ && lp_.cost[b] != 0.0) y.add(p, lp_.cost[b]);
    }
    lu_.btran(y);
    y_ = y.array;
    yStale_ = false;
  }
  if (v >= n_) return -y_[v - n_];
  double d = lp_.cost[v];
  for (int q = lp_.colStart[v]; q < lp_.colStart[v + 1]; ++q) d -= lp_.colValue[q] * y_[lp_.rowIndex[q]];
  return d;
}

// Moves superbasic s to a bound, the way forced (-1 down, +1 up) or else the
// one its reduced cost gives (a free variable: into the basis). Returns
// false when the factorisation failed.
bool Pusher::pushOne(int s, CrossoverStats& stats, int forced) {
  const double lo = lp_.lower[s], up = lp_.upper[s], xs = x_[s];
  const double d = forced != 0 ? 0.0 : reducedCost(s);
  // Direction: down (-1) or up (+1); 0 picks the nearer finite bound.
  int way = forced != 0 ? forced : (d > zeroDual_ ? -1 : (d < -zeroDual_ ? 1 : 0));
  if (way == 0) way = (up == kInf || (lo != -kInf && xs - lo <= up - xs)) ? -1 : 1;
  const double target = way < 0 ? lo : up;
  const bool free = lo == -kInf && up == kInf;
  const double dir = way;
  const double dist = std::isfinite(target) ? std::fabs(target - xs) : kInf;
  LuVector col(m_);
  column(s, col);
  lu_.ftran(col, true);
  if (col.count < 0) col.rebuildIndex();
  // Harris pass 1: the largest step with the bounds relaxed by the
  // tolerance; pass 2: among the rows that block within it, the largest
  // pivot.
  double tmax = dist;
  for (int k = 0; k < col.count; ++k) {
    const int p = col.index[k];
    const double alpha = col.array[p];
    if (std::fabs(alpha) < kPivotTol) continue;
    const int v = basic_[p];
    const double rate = -dir * alpha;  // change of x_v per unit step
    const double bound = rate < 0 ? lp_.lower[v] : lp_.upper[v];
    if (!std::isfinite(bound)) continue;
    const double room = std::max(0.0, (bound - x_[v]) / rate) + tolX(bound) / std::fabs(rate);
    tmax = std::min(tmax, room);
  }
  int leave = -1;
  double best = 0.0, step = tmax;
  if (tmax < dist) {
    for (int k = 0; k < col.count; ++k) {
      const int p = col.index[k];
      const double alpha = col.array[p];
      if (std::fabs(alpha) < kPivotTol) continue;
      const int v = basic_[p];
      const double rate = -dir * alpha;
      const double bound = rate < 0 ? lp_.lower[v] : lp_.upper[v];
      if (!std::isfinite(bound)) continue;
      const double exact = std::max(0.0, (bound - x_[v]) / rate);
      if (exact <= tmax && std::fabs(alpha) > best) best = std::fabs(alpha), leave = p, step = exact;
    }
  }
  if (!std::isfinite(step)) {
    // Nothing blocks a move towards an infinite bound (the objective is flat
    // along it within the tolerances): a free column stays superbasic, a
    // column with one finite bound goes to it.
    return free || forced != 0 ? true : pushOne(s, stats, -way);
  }
  for (int k = 0; k < col.count; ++k) {
    const int p = col.index[k];
    x_[basic_[p]] -= dir * step * col.array[p];
  }
  if (leave < 0) {
    x_[s] = target;
    ++stats.boundMoves;
    return true;
  }
  const int out = basic_[leave];
  const double rate = dir * col.array[leave];
  x_[out] = rate > 0 ? lp_.lower[out] : lp_.upper[out];  // the bound it reached
  x_[s] = xs + dir * step;
  basic_[leave] = s;
  pos_[s] = leave;
  pos_[out] = -1;
  ++stats.pivots;
  yStale_ = true;
  const int rc = lu_.update(leave, s);
  if (rc == kLuOk) return true;
  return refactor();
}

void Pusher::push(CrossoverStats& stats) {
  std::vector<int> super;
  for (int v = 0; v < nt_; ++v) {
    if (pos_[v] >= 0) continue;
    const double lo = lp_.lower[v], up = lp_.upper[v];
    if (x_[v] != lo && x_[v] != up) super.push_back(v);
  }
  stats.superbasics = static_cast<int>(super.size());
  // Nearest to a bound first: those moves are short and rarely block.
  auto gap = [&](int v) { return std::min(std::fabs(x_[v] - lp_.lower[v]), std::fabs(lp_.upper[v] - x_[v])); };
  std::stable_sort(super.begin(), super.end(), [&](int a, int b) { return gap(a) < gap(b); });
  for (int s : super) {
    if (pos_[s] >= 0) continue;
    if (!pushOne(s, stats)) return;
  }
}

void Pusher::statuses(std::vector<int>& colStatus, std::vector<int>& rowStatus) const {
  std::vector<int> status(nt_);
  for (int v = 0; v < nt_; ++v) {
    const double lo = lp_.lower[v], up = lp_.upper[v], x = x_[v];
    if (pos_[v] >= 0) status[v] = kBasic;
    else if (lo == -kInf && up == kInf) status[v] = kFreeZero;
    else if (up == kInf || (lo != -kInf && x - lo <= up - x)) status[v] = kAtLower;
    else status[v] = kAtUpper;
  }
  colStatus.assign(status.begin(), status.begin() + n_);
  rowStatus.assign(status.begin() + n_, status.end());
}

// The m preferred basic variables (step 1 above).
std::vector<int> preferredBasis(const simplex::Lp& lp, const IpmResult& r, double zeroDual) {
  const int n = lp.n, m = lp.m, nt = n + m;
  std::vector<double> score(nt);
  for (int v = 0; v < nt; ++v) {
    const double lo = lp.lower[v], up = lp.upper[v], x = r.x[v];
    if (lo == up) {
      score[v] = -kInf;  // fixed: never basic by choice
      continue;
    }
    const double dist = std::min(x - lo, up - x);
    const double z = std::fabs(r.z[v]);
    if (dist == kInf) score[v] = kInf;  // free variables first
    else score[v] = dist <= 0.0 ? -std::numeric_limits<double>::max() : (z > 0.0 ? dist / z : kInf);
  }
  std::vector<int> order(nt);
  std::iota(order.begin(), order.end(), 0);
  // Interior variables first; then variables whose reduced cost is zero
  // within the tolerance (in the basis they cost no dual infeasibility),
  // slacks before columns; then the rest by increasing reduced cost.
  auto tier = [&](int v) {
    if (score[v] > kInteriorRatio) return 3;
    if (score[v] == -kInf) return -1;
    if (std::fabs(r.z[v]) <= zeroDual) return v >= n ? 2 : 1;
    return 0;
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const int ta = tier(a), tb = tier(b);
    if (ta != tb) return ta > tb;
    return ta == 3 ? score[a] > score[b] : std::fabs(r.z[a]) < std::fabs(r.z[b]);
  });
  order.resize(m);
  return order;
}

// A reduced cost within the absolute or the cost-relative dual tolerance of
// the basic solution counts as zero.
double zeroDualTol(const simplex::Lp& lp, const CrossoverOptions& o) {
  double costNorm = 0.0;
  for (double c : lp.cost) costNorm = std::max(costNorm, std::fabs(c));
  return std::max(o.tolS, o.relTolS * costNorm);
}

}  // namespace

bool crossoverBasis(const simplex::Lp& lp, const IpmResult& r, const CrossoverOptions& options,
                    std::vector<int>& colStatus, std::vector<int>& rowStatus, CrossoverStats& stats) {
  if (lp.m == 0) return false;
  const double zeroDual = zeroDualTol(lp, options);
  const std::vector<int> preferred = preferredBasis(lp, r, zeroDual);
  // The preferred basis with the given threshold, then with the stricter one
  // (which swaps more nearly dependent columns for slacks).
  CrossoverOptions strict = options;
  strict.luRelPivot = std::max(options.luRelPivot, kStrictRelPivot);
  for (const CrossoverOptions* o : std::initializer_list<const CrossoverOptions*>{&options, &strict}) {
    if (o == &strict && strict.luRelPivot == options.luRelPivot) break;
    stats = CrossoverStats{};
    Pusher pusher(lp, r, *o, zeroDual);
    if (!pusher.start(preferred)) continue;
    pusher.push(stats);
    if (pusher.worstViolation() <= kRetryViolation) {
      pusher.statuses(colStatus, rowStatus);
      return true;
    }
  }
  // The preferred basis was too ill-conditioned to keep the basic variables
  // within their bounds: push again from the slack basis, where every
  // column enters through a ratio test with the largest pivot.
  stats = CrossoverStats{};
  stats.slackStart = true;
  Pusher again(lp, r, options, zeroDual);
  std::vector<int> slacks(lp.m);
  std::iota(slacks.begin(), slacks.end(), lp.n);
  if (!again.start(slacks)) return false;
  again.push(stats);
  again.statuses(colStatus, rowStatus);
  return true;
}

}  // namespace torva::ipm
