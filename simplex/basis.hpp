// State of the basis-change layer that sits between the simplex loops and the
// LU kernel: the pivot history to roll back along, the fallback and best
// bases, the recovery method and the tolerance ladders it walks, and the list
// of pivot candidates rejected after trouble. The operations themselves are
// members of the work area (basis.cpp), since they move its values.
#pragma once

#include <cstdint>
#include <vector>

#include "simplex/simplex.hpp"

namespace torva::simplex {

// One basis change as the layer logged it.
struct PivotRecord {
  int entering = -1;           // variable that became basic
  int leaving = -1;            // variable that left the basis
  int row = -1;                // basis position of the change
  signed char enteringAt = 0;  // nonbasic position of the entering variable before
  double iteration = 0.0;      // iteration count when the pivot was made
};

// Ring of the last pivots. top() counts every pivot ever pushed; the
// entries top()-size() .. top()-1 are still held.
class PivotHistory {
 public:
  // Length of the ring: a little more than the largest refactorisation
  // interval in force by default, so a roll back can always reach the
  // previous factorisation.
  static constexpr int kLength = 512;

  PivotHistory() : ring_(kLength) {}
  void clear() { top_ = size_ = 0; }
  void push(const PivotRecord& r) {
    ring_[top_ % kLength] = r;
    ++top_;
    if (size_ < kLength) ++size_;
  }
  bool empty() const { return size_ == 0; }
  int size() const { return size_; }
  int top() const { return top_; }
  int tail() const { return top_ - size_; }
  const PivotRecord& back() const { return ring_[(top_ - 1) % kLength]; }
  void pop() {
    --top_;
    --size_;
  }
  // Drops every entry but keeps the count (the heading changed in a way
  // the history cannot undo).
  void forget() { size_ = 0; }

 private:
  std::vector<PivotRecord> ring_;
  int top_ = 0, size_ = 0;
};

// A basis kept aside: the heading, the nonbasic positions, when it was saved
// and how well conditioned it was.
struct SavedBasis {
  bool valid = false;
  std::vector<int> basicVar;
  std::vector<signed char> at;
  double iteration = 0.0;
  int historyTop = 0;
  double cond2 = 1.0, rcond = 1.0;
  std::uint64_t hash = 0;
  int used = 0;  // times it was installed again
};

// Outcomes of a refactorisation with recovery (the values the loops see).
enum LayerResult : int {
  kLayerOk = 0,
  kLayerSingular = 1,     // singularity persists after recovery
  kLayerOutOfMemory = 2,
  kLayerNumeric = 3,
  kLayerOutOfSpace = 4,   // factor space exhausted during recovery
  kLayerInternal = 5,     // the kernel rejected its input or had no factors
};

// The simplex error of a layer result other than kLayerOk: out of memory
// (also when the factor space ran out during recovery), an internal error,
// or numerical trouble for everything else.
inline int layerError(int rc) {
  if (rc == kLayerOutOfMemory || rc == kLayerOutOfSpace) return kErrOutOfMemory;
  if (rc == kLayerInternal) return kErrInternal;
  return kErrNumerical;
}

struct BasisLayer {
  PivotHistory history;
  int historyTopAtFactor = 0;  // history top at the last sound factorisation
  SavedBasis fallback, best;
  int fallbackCalls = 0;       // restorations asked for
  int fallbackRestores = 0;    // restorations made
  int requests = 0;            // refactorisation requests (the state line's count)
  int recoveryMethod = 1;      // 1 fallback basis, 2 artificials, 3 roll back
  int ratRange = 4, ratRangeInitial = 4;
  int dpickrow = 1;            // rows tried per dual pricing pass
  int rolls = 0;               // roll backs made in this solve
  int recoveries = 0;          // singular factorisations recovered from
  long long lnnz = 0, unnz = 0;
  double cond4 = 0.0;          // 4-norm estimate of the last factorisation (0: not made)

  // The pivot of the current basis change may be undone by the stability
  // refactorisation it requested.
  bool undoable = false;
  bool bestTried = false;           // the best basis was reinstalled by a recovery
  bool infeasibilityDoubted = false;  // an infeasibility signal was ignored

  // Variables rejected as pivot candidates (the dual rejects leaving
  // variables, the primal entering ones) until the list is released.
  std::vector<char> rejected;
  std::vector<int> rejectedList;

  void resetForSolve(int nt, int ratRangeOption, int method) {
    history.clear();
    historyTopAtFactor = 0;
    fallback = SavedBasis{};
    best = SavedBasis{};
    fallbackCalls = fallbackRestores = requests = rolls = recoveries = 0;
    recoveryMethod = method;
    ratRange = ratRangeInitial = ratRangeOption;
    dpickrow = 1;
    undoable = bestTried = infeasibilityDoubted = false;
    rejected.assign(nt, 0);
    rejectedList.clear();
  }
  void reject(int j) {
    if (rejected[j]) return;
    rejected[j] = 1;
    rejectedList.push_back(j);
  }
  bool isRejected(int j) const { return rejected[j] != 0; }
  // Releases every rejected variable; returns how many there were.
  int releaseRejected() {
    const int k = static_cast<int>(rejectedList.size());
    for (int j : rejectedList) rejected[j] = 0;
    rejectedList.clear();
    return k;
  }
};

}  // namespace torva::simplex
