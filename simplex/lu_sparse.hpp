// LU kernel internals: the sparse traversal helpers shared by the solves and
// the updates.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

#include "simplex/lu.hpp"

namespace torva {

// Depth-first search from the start nodes over the graph whose children of
// node n are map(c) for c in range(n). Writes the reached nodes to out in
// topological order (every node before its children) and returns their
// number. stamp marks visited nodes with stampValue.
template <class Range, class Map>
inline int luDepthFirstReach(const int* start, int numStart, Range range, Map map, int* stamp, int stampValue,
                    int* stack, int* stackPos, int* out) {
  int numOut = 0;
  for (int k = 0; k < numStart; ++k) {
    const int root = start[k];
    if (stamp[root] == stampValue) continue;
    stamp[root] = stampValue;
    int top = 0;
    stack[0] = root;
    stackPos[0] = 0;
    while (top >= 0) {
      const int node = stack[top];
      const int* b;
      const int* e;
      range(node, b, e);
      int pos = stackPos[top];
      bool descended = false;
      while (b + pos < e) {
        const int child = map(b[pos++]);
        if (stamp[child] != stampValue) {
          stamp[child] = stampValue;
          stackPos[top] = pos;
          ++top;
          stack[top] = child;
          stackPos[top] = 0;
          descended = true;
          break;
        }
      }
      if (!descended) {
        out[numOut++] = node;
        --top;
      }
    }
  }
  std::reverse(out, out + numOut);
  return numOut;
}

// Pivot indices waiting to be applied in a hypersparse solve, kept as a bit
// set with a summary bit per word, and taken out in increasing or decreasing
// order. A triangular solve takes its pivots in pivot order and inserts only
// pivots on the far side of the current one, so one cursor suffices; an index
// enters only when its entry actually became nonzero, so the work follows the
// numerical pattern of the result (entries that cancel exactly are not
// followed), at the cost of one summary word per 4096 indices. Both arrays
// are zero before and after a solve that takes every index out.
class LuPendingSet {
 public:
  LuPendingSet(std::uint64_t* bits, std::uint64_t* summary) : bits_(bits), summary_(summary) {}
  void insert(int p) {
    const int w = p >> 6;
    bits_[w] |= std::uint64_t{1} << (p & 63);
    const int sw = w >> 6;
    summary_[sw] |= std::uint64_t{1} << (w & 63);
    lo_ = std::min(lo_, sw);
    hi_ = std::max(hi_, sw);
  }
  // Smallest pending index, removed; -1 when none is left. Inserts made
  // between calls must lie above the index last returned.
  int popMin() {
    while (lo_ <= hi_) {
      std::uint64_t& sum = summary_[lo_];
      if (sum == 0) {
        ++lo_;
        continue;
      }
      const int w = (lo_ << 6) + std::countr_zero(sum);
      return take(w, std::countr_zero(bits_[w]), sum);
    }
    return -1;
  }
  // Largest pending index, removed; -1 when none is left. Inserts made
  // between calls must lie below the index last returned.
  int popMax() {
    while (hi_ >= lo_) {
      std::uint64_t& sum = summary_[hi_];
      if (sum == 0) {
        --hi_;
        continue;
      }
      const int w = (hi_ << 6) + 63 - std::countl_zero(sum);
      return take(w, 63 - std::countl_zero(bits_[w]), sum);
    }
    return -1;
  }

 private:
  int take(int w, int bit, std::uint64_t& sum) {
    bits_[w] &= ~(std::uint64_t{1} << bit);
    if (bits_[w] == 0) sum &= ~(std::uint64_t{1} << (w & 63));
    return (w << 6) + bit;
  }
  std::uint64_t* bits_;
  std::uint64_t* summary_;
  int lo_ = std::numeric_limits<int>::max();
  int hi_ = -1;
};

// Subtracts delta from a listed-or-zero entry of a vector whose index list is
// kept, listing it (and reporting true) when it was zero.
inline bool luSubtractNoting(LuVector& v, int i, double delta) {
  const double old = v.array[i];
  const double x = old - delta;
  v.array[i] = x == 0.0 ? kLuListedZero : x;
  if (old != 0.0) return false;
  v.index[v.count++] = i;
  return true;
}

// Subtracts delta from entry i, listing it when it was zero; an entry that
// cancels to zero stays listed as kLuListedZero.
inline void luSubtractListed(LuVector& v, int i, double delta) {
  const double old = v.array[i];
  if (old == 0.0) v.index[v.count++] = i;
  const double x = old - delta;
  v.array[i] = x == 0.0 ? kLuListedZero : x;
}

}  // namespace torva
