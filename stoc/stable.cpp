// Stable laws by the integral representations of Zolotarev as arranged for
// computation by Nolan (1997, "Numerical calculation of stable densities and
// distribution functions", Comm. Statist. Stochastic Models 13): densities and
// distribution functions are one-dimensional integrals over a finite angle
// interval of a function g(theta) that is monotone in theta, evaluated by
// adaptive Gauss-Kronrod quadrature split where g = 1 (the peak of g e^-g).
#include "stoc/stable.hpp"

#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/cauchy.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/tools/roots.hpp>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace torva::stoc {
namespace {

constexpr double kPi = boost::math::constants::pi<double>();
// Relative tolerance asked of each quadrature; the integrands are smooth and
// bounded by 1 (e^-g) or 1/e (g e^-g), so this gives about 1e-10 absolute.
constexpr double kQuadTol = 1e-11;
constexpr unsigned kQuadDepth = 15;
// Beyond this g the factor e^-g underflows and the integrands are 0.
constexpr double kGMax = 700.0;
// alpha within this distance of 1 is treated by the alpha = 1 formulas when
// beta = 0 (Cauchy); the general formulas are used otherwise.
constexpr double kAlphaOneTol = 1e-12;
// Bisection steps to locate g(theta) = 1 (interval width pi / 2^60).
constexpr int kPeakSteps = 60;

// The function g(theta) of the representation for z > 0, and its interval.
struct Representation {
  double lo = 0, hi = 0;
  double alpha = 0, beta = 0, z = 0, theta0 = 0, zeta = 0;
  double g(double theta) const {
    if (alpha != 1.0) {
      const double a = alpha;
      const double c = std::pow(std::cos(a * theta0), 1.0 / (a - 1.0));
      const double s = std::sin(a * (theta0 + theta));
      const double ct = std::cos(theta);
      if (s <= 0 || ct <= 0) return theta <= lo ? (a < 1 ? 0.0 : INFINITY) : (a < 1 ? INFINITY : 0.0);
      const double v = c * std::pow(ct / s, a / (a - 1.0)) * std::cos(a * theta0 + (a - 1.0) * theta) / ct;
      return std::pow(z, a / (a - 1.0)) * v;
    }
    const double ct = std::cos(theta);
    if (ct <= 0) return theta < 0 ? 0.0 : INFINITY;
    const double h = kPi / 2 + beta * theta;
    const double v = (2.0 / kPi) * (h / ct) * std::exp(h * std::tan(theta) / beta);
    return std::exp(-kPi * z / (2.0 * beta)) * v;
  }
};

Representation represent(double alpha, double beta, double z) {
  Representation r;
  r.alpha = alpha;
  r.beta = beta;
  r.z = z;
  if (alpha != 1.0) {
    const double t = std::tan(kPi * alpha / 2.0);
    r.zeta = -beta * t;
    r.theta0 = std::atan(beta * t) / alpha;
    r.lo = -r.theta0;
  } else {
    r.lo = -kPi / 2;
  }
  r.hi = kPi / 2;
  return r;
}

double safe(double v) { return std::isfinite(v) ? v : 0.0; }

// Integral of f(g(theta)) over the representation's interval, split at the
// angle where g crosses 1.
template <class F>
double integrate(const Representation& r, F f) {
  if (!(r.hi > r.lo)) return 0.0;
  auto integrand = [&](double theta) {
    const double g = r.g(theta);
    if (!(g >= 0) || g > kGMax) return 0.0;
    return safe(f(g));
  };
  // g is monotone; locate g = 1 by bisection on the side changes.
  double a = r.lo, b = r.hi;
  const double eps = (b - a) * 1e-15;
  const double ga = r.g(a + eps), gb = r.g(b - eps);
  double split = std::numeric_limits<double>::quiet_NaN();
  if ((ga - 1.0) * (gb - 1.0) < 0) {
    const bool increasing = gb > ga;
    for (int i = 0; i < kPeakSteps; ++i) {
      const double m = 0.5 * (a + b);
      if ((r.g(m) < 1.0) == increasing) a = m; else b = m;
    }
    split = 0.5 * (a + b);
  }
  using Quad = boost::math::quadrature::gauss_kronrod<double, 31>;
  if (std::isnan(split)) return Quad::integrate(integrand, r.lo, r.hi, kQuadDepth, kQuadTol);
  return Quad::integrate(integrand, r.lo, split, kQuadDepth, kQuadTol) +
         Quad::integrate(integrand, split, r.hi, kQuadDepth, kQuadTol);
}

bool isCauchy(double alpha, double beta) { return std::fabs(alpha - 1.0) < kAlphaOneTol && beta == 0.0; }

// Density for z > 0 (alpha != 1) or any z (alpha == 1, beta > 0).
double pdfPositive(double alpha, double beta, double z) {
  const Representation r = represent(alpha, beta, z);
  const double integral = integrate(r, [](double g) { return g * std::exp(-g); });
  if (alpha != 1.0) return alpha / (kPi * std::fabs(alpha - 1.0) * z) * integral;
  return integral / (2.0 * std::fabs(beta));
}

double cdfPositive(double alpha, double beta, double z) {
  const Representation r = represent(alpha, beta, z);
  const double integral = integrate(r, [](double g) { return std::exp(-g); });
  if (alpha != 1.0) {
    const double c1 = alpha < 1.0 ? (kPi / 2 - r.theta0) / kPi : 1.0;
    const double sign = alpha < 1.0 ? 1.0 : -1.0;
    return c1 + sign * integral / kPi;
  }
  return integral / kPi;
}

double clamp01(double p) { return p < 0 ? 0.0 : (p > 1 ? 1.0 : p); }

}  // namespace

void stableSupport(double alpha, double beta, double& lo, double& hi) {
  lo = -INFINITY;
  hi = INFINITY;
  if (alpha < 1.0 && beta == 1.0) lo = 0.0;
  if (alpha < 1.0 && beta == -1.0) hi = 0.0;
}

double stablePdf(double alpha, double beta, double z) {
  if (alpha == 2.0) return boost::math::pdf(boost::math::normal_distribution<double>(0.0, std::sqrt(2.0)), z);
  if (isCauchy(alpha, beta)) return boost::math::pdf(boost::math::cauchy_distribution<double>(0.0, 1.0), z);
  if (alpha == 1.0) return beta > 0 ? pdfPositive(alpha, beta, z) : pdfPositive(alpha, -beta, -z);
  if (z == 0.0) {
    const Representation r = represent(alpha, beta, 0.0);
    return boost::math::tgamma(1.0 + 1.0 / alpha) * std::cos(r.theta0) /
           (kPi * std::pow(1.0 + r.zeta * r.zeta, 1.0 / (2.0 * alpha)));
  }
  return z > 0 ? pdfPositive(alpha, beta, z) : pdfPositive(alpha, -beta, -z);
}

double stableCdf(double alpha, double beta, double z) {
  if (alpha == 2.0) return boost::math::cdf(boost::math::normal_distribution<double>(0.0, std::sqrt(2.0)), z);
  if (isCauchy(alpha, beta)) return boost::math::cdf(boost::math::cauchy_distribution<double>(0.0, 1.0), z);
  if (alpha == 1.0) return clamp01(beta > 0 ? cdfPositive(alpha, beta, z) : 1.0 - cdfPositive(alpha, -beta, -z));
  if (z == 0.0) return clamp01((kPi / 2 - represent(alpha, beta, 0.0).theta0) / kPi);
  return clamp01(z > 0 ? cdfPositive(alpha, beta, z) : 1.0 - cdfPositive(alpha, -beta, -z));
}

double stableQuantile(double alpha, double beta, double u) {
  if (alpha == 2.0) return boost::math::quantile(boost::math::normal_distribution<double>(0.0, std::sqrt(2.0)), u);
  if (isCauchy(alpha, beta)) return boost::math::quantile(boost::math::cauchy_distribution<double>(0.0, 1.0), u);
  double lo, hi;
  stableSupport(alpha, beta, lo, hi);
  // Bracket the root by doubling away from 0 (or from the finite end).
  constexpr double kLimit = 1e300;
  auto f = [&](double z) { return stableCdf(alpha, beta, z) - u; };
  double a, b;
  if (std::isfinite(lo)) {
    a = lo;
    b = 1.0;
    while (f(b) < 0) {
      a = b;
      b *= 2;
      if (b > kLimit) return INFINITY;
    }
  } else if (std::isfinite(hi)) {
    b = hi;
    a = -1.0;
    while (f(a) > 0) {
      b = a;
      a *= 2;
      if (a < -kLimit) return -INFINITY;
    }
  } else {
    a = -1.0;
    b = 1.0;
    while (f(a) > 0) {
      b = a;
      a *= 2;
      if (a < -kLimit) return -INFINITY;
    }
    while (f(b) < 0) {
      a = b;
      b *= 2;
      if (b > kLimit) return INFINITY;
    }
  }
  const double fa = f(a), fb = f(b);
  if (fa == 0) return a;
  if (fb == 0) return b;
  // Bits of agreement asked of the root; the distribution function itself is
  // accurate to about 1e-10.
  constexpr int kRootBits = 40;
  std::uintmax_t iterations = 200;
  auto root = boost::math::tools::toms748_solve(f, a, b, fa, fb,
                                                boost::math::tools::eps_tolerance<double>(kRootBits), iterations);
  return 0.5 * (root.first + root.second);
}

}  // namespace torva::stoc
