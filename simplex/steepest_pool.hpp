// A small pool of attractive nonbasic columns kept with their transformed
// columns B^-1 a_j, for partial pricing on models with many more columns
// than rows. Partial pricing reads only a segment of the columns per
// iteration, and the best of a segment by |d_j| (even scaled by the column
// norm) is a poor choice there: each scan feeds its best few columns into
// the pool instead, and the pool prices its members by the exact steepest
// edge d_j^2 / (1 + ||B^-1 a_j||^2) (Goldfarb and Reid 1977). The pool
// keeps the transformed columns up to date through each basis change with
// the product-form update of the pivot, O(nonzeros of the pivot column) per
// member with a nonzero in the pivot row, and recomputes them after a
// factorisation; this is the multiple pricing of the early codes
// (Orchard-Hays 1968) with an exact edge norm on its candidates.
#pragma once

#include <vector>

namespace torva::simplex {

// The explicit inverse of a basis with few rows, column by column, for the
// pool's FTRANs: B^-1 a_j costs m operations per nonzero of a_j, far less
// than a solve through the factors and their updates when m is a few dozen.
// Rebuilt from the factors after each factorisation and carried through
// each basis change by the product-form update (B'^-1 = E B^-1).
class SmallInverse {
 public:
  int rows() const { return m_; }
  // Starts an inverse of m rows, every column zero; set column k with
  // column(k).
  void reset(int m) {
    m_ = m;
    inv_.assign(static_cast<std::size_t>(m) * static_cast<std::size_t>(m), 0.0);
  }
  double* column(int k) { return inv_.data() + static_cast<std::size_t>(k) * static_cast<std::size_t>(m_); }
  // u = B^-1 a for a with the entries value[t] at rows index[t], t < count;
  // u has m entries and is overwritten.
  void apply(const double* value, const int* index, int count, double* u) const {
    for (int i = 0; i < m_; ++i) u[i] = 0.0;
    for (int t = 0; t < count; ++t) {
      const double a = value[t];
      const double* c = inv_.data() + static_cast<std::size_t>(index[t]) * static_cast<std::size_t>(m_);
      for (int i = 0; i < m_; ++i) u[i] += a * c[i];
    }
  }
  // The basis change at position r with transformed entering column alpha
  // (m entries).
  void pivot(int r, const double* alpha) {
    const double inv = 1.0 / alpha[r];
    for (int k = 0; k < m_; ++k) {
      double* c = column(k);
      const double cr = c[r] * inv;
      if (cr == 0.0) continue;
      for (int i = 0; i < m_; ++i) c[i] -= alpha[i] * cr;
      c[r] = cr;
    }
  }

 private:
  int m_ = 0;
  std::vector<double> inv_;  // column k of B^-1 at k m
};

class SteepestPool {
 public:
  // Empties the pool for m rows and nt variables with room for capacity
  // members; no slot is in use until limit.
  void reset(int m, int nt, int capacity) {
    m_ = m;
    slotOf_.assign(static_cast<std::size_t>(nt), -1);
    var_.assign(static_cast<std::size_t>(capacity), -1);
    norm2_.assign(static_cast<std::size_t>(capacity), 0.0);
    nz_.assign(static_cast<std::size_t>(capacity), {});
    cols_.clear();  // grown by limit
    size_ = 0;
    active_ = 0;
    stampFactor_ = stampUpdates_ = -1;
  }
  int size() const { return size_; }
  // Slots in use are 0..capacity()-1, at most the room given to reset; a
  // free slot holds variable -1.
  int capacity() const { return active_; }
  int room() const { return static_cast<int>(var_.size()); }
  // Uses the first slots only (at most the room), dropping the members of
  // the others.
  void limit(int slots) {
    for (int s = slots; s < active_; ++s)
      if (var_[static_cast<std::size_t>(s)] >= 0) remove(var_[static_cast<std::size_t>(s)]);
    active_ = slots < room() ? slots : room();
    const std::size_t need = static_cast<std::size_t>(active_) * static_cast<std::size_t>(m_);
    if (cols_.size() < need) cols_.resize(need, 0.0);
  }
  bool contains(int j) const { return slotOf_[static_cast<std::size_t>(j)] >= 0; }
  int variable(int s) const { return var_[static_cast<std::size_t>(s)]; }
  int slotOf(int j) const { return slotOf_[static_cast<std::size_t>(j)]; }
  // Entry i of the transformed column of the member in slot s.
  double value(int s, int i) const {
    return cols_[static_cast<std::size_t>(s) * static_cast<std::size_t>(m_) + static_cast<std::size_t>(i)];
  }
  // 1 + ||B^-1 a_j||^2 of the member in slot s.
  double edgeNorm2(int s) const { return 1.0 + norm2_[static_cast<std::size_t>(s)]; }

  // Whether the members describe the basis of the given factorisation and
  // update count (they missed a basis change otherwise).
  bool current(int factorCount, int updates) const {
    return stampFactor_ == factorCount && stampUpdates_ == updates;
  }
  void stamp(int factorCount, int updates) {
    stampFactor_ = factorCount;
    stampUpdates_ = updates;
  }

  // ||u||^2 of a transformed column u given as value[index[t]], t < count.
  static double squaredNorm(const double* value, const int* index, int count) {
    double n2 = 0.0;
    for (int t = 0; t < count; ++t) n2 += value[index[t]] * value[index[t]];
    return n2;
  }

  // Stores j in slot s (free, or holding a member it replaces) with its
  // transformed column: the entries value[index[t]], t < count, whose
  // squared norm (squaredNorm) the caller has already taken.
  void put(int s, int j, const double* value, const int* index, int count, double norm2) {
    clearSlot(s);
    if (var_[static_cast<std::size_t>(s)] < 0) ++size_;
    var_[static_cast<std::size_t>(s)] = j;
    slotOf_[static_cast<std::size_t>(j)] = s;
    double* u = column(s);
    std::vector<int>& nz = nz_[static_cast<std::size_t>(s)];
    for (int t = 0; t < count; ++t) {
      const int i = index[t];
      const double v = value[i];
      if (v == 0.0) continue;
      u[i] = v;
      nz.push_back(i);
    }
    norm2_[static_cast<std::size_t>(s)] = norm2;
  }
  void remove(int j) {
    const int s = slotOf_[static_cast<std::size_t>(j)];
    if (s < 0) return;
    clearSlot(s);
    var_[static_cast<std::size_t>(s)] = -1;
    --size_;
  }

  // The basis change that replaces position r by the entering variable
  // whose transformed column has the entries value[index[t]], t < count,
  // with pivot value[r]: every member's column u becomes u' with
  // u'_r = u_r / pivot and u'_i = u_i - alpha_i u'_r elsewhere.
  void pivot(int r, const double* value, const int* index, int count) {
    const double pivotValue = value[r];
    for (int s = 0; s < capacity(); ++s) {
      if (var_[static_cast<std::size_t>(s)] < 0) continue;
      double* u = column(s);
      const double ur = u[r];
      if (ur == 0.0) continue;
      const double ratio = ur / pivotValue;
      std::vector<int>& nz = nz_[static_cast<std::size_t>(s)];
      double n2 = norm2_[static_cast<std::size_t>(s)];
      for (int t = 0; t < count; ++t) {
        const int i = index[t];
        const double before = u[i];
        const double after = i == r ? ratio : before - value[i] * ratio;
        if (before == 0.0) {
          if (after == 0.0) continue;
          nz.push_back(i);
        }
        n2 += after * after - before * before;
        u[i] = after;
      }
      // Cancellation can leave the running sum slightly negative.
      norm2_[static_cast<std::size_t>(s)] = n2 > 0.0 ? n2 : 0.0;
    }
  }

 private:
  double* column(int s) { return cols_.data() + static_cast<std::size_t>(s) * static_cast<std::size_t>(m_); }
  void clearSlot(int s) {
    const int j = var_[static_cast<std::size_t>(s)];
    if (j >= 0) slotOf_[static_cast<std::size_t>(j)] = -1;
    double* u = column(s);
    std::vector<int>& nz = nz_[static_cast<std::size_t>(s)];
    for (const int i : nz) u[i] = 0.0;
    nz.clear();
    norm2_[static_cast<std::size_t>(s)] = 0.0;
  }

  int m_ = 0;
  int size_ = 0;
  int active_ = 0;
  std::vector<int> slotOf_;            // nt: slot of each variable, -1 when not a member
  std::vector<int> var_;               // member of each slot, -1 when free
  std::vector<double> norm2_;          // ||B^-1 a_j||^2 of the members
  std::vector<std::vector<int>> nz_;   // positions of the nonzeros of each slot's column
  std::vector<double> cols_;           // the slots' transformed columns, m each, zero elsewhere
  int stampFactor_ = -1, stampUpdates_ = -1;
};

}  // namespace torva::simplex
