// Incumbents: checking proposed points, installing a new incumbent (cutoff,
// record, callbacks, reduced-cost fixing), the rounding heuristic, and the
// setup statistics (constraint classes, objective step).
#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/callback.hpp"
#include "base/log.hpp"
#include "bnb/search.hpp"

namespace torva::bnb {
namespace {

// Tolerance of the pairwise greatest common divisor on doubles.
constexpr double kGcdTol = 1e-7;
// Coefficients are scaled below this magnitude before the divisor is taken.
constexpr double kGcdMaxMagnitude = 1e8;
constexpr double kGcdMaxScale = 100000;
// Objective coefficients at or below this magnitude count as zero.
constexpr double kZeroCost = 1e-12;

double gcdDouble(double a, double b) {
  a = std::fabs(a);
  b = std::fabs(b);
  while (b > kGcdTol) {
    const double r = std::fmod(a, b);
    a = b;
    b = r < kGcdTol || b - r < kGcdTol ? 0.0 : r;
  }
  return a;
}

}  // namespace

double Search::rowViolation(const std::vector<double>& p, bool* ok) const {
  std::vector<double> act(static_cast<std::size_t>(data_.m), 0.0);
  for (int j = 0; j < n_; ++j)
    for (int k = data_.colBeg[j]; k < data_.colBeg[j] + data_.colLen[j]; ++k)
      act[static_cast<std::size_t>(data_.rowIdx[k])] += data_.value[k] * p[static_cast<std::size_t>(j)];
  double violation = 0.0;
  bool within = true;
  for (int i = 0; i < data_.m; ++i) {
    const std::size_t u = static_cast<std::size_t>(i);
    // The feasibility tolerance, relative to the size of the right-hand side.
    const double t = feasTol_ * (1.0 + std::fabs(data_.rhs[u]));
    const char c = data_.conType[u];
    const double over = (c == 'L' || c == 'E') ? act[u] - data_.rhs[u] : 0.0;
    const double under = (c == 'G' || c == 'E') ? data_.rhs[u] - act[u] : 0.0;
    violation = std::max({violation, over, under});
    if (over > t || under > t) within = false;
  }
  if (ok) *ok = within;
  return violation;
}

double Search::linearObjective(const std::vector<double>& x) const {
  double value = data_.objConst;
  for (int j = 0; j < n_; ++j) value += data_.cost[static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)];
  return value * ctx_.sense;
}

bool Search::offerSolution(std::vector<double> x, int foundBy, bool* feasible, bool nodePoint) {
  if (feasible) *feasible = false;
  if (static_cast<int>(x.size()) != n_) return false;
  const double tol = feasTol_;
  for (int j = 0; j < n_; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (isInt_[u]) {
      if (!integral(x[u])) return false;
    }
    if (x[u] < data_.lower[u] - tol || x[u] > data_.upper[u] + tol) return false;
  }
  // Rows with quadratic terms and cones are checked by solving.
  if (nonlinear_) return completeFixed(x, foundBy, feasible);
  // The incumbent holds its integers exactly. When the rounding broke a row
  // that held before, the continuous part is solved again with the integers
  // fixed (for a node optimum whatever the rows were); any other point that
  // breaks a row is refused.
  const std::vector<double> given = x;
  bool moved = false;
  for (int j = 0; j < n_; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (!isInt_[u] || x[u] == std::round(x[u])) continue;
    x[u] = std::round(x[u]);
    moved = true;
  }
  bool rowsOk = false;
  double violation = rowViolation(x, &rowsOk);
  if (!rowsOk) {
    bool heldBefore = false;
    if (moved && !nodePoint) rowViolation(given, &heldBefore);
    if ((nodePoint || heldBefore) && completeFixed(x, foundBy, feasible)) return true;
    if (!nodePoint) return false;
    // A node optimum is the best point of its subtree, and the node is not
    // branched on: when its integers cannot be made exact, the point is
    // kept as the relaxation gave it (integral within the integer
    // tolerance), so that the subtree is not lost without a solution.
    x = given;
    violation = rowViolation(x, nullptr);
  }
  if (feasible) *feasible = true;
  const double value = linearObjective(x);
  if (value >= ctx_.cutoffValue) return false;
  newIncumbent(x, value, foundBy);
  ctx_.incumbentInfeas = violation;
  return true;
}

void Search::newIncumbent(const std::vector<double>& x, double value, int foundBy) {
  ctx_.incumbentValue = value;
  ctx_.incumbentX = x;
  ++ctx_.solutionsFound;
  ctx_.lastIncumbentTime = Clock::now();
  lastIncumbentLp_ = ctx_.lpCount;
  if (ctx_.mipStatus == kMipNothing || ctx_.mipStatus == kMipInfeasible) ctx_.mipStatus = kMipFeasible;
  double cutoff = value - std::max({objStep_, ctx_.opt.minAbsObjStep,
                                    std::min(ctx_.relOptTol, 1e-10) * (std::fabs(value) + 1.0)});
  if (ctx_.useCutoffObj > 0) cutoff = std::min(cutoff, ctx_.cutoffObj);
  ctx_.cutoffValue = std::min(ctx_.cutoffValue, cutoff);
  const std::vector<double> hostX(x.begin(), x.begin() + hostN_);
  if (host_.mipSolution) {
    host_.mipSolution->x = hostX;
    host_.mipSolution->objective = value * ctx_.sense;
  }
  if (callMipCallback(host_, value * ctx_.sense, hostX) != 0) ctx_.stopRequested = true;
  ctx_.bestBound = std::min(ctx_.bestBound, value);
  stopTest(ctx_);
  log_.event(RowKind::NewIncumbent, foundBy);
  reducedCostFixing();
  // Parts of a split tree take the slices that beat their own best.
  if (split() && !joining_) takeParts(x, -1);
}

bool Search::completeFixed(const std::vector<double>& x, int foundBy, bool* feasible) {
  std::vector<double> lo = rootLo_, up = rootUp_;
  for (int j = 0; j < n_; ++j)
    if (isInt_[static_cast<std::size_t>(j)]) lo[static_cast<std::size_t>(j)] = up[static_cast<std::size_t>(j)] = std::round(x[static_cast<std::size_t>(j)]);
  // The basis of the node in hand stays resident for its children.
  const int home = lastSolved_;
  const auto homeState = relax_->keepResident();
  RelaxResult r;
  const bool framed = beginFramed("FIXED INTEGERS");
  relax_->solve(lo, up, nullptr, ctx_.opt.topOpt, kInfinity, timeLeft(), -1.0, r);
  if (framed) endFramed("FIXED INTEGERS");
  countSolve(r);
  lastSolved_ = homeState && relax_->resume(*homeState) ? home : -1;
  if (r.status != RelaxStatus::Optimal) return false;
  if (feasible) *feasible = true;
  for (int j = 0; j < n_; ++j)
    if (isInt_[static_cast<std::size_t>(j)]) r.x[static_cast<std::size_t>(j)] = lo[static_cast<std::size_t>(j)];
  // The stored objective is the one of the stored point.
  const double value = nonlinear_ ? r.objective : linearObjective(r.x);
  if (value >= ctx_.cutoffValue) return false;
  newIncumbent(r.x, value, foundBy);
  if (!nonlinear_) ctx_.incumbentInfeas = rowViolation(r.x, nullptr);
  return true;
}

void Search::reducedCostFixing() {
  if (nonlinear_) return;  // no basis, no reduced-cost bound on these relaxations
  const double trust = ctx_.opt.redCostFixRoot;
  if (rootResult_.d.size() != static_cast<std::size_t>(n_) || ctx_.cutoffValue >= 1e30 || !(trust > 0)) return;
  // The trusted share of each reduced cost, as at the nodes.
  const double room = (ctx_.cutoffValue - rootObj_) / std::min(trust, 1.0);
  if (room < 0) return;
  for (int j = 0; j < n_; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (!isInt_[u]) continue;
    const double dj = rootResult_.d[u];
    const int st = rootResult_.colStatus[u];
    if (st == kBasisAtLower && dj > 0 && rootLo_[u] > -kInfinity) {
      const double limit = rootLo_[u] + std::floor(room / dj + ctx_.opt.intTol);
      if (limit < rootUp_[u]) rootUp_[u] = std::max(limit, rootLo_[u]);
    } else if (st == kBasisAtUpper && dj < 0 && rootUp_[u] < kInfinity) {
      const double limit = rootUp_[u] - std::floor(room / -dj + ctx_.opt.intTol);
      if (limit > rootLo_[u]) rootLo_[u] = std::min(limit, rootUp_[u]);
    }
  }
}

void Search::runHeuristics(const RelaxResult& r, const std::vector<double>& lo, const std::vector<double>& up,
                           int depth) {
  const auto t0 = Clock::now();
  // Rounding: each fractional integer goes the way that cannot violate a
  // row (no locks in that direction), else to the nearest integer.
  std::vector<int> downLocks(static_cast<std::size_t>(n_), 0), upLocks(static_cast<std::size_t>(n_), 0);
  for (int j = 0; j < n_; ++j)
    for (int k = data_.colBeg[j]; k < data_.colBeg[j] + data_.colLen[j]; ++k) {
      const char c = data_.conType[static_cast<std::size_t>(data_.rowIdx[k])];
      const double a = data_.value[k];
      const bool le = c == 'L' || c == 'E', ge = c == 'G' || c == 'E';
      if ((a > 0 && ge) || (a < 0 && le)) ++downLocks[static_cast<std::size_t>(j)];
      if ((a > 0 && le) || (a < 0 && ge)) ++upLocks[static_cast<std::size_t>(j)];
    }
  std::vector<double> x = r.x;
  for (int j = 0; j < n_; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (!isInt_[u] || integral(x[u])) continue;
    if (downLocks[u] == 0) x[u] = std::floor(x[u]);
    else if (upLocks[u] == 0) x[u] = std::ceil(x[u]);
    else x[u] = std::round(x[u]);
    x[u] = std::clamp(x[u], lo[u], up[u]);
  }
  offerSolution(std::move(x), kFoundByHeuristic);
  const HeuristicView view{data_, isInt_, r.x, lo, up, depth};
  for (const PrimalHeuristic& h : heuristics_)
    h(view, [this](std::vector<double> p) { return offerSolution(std::move(p), kFoundByHeuristic); });
  ctx_.heuTime += std::chrono::duration<double>(Clock::now() - t0).count();
}

void Search::computeObjStep() {
  objStep_ = 0.0;
  // Quadratic objective terms move the objective by any amount.
  if (!data_.qc.empty() && data_.qc.rows[0] < 0) return;
  std::vector<double> coefs;
  for (int j = 0; j < n_; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    const double c = data_.cost[u];
    if (std::fabs(c) <= kZeroCost) continue;
    if (rootLo_[u] == rootUp_[u]) continue;  // a fixed variable adds a constant
    if (!isInt_[u]) return;
    coefs.push_back(std::fabs(c));
  }
  if (coefs.empty()) return;
  double g;
  if (coefs.size() == 1) {
    g = coefs[0];
  } else {
    const double m = *std::max_element(coefs.begin(), coefs.end());
    double s = 1.0;
    if (m > kGcdMaxMagnitude) {
      for (s = 10.0; s <= kGcdMaxScale && m / s > kGcdMaxMagnitude; s *= 10.0) {
      }
      if (s > kGcdMaxScale) s = 1.0;
    }
    g = coefs[0] / s;
    for (std::size_t k = 1; k < coefs.size() && g > kGcdTol; ++k) g = gcdDouble(g, coefs[k] / s);
    g *= s;
  }
  const double t = std::max(ctx_.opt.intTol, 0.001);
  objStep_ = g < 100 ? std::max(0.0, g - t) : std::max(0.0, g - t * g);
}

void Search::classifyConstraints() {
  // Classes in the order of the statistics: GUB, GLB, PLANTLOC, DISAGG, SB,
  // IKNAP, KNAP, NLP, CONT (the record's order); MIXED is counted apart.
  enum { kGub, kGlb, kPlant, kDisagg, kSb, kIknap, kKnap, kNlp, kCont };
  std::fill(consClass_.begin(), consClass_.end(), 0);
  int mixed = 0, ginvar = 0, gknap = 0;
  for (int i = 0; i < rows_.rows(); ++i) {
    int bins = 0, ints = 0, conts = 0;
    bool unit = true;
    for (int k = rows_.begin(i); k < rows_.end(i); ++k) {
      const int j = rows_.col(k);
      const char t = data_.typeOf(j);
      const bool binary = t == 'B' || (t == 'I' && data_.lower[static_cast<std::size_t>(j)] >= 0 &&
                                       data_.upper[static_cast<std::size_t>(j)] <= 1);
      if (binary) ++bins;
      else if (t == 'I') ++ints;
      else ++conts;
      unit &= rows_.value(k) == 1.0;
    }
    const char c = data_.conType[static_cast<std::size_t>(i)];
    const double b = data_.rhs[static_cast<std::size_t>(i)];
    const int len = rows_.end(i) - rows_.begin(i);
    if (c != 'N' && !data_.qc.empty() && data_.qc.find(i) >= 0) {
      ++consClass_[kNlp];  // quadratic terms
      continue;
    }
    if (c == 'N' || len == 0) continue;
    if (conts == len) ++consClass_[kCont];
    else if (bins == len && unit && c == 'L' && b == 1.0) ++consClass_[kGub];
    else if (bins == len && unit && c == 'G' && b == 1.0) ++consClass_[kGlb];
    else if (bins == 1 && conts == 1 && len == 2 && c != 'E') ++consClass_[kSb];
    else if (bins == len) ++consClass_[kKnap];
    else if (ints + bins == len) ++consClass_[kIknap];
    else ++mixed;
  }
  (void)ginvar;
  (void)gknap;
  if (ctx_.printLevel >= 3 && hasLog(host_)) {
    logPrint(host_, "\nConstraints stat:");
    logPrint(host_, "\n Num constraints           :%u\n --------------------------:---", static_cast<unsigned>(data_.m));
    logPrint(host_, "\n GUB constraints           :%u", static_cast<unsigned>(consClass_[kGub]));
    logPrint(host_, "\n GLB constraints           :%u", static_cast<unsigned>(consClass_[kGlb]));
    logPrint(host_, "\n PLANTLOC constraints      :%u", static_cast<unsigned>(consClass_[kPlant]));
    logPrint(host_, "\n IKNAP constraints         :%u", static_cast<unsigned>(consClass_[kIknap]));
    logPrint(host_, "\n KNAP constraints          :%u", static_cast<unsigned>(consClass_[kKnap]));
    logPrint(host_, "\n DISAGG constraints        :%u", static_cast<unsigned>(consClass_[kDisagg]));
    logPrint(host_, "\n SB  constraints           :%u", static_cast<unsigned>(consClass_[kSb]));
    logPrint(host_, "\n GKNAP constraints         :%u", static_cast<unsigned>(gknap));
    logPrint(host_, "\n GINVAR constraints        :%u", static_cast<unsigned>(ginvar));
    logPrint(host_, "\n MIXED  constraints        :%u", static_cast<unsigned>(mixed));
    logPrint(host_, "\n CONT constraints          :%u", static_cast<unsigned>(consClass_[kCont]));
    logPrint(host_, "\n NLP constraints           :%u\n", static_cast<unsigned>(consClass_[kNlp]));
    if (ctx_.semiContVars > 0 || ctx_.bigMVars > 0) {
      logPrint(host_, "\nVariables stat:");
      if (ctx_.semiContVars > 0) logPrint(host_, "\n Semicont vars             :%u\n", ctx_.semiContVars);
      if (ctx_.bigMVars > 0) logPrint(host_, "\n bigM vars             :%u\n", ctx_.bigMVars);
    }
  }
}

}  // namespace torva::bnb
