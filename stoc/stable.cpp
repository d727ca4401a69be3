// Stable laws by the integral representations of Zolotarev as arranged for
// computation by Nolan (1997, "Numerical calculation of stable densities and
// distribution functions", Comm. Statist. Stochastic Models 13): densities and
// distribution functions are one-dimensional integrals over a finite angle
// interval of a function g(theta) that is monotone in theta, evaluated by
// adaptive Gauss-Kronrod quadrature on graded pieces.
#include "stoc/stable.hpp"

#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/cauchy.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/tools/roots.hpp>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace torva::stoc {
namespace {

constexpr double kPi = boost::math::constants::pi<double>();
// Relative tolerance and subdivision depth of the quadrature on each graded
// piece; on pieces matched to the integrand's own scale a 15-point
// Gauss-Kronrod rule meets it at once or after one or two halvings, and the
// depth bound keeps negligible pieces from being refined without end.
constexpr double kQuadTol = 1e-11;
constexpr unsigned kQuadDepth = 2;
// Beyond this g the factor e^-g underflows and the integrands are 0.
constexpr double kGMax = 700.0;
// alpha within this distance of 1 is treated by the alpha = 1 formulas when
// beta = 0 (Cauchy); the general formulas are used otherwise.
constexpr double kAlphaOneTol = 1e-12;
// Graded cuts: at most this many halvings towards each end (down to 2^-60
// of the interval, beyond the resolution of theta near pi/2).
constexpr int kMaxGrades = 60;
// Below this g both integrands are constant (e^-g = 1, g e^-g = 0) to well
// within the quadrature tolerance.
constexpr double kGSmall = 1e-14;

// The function g(theta) of the representation for z > 0, and its interval.
struct Representation {
  double lo = 0, hi = 0;
  double alpha = 0, beta = 0, z = 0, theta0 = 0, zeta = 0;
  // g is formed from its logarithm so that a huge or tiny power of z and a
  // tiny or huge V(theta) never meet as 0 * inf.
  double g(double theta) const {
    if (alpha != 1.0) {
      const double a = alpha;
      const double s = std::sin(a * (theta0 + theta));
      const double ct = std::cos(theta);
      if (s <= 0 || ct <= 0) return theta <= lo ? (a < 1 ? 0.0 : INFINITY) : (a < 1 ? INFINITY : 0.0);
      const double logV = std::log(std::cos(a * theta0)) / (a - 1.0) + a / (a - 1.0) * std::log(ct / s) +
                          std::log(std::cos(a * theta0 + (a - 1.0) * theta) / ct);
      return std::exp(a / (a - 1.0) * std::log(z) + logV);
    }
    const double ct = std::cos(theta);
    if (ct <= 0) return theta < 0 ? 0.0 : INFINITY;
    const double h = kPi / 2 + beta * theta;
    if (h <= 0) return 0.0;
    const double logV = std::log(2.0 / kPi * h / ct) + h * std::tan(theta) / beta;
    return std::exp(-kPi * z / (2.0 * beta) + logV);
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

// Integral of f(g(theta)) over the representation's interval. g runs
// monotonically between 0 and infinity, and both integrands change only where
// g is near 1; that transition can be far narrower than the interval (small
// or large |z|, alpha near 1, alpha = 1 with small |beta|), and it can sit
// close to an end where g has a power-law or exponential endpoint. The
// interval is therefore cut at points graded geometrically away from the
// transition (starting at its own width) and towards both ends; the grading
// towards an end stops once g there is beyond kGMax (the integrand is 0 from
// there on) or below kGSmall (the integrand is constant to that accuracy).
template <class F>
double integrate(const Representation& r, F f) {
  if (!(r.hi > r.lo)) return 0.0;
  auto integrand = [&](double theta) {
    const double g = r.g(theta);
    if (!(g >= 0) || g > kGMax) return 0.0;
    return safe(f(g));
  };
  const double width = r.hi - r.lo;
  std::vector<double> cuts = {r.lo, r.lo + 0.5 * width, r.hi};
  // g grows without bound towards the left end for alpha > 1 and towards the
  // right end otherwise; it falls to 0 towards the other end.
  const bool infiniteLeft = r.alpha > 1.0;
  auto settledLeft = [&](double g) { return infiniteLeft ? !(g <= kGMax) : g < kGSmall; };
  auto settledRight = [&](double g) { return infiniteLeft ? g < kGSmall : !(g <= kGMax); };
  bool leftOpen = true, rightOpen = true;
  for (int k = 2; k <= kMaxGrades && (leftOpen || rightOpen); ++k) {
    const double t = width * std::ldexp(1.0, -k);
    if (leftOpen) {
      cuts.push_back(r.lo + t);
      leftOpen = !settledLeft(r.g(r.lo + t));
    }
    if (rightOpen) {
      cuts.push_back(r.hi - t);
      rightOpen = !settledRight(r.g(r.hi - t));
    }
  }
  // The transition: bisection for g = 1, then its width as the distance at
  // which ln g has changed by 1.
  double a = r.lo, b = r.hi;
  for (int i = 0; i < kMaxGrades; ++i) {
    const double m = 0.5 * (a + b);
    if ((r.g(m) < 1.0) != infiniteLeft) a = m; else b = m;
  }
  const double center = 0.5 * (a + b);
  double scale = width;
  for (int k = 1; k <= kMaxGrades; ++k) {
    const double h = width * std::ldexp(1.0, -k);
    const double gl = center - h > r.lo ? r.g(center - h) : (infiniteLeft ? INFINITY : 0.0);
    const double gr = center + h < r.hi ? r.g(center + h) : (infiniteLeft ? 0.0 : INFINITY);
    if (std::fabs(std::log(gl)) < 1.0 && std::fabs(std::log(gr)) < 1.0) {
      scale = h;
      break;
    }
  }
  for (double t = scale / 4; t < width; t *= 2) {
    if (center - t > r.lo) cuts.push_back(center - t);
    if (center + t < r.hi) cuts.push_back(center + t);
  }
  cuts.push_back(center);
  std::sort(cuts.begin(), cuts.end());
  using Quad = boost::math::quadrature::gauss_kronrod<double, 15>;
  double sum = 0;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
    if (cuts[i + 1] > cuts[i]) sum += Quad::integrate(integrand, cuts[i], cuts[i + 1], kQuadDepth, kQuadTol);
  return sum;
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
  // The root is sought in y = asinh(z), which turns the power-law tails into
  // ranges a doubling bracket reaches in a few steps.
  constexpr double kYLimit = 700.0;  // sinh(700) is near the largest double
  auto f = [&](double y) { return stableCdf(alpha, beta, std::sinh(y)) - u; };
  double a = std::isfinite(lo) ? std::asinh(lo) : -1.0;
  double b = std::isfinite(hi) ? std::asinh(hi) : 1.0;
  double fa = f(a), fb = f(b);
  while (fa > 0) {
    b = a;
    fb = fa;
    a = a < -0.5 ? 2 * a : -1.0;
    if (a < -kYLimit) return -INFINITY;
    fa = f(a);
  }
  while (fb < 0) {
    a = b;
    fa = fb;
    b = b > 0.5 ? 2 * b : 1.0;
    if (b > kYLimit) return INFINITY;
    fb = f(b);
  }
  if (fa == 0) return std::sinh(a);
  if (fb == 0) return std::sinh(b);
  // Bits of agreement asked of the root; the distribution function itself is
  // accurate to about 1e-10.
  constexpr int kRootBits = 42;
  std::uintmax_t iterations = 200;
  auto root = boost::math::tools::toms748_solve(f, a, b, fa, fb,
                                                boost::math::tools::eps_tolerance<double>(kRootBits), iterations);
  return std::sinh(0.5 * (root.first + root.second));
}

}  // namespace torva::stoc
