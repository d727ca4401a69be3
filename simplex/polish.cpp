// The objective carried as a row, and the polishing of an optimal basis.
//
// With strategy bit 1048576 (forced by 2097152, or asked for by bit 4 of the
// solver mode) the work area holds one more row and one more column: the
// row c'x - z = 0 with z a free column, so z always equals the objective in
// the model's sense. Polishing uses it: bounding z by its optimal value is
// the objective cut that keeps the point on the optimal face, a second
// objective is optimised on that face, and the model's objective is
// restored.
#include <cmath>
#include <limits>

#include "base/model_data.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Strategy and solver-mode bits of the objective row and the polishing
// objectives.
constexpr int kObjRowBit = 1048576;
constexpr int kObjRowForcedBit = 2097152;
constexpr int kSolverModeObjRowBit = 4;
constexpr int kPolishSlackBit = 32768;

}  // namespace

bool carriesObjectiveRow(const SimplexOptions& o) {
  return (o.oprFree & (kObjRowBit | kObjRowForcedBit)) != 0 || (o.solverMode & kSolverModeObjRowBit) != 0;
}

ModelData withObjectiveRow(const ModelData& d) {
  ModelData a;
  a.m = d.m + 1;
  a.n = d.n + 1;
  a.objSense = d.objSense;
  a.objConst = d.objConst;
  a.cost = d.cost;
  a.cost.push_back(0.0);
  a.rhs = d.rhs;
  a.rhs.push_back(0.0);
  a.conType = d.conType;
  a.conType.push_back('E');
  a.lower = d.lower;
  a.lower.push_back(-kInf);
  a.upper = d.upper;
  a.upper.push_back(kInf);
  a.colBeg.assign(1, 0);
  a.colLen.clear();
  for (int j = 0; j < a.n; ++j) {
    const int before = static_cast<int>(a.rowIdx.size());
    if (j < d.n) {
      for (int p = d.colBeg[j]; p < d.colBeg[j] + d.colLen[j]; ++p) {
        a.rowIdx.push_back(d.rowIdx[p]);
        a.value.push_back(d.value[p]);
      }
    }
    const double c = j < d.n ? d.cost[j] : -1.0;
    if (c != 0.0) {
      a.rowIdx.push_back(d.m);
      a.value.push_back(c);
    }
    a.colLen.push_back(static_cast<int>(a.rowIdx.size()) - before);
    a.colBeg.push_back(static_cast<int>(a.rowIdx.size()));
  }
  a.nnz = static_cast<int>(a.rowIdx.size());
  return a;
}

// Polishing objective on the optimal face: by default every structural
// column is drawn towards its finite bound (lower first), which leaves as
// many columns as the face allows at a bound; with bit 32768 the slacks of
// the inequality rows are drawn towards their bounds instead (as many rows
// as the face allows become active).
void SimplexWork::Impl::setPolishingCost(std::vector<double>& c) const {
  c.assign(nt, 0.0);
  const int nModel = n - objRows;
  const bool slacks = (opt.oprFree & kPolishSlackBit) != 0;
  const int from = slacks ? n : 0, to = slacks ? nt : nModel;
  for (int j = from; j < to; ++j) {
    if (j >= n && j - n >= m - objRows) continue;
    if (lp.lower[j] > -kInf) c[j] = 1.0;
    else if (lp.upper[j] < kInf) c[j] = -1.0;
  }
}

int SimplexWork::Impl::polish(const ModelData& data, int solveNumber) {
  const int z = n - 1;
  const double zScale = lp.colScale[z];
  double rhs1 = 0.0;
  for (int i = 0; i < data.m; ++i) rhs1 += std::fabs(data.rhs[i]);
  const double objval = x[z] * zScale + lp.objConst;
  const bool say = logging(1) || tracing();
  if (say)
    log("\nStarting to polish optimal basis (solve=%-5d, objval=%16.7f, objc=%12g) |rhs1|=%16.7f", solveNumber, objval,
        lp.objConst, rhs1);
  // The cut: z no worse than its optimum.
  const double lo = lp.lower[z], up = lp.upper[z];
  if (lp.sense > 0) lp.upper[z] = x[z];
  else lp.lower[z] = x[z];
  lower[z] = lp.lower[z];
  upper[z] = lp.upper[z];
  std::vector<double> modelCost = lp.cost;
  setPolishingCost(lp.cost);
  const int pricing = opt.primalPricing;
  opt.primalPricing = 0;
  int res = runPrimal();
  Method last = Method::Primal;
  if (res == kRecover) res = switchLoop(res, last, false);
  opt.primalPricing = pricing;
  if (say) log("\nReoptimizing w.r.t original model function");
  lp.lower[z] = lo;
  lp.upper[z] = up;
  lower[z] = lo;
  upper[z] = up;
  lp.cost = modelCost;
  cost = lp.cost;
  // A z left nonbasic on the cut keeps its value (a free nonbasic column
  // between no bounds), so the point does not move.
  if (pos[z] < 0) {
    const double zValue = x[z];
    placeAt(z, kAtZero);
    x[z] = zValue;
  }
  if (say) log("\nRestored original model function");
  if (error == 0) {
    res = runPrimal();
    if (res == kRecover) res = switchLoop(res, last, false);
  }
  if (res == kOptimal && error == 0) {
    if (say)
      log("\nFinished polishing optimal basis (solve=%-5d, objval=%16.7f, objc=%12g) |rhs1|=%16.7f", solveNumber,
          x[z] * zScale + lp.objConst, lp.objConst, rhs1);
  } else if (say) {
    log("\nWarning: Lost optimality while polishing (stat:%d).", res);
    log("\nWarning: Intermediate bases could still be useful");
  }
  return res;
}

}  // namespace torva::simplex
