// The parameter tables as the parameter files read them.
#pragma once

#include <vector>

#include "base/param_file.hpp"

struct QXmodelRec;

namespace torva::paramfile {

// Every parameter in identifier order with its long description, value size
// and scope.
std::vector<Row> longTableRows();
// Every parameter in identifier order with its short description.
std::vector<Row> shortTableRows();
// The descriptor-driven (genetic-algorithm) group.
std::vector<Row> gaRows();
// Values a model file takes from the model's storage rather than through the
// getters (the MIP cutoff); true when id is one of them.
bool storedSpecialValue(const QXmodelRec& model, int id, Value* value);

}  // namespace torva::paramfile
