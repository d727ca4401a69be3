// Dominated and weakly dominated columns from bounds on the row duals
// (Andersen and Andersen, 1995, "Presolving in linear programming", sections
// on dominated and weakly dominated columns; Gondzio, 1997).
//
// In minimisation form a row with only a lower side has y_i >= 0, one with
// only an upper side y_i <= 0, a free row y_i = 0. A column without upper
// bound needs d_j = c_j - a_j'y >= 0 at every dual feasible point, one
// without lower bound d_j <= 0: each is a row of a dual system whose
// activity bounds give bounds on the y_i, propagated as activity bounds are
// for primal rows. Over the resulting box column j has a reduced cost in
// [dmin, dmax]:
// - dmin > 0 (dominated): x_j is at its lower bound in every optimum;
// - dmin >= 0 (weakly dominated): some optimum has x_j at its lower bound,
//   as long as the box holds for the problem without x_j. The optimal duals
//   y' of the problem with x_j fixed lie in that box, so d_j(y') >= 0, and
//   x_j nonbasic at its lower bound with y' is optimal for the whole problem.
//   The proviso matters: a column without upper bound contributes d_j >= 0
//   itself, and a box derived from that constraint proves nothing about d_j.
// (dmax <= 0 likewise for the upper bound.)
//
// The columns of a pass are found over the box of every column, but they go
// together, and the duals y' of the reduced problem need not meet the dual
// rows of the columns that went: a column fixed because another fixed
// column's dual row (or its own, through the rows it tightened) shaped the
// box could end with a reduced cost of the wrong sign. So every column that
// goes, dominated or weakly dominated, keeps its sign over a box built
// without its own dual row and those of the columns fixed before it (see
// dualBoundPass). That box holds y', and postsolve needs no dual
// correction: the column rests on its bound, nonbasic, and its reduced cost
// c_j - a_j'y' has the sign that bound asks for (up to the tolerances
// below).
#include <algorithm>
#include <cmath>

#include "simplex/presolve/passes.hpp"

namespace torva::presolve {

namespace {

// Rounds of dual bound propagation per box, and the magnitude beyond which
// a derived dual bound is not kept (it would only fix columns through sums
// that rounding dominates).
constexpr int kDualRounds = 6;
// Rounds of the box that judges the candidates again: fewer rounds only
// give a looser box (fewer columns fixed), and it is built in every pass
// that has candidates with dual rows of their own.
constexpr int kConfirmDualRounds = 2;
// Boxes built at most per pass to order the candidates (see dualBoundPass);
// the candidates no stage confirmed wait for a later pass.
constexpr int kConfirmStages = 6;
constexpr double kDualBoundLimit = 1e10;

struct DualBox {
  std::vector<double> lo, up;
  // When each row's bounds last moved, on a clock that counts the moves.
  std::vector<long> moved;
  std::vector<long> looked;  // the clock when each column was last looked at (-1: never)
  long clock = 0;
};

// Column j with no upper bound needs d_j >= 0, i.e. sum_i a_ij y_i <= c_j
// (sign = 1); with no lower bound the mirrored row (sign = -1). Each y_i
// gets the bound this row leaves it given the others' bounds (as activity
// bounds do for primal rows), widened by kDecideTol against rounding.
// Returns true when a bound moved.
bool tightenDual(const Problem& p, int j, double sign, DualBox& b) {
  double minSum = 0.0, sumSize = 0.0;
  const Entry* infinite = nullptr;  // the one term with an infinite bound
  const auto termMin = [&](const Entry& e) {
    const double a = sign * e.val;
    return a > 0 ? a * b.lo[e.idx] : a * b.up[e.idx];
  };
  for (const Entry& e : p.a.cols[j]) {
    if (!p.rowOn[e.idx]) continue;
    const double yb = sign * e.val > 0 ? b.lo[e.idx] : b.up[e.idx];
    if (std::fabs(yb) >= kInf) {
      if (infinite) return false;  // two infinite terms: no bound follows
      infinite = &e;
    } else {
      minSum += termMin(e);
      sumSize += std::fabs(termMin(e));
    }
  }
  bool moved = false;
  const double c = sign * p.cost[j];
  // The bound on the dual of e's row from the rest of the dual row (rest:
  // the rest's smallest value).
  const auto offer = [&](const Entry& e, double rest) {
    const double a = sign * e.val;
    double bound = (c - rest) / a;  // a y_i <= c - rest
    if (std::fabs(bound) >= kDualBoundLimit) return;
    // Widened by kDecideTol relative to the terms it came from (not to 1:
    // the duals of rows with huge entries are tiny).
    bound += (a > 0 ? 1 : -1) * kDecideTol * (std::fabs(c) + sumSize) / std::fabs(a);
    if (a > 0 && bound < b.up[e.idx]) b.up[e.idx] = bound, moved = true, b.moved[e.idx] = ++b.clock;
    else if (a < 0 && bound > b.lo[e.idx]) b.lo[e.idx] = bound, moved = true, b.moved[e.idx] = ++b.clock;
  };
  // With one infinite term only the dual of that term's row gets a bound.
  if (infinite) offer(*infinite, minSum);
  else
    for (const Entry& e : p.a.cols[j])
      if (p.rowOn[e.idx]) offer(e, minSum - termMin(e));
  return moved;
}

// Tightens box b over at most rounds rounds of the dual rows of the live
// columns not marked in skip. b holds the rows' signs (initBox) or a box
// from fewer dual rows, which stays valid with more of them. False when it
// is empty (no dual solution: the verdict is left to the simplex).
bool propagate(const Problem& p, const std::vector<char>& skip, int rounds, DualBox& b) {
  // The rounds end early once a round moves no bound (the box is then final).
  // A column none of whose rows moved since it was last looked at would
  // give the same bounds again and is passed over.
  bool moved = true;
  for (int round = 0; round < rounds && moved; ++round) {
    moved = false;
    for (int j = 0; j < p.n; ++j) {
      if (!p.colOn[j] || skip[j] || (finiteLo(p.lo[j]) && finiteUp(p.up[j]))) continue;
      if (b.looked[j] >= 0) {
        bool changed = false;
        for (const Entry& e : p.a.cols[j])
          if (b.moved[e.idx] > b.looked[j]) {
            changed = true;
            break;
          }
        if (!changed) continue;
      }
      b.looked[j] = b.clock;
      if (!finiteUp(p.up[j])) moved |= tightenDual(p, j, 1.0, b);   // sum a y <= c_j
      if (!finiteLo(p.lo[j])) moved |= tightenDual(p, j, -1.0, b);  // -sum a y <= -c_j
    }
  }
  for (int i = 0; i < p.m; ++i)
    if (p.rowOn[i] && b.lo[i] > b.up[i]) return false;
  return true;
}

// The box from the rows' signs alone.
void initBox(const Problem& p, DualBox& b) {
  b.lo.assign(static_cast<std::size_t>(p.m), -kInf);
  b.up.assign(static_cast<std::size_t>(p.m), kInf);
  for (int i = 0; i < p.m; ++i) {
    if (!p.rowOn[i]) continue;
    if (!finiteLo(p.rl[i])) b.up[i] = 0.0;
    if (!finiteUp(p.ru[i])) b.lo[i] = 0.0;
  }
  b.moved.assign(static_cast<std::size_t>(p.m), 0);
  b.looked.assign(static_cast<std::size_t>(p.n), -1);
  b.clock = 0;
}

// The box from the rows' signs and the dual rows of the live columns not
// marked in skip.
bool dualBox(const Problem& p, const std::vector<char>& skip, int rounds, DualBox& b) {
  initBox(p, b);
  return propagate(p, skip, rounds, b);
}

// Where column j's reduced cost can lie over the box: -2 (dominated, above
// zero) or -1 (weakly dominated, at least zero) when its lower bound is
// finite, 2 or 1 likewise towards a finite upper bound, else 0. "Zero"
// allows kDecideTol relative to the terms of the sum: a postsolved reduced
// cost may have the wrong sign by that much, two orders below the default
// optimality tolerance of 1e-7.
int dominatedSide(const Problem& p, int j, const DualBox& b) {
  double dmin = p.cost[j], dmax = p.cost[j], size = std::fabs(p.cost[j]);
  int minInf = 0, maxInf = 0;
  for (const Entry& e : p.a.cols[j]) {
    if (!p.rowOn[e.idx]) continue;
    // -a y over the box: its smallest and largest value.
    const double lowY = e.val > 0 ? b.up[e.idx] : b.lo[e.idx], highY = e.val > 0 ? b.lo[e.idx] : b.up[e.idx];
    if (std::fabs(lowY) >= kInf) ++minInf; else dmin -= e.val * lowY, size += std::fabs(e.val * lowY);
    if (std::fabs(highY) >= kInf) ++maxInf; else dmax -= e.val * highY, size += std::fabs(e.val * highY);
  }
  const double tol = kDecideTol * (1.0 + size);
  if (minInf == 0 && dmin >= -tol && finiteLo(p.lo[j])) return dmin > tol ? -2 : -1;
  if (maxInf == 0 && dmax <= tol && finiteUp(p.up[j])) return dmax < -tol ? 2 : 1;
  return 0;
}

bool hasDualRow(const Problem& p, int j) { return !finiteLo(p.lo[j]) || !finiteUp(p.up[j]); }

// Postsolve restores the columns of a pass in the reverse order of their
// fixing, with the duals y' of the reduced problem unchanged. y' meets the
// dual rows of the columns that stay, and each restored column's reduced
// cost has the sign of its bound, which is its own dual row: so when a
// column is restored, y' meets the dual rows of the columns that stay and
// of those restored before it (fixed after it). A column may thus go when
// it keeps its sign over a box built from those rows only. Stages give
// such an order: box B0 leaves out the dual rows of every candidate, and
// the candidates keeping their sign over it (C0) are fixed last; box B1
// adds the dual rows of C0, and the candidates that now keep their sign
// (C1) are fixed before C0; and so on while a stage confirms a column with
// a dual row (only those change the next box). A column fixed on the
// strength of its own dual row, through the rows it tightened, is never
// confirmed; without such care its postsolved reduced cost could have the
// wrong sign.
//
// Marks in stage the candidates confirmed, each with its stage; returns the
// number of stages (0 when a box came out empty). skip must be all zero on
// entry and is left so.
int confirm(const Problem& p, const std::vector<int>& cands, const std::vector<signed char>& side,
            std::vector<char>& skip, DualBox& box, std::vector<int>& stage) {
  const auto keepsSign = [&](int j) {
    const int now = dominatedSide(p, j, box);
    return now != 0 && (now < 0) == (side[j] < 0);
  };
  bool ownRows = false;
  for (int j : cands) ownRows |= (skip[j] = hasDualRow(p, j)) != 0;
  if (!ownRows) {
    for (int j : cands) stage[j] = 0;  // the box of the candidates is B0
    return 1;
  }
  int stages = 0;
  // Each stage's box starts from the one before: it only adds dual rows.
  initBox(p, box);
  for (bool grew = true; grew && stages < kConfirmStages; ++stages) {
    if (!propagate(p, skip, kConfirmDualRounds, box)) {
      stages = 0;
      for (int j : cands) stage[j] = -1;
      break;
    }
    grew = false;
    for (int j : cands) {
      if (stage[j] >= 0 || !keepsSign(j)) continue;
      stage[j] = stages;
      if (skip[j]) skip[j] = 0, grew = true;
    }
  }
  for (int j : cands) skip[j] = 0;
  return stages;
}

}  // namespace

Verdict dualBoundPass(Problem& p, std::vector<Step>& steps) {
  std::vector<char> skip(static_cast<std::size_t>(p.n), 0);
  DualBox box;
  if (!dualBox(p, skip, kDualRounds, box)) return Verdict::Reduced;
  std::vector<int> strict, weak;
  std::vector<signed char> side(static_cast<std::size_t>(p.n), 0);
  for (int j = 0; j < p.n; ++j) {
    if (!p.colOn[j] || p.colCnt[j] == 0) continue;
    side[j] = static_cast<signed char>(dominatedSide(p, j, box));
    if (side[j] == -2 || side[j] == 2) strict.push_back(j);
    else if (side[j] != 0) weak.push_back(j);
  }
  // Strictly dominated columns are judged first, with the dual rows of the
  // weakly dominated ones in the boxes: most of those are weakly dominated
  // only through their own dual row and stay, and the box needs them. The
  // weakly dominated columns are judged (with all candidates out of the
  // boxes) only in a pass that fixes no strictly dominated column.
  std::vector<int> stage(static_cast<std::size_t>(p.n), -1);
  int stages = confirm(p, strict, side, skip, box, stage);
  int fixed = 0;
  for (int j : strict) fixed += stage[j] >= 0;
  std::vector<int> cands(strict);
  if (fixed == 0) {
    cands.insert(cands.end(), weak.begin(), weak.end());
    stages = confirm(p, cands, side, skip, box, stage);
  }
  for (int s = stages - 1; s >= 0; --s)
    for (int j : cands)
      if (stage[j] == s) fixColumn(p, steps, j, side[j] < 0 ? p.lo[j] : p.up[j]);
  return Verdict::Reduced;
}

}  // namespace torva::presolve
