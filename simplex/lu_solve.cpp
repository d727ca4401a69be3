// LU kernel: FTRAN and BTRAN.
//
// Each stage of a solve (L, the Forrest-Tomlin row etas, U) runs either a
// dense-indexed loop over the whole stage or a hypersparse traversal that
// touches only the pivots whose entries become nonzero. Following Hall and
// McKinnon (2005), the choice is made from the density the stage's result is
// predicted to have, not from its input: a sparse column whose result fills
// in is solved faster by the dense-indexed loop, whose cost does not depend on
// the result. The prediction is a running average of the densities of earlier
// results of the same stage and solve kind (entering columns, unit rows and
// steepest-edge vectors behave very differently).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

#include "simplex/lu.hpp"
#include "simplex/lu_sparse.hpp"

namespace torva {

namespace {

// Weight of the newest result in the running average of result densities
// (the average remembers about the last 20 solves of a kind; Hall and McKinnon
// use a similar exponential average).
constexpr double kDensityWeight = 0.05;

}  // namespace

LuKernel::DensityRecord::DensityRecord() {
  for (auto& dir : predicted)
    for (auto& kind : dir)
      for (double& p : kind) p = -1.0;
}

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

// The density compared with the threshold is that of the stage's pivots the
// solve touches: the stage's input or predicted result, over the number of
// pivots the dense-indexed loop visits (m for U and for L transposed, the
// number of etas for L and for the row etas, which can be far fewer than m).
bool LuKernel::useHyper(bool transposed, LuSolveKind kind, Stage stage, int inputCount, int stagePivots) const {
  const double tol = transposed ? spvtolBtran_ : spvtolFtran_;
  const double limit = tol * stagePivots;
  if (!(inputCount < limit)) return false;
  const double predicted = density_.predicted[transposed][static_cast<int>(kind)][stage];
  return predicted * m_ < limit;  // negative (nothing recorded yet) counts as sparse
}

void LuKernel::recordDensity(bool transposed, LuSolveKind kind, Stage stage, int resultCount) {
  if (m_ == 0) return;
  double& p = density_.predicted[transposed][static_cast<int>(kind)][stage];
  const double d = static_cast<double>(resultCount) / m_;
  p = p < 0.0 ? d : (1.0 - kDensityWeight) * p + kDensityWeight * d;
}

double LuKernel::predictedDensity(LuSolveKind kind, bool transposed) const {
  return density_.predicted[transposed][static_cast<int>(kind)][transposed ? kStageL : kStageU];
}

// ---------------------------------------------------------------- FTRAN

// Every eta in order; entries that fill in are listed as they appear, so the
// cost is the number of etas plus the work, not m.
void LuKernel::ftranLowerDense(std::span<LuVector* const> vs) {
  const int numEtas = static_cast<int>(lPivRow_.size());
  for (int k = 0; k < numEtas; ++k) {
    const int piv = lPivRow_[k];
    for (LuVector* v : vs) {
      const double x = v->array[piv];
      if (x == 0.0 || x == kLuListedZero) continue;
      for (int e = lStart_[k]; e < lStart_[k + 1]; ++e) luSubtractNoting(*v, lIndex_[e], lValue_[e] * x);
    }
  }
  for (LuVector* v : vs) v->prune(epsNonz_);
}

// The etas of the nonzero rows, in eta order; an eta is added when its pivot
// row fills in. Skips exactly the etas that the dense loop skips (a pivot
// entry listed as cancelled holds kLuListedZero).
void LuKernel::ftranLowerHyper(LuVector& v) {
  LuPendingSet pending(pendBits_.data(), pendSummary_.data());
  for (int t = 0; t < v.count; ++t) {
    const int k = lEtaOfRow_[v.index[t]];
    if (k >= 0) pending.insert(k);
  }
  for (int k; (k = pending.popMin()) >= 0;) {
    const double x = v.array[lPivRow_[k]];
    if (x == 0.0 || x == kLuListedZero) continue;
    for (int e = lStart_[k], end = lStart_[k + 1]; e < end; ++e) {
      const int i = lIndex_[e];
      if (luSubtractNoting(v, i, lValue_[e] * x) && lEtaOfRow_[i] >= 0) pending.insert(lEtaOfRow_[i]);
    }
  }
  v.prune(epsNonz_);
}

void LuKernel::ftranLower(LuVector& v, LuSolveKind kind) {
  if (useHyper(false, kind, kStageL, v.count, static_cast<int>(lPivRow_.size()))) {
    ftranLowerHyper(v);
  } else {
    LuVector* one = &v;
    ftranLowerDense(std::span<LuVector* const>(&one, 1));
  }
  recordDensity(false, kind, kStageL, v.count);
}

// Row etas: row r_k -= sum m_e x[row_e], in eta order.
void LuKernel::ftranRowEtasDense(std::span<LuVector* const> vs) {
  const int numR = static_cast<int>(rPivRow_.size());
  for (int k = 0; k < numR; ++k) {
    for (LuVector* v : vs) {
      double s = 0.0;
      for (int e = rStart_[k]; e < rStart_[k + 1]; ++e) s += rValue_[e] * v->array[rIndex_[e]];
      if (s != 0.0) luSubtractListed(*v, rPivRow_[k], s);
    }
  }
}

// Only the etas that name a nonzero row, found through the per-row lists of
// etas and taken in eta order; an eta that fills its pivot row in adds the
// later etas naming that row. The work is proportional to the etas touching
// the result, not to their number, and the sums are those of the dense loop.
void LuKernel::ftranRowEtasHyper(LuVector& v) {
  LuPendingSet pending(pendBits_.data(), pendSummary_.data());
  for (int t = 0; t < v.count; ++t) {
    const int i = v.index[t];
    for (int p = rEtasOfRow_.start[i], e = p + rEtasOfRow_.len[i]; p < e; ++p) pending.insert(rEtasOfRow_.idx[p]);
  }
  for (int k; (k = pending.popMin()) >= 0;) {
    double s = 0.0;
    for (int e = rStart_[k]; e < rStart_[k + 1]; ++e) s += rValue_[e] * v.array[rIndex_[e]];
    if (s == 0.0) continue;
    const int r = rPivRow_[k];
    const bool filled = v.array[r] == 0.0;
    luSubtractListed(v, r, s);
    if (!filled) continue;
    for (int p = rEtasOfRow_.start[r], e = p + rEtasOfRow_.len[r]; p < e; ++p)
      if (rEtasOfRow_.idx[p] > k) pending.insert(rEtasOfRow_.idx[p]);
  }
}

void LuKernel::ftranRowEtas(LuVector& v, LuSolveKind kind) {
  if (rPivRow_.empty()) return;
  if (useHyper(false, kind, kStageR, v.count, static_cast<int>(rPivRow_.size()))) {
    ftranRowEtasHyper(v);
  } else {
    LuVector* one = &v;
    ftranRowEtasDense(std::span<LuVector* const>(&one, 1));
  }
  recordDensity(false, kind, kStageR, v.count);
}

void LuKernel::ftranUpperDense(std::span<LuVector* const> vs, std::span<LuVector* const> outs) {
  const size_t n = vs.size();
  const OrderSlot* const slots = orderSlot_.data();
  const int* const uIndex = ucIndex_.data();
  const double* const uValue = ucValue_.data();
  for (int k = static_cast<int>(orderSlot_.size()) - 1; k >= 0; --k) {
    const OrderSlot& sl = slots[k];
    if (sl.row < 0) continue;
    for (size_t t = 0; t < n; ++t) {
      LuVector& v = *vs[t];
      double* const a = v.array.data();
      const double y = a[sl.row];
      if (y == 0.0) continue;
      a[sl.row] = 0.0;
      if (std::fabs(y) <= epsNonz_) continue;
      const double x = y / sl.diag;
      LuVector& out = *outs[t];
      out.array[sl.pos] = x;
      out.index[out.count++] = sl.pos;
      for (int e = sl.ucStart, end = e + sl.ucLen; e < end; ++e) a[uIndex[e]] -= uValue[e] * x;
    }
  }
}

// Slots in decreasing pivot order, each added when its row is touched.
void LuKernel::ftranUpperHyper(LuVector& v, LuVector& out) {
  LuPendingSet pending(pendBits_.data(), pendSummary_.data());
  const OrderSlot* const slots = orderSlot_.data();
  const int* const rowOrder = rowOrder_.data();
  const int* const uIndex = ucIndex_.data();
  const double* const uValue = ucValue_.data();
  double* const a = v.array.data();
  double* const outArray = out.array.data();
  int* const outIndex = out.index.data();
  int outCount = out.count;
  for (int k = 0; k < v.count; ++k) pending.insert(rowOrder[v.index[k]]);
  for (int p; (p = pending.popMax()) >= 0;) {
    const OrderSlot& sl = slots[p];
    const double y = a[sl.row];
    if (y == 0.0) continue;
    a[sl.row] = 0.0;
    if (std::fabs(y) <= epsNonz_) continue;
    const double x = y / sl.diag;
    outArray[sl.pos] = x;
    outIndex[outCount++] = sl.pos;
    // An entry already nonzero is already pending (pivots are taken in
    // order, so no processed pivot is touched again).
    for (int e = sl.ucStart, end = e + sl.ucLen; e < end; ++e) {
      const int i = uIndex[e];
      const double old = a[i];
      a[i] = old - uValue[e] * x;
      if (old == 0.0) pending.insert(rowOrder[i]);
    }
  }
  out.count = outCount;
}

// Product-form etas, in position space.
void LuKernel::ftranProductForm(LuVector& v) {
  const int numPf = static_cast<int>(pfPos_.size());
  for (int k = 0; k < numPf; ++k) {
    const int pos = pfPos_[k];
    double x = v.array[pos];
    if (x == 0.0) continue;
    x /= pfPivot_[k];
    v.array[pos] = x;
    for (int e = pfStart_[k]; e < pfStart_[k + 1]; ++e) luSubtractListed(v, pfIndex_[e], pfValue_[e] * x);
  }
  if (numPf > 0) v.prune(epsNonz_);
}

// U^-1 through the work vector (the result is in position space), swapped
// back into v.
void LuKernel::solveUpper(LuVector& v, bool hyper) {
  LuVector& out = solveWork_;
  out.clear();
  if (hyper) {
    ftranUpperHyper(v, out);
  } else {
    LuVector* in = &v;
    LuVector* o = &out;
    ftranUpperDense(std::span<LuVector* const>(&in, 1), std::span<LuVector* const>(&o, 1));
  }
  v.count = 0;
  std::swap(v.array, out.array);
  std::swap(v.index, out.index);
  std::swap(v.count, out.count);
}

void LuKernel::ftranUpper(LuVector& v, LuSolveKind kind) {
  const bool hyper = useHyper(false, kind, kStageU, v.count, m_);
  if (hyper) ++stats_.ftranHyper;
  solveUpper(v, hyper);
  recordDensity(false, kind, kStageU, v.count);
  ftranProductForm(v);
}

int LuKernel::ftran(LuVector& v, bool saveForUpdate) { return ftranKind(v, LuSolveKind::kColumn, saveForUpdate); }
int LuKernel::ftran(LuVector& v, LuSolveKind kind, bool saveForUpdate) { return ftranKind(v, kind, saveForUpdate); }

int LuKernel::ftranKind(LuVector& v, LuSolveKind kind, bool saveForUpdate) {
  if (!valid_) return kLuNotFactored;
  if (!validInput(v)) return kLuBadInput;
  ++stats_.ftranCalls;
  const auto save = [&]() {
    if (v.count < 0) v.rebuildIndex();
    spike_.clear();
    for (int k = 0; k < v.count; ++k) {
      spike_.array[v.index[k]] = v.array[v.index[k]];
      spike_.index[k] = v.index[k];
    }
    spike_.count = v.count;
    spikeValid_ = true;
  };
  ftranLower(v, kind);
  ftranRowEtas(v, kind);
  if (saveForUpdate && activeUpdateType_ == 1) save();
  ftranUpper(v, kind);
  if (saveForUpdate && activeUpdateType_ == 0) save();
  return kLuOk;
}

// ---------------------------------------------------------------- BTRAN

// Product-form etas, last first, in position space.
void LuKernel::btranProductForm(LuVector& v) {
  for (int k = static_cast<int>(pfPos_.size()) - 1; k >= 0; --k) {
    const int pos = pfPos_[k];
    double s = v.array[pos];
    for (int e = pfStart_[k]; e < pfStart_[k + 1]; ++e) s -= pfValue_[e] * v.array[pfIndex_[e]];
    s /= pfPivot_[k];
    if (v.array[pos] == 0.0) {
      if (s == 0.0) continue;
      v.index[v.count++] = pos;
    }
    v.array[pos] = s == 0.0 ? kLuListedZero : s;
  }
}

void LuKernel::btranUpperDense(std::span<LuVector* const> vs, std::span<LuVector* const> outs) {
  const size_t n = vs.size();
  const int numOrder = static_cast<int>(order_.size());
  for (int k = 0; k < numOrder; ++k) {
    const int s = order_[k];
    if (s < 0) continue;
    const int pos = slotPos_[s];
    const int r = slotRow_[s];
    for (size_t t = 0; t < n; ++t) {
      LuVector& v = *vs[t];
      const double y = v.array[pos];
      if (y == 0.0) continue;
      v.array[pos] = 0.0;
      if (std::fabs(y) <= epsNonz_) continue;
      const double z = y / slotDiag_[s];
      LuVector& out = *outs[t];
      out.array[r] = z;
      out.index[out.count++] = r;
      for (int e = ur_.start[r], end = e + ur_.len[r]; e < end; ++e) v.array[slotPos_[ur_.idx[e]]] -= ur_.val[e] * z;
    }
  }
}

// Slots in increasing pivot order, each added when its position is touched.
void LuKernel::btranUpperHyper(LuVector& v, LuVector& out) {
  LuPendingSet pending(pendBits_.data(), pendSummary_.data());
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
      const double old = v.array[slotPos_[t]];
      v.array[slotPos_[t]] = old - ur_.val[e] * z;
      if (old == 0.0) pending.insert(slotOrderPos_[t]);
    }
  }
}

void LuKernel::btranUpper(LuVector& v, LuSolveKind kind) {
  btranProductForm(v);
  LuVector& out = solveWork_;
  out.clear();
  if (useHyper(true, kind, kStageU, v.count, m_)) {
    ++stats_.btranHyper;
    btranUpperHyper(v, out);
  } else {
    LuVector* in = &v;
    LuVector* o = &out;
    btranUpperDense(std::span<LuVector* const>(&in, 1), std::span<LuVector* const>(&o, 1));
  }
  v.count = 0;
  std::swap(v.array, out.array);
  std::swap(v.index, out.index);
  std::swap(v.count, out.count);
  recordDensity(true, kind, kStageU, v.count);
}

// Forrest-Tomlin row etas, transposed, last first. An eta acts only when its
// pivot row is nonzero, so the loop costs one test per eta.
void LuKernel::btranRowEtas(LuVector& v) {
  for (int k = static_cast<int>(rPivRow_.size()) - 1; k >= 0; --k) {
    const double x = v.array[rPivRow_[k]];
    if (x == 0.0) continue;
    for (int e = rStart_[k]; e < rStart_[k + 1]; ++e) luSubtractListed(v, rIndex_[e], rValue_[e] * x);
  }
}

// Rows in decreasing factorisation step: a row is final once every
// later-pivoted row has been applied. Rows without entries change nothing
// and are not visited.
void LuKernel::btranLowerDense(std::span<LuVector* const> vs) {
  for (int k = static_cast<int>(lrRows_.size()) - 1; k >= 0; --k) {
    const int i = lrRows_[k];
    for (LuVector* v : vs) {
      const double x = v->array[i];
      if (x == 0.0) continue;
      for (int e = lrStart_[i]; e < lrStart_[i + 1]; ++e) v->array[lrIndex_[e]] -= lrValue_[e] * x;
    }
  }
  for (LuVector* v : vs) {
    v->rebuildIndex();
    v->prune(epsNonz_);
  }
}

// Rows in decreasing factorisation step, each added when it fills in. Rows
// without entries in L change nothing and are not added (on network-like
// bases most rows are such).
void LuKernel::btranLowerHyper(LuVector& v) {
  LuPendingSet pending(pendBits_.data(), pendSummary_.data());
  const int* const rowStart = lrStart_.data();
  const int* const step = stepOfRow_.data();
  for (int t = 0; t < v.count; ++t) {
    const int i = v.index[t];
    if (rowStart[i + 1] > rowStart[i]) pending.insert(step[i]);
  }
  for (int t; (t = pending.popMax()) >= 0;) {
    const int i = stepRow_[t];
    const double x = v.array[i];
    if (x == 0.0 || x == kLuListedZero) continue;
    for (int e = rowStart[i], end = rowStart[i + 1]; e < end; ++e) {
      const int j = lrIndex_[e];
      if (luSubtractNoting(v, j, lrValue_[e] * x) && rowStart[j + 1] > rowStart[j]) pending.insert(step[j]);
    }
  }
  v.prune(epsNonz_);
}

void LuKernel::btranLower(LuVector& v, LuSolveKind kind) {
  btranRowEtas(v);
  if (useHyper(true, kind, kStageL, v.count, m_)) {
    btranLowerHyper(v);
  } else {
    LuVector* one = &v;
    btranLowerDense(std::span<LuVector* const>(&one, 1));
  }
  recordDensity(true, kind, kStageL, v.count);
}

int LuKernel::btran(LuVector& v) { return btranKind(v, LuSolveKind::kRow); }
int LuKernel::btran(LuVector& v, LuSolveKind kind) { return btranKind(v, kind); }

int LuKernel::btranKind(LuVector& v, LuSolveKind kind) {
  if (!valid_) return kLuNotFactored;
  if (!validInput(v)) return kLuBadInput;
  ++stats_.btranCalls;
  btranUpper(v, kind);
  btranLower(v, kind);
  return kLuOk;
}

// ---------------------------------------------------------------- several right-hand sides

int LuKernel::ftranMany(std::span<LuVector> vs) {
  if (!valid_) return kLuNotFactored;
  for (LuVector& v : vs)
    if (!validInput(v)) return kLuBadInput;
  try {
    std::vector<LuVector*> in, outs;
    if (manyOut_.size() < vs.size()) manyOut_.resize(vs.size());
    for (size_t t = 0; t < vs.size(); ++t) {
      in.push_back(&vs[t]);
      if (manyOut_[t].dimension() != m_) manyOut_[t].resize(m_);
      manyOut_[t].clear();
      outs.push_back(&manyOut_[t]);
    }
    stats_.ftranCalls += static_cast<long long>(vs.size());
    ftranLowerDense(in);
    ftranRowEtasDense(in);
    ftranUpperDense(in, outs);
    for (size_t t = 0; t < vs.size(); ++t) {
      LuVector& v = vs[t];
      v.count = 0;
      std::swap(v.array, manyOut_[t].array);
      std::swap(v.index, manyOut_[t].index);
      std::swap(v.count, manyOut_[t].count);
      ftranProductForm(v);
    }
  } catch (const std::bad_alloc&) {
    return kLuOutOfMemory;
  }
  return kLuOk;
}

int LuKernel::btranMany(std::span<LuVector> vs) {
  if (!valid_) return kLuNotFactored;
  for (LuVector& v : vs)
    if (!validInput(v)) return kLuBadInput;
  try {
    std::vector<LuVector*> in, outs;
    if (manyOut_.size() < vs.size()) manyOut_.resize(vs.size());
    for (size_t t = 0; t < vs.size(); ++t) {
      btranProductForm(vs[t]);
      in.push_back(&vs[t]);
      if (manyOut_[t].dimension() != m_) manyOut_[t].resize(m_);
      manyOut_[t].clear();
      outs.push_back(&manyOut_[t]);
    }
    stats_.btranCalls += static_cast<long long>(vs.size());
    btranUpperDense(in, outs);
    for (size_t t = 0; t < vs.size(); ++t) {
      LuVector& v = vs[t];
      v.count = 0;
      std::swap(v.array, manyOut_[t].array);
      std::swap(v.index, manyOut_[t].index);
      std::swap(v.count, manyOut_[t].count);
      btranRowEtas(v);
    }
    btranLowerDense(in);
  } catch (const std::bad_alloc&) {
    return kLuOutOfMemory;
  }
  return kLuOk;
}

}  // namespace torva
