// LU kernel: FTRAN and BTRAN (dense-indexed and hypersparse), the
// Forrest-Tomlin and product-form updates, and the condition estimates.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <limits>
#include <new>

#include "simplex/lu.hpp"

namespace torva {

namespace {

constexpr double kListedZero = kLuListedZero;

inline void subtractListed(LuVector& v, int i, double delta) {
  const double old = v.array[i];
  if (old == 0.0) v.index[v.count++] = i;
  const double x = old - delta;
  v.array[i] = x == 0.0 ? kListedZero : x;
}

// Depth-first search from the start nodes over the graph whose children of
// node n are map(c) for c in range(n). Writes the reached nodes to out in
// topological order (every node before its children) and returns their
// number. stamp marks visited nodes with stampValue.
template <class Range, class Map>
int depthFirstReach(const int* start, int numStart, Range range, Map map, int* stamp, int stampValue,
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
class PendingSet {
 public:
  PendingSet(std::uint64_t* bits, std::uint64_t* summary) : bits_(bits), summary_(summary) {}
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
inline bool subtractNoting(LuVector& v, int i, double delta) {
  const double old = v.array[i];
  const double x = old - delta;
  v.array[i] = x == 0.0 ? kListedZero : x;
  if (old != 0.0) return false;
  v.index[v.count++] = i;
  return true;
}

}  // namespace

int LuKernel::nextStamp() {
  if (stampValue_ == std::numeric_limits<int>::max()) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    stampValue_ = 0;
  }
  return ++stampValue_;
}

bool LuKernel::validInput(LuVector& v) const {
  if (v.dimension() != m_ || static_cast<int>(v.index.size()) != m_ || v.count > m_) return false;
  if (v.count < 0) {
    v.rebuildIndex();
    return true;
  }
  for (int k = 0; k < v.count; ++k)
    if (v.index[k] < 0 || v.index[k] >= m_) return false;
  return true;
}

// ---------------------------------------------------------------- FTRAN

void LuKernel::ftranLower(LuVector& v) {
  const int numEtas = static_cast<int>(lPivRow_.size());
  if (v.count < spvtolFtran_ * m_) {
    // Hypersparse: the etas of the nonzero rows, in eta order; an eta is
    // added when its pivot row fills in. Skips exactly the etas that the
    // dense loop skips (a pivot entry listed as cancelled holds kListedZero).
    PendingSet pending(pendBits_.data(), pendSummary_.data());
    for (int t = 0; t < v.count; ++t) {
      const int k = lEtaOfRow_[v.index[t]];
      if (k >= 0) pending.insert(k);
    }
    for (int k; (k = pending.popMin()) >= 0;) {
      const double x = v.array[lPivRow_[k]];
      if (x == 0.0 || x == kListedZero) continue;
      for (int e = lStart_[k], end = lStart_[k + 1]; e < end; ++e) {
        const int i = lIndex_[e];
        if (subtractNoting(v, i, lValue_[e] * x) && lEtaOfRow_[i] >= 0) pending.insert(lEtaOfRow_[i]);
      }
    }
    v.prune(epsNonz_);
  } else {
    for (int k = 0; k < numEtas; ++k) {
      const double x = v.array[lPivRow_[k]];
      if (x == 0.0) continue;
      for (int e = lStart_[k]; e < lStart_[k + 1]; ++e) v.array[lIndex_[e]] -= lValue_[e] * x;
    }
    v.rebuildIndex();
    v.prune(epsNonz_);
  }
  // Forrest-Tomlin row etas.
  const int numR = static_cast<int>(rPivRow_.size());
  for (int k = 0; k < numR; ++k) {
    double s = 0.0;
    for (int e = rStart_[k]; e < rStart_[k + 1]; ++e) s += rValue_[e] * v.array[rIndex_[e]];
    if (s != 0.0) subtractListed(v, rPivRow_[k], s);
  }
}

void LuKernel::ftranUpper(LuVector& v) {
  LuVector& out = solveWork_;
  out.clear();
  const auto solveSlot = [&](int s) {
    const int r = slotRow_[s];
    const double y = v.array[r];
    if (y == 0.0) return;
    v.array[r] = 0.0;
    if (std::fabs(y) <= epsNonz_) return;
    const double x = y / slotDiag_[s];
    const int pos = slotPos_[s];
    out.array[pos] = x;
    out.index[out.count++] = pos;
    for (int e = ucStart_[s], end = e + ucLen_[s]; e < end; ++e) v.array[ucIndex_[e]] -= ucValue_[e] * x;
  };
  if (v.count < spvtolFtran_ * m_) {
    ++stats_.ftranHyper;
    // Slots in decreasing pivot order, each added when its row is touched.
    PendingSet pending(pendBits_.data(), pendSummary_.data());
    for (int k = 0; k < v.count; ++k) pending.insert(slotOrderPos_[rowSlot_[v.index[k]]]);
    for (int p; (p = pending.popMax()) >= 0;) {
      const int s = order_[p];
      const int r = slotRow_[s];
      const double y = v.array[r];
      if (y == 0.0) continue;
      v.array[r] = 0.0;
      if (std::fabs(y) <= epsNonz_) continue;
      const double x = y / slotDiag_[s];
      const int pos = slotPos_[s];
      out.array[pos] = x;
      out.index[out.count++] = pos;
      for (int e = ucStart_[s], end = e + ucLen_[s]; e < end; ++e) {
        const int i = ucIndex_[e];
        v.array[i] -= ucValue_[e] * x;
        pending.insert(slotOrderPos_[rowSlot_[i]]);
      }
    }
  } else {
    for (int k = static_cast<int>(order_.size()) - 1; k >= 0; --k)
      if (order_[k] >= 0) solveSlot(order_[k]);
  }
  v.count = 0;
  std::swap(v.array, out.array);
  std::swap(v.index, out.index);
  std::swap(v.count, out.count);
  // Product-form etas, in position space.
  const int numPf = static_cast<int>(pfPos_.size());
  for (int k = 0; k < numPf; ++k) {
    const int pos = pfPos_[k];
    double x = v.array[pos];
    if (x == 0.0) continue;
    x /= pfPivot_[k];
    v.array[pos] = x;
    for (int e = pfStart_[k]; e < pfStart_[k + 1]; ++e) subtractListed(v, pfIndex_[e], pfValue_[e] * x);
  }
  if (numPf > 0) v.prune(epsNonz_);
}

int LuKernel::ftran(LuVector& v, bool saveForUpdate) {
  if (!valid_) return kLuNotFactored;
  if (!validInput(v)) return kLuBadInput;
  ++stats_.ftranCalls;
  const auto save = [&]() {
    spike_.clear();
    for (int k = 0; k < v.count; ++k) {
      spike_.array[v.index[k]] = v.array[v.index[k]];
      spike_.index[k] = v.index[k];
    }
    spike_.count = v.count;
    spikeValid_ = true;
  };
  ftranLower(v);
  if (saveForUpdate && activeUpdateType_ == 1) save();
  ftranUpper(v);
  if (saveForUpdate && activeUpdateType_ == 0) save();
  return kLuOk;
}

// ---------------------------------------------------------------- BTRAN

void LuKernel::btranUpper(LuVector& v) {
  // Product-form etas, last first.
  for (int k = static_cast<int>(pfPos_.size()) - 1; k >= 0; --k) {
    const int pos = pfPos_[k];
    double s = v.array[pos];
    for (int e = pfStart_[k]; e < pfStart_[k + 1]; ++e) s -= pfValue_[e] * v.array[pfIndex_[e]];
    s /= pfPivot_[k];
    const double old = v.array[pos];
    if (old == 0.0) {
      if (s == 0.0) continue;
      v.index[v.count++] = pos;
    }
    v.array[pos] = s == 0.0 ? kListedZero : s;
  }
  LuVector& out = solveWork_;
  out.clear();
  const auto solveSlot = [&](int s) {
    const int pos = slotPos_[s];
    const double y = v.array[pos];
    if (y == 0.0) return;
    v.array[pos] = 0.0;
    if (std::fabs(y) <= epsNonz_) return;
    const double z = y / slotDiag_[s];
    const int r = slotRow_[s];
    out.array[r] = z;
    out.index[out.count++] = r;
    for (int e = ur_.start[r], end = e + ur_.len[r]; e < end; ++e)
      v.array[slotPos_[ur_.idx[e]]] -= ur_.val[e] * z;
  };
  if (v.count < spvtolBtran_ * m_) {
    ++stats_.btranHyper;
    // Slots in increasing pivot order, each added when its position is touched.
    PendingSet pending(pendBits_.data(), pendSummary_.data());
    for (int k = 0; k < v.count; ++k) pending.insert(slotOrderPos_[posSlot_[v.index[k]]]);
    for (int p; (p = pending.popMin()) >= 0;) {
      const int s = order_[p];
      const int pos = slotPos_[s];
      const double y = v.array[pos];
      if (y == 0.0) continue;
      v.array[pos] = 0.0;
      if (std::fabs(y) <= epsNonz_) continue;
      const double z = y / slotDiag_[s];
      const int r = slotRow_[s];
      out.array[r] = z;
      out.index[out.count++] = r;
      for (int e = ur_.start[r], end = e + ur_.len[r]; e < end; ++e) {
        const int t = ur_.idx[e];
        v.array[slotPos_[t]] -= ur_.val[e] * z;
        pending.insert(slotOrderPos_[t]);
      }
    }
  } else {
    const int n = static_cast<int>(order_.size());
    for (int k = 0; k < n; ++k)
      if (order_[k] >= 0) solveSlot(order_[k]);
  }
  v.count = 0;
  std::swap(v.array, out.array);
  std::swap(v.index, out.index);
  std::swap(v.count, out.count);
}

void LuKernel::btranLower(LuVector& v) {
  // Forrest-Tomlin row etas, transposed, last first.
  for (int k = static_cast<int>(rPivRow_.size()) - 1; k >= 0; --k) {
    const double x = v.array[rPivRow_[k]];
    if (x == 0.0) continue;
    for (int e = rStart_[k]; e < rStart_[k + 1]; ++e) subtractListed(v, rIndex_[e], rValue_[e] * x);
  }
  if (v.count < spvtolBtran_ * m_) {
    // Rows in decreasing factorisation step, each added when it fills in.
    PendingSet pending(pendBits_.data(), pendSummary_.data());
    for (int t = 0; t < v.count; ++t) pending.insert(stepOfRow_[v.index[t]]);
    for (int t; (t = pending.popMax()) >= 0;) {
      const int i = stepRow_[t];
      const double x = v.array[i];
      if (x == 0.0 || x == kListedZero) continue;
      for (int e = lrStart_[i], end = lrStart_[i + 1]; e < end; ++e) {
        const int j = lrIndex_[e];
        if (subtractNoting(v, j, lrValue_[e] * x)) pending.insert(stepOfRow_[j]);
      }
    }
  } else {
    // Rows in decreasing factorisation step: a row is final once every
    // later-pivoted row has been applied.
    for (int k = m_ - 1; k >= 0; --k) {
      const int i = stepRow_[k];
      const double x = v.array[i];
      if (x == 0.0) continue;
      for (int e = lrStart_[i]; e < lrStart_[i + 1]; ++e) v.array[lrIndex_[e]] -= lrValue_[e] * x;
    }
    v.rebuildIndex();
  }
  v.prune(epsNonz_);
}

int LuKernel::btran(LuVector& v) {
  if (!valid_) return kLuNotFactored;
  if (!validInput(v)) return kLuBadInput;
  ++stats_.btranCalls;
  btranUpper(v);
  btranLower(v);
  return kLuOk;
}

// ---------------------------------------------------------------- update

void LuKernel::loadColumn(int var, LuVector& v) const {
  if (var < matrix_.numCols) {
    const int b = matrix_.begin[var];
    const int len = matrix_.length ? matrix_.length[var] : matrix_.begin[var + 1] - b;
    for (int p = b; p < b + len; ++p)
      if (std::fabs(matrix_.value[p]) > epsNonz_) v.add(matrix_.index[p], matrix_.value[p]);
  } else {
    v.add(var - matrix_.numCols, 1.0);
  }
}

int LuKernel::update(int leavingPos, int enteringVar) {
  try {
    return updateImpl(leavingPos, enteringVar);
  } catch (const std::bad_alloc&) {
    valid_ = false;
    return kLuOutOfMemory;
  }
}

int LuKernel::updateImpl(int leavingPos, int enteringVar) {
  if (!valid_) return kLuNotFactored;
  if (leavingPos < 0 || leavingPos >= m_ || enteringVar < 0 || enteringVar >= matrix_.numCols + m_)
    return kLuBadInput;
  const long long used = static_cast<long long>(ucIndex_.size()) - uEntriesAtFactor_ +
                         static_cast<long long>(rIndex_.size() + pfIndex_.size());
  if (numUpdates_ >= maxUpdates_ || used > spaceLimit_) {
    spikeValid_ = false;
    return kLuOutOfSpace;
  }
  if (!(usePivcol_ && spikeValid_)) {
    spike_.clear();
    loadColumn(enteringVar, spike_);
    ftranLower(spike_);
    if (activeUpdateType_ == 0) ftranUpper(spike_);
  }
  spikeValid_ = false;
  LuVector& sp = spike_;
  double spikeMax = 0.0;
  for (int k = 0; k < sp.count; ++k) spikeMax = std::max(spikeMax, std::fabs(sp.array[sp.index[k]]));
  // Pivots smaller than this relative to the column are singular.
  const double singularTol = epsDiag_ * std::max(1.0, spikeMax);

  if (activeUpdateType_ == 0) {
    const double alpha = sp.array[leavingPos];
    if (!(std::fabs(alpha) > singularTol)) return kLuSingularUpdate;
    pfPos_.push_back(leavingPos);
    pfPivot_.push_back(alpha);
    for (int k = 0; k < sp.count; ++k) {
      const int i = sp.index[k];
      if (i == leavingPos || std::fabs(sp.array[i]) <= epsNonz_) continue;
      pfIndex_.push_back(i);
      pfValue_.push_back(sp.array[i]);
    }
    pfStart_.push_back(static_cast<int>(pfIndex_.size()));
    // The inverse of the eta grows the inverse by about ||column|| / |pivot|.
    updateRcond_ *= std::min(1.0, std::fabs(alpha) / spikeMax);
  } else {
    const int t = posSlot_[leavingPos];
    const int r = slotRow_[t];
    const int numSlots = static_cast<int>(slotRow_.size());
    ensureSlotCapacity(numSlots + 1);
    // Row r of U (beyond the diagonal) is eliminated by the later rows:
    // the multipliers solve mult^T U' = row_r in pivot order.
    double* w = slotWork_.data();
    const int rowLen = ur_.len[r];
    for (int e = ur_.start[r], end = e + rowLen; e < end; ++e) {
      w[ur_.idx[e]] = ur_.val[e];
      starts_[e - ur_.start[r]] = ur_.idx[e];
    }
    // Sparse variant: the slots reachable from row r, in pivot order, by
    // depth-first search; dense variant: every slot after t.
    int n = 0;
    if (rowLen < spvtolUpdate_ * m_) {
      n = depthFirstReach(
          starts_.data(), rowLen,
          [this](int s, const int*& b, const int*& e) {
            const int row = slotRow_[s];
            b = ur_.idx.data() + ur_.start[row];
            e = b + ur_.len[row];
          },
          [](int s) { return s; }, stamp_.data(), nextStamp(), dfsStack_.data(), dfsPos_.data(), reach_.data());
    } else {
      for (int k = slotOrderPos_[t] + 1, end = static_cast<int>(order_.size()); k < end; ++k)
        if (order_[k] >= 0) reach_[n++] = order_[k];
    }
    etaIndex_.clear();
    etaValue_.clear();
    double diag = sp.array[r];
    for (int k = 0; k < n; ++k) {
      const int s = reach_[k];
      const double val = w[s];
      if (val == 0.0) continue;
      w[s] = 0.0;
      const double mult = val / slotDiag_[s];
      if (std::fabs(mult) <= epsNonz_) continue;
      const int row = slotRow_[s];
      etaIndex_.push_back(row);
      etaValue_.push_back(mult);
      diag -= mult * sp.array[row];
      for (int e = ur_.start[row], end = e + ur_.len[row]; e < end; ++e) w[ur_.idx[e]] -= ur_.val[e] * mult;
    }
    if (!(std::fabs(diag) > singularTol)) return kLuSingularUpdate;

    // Commit: the row eta, then U loses column t and row r and gains the
    // spike as its last column.
    if (!etaIndex_.empty()) {
      rPivRow_.push_back(r);
      rIndex_.insert(rIndex_.end(), etaIndex_.begin(), etaIndex_.end());
      rValue_.insert(rValue_.end(), etaValue_.begin(), etaValue_.end());
      rStart_.push_back(static_cast<int>(rIndex_.size()));
    }
    for (int e = ucStart_[t], end = e + ucLen_[t]; e < end; ++e) {
      const int i = ucIndex_[e];
      ur_.removeAt(i, ur_.find(i, t));
    }
    ucLen_[t] = 0;
    for (int e = ur_.start[r], end = e + ur_.len[r]; e < end; ++e) {
      const int j = ur_.idx[e];
      for (int c = ucStart_[j], cend = c + ucLen_[j]; c < cend; ++c) {
        if (ucIndex_[c] != r) continue;
        const int last = ucStart_[j] + --ucLen_[j];
        ucIndex_[c] = ucIndex_[last];
        ucValue_[c] = ucValue_[last];
        break;
      }
    }
    ur_.len[r] = 0;
    const int s = numSlots;
    slotRow_.push_back(r);
    slotPos_.push_back(leavingPos);
    slotDiag_.push_back(diag);
    ucStart_.push_back(static_cast<int>(ucIndex_.size()));
    for (int k = 0; k < sp.count; ++k) {
      const int i = sp.index[k];
      const double x = sp.array[i];
      if (i == r || std::fabs(x) <= epsNonz_) continue;
      ucIndex_.push_back(i);
      ucValue_.push_back(x);
      ur_.push(i, s, x);
    }
    ucLen_.push_back(static_cast<int>(ucIndex_.size()) - ucStart_[s]);
    order_[slotOrderPos_[t]] = -1;
    slotOrderPos_.push_back(static_cast<int>(order_.size()));
    order_.push_back(s);
    rowSlot_[r] = s;
    posSlot_[leavingPos] = s;
    diagMin_ = std::min(diagMin_, std::fabs(diag));
    diagMax_ = std::max(diagMax_, std::fabs(diag));
    updateRcond_ = diagMin_ / diagMax_;
  }
  sp.clear();
  basic_[leavingPos] = enteringVar;
  ++numUpdates_;
  return kLuOk;
}

// ---------------------------------------------------------------- condition

double LuKernel::matrixNorm1() const {
  double norm = 0.0;
  for (int pos = 0; pos < m_; ++pos) {
    const int var = basic_[pos];
    double sum = 1.0;
    if (var < matrix_.numCols) {
      sum = 0.0;
      const int b = matrix_.begin[var];
      const int len = matrix_.length ? matrix_.length[var] : matrix_.begin[var + 1] - b;
      for (int p = b; p < b + len; ++p) sum += std::fabs(matrix_.value[p]);
    }
    norm = std::max(norm, sum);
  }
  return norm;
}

void LuKernel::multiplyB(const std::vector<double>& x, std::vector<double>& y) const {
  std::fill(y.begin(), y.end(), 0.0);
  for (int pos = 0; pos < m_; ++pos) {
    const int var = basic_[pos];
    const double xp = x[pos];
    if (xp == 0.0) continue;
    if (var < matrix_.numCols) {
      const int b = matrix_.begin[var];
      const int len = matrix_.length ? matrix_.length[var] : matrix_.begin[var + 1] - b;
      for (int p = b; p < b + len; ++p) y[matrix_.index[p]] += matrix_.value[p] * xp;
    } else {
      y[var - matrix_.numCols] += xp;
    }
  }
}

void LuKernel::multiplyBt(const std::vector<double>& x, std::vector<double>& y) const {
  for (int pos = 0; pos < m_; ++pos) {
    const int var = basic_[pos];
    double s = 0.0;
    if (var < matrix_.numCols) {
      const int b = matrix_.begin[var];
      const int len = matrix_.length ? matrix_.length[var] : matrix_.begin[var + 1] - b;
      for (int p = b; p < b + len; ++p) s += matrix_.value[p] * x[matrix_.index[p]];
    } else {
      s = x[var - matrix_.numCols];
    }
    y[pos] = s;
  }
}

void LuKernel::solveDense(std::vector<double>& x, bool transposed) {
  LuVector& v = work2_;
  v.clear();
  std::copy(x.begin(), x.end(), v.array.begin());
  v.count = -1;
  if (transposed) {
    btran(v);
  } else {
    ftran(v);
  }
  std::fill(x.begin(), x.end(), 0.0);
  for (int k = 0; k < v.count; ++k) x[v.index[k]] = v.array[v.index[k]];
  v.clear();
}

double LuKernel::rcond() {
  if (!valid_ || m_ == 0) return valid_ ? 1.0 : 0.0;
  // Hager's method with Higham's refinements: est(||B^-1||_1).
  constexpr int kMaxHagerSteps = 5;
  const int n = m_;
  std::vector<double> x(static_cast<size_t>(n), 1.0 / n), y(static_cast<size_t>(n)), z(static_cast<size_t>(n));
  double est = 0.0;
  int lastJ = -1;
  for (int iter = 0; iter < kMaxHagerSteps; ++iter) {
    y = x;
    solveDense(y, false);
    double ny = 0.0;
    for (double d : y) ny += std::fabs(d);
    if (iter > 0 && ny <= est) break;
    est = ny;
    for (int i = 0; i < n; ++i) z[i] = y[i] >= 0.0 ? 1.0 : -1.0;
    solveDense(z, true);
    int j = 0;
    double zx = 0.0;
    for (int i = 0; i < n; ++i) {
      if (std::fabs(z[i]) > std::fabs(z[j])) j = i;
      zx += z[i] * x[i];
    }
    if (iter > 0 && (std::fabs(z[j]) <= zx || j == lastJ)) break;
    lastJ = j;
    std::fill(x.begin(), x.end(), 0.0);
    x[j] = 1.0;
  }
  // Higham's alternating test vector guards against the cases Hager's
  // iteration misses.
  for (int i = 0; i < n; ++i) x[i] = (i % 2 ? -1.0 : 1.0) * (1.0 + (n > 1 ? static_cast<double>(i) / (n - 1) : 0.0));
  solveDense(x, false);
  double alt = 0.0;
  for (double d : x) alt += std::fabs(d);
  est = std::max(est, 2.0 * alt / (3.0 * n));
  const double normB = matrixNorm1();
  if (est == 0.0 || normB == 0.0) return 0.0;
  return 1.0 / (normB * est);
}

double LuKernel::condEstimate(double p) {
  if (!valid_ || m_ == 0) return valid_ ? 1.0 : std::numeric_limits<double>::infinity();
  // p-norm power method (Boyd; Higham): a lower bound of ||A||_p that is
  // usually within a small factor.
  constexpr int kMaxPowerSteps = 8;
  // Relative slack of the convergence test z^T x >= ||z||_q (rounding).
  constexpr double kPowerConvergedSlack = 1e-10;
  const int n = m_;
  const double q = p / (p - 1.0);
  const auto pnorm = [](const std::vector<double>& v, double e) {
    double s = 0.0;
    for (double d : v) s += std::pow(std::fabs(d), e);
    return std::pow(s, 1.0 / e);
  };
  const auto dual = [](std::vector<double>& v, double e, double norm) {
    for (double& d : v) d = (d >= 0.0 ? 1.0 : -1.0) * std::pow(std::fabs(d) / norm, e - 1.0);
  };
  const auto estimate = [&](auto&& apply, auto&& applyT) {
    std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n)), z(static_cast<size_t>(n));
    // Start from a vector of varied positive entries (as the all-ones vector
    // but less likely to be orthogonal to the dominant direction).
    for (int i = 0; i < n; ++i) x[i] = 1.0 + 0.5 * std::sin(static_cast<double>(i));
    const double nx = pnorm(x, p);
    for (double& d : x) d /= nx;
    double est = 0.0;
    for (int iter = 0; iter < kMaxPowerSteps; ++iter) {
      apply(x, y);
      const double ny = pnorm(y, p);
      est = std::max(est, ny);
      if (ny == 0.0) break;
      dual(y, p, ny);
      applyT(y, z);
      const double nz = pnorm(z, q);
      double zx = 0.0;
      for (int i = 0; i < n; ++i) zx += z[i] * x[i];
      if (nz == 0.0 || nz <= zx * (1.0 + kPowerConvergedSlack)) break;
      x = z;
      dual(x, q, nz);
    }
    return est;
  };
  const double normB = estimate([&](const std::vector<double>& a, std::vector<double>& b) { multiplyB(a, b); },
                                [&](const std::vector<double>& a, std::vector<double>& b) { multiplyBt(a, b); });
  const double normInv = estimate(
      [&](const std::vector<double>& a, std::vector<double>& b) {
        b = a;
        solveDense(b, false);
      },
      [&](const std::vector<double>& a, std::vector<double>& b) {
        b = a;
        solveDense(b, true);
      });
  return normB * normInv;
}

}  // namespace torva
