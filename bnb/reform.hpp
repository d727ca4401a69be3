// Semi-continuous variables and sets (SOS1, SOS2, SOS3, cardinality) in
// binary form: a working copy of the model with one indicator binary per
// semi-continuous variable and per set member (per segment for SOS2), and the
// linking rows. The original columns keep their indices, so the first n
// values of a solution of the copy are a solution of the original.
#pragma once

#include <array>
#include <memory>

#include "base/model.hpp"

namespace torva::bnb {

struct Reformulation {
  std::unique_ptr<Model> model;        // null when nothing needed reformulating
  std::array<unsigned, 4> sets{};      // SOS1, SOS2, SOS3, cardinality
  unsigned semiCont = 0;
};

// bigM stands in for an infinite bound of a member (QX_DPARAM_MIP_LBIGM).
Reformulation reformulate(const Model& host, double bigM);

}  // namespace torva::bnb
