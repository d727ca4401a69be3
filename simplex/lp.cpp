// Bounded form of the model's LP, its scaling and its row-wise copy.
#include "simplex/lp.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "base/model_data.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Geometric-mean scaling: at most this many row/column passes, stopping when
// a pass improves the spread max|a|/min|a| of the scaled matrix by less than
// this factor (Curtis and Reid 1972 reach most of their gain in a few passes).
constexpr int kMaxGeometricPasses = 6;
constexpr double kMinPassImprovement = 0.9;

// Rounds a positive scale factor to the nearest power of two, so that scaling
// and unscaling change only exponents and add no rounding error.
double powerOfTwo(double s) {
  if (!(s > 0.0) || !std::isfinite(s)) return 1.0;
  return std::ldexp(1.0, static_cast<int>(std::lround(std::log2(s))));
}

double spread(const Lp& lp) {
  double lo = kInf, hi = 0.0;
  for (int j = 0; j < lp.n; ++j)
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) {
      const double a = std::fabs(lp.colValue[p]) * lp.colScale[j] * lp.rowScale[lp.rowIndex[p]];
      lo = std::min(lo, a);
      hi = std::max(hi, a);
    }
  return hi > 0.0 ? hi / lo : 1.0;
}

void computeScaling(Lp& lp) {
  const int m = lp.m, n = lp.n;
  std::vector<double> rmin(m), rmax(m);
  double last = spread(lp);
  for (int pass = 0; pass < kMaxGeometricPasses; ++pass) {
    std::fill(rmin.begin(), rmin.end(), kInf);
    std::fill(rmax.begin(), rmax.end(), 0.0);
    for (int j = 0; j < n; ++j)
      for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) {
        const int i = lp.rowIndex[p];
        const double a = std::fabs(lp.colValue[p]) * lp.colScale[j];
        rmin[i] = std::min(rmin[i], a);
        rmax[i] = std::max(rmax[i], a);
      }
    for (int i = 0; i < m; ++i)
      if (rmax[i] > 0.0) lp.rowScale[i] = 1.0 / std::sqrt(rmin[i] * rmax[i]);
    for (int j = 0; j < n; ++j) {
      double lo = kInf, hi = 0.0;
      for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) {
        const double a = std::fabs(lp.colValue[p]) * lp.rowScale[lp.rowIndex[p]];
        lo = std::min(lo, a);
        hi = std::max(hi, a);
      }
      if (hi > 0.0) lp.colScale[j] = 1.0 / std::sqrt(lo * hi);
    }
    const double now = spread(lp);
    if (now > kMinPassImprovement * last) break;
    last = now;
  }
  // Equilibration: the largest entry of every column becomes (about) one.
  for (int j = 0; j < n; ++j) {
    double hi = 0.0;
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p)
      hi = std::max(hi, std::fabs(lp.colValue[p]) * lp.rowScale[lp.rowIndex[p]]);
    if (hi > 0.0) lp.colScale[j] = 1.0 / hi;
  }
  for (double& s : lp.rowScale) s = powerOfTwo(s);
  for (double& s : lp.colScale) s = powerOfTwo(s);
  for (int j = 0; j < n; ++j)
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p)
      lp.colValue[p] *= lp.colScale[j] * lp.rowScale[lp.rowIndex[p]];
}

void buildRowCopy(Lp& lp) {
  const int m = lp.m, n = lp.n;
  lp.rowStart.assign(m + 1, 0);
  for (int p = 0; p < lp.nnz(); ++p) ++lp.rowStart[lp.rowIndex[p] + 1];
  for (int i = 0; i < m; ++i) lp.rowStart[i + 1] += lp.rowStart[i];
  lp.colIndex.resize(lp.nnz());
  lp.rowValue.resize(lp.nnz());
  std::vector<int> next(lp.rowStart.begin(), lp.rowStart.end() - 1);
  for (int j = 0; j < n; ++j)
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) {
      const int q = next[lp.rowIndex[p]]++;
      lp.colIndex[q] = j;
      lp.rowValue[q] = lp.colValue[p];
    }
}

}  // namespace

void buildLp(const ModelData& data, bool scale, double infinity, Lp& lp) {
  lp = Lp{};
  lp.m = data.m;
  lp.n = data.n;
  lp.colStart.assign(data.n + 1, 0);
  for (int j = 0; j < data.n; ++j) {
    const int b = data.colBeg[j];
    for (int p = b; p < b + data.colLen[j]; ++p) {
      if (data.value[p] == 0.0) continue;
      lp.rowIndex.push_back(data.rowIdx[p]);
      lp.colValue.push_back(data.value[p]);
    }
    lp.colStart[j + 1] = static_cast<int>(lp.rowIndex.size());
  }
  lp.colScale.assign(data.n, 1.0);
  lp.rowScale.assign(data.m, 1.0);
  if (scale && lp.nnz() > 0) {
    computeScaling(lp);
    lp.scaled = true;
  }
  buildRowCopy(lp);
  refreshLp(data, infinity, lp);
}

void refreshLp(const ModelData& data, double infinity, Lp& lp) {
  const int m = lp.m, n = lp.n;
  lp.lower.resize(n + m);
  lp.upper.resize(n + m);
  lp.cost.assign(n + m, 0.0);
  lp.rhs.resize(m);
  lp.rowType.assign(data.conType.begin(), data.conType.end());
  lp.sense = data.objSense == -1 ? -1 : 1;
  lp.objConst = data.objConst;
  for (int j = 0; j < n; ++j) {
    const double c = lp.colScale[j];
    lp.lower[j] = data.lower[j] <= -infinity ? -kInf : data.lower[j] / c;
    lp.upper[j] = data.upper[j] >= infinity ? kInf : data.upper[j] / c;
    lp.cost[j] = lp.sense * data.cost[j] * c;
  }
  for (int i = 0; i < m; ++i) {
    const double r = lp.rowScale[i];
    lp.rhs[i] = data.rhs[i] * r;
    double lo = 0.0, up = 0.0;
    switch (data.conType[i]) {
      case 'L': lo = 0.0, up = kInf; break;
      case 'G': lo = -kInf, up = 0.0; break;
      case 'E': break;
      default: lo = -kInf, up = kInf; break;  // 'N': free row
    }
    lp.lower[n + i] = lo;
    lp.upper[n + i] = up;
  }
}

}  // namespace torva::simplex
