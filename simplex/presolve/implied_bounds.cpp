// Bound tightening from activity bounds, used for reasoning only. Each row
// r bounds its columns: a x_j lies within [rl - max(rest), ru - min(rest)]
// over the other columns' own bounds. These implied bounds are not written
// into the reduced problem (a column resting on one would only make the
// simplex degenerate there); they serve to recognise rows that the others
// make redundant. A row is judged only with bounds implied by other rows, and
// when it goes, the bounds it implied go with it, so no row is ever dropped
// on the strength of itself.
//
// Bounds implied one row deep miss rows that only a chain of rows makes
// redundant (x + y <= u with x and y in [0, u], where other rows keep x + y
// below u through a third column). A second pass, run between the rounds of
// the others since it costs several sweeps of the matrix, propagates implied bounds
// over several rounds, each row using the bounds the others implied before.
// Such bounds carry no record of the rows behind them, so a row could be
// judged redundant on a chain through itself; the pass therefore first
// marks the candidates (rows redundant over bounds propagated through every
// row), propagates again through the other rows only, and drops the
// candidates still redundant then: their bounds come from rows that all stay.
#include <algorithm>
#include <cmath>

#include "simplex/presolve/passes.hpp"

namespace torva::presolve {

namespace {

using Implied = ImpliedBounds;

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

// The activity bounds of row r over the bounds lo, up.
Activity activityOver(const Problem& p, int r, const std::vector<double>& lo, const std::vector<double>& up) {
  Activity act;
  for (const Entry& e : p.a.rows[r]) {
    const int j = e.idx;
    if (!p.colOn[j]) continue;
    const double atLo = e.val > 0 ? lo[j] : up[j], atUp = e.val > 0 ? up[j] : lo[j];
    if (std::fabs(atLo) >= kInf) ++act.minInf; else act.min += e.val * atLo;
    if (std::fabs(atUp) >= kInf) ++act.maxInf; else act.max += e.val * atUp;
  }
  return act;
}

// Offers the bounds row r implies on its columns, given the columns' bounds
// lo, up (the problem's own, or bounds implied before).
void impliedFromRow(Implied& im, const Problem& p, int r, const std::vector<double>& lo,
                    const std::vector<double>& up) {
  const Activity act = activityOver(p, r, lo, up);
  for (const Entry& e : p.a.rows[r]) {
    const int j = e.idx;
    if (!p.colOn[j]) continue;
    const double a = e.val;
    const double atMin = a > 0 ? lo[j] : up[j], atMax = a > 0 ? up[j] : lo[j];
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

// Rounds of the chained propagation: each round reaches one row further.
// They stop early once no bound moves by more than kChainMove (relative):
// bounds that creep in ever smaller steps around a cycle of rows would
// otherwise use every round. Each round costs a sweep of the matrix; ten
// rounds instead of four find 8 more rows on Netlib (all in sierra: 33
// rows after four rounds, 41 after ten or thirty).
constexpr int kChainRounds = 4;
constexpr double kChainMove = 1e-3;

// Bounds implied through kChainRounds rounds of the rows not marked in skip;
// each round uses the bounds of the round before. A row none of whose
// columns' bounds moved in the round before offers what it offered then,
// which the bounds already hold, so a round reads only the rows of the
// columns that moved.
void chainedBounds(const Problem& p, const std::vector<char>& skip, Implied& im) {
  im.lo = p.lo, im.up = p.up;
  im.loRow.assign(static_cast<std::size_t>(p.n), -1);
  im.upRow.assign(static_cast<std::size_t>(p.n), -1);
  std::vector<double> lo, up;
  std::vector<char> reread(static_cast<std::size_t>(p.m), 1);
  for (int round = 0; round < kChainRounds; ++round) {
    lo = im.lo, up = im.up;
    for (int r = 0; r < p.m; ++r)
      if (reread[r] && p.rowOn[r] && p.rowCnt[r] >= 2 && !skip[r]) impliedFromRow(im, p, r, lo, up);
    bool moved = false;
    for (int j = 0; j < p.n && !moved; ++j)
      moved = im.lo[j] > lo[j] + scaled(kChainMove, lo[j]) || im.up[j] < up[j] - scaled(kChainMove, up[j]);
    if (!moved || round + 1 == kChainRounds) break;
    if (!p.rememberSeen) continue;
    std::fill(reread.begin(), reread.end(), 0);
    for (int j = 0; j < p.n; ++j)
      if (p.colOn[j] && (im.lo[j] != lo[j] || im.up[j] != up[j]))
        for (const Entry& e : p.a.cols[j]) reread[e.idx] = 1;
  }
}

// True when inequality row s holds over the bounds im.lo, im.up.
bool redundantOver(const Implied& im, const Problem& p, int s) {
  const Activity act = activityOver(p, s, im.lo, im.up);
  return (!finiteLo(p.rl[s]) || (act.minInf == 0 && act.min >= p.rl[s] - scaled(kDecideTol, p.rl[s]))) &&
         (!finiteUp(p.ru[s]) || (act.maxInf == 0 && act.max <= p.ru[s] + scaled(kDecideTol, p.ru[s])));
}

}  // namespace

Verdict chainedRedundantPass(Problem& p, std::vector<Step>& steps) {
  std::vector<char> skip(static_cast<std::size_t>(p.m), 0);
  Implied im;
  chainedBounds(p, skip, im);
  bool any = false;
  for (int s = 0; s < p.m; ++s)
    if (p.rowOn[s] && p.rowCnt[s] >= 2 && p.rl[s] != p.ru[s] && redundantOver(im, p, s)) skip[s] = 1, any = true;
  if (!any) return Verdict::Reduced;
  chainedBounds(p, skip, im);
  for (int s = 0; s < p.m; ++s)
    if (skip[s] && redundantOver(im, p, s)) dropRow(p, steps, s);
  return Verdict::Reduced;
}

void singleRowImplied(const Problem& p, ImpliedBounds& im) {
  im.lo.assign(static_cast<std::size_t>(p.n), -kInf);
  im.up.assign(static_cast<std::size_t>(p.n), kInf);
  im.loRow.assign(static_cast<std::size_t>(p.n), -1);
  im.upRow.assign(static_cast<std::size_t>(p.n), -1);
  for (int r = 0; r < p.m; ++r)
    if (p.rowOn[r] && p.rowCnt[r] >= 2) impliedFromRow(im, p, r, p.lo, p.up);
}

void LazyImplied::start(const Problem& p) {
  im.lo.assign(static_cast<std::size_t>(p.n), -kInf);
  im.up.assign(static_cast<std::size_t>(p.n), kInf);
  im.loRow.assign(static_cast<std::size_t>(p.n), -1);
  im.upRow.assign(static_cast<std::size_t>(p.n), -1);
  colDone.assign(static_cast<std::size_t>(p.n), 0);
  rowDone.assign(static_cast<std::size_t>(p.m), 0);
  rowAct.resize(static_cast<std::size_t>(p.m));
  full = false;
}

// Column k's offers in the order singleRowImplied makes them: its rows by
// increasing index, for each the upper side first.
void LazyImplied::column(const Problem& p, int k) {
  if (full || colDone[k]) return;
  colDone[k] = 1;
  rows.clear();
  for (const Entry& e : p.a.cols[k])
    if (p.rowOn[e.idx] && p.rowCnt[e.idx] >= 2) rows.push_back(e);
  std::sort(rows.begin(), rows.end(), [](const Entry& x, const Entry& y) { return x.idx < y.idx; });
  for (const Entry& e : rows) {
    const int r = e.idx;
    if (!rowDone[r]) rowAct[r] = activityOver(p, r, p.lo, p.up), rowDone[r] = 1;
    const Activity& act = rowAct[r];
    const double a = e.val;
    const double atMin = a > 0 ? p.lo[k] : p.up[k], atMax = a > 0 ? p.up[k] : p.lo[k];
    const bool minInf = std::fabs(atMin) >= kInf, maxInf = std::fabs(atMax) >= kInf;
    const bool restMinOk = act.minInf - (minInf ? 1 : 0) == 0, restMaxOk = act.maxInf - (maxInf ? 1 : 0) == 0;
    const double restMin = act.min - (minInf ? 0.0 : a * atMin), restMax = act.max - (maxInf ? 0.0 : a * atMax);
    if (restMinOk && finiteUp(p.ru[r])) offer(im, p, k, r, (p.ru[r] - restMin) / a, a < 0);
    if (restMaxOk && finiteLo(p.rl[r])) offer(im, p, k, r, (p.rl[r] - restMax) / a, a > 0);
  }
}

void LazyImplied::complete(const Problem& p) {
  if (full) return;
  singleRowImplied(p, im);
  full = true;
}

Verdict impliedRedundantPass(Problem& p, std::vector<Step>& steps) {
  Implied im;
  singleRowImplied(p, im);
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
