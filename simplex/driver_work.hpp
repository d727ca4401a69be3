// The resident simplex work area as the model holds it: the simplex work of
// the last solve behind the store's work-area interface.
#pragma once

#include <memory>

#include "base/workarea.hpp"
#include "simplex/simplex.hpp"

namespace torva::driver {

class ResidentWork final : public WorkArea {
 public:
  explicit ResidentWork(const ModelData& data);

  // The simplex work re-reads bounds, costs, right-hand sides and row types
  // from the model's data at the start of every solve, so value changes are
  // absorbed by keeping the work area as it is: its basis and factorisation
  // stay the warm start of the next solve.
  bool absorbColumnBounds(int, double, double) override { return true; }
  bool absorbCost(int, double) override { return true; }
  bool absorbRow(int, char, double) override { return true; }
  int rows() const override { return rows_; }
  int cols() const override { return cols_; }

  simplex::SimplexWork work;

 private:
  int rows_, cols_;
};

// The resident work of a model, or null when none is held or it no longer
// fits the model's data.
ResidentWork* residentWork(Model& model);

}  // namespace torva::driver
