// LU kernel: factorisation of a basis (triangular peeling, then Markowitz
// search with threshold pivoting on the bump).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

#include "simplex/lu.hpp"

namespace torva {

namespace {

// Largest growth of the entries (relative to the largest entry of the basis)
// accepted before refactorising with a larger threshold: the residual of the
// solves grows like eps * growth, and 1e6 keeps it near 1e-10.
constexpr double kMaxGrowth = 1e6;
// The threshold at which growth is accepted.
constexpr double kMaxRetryThreshold = 0.5;
// Each repeat multiplies the threshold by this factor, starting from at least
// kMinRetryThreshold (a threshold of 0 would stay 0).
constexpr double kRetryFactor = 10.0;
constexpr double kMinRetryThreshold = 1e-3;
// factorizeImpl's answer when the growth limit was exceeded.
constexpr int kGrowthExceeded = -1;

// Active submatrix of the factorisation: columns with values, rows with
// column indices only, and doubly linked lists of rows and columns by count.
class ActiveMatrix {
 public:
  LuListPool col, row;  // row lists may hold columns already pivoted (skipped)
  std::vector<int> rowCnt;  // active entries per row
  std::vector<int> colHead, colNext, colPrev, rowHead, rowNext, rowPrev;
  std::vector<double> colMax;
  std::vector<char> colMaxValid;

  void initLists(int m) {
    colHead.assign(static_cast<size_t>(m + 1), -1);
    rowHead.assign(static_cast<size_t>(m + 1), -1);
    colNext.assign(static_cast<size_t>(m), -1);
    colPrev.assign(static_cast<size_t>(m), -1);
    rowNext.assign(static_cast<size_t>(m), -1);
    rowPrev.assign(static_cast<size_t>(m), -1);
    colMax.assign(static_cast<size_t>(m), 0.0);
    colMaxValid.assign(static_cast<size_t>(m), 0);
  }
  static void link(std::vector<int>& head, std::vector<int>& next, std::vector<int>& prev, int x,
                   int count) {
    prev[x] = -1;
    next[x] = head[count];
    if (head[count] >= 0) prev[head[count]] = x;
    head[count] = x;
  }
  static void unlink(std::vector<int>& head, std::vector<int>& next, std::vector<int>& prev, int x,
                     int count) {
    if (prev[x] >= 0) {
      next[prev[x]] = next[x];
    } else {
      head[count] = next[x];
    }
    if (next[x] >= 0) prev[next[x]] = prev[x];
    prev[x] = next[x] = -1;
  }
  void linkCol(int j) { link(colHead, colNext, colPrev, j, col.len[j]); }
  void unlinkCol(int j) { unlink(colHead, colNext, colPrev, j, col.len[j]); }
  void linkRow(int i) { link(rowHead, rowNext, rowPrev, i, rowCnt[i]); }
  void unlinkRow(int i) { unlink(rowHead, rowNext, rowPrev, i, rowCnt[i]); }

  double columnMax(int j) {
    if (!colMaxValid[j]) {
      double mx = 0.0;
      for (int p = col.start[j], e = p + col.len[j]; p < e; ++p) mx = std::max(mx, std::fabs(col.val[p]));
      colMax[j] = mx;
      colMaxValid[j] = 1;
    }
    return colMax[j];
  }
};

}  // namespace

// Work storage of the factorisation, kept between factorisations so that
// refactorising reuses its memory.
struct LuFactorWork {
  ActiveMatrix act;
  std::vector<int> mark, rowCount, pivRow, pivCol, colCnt, pivotRowOfCol, stack;
  std::vector<double> pivVal, rowMult;
  std::vector<char> rowDone, colDone, colRejected;
  std::vector<int> uRow, uCol, rowMark, rowSeen, lRows, pivotRowCols;
  std::vector<double> uVal;
};

LuKernel::LuKernel(int m, LogFunction log)
    : m_(std::max(m, 0)), log_(std::move(log)), work_(std::make_unique<LuFactorWork>()) {}
LuKernel::~LuKernel() = default;
LuKernel::LuKernel(LuKernel&&) noexcept = default;
LuKernel& LuKernel::operator=(LuKernel&&) noexcept = default;

long long LuKernel::nnzU() const {
  long long n = 0;
  for (int s : order_)
    if (s >= 0) n += ucLen_[s];
  return n;
}

int LuKernel::factorize(const LuMatrix& a, std::span<const int> basic) {
  try {
    // Threshold pivoting bounds the multipliers, not the growth of the
    // entries over many steps; when the growth exceeds kMaxGrowth the
    // factorisation is repeated with a tenfold threshold (up to
    // kMaxRetryThreshold, where it is accepted as it is).
    // A threshold raised for growth stays raised for the next bases (the
    // simplex changes one column at a time), until the option is set again.
    double threshold = std::max(epsPivRel_, learnedThreshold_);
    for (;;) {
      const bool last = threshold >= kMaxRetryThreshold;
      const int rc = factorizeImpl(a, basic, threshold, last);
      if (rc != kGrowthExceeded) {
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
  if (static_cast<int>(stamp_.size()) < std::max(slots, m_)) stamp_.resize(static_cast<size_t>(std::max(slots, m_)), 0);
  if (static_cast<int>(dfsStack_.size()) < std::max(slots, m_)) {
    dfsStack_.resize(static_cast<size_t>(std::max(slots, m_)));
    dfsPos_.resize(static_cast<size_t>(std::max(slots, m_)));
    reach_.resize(static_cast<size_t>(std::max(slots, m_)));
    starts_.resize(static_cast<size_t>(std::max(slots, m_)));
  }
  if (static_cast<int>(slotWork_.size()) < slots) slotWork_.resize(static_cast<size_t>(slots), 0.0);
  const size_t words = (static_cast<size_t>(std::max(slots, m_)) + 63) / 64;
  if (pendBits_.size() < words) {
    pendBits_.resize(words, 0);
    pendSummary_.resize((words + 63) / 64, 0);
  }
}

int LuKernel::factorizeImpl(const LuMatrix& a, std::span<const int> basic, double pivRel, bool acceptGrowth) {
  valid_ = false;
  spikeValid_ = false;
  const int m = m_;
  if (static_cast<int>(basic.size()) != m || a.numRows != m || a.numCols < 0) return kLuBadInput;
  rank_ = 0;
  unpivotedRows_.clear();
  unpivotedPositions_.clear();
  if (a.numCols > 0 && !a.begin) return kLuBadInput;
  const auto colBegin = [&](int j) { return a.begin[j]; };
  const auto colLen = [&](int j) { return a.length ? a.length[j] : a.begin[j + 1] - a.begin[j]; };

  // Count the entries and check the heading.
  long long nnz = 0;
  for (int k = 0; k < m; ++k) {
    const int v = basic[k];
    if (v < 0 || v >= a.numCols + m) return kLuBadInput;
    if (v < a.numCols) {
      if (colLen(v) < 0 || colBegin(v) < 0) return kLuBadInput;
      if (colLen(v) > 0 && (!a.index || !a.value)) return kLuBadInput;
      nnz += colLen(v);
    } else {
      nnz += 1;
    }
  }
  if (nnz > std::numeric_limits<int>::max() / 4) return kLuOutOfMemory;

  double basisMax = 1.0;  // slacks contribute 1
  LuFactorWork& work = *work_;
  ActiveMatrix& act = work.act;
  act.col.init(m, true, static_cast<int>(2 * nnz + m + 64));
  act.initLists(m);
  auto& mark = work.mark;
  mark.assign(static_cast<size_t>(m), -1);
  auto& rowCount = work.rowCount;
  rowCount.assign(static_cast<size_t>(m), 0);
  for (int k = 0; k < m; ++k) {
    const int v = basic[k];
    if (v < a.numCols) {
      const int b = colBegin(v), len = colLen(v);
      act.col.reserve(k, len);
      for (int p = b; p < b + len; ++p) {
        const int i = a.index[p];
        if (i < 0 || i >= m || mark[i] == k) return kLuBadInput;  // bad or repeated row index
        mark[i] = k;
        const double x = a.value[p];
        if (!(std::fabs(x) > epsNonz_)) continue;  // drops zeros (and NaN)
        act.col.push(k, i, x);
        ++rowCount[i];
        basisMax = std::max(basisMax, std::fabs(x));
      }
    } else {
      const int i = v - a.numCols;
      act.col.reserve(k, 1);
      act.col.push(k, i, 1.0);
      ++rowCount[i];
    }
  }
  act.row.init(m, false, static_cast<int>(2 * nnz + m + 64));
  for (int i = 0; i < m; ++i) act.row.reserve(i, rowCount[i]);
  for (int j = 0; j < m; ++j)
    for (int p = act.col.start[j], e = p + act.col.len[j]; p < e; ++p) act.row.push(act.col.idx[p], j, 0.0);
  act.rowCnt = rowCount;

  matrix_ = a;
  basic_.assign(basic.begin(), basic.end());

  // Pivot sequence and factor pieces.
  auto& pivRow = work.pivRow;
  auto& pivCol = work.pivCol;
  auto& pivVal = work.pivVal;
  pivRow.clear();
  pivCol.clear();
  pivVal.clear();
  pivRow.reserve(static_cast<size_t>(m));
  pivCol.reserve(static_cast<size_t>(m));
  pivVal.reserve(static_cast<size_t>(m));
  auto& rowDone = work.rowDone;
  auto& colDone = work.colDone;
  auto& colRejected = work.colRejected;
  rowDone.assign(static_cast<size_t>(m), 0);
  colDone.assign(static_cast<size_t>(m), 0);
  colRejected.assign(static_cast<size_t>(m), 0);
  // U entries by pivot row: (row, position, value).
  auto& uRow = work.uRow;
  auto& uCol = work.uCol;
  auto& uVal = work.uVal;
  uRow.clear();
  uCol.clear();
  uVal.clear();
  uRow.reserve(static_cast<size_t>(nnz));
  uCol.reserve(static_cast<size_t>(nnz));
  uVal.reserve(static_cast<size_t>(nnz));
  lStart_.assign(1, 0);
  lPivRow_.clear();
  lIndex_.clear();
  lValue_.clear();

  // Rows lose entries lazily: a row list may name columns already pivoted
  // (marked done) and, after a cancellation, columns that no longer hold the
  // row (found missing when the column is searched). rowCnt stays exact.
  const auto dropFromRow = [&](int i) { --act.rowCnt[i]; };
  // Drops the entries of pivoted columns from row i.
  const auto purgeRow = [&](int i) {
    int keep = act.row.start[i];
    for (int p = act.row.start[i], e = p + act.row.len[i]; p < e; ++p)
      if (!colDone[act.row.idx[p]]) act.row.idx[keep++] = act.row.idx[p];
    act.row.len[i] = keep - act.row.start[i];
  };
  // Phase 1: column singletons. Pivoting on one takes its row out of the
  // other columns, which may create new column singletons. Columns keep the
  // entries of pivoted rows until the phase ends (so that no column is
  // searched, which matters for dense columns); those entries are U's.
  auto& colCnt = work.colCnt;
  colCnt.assign(act.col.len.begin(), act.col.len.end());
  auto& pivotRowOfCol = work.pivotRowOfCol;
  pivotRowOfCol.assign(static_cast<size_t>(m), -1);
  auto& stack = work.stack;
  stack.clear();
  for (int j = 0; j < m; ++j)
    if (colCnt[j] == 1) stack.push_back(j);
  while (!stack.empty()) {
    const int j = stack.back();
    stack.pop_back();
    if (colDone[j] || colCnt[j] != 1) continue;
    int at = act.col.start[j];
    while (rowDone[act.col.idx[at]]) ++at;
    const int i = act.col.idx[at];
    const double x = act.col.val[at];
    if (std::fabs(x) < epsPivAbs_) {
      // A column whose only remaining entry is tiny is dependent.
      --act.rowCnt[i];
      colCnt[j] = 0;
      colDone[j] = 1;
      colRejected[j] = 1;
      continue;
    }
    pivRow.push_back(i);
    pivCol.push_back(j);
    pivVal.push_back(x);
    rowDone[i] = 1;
    colDone[j] = 1;
    colCnt[j] = 0;
    pivotRowOfCol[j] = i;
    for (int p = act.row.start[i], e = p + act.row.len[i]; p < e; ++p) {
      const int j2 = act.row.idx[p];
      if (colDone[j2]) continue;
      if (--colCnt[j2] == 1) stack.push_back(j2);
    }
    act.row.len[i] = 0;
    act.rowCnt[i] = 0;
  }
  // Entries in pivoted rows, other than the pivots, go to U.
  for (int j = 0; j < m; ++j) {
    int keep = act.col.start[j];
    for (int p = act.col.start[j], e = p + act.col.len[j]; p < e; ++p) {
      const int i = act.col.idx[p];
      if (rowDone[i]) {
        if (colDone[j] && pivotRowOfCol[j] == i) continue;
        uRow.push_back(i);
        uCol.push_back(j);
        uVal.push_back(act.col.val[p]);
      } else {
        act.col.idx[keep] = i;
        act.col.val[keep++] = act.col.val[p];
      }
    }
    act.col.len[j] = colDone[j] ? 0 : keep - act.col.start[j];
  }

  // Phase 2: row singletons that pass the threshold. Their column goes to L;
  // removing it from the other rows may create new row singletons.
  for (int i = 0; i < m; ++i)
    if (!rowDone[i] && act.rowCnt[i] == 1) stack.push_back(i);
  while (!stack.empty()) {
    const int i = stack.back();
    stack.pop_back();
    if (rowDone[i] || act.rowCnt[i] != 1) continue;
    int j = -1;
    for (int p = act.row.start[i], e = p + act.row.len[i]; p < e && j < 0; ++p)
      if (!colDone[act.row.idx[p]]) j = act.row.idx[p];
    const int pi = act.col.find(j, i);
    const double x = act.col.val[pi];
    const double cmax = act.columnMax(j);
    if (std::fabs(x) < epsPivAbs_ || std::fabs(x) < pivRel * cmax) continue;
    pivRow.push_back(i);
    pivCol.push_back(j);
    pivVal.push_back(x);
    rowDone[i] = 1;
    colDone[j] = 1;
    act.row.len[i] = 0;
    act.rowCnt[i] = 0;
    for (int p = act.col.start[j], e = p + act.col.len[j]; p < e; ++p) {
      const int i2 = act.col.idx[p];
      if (i2 == i) continue;
      lIndex_.push_back(i2);
      lValue_.push_back(act.col.val[p] / x);
      if (--act.rowCnt[i2] == 1) stack.push_back(i2);
    }
    act.col.len[j] = 0;
    if (static_cast<int>(lIndex_.size()) > lStart_.back()) {
      lPivRow_.push_back(i);
      lStart_.push_back(static_cast<int>(lIndex_.size()));
    }
  }

  // Phase 3: the bump.
  for (int j = 0; j < m; ++j) {
    if (colDone[j]) continue;
    if (act.col.len[j] == 0) {
      colDone[j] = 1;
      colRejected[j] = 1;
    } else {
      act.linkCol(j);
    }
  }
  for (int i = 0; i < m; ++i) {
    if (rowDone[i] || act.rowCnt[i] == 0) continue;
    purgeRow(i);
    act.linkRow(i);
  }

  auto& rowMult = work.rowMult;
  rowMult.assign(static_cast<size_t>(m), 0.0);
  auto& rowMark = work.rowMark;
  auto& rowSeen = work.rowSeen;
  rowMark.assign(static_cast<size_t>(m), -1);
  rowSeen.assign(static_cast<size_t>(m), -1);
  auto& lRows = work.lRows;
  auto& pivotRowCols = work.pivotRowCols;
  int seenStamp = 0;
  double entryMax = 0.0;
  for (int step = 0;; ++step) {
    // Markowitz search over columns and rows of increasing count, stopping
    // after numCandidates_ candidates have been examined or when no better
    // merit is possible.
    long long bestMerit = std::numeric_limits<long long>::max();
    int bestI = -1, bestJ = -1;
    double bestX = 0.0;
    double bestRatio = 0.0;  // |pivot| / column max: ties go to the more stable
    int examined = 0;
    bool done = false;
    for (int cnt = 1; cnt <= m && !done; ++cnt) {
      const long long floorMerit = static_cast<long long>(cnt - 1) * (cnt - 1);
      if (bestJ >= 0 && bestMerit <= floorMerit) break;
      for (int j = act.colHead[cnt]; j >= 0 && !done;) {
        const int next = act.colNext[j];
        const double cmax = act.columnMax(j);
        if (cmax < epsPivAbs_) {
          act.unlinkCol(j);
          for (int p = act.col.start[j], e = p + act.col.len[j]; p < e; ++p) {
            const int i = act.col.idx[p];
            act.unlinkRow(i);
            if (--act.rowCnt[i] > 0) act.linkRow(i);
          }
          act.col.len[j] = 0;
          colDone[j] = 1;
          colRejected[j] = 1;
          j = next;
          continue;
        }
        const double tol = std::max(pivRel * cmax, epsPivAbs_);
        for (int p = act.col.start[j], e = p + act.col.len[j]; p < e; ++p) {
          const double x = act.col.val[p];
          if (std::fabs(x) < tol) continue;
          const int i = act.col.idx[p];
          const long long merit = static_cast<long long>(act.rowCnt[i] - 1) * (cnt - 1);
          const double ratio = std::fabs(x) / cmax;
          if (merit < bestMerit || (merit == bestMerit && ratio > bestRatio)) {
            bestMerit = merit;
            bestI = i;
            bestJ = j;
            bestX = x;
            bestRatio = ratio;
          }
        }
        ++examined;
        if (bestJ >= 0 && (examined >= numCandidates_ || bestMerit <= floorMerit)) done = true;
        j = next;
      }
      if (done) break;
      for (int i = act.rowHead[cnt]; i >= 0 && !done; i = act.rowNext[i]) {
        for (int p = act.row.start[i], e = p + act.row.len[i]; p < e; ++p) {
          const int j = act.row.idx[p];
          if (colDone[j]) continue;
          const double cmax = act.columnMax(j);
          if (cmax < epsPivAbs_) continue;  // rejected when its column is searched
          const long long merit = static_cast<long long>(cnt - 1) * (act.col.len[j] - 1);
          if (merit > bestMerit) continue;
          const int at = act.col.find(j, i);
          if (at < 0) continue;  // cancelled entry
          const double x = act.col.val[at];
          if (std::fabs(x) < std::max(pivRel * cmax, epsPivAbs_)) continue;
          const double ratio = std::fabs(x) / cmax;
          if (merit < bestMerit || ratio > bestRatio) {
            bestMerit = merit;
            bestI = i;
            bestJ = j;
            bestX = x;
            bestRatio = ratio;
          }
        }
        ++examined;
        if (bestJ >= 0 && (examined >= numCandidates_ || bestMerit <= floorMerit)) done = true;
      }
    }
    if (bestJ < 0) break;

    // Eliminate with pivot (p, q).
    const int p = bestI, q = bestJ;
    const double piv = bestX;
    pivRow.push_back(p);
    pivCol.push_back(q);
    pivVal.push_back(piv);
    act.unlinkCol(q);
    act.unlinkRow(p);
    // Pivot column: multipliers into L, column q leaves the active rows.
    lRows.clear();
    for (int k = act.col.start[q], e = k + act.col.len[q]; k < e; ++k) {
      const int i = act.col.idx[k];
      if (i == p) continue;
      const double mult = act.col.val[k] / piv;
      lIndex_.push_back(i);
      lValue_.push_back(mult);
      rowMult[i] = mult;
      rowMark[i] = step;
      lRows.push_back(i);
      act.unlinkRow(i);
      --act.rowCnt[i];
    }
    act.col.len[q] = 0;
    colDone[q] = 1;
    if (static_cast<int>(lIndex_.size()) > lStart_.back()) {
      lPivRow_.push_back(p);
      lStart_.push_back(static_cast<int>(lIndex_.size()));
    }
    // Pivot row: entries to U, Schur complement update of each column. The
    // row is copied first: fill-in may move it within the row pool.
    pivotRowCols.assign(act.row.idx.begin() + act.row.start[p],
                        act.row.idx.begin() + act.row.start[p] + act.row.len[p]);
    for (int j : pivotRowCols) {
      if (colDone[j]) continue;
      const int at = act.col.find(j, p);
      if (at < 0) continue;  // cancelled entry, or a repeated one already taken
      const double u = act.col.val[at];
      act.col.removeAt(j, at);
      act.colMaxValid[j] = 0;
      uRow.push_back(p);
      uCol.push_back(j);
      uVal.push_back(u);
      if (lRows.empty()) {
        // Only the count of column j changed.
        act.unlink(act.colHead, act.colNext, act.colPrev, j, act.col.len[j] + 1);
        if (act.col.len[j] > 0) {
          act.linkCol(j);
        } else {
          colDone[j] = 1;
          colRejected[j] = 1;
        }
        continue;
      }
      act.unlink(act.colHead, act.colNext, act.colPrev, j, act.col.len[j] + 1);
      ++seenStamp;
      for (int c = act.col.start[j]; c < act.col.start[j] + act.col.len[j];) {
        const int i = act.col.idx[c];
        if (rowMark[i] == step) {
          rowSeen[i] = seenStamp;
          const double x = act.col.val[c] - rowMult[i] * u;
          if (std::fabs(x) <= epsNonz_) {
            act.col.removeAt(j, c);
            dropFromRow(i);
            continue;
          }
          act.col.val[c] = x;
          entryMax = std::max(entryMax, std::fabs(x));
        }
        ++c;
      }
      for (int i : lRows) {
        if (rowSeen[i] == seenStamp) continue;
        const double x = -rowMult[i] * u;
        if (std::fabs(x) <= epsNonz_) continue;
        act.col.push(j, i, x);
        if (act.row.len[i] == act.row.cap[i]) purgeRow(i);
        act.row.push(i, j, 0.0);
        ++act.rowCnt[i];
        entryMax = std::max(entryMax, std::fabs(x));
      }
      if (entryMax > kMaxGrowth * basisMax && !acceptGrowth) return kGrowthExceeded;
      act.colMaxValid[j] = 0;
      if (act.col.len[j] > 0) {
        act.linkCol(j);
      } else {
        colDone[j] = 1;
        colRejected[j] = 1;
      }
    }
    act.row.len[p] = 0;
    act.rowCnt[p] = 0;
    rowDone[p] = 1;
    for (int i : lRows)
      if (act.rowCnt[i] > 0) act.linkRow(i);
  }

  // Rank and the pairing of unpivoted rows with dependent positions.
  rank_ = static_cast<int>(pivRow.size());
  unpivotedRows_.clear();
  unpivotedPositions_.clear();
  for (int i = 0; i < m; ++i)
    if (!rowDone[i]) unpivotedRows_.push_back(i);
  for (int j = 0; j < m; ++j)
    if (!colDone[j] || colRejected[j]) unpivotedPositions_.push_back(j);
  if (unpivotedRows_.size() != unpivotedPositions_.size()) return kLuBadInput;  // cannot happen
  for (size_t k = 0; k < unpivotedRows_.size(); ++k) {
    pivRow.push_back(unpivotedRows_[k]);
    pivCol.push_back(unpivotedPositions_[k]);
    pivVal.push_back(1.0);
    basic_[unpivotedPositions_[k]] = a.numCols + unpivotedRows_[k];
    colRejected[unpivotedPositions_[k]] = 1;
  }

  // Slots = steps of the factorisation.
  slotRow_ = pivRow;
  slotPos_ = pivCol;
  slotDiag_ = pivVal;
  stepRow_ = pivRow;
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

  // U column-wise by slot (entries of dependent columns are dropped).
  ucLen_.assign(static_cast<size_t>(m), 0);
  const size_t nu = uRow.size();
  for (size_t k = 0; k < nu; ++k)
    if (!colRejected[uCol[k]]) ++ucLen_[posSlot_[uCol[k]]];
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
    if (colRejected[uCol[k]]) continue;
    const int s = posSlot_[uCol[k]];
    ucIndex_[fillPos[s]] = uRow[k];
    ucValue_[fillPos[s]++] = uVal[k];
    ++urCount[uRow[k]];
  }
  uEntriesAtFactor_ = total;
  // U row-wise: (slot, value) per row, with a little room for updates.
  ur_.init(m, true, total + 2 * m + 64);
  for (int i = 0; i < m; ++i) ur_.reserve(i, urCount[i]);
  for (int s = 0; s < m; ++s)
    for (int k = ucStart_[s], e = k + ucLen_[s]; k < e; ++k) ur_.push(ucIndex_[k], s, ucValue_[k]);

  // L row pointers and the transposed copy for BTRAN.
  lEtaOfRow_.assign(static_cast<size_t>(m), -1);
  for (int k = 0; k < static_cast<int>(lPivRow_.size()); ++k) lEtaOfRow_[lPivRow_[k]] = k;
  lrStart_.assign(static_cast<size_t>(m + 1), 0);
  for (int i : lIndex_) ++lrStart_[i + 1];
  for (int i = 0; i < m; ++i) lrStart_[i + 1] += lrStart_[i];
  lrIndex_.resize(lIndex_.size());
  lrValue_.resize(lIndex_.size());
  {
    std::vector<int> next(lrStart_.begin(), lrStart_.end() - 1);
    for (int k = 0; k < static_cast<int>(lPivRow_.size()); ++k) {
      for (int e = lStart_[k]; e < lStart_[k + 1]; ++e) {
        const int i = lIndex_[e];
        lrIndex_[next[i]] = lPivRow_[k];
        lrValue_[next[i]++] = lValue_[e];
      }
    }
  }

  // Updates start afresh.
  rStart_.assign(1, 0);
  rPivRow_.clear();
  rIndex_.clear();
  rValue_.clear();
  pfStart_.assign(1, 0);
  pfPos_.clear();
  pfIndex_.clear();
  pfPivot_.clear();
  pfValue_.clear();
  numUpdates_ = 0;
  activeUpdateType_ = updateType_;
  spaceLimit_ = static_cast<long long>(memExp_) *
                (static_cast<long long>(lIndex_.size()) + total + m);
  diagMin_ = std::numeric_limits<double>::infinity();
  diagMax_ = 0.0;
  for (double d : slotDiag_) {
    diagMin_ = std::min(diagMin_, std::fabs(d));
    diagMax_ = std::max(diagMax_, std::fabs(d));
  }
  updateRcond_ = m > 0 ? diagMin_ / diagMax_ : 1.0;

  solveWork_.resize(m);
  work2_.resize(m);
  spike_.resize(m);
  ensureSlotCapacity(m);
  valid_ = true;
  return rank_ < m ? kLuSingular : kLuOk;
}

}  // namespace torva
