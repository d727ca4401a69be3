// The place of LP presolve in the optimise pipeline. A presolver turns the
// model's LP into a reduced LP (or proves it infeasible or unbounded) and
// later maps a solution of the reduced LP back onto the original rows and
// columns. The pipeline checks every postsolved solution against the
// original model and reoptimises it warm when the check fails.
#pragma once

#include <memory>

#include "base/model_data.hpp"
#include "simplex/simplex.hpp"

namespace torva {

// What a presolve run is told besides the level.
struct PresolveOptions {
  // The solver's primal feasibility tolerance (QX_DPARAM_SOLVER_FEASTOL):
  // presolve declares no model infeasible that the solver would accept.
  double feasTol = 1e-7;
  // Integer columns stay integral: their bounds are rounded inwards, and the
  // reduced model keeps their types (the caller restricts the level to the
  // reductions that are valid for a MIP).
  bool keepIntegers = false;
};

class LpPresolver {
 public:
  enum class Verdict { Unchanged, Reduced, Infeasible, Unbounded };
  virtual ~LpPresolver() = default;
  void setOptions(const PresolveOptions& options) { options_ = options; }
  // Reduces original under the presolve level into reduced (an empty store
  // on entry); reduced is used only when the verdict is Reduced. The reduced
  // model keeps the names of the original's kept rows and columns, its
  // title and vector names, and its variable types.
  virtual Verdict presolve(const ModelData& original, int level, ModelData& reduced) = 0;
  // Rewrites solution, given for the reduced LP, for the original LP:
  // values, slacks, duals, reduced costs and basis statuses.
  virtual void postsolve(const ModelData& original, simplex::SimplexResult& solution) = 0;

 protected:
  PresolveOptions options_;
};

// Makes the presolver of a solve; a null factory (the default) stands for
// the library's own presolver (simplex/presolve).
using LpPresolverFactory = std::unique_ptr<LpPresolver> (*)();
void setLpPresolverFactory(LpPresolverFactory factory);
LpPresolverFactory lpPresolverFactory();

// Largest violation of the rows and bounds of data by the solution's values
// and slacks, and largest sign violation of its duals and reduced costs
// (in the model's sense) given its basis statuses.
// A solution of another size (of a reduced model) counts as infinitely
// violated.
double primalViolation(const ModelData& data, const simplex::SimplexResult& solution);
double dualViolation(const ModelData& data, const simplex::SimplexResult& solution);

}  // namespace torva
