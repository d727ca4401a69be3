#include "simplex/presolve_hook.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "simplex/presolve/lp_presolver.hpp"
#include "torva.h"

namespace torva {
namespace {

std::atomic<LpPresolverFactory> gFactory{nullptr};

}  // namespace

void setLpPresolverFactory(LpPresolverFactory factory) { gFactory.store(factory); }
LpPresolverFactory lpPresolverFactory() {
  const LpPresolverFactory f = gFactory.load();
  return f ? f : &makeLpPresolver;
}

double primalViolation(const ModelData& d, const simplex::SimplexResult& sol) {
  // A point of another model (a reduced one) cannot be judged here.
  if (sol.x.size() != static_cast<std::size_t>(d.n)) return HUGE_VAL;
  double viol = 0.0;
  std::vector<double> act(static_cast<std::size_t>(d.m), 0.0);
  for (int j = 0; j < d.n; ++j) {
    const double x = sol.x[j];
    if (d.lower[j] > -kInfinity) viol = std::max(viol, d.lower[j] - x);
    if (d.upper[j] < kInfinity) viol = std::max(viol, x - d.upper[j]);
    for (int p = d.colBeg[j], e = d.colBeg[j] + d.colLen[j]; p < e; ++p) act[d.rowIdx[p]] += d.value[p] * x;
  }
  for (int i = 0; i < d.m; ++i) {
    const double r = act[i] - d.rhs[i];
    switch (d.conType[i]) {
      case 'E': viol = std::max(viol, std::fabs(r)); break;
      case 'L': viol = std::max(viol, r); break;
      case 'G': viol = std::max(viol, -r); break;
      default: break;
    }
  }
  return viol;
}

double dualViolation(const ModelData& d, const simplex::SimplexResult& sol) {
  if (sol.d.size() != static_cast<std::size_t>(d.n) || sol.colStatus.size() != sol.d.size()) return HUGE_VAL;
  const double sense = d.objSense;  // duals in minimisation form: sense * value
  double viol = 0.0;
  for (int j = 0; j < d.n; ++j) {
    const double dj = sense * sol.d[j];
    switch (sol.colStatus[j]) {
      case QX_BASTYPE_ATLO: viol = std::max(viol, -dj); break;
      case QX_BASTYPE_ATUP: viol = std::max(viol, dj); break;
      default: viol = std::max(viol, std::fabs(dj)); break;  // basic, free or superbasic
    }
  }
  if (sol.y.size() != static_cast<std::size_t>(d.m)) return viol;
  for (int i = 0; i < d.m; ++i) {
    const double y = sense * sol.y[i];
    switch (d.conType[i]) {
      case 'L': viol = std::max(viol, y); break;   // a <= row has y <= 0
      case 'G': viol = std::max(viol, -y); break;  // a >= row has y >= 0
      case 'N': viol = std::max(viol, std::fabs(y)); break;
      default: break;
    }
  }
  return viol;
}

}  // namespace torva
