// The branch-and-bound search: setup and root, the tree loop, node
// relaxations warm-started from the parent's basis, pruning, branching and
// the incumbent. The driver owns the context; the search fills it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "base/model.hpp"
#include "bnb/context.hpp"
#include "bnb/cuts.hpp"
#include "bnb/progress.hpp"
#include "bnb/propagate.hpp"
#include "bnb/relax.hpp"
#include "bnb/tree.hpp"

namespace torva::bnb {

// Orders of the open-node heap.
enum NodeOrderKind : int { kOrderBest = 0, kOrderDepth = 1, kOrderWorst = 2, kOrderEstimate = 5, kOrderEstimate2 = 7 };

// What a primal heuristic sees of the search: the host's data, the
// relaxation optimum of the node in hand and its bounds. It proposes points
// through offer(), which checks them before they become incumbents.
struct HeuristicView {
  const ModelData& data;
  const std::vector<char>& isInt;
  const std::vector<double>& x;  // relaxation optimum
  const std::vector<double>& lower;
  const std::vector<double>& upper;
  int depth;
};
using PrimalHeuristic = std::function<void(const HeuristicView&, const std::function<bool(std::vector<double>)>& offer)>;

// Pseudo costs per variable: the objective gain per unit of change of each
// branching direction, averaged over the observations.
struct PseudoCosts {
  std::vector<double> sumDown, sumUp;
  std::vector<int> cntDown, cntUp;
  void resize(int n);
  void record(int j, bool up, double gainPerUnit);
  double down(int j) const;
  double up(int j) const;
  double avgDown = 1.0, avgUp = 1.0;
  double totalDown = 0.0, totalUp = 0.0;
  int obsDown = 0, obsUp = 0;
};

class Search {
 public:
  // source holds the model searched: the host's model, or its copy with
  // semi-continuous variables and sets in binary form (the host's columns
  // first). Logs, callbacks and the result go to host.
  Search(Model& host, const Model& source, BnbContext& ctx, ProgressLog& log);
  // Root and tree loop; returns an error code and leaves mipStatus, the
  // incumbent and the best bound in the context. afterSetup runs once the
  // search state exists (start points are offered there).
  // Sets up the search, calls afterSetup (which may end the run before the
  // root by returning false) and runs the tree.
  int run(const std::function<bool()>& afterSetup = {});
  // A point proposed from outside the tree (a start point, a heuristic):
  // checked for integrality and feasibility, installed when it improves.
  // Takes x as the incumbent when it is feasible and beats the cutoff;
  // *feasible, when given, says whether x was feasible at all. Integers are
  // stored rounded; nodePoint: x is the integral optimum of a node.
  bool offerSolution(std::vector<double> x, int foundBy, bool* feasible = nullptr, bool nodePoint = false);
  // A partial start: the listed integer variables fixed at their values,
  // the rest completed by the relaxation and a dive. True when it gave an
  // incumbent.
  bool completePartialStart(const std::vector<int>& vars, const std::vector<int>& values);
  void addHeuristic(PrimalHeuristic h) { heuristics_.push_back(std::move(h)); }
  int constraintClass(int k) const { return consClass_[static_cast<std::size_t>(k)]; }
  // Objective step of the model (multiples in which the objective moves).
  double objStep() const { return objStep_; }

 private:
  struct NodeWork;
  int setup();
  int solveRoot();
  int loop();
  int processNode(int node);
  // Bounds of a node from the root bounds and its chain of branchings.
  void nodeBounds(int node, std::vector<double>& lo, std::vector<double>& up) const;
  int branch(int node, const RelaxResult& r, const std::vector<double>& lo, const std::vector<double>& up,
             std::shared_ptr<PackedBasis> basis);
  int chooseVariable(int node, const RelaxResult& r, const std::vector<double>& lo, const std::vector<double>& up,
                     double* score);
  void strongBranch(const std::vector<int>& cands, const RelaxResult& r, const std::vector<double>& lo,
                    const std::vector<double>& up);
  // Root cut loop: r becomes the optimum of the relaxation with the cuts
  // kept. Always true (a failed pass is taken back).
  bool rootCuts(const std::vector<double>& lo, const std::vector<double>& up, RelaxResult& r);
  int separate(const RelaxResult& r, const std::vector<double>& lo, const std::vector<double>& up,
               std::vector<Cut>& cands);
  int dropSlackCuts(RelaxResult& r);
  bool integral(double v) const;
  int countFractional(const std::vector<double>& x, double* sumFrac) const;
  void newIncumbent(const std::vector<double>& x, double value, int foundBy);
  // Banners around a relaxation solve of a stage of its own (the root's when
  // stage is null) at print level 3 and above, with the working model's log
  // shown meanwhile; beginFramed says whether it framed.
  bool beginFramed(const char* stage);
  void endFramed(const char* stage);
  // Counts a relaxation solve: relaxations, iterations, time.
  void countSolve(const RelaxResult& r);
  // The integers of x fixed at their rounded values and the rest solved
  // (quadratic or conic relaxations always, linear ones when the rounding
  // breaks a row); installs the result when it improves.
  bool completeFixed(const std::vector<double>& x, int foundBy, bool* feasible);
  // Largest row violation of p; *ok, when given, says whether every row
  // holds within the feasibility tolerance.
  double rowViolation(const std::vector<double>& p, bool* ok) const;
  // Objective of the linear model at x (minimisation sense).
  double linearObjective(const std::vector<double>& x) const;
  void reducedCostFixing();
  void releaseNode(int node);
  void installOrder(int state);
  void adaptOrder();
  void pruneOpenNodes();
  void updateBestBound(double inHand);
  void dive(const RelaxResult& start, const std::vector<double>& lo, const std::vector<double>& up);
  void runHeuristics(const RelaxResult& r, const std::vector<double>& lo, const std::vector<double>& up, int depth);
  double timeLeft() const;
  int limitsReached();
  void classifyConstraints();
  void computeObjStep();
  bool nodeBefore(int a, int b, int order) const;
  void traceNode(int node, const char* tail);

  // Independent parts. When the rows of the root leave the fractional
  // integer variables in several groups that share no row, each group is
  // searched as a tree of its own with its own heap, served in turn; the
  // incumbent joins the best point of every part.
  bool splitTree(int root, const RelaxResult& r);
  bool split() const { return heaps_.size() > 1; }
  NodeHeap& heapOf(int node) { return *heaps_[static_cast<std::size_t>(pool_[node].aux5)]; }
  void pushNode(int node) { heapOf(node).push(node); }
  int openCount() const;
  // The heap to take the next node from; -1 when the search is over.
  int nextHeap();
  // Node values of a split tree count the other parts at their share of
  // the root optimum (a bound for them that later reduced-cost fixings at
  // the root do not move): the relaxation objective less what the other
  // parts add to it. The relaxation objective itself when the tree is whole.
  double nodeValue(const RelaxResult& r) const;
  // Cutoff of the node values of a part (minimisation sense): the
  // incumbent's, or the part's own once its best slice is better.
  double cutoffFor(int part) const;
  double partCutoff(int part) const;
  // Whether a solved node can be pruned (by the incumbent or its part's best).
  bool cutOff(const RelaxResult& r) const {
    return r.objective >= ctx_.cutoffValue || nodeValue(r) >= cutoffFor(curPart_);
  }
  // Objective share of part k at x (minimisation sense).
  double partShare(int part, const std::vector<double>& x) const;
  // Takes the slices of x that improve their part; offers the joined point
  // when every part has one.
  void takeParts(const std::vector<double>& x, int onlyPart);

  Model& host_;
  const Model& source_;
  int hostN_ = 0;
  BnbContext& ctx_;
  ProgressLog& log_;
  const ModelData& data_;
  int n_ = 0;
  std::vector<char> isInt_;
  std::vector<double> rootLo_, rootUp_;
  std::unique_ptr<Relaxation> relax_;
  RowMatrix rows_;
  NodePool pool_;
  std::vector<std::unique_ptr<NodeHeap>> heaps_;  // one per part; one when the tree is whole
  int currentOrder_ = kOrderBest;
  std::vector<int> partOf_;           // per column: its part, -1 outside every part
  std::vector<double> partRoot_;      // per part: its share of the root objective
  std::vector<double> partBest_;      // per part: share of its best slice, 1e30 none
  std::vector<double> joined_;        // best slice of every part, other columns at the root optimum
  int curPart_ = 0, turn_ = 0;
  bool joining_ = false;
  std::vector<std::shared_ptr<PackedBasis>> basisOf_;  // per node: the parent's optimal basis
  std::vector<double> parentValue_;                     // per node: the branching variable's parent value
  // Per node, a chain of bounds fixed by reduced costs, valid for the
  // node's subtree (head in the node's aux3): two cells per fixing, the
  // first holding 2 j + 1 for a lower bound of column j (2 j for an upper
  // one), the second the bound.
  CellPool cells_;
  void addFixing(int node, int j, bool lower, double bound);
  void nodeReducedCostFixing(int node, const RelaxResult& r, std::vector<double>& lo, std::vector<double>& up);
  std::shared_ptr<PackedBasis> rootBasis_;
  PseudoCosts pc_;
  std::vector<int> history_;  // per variable: + favours up, - down
  std::vector<PrimalHeuristic> heuristics_;
  std::vector<int> consClass_ = std::vector<int>(9, 0);
  RelaxResult rootResult_;
  double rootObj_ = -1e30;
  double objStep_ = 0.0;
  int lastSolved_ = -1;
  int orderState_ = 3, savedState_ = 3, ruleOrder_ = 0;
  int savedOrder_ = kOrderBest;  // the comparison the open-node switch set aside
  int reorders_ = 0;             // switches of the adaptive order so far
  long long switchBranch_ = 0, switchLp_ = 0, lastIncumbentLp_ = 0, openAtSwitch_ = 0, processed_ = 0;
  double feasTol_ = 1e-6;
  int limitError_ = 0;
  bool nonlinear_ = false;  // quadratic or conic relaxations (interior point, no basis)
};

}  // namespace torva::bnb
