// Postsolve: the reductions undone in reverse order. Each undo restores the
// primal values of what the reduction removed, the duals of its rows and
// which of its rows and columns are basic, so that the restored basis has
// one basic variable per row and every reduced cost has the sign its
// status needs.
#include <algorithm>
#include <cmath>

#include "simplex/presolve/reduce_state.hpp"

namespace torva::presolve {

namespace {

// A reduced cost within this distance of zero has either sign: the reduced
// solution carries rounding of this order, two orders below the default
// optimality tolerance of 1e-7.
constexpr double kDualSignTol = 1e-9;

// True when x rests on the finite bound b.
bool atBound(double x, double b) { return std::fabs(b) < kInf && std::fabs(x - b) <= scaled(kDecideTol, b); }

class Undo {
 public:
  Undo(const Problem& p, FullSolution& s)
      : p_(p), s_(s), a_(p.a), rowOn_(p.rowOn), colOn_(p.colOn), cost_(p.cost) {}

  void apply(const Step& st) {
    switch (st.kind) {
      case StepKind::FreeRow:
        s_.y[st.row] = 0.0;
        s_.rowBasic[st.row] = 1;
        rowOn_[st.row] = 1;
        break;
      case StepKind::FixedCol:
        s_.x[st.col] = st.v1;
        s_.colBasic[st.col] = 0;
        colOn_[st.col] = 1;
        break;
      case StepKind::SingletonRow: singletonRow(st); break;
      case StepKind::ForcingRow: forcingRow(st); break;
      case StepKind::ColSingleton: colSingleton(st); break;
      case StepKind::Doubleton: doubleton(st); break;
      case StepKind::ParallelCol: parallelCol(st); break;
      case StepKind::Substitution: substitution(st); break;
      case StepKind::SlackSingleton: slackSingleton(st); break;
    }
  }

 private:
  // c_j - sum of a_ij y_i over the live rows: the reduced cost of column j
  // in the problem as it stood when the step being undone was taken.
  double reducedCost(int j) const {
    double d = cost_[j];
    for (const Entry& e : a_.cols[j])
      if (rowOn_[e.idx]) d -= e.val * s_.y[e.idx];
    return d;
  }

  // The row held bounds of x_j. Where x_j rests nonbasic on a bound that
  // only the row imposed (or on its own bound with the wrong sign of
  // reduced cost), the row takes over: its dual zeroes the reduced cost,
  // x_j turns basic and the row nonbasic.
  void singletonRow(const Step& st) {
    const int i = st.row, j = st.col;
    s_.y[i] = 0.0;
    s_.rowBasic[i] = 1;
    const double x = s_.x[j];
    const bool rowActive = atBound(st.a * x, st.v3) || atBound(st.a * x, st.v4);
    if (!s_.colBasic[j] && rowActive) {
      const double d = reducedCost(j);
      const bool atLo = atBound(x, st.v1), atUp = atBound(x, st.v2);
      const bool keep = (atLo && atUp) || (atLo && d >= -kDualSignTol) || (atUp && d <= kDualSignTol);
      if (!keep) {
        s_.y[i] = d / st.a;
        s_.colBasic[j] = 1;
        s_.rowBasic[i] = 0;
      }
    }
    rowOn_[i] = 1;
  }

  // Every column of the row sits on the bound that attains the row's forced
  // side. The row's dual is the smallest move (of the sign that side
  // allows) that gives every column a reduced cost of the right sign; the
  // column that sets it turns basic.
  void forcingRow(const Step& st) {
    const int i = st.row;
    const bool lowerSide = st.v1 > 0;
    double y = 0.0;
    int basic = -1;
    for (const Entry& e : a_.rows[i]) {
      const int j = e.idx;
      if (!colOn_[j]) continue;
      // Lower side: columns with a > 0 sit at their upper bound (need
      // d <= 0), those with a < 0 at their lower (need d >= 0); both read
      // y >= d / a. The upper side mirrors it.
      const double need = reducedCost(j) / e.val;
      if (lowerSide ? need > y : need < y) {
        y = need;
        basic = j;
      }
    }
    s_.y[i] = y;
    s_.rowBasic[i] = basic < 0;
    if (basic >= 0) s_.colBasic[basic] = 1;
    rowOn_[i] = 1;
  }

  // x_j follows from the equality row; the row's dual takes the column's
  // cost back from the other columns of the row.
  void colSingleton(const Step& st) {
    const int i = st.row, j = st.col;
    const double y = st.v2 / st.a;
    double sum = 0.0;
    for (const Entry& e : a_.rows[i]) {
      if (!colOn_[e.idx]) continue;
      sum += e.val * s_.x[e.idx];
      cost_[e.idx] += e.val * y;
    }
    s_.x[j] = (st.v1 - sum) / st.a;
    s_.y[i] = y;
    s_.colBasic[j] = 1;
    s_.rowBasic[i] = 0;
    colOn_[j] = 1;
    rowOn_[i] = 1;
  }

  // The equation a x_j + e x_k = b restored with the entries and the cost
  // of x_k as they were. Normally x_j turns basic and the row's dual zeroes
  // its reduced cost; when x_k rests on a bound that x_j's bounds imposed
  // (or on its own bound with the wrong sign), x_j sits on its bound
  // instead and x_k turns basic.
  void doubleton(const Step& st) {
    const int i = st.row, j = st.col, k = st.col2;
    for (int c = st.changeEnd - 1; c >= st.changeBeg; --c) a_.set(p_.changes[c].row, k, p_.changes[c].oldArk);
    cost_[k] += st.v2 * st.e / st.a;
    colOn_[j] = 1;
    s_.x[j] = (st.v1 - st.e * s_.x[k]) / st.a;
    // x_k hands the basis over only when x_j sits on a bound of its own and
    // x_k is off its own bounds (or on one with the wrong reduced cost once
    // x_j is basic).
    bool kCarries = false;
    if (!s_.colBasic[k] && (atBound(s_.x[j], st.v5) || atBound(s_.x[j], st.v6))) {
      const double x = s_.x[k];
      const bool atLo = atBound(x, st.v3), atUp = atBound(x, st.v4);
      const double dk = reducedCost(k) - st.e * (reducedCost(j) / st.a);
      kCarries = !((atLo && atUp) || (atLo && dk >= -kDualSignTol) || (atUp && dk <= kDualSignTol));
    }
    if (kCarries) {
      s_.y[i] = reducedCost(k) / st.e;
      s_.colBasic[k] = 1;
      s_.colBasic[j] = 0;
    } else {
      s_.y[i] = reducedCost(j) / st.a;
      s_.colBasic[j] = 1;
    }
    s_.rowBasic[i] = 0;
    rowOn_[i] = 1;
  }

  // z = x_k + lambda x_j split again. A nonbasic z rests on a bound of the
  // sum, reached only with both columns on the matching bounds. A basic z
  // keeps one of the two basic: x_j goes to a bound of its own (or zero when
  // free) if x_k then stays inside its bounds, else x_k goes to one of its
  // bounds and x_j takes the rest. Both reduced costs are multiples of d_z,
  // so the statuses keep their signs.
  void parallelCol(const Step& st) {
    const int j = st.col, k = st.col2;
    const double lambda = st.a, z = s_.x[k];
    const double jLo = st.v1, jUp = st.v2, kLo = st.v3, kUp = st.v4;
    colOn_[j] = 1;
    const double jForLo = lambda > 0 ? jLo : jUp, jForUp = lambda > 0 ? jUp : jLo;
    s_.colBasic[j] = 0;
    if (!s_.colBasic[k]) {
      const double zLo = std::fabs(kLo) < kInf && std::fabs(jForLo) < kInf ? kLo + lambda * jForLo : -kInf;
      const double zUp = std::fabs(kUp) < kInf && std::fabs(jForUp) < kInf ? kUp + lambda * jForUp : kInf;
      if (atBound(z, zLo)) {
        s_.x[j] = jForLo, s_.x[k] = kLo;
        return;
      }
      if (atBound(z, zUp)) {
        s_.x[j] = jForUp, s_.x[k] = kUp;
        return;
      }
    }
    const auto inside = [](double v, double lo, double up) {
      return (lo <= -kInf || v >= lo - scaled(kDecideTol, lo)) && (up >= kInf || v <= up + scaled(kDecideTol, up));
    };
    const double jFree = std::fabs(jLo) >= kInf && std::fabs(jUp) >= kInf ? 0.0 : kInf;
    for (double xj : {jLo, jUp, jFree}) {
      if (std::fabs(xj) >= kInf || !inside(z - lambda * xj, kLo, kUp)) continue;
      s_.x[j] = xj;
      s_.x[k] = z - lambda * xj;
      return;
    }
    const double kFree = std::fabs(kLo) >= kInf && std::fabs(kUp) >= kInf ? 0.0 : kInf;
    double best = kInf;
    for (double xk : {kLo, kUp, kFree}) {
      if (std::fabs(xk) >= kInf) continue;
      const double xj = (z - xk) / lambda;
      const double miss = std::max({0.0, jLo - xj, xj - jUp});
      if (miss >= best) continue;
      best = miss;
      s_.x[k] = xk;
      s_.x[j] = xj;
    }
    if (s_.colBasic[k]) {
      s_.colBasic[k] = 0;
      s_.colBasic[j] = 1;
    }
  }

  // The equation came back as an inequality with dual y' (the reduced
  // problem's costs carried c_j / a times the row): the equation's dual is
  // c_j / a + y', which leaves x_j the reduced cost -a y'. An active
  // inequality keeps x_j nonbasic on its bound; a slack one hands its basic
  // status to x_j.
  void slackSingleton(const Step& st) {
    const int i = st.row, j = st.col;
    double sum = 0.0;
    for (const Entry& e : a_.rows[i]) {
      if (e.idx == j || !colOn_[e.idx]) continue;
      sum += e.val * s_.x[e.idx];
      cost_[e.idx] += st.v2 * e.val / st.a;
    }
    colOn_[j] = 1;
    // Nonbasic, x_j takes its bound exactly (the row's sum carries rounding
    // of the size of its largest terms).
    s_.x[j] = s_.rowBasic[i] ? (st.v1 - sum) / st.a : st.v3;
    s_.y[i] += st.v2 / st.a;
    s_.colBasic[j] = s_.rowBasic[i];
    s_.rowBasic[i] = 0;
  }

  // x_j follows from its equation with the entries and costs of the other
  // columns as they were; it turns basic and the row's dual zeroes its
  // reduced cost (the row turns nonbasic).
  void substitution(const Step& st) {
    const int i = st.row, j = st.col;
    const double y = reducedCost(j) / st.a;  // row i still off: d_j over the other rows
    for (int c = st.changeEnd - 1; c >= st.changeBeg; --c) {
      const Problem::EntryChange& ch = p_.entryChanges[c];
      a_.set(ch.row, ch.col, ch.old);
    }
    double sum = 0.0;
    for (const Entry& e : a_.rows[i]) {
      if (e.idx == j || !colOn_[e.idx]) continue;
      sum += e.val * s_.x[e.idx];
      cost_[e.idx] += st.v2 * e.val / st.a;
    }
    colOn_[j] = 1;
    s_.x[j] = (st.v1 - sum) / st.a;
    s_.y[i] = y;
    s_.colBasic[j] = 1;
    s_.rowBasic[i] = 0;
    rowOn_[i] = 1;
  }

  const Problem& p_;
  FullSolution& s_;
  Matrix a_;
  std::vector<char> rowOn_, colOn_;
  std::vector<double> cost_;
};

}  // namespace

void postsolve(const Problem& p, const std::vector<Step>& steps, FullSolution& sol) {
  Undo undo(p, sol);
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) undo.apply(*it);
}

}  // namespace torva::presolve
