// The reductions of the LP presolver (after Andersen and Andersen, 1995,
// "Presolving in linear programming", and Gondzio, 1997): passes over rows
// and columns, repeated while a pass still removes a noticeable part of the
// problem.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "simplex/presolve/passes.hpp"

namespace torva::presolve {

namespace {

// A pass that removes fewer than this fraction of the rows and columns
// ends the reductions (later passes would find little more).
constexpr double kPassGain = 0.001;
constexpr int kMaxPasses = 30;
// The passes over the whole matrix run again only after they removed this
// fraction of the rows and columns themselves (the cheap passes have taken
// up everything else by then).
constexpr double kCostlyGain = 0.005;
// Rounds of passes separated by the costlier passes that run once per
// stage: rows made redundant through chains of rows and the folding of
// slack singletons into their equations (each stage may open new
// reductions for the next).
constexpr int kStages = 3;
// A cost this small decides no bound: the rounding of substituted costs
// stays far below it, and a reduced cost of this size is dual feasible
// within the optimality tolerance of 1e-7.
constexpr double kZeroCost = 1e-12;
// A column singleton is substituted out of its row only when its entry is at
// least this fraction of the row's largest entry: x_j is recomputed as
// (b - sum)/a_ij, and a small pivot would magnify the error of the sum.
constexpr double kSubstPivot = 1e-3;
// A doubleton substitution x_j = (b - e x_k)/a multiplies the error of x_k
// by |e/a|; the column kept in the basis is chosen so that this stays
// below 1/kDoubletonPivot where possible. Columns longer than
// kMaxDoubletonColumn are not substituted (each entry may add a fill-in).
constexpr double kDoubletonPivot = 0.1;
constexpr int kMaxDoubletonColumn = 20;
// Pattern keys compare entries divided by the first one and scaled by
// kKeyDigits (rounded, so ratios that agree to about 8 digits share a key).
// The scaled ratio is converted to a 64-bit integer only below
// kKeyRatioLimit, under 2^63 (about 9.22e18), where the conversion is
// defined; larger ratios all map to one value (those lists are compared
// entry by entry anyway).
constexpr double kKeyDigits = 1e8;
constexpr double kKeyRatioLimit = 9e18;
double clampInf(double v) { return v >= kInf ? kInf : (v <= -kInf ? -kInf : v); }

}  // namespace

double Matrix::at(int i, int j) const {
  for (const Entry& e : rows[i])
    if (e.idx == j) return e.val;
  return 0.0;
}

int Matrix::set(int i, int j, double v) {
  auto place = [](std::vector<Entry>& list, int idx, double val) {
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (it->idx != idx) continue;
      if (val == 0.0) {
        list.erase(it);
        return -1;
      }
      it->val = val;
      return 0;
    }
    if (val == 0.0) return 0;
    list.push_back({idx, val});
    return 1;
  };
  place(cols[j], i, v);
  return place(rows[i], j, v);
}

Problem::Problem(const ModelData& d) : m(d.m), n(d.n) {
  sense = d.objSense == -1 ? -1.0 : 1.0;
  objConst = sense * d.objConst;
  cost.resize(n);
  lo.resize(n);
  up.resize(n);
  for (int j = 0; j < n; ++j) {
    cost[j] = sense * d.cost[j];
    lo[j] = clampInf(d.lower[j]);
    up[j] = clampInf(d.upper[j]);
  }
  rl.assign(m, -kInf);
  ru.assign(m, kInf);
  for (int i = 0; i < m; ++i) {
    const double b = d.rhs[i];
    switch (d.conType[i]) {
      case 'L': ru[i] = b; break;
      case 'G': rl[i] = b; break;
      case 'E': rl[i] = ru[i] = b; break;
      default: break;  // 'N': a free row
    }
  }
  // Both copies of the matrix, without explicit zeros.
  a.rows.resize(m);
  a.cols.resize(n);
  rowCnt.assign(m, 0);
  colCnt.assign(n, 0);
  // Each list sized once (growing them entry by entry reallocates and
  // copies every list several times).
  for (int j = 0; j < n; ++j)
    for (int q = d.colBeg[j], e = q + d.colLen[j]; q < e; ++q)
      if (d.value[q] != 0.0) {
        ++rowCnt[d.rowIdx[q]];
        ++colCnt[j];
      }
  for (int i = 0; i < m; ++i) a.rows[i].reserve(static_cast<size_t>(rowCnt[i]));
  for (int j = 0; j < n; ++j) a.cols[j].reserve(static_cast<size_t>(colCnt[j]));
  rowCnt.assign(m, 0);
  colCnt.assign(n, 0);
  for (int j = 0; j < n; ++j)
    for (int q = d.colBeg[j], e = q + d.colLen[j]; q < e; ++q) {
      if (d.value[q] == 0.0) continue;
      a.cols[j].push_back({d.rowIdx[q], d.value[q]});
      a.rows[d.rowIdx[q]].push_back({j, d.value[q]});
      ++rowCnt[d.rowIdx[q]];
      ++colCnt[j];
    }
  rowOn.assign(m, 1);
  colOn.assign(n, 1);
  rowStamp.assign(m, 0);
  colStamp.assign(n, 0);
  colShapeStamp.assign(n, 0);
  seen.activity.assign(m, -1);
  seen.singleton.assign(n, -1);
  seen.dominated.assign(n, -1);
  seen.rowKey.assign(m, 0);
  seen.colKey.assign(n, 0);
  seen.rowKeyAt.assign(m, -1);
  seen.colKeyAt.assign(n, -1);
  seen.rowMax.assign(m, 0.0);
  seen.rowMaxAt.assign(m, -1);
}

void Problem::keepIntegral(const ModelData& d) {
  integral.assign(n, 0);
  for (int j = 0; j < n; ++j) {
    const char t = d.typeOf(j);
    if (t != 'I' && t != 'B') continue;
    integral[j] = 1;
    lo[j] = roundLo(j, lo[j]);
    up[j] = roundUp(j, up[j]);
  }
}

double Problem::roundLo(int j, double v) const {
  if (integral.empty() || !integral[j] || !finiteLo(v)) return v;
  return std::ceil(v - scaled(kIntegralTol, v));
}

double Problem::roundUp(int j, double v) const {
  if (integral.empty() || !integral[j] || !finiteUp(v)) return v;
  return std::floor(v + scaled(kIntegralTol, v));
}

int Problem::liveRows() const { return static_cast<int>(std::count(rowOn.begin(), rowOn.end(), 1)); }
int Problem::liveCols() const { return static_cast<int>(std::count(colOn.begin(), colOn.end(), 1)); }

void Problem::removeColumnAt(int j, double v) {
  for (const Entry& e : a.cols[j]) {
    const int i = e.idx;
    if (!rowOn[i]) continue;
    const double shift = e.val * v;
    if (finiteLo(rl[i])) rl[i] -= shift;
    if (finiteUp(ru[i])) ru[i] -= shift;
    --rowCnt[i];
    touchRow(i);
  }
  objConst += cost[j] * v;
  colOn[j] = 0;
  touchCol(j);
}

void Problem::removeRow(int i) {
  for (const Entry& e : a.rows[i])
    if (colOn[e.idx]) --colCnt[e.idx], touchCol(e.idx), colShapeStamp[e.idx] = clock;
  rowOn[i] = 0;
  touchRow(i);
}

void Problem::boundsMoved(int j) {
  for (const Entry& e : a.cols[j])
    if (rowOn[e.idx]) touchRow(e.idx);
  touchCol(j);
}

void Problem::sidesMoved(int i) {
  for (const Entry& e : a.rows[i])
    if (colOn[e.idx]) touchCol(e.idx);
  touchRow(i);
}

void Problem::setEntry(int i, int j, double v) {
  touchRow(i);
  touchCol(j);
  colShapeStamp[j] = clock;
  const int change = a.set(i, j, v);
  if (rowOn[i] && colOn[j]) {
    rowCnt[i] += change;
    colCnt[j] += change;
  }
}

const Entry& firstLive(const std::vector<Entry>& list, const std::vector<char>& on) {
  auto it = list.begin();
  while (!on[it->idx]) ++it;
  return *it;
}

std::uint64_t scaledPatternKey(const std::vector<Entry>& list, const std::vector<char>& on) {
  const Entry* first = nullptr;
  for (const Entry& e : list)
    if (on[e.idx] && (!first || e.idx < first->idx)) first = &e;
  if (!first) return 0;
  // A sum of mixed (index, rounded ratio) pairs (the splitmix64 finaliser).
  const auto mix = [](std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  };
  // The ratio rounded half away from zero by truncation (no library call);
  // ratios beyond the range of the integer all share one value.
  const double scale = kKeyDigits / first->val;
  std::uint64_t key = 0;
  for (const Entry& e : list) {
    if (!on[e.idx]) continue;
    const double r = e.val * scale;
    const std::int64_t q = std::fabs(r) < kKeyRatioLimit ? static_cast<std::int64_t>(r + (r < 0 ? -0.5 : 0.5)) : 0;
    key += mix((static_cast<std::uint64_t>(e.idx) * 0x9e3779b97f4a7c15ull) ^ static_cast<std::uint64_t>(q));
  }
  return key;
}

std::uint64_t cachedPatternKey(const Problem& p, const std::vector<Entry>& list, const std::vector<char>& on,
                               long long stamp, std::uint64_t& key, long long& keyAt) {
  if (!p.unchangedSince(stamp, keyAt)) key = scaledPatternKey(list, on), keyAt = p.clock;
  return key;
}

std::vector<std::vector<int>> sameKeyGroups(std::vector<std::pair<std::uint64_t, int>>& keyed) {
  // Most keys are unique: a count of each key in an open-addressing table
  // (at least twice as many slots as keys) leaves only the shared ones to
  // sort.
  std::size_t slots = 16;
  while (slots < 2 * keyed.size()) slots *= 2;
  struct Slot {
    std::uint64_t key = 0;
    int count = 0;
  };
  std::vector<Slot> table(slots);
  const auto find = [&](std::uint64_t key) -> Slot& {
    std::size_t h = static_cast<std::size_t>((key ^ (key >> 29)) * 0x9e3779b97f4a7c15ull) & (slots - 1);
    while (table[h].count > 0 && table[h].key != key) h = (h + 1) & (slots - 1);
    return table[h];
  };
  for (const auto& [key, idx] : keyed) {
    Slot& s = find(key);
    s.key = key;
    ++s.count;
  }
  std::erase_if(keyed, [&](const std::pair<std::uint64_t, int>& k) { return find(k.first).count < 2; });
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::vector<int>> groups;
  for (std::size_t b = 0, e = 0; b < keyed.size(); b = e) {
    for (e = b + 1; e < keyed.size() && keyed[e].first == keyed[b].first;) ++e;
    if (e - b < 2) continue;
    groups.emplace_back();
    for (std::size_t q = b; q < e; ++q) groups.back().push_back(keyed[q].second);
  }
  return groups;
}

Activity activity(const Problem& p, int i, int skip) {
  Activity a;
  for (const Entry& e : p.a.rows[i]) {
    const int j = e.idx;
    if (!p.colOn[j] || j == skip) continue;
    const double v = e.val;
    const double atLo = v > 0 ? p.lo[j] : p.up[j];  // the bound giving the smallest v*x
    const double atUp = v > 0 ? p.up[j] : p.lo[j];
    if (std::fabs(atLo) >= kInf) ++a.minInf; else a.min += v * atLo;
    if (std::fabs(atUp) >= kInf) ++a.maxInf; else a.max += v * atUp;
  }
  return a;
}

bool rowImpliesBounds(const Problem& p, int i, int j, double a) {
  if (!finiteLo(p.lo[j]) && !finiteUp(p.up[j])) return true;
  // A finite lower bound needs the rest's maximum with a finite rl (a > 0)
  // or its minimum with a finite ru (a < 0), an upper bound the other
  // pair. A missing side or an infinite term there settles it at once.
  const bool needMin = (finiteLo(p.lo[j]) && a < 0) || (finiteUp(p.up[j]) && a > 0);
  const bool needMax = (finiteLo(p.lo[j]) && a > 0) || (finiteUp(p.up[j]) && a < 0);
  if ((needMin && !finiteUp(p.ru[i])) || (needMax && !finiteLo(p.rl[i]))) return false;
  Activity rest;
  for (const Entry& e : p.a.rows[i]) {
    const int k = e.idx;
    if (!p.colOn[k] || k == j) continue;
    const double v = e.val;
    const double atLo = v > 0 ? p.lo[k] : p.up[k], atUp = v > 0 ? p.up[k] : p.lo[k];
    if (std::fabs(atLo) >= kInf) {
      if (needMin) return false;
      ++rest.minInf;
    } else {
      rest.min += v * atLo;
    }
    if (std::fabs(atUp) >= kInf) {
      if (needMax) return false;
      ++rest.maxInf;
    } else {
      rest.max += v * atUp;
    }
  }
  // a x_j = r - rest with r in [rl, ru]: the range of a x_j.
  const double hiNum = rest.minInf || !finiteUp(p.ru[i]) ? kInf : p.ru[i] - rest.min;
  const double loNum = rest.maxInf || !finiteLo(p.rl[i]) ? -kInf : p.rl[i] - rest.max;
  const double impLo = a > 0 ? (loNum <= -kInf ? -kInf : loNum / a) : (hiNum >= kInf ? -kInf : hiNum / a);
  const double impUp = a > 0 ? (hiNum >= kInf ? kInf : hiNum / a) : (loNum <= -kInf ? kInf : loNum / a);
  const bool loImplied = !finiteLo(p.lo[j]) || impLo >= p.lo[j] - scaled(kDecideTol, p.lo[j]);
  const bool upImplied = !finiteUp(p.up[j]) || impUp <= p.up[j] + scaled(kDecideTol, p.up[j]);
  return loImplied && upImplied;
}

void fixColumn(Problem& p, std::vector<Step>& steps, int j, double v) {
  Step s{StepKind::FixedCol};
  s.col = j;
  s.v1 = v;
  steps.push_back(s);
  p.removeColumnAt(j, v);
}

void dropRow(Problem& p, std::vector<Step>& steps, int i) {
  Step s{StepKind::FreeRow};
  s.row = i;
  steps.push_back(s);
  p.removeRow(i);
}

namespace {

// Free and empty rows go; a singleton row a x_j in [rl, ru] becomes bounds
// of x_j (tightened only where the row is tighter than the column).
Verdict rowPass(Problem& p, std::vector<Step>& steps) {
  for (int i = 0; i < p.m; ++i) {
    if (!p.rowOn[i]) continue;
    if (!finiteLo(p.rl[i]) && !finiteUp(p.ru[i])) {
      dropRow(p, steps, i);
    } else if (p.rowCnt[i] == 0) {
      if (p.rl[i] > scaled(p.infeasTol, 0.0) || p.ru[i] < -scaled(p.infeasTol, 0.0)) return Verdict::Infeasible;
      dropRow(p, steps, i);
    } else if (p.rowCnt[i] == 1) {
      const Entry& live = firstLive(p.a.rows[i], p.colOn);
      const int j = live.idx;
      const double a = live.val;
      double impLo = a > 0 ? p.rl[i] : p.ru[i], impUp = a > 0 ? p.ru[i] : p.rl[i];
      impLo = std::fabs(impLo) >= kInf ? -kInf : p.roundLo(j, clampInf(impLo / a));
      impUp = std::fabs(impUp) >= kInf ? kInf : p.roundUp(j, clampInf(impUp / a));
      double nlo = std::max(p.lo[j], impLo), nup = std::min(p.up[j], impUp);
      if (nlo > nup) {
        if (nlo - nup > scaled(p.infeasTol, std::max(std::fabs(nlo), std::fabs(nup)))) return Verdict::Infeasible;
        nlo = nup = p.lo[j] == nlo ? nlo : nup;  // keep a bound of the column's own where there is one
      }
      Step s{StepKind::SingletonRow};
      s.row = i, s.col = j, s.a = a, s.v1 = p.lo[j], s.v2 = p.up[j], s.v3 = p.rl[i], s.v4 = p.ru[i];
      steps.push_back(s);
      p.lo[j] = nlo;
      p.up[j] = nup;
      p.boundsMoved(j);
      p.removeRow(i);
    }
  }
  return Verdict::Reduced;
}

// Fixed columns go at their value, empty columns at the bound their cost
// prefers. An empty column whose cost prefers an infinite bound makes the
// model unbounded only if it is feasible: while rows are left that may yet
// prove it infeasible, the column stays for the simplex to judge.
Verdict colPass(Problem& p, std::vector<Step>& steps) {
  int rowsLeft = -1;  // counted at the first empty column that needs it
  const auto unbounded = [&] {
    if (rowsLeft < 0) rowsLeft = p.liveRows();
    return rowsLeft == 0;
  };
  for (int j = 0; j < p.n; ++j) {
    if (!p.colOn[j]) continue;
    if (p.lo[j] == p.up[j]) {
      fixColumn(p, steps, j, p.lo[j]);
    } else if (p.colCnt[j] == 0) {
      const double c = p.cost[j];
      double v;
      if (c > kZeroCost) {
        if (!finiteLo(p.lo[j])) {
          if (unbounded()) return Verdict::Unbounded;
          continue;
        }
        v = p.lo[j];
      } else if (c < -kZeroCost) {
        if (!finiteUp(p.up[j])) {
          if (unbounded()) return Verdict::Unbounded;
          continue;
        }
        v = p.up[j];
      } else {
        v = finiteLo(p.lo[j]) ? p.lo[j] : (finiteUp(p.up[j]) ? p.up[j] : 0.0);
      }
      fixColumn(p, steps, j, v);
    }
  }
  return Verdict::Reduced;
}

// Rows judged by the bounds of their activity: beyond reach (infeasible),
// reachable only with every column at one bound (forcing), or never binding
// (redundant).
Verdict activityPass(Problem& p, std::vector<Step>& steps) {
  for (int i = 0; i < p.m; ++i) {
    if (!p.rowOn[i] || p.rowCnt[i] == 0 || p.unchangedSince(p.rowStamp[i], p.seen.activity[i])) continue;
    p.seen.activity[i] = p.clock;  // a reduction stamps the row again
    const Activity act = activity(p, i);
    const double rl = p.rl[i], ru = p.ru[i];
    if (act.minInf == 0 && finiteUp(ru) && act.min > ru + scaled(p.infeasTol, ru)) return Verdict::Infeasible;
    if (act.maxInf == 0 && finiteLo(rl) && act.max < rl - scaled(p.infeasTol, rl)) return Verdict::Infeasible;
    int side = 0;  // +1: forced to its lower side by the largest activity; -1: upper side by the smallest
    if (act.maxInf == 0 && finiteLo(rl) && act.max <= rl + scaled(kDecideTol, rl)) side = 1;
    else if (act.minInf == 0 && finiteUp(ru) && act.min >= ru - scaled(kDecideTol, ru)) side = -1;
    if (side != 0) {
      Step s{StepKind::ForcingRow};
      s.row = i;
      s.v1 = side;
      steps.push_back(s);
      for (const Entry& e : p.a.rows[i]) {
        const int j = e.idx;
        if (!p.colOn[j]) continue;
        const bool toUp = (e.val > 0) == (side > 0);
        fixColumn(p, steps, j, toUp ? p.up[j] : p.lo[j]);
      }
      p.removeRow(i);
      continue;
    }
    const bool loSlack = !finiteLo(rl) || (act.minInf == 0 && act.min >= rl - scaled(kDecideTol, rl));
    const bool upSlack = !finiteUp(ru) || (act.maxInf == 0 && act.max <= ru + scaled(kDecideTol, ru));
    if (loSlack && upSlack) dropRow(p, steps, i);
  }
  return Verdict::Reduced;
}

// Whether moving the cost y a_ik onto the other columns k of row i keeps
// each of them dual feasible at the bound a slack basis gives it, where it
// was before: a column without an upper bound keeps a cost >= 0, one without
// a lower bound a cost <= 0 (boxed columns take the bound their cost
// prefers). A slack singleton that breaks this leaves a reduced LP whose
// slack basis needs a dual phase 1 where the original one was dual
// feasible; on planning models with an outsourcing column in every balance
// equation that phase 1 ended so far from the optimum that the dual needed
// nearly twice the iterations of the unreduced model. Such a singleton stays.
bool keepsSlackBasisDualFeasible(const Problem& p, int i, int j, double y) {
  const auto feasible = [&p](int k, double c) {
    const bool lo = finiteLo(p.lo[k]), up = finiteUp(p.up[k]);
    if (lo && up) return true;
    if (lo) return c >= -kZeroCost;
    if (up) return c <= kZeroCost;
    return std::fabs(c) <= kZeroCost;
  };
  for (const Entry& e : p.a.rows[i]) {
    const int k = e.idx;
    if (k == j || !p.colOn[k]) continue;
    if (feasible(k, p.cost[k]) && !feasible(k, p.cost[k] - e.val * y)) return false;
  }
  return true;
}

// A column met only in one row, free or kept inside its bounds by that row
// held at b, is substituted out: x_j = (b - sum_k a_ik x_k) / a_ij, and its
// cost moves to the row's other columns. Moving x_j until an inequality row
// is active never worsens the objective when y_i = c_j / a_ij has the sign
// of that row's dual, so such a row is held at its finite side.
// A column singleton x_j in [lo, up] (one side infinite) of an equation
// a x_j + rest = b (or of an inequality that every optimum holds at b)
// is a slack: the equation becomes the inequality
// rest in b - a [lo, up] and x_j's cost moves onto rest as for a free
// singleton; postsolve gives x_j the rest of the equation.
void slackSingleton(Problem& p, std::vector<Step>& steps, int i, int j, double a, double b, double lo, double up) {
  if (!keepsSlackBasisDualFeasible(p, i, j, p.cost[j] / a)) return;
  const double fromLo = finiteLo(lo) ? b - a * lo : (a > 0 ? kInf : -kInf);
  const double fromUp = finiteUp(up) ? b - a * up : (a > 0 ? -kInf : kInf);
  const double nrl = a > 0 ? fromUp : fromLo, nru = a > 0 ? fromLo : fromUp;
  // An inequality must keep its side. Only then do x_j's remaining bound
  // and its cost force the row's dual strictly to the sign of that side
  // (a y_i <= c_j for a lower bound, >= for an upper one), so that every
  // optimum holds the row at b, and the reduced row's dual plus c_j / a
  // keeps that sign in postsolve.
  if (p.rl[i] != p.ru[i] && finiteLo(nrl) != finiteLo(p.rl[i])) return;
  Step s{StepKind::SlackSingleton};
  s.row = i, s.col = j, s.a = a, s.v1 = b, s.v2 = p.cost[j], s.v3 = finiteLo(lo) ? lo : up;
  steps.push_back(s);
  const double y = p.cost[j] / a;
  for (const Entry& e : p.a.rows[i])
    if (e.idx != j && p.colOn[e.idx]) p.cost[e.idx] -= e.val * y;
  p.objConst += y * b;
  p.rl[i] = nrl;
  p.ru[i] = nru;
  // The row's largest entry stays when x_j's was smaller (the maximum
  // without it is the same).
  const bool keepMax = p.unchangedSince(p.rowStamp[i], p.seen.rowMaxAt[i]) && std::fabs(a) < p.seen.rowMax[i];
  p.sidesMoved(i);  // the costs of its columns moved too
  p.colOn[j] = 0;
  p.touchCol(j);
  --p.rowCnt[i];
  if (keepMax) p.seen.rowMaxAt[i] = p.rowStamp[i];
}

// The largest live entry of row i in size, read again only after the row
// changed (a long row holds many singletons).
double rowMax(Problem& p, int i) {
  if (!p.unchangedSince(p.rowStamp[i], p.seen.rowMaxAt[i])) {
    double amax = 0.0;
    for (const Entry& e : p.a.rows[i])
      if (p.colOn[e.idx]) amax = std::max(amax, std::fabs(e.val));
    p.seen.rowMax[i] = amax;
    p.seen.rowMaxAt[i] = p.rowStamp[i];
  }
  return p.seen.rowMax[i];
}

// withSlacks: equations whose singleton has one relevant bound become
// inequalities (done only once the other reductions are through, since an
// equation offers more: a doubleton or a substitution removes a row too).
Verdict singletons(Problem& p, std::vector<Step>& steps, bool withSlacks) {
  for (int j = 0; j < p.n; ++j) {
    if (!p.colOn[j] || p.colCnt[j] != 1) continue;
    const Entry& live = firstLive(p.a.cols[j], p.rowOn);
    const int i = live.idx;
    const double a = live.val;
    // The test without slacks gives the same answer while neither the
    // column nor its row changes (a reduction stamps the column again).
    if (!withSlacks) {
      if (p.unchangedSince(std::max(p.colStamp[j], p.rowStamp[i]), p.seen.singleton[j])) continue;
      p.seen.singleton[j] = p.clock;
    }
    // In an inequality row the column's cost must ask for the row's dual
    // y_i = c_j / a_ij with the sign of the row's finite side: every optimum
    // then has the row active, and the row is taken as an equality there.
    double b;
    const double yNeeded = p.cost[j] / a;
    if (p.rl[i] == p.ru[i]) b = p.rl[i];
    else if (finiteLo(p.rl[i]) && !finiteUp(p.ru[i]) && yNeeded >= 0) b = p.rl[i];
    else if (finiteUp(p.ru[i]) && !finiteLo(p.rl[i]) && yNeeded <= 0) b = p.ru[i];
    else continue;
    if (std::fabs(a) < kSubstPivot * rowMax(p, i)) continue;
    if (finiteLo(p.lo[j]) || finiteUp(p.up[j])) {
      // Both bounds must be implied unless withSlacks; the sweep stops once
      // the outcome is settled (both sides infinite, or a needed one).
      const bool needMin = !withSlacks && ((finiteLo(p.lo[j]) && a < 0) || (finiteUp(p.up[j]) && a > 0));
      const bool needMax = !withSlacks && ((finiteLo(p.lo[j]) && a > 0) || (finiteUp(p.up[j]) && a < 0));
      Activity rest;
      for (const Entry& e : p.a.rows[i]) {
        const int k = e.idx;
        if (!p.colOn[k] || k == j) continue;
        const double atLo = e.val > 0 ? p.lo[k] : p.up[k], atUp = e.val > 0 ? p.up[k] : p.lo[k];
        if (std::fabs(atLo) >= kInf) ++rest.minInf; else rest.min += e.val * atLo;
        if (std::fabs(atUp) >= kInf) ++rest.maxInf; else rest.max += e.val * atUp;
        if ((rest.minInf && rest.maxInf) || (needMin && rest.minInf) || (needMax && rest.maxInf)) break;
      }
      // a x_j = b - rest: its range from the rest's activity bounds.
      const double hiNum = rest.minInf ? kInf : b - rest.min, loNum = rest.maxInf ? -kInf : b - rest.max;
      const double impLo = a > 0 ? (loNum <= -kInf ? -kInf : loNum / a) : (hiNum >= kInf ? -kInf : hiNum / a);
      const double impUp = a > 0 ? (hiNum >= kInf ? kInf : hiNum / a) : (loNum <= -kInf ? kInf : loNum / a);
      const bool loImplied = !finiteLo(p.lo[j]) || impLo >= p.lo[j] - scaled(kDecideTol, p.lo[j]);
      const bool upImplied = !finiteUp(p.up[j]) || impUp <= p.up[j] + scaled(kDecideTol, p.up[j]);
      if (!loImplied && !upImplied) continue;
      if (!loImplied || !upImplied) {
        // One bound of x_j matters: in an equation it becomes the one side
        // of the row (a row with two sides is not open to us).
        // An inequality qualifies when the cost forces it active in every
        // optimum (a dual of strict sign).
        if (withSlacks && (p.rl[i] == p.ru[i] || std::fabs(yNeeded) > kZeroCost))
          slackSingleton(p, steps, i, j, a, b, loImplied ? -kInf : p.lo[j], upImplied ? kInf : p.up[j]);
        continue;
      }
    }
    Step s{StepKind::ColSingleton};
    s.row = i, s.col = j, s.a = a, s.v1 = b, s.v2 = p.cost[j];
    steps.push_back(s);
    const double y = p.cost[j] / a;
    for (const Entry& e : p.a.rows[i]) {
      if (e.idx != j && p.colOn[e.idx]) p.cost[e.idx] -= e.val * y;
    }
    p.objConst += y * b;
    p.colOn[j] = 0;
    p.touchCol(j);
    --p.rowCnt[i];
    p.removeRow(i);  // stamps the columns whose costs moved
  }
  return Verdict::Reduced;
}

Verdict colSingletonPass(Problem& p, std::vector<Step>& steps) { return singletons(p, steps, false); }
Verdict slackSingletonPass(Problem& p, std::vector<Step>& steps) { return singletons(p, steps, true); }

// A column whose cost does not prefer larger values and that no row needs
// larger (every row is only relieved by decreasing it) sits at its lower
// bound at some optimum; likewise towards the upper bound.
Verdict dominatedPass(Problem& p, std::vector<Step>& steps) {
  for (int j = 0; j < p.n; ++j) {
    if (!p.colOn[j] || p.unchangedSince(p.colStamp[j], p.seen.dominated[j])) continue;
    p.seen.dominated[j] = p.clock;  // fixing stamps the column again
    int downLocks = 0, upLocks = 0;
    for (const Entry& e : p.a.cols[j]) {
      const int i = e.idx;
      if (!p.rowOn[i]) continue;
      const bool lowerRow = finiteLo(p.rl[i]), upperRow = finiteUp(p.ru[i]);
      if (e.val > 0) {
        downLocks += lowerRow;
        upLocks += upperRow;
      } else {
        downLocks += upperRow;
        upLocks += lowerRow;
      }
    }
    const double c = p.cost[j];
    if (c >= 0 && downLocks == 0 && finiteLo(p.lo[j])) fixColumn(p, steps, j, p.lo[j]);
    else if (c <= 0 && upLocks == 0 && finiteUp(p.up[j])) fixColumn(p, steps, j, p.up[j]);
  }
  return Verdict::Reduced;
}

// Parallel rows a_s = lambda a_r: when the bounds of one, taken into the
// other's scale, contain the other's, the looser row never binds and goes.
// (Bounds that would only meet in a range are left to the simplex.)
Verdict duplicateRowPass(Problem& p, std::vector<Step>& steps) {
  // Rows keyed by their live pattern and entries scaled by the first one
  // (kept from earlier runs for the rows not stamped since); only rows that
  // share a key get their sorted shape. Two rows that no change stamped
  // since the last run were compared then and kept.
  const long long last = p.seen.duplicateRows;
  p.seen.duplicateRows = p.clock;
  std::vector<std::pair<std::uint64_t, int>> keyed;
  for (int i = 0; i < p.m; ++i)
    if (p.rowOn[i] && p.rowCnt[i] >= 2)
      keyed.push_back({cachedPatternKey(p, p.a.rows[i], p.colOn, p.rowStamp[i], p.seen.rowKey[i], p.seen.rowKeyAt[i]), i});
  const auto changed = [&](int i) { return !p.unchangedSince(p.rowStamp[i], last); };
  std::vector<std::vector<int>> buckets = sameKeyGroups(keyed);
  std::erase_if(buckets, [&](const std::vector<int>& rows) { return std::none_of(rows.begin(), rows.end(), changed); });
  std::vector<std::vector<Entry>> shape(buckets.empty() ? 0 : p.m);
  for (const std::vector<int>& rows : buckets) {
    for (int i : rows) {
      for (const Entry& e : p.a.rows[i])
        if (p.colOn[e.idx]) shape[i].push_back(e);
      std::sort(shape[i].begin(), shape[i].end(), [](const Entry& x, const Entry& y) { return x.idx < y.idx; });
    }
  }
  for (const std::vector<int>& rows : buckets) {
    for (std::size_t x = 0; x < rows.size(); ++x) {
      const int r = rows[x];
      for (std::size_t z = x + 1; z < rows.size() && p.rowOn[r]; ++z) {
        const int t = rows[z];
        if (!p.rowOn[t] || shape[t].size() != shape[r].size() || (!changed(r) && !changed(t))) continue;
        const double lambda = shape[t][0].val / shape[r][0].val;
        bool parallel = true;
        for (std::size_t q = 0; q < shape[r].size() && parallel; ++q)
          parallel = shape[t][q].idx == shape[r][q].idx &&
                     std::fabs(shape[t][q].val - lambda * shape[r][q].val) <= scaled(kDecideTol, shape[t][q].val);
        if (!parallel) continue;
        // Row t in row r's scale.
        double tlo = (lambda > 0 ? p.rl[t] : p.ru[t]), tup = (lambda > 0 ? p.ru[t] : p.rl[t]);
        tlo = std::fabs(tlo) >= kInf ? -kInf : tlo / lambda;
        tup = std::fabs(tup) >= kInf ? kInf : tup / lambda;
        const double rlo = p.rl[r], rup = p.ru[r];
        if (std::max(tlo, rlo) > std::min(tup, rup) + scaled(p.infeasTol, std::min(tup, rup)))
          return Verdict::Infeasible;
        const auto contains = [](double lo1, double up1, double lo2, double up2) {
          return (lo1 <= -kInf || (lo2 > -kInf && lo1 <= lo2 + scaled(kDecideTol, lo2))) &&
                 (up1 >= kInf || (up2 < kInf && up1 >= up2 - scaled(kDecideTol, up2)));
        };
        if (contains(tlo, tup, rlo, rup)) dropRow(p, steps, t);
        else if (contains(rlo, rup, tlo, tup)) dropRow(p, steps, r);
      }
    }
  }
  return Verdict::Reduced;
}

// An equation a x_j + e x_k = b with two live entries: x_j = (b - e x_k)/a
// is substituted into x_j's other rows and its cost, x_j's bounds move onto
// x_k, and the row and x_j go. x_j is the column with fewer entries (less
// fill) unless its entry is small next to e.
Verdict doubletonPass(Problem& p, std::vector<Step>& steps) {
  for (int i = 0; i < p.m; ++i) {
    if (!p.rowOn[i] || p.rowCnt[i] != 2 || p.rl[i] != p.ru[i]) continue;
    Entry live[2];
    int found = 0;
    for (const Entry& en : p.a.rows[i])
      if (p.colOn[en.idx] && found < 2) live[found++] = en;
    if (found != 2) continue;
    int pick = p.colCnt[live[0].idx] <= p.colCnt[live[1].idx] ? 0 : 1;
    if (std::fabs(live[pick].val) < kDoubletonPivot * std::fabs(live[1 - pick].val)) pick = 1 - pick;
    const int j = live[pick].idx, k = live[1 - pick].idx;
    const double a = live[pick].val, e = live[1 - pick].val, b = p.rl[i];
    if (p.colCnt[j] > kMaxDoubletonColumn) continue;
    // x_k = (b - a x_j) / e over x_j's bounds.
    const auto image = [&](double xj) { return clampInf((b - a * xj) / e); };
    const bool rising = -a / e > 0;
    const double fromLo = finiteLo(p.lo[j]) ? image(p.lo[j]) : (rising ? -kInf : kInf);
    const double fromUp = finiteUp(p.up[j]) ? image(p.up[j]) : (rising ? kInf : -kInf);
    double nlo = std::max(p.lo[k], rising ? fromLo : fromUp), nup = std::min(p.up[k], rising ? fromUp : fromLo);
    if (nlo > nup) {
      if (nlo - nup > scaled(p.infeasTol, std::max(std::fabs(nlo), std::fabs(nup)))) return Verdict::Infeasible;
      nlo = nup = p.lo[k] == nlo ? nlo : nup;
    }
    Step s{StepKind::Doubleton};
    s.row = i, s.col = j, s.a = a, s.v1 = b, s.v2 = p.cost[j];
    s.col2 = k, s.e = e, s.v3 = p.lo[k], s.v4 = p.up[k], s.v5 = p.lo[j], s.v6 = p.up[j];
    s.changeBeg = static_cast<int>(p.changes.size());
    const double ratio = e / a;
    for (const Entry& en : std::vector<Entry>(p.a.cols[j])) {
      const int r = en.idx;
      if (r == i || !p.rowOn[r]) continue;
      const double shift = en.val * b / a;
      if (finiteLo(p.rl[r])) p.rl[r] -= shift;
      if (finiteUp(p.ru[r])) p.ru[r] -= shift;
      const double old = p.a.at(r, k), delta = en.val * ratio;
      double nv = old - delta;
      if (std::fabs(nv) <= kCancelTol * std::max(std::fabs(old), std::fabs(delta))) nv = 0.0;
      p.changes.push_back({r, en.val, old});
      --p.rowCnt[r];  // x_j leaves row r
      p.setEntry(r, k, nv);  // stamps row r
    }
    s.changeEnd = static_cast<int>(p.changes.size());
    steps.push_back(s);
    p.objConst += p.cost[j] * b / a;
    p.cost[k] -= p.cost[j] * ratio;
    p.lo[k] = nlo;
    p.up[k] = nup;
    p.boundsMoved(k);
    p.colOn[j] = 0;
    p.touchCol(j);
    --p.rowCnt[i];
    p.removeRow(i);
  }
  return Verdict::Reduced;
}

}  // namespace

Verdict reduce(Problem& p, int level, std::vector<Step>& steps) {
  using Pass = Verdict (*)(Problem&, std::vector<Step>&);
  struct Selected {
    int bit;
    Pass pass;
  };
  // Passes that look at each row or column alone (or, like the
  // substitutions, only at what changed) repeat until they find little;
  // the passes that compare rows, columns or dual bounds across the whole
  // matrix then run once, and the cheap ones again only when those found
  // enough.
  const Selected cheap[] = {{kBitEmptySingletonRows, rowPass},    {kBitEmptyFixedCols, colPass},
                            {kBitActivityRows, activityPass},      {kBitColSingletons, colSingletonPass},
                            {kBitDominatedCols, dominatedPass},    {kBitDoubletons, doubletonPass},
                            {kBitDoubletons, substitutionPass}};
  const Selected costly[] = {{kBitActivityRows, duplicateRowPass},
                             {kBitActivityRows, impliedRedundantPass},
                             {kBitDominatedCols, dualBoundPass},
                             {kBitDominatedCols, parallelColumnPass}};
  const int minGain = std::max(1, static_cast<int>(kPassGain * (p.m + p.n)));
  const int costlyMinGain = std::max(minGain, static_cast<int>(kCostlyGain * (p.m + p.n)));
  const auto run = [&](const auto& list) {
    for (const Selected& s : list) {
      if (!(level & s.bit)) continue;
      const Verdict v = s.pass(p, steps);
      if (v != Verdict::Reduced) return v;
    }
    return Verdict::Reduced;
  };
  const auto rounds = [&]() {
    int live = p.liveRows() + p.liveCols();
    for (int round = 0; round < kMaxPasses; ++round) {
      const int start = live;
      for (int inner = 0; inner < kMaxPasses; ++inner) {
        const Verdict v = run(cheap);
        if (v != Verdict::Reduced) return v;
        const int now = p.liveRows() + p.liveCols();
        const bool enough = live - now >= minGain;
        live = now;
        if (!enough) break;
      }
      const Verdict v = run(costly);
      if (v != Verdict::Reduced) return v;
      const int now = p.liveRows() + p.liveCols();
      const int costlyGain = live - now;
      live = now;
      if (start - now < minGain || costlyGain < costlyMinGain) break;
    }
    return Verdict::Reduced;
  };
  for (int stage = 0; stage < kStages; ++stage) {
    const Verdict v = rounds();
    if (v != Verdict::Reduced) return v;
    const int before = p.liveRows() + p.liveCols();
    if (level & kBitActivityRows) chainedRedundantPass(p, steps);
    if (level & kBitColSingletons) slackSingletonPass(p, steps);
    const int gain = before - p.liveRows() - p.liveCols();
    if (gain == 0) break;
    // Little found: one sweep of the cheap passes takes up what it left
    // (an emptied column, a new singleton) without another full stage.
    if (gain < minGain) {
      const Verdict w = run(cheap);
      if (w != Verdict::Reduced) return w;
      break;
    }
  }
  // A problem left without rows or without columns is finished here: the
  // simplex never sees an empty side.
  if (p.liveRows() == 0 || p.liveCols() == 0) {
    for (int k = 0; k < 2; ++k) {
      Verdict v = rowPass(p, steps);
      if (v == Verdict::Reduced) v = colPass(p, steps);
      if (v != Verdict::Reduced) return v;
    }
  }
  return Verdict::Reduced;
}

}  // namespace torva::presolve
