// Densities, distribution functions and their inverses of the distribution
// types a sample or an attached generator can hold.
#pragma once

#include <array>
#include <vector>

#include "torva.h"

namespace torva::stoc {

inline constexpr int kMaxDistrParams = 5;
// A parameter still at this value has not been set.
inline constexpr double kParamNotSet = QX_INFINITY;
// Header entries of the lookup record of a discrete table.
inline constexpr int kLookupHeader = 5;
inline constexpr int kDefaultTableLength = 5000;
// A table whose probabilities add to 1 within this is a valid distribution.
inline constexpr double kCdfTolerance = 0.001;
// Largest n of the Wilcoxon signed-rank distribution (its table has
// n(n+1)/2 + 1 entries and takes O(n^3) work to build).
inline constexpr int kMaxWilcoxonN = 1000;

// A discrete probability table with optional values and its lookup record
// [type, length + 5, 0, length - 1, 5.0, cumulative probabilities...].
struct DiscreteTable {
  std::vector<double> prob;
  std::vector<double> values;
  std::vector<double> lookup;
  bool hasProb = false;
  bool hasValues = false;
  int length() const { return static_cast<int>(prob.size()); }
  const double* cumulative() const { return lookup.data() + kLookupHeader; }
  // Rebuilds the lookup record for distribution type `type`; returns the
  // total probability.
  double rebuild(int type);
};

using DistrParams = std::array<double, kMaxDistrParams>;

// Display name of a distribution type ("UNKNOWN" for codes not in the list).
const char* distributionName(int type);
// Whether the type is one of the listed distribution codes.
bool isDistributionType(int type);
bool isDiscreteType(int type);
// Number of leading parameters the type needs (0 for the table types).
int requiredParamCount(int type);

// Evaluates function `func` (QX_DISTR_FUNC_PDF, _CDF, _ICDF) of the
// distribution at x and stores it in out; returns an error code. `table` is
// used by the table types 702 and 703 and may be null otherwise.
int evalDistribution(int type, const DistrParams& params, const DiscreteTable* table, int func, double x,
                     double& out);

}  // namespace torva::stoc
