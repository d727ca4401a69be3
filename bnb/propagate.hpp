// Bound propagation over the linear rows: the activity bounds of each row
// imply bounds on its variables, which are tightened in rounds until a round
// changes nothing.
#pragma once

#include <vector>

#include "base/model_data.hpp"

namespace torva::bnb {

class RowMatrix {
 public:
  explicit RowMatrix(const ModelData& data);
  int rows() const { return static_cast<int>(rowStart_.size()) - 1; }
  int begin(int i) const { return rowStart_[static_cast<std::size_t>(i)]; }
  int end(int i) const { return rowStart_[static_cast<std::size_t>(i) + 1]; }
  int col(int k) const { return col_[static_cast<std::size_t>(k)]; }
  double value(int k) const { return value_[static_cast<std::size_t>(k)]; }

 private:
  std::vector<int> rowStart_, col_;
  std::vector<double> value_;
};

struct PropagateSettings {
  int rounds = 10;
  bool integersOnly = false;  // tighten only integer variables
  double feasTol = 1e-6;      // a row is infeasible when its activity bound misses by more
  double intTol = 1e-6;       // rounding slack of implied integer bounds
  // Continuous bounds are tightened only by more than this (relative), so
  // that rounds of tiny changes do not go on.
  double minChange = 1e-3;
};

// Tightens lower/upper in place. isInt marks integer columns (may be empty).
// Returns false when a row cannot be satisfied within the bounds.
bool propagateBounds(const ModelData& data, const RowMatrix& rows, const std::vector<char>& isInt,
                     const PropagateSettings& s, std::vector<double>& lower, std::vector<double>& upper);

}  // namespace torva::bnb
