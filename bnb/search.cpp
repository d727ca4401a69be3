#include "bnb/search.hpp"

#include <algorithm>
#include <cmath>

#include "base/callback.hpp"
#include "base/log.hpp"

namespace torva::bnb {
namespace {

// The pool starts small and doubles.
constexpr int kInitialPool = 1024;
// Nodes between two dives in the tree.
constexpr long long kDiveFrequency = 1000;
// Rounds between two sweeps of the open tree that release every node the
// incumbent has made prunable (nodes are otherwise pruned when they come up).
constexpr long long kMaintenanceRounds = 1000;

int initialOrder(int rule) {
  switch (rule) {
    case 1: return kOrderDepth;
    case 2: return kOrderWorst;
    case 5:
    case 6: return kOrderEstimate;
    case 7: return kOrderEstimate2;
    default: return kOrderBest;
  }
}

}  // namespace

Search::Search(Model& host, const Model& source, BnbContext& ctx, ProgressLog& log)
    : host_(host),
      source_(source),
      hostN_(host.data.n),
      ctx_(ctx),
      log_(log),
      data_(source.data),
      rows_(source.data),
      pool_(kInitialPool, [this](unsigned from, unsigned to) {
        if (ctx_.printLevel > 1 && hasLog(host_))
          logPrint(host_, "\nIncrease node pool size from =%u to %u \n\n", from, to);
      }),
      cells_(kInitialPool, [this](unsigned from, unsigned to) {
        if (ctx_.printLevel > 1 && hasLog(host_))
          logPrint(host_, "\nIncrease bin node pool size from =%u to %u \n\n", from, to);
      }) {}

namespace {
// The relative integrality test scales with the value, so on its own it
// would call 100000.5 integral at the default 8e-6. It never accepts a
// distance above this, whatever the magnitude: a value that far from an
// integer is fractional for every purpose of the search.
constexpr double kRelIntegralityCap = 1e-3;
}  // namespace

bool Search::integral(double v) const {
  const double dist = std::fabs(v - std::round(v));
  return dist <= ctx_.opt.intTol || dist <= std::min(ctx_.opt.relIntTol * std::fabs(v), kRelIntegralityCap);
}

int Search::countFractional(const std::vector<double>& x, double* sumFrac) const {
  int count = 0;
  double sum = 0.0;
  const bool own = split();
  for (int j = 0; j < n_; ++j)
    if (isInt_[static_cast<std::size_t>(j)] && !integral(x[static_cast<std::size_t>(j)]) &&
        (!own || partOf_[static_cast<std::size_t>(j)] == curPart_)) {
      ++count;
      sum += std::fabs(x[static_cast<std::size_t>(j)] - std::round(x[static_cast<std::size_t>(j)]));
    }
  if (sumFrac) *sumFrac = sum;
  return count;
}

double Search::timeLeft() const {
  if (ctx_.opt.timeLimit < 0) return -1.0;
  return std::max(0.0, ctx_.opt.timeLimit - ctx_.elapsed());
}

int Search::limitsReached() {
  if (ctx_.stopRequested) return QXERR_USER_INTERRUPT;
  if (ctx_.opt.timeLimit >= 0 && ctx_.elapsed() >= ctx_.opt.timeLimit) return QXERR_TIME_LIMIT;
  if (ctx_.opt.iterationLimit >= 0 && ctx_.simplexIters + ctx_.barrierIters >= ctx_.opt.iterationLimit)
    return QXERR_ITER_LIMIT;
  if (ctx_.opt.simIterationLimit >= 0 && ctx_.simplexIters >= ctx_.opt.simIterationLimit) return QXERR_ITER_LIMIT;
  if (ctx_.opt.ipmIterationLimit >= 0 && ctx_.barrierIters >= ctx_.opt.ipmIterationLimit) return QXERR_ITER_LIMIT;
  return 0;
}

int Search::setup() {
  n_ = data_.n;
  isInt_.assign(static_cast<std::size_t>(n_), 0);
  rootLo_ = data_.lower;
  rootUp_ = data_.upper;
  feasTol_ = std::max(host_.params.douValue(QX_DPARAM_SOLVER_FEASTOL) * 10.0, 1e-6);
  for (int j = 0; j < n_; ++j) {
    const char t = data_.typeOf(j);
    if (t != 'B' && t != 'I') continue;
    const std::size_t u = static_cast<std::size_t>(j);
    isInt_[u] = 1;
    if (t == 'B') {
      rootLo_[u] = std::max(rootLo_[u], 0.0);
      rootUp_[u] = std::min(rootUp_[u], 1.0);
    }
    if (rootLo_[u] > -kInfinity) rootLo_[u] = std::ceil(rootLo_[u] - ctx_.opt.intTol);
    if (rootUp_[u] < kInfinity) rootUp_[u] = std::floor(rootUp_[u] + ctx_.opt.intTol);
  }
  pc_.resize(n_);
  history_.assign(static_cast<std::size_t>(n_), 0);
  relax_ = std::make_unique<Relaxation>(source_, ctx_.sense);
  nonlinear_ = relax_->nonlinear();
  if (nonlinear_) ctx_.isNonlinear = 1;
  ctx_.cutoffValue = ctx_.useCutoffObj > 0 ? ctx_.cutoffObj : 1e30;
  classifyConstraints();
  computeObjStep();
  ruleOrder_ = initialOrder(ctx_.opt.nodeSelRule);
  orderState_ = ruleOrder_ == kOrderBest ? 3 : 5;
  const int order = currentOrder_ = savedOrder_ = ruleOrder_;
  heaps_.clear();
  heaps_.push_back(std::make_unique<NodeHeap>(pool_, [this, order](int a, int b) { return nodeBefore(a, b, order); }));
  PropagateSettings ps;
  ps.integersOnly = true;
  ps.intTol = ctx_.opt.intTol;
  for (int j = 0; j < n_; ++j)
    if (rootLo_[static_cast<std::size_t>(j)] > rootUp_[static_cast<std::size_t>(j)]) return 1;
  return propagateBounds(data_, rows_, isInt_, ps, rootLo_, rootUp_) ? 0 : 1;
}

void Search::nodeBounds(int node, std::vector<double>& lo, std::vector<double>& up) const {
  lo = rootLo_;
  up = rootUp_;
  for (int k = node; k >= 0; k = pool_[k].parent) {
    const BnbNode& r = pool_[k];
    for (int c = r.aux3; c >= 0;) {
      const FixCell& what = cells_[c];
      const FixCell& bound = cells_[what.link];
      const std::size_t j = static_cast<std::size_t>(what.value / 2);
      if (what.value % 2) lo[j] = std::max(lo[j], static_cast<double>(bound.value));
      else up[j] = std::min(up[j], static_cast<double>(bound.value));
      c = bound.link;
    }
    if (r.branchVar < 0) continue;
    const std::size_t j = static_cast<std::size_t>(r.branchVar);
    if (r.direction == kDirDown) up[j] = std::min(up[j], static_cast<double>(r.branchValue));
    else if (r.direction == kDirUp) lo[j] = std::max(lo[j], static_cast<double>(r.branchValue));
  }
}

void Search::releaseNode(int node) {
  // A processed node stays while its children need its chain of bounds.
  while (node >= 0) {
    const int parent = pool_[node].parent;
    basisOf_[static_cast<std::size_t>(node)].reset();
    cells_.releaseChain(pool_[node].aux3);
    pool_[node].aux3 = -1;
    pool_.release(node);
    if (parent < 0) break;
    if (--pool_[parent].aux1 > 0) break;
    node = parent;
  }
}

void Search::traceNode(int node, const char* tail) {
  if (ctx_.printLevel < 5 || !hasLog(host_)) return;
  const BnbNode& r = pool_[node];
  if (split()) {
    const unsigned tree = static_cast<unsigned>(r.aux5);
    if (r.branchVar < 0)
      logPrint(host_, "\n tree=%u nnum=%6d pnum=%6d  j=%6d TOP   bound=%e ", tree, node, r.parent, -1,
               r.bound * ctx_.sense);
    else
      logPrint(host_, "\n tree=%u nnum=%6u pnum=%6d  j=%6u dir=%c bound=%e ninf=%u", tree, static_cast<unsigned>(node),
               r.parent, static_cast<unsigned>(r.branchVar), r.direction == kDirDown ? 'D' : 'U', r.bound * ctx_.sense,
               static_cast<unsigned>(r.ninf));
  } else if (r.parent < 0) logPrint(host_, "\n nnum=%6u pnum=%6d  j=%6d TOP   bound=%e", static_cast<unsigned>(node), -1, -1,
                             r.bound * ctx_.sense);
  else
    logPrint(host_, "\n nnum=%6u pnum=%6d  j=%6u dir=%c bound=%e ninf=%u", static_cast<unsigned>(node), r.parent,
             static_cast<unsigned>(r.branchVar), r.direction == kDirDown ? 'D' : 'U', r.bound * ctx_.sense,
             static_cast<unsigned>(r.ninf));
  if (tail) logPrint(host_, " %s", tail);
}

int Search::run(const std::function<bool()>& afterSetup) {
  // The stages before the tree run even when the root bounds already prove
  // the model infeasible.
  const bool infeasible = setup() != 0;
  if (afterSetup && !afterSetup()) return 0;
  if (infeasible) {
    ctx_.mipStatus = ctx_.hasIncumbent() ? kMipFinished : kMipInfeasible;
    return 0;
  }
  const int root = pool_.allocate();
  basisOf_.resize(static_cast<std::size_t>(pool_.count()));
  parentValue_.resize(static_cast<std::size_t>(pool_.count()));
  BnbNode& r = pool_[root];
  r.bound = -1e30;
  r.depth = 0;
  r.flags |= kFlagFirstTree;
  pushNode(root);
  return loop();
}

void Search::updateBestBound(double inHand) {
  double b = std::min(inHand, heaps_[0]->minBound());
  if (split()) {
    // The parts add up: each adds to the root objective what its best open
    // node (or its best slice) adds to its share.
    b = rootObj_;
    for (std::size_t k = 0; k < heaps_.size() && b < 1e30; ++k) {
      double low = heaps_[k]->minBound();
      if (static_cast<int>(k) == curPart_) low = std::min(low, inHand);
      if (partBest_[k] < 1e30) low = std::min(low, rootObj_ - partRoot_[k] + partBest_[k]);
      b = low >= 1e30 ? 1e30 : b + std::max(0.0, low - rootObj_);
    }
  }
  if (b >= 1e30) b = ctx_.hasIncumbent() ? ctx_.incumbentValue : b;
  ctx_.bestBound = std::max(ctx_.bestBound, std::min(b, ctx_.referenceValue()));
}

// Tree maintenance: open nodes whose bound is no longer below the cutoff
// leave the heap at once. When none is left the loop finds the heap empty and
// the search ends, the incumbent proved optimal.
void Search::pruneOpenNodes() {
  if (ctx_.cutoffValue >= 1e30) return;
  for (std::size_t part = 0; part < heaps_.size(); ++part) {
    NodeHeap& heap = *heaps_[part];
    const double cutoff = cutoffFor(static_cast<int>(part));
    std::vector<int> prunable;
    for (int k : heap.items())
      if (pool_[k].bound >= cutoff) prunable.push_back(k);
    for (int k : prunable) {
      heap.remove(k);
      releaseNode(k);
    }
  }
}

int Search::loop() {
  for (;;) {
    // The root is always solved: the branch limit counts branches below it.
    if (processed_ > 0 && ctx_.opt.branchLimit >= 0 && ctx_.branchCount >= ctx_.opt.branchLimit && openCount() > 0)
      return QXERR_BRANCH_LIMIT;
    if (int rc = limitsReached()) return rc;
    const int part = nextHeap();
    if (part < 0) break;
    const int node = heaps_[static_cast<std::size_t>(part)]->pop();
    curPart_ = part;
    ctx_.openNodes = openCount() + 1;
    // A node the incumbent has made prunable goes first, flagged or not:
    // flagged nodes only end the run when they could still hold a better
    // solution.
    if (pool_[node].bound >= cutoffFor(part)) {
      traceNode(node, "cut");
      releaseNode(node);
      continue;
    }
    if (pool_[node].flags & kFlagBenignError) {
      pushNode(node);
      // Flagged nodes come last in their heap: the search is stuck once the
      // first node of every heap is flagged.
      bool stuck = true;
      for (const auto& heap : heaps_)
        stuck &= heap->empty() || (pool_[heap->top()].flags & kFlagBenignError) != 0;
      if (!stuck) continue;
      if (ctx_.printLevel > 1 && hasLog(host_)) logPrint(host_, "All active nodes are benign-error flagged.\n");
      return QXERR_INTERNAL_ERROR;
    }
    const double inHand = pool_[node].bound;
    const int rc = processNode(node);
    ++processed_;
    ctx_.openNodes = openCount();
    if (rc < 0) return 0;  // the root settled the run (unbounded)
    if (rc) return rc;
    updateBestBound(ctx_.openNodes == 0 ? 1e30 : std::max(inHand, -1e30));
    // A stop asked by a callback during the node wins over an end the stop
    // test would report in the same round.
    if (ctx_.stopRequested) return QXERR_USER_INTERRUPT;
    const int stop = stopTest(ctx_);
    if (stop == 1 || stop == 2) {
      if (ctx_.stopCause == StopCause::Optimality && ctx_.printLevel >= 1 && hasLog(host_))
        logText(host_, "User optimality tolerance satisfied.");
      ctx_.mipStatus = statusAfterStop(ctx_, ctx_.stopCause);
      return 0;
    }
    if (stop == 3) {
      ctx_.stoppedByLastSolTime = true;
      return QXERR_TIME_LIMIT;
    }
    adaptOrder();
    if (processed_ % kMaintenanceRounds == 0) pruneOpenNodes();
    if (log_.due()) log_.event(RowKind::Search);
    else log_.poll();
    if (ctx_.stopRequested) return QXERR_USER_INTERRUPT;
  }
  ctx_.openNodes = 0;
  if (ctx_.mipStatus != kMipUnbounded) ctx_.mipStatus = ctx_.hasIncumbent() ? kMipFinished : kMipInfeasible;
  return 0;
}

int Search::processNode(int node) {
  std::vector<double> lo, up;
  nodeBounds(node, lo, up);
  const bool isRoot = pool_[node].parent < 0;
  PropagateSettings ps;
  ps.integersOnly = true;
  ps.rounds = isRoot ? 10 : 2;
  ps.intTol = ctx_.opt.intTol;
  bool feasible = true;
  for (int j = 0; j < n_ && feasible; ++j) feasible = lo[static_cast<std::size_t>(j)] <= up[static_cast<std::size_t>(j)];
  if (feasible) feasible = propagateBounds(data_, rows_, isInt_, ps, lo, up);
  if (!feasible) {
    traceNode(node, "inf");
    if (isRoot) ctx_.mipStatus = kMipInfeasible;
    releaseNode(node);
    return 0;
  }
  const PackedBasis* start = nullptr;
  int method = ctx_.opt.reOpt == QX_METHOD_FREE ? QX_METHOD_DSIMPLEX : ctx_.opt.reOpt;
  if (isRoot) {
    method = ctx_.opt.topOpt;
  } else if (nonlinear_) {
    method = ctx_.opt.reOpt;  // solved cold: the interior-point path keeps no basis
  } else if (lastSolved_ != pool_[node].parent || !ctx_.opt.keepInMem) {
    start = ctx_.opt.keepInMem ? basisOf_[static_cast<std::size_t>(node)].get() : rootBasis_.get();
  }
  const bool framed = isRoot && beginFramed(nullptr);
  RelaxResult r;
  double itLeft = -1.0;
  if (ctx_.opt.iterationLimit >= 0)
    itLeft = std::max(0.0, ctx_.opt.iterationLimit - ctx_.simplexIters - ctx_.barrierIters);
  relax_->solve(lo, up, start, method, ctx_.cutoffValue, timeLeft(), itLeft, r);
  if (framed) endFramed(nullptr);
  countSolve(r);
  ctx_.lastLpStatus = relaxStatusCode(r.status);
  ctx_.lastLpObjective = r.objective;
  lastSolved_ = node;
  BnbNode& nd = pool_[node];
  switch (r.status) {
    case RelaxStatus::TimeLimit: pushNode(node); return QXERR_TIME_LIMIT;
    case RelaxStatus::IterationLimit: pushNode(node); return QXERR_ITER_LIMIT;
    case RelaxStatus::Interrupted: pushNode(node); return QXERR_USER_INTERRUPT;
    case RelaxStatus::Error:
      if (isRoot) return r.error ? r.error : QXERR_NUMERIC_INSTABILITY;
      // Only numerical trouble is benign: the node waits for a later try.
      // Any other failure (out of memory, for one) ends the run.
      if (r.error != 0 && r.error != QXERR_NUMERIC_INSTABILITY) return r.error;
      nd.flags |= kFlagBenignError;
      lastSolved_ = -1;
      pushNode(node);
      return 0;
    case RelaxStatus::Unbounded:
      if (isRoot) {
        ctx_.mipStatus = kMipUnbounded;
        ctx_.bestBound = -1e30;
        releaseNode(node);
        return -1;
      }
      [[fallthrough]];
    case RelaxStatus::Infeasible:
    case RelaxStatus::Cutoff:
      traceNode(node, r.status == RelaxStatus::Cutoff ? "cut" : "inf");
      if (isRoot && !ctx_.hasIncumbent()) ctx_.mipStatus = kMipInfeasible;
      releaseNode(node);
      return 0;
    case RelaxStatus::Optimal: break;
  }
  // Pseudo costs from the change of objective against the parent.
  if (!isRoot && nd.branchVar >= 0 && nd.bound > -1e30) {
    const double v = parentValue_[static_cast<std::size_t>(node)];
    const double dist = nd.direction == kDirDown ? v - nd.branchValue : nd.branchValue - v;
    if (dist > 1e-9) pc_.record(nd.branchVar, nd.direction == kDirUp, std::max(0.0, nodeValue(r) - nd.bound) / dist);
  }
  if (isRoot && !nonlinear_ && r.objective < ctx_.cutoffValue && countFractional(r.x, nullptr) > 0) {
    ctx_.bestBound = r.objective;
    if (!rootCuts(lo, up, r)) {
      traceNode(node, "inf");
      if (!ctx_.hasIncumbent()) ctx_.mipStatus = kMipInfeasible;
      releaseNode(node);
      return 0;
    }
  }
  if (isRoot) {
    rootObj_ = r.objective;
    ctx_.bestBound = r.objective;
    rootResult_ = r;
    if (!nonlinear_) rootBasis_ = std::make_shared<PackedBasis>(r.colStatus, r.rowStatus);
  }
  if (cutOff(r)) {
    traceNode(node, "cut");
    releaseNode(node);
    return 0;
  }
  double sumFrac = 0.0;
  const int nfrac = countFractional(r.x, &sumFrac);
  if (nfrac == 0) {
    traceNode(node, nullptr);
    if (split()) {
      takeParts(r.x, curPart_);
    } else if (std::find(isInt_.begin(), isInt_.end(), 1) == isInt_.end()) {
      // Nothing integer: the relaxation optimum is the solution.
      if (r.objective < ctx_.cutoffValue) newIncumbent(r.x, r.objective, kFoundByTree);
    } else if (offerSolution(r.x, kFoundByTree, nullptr, true)) {
      // The point is stored with its integers rounded to exact values (the
      // continuous part solved again when the rounding broke a row; a point
      // without such a completion is dropped). The branching history: the
      // direction that led to an incumbent is favoured between equal
      // siblings of this variable later on.
      const BnbNode& self = pool_[node];
      if (self.branchVar >= 0) history_[static_cast<std::size_t>(self.branchVar)] += self.direction == kDirUp ? 1 : -1;
    }
    releaseNode(node);
    if (isRoot) updateBestBound(1e30);
    return 0;
  }
  // Every point a heuristic proposes costs a solve of its own on quadratic
  // and conic relaxations: they run at the root only, and dives not at all.
  if (!nonlinear_ || isRoot) runHeuristics(r, lo, up, nd.depth);
  // Dives: at the root, then every kDiveFrequency nodes (more often while
  // there is no incumbent).
  const long long every = ctx_.hasIncumbent() ? kDiveFrequency : kDiveFrequency / 4;
  if (!nonlinear_ && (isRoot || processed_ % every == 0)) {
    dive(r, lo, up);
  }
  if (isRoot) {
    updateBestBound(r.objective);
    log_.event(RowKind::Search);
  }
  if (cutOff(r)) {
    traceNode(node, "cut");
    releaseNode(node);
    return 0;
  }
  traceNode(node, nullptr);
  if (isRoot && splitTree(node, r)) return 0;
  if (!isRoot && !nonlinear_) nodeReducedCostFixing(node, r, lo, up);
  return branch(node, r, lo, up, nonlinear_ ? nullptr : std::make_shared<PackedBasis>(r.colStatus, r.rowStatus));
}

bool Search::beginFramed(const char* stage) {
  if (ctx_.printLevel < 3 || !hasLog(host_)) return false;
  if (stage) logPrint(host_, "\n-------------------------BEGIN  OPTIMIZATION (%s)----------------------\n", stage);
  else logPrint(host_, "\n-------------------------BEGIN ROOT OPTIMIZATION----------------------\n");
  relax_->echoLog(true);
  return true;
}

void Search::endFramed(const char* stage) {
  relax_->echoLog(false);
  if (stage) logPrint(host_, "\n-------------------------END    OPTIMIZATION (%s)----------------------\n", stage);
  else logPrint(host_, "\n-------------------------END   ROOT OPTIMIZATION----------------------\n");
}

void Search::countSolve(const RelaxResult& r) {
  ++ctx_.lpCount;
  ctx_.simplexIters += r.iterations;
  ctx_.barrierIters += r.barrierIterations;
  ctx_.optTime += r.seconds;
}

void Search::nodeReducedCostFixing(int node, const RelaxResult& r, std::vector<double>& lo, std::vector<double>& up) {
  const double cutoff = cutoffFor(curPart_);
  const double trust = ctx_.opt.redCostFixTree;
  if (cutoff >= 1e30 || r.d.size() != static_cast<std::size_t>(n_) || !(trust > 0)) return;
  // Only the trusted share of each reduced cost counts: room / (trust dj)
  // is never below room / dj, so a bound moves less than the exact test
  // allows, which keeps every solution better than the cutoff.
  const double room = (cutoff - nodeValue(r)) / std::min(trust, 1.0);
  const bool own = split();
  for (int j = 0; j < n_; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (!isInt_[u] || lo[u] == up[u] || (own && partOf_[u] != curPart_)) continue;
    const double dj = r.d[u];
    const int st = r.colStatus[u];
    if (st == kBasisAtLower && dj > 0 && lo[u] > -kInfinity) {
      const double limit = lo[u] + std::floor(room / dj + ctx_.opt.intTol);
      if (limit < up[u]) {
        up[u] = std::max(limit, lo[u]);
        addFixing(node, j, false, up[u]);
      }
    } else if (st == kBasisAtUpper && dj < 0 && up[u] < kInfinity) {
      const double limit = up[u] - std::floor(room / -dj + ctx_.opt.intTol);
      if (limit > lo[u]) {
        lo[u] = std::min(limit, up[u]);
        addFixing(node, j, true, lo[u]);
      }
    }
  }
}

void Search::addFixing(int node, int j, bool lower, double bound) {
  // A bound outside the cell's range stays with the node's own solve.
  if (std::fabs(bound) > static_cast<double>(INT32_MAX) || j > INT32_MAX / 2 - 1) return;
  const int b = cells_.allocate(static_cast<std::int32_t>(bound), pool_[node].aux3);
  if (b < 0) return;
  const int what = cells_.allocate(2 * j + (lower ? 1 : 0), b);
  if (what < 0) cells_.release(b);
  else pool_[node].aux3 = what;
}

int Search::branch(int node, const RelaxResult& r, const std::vector<double>& lo, const std::vector<double>& up,
                   std::shared_ptr<PackedBasis> basis) {
  if (ctx_.opt.branchLimit >= 0 && ctx_.branchCount >= ctx_.opt.branchLimit) {
    // The limit stops the run here: the node stays open with its bound.
    pool_[node].bound = nodeValue(r);
    pushNode(node);
    updateBestBound(nodeValue(r));
    return QXERR_BRANCH_LIMIT;
  }
  double score = 0.0;
  const int j = chooseVariable(node, r, lo, up, &score);
  if (j < 0) {
    // Every candidate was proved infeasible by strong branching.
    releaseNode(node);
    return 0;
  }
  const std::size_t u = static_cast<std::size_t>(j);
  const double v = r.x[u];
  const double fl = std::floor(v);
  double sumFrac = 0.0;
  const int nfrac = countFractional(r.x, &sumFrac);
  const int depth = pool_[node].depth + 1;
  const int down = pool_.allocate();
  if (down < 0) return QXERR_OUT_OF_MEMORY;
  {
    BnbNode& c = pool_[down];
    c.parent = node;
    c.depth = depth;
    c.branchVar = j;
    c.direction = kDirDown;
    c.branchValue = boundWord(fl);
    c.boundValue = boundWord(up[u]);
  }
  const int upNode = pool_.createSibling(down, depth, lo[u], up[u]);
  if (upNode < 0) return QXERR_OUT_OF_MEMORY;
  pool_[upNode].parent = node;
  basisOf_.resize(static_cast<std::size_t>(pool_.count()));
  parentValue_.resize(static_cast<std::size_t>(pool_.count()));
  // Estimate of the best integer solution below each child: the node's
  // objective plus the cheaper rounding cost of every fractional variable.
  double est = nodeValue(r);
  for (int k = 0; k < n_; ++k) {
    const std::size_t uk = static_cast<std::size_t>(k);
    if (!isInt_[uk] || integral(r.x[uk]) || (split() && partOf_[uk] != curPart_)) continue;
    const double f = r.x[uk] - std::floor(r.x[uk]);
    est += std::min(pc_.down(k) * f, pc_.up(k) * (1.0 - f));
  }
  const double f = v - fl;
  const double own = std::min(pc_.down(j) * f, pc_.up(j) * (1.0 - f));
  for (int c : {down, upNode}) {
    BnbNode& cn = pool_[c];
    cn.aux5 = pool_[node].aux5;
    cn.bound = nodeValue(r);
    cn.ninf = static_cast<std::uint16_t>(std::min(nfrac, 65535));
    cn.estimate = static_cast<float>(est - own + (c == down ? pc_.down(j) * f : pc_.up(j) * (1.0 - f)));
    basisOf_[static_cast<std::size_t>(c)] = basis;
    parentValue_[static_cast<std::size_t>(c)] = v;
  }
  pool_[node].aux1 = 2;
  ++ctx_.branchCount;
  pushNode(down);
  pushNode(upNode);
  return 0;
}

}  // namespace torva::bnb
