// Cleaning and selection of cuts: scaling, removal of negligible
// coefficients, the range test, efficacy and parallelism (Achterberg 2007,
// section 8.9; Wesselmann and Suhl 2012 for the efficacy/parallelism rule).
#include <algorithm>
#include <cmath>

#include "bnb/cuts.hpp"

namespace torva::bnb {
namespace {

// Coefficients below this fraction of the largest are removed by relaxing
// them over their bounds (they carry no information the LP can use and blow
// up the factorisation's range).
constexpr double kRelativeZero = 1e-9;
// Largest accepted ratio of the largest to the smallest coefficient
// magnitude: beyond it the LP solver's 1e-9 tolerances cannot resolve the
// cut reliably.
constexpr double kMaxDynamism = 1e6;
// Two cuts whose normals make a cosine above this are taken as the same
// direction; only the more efficacious enters.
constexpr double kMaxParallelism = 0.98;
// Efficacy (Euclidean distance cut off) below this is not worth a row.
constexpr double kMinEfficacy = 1e-4;

double norm2(const Cut& c) {
  double s = 0.0;
  for (double v : c.val) s += v * v;
  return std::sqrt(s);
}

}  // namespace

double cutViolation(const Cut& c, const std::vector<double>& x) {
  double act = 0.0;
  for (std::size_t k = 0; k < c.idx.size(); ++k) act += c.val[k] * x[static_cast<std::size_t>(c.idx[k])];
  return c.rhs - act;
}

bool cleanCut(Cut& c, const std::vector<double>& lower, const std::vector<double>& upper) {
  double maxAbs = 0.0;
  for (double v : c.val) maxAbs = std::max(maxAbs, std::fabs(v));
  if (maxAbs == 0.0 || !std::isfinite(maxAbs) || !std::isfinite(c.rhs)) return false;
  double rhs = c.rhs / maxAbs, minAbs = 1.0;
  std::size_t out = 0;
  for (std::size_t k = 0; k < c.idx.size(); ++k) {
    const double v = c.val[k] / maxAbs;
    const std::size_t j = static_cast<std::size_t>(c.idx[k]);
    if (std::fabs(v) < kRelativeZero) {
      // sum a x >= r implies sum_{others} a x >= r - max(v x) over the box.
      const double worst = v > 0 ? v * upper[j] : v * lower[j];
      if (std::fabs(upper[j]) >= kInfinity && v > 0) return false;
      if (std::fabs(lower[j]) >= kInfinity && v < 0) return false;
      rhs -= worst;
      continue;
    }
    minAbs = std::min(minAbs, std::fabs(v));
    c.idx[out] = c.idx[k];
    c.val[out] = v;
    ++out;
  }
  c.idx.resize(out);
  c.val.resize(out);
  c.rhs = rhs;
  return out > 0 && 1.0 / minAbs <= kMaxDynamism;
}

std::vector<Cut> selectCuts(std::vector<Cut> cands, const std::vector<double>& x, double minViolation, int limit) {
  std::vector<Cut> kept;
  for (Cut& c : cands) {
    const double viol = cutViolation(c, x);
    if (viol <= minViolation) continue;
    c.efficacy = viol / norm2(c);
    if (c.efficacy > kMinEfficacy) kept.push_back(std::move(c));
  }
  std::sort(kept.begin(), kept.end(), [](const Cut& a, const Cut& b) { return a.efficacy > b.efficacy; });
  std::vector<Cut> chosen;
  std::vector<double> dense(x.size(), 0.0);
  for (Cut& c : kept) {
    if (static_cast<int>(chosen.size()) >= limit) break;
    for (std::size_t k = 0; k < c.idx.size(); ++k) dense[static_cast<std::size_t>(c.idx[k])] = c.val[k];
    const double nc = norm2(c);
    bool parallel = false;
    for (const Cut& o : chosen) {
      double dot = 0.0;
      for (std::size_t k = 0; k < o.idx.size(); ++k) dot += o.val[k] * dense[static_cast<std::size_t>(o.idx[k])];
      if (dot / (nc * norm2(o)) > kMaxParallelism) {
        parallel = true;
        break;
      }
    }
    for (int j : c.idx) dense[static_cast<std::size_t>(j)] = 0.0;
    if (!parallel) chosen.push_back(std::move(c));
  }
  return chosen;
}

}  // namespace torva::bnb
