// The LP presolver: builds the working problem, runs the reductions, hands
// the reduced LP to the pipeline and maps its solution back.
#include "simplex/presolve/lp_presolver.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "simplex/presolve/reduce_state.hpp"

namespace torva {
namespace {

using presolve::kInf;

// A nonbasic column within this distance of a bound is taken to rest on it
// (postsolved values are copies of bounds or bound-to-bound shifts).
constexpr double kAtBoundTol = presolve::kDecideTol;

class Presolver final : public LpPresolver {
 public:
  Verdict presolve(const ModelData& original, int level, ModelData& reduced) override;
  void postsolve(const ModelData& original, simplex::SimplexResult& solution) override;

 private:
  void buildReduced(const ModelData& d, ModelData& r);
  void copyNamesAndTypes(const ModelData& d, ModelData& r) const;
  void fillStatuses(const ModelData& d, const presolve::FullSolution& s, simplex::SimplexResult& out) const;

  std::optional<presolve::Problem> p_;
  std::vector<presolve::Step> steps_;
  std::vector<int> rowOf_, colOf_;  // reduced index -> original index
};

LpPresolver::Verdict Presolver::presolve(const ModelData& d, int level, ModelData& reduced) {
  p_.emplace(d);
  p_->infeasTol = std::max(presolve::kInfeasTol, options_.feasTol);
  if (options_.keepIntegers) p_->keepIntegral(d);
  steps_.clear();
  switch (presolve::reduce(*p_, level, steps_)) {
    case presolve::Verdict::Infeasible: return Verdict::Infeasible;
    case presolve::Verdict::Unbounded: return Verdict::Unbounded;
    case presolve::Verdict::Reduced: break;
  }
  if (steps_.empty()) return Verdict::Unchanged;
  buildReduced(d, reduced);
  return Verdict::Reduced;
}

void Presolver::buildReduced(const ModelData& d, ModelData& r) {
  const presolve::Problem& p = *p_;
  std::vector<int> newRow(static_cast<std::size_t>(p.m), -1);
  rowOf_.clear();
  colOf_.clear();
  for (int i = 0; i < p.m; ++i)
    if (p.rowOn[i]) {
      newRow[i] = static_cast<int>(rowOf_.size());
      rowOf_.push_back(i);
    }
  for (int j = 0; j < p.n; ++j)
    if (p.colOn[j]) colOf_.push_back(j);
  r.m = static_cast<int>(rowOf_.size());
  r.n = static_cast<int>(colOf_.size());
  r.objSense = p.sense < 0 ? -1 : 1;
  r.objConst = p.sense * p.objConst;
  for (int i : rowOf_) {
    const double lo = p.rl[i], up = p.ru[i];
    // Reductions only shift a row's two sides together, so a row keeps its
    // type: E (equal sides), G (lower side only) or L (upper side only).
    if (lo == up) {
      r.conType.push_back('E');
      r.rhs.push_back(lo);
    } else if (lo > -kInf) {
      r.conType.push_back('G');
      r.rhs.push_back(lo);
    } else {
      r.conType.push_back('L');
      r.rhs.push_back(up);
    }
  }
  r.colBeg.assign(1, 0);
  for (int j : colOf_) {
    r.cost.push_back(p.sense * p.cost[j]);
    r.lower.push_back(p.lo[j]);
    r.upper.push_back(p.up[j]);
    for (const presolve::Entry& e : p.a.cols[j]) {
      if (!p.rowOn[e.idx]) continue;
      r.rowIdx.push_back(newRow[e.idx]);
      r.value.push_back(e.val);
    }
    r.colLen.push_back(static_cast<int>(r.rowIdx.size()) - r.colBeg.back());
    r.colBeg.push_back(static_cast<int>(r.rowIdx.size()));
  }
  r.nnz = static_cast<int>(r.rowIdx.size());
  copyNamesAndTypes(d, r);
}

void Presolver::copyNamesAndTypes(const ModelData& d, ModelData& r) const {
  if (!d.varType.empty())
    for (int j : colOf_) r.varType.push_back(d.varType[j]);
  r.title = d.title;
  r.objName = d.objName;
  r.rhsName = d.rhsName;
  r.rngName = d.rngName;
  r.bndName = d.bndName;
  const auto keep = [](const NamePool& from, const std::vector<int>& kept, NamePool& to) {
    if (!from.present()) return;
    to.presentWithEmpty(0);
    for (int k : kept) to.append(k < from.count() ? from.view(k) : std::string_view());
  };
  keep(d.conNames, rowOf_, r.conNames);
  keep(d.varNames, colOf_, r.varNames);
}

void Presolver::postsolve(const ModelData& d, simplex::SimplexResult& res) {
  const presolve::Problem& p = *p_;
  presolve::FullSolution s;
  s.x.assign(static_cast<std::size_t>(d.n), 0.0);
  s.y.assign(static_cast<std::size_t>(d.m), 0.0);
  s.colBasic.assign(static_cast<std::size_t>(d.n), 0);
  s.rowBasic.assign(static_cast<std::size_t>(d.m), 0);
  for (std::size_t k = 0; k < colOf_.size() && k < res.x.size(); ++k) {
    s.x[colOf_[k]] = res.x[k];
    s.colBasic[colOf_[k]] = res.colStatus[k] >= 0;
  }
  for (std::size_t k = 0; k < rowOf_.size() && k < res.y.size(); ++k) {
    s.y[rowOf_[k]] = p.sense * res.y[k];
    s.rowBasic[rowOf_[k]] = res.rowStatus[k] >= 0;
  }
  presolve::postsolve(p, steps_, s);

  // Model-sense duals, reduced costs d = c - A'y, activities and slacks.
  res.x = s.x;
  res.y.resize(static_cast<std::size_t>(d.m));
  for (int i = 0; i < d.m; ++i) res.y[i] = p.sense * s.y[i];
  res.d.assign(static_cast<std::size_t>(d.n), 0.0);
  res.rowActivity.assign(static_cast<std::size_t>(d.m), 0.0);
  double obj = d.objConst;
  for (int j = 0; j < d.n; ++j) {
    double dj = d.cost[j];
    for (int q = d.colBeg[j], e = q + d.colLen[j]; q < e; ++q) {
      dj -= d.value[q] * res.y[d.rowIdx[q]];
      res.rowActivity[d.rowIdx[q]] += d.value[q] * res.x[j];
    }
    res.d[j] = dj;
    obj += d.cost[j] * res.x[j];
  }
  res.objective = obj;
  res.slack.resize(static_cast<std::size_t>(d.m));
  for (int i = 0; i < d.m; ++i) res.slack[i] = d.rhs[i] - res.rowActivity[i];
  fillStatuses(d, s, res);
  res.primalInfeas = primalViolation(d, res);
  res.dualInfeas = dualViolation(d, res);
}

// Basis statuses: basic ones numbered in order, nonbasic columns by the
// bound they rest on (a fixed column by the sign of its reduced cost),
// nonbasic rows by their active side.
void Presolver::fillStatuses(const ModelData& d, const presolve::FullSolution& s,
                             simplex::SimplexResult& res) const {
  int basic = 0;
  res.colStatus.assign(static_cast<std::size_t>(d.n), 0);
  res.rowStatus.assign(static_cast<std::size_t>(d.m), 0);
  for (int j = 0; j < d.n; ++j) {
    if (s.colBasic[j]) {
      res.colStatus[j] = basic++;
      continue;
    }
    const double lo = d.lower[j], up = d.upper[j], x = res.x[j];
    const bool atLo = lo > -kInf && std::fabs(x - lo) <= presolve::scaled(kAtBoundTol, lo);
    const bool atUp = up < kInf && std::fabs(x - up) <= presolve::scaled(kAtBoundTol, up);
    const double dMin = d.objSense * res.d[j];
    if (atLo && atUp) res.colStatus[j] = dMin >= 0 ? kBasisAtLower : kBasisAtUpper;
    else if (atLo) res.colStatus[j] = kBasisAtLower;
    else if (atUp) res.colStatus[j] = kBasisAtUpper;
    else if (lo <= -kInf && up >= kInf && x == 0.0) res.colStatus[j] = kBasisFreeAtZero;
    else res.colStatus[j] = kBasisSuperbasic;
  }
  for (int i = 0; i < d.m; ++i) {
    if (s.rowBasic[i]) res.rowStatus[i] = basic++;
    else res.rowStatus[i] = d.conType[i] == 'G' ? kBasisAtUpper : kBasisAtLower;
  }
}

}  // namespace

std::unique_ptr<LpPresolver> makeLpPresolver() { return std::make_unique<Presolver>(); }

int mipValidLevel(int level) { return level & (presolve::kBitEmptySingletonRows | presolve::kBitEmptyFixedCols); }

}  // namespace torva
