// Postsolve: the reductions undone in reverse order. Each undo restores the
// primal values of what the reduction removed, the duals of its rows and
// which of its rows and columns are basic, so that the restored basis has
// one basic variable per row and every reduced cost has the sign its
// status needs.
#include <cmath>

#include "simplex/presolve/reduce_state.hpp"

namespace torva::presolve {

namespace {

class Undo {
 public:
  Undo(const Problem& p, FullSolution& s) : p_(p), s_(s), rowOn_(p.rowOn), colOn_(p.colOn), cost_(p.cost) {}

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
    }
  }

 private:
  // c_j - sum of a_ij y_i over the live rows: the reduced cost of column j
  // in the problem as it stood when the step being undone was taken.
  double reducedCost(int j) const {
    double d = cost_[j];
    for (int q = p_.cbeg[j]; q < p_.cbeg[j + 1]; ++q)
      if (rowOn_[p_.cidx[q]]) d -= p_.cval[q] * s_.y[p_.cidx[q]];
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
    if (!s_.colBasic[j]) {
      const double x = s_.x[j], d = reducedCost(j);
      const bool atLo = st.v1 > -kInf && std::fabs(x - st.v1) <= scaled(kDecideTol, st.v1);
      const bool atUp = st.v2 < kInf && std::fabs(x - st.v2) <= scaled(kDecideTol, st.v2);
      const bool keep = (atLo && atUp) || (atLo && d >= 0) || (atUp && d <= 0);
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
    for (int q = p_.rbeg[i]; q < p_.rbeg[i + 1]; ++q) {
      const int j = p_.ridx[q];
      if (!colOn_[j]) continue;
      // Lower side: columns with a > 0 sit at their upper bound (need
      // d <= 0), those with a < 0 at their lower (need d >= 0); both read
      // y >= d / a. The upper side mirrors it.
      const double need = reducedCost(j) / p_.rval[q];
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
    for (int q = p_.rbeg[i]; q < p_.rbeg[i + 1]; ++q) {
      const int k = p_.ridx[q];
      if (!colOn_[k]) continue;
      sum += p_.rval[q] * s_.x[k];
      cost_[k] += p_.rval[q] * y;
    }
    s_.x[j] = (st.v1 - sum) / st.a;
    s_.y[i] = y;
    s_.colBasic[j] = 1;
    s_.rowBasic[i] = 0;
    colOn_[j] = 1;
    rowOn_[i] = 1;
  }

  const Problem& p_;
  FullSolution& s_;
  std::vector<char> rowOn_, colOn_;
  std::vector<double> cost_;
};

}  // namespace

void postsolve(const Problem& p, const std::vector<Step>& steps, FullSolution& sol) {
  Undo undo(p, sol);
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) undo.apply(*it);
}

}  // namespace torva::presolve
