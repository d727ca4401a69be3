// LU kernel: factorisation of a basis. The phases on the active submatrix
// live in lu_factor_phases.cpp; this file runs them, repeats the run with a
// larger threshold when the entries grow too much, and installs the pivot
// sequence as the factors the solves and updates work on.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

#include "simplex/lu.hpp"
#include "simplex/lu_factor_work.hpp"

namespace torva {

namespace {

// The threshold at which growth is accepted.
constexpr double kMaxRetryThreshold = 0.5;
// Each repeat multiplies the threshold by this factor, starting from at least
// kMinRetryThreshold (a threshold of 0 would stay 0).
constexpr double kRetryFactor = 10.0;
constexpr double kMinRetryThreshold = 1e-3;

}  // namespace

// ---------------------------------------------------------------- work holder

LuFactorWorkHolder::LuFactorWorkHolder() = default;
LuFactorWorkHolder::~LuFactorWorkHolder() = default;
LuFactorWorkHolder::LuFactorWorkHolder(const LuFactorWorkHolder&) {}
LuFactorWorkHolder& LuFactorWorkHolder::operator=(const LuFactorWorkHolder&) { return *this; }
LuFactorWorkHolder::LuFactorWorkHolder(LuFactorWorkHolder&&) noexcept = default;
LuFactorWorkHolder& LuFactorWorkHolder::operator=(LuFactorWorkHolder&&) noexcept = default;
LuFactorWork& LuFactorWorkHolder::operator*() {
  if (!work_) work_ = std::make_unique<LuFactorWork>();
  return *work_;
}

// ---------------------------------------------------------------- kernel

LuKernel::LuKernel(int m, LogFunction log) : m_(std::max(m, 0)), log_(std::move(log)) {}
LuKernel::~LuKernel() = default;
LuKernel::LuKernel(LuKernel&&) noexcept = default;
LuKernel& LuKernel::operator=(LuKernel&&) noexcept = default;
LuKernel::LuKernel(const LuKernel&) = default;
LuKernel& LuKernel::operator=(const LuKernel&) = default;

long long LuKernel::nnzU() const {
  long long n = 0;
  for (int s : order_)
    if (s >= 0) n += ucLen_[s];
  return n;
}

int LuKernel::factorize(const LuMatrix& a, std::span<const int> basic) {
  try {
    // Threshold pivoting bounds the multipliers, not the growth of the
    // entries over many steps; when the growth exceeds the limit the
    // factorisation is repeated with a tenfold threshold (up to
    // kMaxRetryThreshold, where it is accepted as it is).
    // A threshold raised for growth stays raised for the next bases (the
    // simplex changes one column at a time), until the option is set again.
    double threshold = std::max(epsPivRel_, learnedThreshold_);
    for (;;) {
      const bool last = threshold >= kMaxRetryThreshold;
      const int rc = factorizeImpl(a, basic, threshold, last);
      if (rc != kLuGrowthExceeded) {
        pivotThresholdUsed_ = threshold;
        if (threshold > epsPivRel_) learnedThreshold_ = threshold;
        return rc;
      }
      ++growthRetries_;
      threshold = std::min(kMaxRetryThreshold, std::max(threshold, kMinRetryThreshold) * kRetryFactor);
    }
  } catch (const std::bad_alloc&) {
    valid_ = false;
    return kLuOutOfMemory;
  }
}

void LuKernel::ensureSlotCapacity(int slots) {
  const size_t n = static_cast<size_t>(std::max(slots, m_));
  if (stamp_.size() < n) stamp_.resize(n, 0);
  if (dfsStack_.size() < n) {
    dfsStack_.resize(n);
    dfsPos_.resize(n);
    reach_.resize(n);
    starts_.resize(n);
  }
  if (static_cast<int>(slotWork_.size()) < slots) slotWork_.resize(static_cast<size_t>(slots), 0.0);
  const size_t words = (n + 63) / 64;
  if (pendBits_.size() < words) {
    pendBits_.resize(words, 0);
    pendSummary_.resize((words + 63) / 64, 0);
  }
}

int LuKernel::factorizeImpl(const LuMatrix& a, std::span<const int> basic, double pivRel, bool acceptGrowth) {
  valid_ = false;
  spikeValid_ = false;
  if (static_cast<int>(basic.size()) != m_ || a.numRows != m_ || a.numCols < 0) return kLuBadInput;
  rank_ = 0;
  unpivotedRows_.clear();
  unpivotedPositions_.clear();
  if (a.numCols > 0 && !a.begin) return kLuBadInput;

  LuFactorWork& w = *work_;
  w.numCandidates = numCandidates_;
  w.pivRel = pivRel;
  w.epsPivAbs = epsPivAbs_;
  w.epsNonz = epsNonz_;
  w.acceptGrowth = acceptGrowth;
  if (const int rc = w.load(a, basic, m_); rc != kLuOk) return rc;
  matrix_ = a;
  basic_.assign(basic.begin(), basic.end());
  w.columnSingletons();
  w.rowSingletons();
  if (w.eliminateBump() == kLuGrowthExceeded) return kLuGrowthExceeded;
  if (!pairUnpivoted(w)) return kLuBadInput;
  installSlots(w);
  installUpper(w);
  installLower(w);
  resetUpdates();
  factorNorm1_ = rank_ == m_ ? w.basisNorm1 : -1.0;
  valid_ = true;
  return rank_ < m_ ? kLuSingular : kLuOk;
}

// Rank, and the pairing of unpivoted rows with dependent positions: each
// dependent position gets the unit column of an unpivoted row (pivot 1).
bool LuKernel::pairUnpivoted(LuFactorWork& w) {
  const int m = m_;
  rank_ = static_cast<int>(w.pivRow.size());
  for (int i = 0; i < m; ++i)
    if (!w.rowDone[i]) unpivotedRows_.push_back(i);
  for (int j = 0; j < m; ++j)
    if (!w.colDone[j] || w.colRejected[j]) unpivotedPositions_.push_back(j);
  if (unpivotedRows_.size() != unpivotedPositions_.size()) return false;  // cannot happen
  for (size_t k = 0; k < unpivotedRows_.size(); ++k) {
    w.pivRow.push_back(unpivotedRows_[k]);
    w.pivCol.push_back(unpivotedPositions_[k]);
    w.pivVal.push_back(1.0);
    basic_[unpivotedPositions_[k]] = matrix_.numCols + unpivotedRows_[k];
    w.colRejected[unpivotedPositions_[k]] = 1;
  }
  return true;
}

// Slots = steps of the factorisation, in pivot order.
void LuKernel::installSlots(const LuFactorWork& w) {
  const int m = m_;
  slotRow_ = w.pivRow;
  slotPos_ = w.pivCol;
  slotDiag_ = w.pivVal;
  stepRow_ = w.pivRow;
  stepOfRow_.assign(static_cast<size_t>(m), 0);
  for (int k = 0; k < m; ++k) stepOfRow_[stepRow_[k]] = k;
  order_.resize(static_cast<size_t>(m));
  slotOrderPos_.resize(static_cast<size_t>(m));
  rowSlot_.assign(static_cast<size_t>(m), -1);
  posSlot_.assign(static_cast<size_t>(m), -1);
  for (int s = 0; s < m; ++s) {
    order_[s] = s;
    slotOrderPos_[s] = s;
    rowSlot_[slotRow_[s]] = s;
    posSlot_[slotPos_[s]] = s;
  }
}

// U column-wise by slot and row-wise by row (entries of dependent columns
// are dropped).
void LuKernel::installUpper(const LuFactorWork& w) {
  const int m = m_;
  ucLen_.assign(static_cast<size_t>(m), 0);
  const size_t nu = w.uRow.size();
  for (size_t k = 0; k < nu; ++k)
    if (!w.colRejected[w.uCol[k]]) ++ucLen_[posSlot_[w.uCol[k]]];
  ucStart_.resize(static_cast<size_t>(m));
  int total = 0;
  for (int s = 0; s < m; ++s) {
    ucStart_[s] = total;
    total += ucLen_[s];
  }
  ucIndex_.resize(static_cast<size_t>(total));
  ucValue_.resize(static_cast<size_t>(total));
  std::vector<int> fillPos(ucStart_.begin(), ucStart_.end());
  std::vector<int> urCount(static_cast<size_t>(m), 0);
  for (size_t k = 0; k < nu; ++k) {
    if (w.colRejected[w.uCol[k]]) continue;
    const int s = posSlot_[w.uCol[k]];
    ucIndex_[fillPos[s]] = w.uRow[k];
    ucValue_[fillPos[s]++] = w.uVal[k];
    ++urCount[w.uRow[k]];
  }
  uEntriesAtFactor_ = total;
  // Row-wise copy, with a little room for updates.
  ur_.init(m, true, total + 2 * m + 64);
  for (int i = 0; i < m; ++i) ur_.reserve(i, urCount[i]);
  for (int s = 0; s < m; ++s)
    for (int k = ucStart_[s], e = k + ucLen_[s]; k < e; ++k) ur_.push(ucIndex_[k], s, ucValue_[k]);
  installOrderSlots();
}

void LuKernel::installOrderSlots() {
  const int numOrder = static_cast<int>(order_.size());
  orderSlot_.resize(static_cast<size_t>(numOrder));
  rowOrder_.assign(static_cast<size_t>(m_), -1);
  for (int p = 0; p < numOrder; ++p) {
    const int s = order_[p];
    if (s < 0) {
      orderSlot_[p] = {-1, -1, 0, 0, 0.0};
      continue;
    }
    orderSlot_[p] = {slotRow_[s], slotPos_[s], ucStart_[s], ucLen_[s], slotDiag_[s]};
    rowOrder_[slotRow_[s]] = p;
  }
}

// L's column etas, their pivot-row map and the transposed copy for BTRAN.
void LuKernel::installLower(LuFactorWork& w) {
  const int m = m_;
  std::swap(lStart_, w.lStart);
  std::swap(lPivRow_, w.lPivRow);
  std::swap(lIndex_, w.lIndex);
  std::swap(lValue_, w.lValue);
  lEtaOfRow_.assign(static_cast<size_t>(m), -1);
  for (int k = 0; k < static_cast<int>(lPivRow_.size()); ++k) lEtaOfRow_[lPivRow_[k]] = k;
  lrStart_.assign(static_cast<size_t>(m + 1), 0);
  for (int i : lIndex_) ++lrStart_[i + 1];
  for (int i = 0; i < m; ++i) lrStart_[i + 1] += lrStart_[i];
  lrIndex_.resize(lIndex_.size());
  lrValue_.resize(lIndex_.size());
  lrRows_.clear();
  for (int k = 0; k < m; ++k)
    if (lrStart_[stepRow_[k] + 1] > lrStart_[stepRow_[k]]) lrRows_.push_back(stepRow_[k]);
  std::vector<int> next(lrStart_.begin(), lrStart_.end() - 1);
  for (int k = 0; k < static_cast<int>(lPivRow_.size()); ++k) {
    for (int e = lStart_[k]; e < lStart_[k + 1]; ++e) {
      const int i = lIndex_[e];
      lrIndex_[next[i]] = lPivRow_[k];
      lrValue_[next[i]++] = lValue_[e];
    }
  }
}

// Empties the update files and restarts the update counters and the
// condition estimate kept through the updates.
void LuKernel::resetUpdates() {
  const int m = m_;
  rStart_.assign(1, 0);
  rPivRow_.clear();
  rIndex_.clear();
  rValue_.clear();
  rEtasOfRow_.init(m, false, 4 * m + 64);
  pfStart_.assign(1, 0);
  pfPos_.clear();
  pfIndex_.clear();
  pfPivot_.clear();
  pfValue_.clear();
  numUpdates_ = 0;
  activeUpdateType_ = updateType_;
  spaceLimit_ = static_cast<long long>(memExp_) *
                (static_cast<long long>(lIndex_.size()) + uEntriesAtFactor_ + m);
  rescanDiagExtremes();
  factorRcond_ = m > 0 ? diagMin_ / diagMax_ : 1.0;
  etaRcond_ = 1.0;
  updateRcond_ = factorRcond_;
  solveWork_.resize(m);
  work2_.resize(m);
  spike_.resize(m);
  ensureSlotCapacity(m);
}

}  // namespace torva
