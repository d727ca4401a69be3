// Bound tightening from activity bounds, used for reasoning only. Each row
// r bounds its columns: a x_j lies within [rl - max(rest), ru - min(rest)]
// over the other columns' own bounds. These implied bounds are not written
// into the reduced problem (a column resting on one would only make the
// simplex degenerate there); they serve to recognise rows that the others
// make redundant. A row is judged only with bounds implied by other rows, and
// when it goes, the bounds it implied go with it, so no row is ever dropped
// on the strength of itself.
#include <algorithm>
#include <cmath>

#include "simplex/presolve/passes.hpp"

namespace torva::presolve {

namespace {

struct Implied {
  std::vector<double> lo, up;
  std::vector<int> loRow, upRow;  // the row each bound came from (-1: none)
};

// Keeps v as the lower (upper) bound of x_j implied by row r when it is
// tighter than what x_j has. The bound is loosened by kDecideTol against
// the rounding of the activity sums: a looser bound only makes fewer rows
// redundant.
void offer(Implied& im, const Problem& p, int j, int r, double v, bool lower) {
  if (lower) {
    v -= scaled(kDecideTol, v);
    if (v > std::max(p.lo[j], im.lo[j])) im.lo[j] = v, im.loRow[j] = r;
  } else {
    v += scaled(kDecideTol, v);
    if (v < std::min(p.up[j], im.up[j])) im.up[j] = v, im.upRow[j] = r;
  }
}

void impliedFromRow(Implied& im, const Problem& p, int r) {
  const Activity act = activity(p, r);
  for (const Entry& e : p.a.rows[r]) {
    const int j = e.idx;
    if (!p.colOn[j]) continue;
    const double a = e.val;
    const double atMin = a > 0 ? p.lo[j] : p.up[j], atMax = a > 0 ? p.up[j] : p.lo[j];
    // The rest's activity bounds: this column's share taken out.
    const bool minInf = std::fabs(atMin) >= kInf, maxInf = std::fabs(atMax) >= kInf;
    const bool restMinOk = act.minInf - (minInf ? 1 : 0) == 0, restMaxOk = act.maxInf - (maxInf ? 1 : 0) == 0;
    const double restMin = act.min - (minInf ? 0.0 : a * atMin), restMax = act.max - (maxInf ? 0.0 : a * atMax);
    if (restMinOk && finiteUp(p.ru[r])) offer(im, p, j, r, (p.ru[r] - restMin) / a, a < 0);  // a x_j <= ru - restMin
    if (restMaxOk && finiteLo(p.rl[r])) offer(im, p, j, r, (p.rl[r] - restMax) / a, a > 0);  // a x_j >= rl - restMax
  }
}

// True when row s holds whatever its columns do within their own bounds
// and those implied by other rows.
bool redundant(const Implied& im, const Problem& p, int s) {
  double min = 0.0, max = 0.0;
  for (const Entry& e : p.a.rows[s]) {
    const int j = e.idx;
    if (!p.colOn[j]) continue;
    const double lo = im.loRow[j] != s ? std::max(p.lo[j], im.lo[j]) : p.lo[j];
    const double up = im.upRow[j] != s ? std::min(p.up[j], im.up[j]) : p.up[j];
    const double atMin = e.val > 0 ? lo : up, atMax = e.val > 0 ? up : lo;
    if (finiteLo(p.rl[s])) {
      if (std::fabs(atMin) >= kInf) return false;
      min += e.val * atMin;
    }
    if (finiteUp(p.ru[s])) {
      if (std::fabs(atMax) >= kInf) return false;
      max += e.val * atMax;
    }
  }
  return (!finiteLo(p.rl[s]) || min >= p.rl[s] - scaled(kDecideTol, p.rl[s])) &&
         (!finiteUp(p.ru[s]) || max <= p.ru[s] + scaled(kDecideTol, p.ru[s]));
}

}  // namespace

Verdict impliedRedundantPass(Problem& p, std::vector<Step>& steps) {
  Implied im;
  im.lo.assign(static_cast<std::size_t>(p.n), -kInf);
  im.up.assign(static_cast<std::size_t>(p.n), kInf);
  im.loRow.assign(static_cast<std::size_t>(p.n), -1);
  im.upRow.assign(static_cast<std::size_t>(p.n), -1);
  for (int r = 0; r < p.m; ++r)
    if (p.rowOn[r] && p.rowCnt[r] >= 2) impliedFromRow(im, p, r);
  for (int s = 0; s < p.m; ++s) {
    if (!p.rowOn[s] || p.rowCnt[s] < 2 || (p.rl[s] == p.ru[s])) continue;
    if (!redundant(im, p, s)) continue;
    dropRow(p, steps, s);
    for (const Entry& e : p.a.rows[s]) {
      const int j = e.idx;
      if (im.loRow[j] == s) im.lo[j] = -kInf, im.loRow[j] = -1;
      if (im.upRow[j] == s) im.up[j] = kInf, im.upRow[j] = -1;
    }
  }
  return Verdict::Reduced;
}

}  // namespace torva::presolve
