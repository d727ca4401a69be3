// Leaving-row selection of the dual simplex (CHUZR) with dual steepest-edge
// scores infeasibility^2 / weight (Forrest and Goldfarb 1992; Koberstein
// 2005, sect. 6.2).
#pragma once

#include <vector>

#include "simplex/work.hpp"

namespace torva::simplex {

class DualRowSelection {
 public:
  explicit DualRowSelection(SimplexWork::Impl& w) : w_(w) {}

  // Reconsiders the mode (sparse or dense, from the density of the pivot
  // columns) and recomputes every row's infeasibility and the candidate
  // list. Needed whenever basic values or bounds changed other than through
  // touch (a factorisation, a recomputation of the basic values).
  void rebuild();
  // Row p's basic value changed: in sparse selection refreshes its
  // infeasibility and lists it when it became infeasible. Dense selection
  // reads the basic values as it scans: its pivot columns are long (the
  // refresh would cost as much as the update of the values; fit2p: a
  // quarter of the run) and a scan visits only a few segments.
  void touch(int p) {
    if (dense_) return;
    const double v = w_.primalInfeasOf(p);
    infeas_[p] = v > builtTol_ ? v : 0.0;
    if (inList_[p] || infeas_[p] == 0.0) return;
    inList_[p] = 1;
    list_.push_back(p);
  }
  // Running average of the pivot columns' nonzeros, from one more column.
  void notePivotColumn(int count);
  // The k rows of largest infeasibility^2 / weight, best first, in picked().
  void choose(int k);
  const std::vector<int>& picked() const { return picked_; }
  // Rows on the candidate list of sparse selection; -1 in dense selection.
  int listSize() const { return dense_ ? -1 : listed(); }
  // Rows on that list (none in dense selection).
  int listed() const { return static_cast<int>(list_.size()) - holes_; }

 private:
  void consider(int i, double v, int k);
  void chooseFromList(int k);
  // Updates the typical best score from the best of this selection.
  void noteBest();
  bool belowTypical(double score) const;

  SimplexWork::Impl& w_;
  // Sparse selection: the primal infeasibility of each row beyond the
  // feasibility tolerance (0 when within it), kept with the basic values, so
  // that a pass over the list reads one array instead of the basic
  // variable's value and bounds.
  std::vector<double> infeas_;
  double builtTol_ = -1.0;  // the feasibility tolerance infeas_ was computed with
  // Sparse selection: the rows that may be infeasible (their work follows
  // the changes, not m); dense selection scans every row by segments.
  std::vector<int> list_;
  std::vector<char> inList_;
  int holes_ = 0;    // list places of rows that left it (marked -1)
  int listPos_ = 0;  // list place where the next partial scan starts
  bool dense_ = false;
  double pcolal_ = 0.0;  // running average of the pivot columns' nonzeros
  int segStart_ = 0;     // row where the next dense scan starts
  // Typical best score of dense selection (log of a running geometric mean).
  double logTypicalBest_ = 0.0;
  bool haveTypical_ = false;
  std::vector<int> picked_;
  std::vector<double> scores_;
};

}  // namespace torva::simplex
