// Distribution functions by their standard definitions. Special functions
// and the quantiles of the continuous laws come from Boost.Math; the discrete
// laws are inverted by searching their distribution function, which gives the
// exact definition "smallest k with F(k) >= u".
#include "stoc/distributions.hpp"

#include <algorithm>
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/cauchy.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/exponential.hpp>
#include <boost/math/distributions/extreme_value.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/gamma.hpp>
#include <boost/math/distributions/geometric.hpp>
#include <boost/math/distributions/hypergeometric.hpp>
#include <boost/math/distributions/laplace.hpp>
#include <boost/math/distributions/logistic.hpp>
#include <boost/math/distributions/lognormal.hpp>
#include <boost/math/distributions/negative_binomial.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/pareto.hpp>
#include <boost/math/distributions/poisson.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/distributions/triangular.hpp>
#include <boost/math/distributions/weibull.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/log1p.hpp>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>

#include "stoc/stable.hpp"

namespace torva::stoc {

double DiscreteTable::rebuild(int type) {
  const int len = length();
  lookup.assign(static_cast<std::size_t>(len + kLookupHeader), 0.0);
  lookup[0] = type;
  lookup[1] = len + kLookupHeader;
  lookup[2] = 0;
  lookup[3] = len - 1;
  lookup[4] = kLookupHeader;
  double sum = 0;
  for (int i = 0; i < len; ++i) {
    sum += prob[static_cast<std::size_t>(i)];
    lookup[static_cast<std::size_t>(kLookupHeader + i)] = sum;
  }
  return sum;
}

namespace {

constexpr double kBig = std::numeric_limits<double>::max();
// Integers beyond 2^53 are no longer exact doubles: a discrete search that
// has to go past this reports an infinite value.
constexpr double kMaxExactInteger = 9007199254740992.0;

struct NamedType {
  int code;
  const char* name;
  int params;
};
constexpr NamedType kTypes[] = {
    {QX_DIST_BINOMIAL, "BINOMIAL", 2},
    {QX_DIST_DISCRETE, "DISCRETE", 0},
    {QX_DIST_DISCRETE_ALT, "UNKNOWN", 0},
    {QX_DIST_NEGATIVE_BINOMIAL, "NEGATIVE_BINOMIAL", 2},
    {QX_DIST_GEOMETRIC, "GEOMETRIC", 1},
    {QX_DIST_POISSON, "POISSON", 1},
    {QX_DIST_LOGARITHMIC, "LOGARITHMIC", 1},
    {QX_DIST_HYPER_GEOMETRIC, "HYPER_GEOMETRIC", 3},
    {QX_DIST_BETA, "BETA", 2},
    {QX_DIST_CAUCHY, "CAUCHY", 2},
    {QX_DIST_CHI_SQUARE, "CHI_SQUARE", 1},
    {QX_DIST_EXPONENTIAL, "EXPONENTIAL", 1},
    {QX_DIST_F_DISTRIBUTION, "F_DISTRIBUTION", 2},
    {QX_DIST_GAMMA, "GAMMA", 2},
    {QX_DIST_GUMBEL, "GUMBEL", 2},
    {QX_DIST_LAPLACE, "LAPLACE", 2},
    {QX_DIST_LOGNORMAL, "LOGNORMAL", 2},
    {QX_DIST_LOGISTIC, "LOGISTIC", 2},
    {QX_DIST_NORMAL, "NORMAL", 2},
    {QX_DIST_PARETO, "PARETO", 2},
    {QX_DIST_STABLE_PARETIAN, "STABLE_PARETIAN", 4},
    {QX_DIST_STUDENTS_T, "STUDENTS_T", 1},
    {QX_DIST_TRIANGULAR, "TRIANGULAR", 3},
    {QX_DIST_UNIFORM, "UNIFORM", 2},
    {QX_DIST_WEIBULL, "WEIBULL", 2},
    {QX_DIST_WILCOXON, "WILCOXON", 1},
    {QX_DIST_BETA_BINOMIAL, "BETA_BINOMIAL", 3},
    {QX_DIST_SYM_STABLE, "SYM_STABLE", 3},
};

const NamedType* findType(int code) {
  for (const auto& t : kTypes)
    if (t.code == code) return &t;
  return nullptr;
}

// Support ends as the interface reports them: infinite ends become 1e30.
double outward(double v) {
  if (v >= kBig || v == INFINITY) return QX_INFINITY;
  if (v <= -kBig || v == -INFINITY) return -QX_INFINITY;
  return v;
}

bool isInteger(double v) { return std::isfinite(v) && v == std::floor(v); }
bool validProbability(double u) { return u >= 0.0 && u <= 1.0; }

// ---- Continuous laws -----------------------------------------------------
template <class D>
int continuousEval(const D& d, int func, double x, double& out) {
  const auto range = boost::math::support(d);
  const double lo = range.first, hi = range.second;
  switch (func) {
    case QX_DISTR_FUNC_PDF:
      if (x < lo || x > hi) {
        out = 0;
        return 0;
      }
      try {
        out = boost::math::pdf(d, x);
      } catch (const std::overflow_error&) {
        out = QX_INFINITY;  // a pole at an end of the support
      }
      if (!std::isfinite(out)) out = QX_INFINITY;
      return 0;
    case QX_DISTR_FUNC_CDF:
      out = x <= lo ? 0.0 : (x >= hi ? 1.0 : boost::math::cdf(d, x));
      return 0;
    case QX_DISTR_FUNC_ICDF:
      if (!validProbability(x)) return QXERR_STOC_BAD_PROBABILITY;
      if (x == 0.0) out = outward(lo);
      else if (x == 1.0) out = outward(hi);
      else out = outward(boost::math::quantile(d, x));
      return 0;
    default:
      return QXERR_STOC_SAMPLE_CALL_UNSUPPORTED;
  }
}

// ---- Discrete laws -------------------------------------------------------
// A discrete law on the integers [lo, hi] (hi may be infinite) given by its
// probability and distribution functions at integer k.
struct DiscreteLaw {
  double lo = 0, hi = INFINITY;
  std::function<double(double)> pmf;
  std::function<double(double)> cdf;
};

// Smallest integer k in [lo, hi] with cdf(k) >= u, by doubling and bisection.
double discreteQuantile(const DiscreteLaw& law, double u) {
  if (u <= 0) return law.lo;
  double a = law.lo;  // invariant: the answer is >= a
  if (law.cdf(a) >= u) return a;
  double step = 1, b = a + step;
  while (true) {
    if (b >= law.hi) {
      b = law.hi;
      if (!std::isfinite(b)) return QX_INFINITY;
      break;
    }
    if (law.cdf(b) >= u) break;
    a = b;
    step *= 2;
    b = a + step;
    if (b > kMaxExactInteger) return QX_INFINITY;
  }
  // cdf(a) < u <= cdf(b) (or b is the last point of the support)
  while (b - a > 1) {
    const double m = std::floor(0.5 * (a + b));
    if (law.cdf(m) >= u) b = m; else a = m;
  }
  return b;
}

int discreteEval(const DiscreteLaw& law, int func, double x, double& out) {
  switch (func) {
    case QX_DISTR_FUNC_PDF:
      out = (isInteger(x) && x >= law.lo && x <= law.hi) ? law.pmf(x) : 0.0;
      return 0;
    case QX_DISTR_FUNC_CDF:
      out = x < law.lo ? 0.0 : (x >= law.hi ? 1.0 : std::min(1.0, law.cdf(std::floor(x))));
      return 0;
    case QX_DISTR_FUNC_ICDF:
      if (!validProbability(x)) return QXERR_STOC_BAD_PROBABILITY;
      out = discreteQuantile(law, x);
      return 0;
    default:
      return QXERR_STOC_SAMPLE_CALL_UNSUPPORTED;
  }
}

template <class D>
DiscreteLaw boostLaw(const D& d) {
  DiscreteLaw law;
  const auto range = boost::math::support(d);
  law.lo = range.first;
  law.hi = range.second >= kBig ? INFINITY : range.second;
  law.pmf = [d](double k) { return boost::math::pdf(d, k); };
  law.cdf = [d](double k) { return boost::math::cdf(d, k); };
  return law;
}

// Logarithmic series: P(k) = -p^k / (k ln(1-p)), k >= 1.
DiscreteLaw logarithmicLaw(double p) {
  DiscreteLaw law;
  law.lo = 1;
  const double logNorm = std::log(-boost::math::log1p(-p));
  const double logP = std::log(p);
  law.pmf = [=](double k) { return std::exp(k * logP - std::log(k) - logNorm); };
  law.cdf = [=](double k) {
    // Terms fall at least geometrically (ratio < p); stop once they no
    // longer change the sum.
    double sum = 0;
    for (double j = 1; j <= k; ++j) {
      const double term = std::exp(j * logP - std::log(j) - logNorm);
      sum += term;
      if (term < sum * std::numeric_limits<double>::epsilon()) break;
    }
    return std::min(sum, 1.0);
  };
  return law;
}

// Beta-binomial: P(k) = C(n,k) B(k+a, n-k+b) / B(a,b), k = 0..n.
DiscreteLaw betaBinomialLaw(double n, double a, double b) {
  DiscreteLaw law;
  law.lo = 0;
  law.hi = n;
  using boost::math::lgamma;
  const double base = lgamma(n + 1) + lgamma(a + b) - lgamma(a) - lgamma(b) - lgamma(n + a + b);
  auto pmf = [=](double k) {
    return std::exp(base - lgamma(k + 1) - lgamma(n - k + 1) + lgamma(k + a) + lgamma(n - k + b));
  };
  law.pmf = pmf;
  law.cdf = [=](double k) {
    double sum = 0;
    for (double j = 0; j <= k; ++j) sum += pmf(j);
    return std::min(sum, 1.0);
  };
  return law;
}

// Wilcoxon signed-rank statistic W for n pairs: P(W = w) from the
// recurrence p_n(w) = (p_{n-1}(w) + p_{n-1}(w - n)) / 2. The last table built
// on each thread is kept, since sampling evaluates the same n many times.
struct WilcoxonTable {
  int n = 0;
  std::vector<double> pmf, cdf;
};
const WilcoxonTable& wilcoxonTable(int n) {
  thread_local WilcoxonTable table;
  if (table.n != n) {
    const std::size_t top = static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1) / 2;
    std::vector<double> p(top + 1, 0.0);
    p[0] = 1.0;
    std::size_t reach = 0;
    for (int m = 1; m <= n; ++m) {
      reach += static_cast<std::size_t>(m);
      for (std::size_t w = reach; w >= static_cast<std::size_t>(m); --w) p[w] = 0.5 * (p[w] + p[w - m]);
      for (std::size_t w = 0; w < static_cast<std::size_t>(m) && w <= reach; ++w) p[w] *= 0.5;
    }
    table.cdf.resize(p.size());
    double sum = 0;
    for (std::size_t w = 0; w < p.size(); ++w) table.cdf[w] = (sum += p[w]);
    table.pmf = std::move(p);
    table.n = n;
  }
  return table;
}

DiscreteLaw wilcoxonLaw(int n) {
  const WilcoxonTable& t = wilcoxonTable(n);
  DiscreteLaw law;
  law.lo = 0;
  law.hi = static_cast<double>(t.pmf.size() - 1);
  const std::vector<double>* pmf = &t.pmf;
  const std::vector<double>* cdf = &t.cdf;
  law.pmf = [pmf](double k) { return (*pmf)[static_cast<std::size_t>(k)]; };
  law.cdf = [cdf](double k) { return std::min(1.0, (*cdf)[static_cast<std::size_t>(k)]); };
  return law;
}

int tableEval(const DiscreteTable* table, int func, double x, double& out) {
  if (!table || table->length() == 0 || !table->hasProb) return QXERR_STOC_NO_DISCRETE_TABLE;
  const int len = table->length();
  const double* cum = table->cumulative();
  switch (func) {
    case QX_DISTR_FUNC_PDF:
      out = (isInteger(x) && x >= 0 && x < len) ? table->prob[static_cast<std::size_t>(x)] : 0.0;
      return 0;
    case QX_DISTR_FUNC_CDF:
      out = x < 0 ? 0.0 : cum[std::min(len - 1, static_cast<int>(std::min(x, double(len))))];
      return 0;
    case QX_DISTR_FUNC_ICDF: {
      if (!validProbability(x)) return QXERR_STOC_BAD_PROBABILITY;
      // The first index whose running sum reaches u; a table adding to less
      // than 1 gives its last index to the remaining probabilities.
      const double* at = std::lower_bound(cum, cum + len, x);
      out = static_cast<double>(std::min<std::ptrdiff_t>(at - cum, len - 1));
      return 0;
    }
    default:
      return QXERR_STOC_SAMPLE_CALL_UNSUPPORTED;
  }
}

// ---- Uniform, as the generator interface fixes it ------------------------
int uniformEval(double lower, double upper, int func, double x, double& out) {
  switch (func) {
    case QX_DISTR_FUNC_PDF:
      if (lower == upper) out = x == lower ? QX_INFINITY : 0.0;
      else out = (x >= lower && x <= upper) ? 1.0 / (upper - lower) : 0.0;
      return 0;
    case QX_DISTR_FUNC_CDF:
      out = x <= lower ? 0.0 : (x >= upper ? 1.0 : (x - lower) / (upper - lower));
      return 0;
    case QX_DISTR_FUNC_ICDF:
      if (!validProbability(x)) return QXERR_STOC_BAD_PROBABILITY;
      out = lower + (upper - lower) * x;
      return 0;
    default:
      return QXERR_STOC_SAMPLE_CALL_UNSUPPORTED;
  }
}

// ---- Stable laws, scaled and shifted ---------------------------------------
int stableEval(double alpha, double beta, double loc, double scale, int func, double x, double& out) {
  // S1 location-scale family: X = scale Z + loc (+ (2/pi) beta scale ln scale
  // when alpha = 1, which keeps the characteristic function of the header).
  double shift = loc;
  if (alpha == 1.0) shift += 2.0 / boost::math::constants::pi<double>() * beta * scale * std::log(scale);
  double lo, hi;
  stableSupport(alpha, beta, lo, hi);
  switch (func) {
    case QX_DISTR_FUNC_PDF: {
      const double z = (x - shift) / scale;
      out = (z < lo || z > hi) ? 0.0 : stablePdf(alpha, beta, z) / scale;
      return 0;
    }
    case QX_DISTR_FUNC_CDF: {
      const double z = (x - shift) / scale;
      out = z <= lo ? 0.0 : (z >= hi ? 1.0 : stableCdf(alpha, beta, z));
      return 0;
    }
    case QX_DISTR_FUNC_ICDF: {
      if (!validProbability(x)) return QXERR_STOC_BAD_PROBABILITY;
      double z = x == 0.0 ? lo : (x == 1.0 ? hi : stableQuantile(alpha, beta, x));
      out = std::isfinite(z) ? shift + scale * z : outward(z);
      return 0;
    }
    default:
      return QXERR_STOC_SAMPLE_CALL_UNSUPPORTED;
  }
}

int evalChecked(int type, const DistrParams& p, const DiscreteTable* table, int func, double x, double& out) {
  namespace bm = boost::math;
  const double p0 = p[0], p1 = p[1], p2 = p[2], p3 = p[3];
  constexpr int kBad = QXERR_STOC_BAD_DISTR_PARAMS;
  switch (type) {
    case QX_DIST_BINOMIAL:
      if (!isInteger(p0) || p0 < 0 || !(p1 >= 0 && p1 <= 1)) return kBad;
      return discreteEval(boostLaw(bm::binomial_distribution<double>(p0, p1)), func, x, out);
    case QX_DIST_DISCRETE:
    case QX_DIST_DISCRETE_ALT:
      return tableEval(table, func, x, out);
    case QX_DIST_NEGATIVE_BINOMIAL:
      if (!(p0 > 0) || !(p1 > 0 && p1 <= 1)) return kBad;
      return discreteEval(boostLaw(bm::negative_binomial_distribution<double>(p0, p1)), func, x, out);
    case QX_DIST_GEOMETRIC:
      if (!(p0 > 0 && p0 <= 1)) return kBad;
      return discreteEval(boostLaw(bm::geometric_distribution<double>(p0)), func, x, out);
    case QX_DIST_POISSON:
      if (!(p0 > 0)) return kBad;
      return discreteEval(boostLaw(bm::poisson_distribution<double>(p0)), func, x, out);
    case QX_DIST_LOGARITHMIC:
      if (!(p0 > 0 && p0 < 1)) return kBad;
      return discreteEval(logarithmicLaw(p0), func, x, out);
    case QX_DIST_HYPER_GEOMETRIC: {
      constexpr double kMaxPopulation = 4294967295.0;  // held as unsigned by the law
      if (!isInteger(p0) || p0 < 1 || p0 > kMaxPopulation || !isInteger(p1) || p1 < 0 || p1 > p0 ||
          !isInteger(p2) || p2 < 0 || p2 > p0)
        return kBad;
      const bm::hypergeometric_distribution<double> d(static_cast<unsigned>(p1), static_cast<unsigned>(p2),
                                                      static_cast<unsigned>(p0));
      DiscreteLaw law;
      law.lo = std::max(0.0, p2 + p1 - p0);
      law.hi = std::min(p1, p2);
      law.pmf = [d](double k) { return bm::pdf(d, static_cast<unsigned>(k)); };
      law.cdf = [d](double k) { return bm::cdf(d, static_cast<unsigned>(k)); };
      return discreteEval(law, func, x, out);
    }
    case QX_DIST_BETA:
      if (!(p0 > 0 && std::isfinite(p0)) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::beta_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_CAUCHY:
      if (!std::isfinite(p0) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::cauchy_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_CHI_SQUARE:
      if (!(p0 > 0 && std::isfinite(p0))) return kBad;
      return continuousEval(bm::chi_squared_distribution<double>(p0), func, x, out);
    case QX_DIST_EXPONENTIAL:
      if (!(p0 > 0 && std::isfinite(p0))) return kBad;
      return continuousEval(bm::exponential_distribution<double>(1.0 / p0), func, x, out);
    case QX_DIST_F_DISTRIBUTION:
      if (!(p0 > 0 && std::isfinite(p0)) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::fisher_f_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_GAMMA:
      if (!(p0 > 0 && std::isfinite(p0)) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::gamma_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_GUMBEL:
      if (!std::isfinite(p0) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::extreme_value_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_LAPLACE:
      if (!std::isfinite(p0) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::laplace_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_LOGNORMAL:
      if (!std::isfinite(p0) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::lognormal_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_LOGISTIC:
      if (!std::isfinite(p0) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::logistic_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_NORMAL:
      if (!std::isfinite(p0) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::normal_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_PARETO:
      if (!(p0 > 0 && std::isfinite(p0)) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::pareto_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_STABLE_PARETIAN:
      if (!(p0 > 0 && p0 <= 2) || !(p1 >= -1 && p1 <= 1) || !std::isfinite(p2) || !(p3 > 0 && std::isfinite(p3)))
        return kBad;
      return stableEval(p0, p1, p2, p3, func, x, out);
    case QX_DIST_STUDENTS_T:
      if (!(p0 > 0 && std::isfinite(p0))) return kBad;
      return continuousEval(bm::students_t_distribution<double>(p0), func, x, out);
    case QX_DIST_TRIANGULAR:
      if (!std::isfinite(p0) || !std::isfinite(p2) || !(p0 <= p1 && p1 <= p2) || !(p0 < p2)) return kBad;
      return continuousEval(bm::triangular_distribution<double>(p0, p1, p2), func, x, out);
    case QX_DIST_UNIFORM:
      if (!std::isfinite(p0) || !std::isfinite(p1) || p0 > p1) return kBad;
      return uniformEval(p0, p1, func, x, out);
    case QX_DIST_WEIBULL:
      if (!(p0 > 0 && std::isfinite(p0)) || !(p1 > 0 && std::isfinite(p1))) return kBad;
      return continuousEval(bm::weibull_distribution<double>(p0, p1), func, x, out);
    case QX_DIST_WILCOXON:
      if (!isInteger(p0) || p0 < 1 || p0 > kMaxWilcoxonN) return kBad;
      return discreteEval(wilcoxonLaw(static_cast<int>(p0)), func, x, out);
    case QX_DIST_BETA_BINOMIAL:
      if (!isInteger(p0) || p0 < 0 || !(p1 > 0 && std::isfinite(p1)) || !(p2 > 0 && std::isfinite(p2)))
        return kBad;
      return discreteEval(betaBinomialLaw(p0, p1, p2), func, x, out);
    case QX_DIST_SYM_STABLE:
      if (!(p0 > 0 && p0 <= 2) || !std::isfinite(p1) || !(p2 > 0 && std::isfinite(p2))) return kBad;
      return stableEval(p0, 0.0, p1, p2, func, x, out);
    default:
      return QXERR_STOC_BAD_DISTRIBUTION;
  }
}

}  // namespace

const char* distributionName(int type) {
  const NamedType* t = findType(type);
  return t ? t->name : "UNKNOWN";
}

bool isDistributionType(int type) { return findType(type) != nullptr; }

bool isDiscreteType(int type) { return type >= QX_DIST_BINOMIAL && type <= QX_DIST_HYPER_GEOMETRIC; }

int requiredParamCount(int type) {
  const NamedType* t = findType(type);
  return t ? t->params : 0;
}

int evalDistribution(int type, const DistrParams& params, const DiscreteTable* table, int func, double x,
                     double& out) {
  const NamedType* t = findType(type);
  if (!t) return QXERR_STOC_BAD_DISTRIBUTION;
  if (func < QX_DISTR_FUNC_PDF || func > QX_DISTR_FUNC_ICDF) return QXERR_STOC_SAMPLE_CALL_UNSUPPORTED;
  for (int i = 0; i < t->params; ++i)
    if (params[static_cast<std::size_t>(i)] == kParamNotSet) return QXERR_STOC_DISTR_PARAM_NOT_SET;
  if (std::isnan(x)) return func == QX_DISTR_FUNC_ICDF ? QXERR_STOC_BAD_PROBABILITY : QXERR_STOC_BAD_VALUE;
  try {
    return evalChecked(type, params, table, func, x, out);
  } catch (const std::domain_error&) {
    return QXERR_STOC_BAD_DISTR_PARAMS;
  } catch (const std::overflow_error&) {
    out = (func == QX_DISTR_FUNC_ICDF && x < 0.5) ? -QX_INFINITY : QX_INFINITY;
    return 0;
  } catch (const boost::math::evaluation_error&) {
    return QXERR_STOC_ROOT_ITER_LIMIT;
  }
}

}  // namespace torva::stoc
