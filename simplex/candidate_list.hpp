// Pricing candidates kept between full scans: the dual-infeasible nonbasic
// columns of the primal simplex, the primal-infeasible rows of the dual.
// After a full scan the list is kept up to date from the entries an iteration
// changes, so that pricing visits the candidates only instead of all columns
// or rows (Hall and McKinnon 2005 keep such lists for hypersparse CHUZC and
// CHUZR). Membership is a hint: the loops re-evaluate every listed entry
// before they take it, and fall back to a full scan whenever the values were
// recomputed wholesale (refactorisation, new duals, bound flips en masse).
#pragma once

#include <vector>

namespace torva::simplex {

class CandidateList {
 public:
  // Empties the list over indices 0..size-1 and marks it out of date.
  void reset(int size) {
    where_.assign(static_cast<std::size_t>(size), -1);
    items_.clear();
    valid = false;
    rebuild = true;
  }
  // Adds or removes index i in O(1); the order of the items is arbitrary.
  void set(int i, bool member) {
    const int at = where_[static_cast<std::size_t>(i)];
    if (member) {
      if (at < 0) {
        where_[static_cast<std::size_t>(i)] = static_cast<int>(items_.size());
        items_.push_back(i);
      }
    } else if (at >= 0) {
      const int last = items_.back();
      items_[static_cast<std::size_t>(at)] = last;
      where_[static_cast<std::size_t>(last)] = at;
      items_.pop_back();
      where_[static_cast<std::size_t>(i)] = -1;
    }
  }
  // Empties the list, for a rebuild by add().
  void clear() {
    for (const int i : items_) where_[static_cast<std::size_t>(i)] = -1;
    items_.clear();
  }
  // Adds index i, which is not listed.
  void add(int i) {
    where_[static_cast<std::size_t>(i)] = static_cast<int>(items_.size());
    items_.push_back(i);
  }
  const std::vector<int>& items() const { return items_; }

  // Whether updating the list for touched changed entries and then scanning
  // it is cheaper than a full scan over size entries: both visit about the
  // same data per entry, so the list pays while the entries touched plus
  // those listed stay below kWorthFraction of all. When it does not pay the
  // owner drops the list (invalidate) and scans everything, rebuilding the
  // list only once an iteration touches few entries again.
  bool worthUpdating(int touched, int size) const {
    return touched + static_cast<double>(items_.size()) < kWorthFraction * size;
  }
  void invalidate() {
    valid = false;
    rebuild = false;
  }

  // False until a full scan has rebuilt the list after the values it
  // reflects were recomputed; the owner keeps it. rebuild asks the next full
  // scan to rebuild the list (off while iterations touch many entries).
  bool valid = false;
  bool rebuild = true;

  static constexpr double kWorthFraction = 0.5;

 private:
  std::vector<int> items_;
  std::vector<int> where_;
};

// The pricing rule of both loops: the larger score wins, equal scores go to
// the smaller index, so that a scan of the list in any order chooses what a
// scan of all indices in increasing order would.
inline bool betterCandidate(double score, int i, double bestScore, int best) {
  return score > bestScore || (score == bestScore && best >= 0 && i < best);
}

}  // namespace torva::simplex
