// Semi-continuous variables and sets (SOS1, SOS2, SOS3, cardinality) in
// binary form: a working copy of the model with one indicator binary per
// semi-continuous variable and per set member (per segment for SOS2), and the
// linking rows. The original columns keep their indices, so the first n
// values of a solution of the copy are a solution of the original.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "base/model.hpp"

namespace torva::bnb {

struct Reformulation {
  std::unique_ptr<Model> model;        // null when nothing needed reformulating
  std::array<unsigned, 4> sets{};      // SOS1, SOS2, SOS3, cardinality
  unsigned semiCont = 0;
  unsigned bigM = 0;                   // columns with an infinite bound replaced by the big-M value

  // Indicator binaries: z is 1 exactly when column col is non-zero (a
  // semi-continuous variable, a member of an SOS1, SOS3 or cardinality set).
  struct Indicator {
    int z, col;
  };
  std::vector<Indicator> indicators;
  // SOS2 sets: segment binary segs[k] allows members k and k + 1.
  struct Segments {
    std::vector<int> members, segs;
  };
  std::vector<Segments> sos2;

  // A point of the host's model with the indicator binaries set to match it
  // (the copy's columns); x itself when nothing was reformulated.
  std::vector<double> extend(const std::vector<double>& x) const;
};

// bigM stands in for an infinite bound of a member (QX_DPARAM_MIP_LBIGM).
Reformulation reformulate(const Model& host, double bigM);

}  // namespace torva::bnb
