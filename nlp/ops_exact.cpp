// Exact local partials of the probability, finance and queueing functions
// whose formulas are compositions of elementary functions: each formula is
// written once over second-order forward numbers (nlp/dual.hpp), which
// carry its first and second partials in every argument. Covered: the laws
// with closed-form distribution functions, the discrete laws in their
// parameters, the finance and queueing functions. The value itself still
// comes from the distribution layer (ops_math.cpp); each formula is checked
// against it before its partials are used.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>


#include "nlp/dual.hpp"
#include "nlp/ops_math.hpp"
#include "torva.h"

namespace torva::nlp {
namespace {

constexpr double kInvSqrt2Pi = 0.3989422804014327;
constexpr double kInvPi = 0.3183098861837907;

double phiOf(double z) { return kInvSqrt2Pi * std::exp(-0.5 * z * z); }

// Standard normal distribution function and its inverse over D2.
D2 Phi(const D2& z) {
  const double f = phiOf(z.v);
  return chain(z, 0.5 * std::erfc(-z.v / std::sqrt(2.0)), f, -z.v * f);
}
D2 phi(const D2& z) {
  const double f = phiOf(z.v);
  return chain(z, f, -z.v * f, (z.v * z.v - 1.0) * f);
}
D2 PhiInv(const D2& p, double quantile) {
  const double f = phiOf(quantile);
  return chain(p, quantile, 1.0 / f, quantile / (f * f));
}

// A law with closed-form distribution function, density and quantile:
// cdf(x, p1, p2, p3), pdf(...) and inv(prob, ...), the parameters in the
// order of the distribution layer. `q` is the quantile the layer computed
// (used where the inverse needs a special function).
struct Law {
  virtual ~Law() = default;
  virtual D2 cdf(const D2& x, const D2* p) const = 0;
  virtual D2 pdf(const D2& x, const D2* p) const = 0;
  virtual D2 inv(const D2& u, const D2* p, double q) const = 0;
};

// Location-scale laws: F(x) = G((x - m)/s), density g((x - m)/s)/s,
// quantile m + s Ginv(u); G, g, g' and Ginv given per law.
template <class Std>
struct LocationScale final : Law {
  D2 cdf(const D2& x, const D2* p) const override { return Std::G((x - p[0]) / p[1]); }
  D2 pdf(const D2& x, const D2* p) const override { return Std::g((x - p[0]) / p[1]) / p[1]; }
  D2 inv(const D2& u, const D2* p, double q) const override {
    return p[0] + p[1] * Std::Ginv(u, (q - p[0].v) / p[1].v);
  }
};

struct StdNormal {
  static D2 G(const D2& z) { return Phi(z); }
  static D2 g(const D2& z) { return phi(z); }
  static D2 Ginv(const D2& u, double z) { return PhiInv(u, z); }
};
struct StdCauchy {
  static D2 G(const D2& z) { return 0.5 + atan(z) * kInvPi; }
  static D2 g(const D2& z) { return kInvPi / (1.0 + z * z); }
  static D2 Ginv(const D2& u, double) { return tan(M_PI * (u - 0.5)); }
};
struct StdLogistic {
  static D2 G(const D2& z) { return 1.0 / (1.0 + exp(-z)); }
  static D2 g(const D2& z) {
    const D2 e = exp(-fabs(z));
    return e / ((1.0 + e) * (1.0 + e));
  }
  static D2 Ginv(const D2& u, double) { return log(u / (1.0 - u)); }
};
struct StdLaplace {
  static D2 G(const D2& z) { return z.v < 0 ? 0.5 * exp(z) : 1.0 - 0.5 * exp(-z); }
  static D2 g(const D2& z) { return 0.5 * exp(-fabs(z)); }
  static D2 Ginv(const D2& u, double) { return u.v < 0.5 ? log(2.0 * u) : -log(2.0 * (1.0 - u)); }
};
struct StdGumbel {  // largest extreme value
  static D2 G(const D2& z) { return exp(-exp(-z)); }
  static D2 g(const D2& z) { return exp(-z - exp(-z)); }
  static D2 Ginv(const D2& u, double) { return -log(-log(u)); }
};

struct Uniform final : Law {  // lower, upper
  D2 cdf(const D2& x, const D2* p) const override {
    if (x.v <= p[0].v) return constD2(0.0);
    if (x.v >= p[1].v) return constD2(1.0);
    return (x - p[0]) / (p[1] - p[0]);
  }
  D2 pdf(const D2& x, const D2* p) const override {
    if (x.v < p[0].v || x.v > p[1].v) return constD2(0.0);
    return 1.0 / (p[1] - p[0]);
  }
  D2 inv(const D2& u, const D2* p, double) const override { return p[0] + u * (p[1] - p[0]); }
};

struct Exponential final : Law {  // mean
  D2 cdf(const D2& x, const D2* p) const override {
    return x.v <= 0 ? constD2(0.0) : 1.0 - exp(-x / p[0]);
  }
  D2 pdf(const D2& x, const D2* p) const override {
    return x.v < 0 ? constD2(0.0) : exp(-x / p[0]) / p[0];
  }
  D2 inv(const D2& u, const D2* p, double) const override { return -p[0] * log1p(-u); }
};

struct Weibull final : Law {  // shape k, scale lambda
  D2 cdf(const D2& x, const D2* p) const override {
    return x.v <= 0 ? constD2(0.0) : 1.0 - exp(-pow(x / p[1], p[0]));
  }
  D2 pdf(const D2& x, const D2* p) const override {
    if (x.v <= 0) return constD2(0.0);
    const D2 t = pow(x / p[1], p[0]);
    return p[0] / x * t * exp(-t);
  }
  D2 inv(const D2& u, const D2* p, double) const override { return p[1] * pow(-log1p(-u), 1.0 / p[0]); }
};

struct Pareto final : Law {  // scale (minimum), shape
  D2 cdf(const D2& x, const D2* p) const override {
    return x.v <= p[0].v ? constD2(0.0) : 1.0 - pow(p[0] / x, p[1]);
  }
  D2 pdf(const D2& x, const D2* p) const override {
    return x.v < p[0].v ? constD2(0.0) : p[1] / x * pow(p[0] / x, p[1]);
  }
  D2 inv(const D2& u, const D2* p, double) const override { return p[0] * pow(1.0 - u, -1.0 / p[1]); }
};

struct Lognormal final : Law {  // mean and standard deviation of the logarithm
  D2 cdf(const D2& x, const D2* p) const override {
    return x.v <= 0 ? constD2(0.0) : Phi((log(x) - p[0]) / p[1]);
  }
  D2 pdf(const D2& x, const D2* p) const override {
    return x.v <= 0 ? constD2(0.0) : phi((log(x) - p[0]) / p[1]) / (p[1] * x);
  }
  D2 inv(const D2& u, const D2* p, double q) const override {
    return exp(p[0] + p[1] * PhiInv(u, (std::log(q) - p[0].v) / p[1].v));
  }
};

struct Triangular final : Law {  // lower a, mode c, upper b
  D2 cdf(const D2& x, const D2* p) const override {
    const D2 &a = p[0], &c = p[1], &b = p[2];
    if (x.v <= a.v) return constD2(0.0);
    if (x.v >= b.v) return constD2(1.0);
    if (x.v <= c.v) return (x - a) * (x - a) / ((b - a) * (c - a));
    return 1.0 - (b - x) * (b - x) / ((b - a) * (b - c));
  }
  D2 pdf(const D2& x, const D2* p) const override {
    const D2 &a = p[0], &c = p[1], &b = p[2];
    if (x.v < a.v || x.v > b.v) return constD2(0.0);
    if (x.v <= c.v) return 2.0 * (x - a) / ((b - a) * (c - a));
    return 2.0 * (b - x) / ((b - a) * (b - c));
  }
  D2 inv(const D2& u, const D2* p, double) const override {
    const D2 &a = p[0], &c = p[1], &b = p[2];
    if (u.v * (b.v - a.v) <= c.v - a.v) return a + sqrt(u * (b - a) * (c - a));
    return b - sqrt((1.0 - u) * (b - a) * (b - c));
  }
};

D2 lgammaD2(const D2& u) {
  return chain(u, std::lgamma(u.v), digammaOf(u.v), trigammaOf(u.v));
}
D2 lbeta(const D2& a, const D2& b) { return lgammaD2(a) + lgammaD2(b) - lgammaD2(a + b); }

// Series of the incomplete gamma and beta functions: their terms are all
// positive, so the partials of the sums carry no cancellation. A series
// that needs more than kMaxSeriesTerms terms is not formed (the partials
// then come from differences); it stops once a term falls below
// kSeriesTol of the sum, under the rounding of a double.
constexpr int kMaxSeriesTerms = 100000;
constexpr double kSeriesTol = 1e-17;

// Regularised lower incomplete gamma P(a, z) = z^a e^-z sum_n z^n / Gamma(a+n+1)
// (Abramowitz and Stegun 6.5.29).
bool gammaP(const D2& a, const D2& z, D2& out) {
  if (z.v == 0) {
    out = constD2(0.0);
    return true;
  }
  const D2 lz = log(z);
  D2 t = exp(a * lz - z - lgammaD2(a + 1.0));
  D2 sum = t;
  for (int n = 1; n < kMaxSeriesTerms; ++n) {
    t = t * z / (a + n);
    sum = sum + t;
    if (n > z.v - a.v && t.v <= kSeriesTol * sum.v) {
      out = sum;
      return true;
    }
  }
  return false;
}

// Regularised incomplete beta I_x(a, b) = x^a (1-x)^b / (a B(a,b)) (1 + sum_n T_n),
// T_0 = x (a+b)/(a+1), T_n = T_{n-1} x (a+b+n)/(a+n+1) (Abramowitz and
// Stegun 26.5.4), through I_x(a,b) = 1 - I_{1-x}(b,a) above the mean.
bool betaI(const D2& x, const D2& a, const D2& b, D2& out) {
  if (x.v <= 0 || x.v >= 1) {
    out = constD2(x.v <= 0 ? 0.0 : 1.0);
    return true;
  }
  if (x.v > (a.v + 1) / (a.v + b.v + 2)) {
    if (!betaI(1.0 - x, b, a, out)) return false;
    out = 1.0 - out;
    return true;
  }
  D2 t = x * (a + b) / (a + 1.0);
  D2 sum = 1.0 + t;
  for (int n = 1; n < kMaxSeriesTerms && t.v > kSeriesTol * sum.v; ++n) {
    t = t * x * (a + b + n) / (a + (n + 1));
    sum = sum + t;
    if (n + 1 == kMaxSeriesTerms) return false;
  }
  out = exp(a * log(x) + b * log(1.0 - x) - log(a) - lbeta(a, b)) * sum;
  return true;
}

// Laws whose distribution function is a special function: formed by the
// series above (a value NaN when a series is too long, which the check
// against the layer's value then rejects). The quantile follows
// from F(x(u, p), p) = u by implicit differentiation:
//   x_s = -G_s / F_x and x_st = -(G_st + F_xs x_t + F_xt x_s + F_xx x_s x_t) / F_x
// with G = F - u (so G_u = -1 and u enters no second partial).
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct SeriesLaw : Law {
  D2 inv(const D2& u, const D2* p, double q) const override {
    D2 seeded[kDualArgs - 1];
    for (int i = 0; i < kDualArgs - 1; ++i) seeded[i] = varD2(p[i].v, i + 1);
    const D2 F = cdf(varD2(q, 0), seeded);
    const double Fx = F.g[0];
    auto G1 = [&](int s) { return s == 0 ? -1.0 : F.g[static_cast<std::size_t>(s)]; };
    auto Fxs = [&](int s) { return s == 0 ? 0.0 : F.h[static_cast<std::size_t>(dualTri(s, 0))]; };
    auto G2 = [&](int s, int t) { return s == 0 || t == 0 ? 0.0 : F.h[static_cast<std::size_t>(dualTri(s, t))]; };
    D2 r;
    r.v = q;
    if (!(Fx > 0)) return constD2(kNaN);
    for (int s = 0; s < kDualArgs; ++s) r.g[static_cast<std::size_t>(s)] = -G1(s) / Fx;
    const double Fxx = F.h[0];
    for (int s = 0; s < kDualArgs; ++s)
      for (int t = 0; t <= s; ++t) {
        const double xs = r.g[static_cast<std::size_t>(s)], xt = r.g[static_cast<std::size_t>(t)];
        r.h[static_cast<std::size_t>(dualTri(s, t))] = -(G2(s, t) + Fxs(s) * xt + Fxs(t) * xs + Fxx * xs * xt) / Fx;
      }
    (void)u;
    return r;
  }
};

struct Gamma final : SeriesLaw {  // shape k, scale theta
  D2 cdf(const D2& x, const D2* p) const override {
    D2 r;
    if (x.v <= 0) return constD2(0.0);
    if (!gammaP(p[0], x / p[1], r)) return constD2(kNaN);
    return r;
  }
  D2 pdf(const D2& x, const D2* p) const override {
    if (x.v <= 0) return constD2(0.0);
    return exp((p[0] - 1.0) * log(x) - x / p[1] - lgammaD2(p[0]) - p[0] * log(p[1]));
  }
};

struct ChiSquare final : SeriesLaw {  // degrees of freedom
  D2 cdf(const D2& x, const D2* p) const override {
    D2 r;
    if (x.v <= 0) return constD2(0.0);
    if (!gammaP(0.5 * p[0], 0.5 * x, r)) return constD2(kNaN);
    return r;
  }
  D2 pdf(const D2& x, const D2* p) const override {
    if (x.v <= 0) return constD2(0.0);
    const D2 k = 0.5 * p[0];
    return exp((k - 1.0) * log(x) - 0.5 * x - lgammaD2(k) - k * M_LN2);
  }
};

struct Beta final : SeriesLaw {  // shapes a, b
  D2 cdf(const D2& x, const D2* p) const override {
    D2 r;
    if (!betaI(x, p[0], p[1], r)) return constD2(kNaN);
    return r;
  }
  D2 pdf(const D2& x, const D2* p) const override {
    if (x.v <= 0 || x.v >= 1) return constD2(0.0);
    return exp((p[0] - 1.0) * log(x) + (p[1] - 1.0) * log(1.0 - x) - lbeta(p[0], p[1]));
  }
};

struct StudentT final : SeriesLaw {  // degrees of freedom
  D2 cdf(const D2& x, const D2* p) const override {
    // At 0 the series' argument has a square-root corner; there
    // F = 1/2 + f(0) x + O(x^3) gives the partials to second order.
    if (x.v == 0) return 0.5 + pdf(constD2(0.0), p) * x;
    D2 r;
    if (!betaI(p[0] / (p[0] + x * x), 0.5 * p[0], constD2(0.5), r)) return constD2(kNaN);
    return x.v > 0 ? 1.0 - 0.5 * r : 0.5 * r;
  }
  D2 pdf(const D2& x, const D2* p) const override {
    const D2& nu = p[0];
    return exp(lgammaD2(0.5 * (nu + 1.0)) - lgammaD2(0.5 * nu) - 0.5 * log(nu * M_PI) -
               0.5 * (nu + 1.0) * log1p(x * x / nu));
  }
};

struct FisherF final : SeriesLaw {  // degrees of freedom d1, d2
  D2 cdf(const D2& x, const D2* p) const override {
    D2 r;
    if (x.v <= 0) return constD2(0.0);
    if (!betaI(p[0] * x / (p[0] * x + p[1]), 0.5 * p[0], 0.5 * p[1], r)) return constD2(kNaN);
    return r;
  }
  D2 pdf(const D2& x, const D2* p) const override {
    if (x.v <= 0) return constD2(0.0);
    const D2 &d1 = p[0], &d2 = p[1];
    return exp(0.5 * (d1 * log(d1 * x) + d2 * log(d2) - (d1 + d2) * log(d1 * x + d2)) - log(x) -
               lbeta(0.5 * d1, 0.5 * d2));
  }
};

const Law* lawOf(int type) {
  static const LocationScale<StdNormal> normal;
  static const LocationScale<StdCauchy> cauchy;
  static const LocationScale<StdLogistic> logistic;
  static const LocationScale<StdLaplace> laplace;
  static const LocationScale<StdGumbel> gumbel;
  static const Uniform uniform;
  static const Exponential exponential;
  static const Weibull weibull;
  static const Pareto pareto;
  static const Lognormal lognormal;
  static const Triangular triangular;
  static const Gamma gamma;
  static const ChiSquare chiSquare;
  static const Beta beta;
  static const StudentT studentT;
  static const FisherF fisherF;
  switch (type) {
    case QX_DIST_NORMAL: return &normal;
    case QX_DIST_CAUCHY: return &cauchy;
    case QX_DIST_LOGISTIC: return &logistic;
    case QX_DIST_LAPLACE: return &laplace;
    case QX_DIST_GUMBEL: return &gumbel;
    case QX_DIST_UNIFORM: return &uniform;
    case QX_DIST_EXPONENTIAL: return &exponential;
    case QX_DIST_WEIBULL: return &weibull;
    case QX_DIST_PARETO: return &pareto;
    case QX_DIST_LOGNORMAL: return &lognormal;
    case QX_DIST_TRIANGULAR: return &triangular;
    case QX_DIST_GAMMA: return &gamma;
    case QX_DIST_CHI_SQUARE: return &chiSquare;
    case QX_DIST_BETA: return &beta;
    case QX_DIST_STUDENTS_T: return &studentT;
    case QX_DIST_F_DISTRIBUTION: return &fisherF;
    default: return nullptr;
  }
}

// Discrete laws: the probabilities of the values k as functions of the
// parameters; the point itself only selects terms (partial 0).
struct DiscreteLaw {
  int first = 0;                           // smallest value
  std::function<bool(const D2*)> valid;    // parameters inside the law's domain
  std::function<D2(int, const D2*)> pmf;
};

const DiscreteLaw* discreteLawOf(int type) {
  static const DiscreteLaw binomial{0, [](const D2* p) { return p[1].v > 0 && p[1].v < 1; },
                                    [](int k, const D2* p) {
                                      const double n = p[0].v;
                                      if (k > n) return constD2(0.0);
                                      const double c = std::lgamma(n + 1) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1);
                                      return exp(c + k * log(p[1]) + (n - k) * log1p(-p[1]));
                                    }};
  static const DiscreteLaw negBinomial{0, [](const D2* p) { return p[0].v > 0 && p[1].v > 0 && p[1].v < 1; },
                                       [](int k, const D2* p) {
                                         return exp(lgammaD2(k + p[0]) - lgammaD2(p[0]) - std::lgamma(k + 1.0) +
                                                    p[0] * log(p[1]) + k * log1p(-p[1]));
                                       }};
  static const DiscreteLaw geometric{0, [](const D2* p) { return p[0].v > 0 && p[0].v < 1; },
                                     [](int k, const D2* p) { return p[0] * exp(k * log1p(-p[0])); }};
  static const DiscreteLaw poisson{0, [](const D2* p) { return p[0].v > 0; }, [](int k, const D2* p) {
                                     return exp(-p[0] + k * log(p[0]) - std::lgamma(k + 1.0));
                                   }};
  static const DiscreteLaw logarithmic{1, [](const D2* p) { return p[0].v > 0 && p[0].v < 1; },
                                       [](int k, const D2* p) { return -exp(k * log(p[0])) / (k * log1p(-p[0])); }};
  static const DiscreteLaw betaBinomial{
      0, [](const D2* p) { return p[1].v > 0 && p[2].v > 0; }, [](int k, const D2* p) {
        const double n = p[0].v;
        if (k > n) return constD2(0.0);
        const double c = std::lgamma(n + 1) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1);
        const D2 &a = p[1], &b = p[2];
        return exp(c + lgammaD2(k + a) + lgammaD2(n - k + b) - lgammaD2(n + a + b) - lgammaD2(a) - lgammaD2(b) +
                   lgammaD2(a + b));
      }};
  switch (type) {
    case QX_DIST_BINOMIAL: return &binomial;
    case QX_DIST_NEGATIVE_BINOMIAL: return &negBinomial;
    case QX_DIST_GEOMETRIC: return &geometric;
    case QX_DIST_POISSON: return &poisson;
    case QX_DIST_LOGARITHMIC: return &logarithmic;
    case QX_DIST_BETA_BINOMIAL: return &betaBinomial;
    default: return nullptr;
  }
}

// Longest sum of probabilities formed for the partials of a discrete
// distribution function; longer ones fall back to difference quotients.
constexpr double kMaxPmfTerms = 1e5;

bool discrete(int type, int func, const D2* x, double value, D2& r) {
  if (func == QX_DISTR_FUNC_ICDF) {  // a whole number, piecewise constant in everything
    r = constD2(value);
    return true;
  }
  const DiscreteLaw* law = discreteLawOf(type);
  if (!law || !law->valid(x + 1) || !(x[0].v < kMaxPmfTerms)) return false;
  const double k = x[0].v;
  if (func == QX_DISTR_FUNC_PDF) {
    r = (k == std::floor(k) && k >= law->first) ? law->pmf(static_cast<int>(k), x + 1) : constD2(0.0);
    return true;
  }
  r = constD2(0.0);
  for (int i = law->first; i <= k; ++i) r = r + law->pmf(i, x + 1);
  return true;
}

// Erlang's loss formula by the recursion B(k) = A B(k-1) / (k + A B(k-1)),
// and the waiting probability C = c B / (c - A (1 - B)) (1 when A >= c).
D2 erlangB(const D2& load, int servers) {
  D2 b = constD2(1.0);
  for (int k = 1; k <= servers; ++k) b = load * b / (k + load * b);
  return b;
}
D2 erlangC(const D2& load, int servers) {
  if (load.v >= servers) return constD2(1.0);
  const D2 b = erlangB(load, servers);
  return servers * b / (servers - load * (1.0 - b));
}
// Linear interpolation between neighbouring server counts (as the values).
template <class F>
D2 interpolate(const D2& c, F f) {
  const double lo = std::floor(c.v);
  const D2 t = c - lo;
  // At a whole number of servers the partial in c is the right-hand one.
  return (1.0 - t) * f(static_cast<int>(lo)) + t * f(static_cast<int>(lo) + 1);
}

// Expected shortfall E[max(X - x, 0)] = mean - x + sum_{k < x} (x - k) P(k)
// for a law on 0..last.
template <class Pmf>
D2 linearLoss(const D2& mean, const D2& x, double last, Pmf pmf) {
  D2 s = mean - x;
  for (int k = 0; k < x.v && k <= last; ++k) s = s + (x - k) * pmf(k);
  return s;
}

constexpr double kMaxTerms = 1e6;  // the bound of the value functions

bool finance(int op, const D2* a, D2& r) {
  switch (op) {
    case EP_FPA:  // annuity (1 - (1 + i)^-n) / i; its Taylor polynomial at i = 0
      if (a[0].v == 0.0) {
        const D2 &i = a[0], &n = a[1];
        r = n - i * (n + n * n) * 0.5 + i * i * (n * (n + 1.0) * (n + 2.0)) / 6.0;
      } else {
        r = (1.0 - pow(1.0 + a[0], -a[1])) / a[0];
      }
      return true;
    case EP_FPL:
      r = pow(1.0 + a[0], -a[1]);
      return true;
    case EP_PEL:
      r = interpolate(a[1], [&](int c) { return erlangB(a[0], c); });
      return true;
    case EP_PEB:
      r = interpolate(a[1], [&](int c) { return erlangC(a[0], c); });
      return true;
    case EP_PPL:  // Poisson: mean a[0], level a[1]
      if (a[1].v > kMaxTerms) return false;
      r = linearLoss(a[0], a[1], kMaxTerms, [&](int k) { return exp(-a[0] + k * log(a[0]) - std::lgamma(k + 1.0)); });
      return true;
    case EP_PBNO: {  // binomial: trials a[0] (a whole number), probability a[1], level a[2]
      if (a[0].v > kMaxTerms || !(a[1].v > 0 && a[1].v < 1)) return false;
      const double n = std::floor(a[0].v);
      r = linearLoss(n * a[1], a[2], n, [&](int k) {
        const double logc = std::lgamma(n + 1) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1);
        return k > n ? constD2(0.0) : exp(logc + k * log(a[1]) + (n - k) * log1p(-a[1]));
      });
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

bool exactPartials(int op, const double* a, int n, double value, double* d1, double* d2) {
  if (n > kDualArgs) return false;
  D2 x[kDualArgs];
  for (int i = 0; i < n; ++i) x[i] = varD2(a[i], i);
  D2 r;
  int type = 0, func = 0;
  bool discrete = false;
  if (probabilityOp(op, type, func, discrete)) {
    const Law* law = lawOf(type);
    if (discrete) {
      x[0] = constD2(a[0]);
      if (!torva::nlp::discrete(type, func, x, value, r)) return false;
    } else if (!law) {
      return false;
    } else if (func == QX_DISTR_FUNC_CDF) r = law->cdf(x[0], x + 1);
    else if (func == QX_DISTR_FUNC_PDF) r = law->pdf(x[0], x + 1);
    else r = law->inv(x[0], x + 1, value);
  } else if (!finance(op, x, r)) {
    return false;
  }
  // The formula must reproduce the value it differentiates (it does up to
  // rounding, well inside kAgree, wherever both are defined); where a law's
  // conventions differ the partials come from differences instead.
  constexpr double kAgree = 1e-9;
  if (!(std::fabs(r.v - value) <= kAgree * std::max(1.0, std::fabs(value)))) return false;
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(r.g[static_cast<std::size_t>(i)])) return false;
  if (d1)
    for (int i = 0; i < n; ++i) d1[i] = r.g[static_cast<std::size_t>(i)];
  if (d2)
    for (int k = 0; k < n * (n + 1) / 2; ++k) d2[k] = std::isfinite(r.h[static_cast<std::size_t>(k)]) ? r.h[static_cast<std::size_t>(k)] : 0.0;
  return true;
}

}  // namespace torva::nlp
