// The root cut loop: passes of separation, selection and reoptimisation
// until the bound stalls, then removal of the cuts left slack. Cuts are
// appended to the relaxation as rows and stay there for the tree.
#include <algorithm>
#include <cmath>

#include "base/log.hpp"
#include "bnb/cuts.hpp"
#include "bnb/search.hpp"

namespace torva::bnb {
namespace {

// Built-in minimum violation of a cut scaled to largest coefficient 1.
constexpr double kDefaultCutTol = 0.0055625;
// A cut row whose slack exceeds this many primal feasibility tolerances is
// slack and may be deleted.
constexpr double kSlackFactor = 1000.0;
// Gomory rows tried per pass (each costs a solve with B' and a pass over the
// matrix).
constexpr int kGomoryRowsPerPass = 200;
// Tableau cuts with more nonzeros than this fraction of the columns (plus
// kDenseAllowed) make the node LPs slow for little gain: on misc07 (260
// columns) cuts of 170 to 230 nonzeros cut the node rate by four for 1% of
// the gap. Cuts from single rows are never denser than their row and are
// not limited.
constexpr double kMaxDensity = 0.5;
constexpr int kDenseAllowed = 20;
// After this many passes the loop asks for a total improvement of 100 times
// the per-pass tolerance.
constexpr int kLongLoopPasses = 20;

}  // namespace

int Search::separate(const RelaxResult& r, const std::vector<double>& lo, const std::vector<double>& up,
                     std::vector<Cut>& cands) {
  const ModelData& lp = relax_->data();
  const SeparationInput in{lp, data_.m, isInt_, r.x, r.colStatus, r.rowStatus, lo, up};
  const int level = ctx_.opt.cutLevelTop;
  if (level & kCutBitGomory) separateGomory(in, kGomoryRowsPerPass, cands);
  if (level & kCutBitCover) separateCovers(in, rows_, cands);
  if (level & kCutBitMir) separateMir(in, rows_, cands);
  const std::size_t maxNnz = static_cast<std::size_t>(kDenseAllowed + kMaxDensity * n_);
  std::vector<Cut> clean;
  for (Cut& c : cands)
    if ((c.family != kCutGomory || c.idx.size() <= maxNnz) && cleanCut(c, lo, up)) clean.push_back(std::move(c));
  cands = std::move(clean);
  return static_cast<int>(cands.size());
}

// Removes the cut rows with slack beyond the tolerance at r (their slacks
// are basic, so the basis stays a basis without them). Returns the number
// removed; r's row statuses follow.
int Search::dropSlackCuts(RelaxResult& r) {
  const ModelData& lp = relax_->data();
  if (lp.m <= data_.m || r.rowStatus.size() != static_cast<std::size_t>(lp.m)) return 0;
  std::vector<double> act(static_cast<std::size_t>(lp.m), 0.0);
  for (int j = 0; j < lp.n; ++j)
    for (int p = lp.colBeg[static_cast<std::size_t>(j)], e = p + lp.colLen[static_cast<std::size_t>(j)]; p < e; ++p)
      act[static_cast<std::size_t>(lp.rowIdx[static_cast<std::size_t>(p)])] += lp.value[static_cast<std::size_t>(p)] * r.x[static_cast<std::size_t>(j)];
  std::vector<char> keep(static_cast<std::size_t>(lp.m), 1);
  int dropped = 0;
  for (int i = data_.m; i < lp.m; ++i) {
    const std::size_t u = static_cast<std::size_t>(i);
    if (r.rowStatus[u] >= 0 && act[u] - lp.rhs[u] > kSlackFactor * feasTol_) {
      keep[u] = 0;
      ++dropped;
    }
  }
  if (dropped == 0) return 0;
  relax_->dropRows(keep);
  std::size_t w = 0;
  for (std::size_t i = 0; i < keep.size(); ++i)
    if (keep[i]) r.rowStatus[w++] = r.rowStatus[i];
  r.rowStatus.resize(w);
  return dropped;
}

bool Search::rootCuts(const std::vector<double>& lo, const std::vector<double>& up, RelaxResult& r) {
  const MipOptions& o = ctx_.opt;
  if (o.cutLevelTop == 0 || o.maxCutPassTop <= 0) return true;
  const double tol = o.absCutTol >= 0 ? o.absCutTol : kDefaultCutTol;
  const int capacity = static_cast<int>(o.addCutPer * data_.m);
  const bool talk = ctx_.printLevel > 1 && hasLog(host_);
  const double start = r.objective;
  const auto t0 = Clock::now();
  int nonImproving = 0;
  bool warnedFull = false;
  for (int pass = 1; pass <= o.maxCutPassTop; ++pass) {
    if (o.cutTimeLimit >= 0 && std::chrono::duration<double>(Clock::now() - t0).count() >= o.cutTimeLimit) {
      if (talk) logPrint(host_, "\n WARNING: The time limit for adding cuts have run out \n");
      break;
    }
    if (limitsReached() || countFractional(r.x, nullptr) == 0) break;
    std::vector<Cut> cands;
    if (separate(r, lo, up, cands) == 0) break;
    int room = capacity - (relax_->data().m - data_.m);
    if (room < static_cast<int>(cands.size())) {
      const int dropped = dropSlackCuts(r);
      if (dropped > 0 && talk) logPrint(host_, "\n WARNING: The cut pool is empty, deleting cuts with slack num=%u ", static_cast<unsigned>(dropped));
      room = capacity - (relax_->data().m - data_.m);
    }
    std::vector<Cut> chosen = selectCuts(std::move(cands), r.x, tol, std::max(room, 0));
    if (chosen.empty()) {
      if (room <= 0 && !warnedFull && talk) {
        logPrint(host_, "\n WARNING: The cut pool is empty, try and increase QX_DPARAM_MIP_ADDCUTPER");
        warnedFull = true;
      }
      break;
    }
    std::vector<std::vector<int>> idx;
    std::vector<std::vector<double>> val;
    std::vector<double> rhs;
    for (const Cut& c : chosen) {
      idx.push_back(c.idx);
      val.push_back(c.val);
      rhs.push_back(c.rhs);
    }
    const int oldM = relax_->data().m;
    relax_->appendRows(idx, val, rhs);
    std::vector<int> rowSt = r.rowStatus;
    rowSt.resize(static_cast<std::size_t>(relax_->data().m), 0);  // new slacks basic
    const PackedBasis warm(r.colStatus, rowSt);
    RelaxResult next;
    relax_->solve(lo, up, &warm, QX_METHOD_DSIMPLEX, ctx_.cutoffValue, timeLeft(), -1.0, next);
    ++ctx_.lpCount;
    ctx_.simplexIters += next.iterations;
    ctx_.optTime += next.seconds;
    if (next.status != RelaxStatus::Optimal) {
      // Take the pass back and stop with the last optimum. An infeasible or
      // cut-off relaxation is left for the tree to prove without these cuts:
      // a cut made invalid by rounding must not settle the run.
      std::vector<char> keep(static_cast<std::size_t>(relax_->data().m), 1);
      std::fill(keep.begin() + oldM, keep.end(), 0);
      relax_->dropRows(keep);
      lastSolved_ = -1;
      break;
    }
    const double before = r.objective;
    r = std::move(next);
    ++ctx_.cutPassNo;
    ctx_.cutCount += static_cast<int>(chosen.size());
    for (const Cut& c : chosen) ++ctx_.cutsByFamily[c.family];
    ctx_.bestBound = std::max(ctx_.bestBound, std::min(r.objective, ctx_.referenceValue()));
    log_.event(RowKind::CutPass, static_cast<int>(chosen.size()));
    const double scale = std::max(1.0, std::fabs(start));
    if ((r.objective - before) / scale < o.addCutObjTol) ++nonImproving;
    else nonImproving = 0;
    if (nonImproving >= o.maxNonImpCutPass) break;
    if (pass > kLongLoopPasses && (r.objective - start) / scale < 100.0 * o.addCutObjTol) break;
    if (optimalityReached(ctx_)) break;
  }
  // The rows left slack at the final optimum go; the basis stays optimal.
  if (dropSlackCuts(r) > 0) {
    const PackedBasis warm(r.colStatus, r.rowStatus);
    RelaxResult again;
    relax_->solve(lo, up, &warm, QX_METHOD_DSIMPLEX, ctx_.cutoffValue, timeLeft(), -1.0, again);
    ++ctx_.lpCount;
    ctx_.simplexIters += again.iterations;
    ctx_.optTime += again.seconds;
    if (again.status == RelaxStatus::Optimal) r = std::move(again);
    else lastSolved_ = -1;
  }
  return true;
}

}  // namespace torva::bnb
