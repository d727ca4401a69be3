// Helpers shared by the reduction passes, and the passes that live outside
// reductions.cpp.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "simplex/presolve/reduce_state.hpp"

namespace torva::presolve {

inline bool finiteLo(double v) { return v > -kInf; }
inline bool finiteUp(double v) { return v < kInf; }

// The first entry of a list whose row or column is live.
const Entry& firstLive(const std::vector<Entry>& list, const std::vector<char>& on);

// A hash of the live pattern of a row or column and its entries divided by
// the live entry of smallest index (rounded to 8 digits, so that lists equal
// up to rounding and to a common factor share a key). It does not depend on
// the order of the list, so nothing needs sorting before the hash decides.
std::uint64_t scaledPatternKey(const std::vector<Entry>& list, const std::vector<char>& on);
// scaledPatternKey kept in key, recomputed only when the list's change stamp
// is newer than keyAt (the clock when key was computed).
std::uint64_t cachedPatternKey(const Problem& p, const std::vector<Entry>& list, const std::vector<char>& on,
                               long long stamp, std::uint64_t& key, long long& keyAt);
// The indices of the (key, index) pairs grouped by key, groups of two or
// more only, each in increasing index order.
std::vector<std::vector<int>> sameKeyGroups(std::vector<std::pair<std::uint64_t, int>>& keyed);

// Bounds of a row's activity over its live columns, with the number of
// infinite contributions on each side; skip leaves one column out.
struct Activity {
  double min = 0.0, max = 0.0;
  int minInf = 0, maxInf = 0;
};
Activity activity(const Problem& p, int i, int skip = -1);

// True when row i, held at its bounds, keeps x_j (entry a of the row)
// inside the column's own bounds whatever the row's other columns do
// within theirs: the bounds of x_j are implied by the row.
bool rowImpliesBounds(const Problem& p, int i, int j, double a);

void fixColumn(Problem& p, std::vector<Step>& steps, int j, double v);
void dropRow(Problem& p, std::vector<Step>& steps, int i);

// Bounds on the columns implied by rows, each with the row it came from
// (-1: none tighter than the column's own).
struct ImpliedBounds {
  std::vector<double> lo, up;
  std::vector<int> loRow, upRow;
};
// The tightest bound each single row implies on its columns over their own
// bounds (kept only where tighter than those).
void singleRowImplied(const Problem& p, ImpliedBounds& im);
// The same bounds, computed column by column as they are asked for (start,
// then column(k) before reading column k's). They hold only while the
// problem is as it was at start: complete() fills in every column, and must
// run before the problem changes.
struct LazyImplied {
  ImpliedBounds im;
  void start(const Problem& p);
  void column(const Problem& p, int k);
  void complete(const Problem& p);

 private:
  bool full = false;
  std::vector<char> colDone, rowDone;
  std::vector<Activity> rowAct;
  std::vector<Entry> rows;
};

// Inequality rows made redundant by bounds that other rows imply (bit
// kBitActivityRows); the implied bounds themselves are not kept.
Verdict impliedRedundantPass(Problem& p, std::vector<Step>& steps);
// Inequality rows made redundant by bounds implied through chains of rows
// (bit kBitActivityRows).
Verdict chainedRedundantPass(Problem& p, std::vector<Step>& steps);
// Dominated and weakly dominated columns fixed from bounds on the row duals
// (bit kBitDominatedCols).
Verdict dualBoundPass(Problem& p, std::vector<Step>& steps);
// Parallel columns merged or fixed (bit kBitDominatedCols).
Verdict parallelColumnPass(Problem& p, std::vector<Step>& steps);
// Implied-free columns substituted out of equations of three or more
// entries (bit kBitDoubletons).
Verdict substitutionPass(Problem& p, std::vector<Step>& steps);

}  // namespace torva::presolve
