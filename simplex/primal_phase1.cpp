// Phase 1 of the primal simplex with a composite objective: while the basic
// values are infeasible the primal minimises
//     sum of infeasibilities + c'x / bigM,
// the infeasibilities penalised by the big-M of the run (the objective
// divided by it rather than the infeasibilities multiplied keeps the reduced
// costs on the scale of the infeasibility gradient, so the optimality
// tolerance keeps its meaning and rounding in that gradient is not
// amplified). Phase 1 then ends at a point that is already good for the true
// objective. A composite optimum with infeasibilities left is either a proof
// of infeasibility (the sum of infeasibilities alone cannot be reduced) or a
// sign that bigM is too small, which is then raised.
#include <algorithm>
#include <cmath>

#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

// A raised bigM is at least this, and grows tenfold per raise.
constexpr double kBigMFloor = 1000.0;
constexpr double kBigMGrowth = 10.0;
// The progress check raises bigM while infeasibilities persist with a
// (true) objective beyond this magnitude: the objective then outweighs the
// penalty.
constexpr double kBigMObjective = 1e9;

}  // namespace

double SimplexWork::Impl::phase1CostWeight() const {
  return bigM > 0.0 && bigM < opt.infinity ? 1.0 / bigM : 0.0;
}

void SimplexWork::Impl::announceBigM() {
  if (bigMAnnounced) return;
  bigMAnnounced = true;
  if (tracing()) traceLine(" set bigM:%e, file=%s(%d)", bigM, __FILE_NAME__, __LINE__);
}

void SimplexWork::Impl::raiseBigM(const char* file, int line) {
  const double raised = std::max(kBigMFloor, kBigMGrowth * bigM);
  if (tracing()) traceLine(" new bigM:%e (factor:%e), file=%s(%d)", raised, raised / bigM, file, line);
  bigM = raised;
}

double SimplexWork::Impl::phase1CostAt(int k, double w) const {
  const int j = basicVar[k];
  double g = 0.0;
  if (x[j] < lower[j] - primalTol)
    g = -1.0;
  else if (x[j] > upper[j] + primalTol)
    g = 1.0;
  return g + w * cost[j];
}

// Duals of the composite objective: y = B^-T (g_B + w c_B), where g is the
// gradient of the sum of infeasibilities (-1 below the lower bound, +1 above
// the upper bound, 0 within), and reduced costs d_j = w c_j - a_j'y. With
// w = 0 this is the pure phase 1, whose y is the Farkas candidate.
void SimplexWork::Impl::phase1Duals(double w, bool lazy) {
  LuVector& y = aux;
  y.clear();
  for (int k = 0; k < m; ++k) {
    const double v = phase1CostAt(k, w);
    if (v != 0.0) y.add(k, v);
  }
  lu->btran(y);
  if (y.count < 0) y.rebuildIndex();
  lazyReducedCosts = lazy;
  priceY.assign(y.array.begin(), y.array.begin() + m);
  priceCostWeight = w;
  for (int j = 0; j < (lazy ? 0 : n); ++j) {
    if (pos[j] >= 0) {
      d[j] = 0.0;
      continue;
    }
    double s = w * cost[j];
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) s -= lp.colValue[p] * y.array[lp.rowIndex[p]];
    d[j] = s;
  }
  for (int i = 0; i < (lazy ? 0 : m); ++i) d[n + i] = pos[n + i] >= 0 ? 0.0 : w * cost[n + i] - y.array[i];
  if (w == 0.0) farkas.assign(y.array.begin(), y.array.end());
  y.count = -1;
  y.clear();
}

// The basis and the basic values changed since the last computation of the
// phase-1 duals: basic position k had cost g[k] (and, when r >= 0, entering
// q took position r). With the old duals y, B'y equals g except at r, where
// it is a_q'y; so the new duals are y + B^-T (g_new - g'), a BTRAN of a
// vector nonzero only at r and where the infeasibility of a basic variable
// changed, mostly far sparser than the full phase-1 cost vector. Those
// positions are among the rows the steps since moved (the caller lists
// them), so only they are read instead of every basic row.
bool SimplexWork::Impl::updatePhase1Duals(std::vector<double>& g, const std::vector<int>& touched, int r, int q,
                                          int leaving, double w, bool lazy) {
  if (r >= 0) g[r] = w * cost[q] - reducedCostFromDuals(q);
  LuVector& dy = aux;
  dy.clear();
  for (const int k : touched) {
    const double v = phase1CostAt(k, w);
    if (v == g[k]) continue;  // also a repeat: g[k] was set on its first visit
    dy.add(k, v - g[k]);
    g[k] = v;
  }
  const bool unchanged = dy.count == 0 && r < 0 && !lazy;
  if (dy.count > 0) lu->btran(dy);
  if (dy.count < 0) dy.rebuildIndex();
  for (int t = 0; t < dy.count; ++t) priceY[dy.index[t]] += dy.array[dy.index[t]];
  if (lazy) {
    lazyReducedCosts = true;
  } else if (dy.count == 0) {
    // Only the pivot's own columns change.
  } else if (rowWiseCheaper(dy)) {
    // d_j -= a_j'dy over the rows dy touches.
    for (int t = 0; t < dy.count; ++t) {
      const int i = dy.index[t];
      const double v = dy.array[i];
      for (int p = lp.rowStart[i]; p < lp.rowStart[i + 1]; ++p) d[lp.colIndex[p]] -= v * lp.rowValue[p];
      d[n + i] -= v;
    }
    for (int k = 0; k < m; ++k) d[basicVar[k]] = 0.0;
  } else {
    lazyReducedCosts = true;
    refreshReducedCosts();
  }
  if (r >= 0) {
    d[q] = 0.0;
    if (!lazyReducedCosts) d[leaving] = reducedCostFromDuals(leaving);
  }
  dy.count = -1;
  dy.clear();
  return unchanged;
}

// At a composite optimum with infeasibilities left: the pure phase-1 duals
// decide. When a column could still reduce the infeasibility, the objective
// outweighed the penalty: bigM is raised and phase 1 goes on (true). Else
// the point is a proof of infeasibility and farkas holds its y (false).
bool SimplexWork::Impl::compositeOptimumNeedsBigM() {
  const double w = phase1CostWeight();
  phase1Duals(0.0);
  if (w == 0.0) return false;
  for (int j = 0; j < nt; ++j) {
    if (pricingViolation(j) > 0.0) {
      raiseBigM(__FILE_NAME__, __LINE__);
      return true;
    }
  }
  return false;
}

void SimplexWork::Impl::checkBigM(const ProgressRecord& rec) {
  if (methodChar != 'P' || rec.npinf == 0 || !(rec.pinf > primalTol)) return;
  if (std::fabs(rec.objective) > kBigMObjective && phase1CostWeight() > 0.0) raiseBigM(__FILE_NAME__, __LINE__);
}

}  // namespace torva::simplex
