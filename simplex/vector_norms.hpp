// Small dense-vector helpers shared by the simplex driver and the
// interior-point methods.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace torva {

// Largest absolute entry (0 for an empty vector).
inline double normInf(const std::vector<double>& v) {
  double m = 0.0;
  for (double x : v) m = std::max(m, std::fabs(x));
  return m;
}

// Inner product over the length of a.
inline double dot(const std::vector<double>& a, const std::vector<double>& b) {
  double r = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) r += a[i] * b[i];
  return r;
}

}  // namespace torva
