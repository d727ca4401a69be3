#include "bnb/propagate.hpp"

#include <cmath>

namespace torva::bnb {

RowMatrix::RowMatrix(const ModelData& d) {
  rowStart_.assign(static_cast<std::size_t>(d.m) + 1, 0);
  for (int j = 0; j < d.n; ++j)
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k) ++rowStart_[static_cast<std::size_t>(d.rowIdx[k]) + 1];
  for (int i = 0; i < d.m; ++i) rowStart_[i + 1] += rowStart_[i];
  col_.resize(static_cast<std::size_t>(rowStart_[d.m]));
  value_.resize(col_.size());
  std::vector<int> next(rowStart_.begin(), rowStart_.end() - 1);
  for (int j = 0; j < d.n; ++j)
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k) {
      const int p = next[static_cast<std::size_t>(d.rowIdx[k])]++;
      col_[static_cast<std::size_t>(p)] = j;
      value_[static_cast<std::size_t>(p)] = d.value[k];
    }
}

namespace {

// Activity bound of a row: finite part and number of infinite contributions.
struct Activity {
  double finite = 0.0;
  int infinite = 0;
};

bool isInfinite(double v) { return std::fabs(v) >= kInfinity; }

// Tightens the bounds of the row's variables from a <= side (sum a x <= rhs)
// given the minimum activity. Returns false on infeasibility.
bool tightenLe(const RowMatrix& r, int i, double rhs, double sign, const std::vector<char>& isInt,
               const PropagateSettings& s, std::vector<double>& lo, std::vector<double>& up, bool& changed) {
  Activity act;
  for (int k = r.begin(i); k < r.end(i); ++k) {
    const double a = sign * r.value(k);
    const double b = a > 0 ? lo[static_cast<std::size_t>(r.col(k))] : up[static_cast<std::size_t>(r.col(k))];
    if (isInfinite(b)) ++act.infinite;
    else act.finite += a * b;
  }
  if (act.infinite == 0 && act.finite > rhs + s.feasTol * (1.0 + std::fabs(rhs))) return false;
  if (act.infinite > 1) return true;
  for (int k = r.begin(i); k < r.end(i); ++k) {
    const int j = r.col(k);
    const std::size_t uj = static_cast<std::size_t>(j);
    const bool integer = !isInt.empty() && isInt[uj];
    if (s.integersOnly && !integer) continue;
    const double a = sign * r.value(k);
    if (std::fabs(a) < 1e-12) continue;  // below any coefficient the model can hold meaningfully
    const double own = a > 0 ? lo[uj] : up[uj];
    double rest;
    if (isInfinite(own)) {
      if (act.infinite != 1) continue;
      rest = act.finite;
    } else {
      if (act.infinite != 0) continue;
      rest = act.finite - a * own;
    }
    double bound = (rhs - rest) / a;
    if (a > 0) {
      if (integer) bound = std::floor(bound + s.intTol);
      const double gain = up[uj] - bound;
      if (isInfinite(up[uj]) ? bound < kInfinity : gain > (integer ? 0.5 : s.minChange * (1.0 + std::fabs(bound)))) {
        up[uj] = bound;
        changed = true;
      }
    } else {
      if (integer) bound = std::ceil(bound - s.intTol);
      const double gain = bound - lo[uj];
      if (isInfinite(lo[uj]) ? bound > -kInfinity : gain > (integer ? 0.5 : s.minChange * (1.0 + std::fabs(bound)))) {
        lo[uj] = bound;
        changed = true;
      }
    }
    if (lo[uj] > up[uj] + s.feasTol * (1.0 + std::fabs(up[uj]))) return false;
  }
  return true;
}

}  // namespace

bool propagateBounds(const ModelData& d, const RowMatrix& rows, const std::vector<char>& isInt,
                     const PropagateSettings& s, std::vector<double>& lower, std::vector<double>& upper) {
  for (int round = 0; round < s.rounds; ++round) {
    bool changed = false;
    for (int i = 0; i < d.m; ++i) {
      // The linear part of a row with quadratic terms implies nothing alone.
      if (!d.qc.empty() && d.qc.find(i) >= 0) continue;
      const char t = d.conType[static_cast<std::size_t>(i)];
      const double b = d.rhs[static_cast<std::size_t>(i)];
      if ((t == 'L' || t == 'E') && !tightenLe(rows, i, b, 1.0, isInt, s, lower, upper, changed)) return false;
      if ((t == 'G' || t == 'E') && !tightenLe(rows, i, -b, -1.0, isInt, s, lower, upper, changed)) return false;
    }
    if (!changed) break;
  }
  return true;
}

}  // namespace torva::bnb
