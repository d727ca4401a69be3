// Implied-free columns substituted out of equations with three or more
// entries (Andersen and Andersen, 1995, implied free columns; the two-entry
// case is the doubleton pass). In an equation sum_k a_ik x_k = b a column x_j
// whose bounds some row already implies is x_j = (b - sum_{k!=j} a_ik x_k)/a_ij:
// it is replaced by this expression in its other rows and in the objective,
// and the equation and x_j go. Postsolve recomputes x_j, makes it basic and
// gives the equation the dual that zeroes its reduced cost.
#include <algorithm>
#include <cmath>

#include "simplex/presolve/passes.hpp"

namespace torva::presolve {

namespace {

// Equations longer than kMaxSubstRow entries, and columns met in more than
// kMaxSubstColumn rows, are left alone: each pair may add a fill-in entry.
constexpr int kMaxSubstRow = 30;
constexpr int kMaxSubstColumn = 20;
// The pivot a_ij must be at least this fraction of the largest entry of its
// row and of its column: x_j = (b - sum)/a_ij and the multipliers a_rj/a_ij
// of the other rows then magnify rounding by at most a factor of 100.
constexpr double kSubstPivot = 1e-2;
// A substitution may add at most this many matrix entries net (fill-in
// minus the entries of the equation and of x_j that go).
constexpr int kSubstFill = 4;
// An equation with a column longer than this has its fill-in counted row by
// row of each candidate rather than from one sweep of its columns.
constexpr int kDenseColumn = 100;

struct Candidate {
  int col = -1;
  double a = 0.0;
  int fill = 0;
};

double liveMax(const std::vector<Entry>& list, const std::vector<char>& on) {
  double m = 0.0;
  for (const Entry& e : list)
    if (on[e.idx]) m = std::max(m, std::fabs(e.val));
  return m;
}

// For each live row, the number of the equation's columns it holds
// (add = 1), or back to zero (add = 0). One sweep of the equation's columns
// serves every candidate of the equation.
void countShared(const Problem& p, const std::vector<Entry>& eq, std::vector<int>& cnt, int add) {
  for (const Entry& q : eq)
    for (const Entry& e : p.a.cols[q.idx])
      if (p.rowOn[e.idx]) cnt[e.idx] = add ? cnt[e.idx] + 1 : 0;
}

// Net change of the entry count when x_j is substituted out of row i, whose
// live entries are eq. Row r of x_j gains the columns of eq it lacks:
// eq.size() - shared, shared counting x_j itself, which leaves. With cnt
// (the counts of countShared) shared is cnt[r]; without (an equation with a
// dense column, whose sweep would cost more than the rows of x_j) row r is
// read, inEq marking the columns of eq. Every row adds a count of at least
// zero, so the count stops as soon as it passes limit.
int fillOf(const Problem& p, int i, const std::vector<Entry>& eq, const std::vector<int>* cnt,
           const std::vector<char>& inEq, int j, int limit) {
  const int len = static_cast<int>(eq.size());
  int fill = -(p.colCnt[j] - 1) - len;
  for (const Entry& e : p.a.cols[j]) {
    const int r = e.idx;
    if (r == i || !p.rowOn[r]) continue;
    int shared = 0;
    if (cnt) shared = (*cnt)[r];
    else
      for (const Entry& q : p.a.rows[r]) shared += p.colOn[q.idx] && inEq[q.idx];
    fill += len - shared;
    if (fill > limit) break;
  }
  return fill;
}

// True when some live row of x_j implies its bounds.
bool impliedFree(const Problem& p, int j) {
  if (!finiteLo(p.lo[j]) && !finiteUp(p.up[j])) return true;
  for (const Entry& e : p.a.cols[j])
    if (p.rowOn[e.idx] && rowImpliesBounds(p, e.idx, j, e.val)) return true;
  return false;
}

// Bounds that single rows imply, taken at the start of the pass, for the
// chained test below; a row that a substitution changed since no longer
// vouches for the bounds it gave (dirty). inCol marks the rows of the
// column under test.
struct Chain {
  bool built = false;
  std::vector<Candidate> open;  // candidates left to the chained test
  LazyImplied im;
  std::vector<char> dirty, inCol;
  // A column sits in several equations: its test failed when the pass had
  // made failedAt[j] substitutions, and gives the same answer until the
  // next one.
  std::vector<int> failedAt;
  int subs = 0;
};

// True when the rows of x_j imply its bounds (the lower from one row, the
// upper from the same or another) once the other columns of each row r get
// the bounds that a row s without x_j implies on them. Nothing of x_j's own
// bounds enters: r leaves x_j out, and s does not hold it. This finds
// columns whose bounds only a chain of two rows implies (x_j fed by x_k in
// r, x_k held by s).
bool chainImpliedFree(const Problem& p, int j, Chain& ch) {
  if (!ch.built) {
    ch.im.start(p);
    ch.dirty.assign(static_cast<std::size_t>(p.m), 0);
    ch.inCol.assign(static_cast<std::size_t>(p.m), 0);
    ch.failedAt.assign(static_cast<std::size_t>(p.n), -1);
    ch.built = true;
  }
  if (ch.failedAt[j] == ch.subs) return false;
  for (const Entry& e : p.a.cols[j]) ch.inCol[e.idx] = 1;
  const auto vouches = [&](int s) { return s >= 0 && !ch.dirty[s] && !ch.inCol[s]; };
  bool loOk = !finiteLo(p.lo[j]), upOk = !finiteUp(p.up[j]);
  for (const Entry& e : p.a.cols[j]) {
    const int r = e.idx;
    if (!p.rowOn[r] || (loOk && upOk)) continue;
    // Which side of the row's activity a missing bound needs: the minimum
    // for an upper bound on a x_j (finite ru), the maximum for a lower one
    // (finite rl). The sweep stops once every needed side is infinite.
    const double a = e.val;
    const bool needMin = finiteUp(p.ru[r]) && ((!upOk && a > 0) || (!loOk && a < 0));
    const bool needMax = finiteLo(p.rl[r]) && ((!loOk && a > 0) || (!upOk && a < 0));
    if (!needMin && !needMax) continue;
    double min = 0.0, max = 0.0;
    int minInf = 0, maxInf = 0;
    for (const Entry& q : p.a.rows[r]) {
      const int k = q.idx;
      if (k == j || !p.colOn[k]) continue;
      if ((!needMin || minInf) && (!needMax || maxInf)) break;
      ch.im.column(p, k);
      const ImpliedBounds& im = ch.im.im;
      const double lo = vouches(im.loRow[k]) ? std::max(p.lo[k], im.lo[k]) : p.lo[k];
      const double up = vouches(im.upRow[k]) ? std::min(p.up[k], im.up[k]) : p.up[k];
      const double atMin = q.val > 0 ? lo : up, atMax = q.val > 0 ? up : lo;
      if (std::fabs(atMin) >= kInf) ++minInf; else min += q.val * atMin;
      if (std::fabs(atMax) >= kInf) ++maxInf; else max += q.val * atMax;
    }
    // a x_j = row - rest with row in [rl, ru]: the range of a x_j.
    const double hi = minInf || !finiteUp(p.ru[r]) ? kInf : p.ru[r] - min;
    const double lo = maxInf || !finiteLo(p.rl[r]) ? -kInf : p.rl[r] - max;
    const double impLo = a > 0 ? (lo <= -kInf ? -kInf : lo / a) : (hi >= kInf ? -kInf : hi / a);
    const double impUp = a > 0 ? (hi >= kInf ? kInf : hi / a) : (lo <= -kInf ? kInf : lo / a);
    loOk = loOk || impLo >= p.lo[j] - scaled(kDecideTol, p.lo[j]);
    upOk = upOk || impUp <= p.up[j] + scaled(kDecideTol, p.up[j]);
  }
  for (const Entry& e : p.a.cols[j]) ch.inCol[e.idx] = 0;
  if (!(loOk && upOk)) ch.failedAt[j] = ch.subs;
  return loOk && upOk;
}

// The column of equation i that is cheapest to substitute, if any. cnt is
// filled by countShared when a candidate first needs it (counted says so).
// The chained test, dearer, runs only when no column's bounds are implied
// by a single row.
Candidate choose(const Problem& p, int i, const std::vector<Entry>& eq, const std::vector<char>& inEq,
                 std::vector<int>& cnt, bool& counted, Chain& chain) {
  Candidate best;
  std::vector<Candidate>& open = chain.open;
  open.clear();
  const double rowMax = liveMax(p.a.rows[i], p.colOn);
  bool dense = false;
  for (const Entry& e : eq) dense = dense || p.colCnt[e.idx] > kDenseColumn;
  for (const Entry& e : eq) {
    const int j = e.idx;
    if (p.colCnt[j] > kMaxSubstColumn || std::fabs(e.val) < kSubstPivot * rowMax) continue;
    if (std::fabs(e.val) < kSubstPivot * liveMax(p.a.cols[j], p.rowOn)) continue;
    if (!counted && !dense) countShared(p, eq, cnt, 1), counted = true;
    const int limit = best.col >= 0 ? std::min(kSubstFill, best.fill - 1) : kSubstFill;
    const int fill = fillOf(p, i, eq, dense ? nullptr : &cnt, inEq, j, limit);
    if (fill > limit) continue;
    if (impliedFree(p, j)) best = Candidate{j, e.val, fill};
    else if (best.col < 0) open.push_back(Candidate{j, e.val, fill});
  }
  if (best.col >= 0) return best;
  for (const Candidate& c : open)
    if ((best.col < 0 || c.fill < best.fill) && chainImpliedFree(p, c.col, chain)) best = c;
  return best;
}

// inEq marks the columns of eq; rowVal is zero on them and is left so.
void substitute(Problem& p, std::vector<Step>& steps, int i, const std::vector<Entry>& eq,
                const std::vector<char>& inEq, std::vector<double>& rowVal, const Candidate& c) {
  const int j = c.col;
  const double a = c.a, b = p.rl[i], cj = p.cost[j];
  Step s{StepKind::Substitution};
  s.row = i, s.col = j, s.a = a, s.v1 = b, s.v2 = cj;
  s.changeBeg = static_cast<int>(p.entryChanges.size());
  for (const Entry& en : std::vector<Entry>(p.a.cols[j])) {
    const int r = en.idx;
    if (r == i || !p.rowOn[r]) continue;
    const double mult = en.val / a;
    if (finiteLo(p.rl[r])) p.rl[r] -= mult * b;
    if (finiteUp(p.ru[r])) p.ru[r] -= mult * b;
    // Row r's entries in the columns of the equation, read in one scan.
    for (const Entry& q : p.a.rows[r])
      if (inEq[q.idx]) rowVal[q.idx] = q.val;
    for (const Entry& q : eq) {
      if (q.idx == j) continue;
      const double old = rowVal[q.idx], delta = mult * q.val;
      rowVal[q.idx] = 0.0;
      double nv = old - delta;
      if (std::fabs(nv) <= kCancelTol * std::max(std::fabs(old), std::fabs(delta))) nv = 0.0;
      p.entryChanges.push_back({r, q.idx, old});
      p.setEntry(r, q.idx, nv);
    }
    rowVal[j] = 0.0;
    --p.rowCnt[r];  // x_j leaves row r
    p.touchRow(r);
  }
  s.changeEnd = static_cast<int>(p.entryChanges.size());
  steps.push_back(s);
  for (const Entry& q : eq)
    if (q.idx != j) p.cost[q.idx] -= cj * q.val / a;
  p.objConst += cj * b / a;
  p.colOn[j] = 0;
  p.touchCol(j);
  --p.rowCnt[i];
  p.removeRow(i);  // stamps the columns whose costs moved
}

}  // namespace

Verdict substitutionPass(Problem& p, std::vector<Step>& steps) {
  std::vector<Entry> eq;
  std::vector<char> inEq(static_cast<std::size_t>(p.n), 0);
  std::vector<double> rowVal(static_cast<std::size_t>(p.n), 0.0);
  std::vector<int> cnt(static_cast<std::size_t>(p.m), 0);
  Chain chain;
  p.substSeen.resize(static_cast<std::size_t>(p.m), -1);
  for (int i = 0; i < p.m; ++i) {
    if (!p.rowOn[i] || p.rl[i] != p.ru[i] || p.rowCnt[i] < 3 || p.rowCnt[i] > kMaxSubstRow) continue;
    eq.clear();
    for (const Entry& e : p.a.rows[i])
      if (p.colOn[e.idx]) eq.push_back(e);
    long long seen = p.rowCnt[i];
    for (const Entry& e : eq) seen += p.colCnt[e.idx];
    if (p.substSeen[i] == seen) continue;
    bool counted = false;
    for (const Entry& e : eq) inEq[e.idx] = 1;
    const Candidate c = choose(p, i, eq, inEq, cnt, counted, chain);
    if (counted) countShared(p, eq, cnt, 0);
    if (c.col >= 0 && chain.built) {
      chain.im.complete(p);  // before the problem changes
      chain.dirty[i] = 1;
      for (const Entry& e : p.a.cols[c.col]) chain.dirty[e.idx] = 1;
    }
    if (c.col >= 0) substitute(p, steps, i, eq, inEq, rowVal, c), ++chain.subs;
    else p.substSeen[i] = seen;
    for (const Entry& e : eq) inEq[e.idx] = 0;
  }
  return Verdict::Reduced;
}

}  // namespace torva::presolve
