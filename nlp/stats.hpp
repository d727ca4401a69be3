// Counts of the nonlinear parts of a model, for the information items.
#pragma once

#include "base/model.hpp"

namespace torva::nlp {

struct NonlinearCounts {
  int nonzeros = 0;     // (constraint, variable) pairs where the variable enters nonlinearly
  int objNonzeros = 0;  // variables entering the objective nonlinearly
  int rows = 0;         // nonlinear constraints
  int vars = 0;         // variables entering some row nonlinearly
};

// For an instruction-list model the counts come from its rows: a variable
// enters a row nonlinearly unless every path from it to the row's value
// runs through sums, differences, signs, products and quotients by
// constants and conditions on constants (the rules by which validation
// classes a row linear). A matrix model counts the structure given by
// QXaddNLPAj and QXaddNLPobj.
NonlinearCounts countNonlinear(const Model& model);

// Number of stochastic parameters (0 without an instruction list).
int stocParamCount(const Model& model) noexcept;

}  // namespace torva::nlp
