// Primal pricing: partial pricing over segments of the columns and the
// switch between it and devex pricing (Maros 2003, ch. 9). Partial pricing
// is cheap per iteration and good while the iterations are few and mostly
// nondegenerate; devex takes fewer iterations on degenerate or long runs.
#include <algorithm>
#include <cmath>

#include "simplex/candidate_list.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

// Segment size max(kMinSegment, m^kSegmentExponent), capped by
// max(kMinSegment, m^e, min(m / 4, refactorisation frequency)).
constexpr int kMinSegment = 20;
constexpr double kSegmentExponent = 0.7;
// Switch thresholds on d + g (degenerate share of the iterations since the
// last factorisation plus the fill measure of the factors): above
// kToDevex partial pricing gives way to devex, below kToPartial devex goes
// back to partial once per solve.
constexpr double kToDevex = 1.2;
constexpr double kToPartial = 1.0;
// Fill measure: (nnz(L) + nnz(U) - kFillBase m)^2 / nnz(A) / m.
constexpr double kFillBase = 1.5;
// A partial price scans at least 1/kMinScanShare of all columns before it
// takes its best candidate. With far more columns than rows a segment of
// m^0.7 columns is a vanishing share of them and its best column little
// better than any (fit2d, 25 rows and 10,500 columns: 18,837 iterations
// with one segment per price, 15,308 with this floor). At 64 no other
// Netlib model scans more than before; 32 also changed twelve others, for
// better and worse (80bau3b and fit2p 10-15% more iterations).
constexpr int kMinScanShare = 64;

// Steepest-edge pool of partial pricing (steepest_pool.hpp), on models with
// at least kPoolWidth times as many columns as rows. Each price admits its
// scan's best non-members by the scaled reduced cost, at the cost of an
// FTRAN each, so the number of admissions follows the ratio of the scan's
// work (the nonzeros of the columns it reads) to an FTRAN's (the average
// pivot column since the last factorisation standing for it): admissions
// cost at most 1/kAdmissionWorkShare of the scan, at most kMaxAdmissions.
// The pool starts when that allows kPoolStartAdmissions and stops when it
// allows fewer than kPoolStopAdmissions; kPoolSlotsPerAdmission slots per
// admission. Measured on the default path (iterations and CPU s, plain
// partial pricing in parentheses): fit2d 9,677 (15,308), 0.45 s (1.17);
// nw04 relaxation 310 (3,281); air03 957 (5,738), 0.13 s (0.18);
// transport-100x500 866 (1,271) and mitre 1,479 (1,937) at 5-10% more time;
// fast0507 15,168 (33,055) at 12% more time (its pivot columns are dense).
// Without the stop threshold the pool stayed on with expensive FTRANs
// (80bau3b twice the time); with a start at two admissions air03 toggled
// and needed 7,125 iterations. At width 4 80bau3b (4.5 columns per row
// after presolve) ran the pool while its early pivot columns were short:
// 10,863 iterations (9,902), 20% more time.
constexpr int kPoolWidth = 5;
constexpr int kMaxAdmissions = 16;
constexpr double kAdmissionWorkShare = 4.0;
constexpr double kPoolStartAdmissions = 8.0;
constexpr double kPoolStopAdmissions = 2.0;
constexpr int kPoolSlotsPerAdmission = 2;
// The members' columns are held densely: at most kPoolMaxEntries values
// (32 MB), fewer slots on models with very many rows.
constexpr long long kPoolMaxEntries = 1LL << 22;
// Up to this many rows the pool transforms its columns with an explicit
// inverse (SmallInverse: m^2 values, O(m^2) per basis change): fit2d, 25
// rows, spends a fifth of its time in the admissions' FTRANs otherwise.
constexpr int kSmallInverseRows = 64;
// While the pool runs a price scans at least 1/kPooledScanShare of the
// columns: the pool takes the best of many more candidates (fit2d 12,294
// iterations at 1/64, 9,677 at 1/16, 9,465 at 1/8; nw04 745, 310, 242).
constexpr int kPooledScanShare = 16;

}  // namespace

int partialSegmentSize(int m, int refactorFrequency) {
  const int power = static_cast<int>(std::floor(std::pow(static_cast<double>(std::max(m, 1)), kSegmentExponent)));
  const int size = std::max(kMinSegment, power);
  const int cap = std::max({kMinSegment, power, std::min(m / 4, refactorFrequency)});
  return std::min(size, cap);
}

void SimplexWork::Impl::setupPrimalPricing() {
  partialSegment = partialSegmentSize(m, refactorFrequency);
  int method = opt.partialMethod == 0 ? 2 : opt.partialMethod;
  if (method < 1 || method > 3 || (opt.solverMode & 1)) method = 1;
  partialMethod = method;
  if (prog.partialForced || opt.primalPricing == 0)
    primalPricingMode = kPricingPartial;
  else if (opt.primalPricing == -1)
    primalPricingMode = opt.dpSwitch > 1 ? kPricingDevex : kPricingPartial;
  else
    primalPricingMode = kPricingDevex;
  if (colNorm2.size() != static_cast<std::size_t>(nt)) {
    colNorm2.assign(nt, 2.0);  // slacks: 1 + 1
    for (int j = 0; j < n; ++j) {
      double s = 1.0;
      for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) s += lp.colValue[p] * lp.colValue[p];
      colNorm2[j] = s;
    }
  }
  const long long room = std::min<long long>(kMaxAdmissions * kPoolSlotsPerAdmission, kPoolMaxEntries / std::max(m, 1));
  if (n >= static_cast<long long>(kPoolWidth) * m && room >= kPoolSlotsPerAdmission) {
    pool.reset(m, nt, static_cast<int>(room));
    poolAdmissions = 0;
    poolColumn.resize(m);
  } else {
    pool.reset(m, nt, 0);
  }
}

double SimplexWork::Impl::pricingViolation(int j) const {
  if (pos[j] >= 0 || lower[j] == upper[j]) return 0.0;
  const double dj = d[j];
  switch (at[j]) {
    case kAtLower: return dj < -dualTol ? -dj : 0.0;
    case kAtUpper: return dj > dualTol ? dj : 0.0;
    default: return std::fabs(dj) > dualTol ? std::fabs(dj) : 0.0;
  }
}

int SimplexWork::Impl::pricePartial(const std::vector<double>& rejectedUntil) {
  const int seg = std::max(1, partialSegment);
  int best = -1;
  double bestScore = 0.0;
  int scanned = 0, withCandidates = 0;
  if (pool.room() > 0) syncPool();
  const bool pooled = pool.capacity() > 0;
  // The best few non-members of the scan, best first.
  int cands[kMaxAdmissions];
  double candScore[kMaxAdmissions];
  int ncand = 0;
  int j = partialStart % nt;
  while (scanned < nt) {
    const int len = std::min(seg, nt - scanned);
    for (int k = 0; k < len; ++k, j = j + 1 == nt ? 0 : j + 1) {
      if (rejectedUntil[j] > iterations || bl.isRejected(j)) continue;
      if (lazyReducedCosts && pos[j] < 0 && lower[j] != upper[j]) d[j] = reducedCostFromDuals(j);
      const double v = pricingViolation(j);
      if (v == 0.0) continue;
      // Method 1 Dantzig, 2 and 3 Dantzig scaled by the column norm.
      const double score = partialMethod == 1 ? v : v * v / colNorm2[j];
      if (score > bestScore) {
        bestScore = score;
        best = j;
      }
      if (pooled && !pool.contains(j) && (ncand < poolAdmissions || score > candScore[ncand - 1])) {
        int at = ncand < poolAdmissions ? ncand++ : ncand - 1;
        for (; at > 0 && candScore[at - 1] < score; --at) {
          cands[at] = cands[at - 1];
          candScore[at] = candScore[at - 1];
        }
        cands[at] = j;
        candScore[at] = score;
      }
    }
    scanned += len;
    if (best >= 0 && (partialMethod != 3 || ++withCandidates >= 2) &&
        static_cast<long long>(scanned) * (pooled ? kPooledScanShare : kMinScanShare) >= nt)
      break;
  }
  partialStart = j;
  if (scanned >= nt) ++stats.fullPrices;
  if (pooled) best = choosePooled(rejectedUntil, cands, ncand);
  if (best < 0 && tracing())
    traceLine(" ppart candid list empty, fiter=%d, scanned-full=%d.", updates, scanned >= nt ? 1 : 0);
  return best;
}

void SimplexWork::Impl::syncPool() {
  if (pool.current(factorCount, updates)) return;
  if (updates == 0) {
    // After a factorisation: how many admissions the scan's work pays for.
    const double pcolal = stats.colCount > 0     ? stats.colSum / stats.colCount
                          : stats.lastPcolal > 0.0 ? stats.lastPcolal
                                                   : m;
    const double scanned = std::max<double>(partialSegment, static_cast<double>(nt) / kMinScanShare);
    const double scanWork = scanned * (static_cast<double>(lp.nnz()) / std::max(n, 1));
    const double a = scanWork / (kAdmissionWorkShare * std::max(pcolal, 1.0));
    const bool on = partialMethod != 1 && a >= (poolAdmissions > 0 ? kPoolStopAdmissions : kPoolStartAdmissions);
    const int fit = pool.room() / kPoolSlotsPerAdmission;
    poolAdmissions = on ? static_cast<int>(std::min<double>(a, fit)) : 0;
    pool.limit(poolAdmissions * kPoolSlotsPerAdmission);
  }
  if (pool.capacity() > 0 && m <= kSmallInverseRows) {
    poolInverse.reset(m);
    for (int k = 0; k < m; ++k) {
      poolColumn.clear();
      poolColumn.add(k, 1.0);
      lu->ftran(poolColumn);
      double* c = poolInverse.column(k);
      for (int i = 0; i < m; ++i) c[i] = poolColumn.array[i];
      poolColumn.count = -1;
      poolColumn.clear();
    }
  } else {
    poolInverse.reset(0);
  }
  for (int s = 0; s < pool.capacity(); ++s) {
    const int j = pool.variable(s);
    if (j < 0) continue;
    if (pos[j] >= 0) {
      pool.remove(j);
      continue;
    }
    transformForPool(j);
    pool.put(s, j, poolColumn.array.data(), poolColumn.index.data(), poolColumn.count, poolColumnNorm2());
    poolColumn.clear();
  }
  pool.stamp(factorCount, updates);
}

void SimplexWork::Impl::transformForPool(int j) {
  if (poolInverse.rows() == 0) {
    loadColumn(j, poolColumn);
    lu->ftran(poolColumn);
    if (poolColumn.count < 0) poolColumn.rebuildIndex();
    return;
  }
  const double one = 1.0;
  const int slack = j - n;
  if (j < n) {
    const int p = lp.colStart[j];
    poolInverse.apply(lp.colValue.data() + p, lp.rowIndex.data() + p, lp.colStart[j + 1] - p,
                      poolColumn.array.data());
  } else {
    poolInverse.apply(&one, &slack, 1, poolColumn.array.data());
  }
  poolColumn.count = -1;
  poolColumn.rebuildIndex();
}

void SimplexWork::Impl::poolPivot(int q, int r) {
  if (pool.capacity() == 0 || !pool.current(factorCount, updates)) return;
  pool.remove(q);
  if (col.count < 0) col.rebuildIndex();
  pool.pivot(r, col.array.data(), col.index.data(), col.count);
  if (poolInverse.rows() > 0) poolInverse.pivot(r, col.array.data());
  pool.stamp(factorCount, updates + 1);
}

int SimplexWork::Impl::choosePooled(const std::vector<double>& rejectedUntil, const int* cands, int count) {
  poolScore.assign(pool.capacity(), -1.0);  // free slots
  for (int s = 0; s < pool.capacity(); ++s) {
    const int j = pool.variable(s);
    if (j < 0) continue;
    poolScore[s] = 0.0;
    if (rejectedUntil[j] > iterations || bl.isRejected(j)) continue;
    if (lazyReducedCosts) d[j] = reducedCostFromDuals(j);
    const double v = pricingViolation(j);
    poolScore[s] = v * v / pool.edgeNorm2(s);
  }
  for (int c = 0; c < count; ++c) {
    const int j = cands[c];
    // A free slot, else the weakest member's.
    int s = 0;
    for (int t = 1; t < pool.capacity(); ++t)
      if (poolScore[t] < poolScore[s]) s = t;
    transformForPool(j);
    const double norm2 = poolColumnNorm2();
    const double v = pricingViolation(j);
    const double score = v * v / (1.0 + norm2);
    if (score > poolScore[s]) {
      pool.put(s, j, poolColumn.array.data(), poolColumn.index.data(), poolColumn.count, norm2);
      poolScore[s] = score;
    }
    poolColumn.clear();
  }
  int best = -1;
  double bestScore = 0.0;
  for (int s = 0; s < pool.capacity(); ++s)
    if (poolScore[s] > 0.0 && betterCandidate(poolScore[s], pool.variable(s), bestScore, best)) {
      bestScore = poolScore[s];
      best = pool.variable(s);
    }
  return best;
}

double SimplexWork::Impl::reducedCostFromDuals(int j) const {
  if (j >= n) return priceCostWeight * cost[j] - priceY[j - n];
  double s = priceCostWeight * cost[j];
  for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) s -= lp.colValue[p] * priceY[lp.rowIndex[p]];
  return s;
}

void SimplexWork::Impl::refreshReducedCosts() {
  if (!lazyReducedCosts) return;
  for (int j = 0; j < nt; ++j) d[j] = pos[j] >= 0 ? 0.0 : reducedCostFromDuals(j);
  lazyReducedCosts = false;
}

void SimplexWork::Impl::primalPricingSwitch() {
  if (lastReason >= 4 && lastReason <= 7) return;
  const ProgressRecord& now = prog.last;
  const ProgressRecord& before = prog.prev;
  if (!now.valid || !before.valid || now.iterations <= before.iterations || totalIterations <= 0) return;
  const double iters = now.iterations - before.iterations;
  const double dshare = (now.degenerate - before.degenerate) / iters;
  const double fill = static_cast<double>(bl.lnnz + bl.unnz) - kFillBase * m;
  const double g = lp.nnz() > 0 && m > 0 ? fill * fill / lp.nnz() / m : 0.0;
  if (primalPricingMode == kPricingPartial) {
    if (!prog.partialForced && (dshare + g > kToDevex || totalIterations > n + m)) {
      if (tracing()) traceLine(" switch to devex");
      primalPricingMode = kPricingDevex;
      if (!devex.empty()) std::fill(devex.begin(), devex.end(), 1.0);
    }
  } else if (devexBackAllowed == 1 && dshare + g < kToPartial && totalIterations < n + m) {
    devexBackAllowed = 2;
    if (tracing()) traceLine(" switch to partial");
    primalPricingMode = kPricingPartial;
  }
}

}  // namespace torva::simplex
