#include "bnb/progress.hpp"

#include <algorithm>
#include <cmath>

#include "base/callback.hpp"
#include "base/log.hpp"
#include "bnb/cuts.hpp"

namespace torva::bnb {

double BnbContext::referenceValue() const {
  double z = incumbentValue;
  if (useCutoffObj > 0 && cutoffObj < z && (hasIncumbent() || useCutoffObj >= 2)) z = cutoffObj;
  return z;
}

double relativeGap(double z, double b) {
  if (!(b < z)) return 0.0;
  return (z - b) / std::max({std::fabs(z), std::fabs(b), 1.0});
}

bool optimalityReached(const BnbContext& ctx) {
  const bool standIn = ctx.useCutoffObj >= 2 && ctx.cutoffObj < 1e30;
  if (!ctx.hasIncumbent() && !standIn) return false;
  const double z = ctx.referenceValue();
  const double b = ctx.bestBound;
  if (ctx.relOptTol >= relativeGap(z, b)) return true;
  return ctx.absOptTol > 0 && ctx.hasIncumbent() && z < 1e30 && ctx.absOptTol > std::fabs(b - z);
}

int stopTest(BnbContext& ctx) {
  const bool known = ctx.hasIncumbent() || (ctx.useCutoffObj >= 2 && ctx.cutoffObj < 1e30);
  const double z = ctx.referenceValue();
  const double gap = known ? relativeGap(z, ctx.bestBound) : 1e30;
  ctx.rgap = gap;
  ctx.aoptLeft = -1.0;
  ctx.stopCause = StopCause::None;
  const double elapsed = ctx.elapsed();
  const bool optimal = optimalityReached(ctx);
  if (ctx.aoptTimeLimit > -1 && ctx.perOptTol > gap) {
    const double left = ctx.aoptTimeLimit - elapsed;
    if (left <= 0) {
      ctx.aoptLeft = 0.0;
      // When the optimality test holds as well, that is what ended the run.
      ctx.stopCause = optimal ? StopCause::Optimality : StopCause::AoptTime;
      return 1;
    }
    ctx.aoptLeft = left;
  }
  if (optimal) {
    ctx.stopCause = StopCause::Optimality;
    return 1;
  }
  if (ctx.aoptTimeLimit2 >= 0 && ctx.perOptTol2 > gap && ctx.openNodes > 500 && elapsed >= ctx.aoptTimeLimit2) {
    ctx.stopCause = StopCause::SecondPair;
    return 2;
  }
  if (ctx.objThreshold > -1e30 && ctx.hasIncumbent() && (z - ctx.objThreshold) <= ctx.relOptTol) {
    ctx.stopCause = StopCause::Threshold;
    return 2;
  }
  if (ctx.lastSolTimeLimit >= 0 && ctx.hasIncumbent()) {
    const double since = std::chrono::duration<double>(Clock::now() - ctx.lastIncumbentTime).count();
    if (since >= ctx.lastSolTimeLimit) {
      ctx.stopCause = StopCause::LastSolTime;
      return 3;
    }
  }
  return 0;
}

int statusAfterStop(const BnbContext& ctx, StopCause cause) {
  const bool sol = ctx.hasIncumbent();
  switch (cause) {
    // The optimality test proved the incumbent optimal within the tolerances.
    case StopCause::Optimality: return sol ? kMipFinished : kMipLimitTolMetNoSol;
    // A looser tolerance accepted after a while: optimal, but the bound the
    // tree reached stays the bound of the run.
    case StopCause::AoptTime:
    case StopCause::SecondPair: return sol ? kMipLimitTolMet : kMipLimitTolMetNoSol;
    // The threshold: the host asked for a good enough solution, not for a
    // proof; the run ends feasible with the tree's bound.
    default: return sol ? kMipFeasible : ctx.mipStatus;
  }
}

namespace {

// Code text of a row announcing an incumbent found by method code; with an
// external bound shown, "-" precedes the closing parenthesis.
std::string foundByText(int code, bool externalBound) {
  static const char* const kTexts[] = {"(*K)",  "(*SB)", "(*SRH)", "(*T)",  "(*C)",  "(*AH)",
                                       "(*AB)", "(*SE)", "(*SBB)", "(*AHI)", "(*FP)", "(*USER)"};
  std::string text = code == kFoundByHeuristic ? "(*H)" : code >= 2 && code <= 13 ? kTexts[code - 2] : "(*)";
  if (externalBound) text.insert(text.size() - 1, "-");
  return text;
}

}  // namespace

void ProgressLog::publish() {
  if (!model_.mipSolution) return;
  MipSolution& rec = *model_.mipSolution;
  rec.branchCount = static_cast<int>(std::min<long long>(ctx_.branchCount, 2147483647LL));
  rec.lpCount = static_cast<int>(std::min<long long>(ctx_.lpCount, 2147483647LL));
  rec.activeNodes = static_cast<int>(ctx_.openNodes);
  rec.bestBound = ctx_.bestBound <= -1e30 ? -ctx_.sense * 1e30 : ctx_.bestBound * ctx_.sense;
  if (ctx_.knownObjective() < 1e30) rec.objective = ctx_.knownObjective() * ctx_.sense;
  rec.simplexIters = static_cast<int>(std::min(ctx_.simplexIters, 2147483647.0));
  rec.barrierIters = static_cast<int>(std::min(ctx_.barrierIters, 2147483647.0));
  rec.solutionsFound = ctx_.solutionsFound;
  rec.optTime = ctx_.optTime;
  rec.aoptTimeToStop = static_cast<int>(ctx_.aoptLeft);
  rec.relGap = ctx_.rgap;
  for (int k = 0; k < 16; ++k) rec.cuts[k] = ctx_.cutsByFamily[k];
}

void logCutTypeTable(Model& model) {
  if (model.params.intValue(QX_IPARAM_MIP_PRINTLEVEL) <= 4 || !hasLog(model)) return;
  static constexpr const char* kNames[] = {
      "QX_MIP_GUB_COVER_CUTS", "QX_MIP_FLOW_COVER_CUTS",    "QX_MIP_LIFT_CUTS",    "QX_MIP_PLAN_LOC_CUTS",
      "QX_MIP_DISAGG_CUTS",    "QX_MIP_KNAPSUR_COVER_CUTS", "QX_MIP_LATTICE_CUTS", "QX_MIP_GOMORY_CUTS",
      "QX_MIP_COEF_REDC_CUTS", "QX_MIP_GCD_CUTS",           "QX_MIP_OBJ_CUT",      "QX_MIP_BASIS_CUTS",
      "QX_MIP_CARDGUB_CUTS",   "QX_MIP_DISJUN_CUTS",
  };
  const int top = model.params.intValue(QX_IPARAM_MIP_CUTLEVEL_TOP);
  const int tree = model.params.intValue(QX_IPARAM_MIP_CUTLEVEL_TREE);
  logPrint(model, "\n%-26s %8s %8s %8s", "CUT TYPE", "ROOT", "TREE", "BITMASK");
  int bit = 2;  // the families take the bits 2, 4, ..., 16384 in this order
  for (const char* name : kNames) {
    logPrint(model, "\n%-26s %8s %8s %8d", name, (top & bit) ? "Enabled" : "Disabled", (tree & bit) ? "Enabled" : "Disabled",
             bit);
    bit *= 2;
  }
  logPrint(model, "\n%-26s %8d %8d %8s", "CURRENT SETTING", top, tree, "");
}

void ProgressLog::cutStatistics() {
  if (ctx_.printLevel < 2 || !hasLog(model_)) return;
  // The counter lines in the order of the statistics block.
  struct Line {
    int family;
    const char* text;
  };
  static constexpr Line kLines[] = {
      {kCutContra, "\n Contra cuts added          :%u"}, {kCutObj, "\n Obj cuts added             :%u"},
      {kCutGub, "\n Gub cuts added             :%u"},    {kCutLift, "\n Lift cuts added            :%u"},
      {kCutFlow, "\n Flow cuts added            :%u"},   {kCutMir, "\n MIR cuts added             :%d"},
      {kCutGomory, "\n Gomory cuts added          :%d"}, {kCutGcd, "\n Gcd cuts added             :%u"},
      {kCutClique, "\n Clique cuts added          :%u"}, {kCutDisagg, "\n Disagg cuts added          :%u"},
      {kCutPlantLoc, "\n Planloc cuts added         :%u"}, {kCutLattice, "\n Latice cuts added          :%u"},
      {kCutCoefRed, "\n Coef cuts added            :%u"}, {kCutCover, "\n Cover cuts added           :%u"},
      {kCutCard, "\n Cardinality cuts added     :%u"},
  };
  bool any = false;
  for (const Line& l : kLines) any = any || ctx_.cutsByFamily[l.family] > 0;
  if (!any) return;
  logText(model_, "\n");
  for (const Line& l : kLines)
    if (ctx_.cutsByFamily[l.family] > 0) logPrint(model_, l.text, ctx_.cutsByFamily[l.family]);
  logText(model_, "\n");
}

bool ProgressLog::due() const {
  return std::chrono::duration<double>(Clock::now() - lastRow_).count() >= 1.0;
}

void ProgressLog::poll() {
  if (ctx_.stopRequested || !model_.callbacks.progress) return;
  publish();
  const double obj = ctx_.hasIncumbent() ? ctx_.incumbentValue * ctx_.sense : ctx_.bestBound * ctx_.sense;
  ctx_.phase = kPhaseProgressLog;
  if (reportProgress(model_, {QXLOC_MIP, ctx_.simplexIters, obj, false}) < 0) ctx_.stopRequested = true;
  ctx_.phase = 0;
}

void ProgressLog::event(RowKind kind, int foundBy) {
  publish();
  const bool logging = ctx_.printLevel >= 1 && hasLog(model_);
  if (logCalls_ % 25 == 0 && logging) {
    logText(model_, ctx_.isNonlinear
                        ? "\n\n#BRANCHs  #NODEs    #NLPs    BEST BOUND      BEST  IP     RGAP    TIME  OPTIME\n"
                        : "\n\n#BRANCHs  #NODEs    #LPs    BEST BOUND      BEST  IP     RGAP    TIME  OPTIME\n");
    logText(model_, "(CUTPASS) (NUMCUT)            (SUMFP)                                   (CODE)\n");
  }
  if (!ctx_.stopRequested) {
    const double obj = ctx_.hasIncumbent() ? ctx_.incumbentValue * ctx_.sense : ctx_.bestBound * ctx_.sense;
    ctx_.phase = kPhaseProgressLog;
    if (reportProgress(model_, {QXLOC_MIP, ctx_.simplexIters, obj, kind == RowKind::NewIncumbent}) < 0)
      ctx_.stopRequested = true;
    ctx_.phase = 0;
  }
  ++logCalls_;
  lastRow_ = Clock::now();
  if (!logging) return;
  const unsigned branches = static_cast<unsigned>(ctx_.branchCount);
  const unsigned open = static_cast<unsigned>(ctx_.openNodes);
  const unsigned lps = static_cast<unsigned>(ctx_.lpCount);
  const double bound = ctx_.bestBound * ctx_.sense;
  const double time = std::floor(ctx_.elapsed() * 100.0) / 100.0;
  const std::string opt = ctx_.aoptLeft >= 0 ? format("(%.2fopt)", ctx_.aoptLeft) : std::string();
  const bool known = ctx_.hasIncumbent() || (ctx_.useCutoffObj >= 2 && ctx_.cutoffObj < 1e30);
  const unsigned pass = static_cast<unsigned>(ctx_.cutPassNo), cuts = static_cast<unsigned>(foundBy);
  const char* code = ctx_.boundExternal() ? "(-)" : "";
  if (!known) {
    if (kind == RowKind::CutPass)
      logPrint(model_, "\nC(%4u) (%6u) %8u  % e                         %.2f  %.2f %s", pass, cuts, lps, bound, time,
               ctx_.optTime, code);
    else
      logPrint(model_, "\n %8u %6u %8u  % e                         %.2f  %.2f %s", branches, open, lps, bound, time,
               ctx_.optTime, code);
    return;
  }
  const double best = ctx_.referenceValue() * ctx_.sense;
  const double gap = relativeGap(ctx_.referenceValue(), ctx_.bestBound);
  const bool standIn = ctx_.useCutoffObj >= 2 && ctx_.referenceValue() < ctx_.incumbentValue;
  if (kind == RowKind::NewIncumbent && !standIn) {
    logPrint(model_, "\n %8u %6u %8u  % e  % e %2.1e  %.2f  %s %s", branches, open, lps, bound, best, gap, time,
             foundByText(foundBy, ctx_.boundExternal()).c_str(), opt.c_str());
    return;
  }
  if (kind == RowKind::CutPass)
    logPrint(model_, "\nC(%4u) (%6u) %8u  % e  % e %2.1e  %.2f  %.2f %s %s", pass, cuts, lps, bound, best, gap, time,
             ctx_.optTime, code, opt.c_str());
  else
    logPrint(model_, "\n %8u %6u %8u  % e  % e %2.1e  %.2f  %.2f %s %s", branches, open, lps, bound, best, gap,
             time, ctx_.optTime, code, opt.c_str());
}

}  // namespace torva::bnb
