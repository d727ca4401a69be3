// Evaluation of an instruction-list model: row values, gradients by the
// method the model's parameters choose, Jacobian and Hessian.
#pragma once

#include <memory>
#include <vector>

#include "base/model.hpp"
#include "nlp/tape.hpp"

namespace torva::nlp {

// The compiled model the evaluator works on: the model's own list, or a
// list converted from its matrix. Compiled once and kept on the model (for
// the model's own list) or in holder (for a converted one).
struct EvalContext {
  Model* model = nullptr;
  std::shared_ptr<CompiledModel> compiled;
  std::unique_ptr<InstructionList> converted;
  std::shared_ptr<Workspace> work;
  int nVars() const noexcept { return compiled->list().nVars; }
};

// Prepares the evaluation of model; false when nothing is loaded. With
// allowMatrix false only a loaded instruction list qualifies.
bool prepare(Model& model, EvalContext& ctx, bool allowMatrix);

// Gradient methods (QX_IPARAM_NLP_AUTODERIV).
enum class GradMethod { Differences = 0, Forward = 1, Reverse = 2 };

// Value of row r (0 the objective) at x; with grad (dense, nVars entries)
// also its gradient. Records the row on error.
int evaluateRow(EvalContext& ctx, int r, const double* x, double& value, double* grad, bool& mark);

// Point used when the host gives none: the start point, else 0 moved into
// the bounds.
std::vector<double> defaultPoint(const EvalContext& ctx);

// Jacobian (objective row first) at x: pattern into start/index, values
// into value (when non-null).
int jacobian(EvalContext& ctx, const double* x, std::vector<int>& start, std::vector<int>& index,
             std::vector<double>* value);
int hessian(EvalContext& ctx, const double* x, std::vector<int>& start, std::vector<int>& index1,
            std::vector<int>& index2, std::vector<double>* value);

}  // namespace torva::nlp
