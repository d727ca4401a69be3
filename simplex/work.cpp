// Operations shared by the primal and dual simplex: values, duals, pivot
// rows, and the basis-change layer around the LU kernel.
#include "simplex/work.hpp"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <limits>

#include "base/log.hpp"
#include "base/model_data.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// A pivot row is formed row-wise (work proportional to the lengths of the
// rows the BTRAN result touches) or column-wise over the nonbasic columns
// (work proportional to nnz(A)), as Bixby (2002) describes. Row-wise is
// chosen when the touched rows hold fewer than this fraction of the matrix's
// entries: a row-wise entry costs a scattered update of the row where a
// column-wise one reads y. The share is measured: against always
// column-wise, 0.25, 1 and always row-wise, 0.5 took the least CPU time on
// d2q06c, pilot, 80bau3b and fit2d.
constexpr double kRowWiseWorkShare = 0.5;

// Basis recovery method from the strategy bits: 1, plus one for each of the
// bits 2 and 4.
int recoveryMethodOf(int oprFree) { return 1 + ((oprFree & 2) ? 1 : 0) + ((oprFree & 4) ? 1 : 0); }

}  // namespace

bool SimplexWork::hostBasis(std::vector<int>& colStatus, std::vector<int>& rowStatus) const {
  const Impl& w = *impl_;
  if (!w.haveBasis) {
    if (w.givenCol.empty()) return false;
    colStatus = w.givenCol;
    rowStatus = w.givenRow;
    return true;
  }
  const auto status = [&w](int j) {
    if (w.pos[j] >= 0) return w.pos[j];
    return w.at[j] == kAtUpper ? -2 : (w.at[j] == kAtZero ? -3 : -1);
  };
  colStatus.resize(static_cast<std::size_t>(w.n));
  rowStatus.resize(static_cast<std::size_t>(w.m));
  for (int j = 0; j < w.n; ++j) colStatus[j] = status(j);
  for (int i = 0; i < w.m; ++i) rowStatus[i] = status(w.n + i);
  return true;
}

void SimplexWork::Impl::newLpStamp() {
  static std::atomic<std::uint64_t> next{0};
  lpStamp = ++next;
  luBasic.clear();
  priceRows.invalidate();
  dseBasic.clear();
}

SimplexWork::Impl::Impl(const ModelData& data) {
  buildLp(data, true, 1e30, lp);
  newLpStamp();
  m = lp.m;
  n = lp.n;
  nt = n + m;
}

void SimplexWork::Impl::setOptions(const SimplexOptions& o, SolveContext& c) {
  opt = o;
  ctx = &c;
  primalTol = o.feasTol;
  dualTol = o.optTol;
  pivTol = o.pivTol;
  refactorFrequency = std::max(1, o.refactorFrequency);
  pivRel = o.luEpsPivRel;
  bigM = o.bigM;
  bigMAnnounced = false;
  signalOverrides = 0;
  rng.seed(o.seed);
  bl.resetForSolve(nt, std::max(2, o.ratRange), recoveryMethodOf(o.oprFree));
  pert.resetForSolve(nt);
  prog = ProgressState{};
  devexBackAllowed = 1;
  partialStart = 0;
  lastProgress = std::chrono::steady_clock::now();
  // A kernel kept from the last solve takes the options of this one.
  if (lu) applyKernelOptions(false);
}

double SimplexWork::Impl::nonbasicValue(int j) const {
  switch (at[j]) {
    case kAtLower: return lower[j];
    case kAtUpper: return upper[j];
    default: return 0.0;
  }
}

void SimplexWork::Impl::placeAt(int j, NonbasicAt where) {
  if (where == kAtLower && lower[j] == -kInf) where = upper[j] < kInf ? kAtUpper : kAtZero;
  if (where == kAtUpper && upper[j] == kInf) where = lower[j] > -kInf ? kAtLower : kAtZero;
  if (where == kAtZero && lower[j] > -kInf) where = kAtLower;
  if (where == kAtZero && upper[j] < kInf) where = kAtUpper;
  at[j] = where;
  x[j] = nonbasicValue(j);
}

void SimplexWork::Impl::placeByReducedCost(int j) {
  if (isBoxed(j))
    placeAt(j, d[j] >= 0.0 ? kAtLower : kAtUpper);
  else
    placeAt(j, lower[j] > -kInf ? kAtLower : (upper[j] < kInf ? kAtUpper : kAtZero));
}

void SimplexWork::Impl::loadColumn(int j, LuVector& v) const {
  v.clear();
  if (j < n) {
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) v.add(lp.rowIndex[p], lp.colValue[p]);
  } else {
    v.add(j - n, 1.0);
  }
}

void SimplexWork::Impl::computePrimal() {
  aux.clear();
  std::vector<double>& r = aux.array;
  for (int i = 0; i < m; ++i) r[i] = rhs[i];
  for (int j = 0; j < nt; ++j) {
    if (pos[j] >= 0) continue;
    const double v = x[j];
    if (v == 0.0) continue;
    if (j < n) {
      for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) r[lp.rowIndex[p]] -= lp.colValue[p] * v;
    } else {
      r[j - n] -= v;
    }
  }
  aux.count = -1;
  aux.rebuildIndex();
  lu->ftran(aux);
  for (int k = 0; k < m; ++k) x[basicVar[k]] = aux.array[k];
  aux.count = -1;
  aux.clear();
}

void SimplexWork::Impl::computeDual(std::vector<double>* yOut) {
  ++stats.dualRecomputes;
  aux.clear();
  for (int k = 0; k < m; ++k) aux.array[k] = cost[basicVar[k]];
  aux.count = -1;
  aux.rebuildIndex();
  lu->btran(aux);
  const std::vector<double>& y = aux.array;
  for (int j = 0; j < n; ++j) {
    if (pos[j] >= 0) {
      d[j] = 0.0;
      continue;
    }
    double s = cost[j];
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) s -= lp.colValue[p] * y[lp.rowIndex[p]];
    d[j] = s;
  }
  for (int i = 0; i < m; ++i) d[n + i] = pos[n + i] >= 0 ? 0.0 : cost[n + i] - y[i];
  if (yOut) yOut->assign(y.begin(), y.end());
  priceY.assign(y.begin(), y.begin() + m);
  priceCostWeight = 1.0;
  lazyReducedCosts = false;
  aux.count = -1;
  aux.clear();
}

bool SimplexWork::Impl::rowWiseCheaper(const LuVector& r) const {
  if (r.count < 0) return false;  // no index: dense
  const double limit = kRowWiseWorkShare * static_cast<double>(lp.nnz() + m);
  double work = 0.0;
  for (int k = 0; k < r.count; ++k) {
    const int i = r.index[k];
    work += lp.rowStart[i + 1] - lp.rowStart[i] + 1;
    if (work >= limit) return false;
  }
  return true;
}

void SimplexWork::Impl::computePivotRow(const LuVector& r) {
  double* const row = prow.data();
  int* const list = prowIndex.data();
  int count = prowCount;
  // Clear the previous row through its list.
  for (int k = 0; k < count; ++k) row[list[k]] = 0.0;
  count = 0;
  const auto push = [row, list, &count](int j, double v) {
    if (row[j] == 0.0) list[count++] = j;
    row[j] += v;
    if (row[j] == 0.0) row[j] = kLuListedZero;
  };
  const int* const varPos = pos.data();
  const bool rowWise = rowWiseCheaper(r);
  if (rowWise) {
    if (!priceRows.current(lpStamp)) priceRows.sync(lp, lpStamp, pos);
    const int* const start = lp.rowStart.data();
    const int* const cols = priceRows.columns();
    const double* const vals = priceRows.values();
    for (int k = 0; k < r.count; ++k) {
      const int i = r.index[k];
      const double v = r.array[i];
      if (v == 0.0) continue;
      for (int p = start[i], end = start[i + 1]; p < end; ++p) {
        const int j = cols[p];
        if (j >= 0) push(j, v * vals[p]);  // ~j: column j is basic
      }
      if (varPos[n + i] < 0) push(n + i, v);
    }
  } else {
    const double* const y = r.array.data();
    const int* const cstart = lp.colStart.data();
    const int* const rows = lp.rowIndex.data();
    const double* const vals = lp.colValue.data();
    for (int j = 0; j < n; ++j) {
      if (varPos[j] >= 0) continue;
      double s = 0.0;
      for (int p = cstart[j], end = cstart[j + 1]; p < end; ++p) s += vals[p] * y[rows[p]];
      if (s != 0.0) push(j, s);
    }
    for (int i = 0; i < m; ++i)
      if (varPos[n + i] < 0 && y[i] != 0.0) push(n + i, y[i]);
  }
  prowCount = count;
  notePivotRow(r, rowWise);
}

void SimplexWork::Impl::notePivotRow(const LuVector& r, bool rowWise) {
  double sparseBelow = 0.0;
  lu->getDoubleOption(kLuDparSpvtolBtran, &sparseBelow);
  const int len = r.count >= 0 ? r.count : m;
  ++stats.binvi[len < sparseBelow * m ? 0 : 1];
  stats.binviLen += len;
  ++stats.pivrow[rowWise ? 0 : 1];
  stats.pivrowLen += prowCount;
  stats.rowSum += prowCount;
  ++stats.rowCount;
}

double SimplexWork::Impl::objective() const {
  double s = 0.0;
  for (int j = 0; j < nt; ++j) s += cost[j] * x[j];
  return s;
}

double SimplexWork::Impl::sumPrimalInfeas(int* count, double* maxInfeas) const {
  double s = 0.0, mx = 0.0;
  int c = 0;
  for (int i = 0; i < m; ++i) {
    const double v = primalInfeasOf(i);
    if (v > primalTol) {
      s += v;
      ++c;
      mx = std::max(mx, v);
    }
  }
  if (count) *count = c;
  if (maxInfeas) *maxInfeas = mx;
  return s;
}

// ------------------------------------------------------------ basis layer

// ------------------------------------------------------------ limits, log

int SimplexWork::Impl::checkLimits() {
  if (!ctx) return kNotFinished;
  if (ctx->iterationLimit >= 0 && iterations >= ctx->iterationLimit) return kIterationLimit;
  if (ctx->stop && ctx->stop->load(std::memory_order_relaxed)) return kInterrupted;
  const auto now = std::chrono::steady_clock::now();
  const double elapsed = std::chrono::duration<double>(now - ctx->start).count();
  if (ctx->timeLimit >= 0 && elapsed >= ctx->timeLimit) return kTimeLimit;
  if (ctx->progress && std::chrono::duration<double>(now - lastProgress).count() >= ctx->progressInterval) {
    lastProgress = now;
    double obj = 0.0;
    for (int j = 0; j < n; ++j) obj += lp.cost[j] * x[j];
    if (ctx->progress(iterations, lp.sense * obj + lp.objConst)) return kInterrupted;
  }
  return kNotFinished;
}

int SimplexWork::Impl::elapsedSeconds() const {
  if (!ctx) return 0;
  return static_cast<int>(std::chrono::duration<double>(std::chrono::steady_clock::now() - ctx->start).count());
}

void SimplexWork::Impl::log(const char* fmt, ...) const {
  if (!ctx || !ctx->log) return;
  va_list args;
  va_start(args, fmt);
  std::string s = vformat(fmt, args);
  va_end(args);
  ctx->log(s);
}

}  // namespace torva::simplex
