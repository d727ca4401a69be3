// The devex pricer's shortlist: the columns whose score d_j^2 / w_j was
// above a threshold T when last computed, with every other column known to
// score at most T. A column's score changes only when its reduced cost,
// weight or bound status does, which in the primal's phase 2 happens along
// the pivot row and for the leaving and entering variables: those are
// offered to the list after each pivot. A member scoring above T is then the
// best column of all, so pricing reads the members only; when none is above
// T the pricer scans all columns and rebuilds the list from the best of them
// (kSize). On models whose pivot rows cover much of the matrix (the
// production model: 37,000 of 58,000 columns, every iteration) a list of all
// dual-infeasible columns does not pay, but this one still spares the full
// scan on most iterations; the choice is exactly the full scan's.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

namespace torva::simplex {

class DevexShortlist {
 public:
  // Members after a rebuild: the best kSize columns of the full scan. A
  // tuning figure: larger lists cost more per price, smaller ones more full
  // scans.
  static constexpr int kSize = 64;

  void reset(int size) {
    member_.assign(static_cast<std::size_t>(size), 0);
    items_.clear();
    valid_ = false;
  }
  bool valid(double tol) const { return valid_ && tol == tol_; }
  // Whether offers are taken (a rebuild made the list, nothing voided it).
  bool active() const { return valid_; }
  void invalidate() { valid_ = false; }
  double threshold() const { return threshold_; }
  // A column whose score changed: listed when above the threshold.
  void offer(int j, double score) {
    if (valid_ && score > threshold_ && !member_[static_cast<std::size_t>(j)]) add(j);
  }
  // The members, to be scored by the pricer; drop() those at or below the
  // threshold while reading them (by position, in reverse order).
  const std::vector<int>& items() const { return items_; }
  void drop(std::size_t at) {
    member_[static_cast<std::size_t>(items_[at])] = 0;
    items_[at] = items_.back();
    items_.pop_back();
  }

  // Rebuild from a full scan: scored holds (score, column) for every column
  // of positive score (reordered here); tol is the tolerance the scores were
  // taken with.
  void rebuild(std::vector<std::pair<double, int>>& scored, double tol) {
    for (const int j : items_) member_[static_cast<std::size_t>(j)] = 0;
    items_.clear();
    threshold_ = 0.0;
    if (scored.size() > static_cast<std::size_t>(kSize)) {
      const auto cut = scored.begin() + kSize;
      std::nth_element(scored.begin(), cut, scored.end(),
                       [](const auto& a, const auto& b) { return a.first > b.first; });
      threshold_ = cut->first;  // the best score left out
    }
    for (const auto& [score, j] : scored)
      if (score > threshold_) add(j);
    tol_ = tol;
    valid_ = true;
  }

 private:
  void add(int j) {
    member_[static_cast<std::size_t>(j)] = 1;
    items_.push_back(j);
  }

  std::vector<char> member_;
  std::vector<int> items_;
  double threshold_ = 0.0;
  double tol_ = 0.0;
  bool valid_ = false;
};

}  // namespace torva::simplex
