// LU kernel: the phases of a factorisation on the active submatrix, after
// Suhl and Suhl (1990): column singletons, row singletons, then a Markowitz
// search with threshold pivoting over the remaining bump.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "simplex/lu_factor_work.hpp"

namespace torva {

namespace {

// Largest growth of the entries (relative to the largest entry of the basis)
// accepted before refactorising with a larger threshold: the residual of the
// solves grows like eps * growth, and 1e6 keeps it near 1e-10.
constexpr double kMaxGrowth = 1e6;
// Rounding left in an exactly dependent column after elimination, relative
// to the largest magnitude its entries reached: the backward error of
// Gaussian elimination is a small multiple of eps times that peak (Wilkinson;
// Higham 2002, section 9.3); the factor 100 covers the accumulation over the
// updates a column receives in practice. For columns of unit scale the
// absolute tolerance (1e-8) is the larger one until the entries of a column
// grow beyond about 4.5e5.
constexpr double kDependRel = 100.0 * DBL_EPSILON;

// Basis positions ahead of the one being loaded whose column entries are
// prefetched (the matrix read is latency-bound; a few columns cover it).
constexpr int kLoadPrefetchAhead = 8;

}  // namespace

// ---------------------------------------------------------------- active matrix

void LuActiveMatrix::initLists(int m) {
  colHead.assign(static_cast<size_t>(m + 1), -1);
  rowHead.assign(static_cast<size_t>(m + 1), -1);
  colNext.assign(static_cast<size_t>(m), -1);
  colPrev.assign(static_cast<size_t>(m), -1);
  rowNext.assign(static_cast<size_t>(m), -1);
  rowPrev.assign(static_cast<size_t>(m), -1);
  colMax.assign(static_cast<size_t>(m), 0.0);
  colMaxValid.assign(static_cast<size_t>(m), 0);
}

void LuActiveMatrix::link(std::vector<int>& head, std::vector<int>& next, std::vector<int>& prev, int x,
                          int count) {
  prev[x] = -1;
  next[x] = head[count];
  if (head[count] >= 0) prev[head[count]] = x;
  head[count] = x;
}

void LuActiveMatrix::unlink(std::vector<int>& head, std::vector<int>& next, std::vector<int>& prev, int x,
                            int count) {
  if (prev[x] >= 0) {
    next[prev[x]] = next[x];
  } else {
    head[count] = next[x];
  }
  if (next[x] >= 0) prev[next[x]] = prev[x];
  prev[x] = next[x] = -1;
}

double LuActiveMatrix::columnMax(int j) {
  if (!colMaxValid[j]) {
    double mx = 0.0;
    for (int p = col.start[j], e = p + col.len[j]; p < e; ++p) mx = std::max(mx, std::fabs(col.val[p]));
    colMax[j] = mx;
    colMaxValid[j] = 1;
  }
  return colMax[j];
}

// ---------------------------------------------------------------- helpers

double LuFactorWork::dependTol(int j) const {
  return std::max(epsPivAbs * std::min(1.0, colScale_[j]), kDependRel * colPeak_[j]);
}

void LuFactorWork::takePivot(int i, int j, double x) {
  pivRow.push_back(i);
  pivCol.push_back(j);
  pivVal.push_back(x);
  rowDone[i] = 1;
  colDone[j] = 1;
}

void LuFactorWork::closeEta(int pivotRow) {
  if (static_cast<int>(lIndex.size()) > lStart.back()) {
    lPivRow.push_back(pivotRow);
    lStart.push_back(static_cast<int>(lIndex.size()));
  }
}

// Drops the entries of pivoted columns from row i. Rows lose entries lazily:
// a row list may name columns already pivoted and, after a cancellation,
// columns that no longer hold the row (found missing when the column is
// searched); rowCnt stays exact.
void LuFactorWork::purgeRow(int i) {
  int keep = act_.row.start[i];
  for (int p = act_.row.start[i], e = p + act_.row.len[i]; p < e; ++p)
    if (!colDone[act_.row.idx[p]]) act_.row.idx[keep++] = act_.row.idx[p];
  act_.row.len[i] = keep - act_.row.start[i];
}

// ---------------------------------------------------------------- load

int LuFactorWork::load(const LuMatrix& a, std::span<const int> basic, int m) {
  m_ = m;
  const auto colLen = [&](int j) { return a.length ? a.length[j] : a.begin[j + 1] - a.begin[j]; };
  long long nnz = 0;
  for (int k = 0; k < m; ++k) {
    const int v = basic[k];
    if (v < 0 || v >= a.numCols + m) return kLuBadInput;
    if (v < a.numCols) {
      if (colLen(v) < 0 || a.begin[v] < 0) return kLuBadInput;
      if (colLen(v) > 0 && (!a.index || !a.value)) return kLuBadInput;
      nnz += colLen(v);
    } else {
      nnz += 1;
    }
  }
  if (nnz > std::numeric_limits<int>::max() / 4) return kLuOutOfMemory;

  basisMax_ = 1.0;  // slacks contribute 1
  entryMax_ = 0.0;
  basisNorm1 = 0.0;
  act_.col.init(m, true, static_cast<int>(2 * nnz + m + 64));
  act_.initLists(m);
  mark_.assign(static_cast<size_t>(m), -1);
  act_.rowCnt.assign(static_cast<size_t>(m), 0);
  colScale_.assign(static_cast<size_t>(m), 1.0);
  for (int k = 0; k < m; ++k) {
    // The basic columns lie scattered over the matrix: ask for the entries
    // of a column a few positions ahead while this one is loaded.
    if (k + kLoadPrefetchAhead < m && basic[k + kLoadPrefetchAhead] < a.numCols) {
      const int ahead = a.begin[basic[k + kLoadPrefetchAhead]];
      __builtin_prefetch(a.index + ahead);
      __builtin_prefetch(a.value + ahead);
    }
    const int v = basic[k];
    if (v >= a.numCols) {
      act_.col.reserve(k, 1);
      act_.col.push(k, v - a.numCols, 1.0);
      ++act_.rowCnt[v - a.numCols];
      basisNorm1 = std::max(basisNorm1, 1.0);
      continue;
    }
    const int b = a.begin[v], len = colLen(v);
    act_.col.reserve(k, len);
    double scale = 0.0, sum = 0.0;
    for (int p = b; p < b + len; ++p) {
      const int i = a.index[p];
      if (i < 0 || i >= m || mark_[i] == k) return kLuBadInput;  // bad or repeated row index
      mark_[i] = k;
      const double x = a.value[p];
      sum += std::fabs(x);
      if (!(std::fabs(x) > epsNonz)) continue;  // drops zeros (and NaN)
      act_.col.push(k, i, x);
      ++act_.rowCnt[i];
      scale = std::max(scale, std::fabs(x));
    }
    colScale_[k] = scale;
    basisMax_ = std::max(basisMax_, scale);
    basisNorm1 = std::max(basisNorm1, sum);
  }
  colPeak_ = colScale_;
  act_.row.init(m, false, static_cast<int>(2 * nnz + m + 64));
  for (int i = 0; i < m; ++i) act_.row.reserve(i, act_.rowCnt[i]);
  for (int j = 0; j < m; ++j)
    for (int p = act_.col.start[j], e = p + act_.col.len[j]; p < e; ++p) act_.row.push(act_.col.idx[p], j, 0.0);

  for (auto* v : {&pivRow, &pivCol, &uRow, &uCol, &lPivRow, &lIndex}) v->clear();
  for (auto* v : {&pivVal, &uVal, &lValue}) v->clear();
  pivRow.reserve(static_cast<size_t>(m));
  pivCol.reserve(static_cast<size_t>(m));
  pivVal.reserve(static_cast<size_t>(m));
  uRow.reserve(static_cast<size_t>(nnz));
  uCol.reserve(static_cast<size_t>(nnz));
  uVal.reserve(static_cast<size_t>(nnz));
  lStart.assign(1, 0);
  rowDone.assign(static_cast<size_t>(m), 0);
  colDone.assign(static_cast<size_t>(m), 0);
  colRejected.assign(static_cast<size_t>(m), 0);
  return kLuOk;
}

// ---------------------------------------------------------------- singletons

// Column singletons. Pivoting on one takes its row out of the other columns,
// which may create new column singletons. Columns keep the entries of pivoted
// rows until the phase ends (so that no column is searched, which matters for
// dense columns); those entries are U's.
void LuFactorWork::columnSingletons() {
  colCnt_.assign(act_.col.len.begin(), act_.col.len.end());
  pivotRowOfCol_.assign(static_cast<size_t>(m_), -1);
  stack_.clear();
  for (int j = 0; j < m_; ++j)
    if (colCnt_[j] == 1) stack_.push_back(j);
  while (!stack_.empty()) {
    const int j = stack_.back();
    stack_.pop_back();
    if (colDone[j] || colCnt_[j] != 1) continue;
    int at = act_.col.start[j];
    while (rowDone[act_.col.idx[at]]) ++at;
    const int i = act_.col.idx[at];
    const double x = act_.col.val[at];
    colCnt_[j] = 0;
    if (std::fabs(x) < dependTol(j)) {
      // A column whose only remaining entry is tiny is dependent.
      --act_.rowCnt[i];
      rejectColumn(j);
      continue;
    }
    takePivot(i, j, x);
    pivotRowOfCol_[j] = i;
    for (int p = act_.row.start[i], e = p + act_.row.len[i]; p < e; ++p) {
      const int j2 = act_.row.idx[p];
      if (!colDone[j2] && --colCnt_[j2] == 1) stack_.push_back(j2);
    }
    act_.row.len[i] = 0;
    act_.rowCnt[i] = 0;
  }
  // Entries in pivoted rows, other than the pivots, go to U.
  for (int j = 0; j < m_; ++j) {
    int keep = act_.col.start[j];
    for (int p = act_.col.start[j], e = p + act_.col.len[j]; p < e; ++p) {
      const int i = act_.col.idx[p];
      if (!rowDone[i]) {
        act_.col.idx[keep] = i;
        act_.col.val[keep++] = act_.col.val[p];
      } else if (!(colDone[j] && pivotRowOfCol_[j] == i)) {
        uRow.push_back(i);
        uCol.push_back(j);
        uVal.push_back(act_.col.val[p]);
      }
    }
    act_.col.len[j] = colDone[j] ? 0 : keep - act_.col.start[j];
  }
}

// Row singletons that pass the threshold. Their column goes to L; removing it
// from the other rows may create new row singletons.
void LuFactorWork::rowSingletons() {
  stack_.clear();
  for (int i = 0; i < m_; ++i)
    if (!rowDone[i] && act_.rowCnt[i] == 1) stack_.push_back(i);
  while (!stack_.empty()) {
    const int i = stack_.back();
    stack_.pop_back();
    if (rowDone[i] || act_.rowCnt[i] != 1) continue;
    int j = -1;
    for (int p = act_.row.start[i], e = p + act_.row.len[i]; p < e && j < 0; ++p)
      if (!colDone[act_.row.idx[p]]) j = act_.row.idx[p];
    const double x = act_.col.val[act_.col.find(j, i)];
    if (std::fabs(x) < dependTol(j) || std::fabs(x) < pivRel * act_.columnMax(j)) continue;
    takePivot(i, j, x);
    act_.row.len[i] = 0;
    act_.rowCnt[i] = 0;
    for (int p = act_.col.start[j], e = p + act_.col.len[j]; p < e; ++p) {
      const int i2 = act_.col.idx[p];
      if (i2 == i) continue;
      lIndex.push_back(i2);
      lValue.push_back(act_.col.val[p] / x);
      if (--act_.rowCnt[i2] == 1) stack_.push_back(i2);
    }
    act_.col.len[j] = 0;
    closeEta(i);
  }
}

// ---------------------------------------------------------------- bump

void LuFactorWork::dropDependentColumn(int j) {
  act_.unlinkCol(j);
  for (int p = act_.col.start[j], e = p + act_.col.len[j]; p < e; ++p) {
    const int i = act_.col.idx[p];
    act_.unlinkRow(i);
    if (--act_.rowCnt[i] > 0) act_.linkRow(i);
  }
  act_.col.len[j] = 0;
  rejectColumn(j);
}

// Markowitz search over columns and rows of increasing count, stopping after
// numCandidates candidates have been examined or when no better merit is
// possible. Ties go to the larger pivot relative to its column.
LuCandidate LuFactorWork::markowitzSearch() {
  LuCandidate best;
  long long bestMerit = std::numeric_limits<long long>::max();
  double bestRatio = 0.0;
  int examined = 0;
  const auto consider = [&](int i, int j, double x, long long merit, double cmax) {
    const double ratio = std::fabs(x) / cmax;
    if (merit < bestMerit || (merit == bestMerit && ratio > bestRatio)) {
      bestMerit = merit;
      best = {i, j, x};
      bestRatio = ratio;
    }
  };
  for (int cnt = 1; cnt <= m_; ++cnt) {
    const long long floorMerit = static_cast<long long>(cnt - 1) * (cnt - 1);
    if (best.col >= 0 && bestMerit <= floorMerit) break;
    const auto enough = [&] { return best.col >= 0 && (examined >= numCandidates || bestMerit <= floorMerit); };
    for (int j = act_.colHead[cnt]; j >= 0;) {
      const int next = act_.colNext[j];
      const double cmax = act_.columnMax(j);
      if (cmax < dependTol(j)) {
        dropDependentColumn(j);
        j = next;
        continue;
      }
      const double tol = std::max(pivRel * cmax, dependTol(j));
      for (int p = act_.col.start[j], e = p + act_.col.len[j]; p < e; ++p) {
        const double x = act_.col.val[p];
        if (std::fabs(x) < tol) continue;
        const int i = act_.col.idx[p];
        consider(i, j, x, static_cast<long long>(act_.rowCnt[i] - 1) * (cnt - 1), cmax);
      }
      ++examined;
      if (enough()) return best;
      j = next;
    }
    for (int i = act_.rowHead[cnt]; i >= 0; i = act_.rowNext[i]) {
      for (int p = act_.row.start[i], e = p + act_.row.len[i]; p < e; ++p) {
        const int j = act_.row.idx[p];
        if (colDone[j]) continue;
        const double cmax = act_.columnMax(j);
        if (cmax < dependTol(j)) continue;  // rejected when its column is searched
        const long long merit = static_cast<long long>(cnt - 1) * (act_.col.len[j] - 1);
        if (merit > bestMerit) continue;
        const int at = act_.col.find(j, i);
        if (at < 0) continue;  // cancelled entry
        const double x = act_.col.val[at];
        if (std::fabs(x) < std::max(pivRel * cmax, dependTol(j))) continue;
        consider(i, j, x, merit, cmax);
      }
      ++examined;
      if (enough()) return best;
    }
  }
  return best;
}

// Schur complement update of column j by the pivot row entry u: the rows of
// the pivot column (marked with step) lose mult * u. False when the growth
// limit is exceeded.
bool LuFactorWork::updateColumn(int j, double u, int step) {
  act_.unlink(act_.colHead, act_.colNext, act_.colPrev, j, act_.col.len[j] + 1);
  ++seenStamp_;
  for (int c = act_.col.start[j]; c < act_.col.start[j] + act_.col.len[j];) {
    const int i = act_.col.idx[c];
    if (rowMark_[i] == step) {
      rowSeen_[i] = seenStamp_;
      const double x = act_.col.val[c] - rowMult_[i] * u;
      if (std::fabs(x) <= epsNonz) {
        act_.col.removeAt(j, c);
        --act_.rowCnt[i];
        continue;
      }
      act_.col.val[c] = x;
      colPeak_[j] = std::max(colPeak_[j], std::fabs(x));
    }
    ++c;
  }
  for (int i : lRows_) {
    if (rowSeen_[i] == seenStamp_) continue;
    const double x = -rowMult_[i] * u;
    if (std::fabs(x) <= epsNonz) continue;
    act_.col.push(j, i, x);
    if (act_.row.len[i] == act_.row.cap[i]) purgeRow(i);
    act_.row.push(i, j, 0.0);
    ++act_.rowCnt[i];
    colPeak_[j] = std::max(colPeak_[j], std::fabs(x));
  }
  entryMax_ = std::max(entryMax_, colPeak_[j]);
  if (entryMax_ > kMaxGrowth * basisMax_ && !acceptGrowth) return false;
  act_.colMaxValid[j] = 0;
  if (act_.col.len[j] > 0) {
    act_.linkCol(j);
  } else {
    rejectColumn(j);
  }
  return true;
}

// Eliminates with pivot c: the pivot column's multipliers go to L, the pivot
// row's entries to U, and every column of the pivot row is updated.
int LuFactorWork::eliminate(const LuCandidate& c, int step) {
  const int p = c.row, q = c.col;
  takePivot(p, q, c.value);
  act_.unlinkCol(q);
  act_.unlinkRow(p);
  lRows_.clear();
  for (int k = act_.col.start[q], e = k + act_.col.len[q]; k < e; ++k) {
    const int i = act_.col.idx[k];
    if (i == p) continue;
    const double mult = act_.col.val[k] / c.value;
    lIndex.push_back(i);
    lValue.push_back(mult);
    rowMult_[i] = mult;
    rowMark_[i] = step;
    lRows_.push_back(i);
    act_.unlinkRow(i);
    --act_.rowCnt[i];
  }
  act_.col.len[q] = 0;
  closeEta(p);
  // The pivot row is copied first: fill-in may move it within the row pool.
  pivotRowCols_.assign(act_.row.idx.begin() + act_.row.start[p],
                       act_.row.idx.begin() + act_.row.start[p] + act_.row.len[p]);
  for (int j : pivotRowCols_) {
    if (colDone[j]) continue;
    const int at = act_.col.find(j, p);
    if (at < 0) continue;  // cancelled entry, or a repeated one already taken
    const double u = act_.col.val[at];
    act_.col.removeAt(j, at);
    act_.colMaxValid[j] = 0;
    uRow.push_back(p);
    uCol.push_back(j);
    uVal.push_back(u);
    if (lRows_.empty()) {
      // Only the count of column j changed.
      act_.unlink(act_.colHead, act_.colNext, act_.colPrev, j, act_.col.len[j] + 1);
      if (act_.col.len[j] > 0) {
        act_.linkCol(j);
      } else {
        rejectColumn(j);
      }
      continue;
    }
    if (!updateColumn(j, u, step)) return kLuGrowthExceeded;
  }
  act_.row.len[p] = 0;
  act_.rowCnt[p] = 0;
  for (int i : lRows_)
    if (act_.rowCnt[i] > 0) act_.linkRow(i);
  return kLuOk;
}

int LuFactorWork::eliminateBump() {
  for (int j = 0; j < m_; ++j) {
    if (colDone[j]) continue;
    if (act_.col.len[j] == 0) {
      rejectColumn(j);
    } else {
      act_.linkCol(j);
    }
  }
  for (int i = 0; i < m_; ++i) {
    if (rowDone[i] || act_.rowCnt[i] == 0) continue;
    purgeRow(i);
    act_.linkRow(i);
  }
  rowMult_.assign(static_cast<size_t>(m_), 0.0);
  rowMark_.assign(static_cast<size_t>(m_), -1);
  rowSeen_.assign(static_cast<size_t>(m_), -1);
  seenStamp_ = 0;
  for (int step = 0;; ++step) {
    const LuCandidate c = markowitzSearch();
    if (c.col < 0) return kLuOk;
    if (eliminate(c, step) != kLuOk) return kLuGrowthExceeded;
  }
}

}  // namespace torva
