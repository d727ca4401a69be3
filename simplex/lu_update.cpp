// LU kernel: the basis updates (Forrest-Tomlin 1972 row-eta update of U, or
// product-form etas), with the stability test against the caller's pivot,
// and the extension of the factors by new rows and columns.
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "simplex/lu.hpp"
#include "simplex/lu_sparse.hpp"

namespace torva {

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
    return updateImpl(leavingPos, enteringVar, nullptr);
  } catch (const std::bad_alloc&) {
    valid_ = false;
    return kLuOutOfMemory;
  }
}

int LuKernel::update(int leavingPos, int enteringVar, double pivot) {
  try {
    return updateImpl(leavingPos, enteringVar, &pivot);
  } catch (const std::bad_alloc&) {
    valid_ = false;
    return kLuOutOfMemory;
  }
}

namespace {

// True when the new diagonal newDiag disagrees with the one the caller's
// pivot implies (expected) beyond the relative tolerance.
bool unstable(double newDiag, double expected) {
  const double scale = std::max(std::fabs(newDiag), std::fabs(expected));
  return !(std::fabs(newDiag - expected) <= kLuUnstableRelTol * scale);
}

}  // namespace

int LuKernel::updateImpl(int leavingPos, int enteringVar, const double* pivot) {
  if (!valid_) return kLuNotFactored;
  if (leavingPos < 0 || leavingPos >= m_ || enteringVar < 0 || enteringVar >= matrix_.numCols + m_)
    return kLuBadInput;
  if (pivot && !std::isfinite(*pivot)) return kLuBadInput;
  const long long used = static_cast<long long>(ucIndex_.size()) - uEntriesAtFactor_ +
                         static_cast<long long>(rIndex_.size() + pfIndex_.size());
  if (numUpdates_ >= maxUpdates_ || used > spaceLimit_) {
    spikeValid_ = false;
    return kLuOutOfSpace;
  }
  if (!(usePivcol_ && spikeValid_)) {
    spike_.clear();
    loadColumn(enteringVar, spike_);
    ftranLower(spike_, LuSolveKind::kColumn);
    ftranRowEtas(spike_, LuSolveKind::kColumn);
    if (activeUpdateType_ == 0) ftranUpper(spike_, LuSolveKind::kColumn);
  }
  spikeValid_ = false;
  double spikeMax = 0.0;
  for (int k = 0; k < spike_.count; ++k) spikeMax = std::max(spikeMax, std::fabs(spike_.array[spike_.index[k]]));
  const int rc = activeUpdateType_ == 0 ? updateProductForm(leavingPos, spikeMax, pivot)
                                        : updateForrestTomlin(leavingPos, spikeMax, pivot);
  spike_.clear();
  if (rc != kLuOk) return rc;
  basic_[leavingPos] = enteringVar;
  ++numUpdates_;
  factorNorm1_ = -1.0;
  return kLuOk;
}

int LuKernel::updateProductForm(int leavingPos, double spikeMax, const double* pivot) {
  const LuVector& sp = spike_;
  const double alpha = sp.array[leavingPos];
  // Pivots smaller than this relative to the column are singular.
  if (!(std::fabs(alpha) > epsDiag_ * std::max(1.0, spikeMax))) return kLuSingularUpdate;
  if (pivot && unstable(alpha, *pivot)) return kLuUnstableUpdate;
  pfPos_.push_back(leavingPos);
  pfPivot_.push_back(alpha);
  for (int k = 0; k < sp.count; ++k) {
    const int i = sp.index[k];
    if (i == leavingPos || std::fabs(sp.array[i]) <= epsNonz_) continue;
    pfIndex_.push_back(i);
    pfValue_.push_back(sp.array[i]);
  }
  pfStart_.push_back(static_cast<int>(pfIndex_.size()));
  // Each eta grows the inverse by about ||column|| / |pivot|; the estimate
  // is the weakest of the etas and of the fresh factors (not their product,
  // which would fall with every update even where the basis stays as well
  // conditioned as it was).
  etaRcond_ = std::min(etaRcond_, std::fabs(alpha) / spikeMax);
  updateRcond_ = std::min(factorRcond_, etaRcond_);
  return kLuOk;
}

double LuKernel::eliminateUpperRow(int r, int firstOrderPos, int rowLen, const LuVector* spike) {
  // The multipliers solve mult^T U' = row_r in pivot order. Sparse variant:
  // the slots reachable from the row's entries by depth-first search, in
  // topological (hence valid pivot) order; dense variant: every later slot.
  double* w = slotWork_.data();
  int n = 0;
  if (rowLen < spvtolUpdate_ * m_) {
    n = luDepthFirstReach(
        starts_.data(), rowLen,
        [this](int s, const int*& b, const int*& e) {
          const int row = slotRow_[s];
          b = ur_.idx.data() + ur_.start[row];
          e = b + ur_.len[row];
        },
        [](int s) { return s; }, stamp_.data(), nextStamp(), dfsStack_.data(), dfsPos_.data(), reach_.data());
  } else {
    for (int k = firstOrderPos, end = static_cast<int>(order_.size()); k < end; ++k)
      if (order_[k] >= 0) reach_[n++] = order_[k];
  }
  etaIndex_.clear();
  etaValue_.clear();
  double diag = spike ? spike->array[r] : 0.0;
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
    if (spike) diag -= mult * spike->array[row];
    for (int e = ur_.start[row], end = e + ur_.len[row]; e < end; ++e) w[ur_.idx[e]] -= ur_.val[e] * mult;
  }
  return diag;
}

// Appends the multipliers in etaIndex_/etaValue_ as the row eta of row r and
// lists it under every row it names.
void LuKernel::appendRowEta(int r) {
  if (etaIndex_.empty()) return;
  const int k = static_cast<int>(rPivRow_.size());
  rPivRow_.push_back(r);
  rIndex_.insert(rIndex_.end(), etaIndex_.begin(), etaIndex_.end());
  rValue_.insert(rValue_.end(), etaValue_.begin(), etaValue_.end());
  rStart_.push_back(static_cast<int>(rIndex_.size()));
  for (int i : etaIndex_) rEtasOfRow_.push(i, k, 0.0);
}

// Appends a slot (row, position, diagonal) with the column's entries other
// than its own row as its U column, last in pivot order.
void LuKernel::appendSlot(int row, int pos, double diag, const LuVector& column) {
  const int s = static_cast<int>(slotRow_.size());
  slotRow_.push_back(row);
  slotPos_.push_back(pos);
  slotDiag_.push_back(diag);
  ucStart_.push_back(static_cast<int>(ucIndex_.size()));
  for (int k = 0; k < column.count; ++k) {
    const int i = column.index[k];
    const double x = column.array[i];
    if (i == row || std::fabs(x) <= epsNonz_) continue;
    ucIndex_.push_back(i);
    ucValue_.push_back(x);
    ur_.push(i, s, x);
  }
  ucLen_.push_back(static_cast<int>(ucIndex_.size()) - ucStart_[s]);
  rowOrder_[row] = static_cast<int>(order_.size());
  slotOrderPos_.push_back(static_cast<int>(order_.size()));
  order_.push_back(s);
  orderSlot_.push_back({row, pos, ucStart_[s], ucLen_[s], diag});
  rowSlot_[row] = s;
  posSlot_[pos] = s;
  noteDiag(std::fabs(diag));
}

// The diagonal extremes over the live slots, with how many slots hold each.
void LuKernel::rescanDiagExtremes() {
  diagMin_ = std::numeric_limits<double>::infinity();
  diagMax_ = 0.0;
  diagMinCount_ = diagMaxCount_ = 0;
  for (int s : order_)
    if (s >= 0) noteDiag(std::fabs(slotDiag_[s]));
}

void LuKernel::noteDiag(double a) {
  if (a < diagMin_) {
    diagMin_ = a;
    diagMinCount_ = 1;
  } else if (a == diagMin_) {
    ++diagMinCount_;
  }
  if (a > diagMax_) {
    diagMax_ = a;
    diagMaxCount_ = 1;
  } else if (a == diagMax_) {
    ++diagMaxCount_;
  }
}

// Forgets a slot that leaves; true when it was the last to hold an extreme
// (the extremes then need a rescan).
bool LuKernel::dropDiag(double a) {
  bool lost = false;
  if (a == diagMin_) lost = --diagMinCount_ == 0;
  if (a == diagMax_) lost = --diagMaxCount_ == 0 || lost;
  return lost;
}

int LuKernel::updateForrestTomlin(int leavingPos, double spikeMax, const double* pivot) {
  const LuVector& sp = spike_;
  const int t = posSlot_[leavingPos];
  const int r = slotRow_[t];
  ensureSlotCapacity(static_cast<int>(slotRow_.size()) + 1);
  // Row r of U (beyond the diagonal) is eliminated by the later rows.
  const int rowLen = ur_.len[r];
  for (int e = ur_.start[r], end = e + rowLen; e < end; ++e) {
    slotWork_[ur_.idx[e]] = ur_.val[e];
    starts_[e - ur_.start[r]] = ur_.idx[e];
  }
  const double diag = eliminateUpperRow(r, slotOrderPos_[t] + 1, rowLen, &sp);
  if (!(std::fabs(diag) > epsDiag_ * std::max(1.0, spikeMax))) return kLuSingularUpdate;
  // The determinant changes by the pivot: the new diagonal replaces the old
  // one of slot t (the permutation that moves the slot last is symmetric).
  if (pivot && unstable(diag, *pivot * slotDiag_[t])) return kLuUnstableUpdate;

  // Commit: the row eta, then U loses column t and row r and gains the
  // spike as its last column.
  appendRowEta(r);
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
      orderSlot_[slotOrderPos_[j]].ucLen = ucLen_[j];
      break;
    }
  }
  ur_.len[r] = 0;
  order_[slotOrderPos_[t]] = -1;
  orderSlot_[slotOrderPos_[t]].row = -1;
  const bool extremeLost = dropDiag(std::fabs(slotDiag_[t]));
  appendSlot(r, leavingPos, diag, sp);
  // The diagonal ratio over the live slots; rescanned only when the slot
  // that left was the last to hold an extreme (so that a replaced small
  // pivot stops weighing on the estimate). Bases whose diagonal is mostly
  // +-1 would otherwise rescan at nearly every update.
  if (extremeLost) rescanDiagExtremes();
  updateRcond_ = diagMin_ / diagMax_;
  return kLuOk;
}

// ---------------------------------------------------------------- extension

int LuKernel::extend(const LuMatrix& a) {
  try {
    return extendImpl(a);
  } catch (const std::bad_alloc&) {
    valid_ = false;
    return kLuOutOfMemory;
  }
}

// The extended basis is [B 0; R I] with R the new rows' entries in the basic
// columns. Its inverse's new rows are -R B^-1: each new row is eliminated by
// U as a Forrest-Tomlin update eliminates a row (after the product-form etas,
// B = L U E gives R B^-1 = (E^-T R^T)^T U^-1 L^-1), and the multipliers become
// the row eta of that row; its slack is a new slot with diagonal 1.
int LuKernel::extendImpl(const LuMatrix& a) {
  if (!valid_) return kLuNotFactored;
  const int oldM = m_, oldN = matrix_.numCols;
  if (a.numRows < oldM || a.numCols < oldN || (a.numCols > 0 && !a.begin)) return kLuBadInput;
  const long long used = static_cast<long long>(ucIndex_.size()) - uEntriesAtFactor_ +
                         static_cast<long long>(rIndex_.size() + pfIndex_.size());
  if (used > spaceLimit_) return kLuOutOfSpace;
  const int newM = a.numRows, addN = a.numCols - oldN;
  // New rows' entries by basis position (checked before anything changes).
  std::vector<std::vector<std::pair<int, double>>> rows(static_cast<size_t>(newM - oldM));
  for (int p = 0; p < oldM; ++p) {
    const int var = basic_[p];
    if (var >= oldN) continue;
    const int b = a.begin[var];
    const int len = a.length ? a.length[var] : a.begin[var + 1] - b;
    if (len > 0 && (!a.index || !a.value)) return kLuBadInput;
    for (int q = b; q < b + len; ++q) {
      const int i = a.index[q];
      if (i < 0 || i >= newM) return kLuBadInput;
      if (i >= oldM && std::fabs(a.value[q]) > epsNonz_) rows[i - oldM].push_back({p, a.value[q]});
    }
  }
  spikeValid_ = false;
  ensureSlotCapacity(static_cast<int>(slotRow_.size()) + (newM - oldM));
  LuVector& rowVec = work2_;  // dimension oldM until the factors grow
  std::vector<std::pair<int, std::vector<std::pair<int, double>>>> etas;
  for (int q = 0; q < newM - oldM; ++q) {
    rowVec.clear();
    for (const auto& [p, x] : rows[q]) rowVec.add(p, x);
    btranProductForm(rowVec);
    int rowLen = 0;
    for (int k = 0; k < rowVec.count; ++k) {
      const int p = rowVec.index[k];
      if (rowVec.array[p] == 0.0 || rowVec.array[p] == kLuListedZero) continue;
      slotWork_[posSlot_[p]] = rowVec.array[p];
      starts_[rowLen++] = posSlot_[p];
    }
    eliminateUpperRow(-1, 0, rowLen, nullptr);
    std::vector<std::pair<int, double>> eta;
    for (size_t e = 0; e < etaIndex_.size(); ++e) eta.push_back({etaIndex_[e], etaValue_[e]});
    etas.push_back({oldM + q, std::move(eta)});
  }
  rowVec.clear();

  // Grow the row- and position-indexed structures, then add the new rows.
  m_ = newM;
  matrix_ = a;
  factorNorm1_ = -1.0;
  for (int& var : basic_)
    if (var >= oldN) var += addN;
  for (int i = oldM; i < newM; ++i) basic_.push_back(a.numCols + i);
  lEtaOfRow_.resize(static_cast<size_t>(newM), -1);
  lrStart_.resize(static_cast<size_t>(newM + 1), lrStart_.back());
  for (int i = oldM; i < newM; ++i) {
    stepRow_.push_back(i);
    stepOfRow_.push_back(i);
  }
  rowSlot_.resize(static_cast<size_t>(newM), -1);
  posSlot_.resize(static_cast<size_t>(newM), -1);
  rowOrder_.resize(static_cast<size_t>(newM), -1);
  ur_.addLists(newM - oldM);
  rEtasOfRow_.addLists(newM - oldM);
  for (auto* v : {&solveWork_, &work2_, &spike_}) v->resize(newM);
  LuVector empty(newM);
  for (auto& [row, eta] : etas) {
    etaIndex_.clear();
    etaValue_.clear();
    for (const auto& [i, x] : eta) {
      etaIndex_.push_back(i);
      etaValue_.push_back(x);
    }
    appendRowEta(row);
    appendSlot(row, row, 1.0, empty);
  }
  ensureSlotCapacity(static_cast<int>(slotRow_.size()));
  updateRcond_ = activeUpdateType_ == 0 ? std::min(factorRcond_, etaRcond_) : diagMin_ / diagMax_;
  return kLuOk;
}

}  // namespace torva
