// LU kernel: the condition estimates (Hager's 1-norm estimate with Higham's
// refinements, and p-norm power estimates after Boyd and Higham).
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "simplex/lu.hpp"

namespace torva {

namespace {

// A right-hand side with at most 1 / kSparseSolveShare of its entries
// nonzero is solved hypersparse by the condition estimates.
constexpr int kSparseSolveShare = 10;

}  // namespace

double LuKernel::matrixNorm1() const {
  double norm = 0.0;
  for (int pos = 0; pos < m_; ++pos) {
    const int var = basic_[pos];
    double sum = 1.0;
    if (var < matrix_.numCols) {
      sum = 0.0;
      const int b = matrix_.begin[var];
      const int len = matrix_.length ? matrix_.length[var] : matrix_.begin[var + 1] - b;
      for (int p = b; p < b + len; ++p) sum += std::fabs(matrix_.value[p]);
    }
    norm = std::max(norm, sum);
  }
  return norm;
}

void LuKernel::multiplyB(const std::vector<double>& x, std::vector<double>& y) const {
  std::fill(y.begin(), y.end(), 0.0);
  for (int pos = 0; pos < m_; ++pos) {
    const int var = basic_[pos];
    const double xp = x[pos];
    if (xp == 0.0) continue;
    if (var < matrix_.numCols) {
      const int b = matrix_.begin[var];
      const int len = matrix_.length ? matrix_.length[var] : matrix_.begin[var + 1] - b;
      for (int p = b; p < b + len; ++p) y[matrix_.index[p]] += matrix_.value[p] * xp;
    } else {
      y[var - matrix_.numCols] += xp;
    }
  }
}

void LuKernel::multiplyBt(const std::vector<double>& x, std::vector<double>& y) const {
  for (int pos = 0; pos < m_; ++pos) {
    const int var = basic_[pos];
    double s = 0.0;
    if (var < matrix_.numCols) {
      const int b = matrix_.begin[var];
      const int len = matrix_.length ? matrix_.length[var] : matrix_.begin[var + 1] - b;
      for (int p = b; p < b + len; ++p) s += matrix_.value[p] * x[matrix_.index[p]];
    } else {
      s = x[var - matrix_.numCols];
    }
    y[pos] = s;
  }
}

void LuKernel::solveDense(std::vector<double>& x, bool transposed) {
  LuVector& v = work2_;
  v.clear();
  std::copy(x.begin(), x.end(), v.array.begin());
  v.count = -1;
  v.rebuildIndex();
  // Through the multi-vector pass: dense-indexed, and the density records of
  // the simplex's solves are left alone. A sparse right-hand side (the unit
  // vectors of the 1-norm estimate) goes through the hypersparse stages
  // instead, which compute the same entries in the same order.
  if (!transposed && v.count <= m_ / kSparseSolveShare) {
    ftranLowerHyper(v);
    if (!rPivRow_.empty()) ftranRowEtasHyper(v);
    solveUpper(v, true);
    ftranProductForm(v);
  } else if (transposed) {
    btranMany(std::span<LuVector>(&v, 1));
  } else {
    ftranMany(std::span<LuVector>(&v, 1));
  }
  std::fill(x.begin(), x.end(), 0.0);
  for (int k = 0; k < v.count; ++k) x[v.index[k]] = v.array[v.index[k]];
  v.clear();
}

double LuKernel::rcond() {
  if (!valid_ || m_ == 0) return valid_ ? 1.0 : 0.0;
  // Hager's method with Higham's refinements: est(||B^-1||_1).
  constexpr int kMaxHagerSteps = 5;
  const int n = m_;
  std::vector<double>& x = condX_;
  std::vector<double>& y = condY_;
  std::vector<double>& z = condZ_;
  x.assign(static_cast<size_t>(n), 1.0 / n);
  y.assign(static_cast<size_t>(n), 0.0);
  z.assign(static_cast<size_t>(n), 0.0);
  double est = 0.0;
  int lastJ = -1;
  for (int iter = 0; iter < kMaxHagerSteps; ++iter) {
    y = x;
    solveDense(y, false);
    double ny = 0.0;
    for (double d : y) ny += std::fabs(d);
    if (iter > 0 && ny <= est) break;
    est = ny;
    for (int i = 0; i < n; ++i) z[i] = y[i] >= 0.0 ? 1.0 : -1.0;
    solveDense(z, true);
    int j = 0;
    double zx = 0.0;
    for (int i = 0; i < n; ++i) {
      if (std::fabs(z[i]) > std::fabs(z[j])) j = i;
      zx += z[i] * x[i];
    }
    if (iter > 0 && (std::fabs(z[j]) <= zx || j == lastJ)) break;
    lastJ = j;
    std::fill(x.begin(), x.end(), 0.0);
    x[j] = 1.0;
  }
  // Higham's alternating test vector guards against the cases Hager's
  // iteration misses.
  for (int i = 0; i < n; ++i) x[i] = (i % 2 ? -1.0 : 1.0) * (1.0 + (n > 1 ? static_cast<double>(i) / (n - 1) : 0.0));
  solveDense(x, false);
  double alt = 0.0;
  for (double d : x) alt += std::fabs(d);
  est = std::max(est, 2.0 * alt / (3.0 * n));
  const double normB = factorNorm1_ >= 0.0 ? factorNorm1_ : matrixNorm1();
  if (est == 0.0 || normB == 0.0) return 0.0;
  return 1.0 / (normB * est);
}

double LuKernel::condEstimate(double p) {
  if (!valid_ || m_ == 0) return valid_ ? 1.0 : std::numeric_limits<double>::infinity();
  // p-norm power method (Boyd; Higham): a lower bound of ||A||_p that is
  // usually within a small factor.
  constexpr int kMaxPowerSteps = 8;
  // Relative slack of the convergence test z^T x >= ||z||_q (rounding).
  constexpr double kPowerConvergedSlack = 1e-10;
  const int n = m_;
  const double q = p / (p - 1.0);
  const auto pnorm = [](const std::vector<double>& v, double e) {
    double s = 0.0;
    for (double d : v) s += std::pow(std::fabs(d), e);
    return std::pow(s, 1.0 / e);
  };
  const auto dual = [](std::vector<double>& v, double e, double norm) {
    for (double& d : v) d = (d >= 0.0 ? 1.0 : -1.0) * std::pow(std::fabs(d) / norm, e - 1.0);
  };
  const auto estimate = [&](auto&& apply, auto&& applyT) {
    std::vector<double> x(static_cast<size_t>(n)), y(static_cast<size_t>(n)), z(static_cast<size_t>(n));
    // Start from a vector of varied positive entries (as the all-ones vector
    // but less likely to be orthogonal to the dominant direction).
    for (int i = 0; i < n; ++i) x[i] = 1.0 + 0.5 * std::sin(static_cast<double>(i));
    const double nx = pnorm(x, p);
    for (double& d : x) d /= nx;
    double est = 0.0;
    for (int iter = 0; iter < kMaxPowerSteps; ++iter) {
      apply(x, y);
      const double ny = pnorm(y, p);
      est = std::max(est, ny);
      if (ny == 0.0) break;
      dual(y, p, ny);
      applyT(y, z);
      const double nz = pnorm(z, q);
      double zx = 0.0;
      for (int i = 0; i < n; ++i) zx += z[i] * x[i];
      if (nz == 0.0 || nz <= zx * (1.0 + kPowerConvergedSlack)) break;
      x = z;
      dual(x, q, nz);
    }
    return est;
  };
  const double normB = estimate([&](const std::vector<double>& a, std::vector<double>& b) { multiplyB(a, b); },
                                [&](const std::vector<double>& a, std::vector<double>& b) { multiplyBt(a, b); });
  const double normInv = estimate(
      [&](const std::vector<double>& a, std::vector<double>& b) {
        b = a;
        solveDense(b, false);
      },
      [&](const std::vector<double>& a, std::vector<double>& b) {
        b = a;
        solveDense(b, true);
      });
  return normB * normInv;
}

}  // namespace torva
