// Bound-flipping ratio test of the dual simplex with Harris tolerances
// (Koberstein 2005, ch. 3).
#pragma once

#include <vector>

#include "simplex/work.hpp"

namespace torva::simplex {

class DualRatioTest {
 public:
  // run's result when candidates exist but the second pass accepts none of
  // them (values that are not finite).
  static constexpr int kMinRatio2Failed = -2;
  // The entering column for the leaving row with primal infeasibility delta
  // (s = +1 when it leaves at its lower bound, -1 at its upper) and pivot
  // row w.prow; -1 when no column can enter (a dual ray), or
  // kMinRatio2Failed. The boxed columns passed on the way are in flips.
  int run(SimplexWork::Impl& w, double delta, double s);

  struct Candidate {
    Candidate(int col, double a) : j(col), atilde(a) {}
    int j;
    double atilde;
    double ratio = 0.0;   // d_j / atilde
    double harris = 0.0;  // the ratio with the optimality tolerance allowed for
  };
  std::vector<Candidate> cands;  // after kMinRatio2Failed: the candidates left
  std::vector<int> flips;        // boxed columns to move to their other bound
  double candMax = 0.0;          // largest |pivot| among the candidates
  int fixedSkipped = 0;          // after kMinRatio2Failed: fixed columns of the pivot row skipped

 private:
  void countFixed(const SimplexWork::Impl& w);
  std::vector<int> order_;            // candidates by ratio (several breakpoint groups)
  std::vector<double> suffixHarris_;  // least Harris bound of order_[t..]
};

}  // namespace torva::simplex
