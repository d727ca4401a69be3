// Test support: loading models and checking simplex results against the model
// alone (feasibility, reduced costs, signs, certificates).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "simplex/simplex.hpp"
#include "torva.h"

namespace torva::testsupport {

// Whether a Netlib sweep takes model name in this build. Instrumented builds
// run ten to twenty times slower: a few models of each kind (ranges, free
// rows, objective constants, degenerate, infeasible start) keep the sweeps
// within the time of a sanitizer run.
inline bool sweptInThisBuild(const std::string& name) {
#if defined(__SANITIZE_ADDRESS__)
  static const std::set<std::string> subset = {"afiro", "adlittle", "sc50b",    "blend",  "boeing2",
                                               "kb2",   "share2b",  "agg",      "stocfor1", "scagr7"};
  return subset.count(name) > 0;
#else
  (void)name;
  return true;
#endif
}

// Relative tolerances of the checks: primal residuals against 1 + |bound|,
// reduced-cost identity and signs against 1 + the largest |c_j| (the solver
// works to 1e-7 in the scaled space; unscaling may lose up to an order).
constexpr double kPrimalCheckTol = 1e-6;
constexpr double kDualCheckTol = 1e-6;

struct LoadedModel {
  QXenv env = nullptr;
  QXmodel model = nullptr;
  LoadedModel() = default;
  LoadedModel(const LoadedModel&) = delete;
  LoadedModel& operator=(const LoadedModel&) = delete;
  ~LoadedModel() {
    if (env) QXdeleteEnv(&env);
  }
  bool read(const std::string& path) {
    int err = 0;
    env = QXcreateEnv(&err);
    if (!env) return false;
    model = QXcreateModel(env, &err);
    if (!model) return false;
    // Free format first; names with blanks (forplan) need the fixed format.
    if (QXreadMPSFile(model, path.c_str(), 0) == 0) return true;
    QXdeleteModel(&model);
    model = QXcreateModel(env, &err);
    return model && QXreadMPSFile(model, path.c_str(), 1) == 0;
  }
  bool load(int m, int n, int sense, const std::vector<double>& c, const std::vector<double>& b,
            const std::string& types, const std::vector<int>& beg, const std::vector<int>& idx,
            const std::vector<double>& val, const std::vector<double>& lo, const std::vector<double>& up) {
    int err = 0;
    env = QXcreateEnv(&err);
    model = QXcreateModel(env, &err);
    std::vector<int> len(n);
    for (int j = 0; j < n; ++j) len[j] = beg[j + 1] - beg[j];
    return QXloadLPData(model, m, n, sense, 0.0, const_cast<double*>(c.data()), const_cast<double*>(b.data()),
                        const_cast<char*>(types.c_str()), static_cast<int>(val.size()),
                        const_cast<int*>(beg.data()), len.data(), const_cast<double*>(val.data()),
                        const_cast<int*>(idx.data()), const_cast<double*>(lo.data()),
                        const_cast<double*>(up.data())) == 0;
  }
  const ModelData& data() const { return model->data; }
};

inline std::string netlibDir() { return std::string(TORVA_SHARED_DATA) + "/netlib"; }

inline std::map<std::string, double> netlibObjectives() {
  std::map<std::string, double> out;
  std::ifstream in(netlibDir() + "/objectives.tsv");
  std::string name;
  double obj = 0.0, iters = 0.0;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    if (ls >> name >> obj >> iters) out[name] = obj;
  }
  return out;
}

inline void rowBounds(const ModelData& d, int i, double* lo, double* up) {
  const double inf = 1e300;
  *lo = -inf, *up = inf;
  switch (d.conType[i]) {
    case 'L': *up = d.rhs[i]; break;
    case 'G': *lo = d.rhs[i]; break;
    case 'E': *lo = *up = d.rhs[i]; break;
    default: break;
  }
}

inline double finiteOr(double v, double inf) { return std::fabs(v) >= 1e30 ? inf : v; }

// Checks an optimal result: primal feasibility, d = c - A'y, and the sign
// conditions of d and y (dual feasibility with complementary slackness).
inline void checkOptimal(const ModelData& md, const simplex::SimplexResult& r) {
  const int m = md.m, n = md.n;
  ASSERT_EQ(static_cast<int>(r.x.size()), n);
  ASSERT_EQ(static_cast<int>(r.y.size()), m);
  double cmax = 1.0;
  for (double c : md.cost) cmax = std::max(cmax, std::fabs(c));
  std::vector<double> act(m, 0.0), aty(n, 0.0), atyAbs(n, 0.0);
  for (int j = 0; j < n; ++j)
    for (int p = md.colBeg[j]; p < md.colBeg[j] + md.colLen[j]; ++p) {
      act[md.rowIdx[p]] += md.value[p] * r.x[j];
      aty[j] += md.value[p] * r.y[md.rowIdx[p]];
      atyAbs[j] += std::fabs(md.value[p] * r.y[md.rowIdx[p]]);
    }
  double worstP = 0.0, worstD = 0.0, worstId = 0.0;
  const double sg = md.objSense;
  for (int j = 0; j < n; ++j) {
    const double lo = finiteOr(md.lower[j], -1e300), up = finiteOr(md.upper[j], 1e300);
    worstP = std::max(worstP, (lo - r.x[j]) / (1.0 + std::fabs(lo)));
    worstP = std::max(worstP, (r.x[j] - up) / (1.0 + std::fabs(up)));
    worstId = std::max(worstId, std::fabs(r.d[j] - (md.cost[j] - aty[j])) / (cmax + atyAbs[j]));
    const double dj = sg * r.d[j];
    const double ptol = kPrimalCheckTol * (1.0 + std::fabs(r.x[j]));
    if (r.x[j] > lo + ptol) worstD = std::max(worstD, dj / cmax);
    if (r.x[j] < up - ptol) worstD = std::max(worstD, -dj / cmax);
  }
  double ymax = 1.0;
  for (double y : r.y) ymax = std::max(ymax, std::fabs(y));
  for (int i = 0; i < m; ++i) {
    double lo, up;
    rowBounds(md, i, &lo, &up);
    worstP = std::max(worstP, (lo - act[i]) / (1.0 + std::fabs(lo)));
    worstP = std::max(worstP, (act[i] - up) / (1.0 + std::fabs(up)));
    const double yi = sg * r.y[i];
    const double ptol = kPrimalCheckTol * (1.0 + std::fabs(act[i]));
    if (act[i] > lo + ptol) worstD = std::max(worstD, yi / cmax);
    if (act[i] < up - ptol) worstD = std::max(worstD, -yi / cmax);
  }
  EXPECT_LE(worstP, kPrimalCheckTol) << "primal infeasibility";
  EXPECT_LE(worstId, kDualCheckTol) << "d != c - A'y";
  EXPECT_LE(worstD, kDualCheckTol) << "dual infeasibility / complementary slackness";
}

// Farkas certificate: with z = A'y, the largest value of z'x over the column
// bounds lies below the smallest of y'r over the row bounds (or the reverse).
inline void checkFarkas(const ModelData& md, const std::vector<double>& y) {
  ASSERT_EQ(static_cast<int>(y.size()), md.m);
  std::vector<double> z(md.n, 0.0);
  double scale = 0.0;
  for (int j = 0; j < md.n; ++j)
    for (int p = md.colBeg[j]; p < md.colBeg[j] + md.colLen[j]; ++p) z[j] += md.value[p] * y[md.rowIdx[p]];
  for (double v : y) scale = std::max(scale, std::fabs(v));
  ASSERT_GT(scale, 0.0);
  // sup/inf of z'x over the box, and of y'r over the row ranges.
  double zmax = 0.0, zmin = 0.0, ymaxr = 0.0, yminr = 0.0;
  const double big = 1e300;
  const double tol = 1e-9 * scale;
  for (int j = 0; j < md.n; ++j) {
    const double lo = finiteOr(md.lower[j], -big), up = finiteOr(md.upper[j], big);
    const double v = std::fabs(z[j]) <= tol ? 0.0 : z[j];
    zmax += v > 0 ? v * up : (v < 0 ? v * lo : 0.0);
    zmin += v > 0 ? v * lo : (v < 0 ? v * up : 0.0);
  }
  for (int i = 0; i < md.m; ++i) {
    double lo, up;
    rowBounds(md, i, &lo, &up);
    const double v = y[i];
    ymaxr += v > 0 ? v * up : (v < 0 ? v * lo : 0.0);
    yminr += v > 0 ? v * lo : (v < 0 ? v * up : 0.0);
  }
  const double gap = 1e-7 * scale;
  EXPECT_TRUE(zmax < yminr - gap || zmin > ymaxr + gap)
      << "no contradiction: z in [" << zmin << "," << zmax << "], y'r in [" << yminr << "," << ymaxr << "]";
}

// Unbounded ray: improves the objective and stays in the recession cone of
// the column and row bounds.
inline void checkRay(const ModelData& md, const std::vector<double>& ray) {
  ASSERT_EQ(static_cast<int>(ray.size()), md.n);
  double cr = 0.0, rmax = 0.0;
  for (int j = 0; j < md.n; ++j) {
    cr += md.objSense * md.cost[j] * ray[j];
    rmax = std::max(rmax, std::fabs(ray[j]));
  }
  ASSERT_GT(rmax, 0.0);
  EXPECT_LT(cr, -1e-9 * rmax);
  const double tol = 1e-9 * rmax;
  std::vector<double> ar(md.m, 0.0);
  for (int j = 0; j < md.n; ++j) {
    if (md.lower[j] > -1e30) { EXPECT_GE(ray[j], -tol); }
    if (md.upper[j] < 1e30) { EXPECT_LE(ray[j], tol); }
    for (int p = md.colBeg[j]; p < md.colBeg[j] + md.colLen[j]; ++p) ar[md.rowIdx[p]] += md.value[p] * ray[j];
  }
  for (int i = 0; i < md.m; ++i) {
    const char t = md.conType[i];
    if (t == 'L' || t == 'E') { EXPECT_LE(ar[i], tol); }
    if (t == 'G' || t == 'E') { EXPECT_GE(ar[i], -tol); }
  }
}

}  // namespace torva::testsupport
