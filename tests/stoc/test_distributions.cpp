// Distribution functions of every type against reference formulas written
// here, and the error rules. Points are drawn by inversion (the quantile of a
// uniform), so the sampling tests check the draw and these the quantiles;
// only the general stable law, which has no closed form, gets a
// Kolmogorov-Smirnov check of its points against its own distribution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "stoc_fixture.hpp"

namespace {

const double kPi = std::acos(-1.0);
using Fn = std::function<double(double)>;

using DistFixture = torva_test::StocFixture<4711>;

// KS distance of the points from a continuous distribution function.
double ksContinuous(std::vector<double> v, const Fn& cdf) {
  std::sort(v.begin(), v.end());
  const double n = static_cast<double>(v.size());
  double d = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    const double f = cdf(v[i]);
    d = std::max({d, f - i / n, (i + 1) / n - f});
  }
  return d;
}

// 0.1% critical value of the KS distance for n points.
double ksCritical(int n) { return 1.95 / std::sqrt(static_cast<double>(n)); }

double normalCdf(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }
double normalPdf(double z) { return std::exp(-0.5 * z * z) / std::sqrt(2 * kPi); }

struct Continuous {
  std::string name;
  int type;
  std::vector<double> params;
  Fn cdf, pdf;
  std::vector<double> xs;
};

std::vector<Continuous> continuousCases() {
  std::vector<Continuous> c;
  c.push_back({"normal", QX_DIST_NORMAL, {1.5, 2.0},
               [](double x) { return normalCdf((x - 1.5) / 2.0); },
               [](double x) { return normalPdf((x - 1.5) / 2.0) / 2.0; }, {-3, 0, 1.5, 4}});
  c.push_back({"lognormal", QX_DIST_LOGNORMAL, {0.2, 0.5},
               [](double x) { return x <= 0 ? 0 : normalCdf((std::log(x) - 0.2) / 0.5); },
               [](double x) { return x <= 0 ? 0 : normalPdf((std::log(x) - 0.2) / 0.5) / (0.5 * x); }, {0.3, 1, 2.5}});
  c.push_back({"exponential", QX_DIST_EXPONENTIAL, {2.5},
               [](double x) { return x <= 0 ? 0 : 1 - std::exp(-x / 2.5); },
               [](double x) { return x < 0 ? 0 : std::exp(-x / 2.5) / 2.5; }, {0.1, 1, 7}});
  c.push_back({"cauchy", QX_DIST_CAUCHY, {-1.0, 0.5},
               [](double x) { return 0.5 + std::atan((x + 1) / 0.5) / kPi; },
               [](double x) { return 1 / (kPi * 0.5 * (1 + 4 * (x + 1) * (x + 1))); }, {-10, -1, 0.3}});
  c.push_back({"logistic", QX_DIST_LOGISTIC, {2.0, 1.5},
               [](double x) { return 1 / (1 + std::exp(-(x - 2) / 1.5)); },
               [](double x) {
                 const double e = std::exp(-(x - 2) / 1.5);
                 return e / (1.5 * (1 + e) * (1 + e));
               },
               {-2, 2, 5}});
  c.push_back({"laplace", QX_DIST_LAPLACE, {0.5, 2.0},
               [](double x) { return x < 0.5 ? 0.5 * std::exp((x - 0.5) / 2) : 1 - 0.5 * std::exp(-(x - 0.5) / 2); },
               [](double x) { return std::exp(-std::fabs(x - 0.5) / 2) / 4; }, {-3, 0.5, 2}});
  c.push_back({"gumbel", QX_DIST_GUMBEL, {1.0, 2.0},
               [](double x) { return std::exp(-std::exp(-(x - 1) / 2)); },
               [](double x) {
                 const double z = (x - 1) / 2;
                 return std::exp(-z - std::exp(-z)) / 2;
               },
               {-2, 1, 6}});
  c.push_back({"pareto", QX_DIST_PARETO, {2.0, 3.0},
               [](double x) { return x <= 2 ? 0 : 1 - std::pow(2 / x, 3); },
               [](double x) { return x < 2 ? 0 : 3 * 8 / std::pow(x, 4); }, {2.5, 4, 9}});
  c.push_back({"weibull", QX_DIST_WEIBULL, {1.5, 2.0},
               [](double x) { return x <= 0 ? 0 : 1 - std::exp(-std::pow(x / 2, 1.5)); },
               [](double x) { return x < 0 ? 0 : 0.75 * std::pow(x / 2, 0.5) * std::exp(-std::pow(x / 2, 1.5)); },
               {0.5, 2, 5}});
  c.push_back({"triangular", QX_DIST_TRIANGULAR, {1.0, 2.0, 5.0},
               [](double x) {
                 if (x <= 1) return 0.0;
                 if (x >= 5) return 1.0;
                 return x <= 2 ? (x - 1) * (x - 1) / 4.0 : 1 - (5 - x) * (5 - x) / 12.0;
               },
               [](double x) {
                 if (x < 1 || x > 5) return 0.0;
                 return x <= 2 ? 2 * (x - 1) / 4.0 : 2 * (5 - x) / 12.0;
               },
               {1.5, 2, 4}});
  c.push_back({"uniform", QX_DIST_UNIFORM, {-2.0, 6.0},
               [](double x) { return std::clamp((x + 2) / 8, 0.0, 1.0); },
               [](double x) { return (x >= -2 && x <= 6) ? 0.125 : 0.0; }, {-3, -2, 0, 5.9, 6}});
  c.push_back({"gamma(3,2)", QX_DIST_GAMMA, {3.0, 2.0},
               [](double x) {
                 const double y = x / 2;
                 return x <= 0 ? 0 : 1 - std::exp(-y) * (1 + y + y * y / 2);
               },
               [](double x) { return x < 0 ? 0 : x * x * std::exp(-x / 2) / 16; }, {0.5, 6, 15}});
  c.push_back({"chi-square(4)", QX_DIST_CHI_SQUARE, {4.0},
               [](double x) { return x <= 0 ? 0 : 1 - std::exp(-x / 2) * (1 + x / 2); },
               [](double x) { return x < 0 ? 0 : x * std::exp(-x / 2) / 4; }, {0.5, 4, 12}});
  c.push_back({"beta(2,3)", QX_DIST_BETA, {2.0, 3.0},
               [](double x) {
                 if (x <= 0) return 0.0;
                 if (x >= 1) return 1.0;
                 return 6 * x * x * (1 - x) * (1 - x) + 4 * x * x * x * (1 - x) + x * x * x * x;
               },
               [](double x) { return (x < 0 || x > 1) ? 0 : 12 * x * (1 - x) * (1 - x); }, {0.1, 0.4, 0.9}});
  c.push_back({"t(2)", QX_DIST_STUDENTS_T, {2.0},
               [](double x) { return 0.5 + x / (2 * std::sqrt(2 + x * x)); },
               [](double x) { return std::pow(2 + x * x, -1.5); }, {-4, 0, 1.3}});
  c.push_back({"F(2,5)", QX_DIST_F_DISTRIBUTION, {2.0, 5.0},
               [](double x) { return x <= 0 ? 0 : 1 - std::pow(5 / (5 + 2 * x), 2.5); },
               [](double x) { return x < 0 ? 0 : std::pow(5.0, 2.5) * 2.5 * 2 / std::pow(5 + 2 * x, 3.5); },
               {0.2, 1, 4}});
  // Stable laws with closed forms: alpha = 2 is normal with variance 2 scale^2,
  // (1/2, 1) the Levy law, and symmetric alpha = 1 the Cauchy law.
  c.push_back({"stable(2)", QX_DIST_STABLE_PARETIAN, {2.0, 0.3, 1.0, 1.5},
               [](double x) { return normalCdf((x - 1) / (1.5 * std::sqrt(2.0))); },
               [](double x) { return normalPdf((x - 1) / (1.5 * std::sqrt(2.0))) / (1.5 * std::sqrt(2.0)); },
               {-2, 1, 3}});
  c.push_back({"levy", QX_DIST_STABLE_PARETIAN, {0.5, 1.0, 1.0, 2.0},
               [](double x) { return x <= 1 ? 0 : std::erfc(std::sqrt(2.0 / (2 * (x - 1)))); },
               [](double x) {
                 return x <= 1 ? 0 : std::sqrt(2.0 / (2 * kPi)) * std::exp(-2.0 / (2 * (x - 1))) / std::pow(x - 1, 1.5);
               },
               {1.2, 2, 5, 30}});
  c.push_back({"symstable(1)", QX_DIST_SYM_STABLE, {1.0, -0.5, 2.0},
               [](double x) { return 0.5 + std::atan((x + 0.5) / 2) / kPi; },
               [](double x) { return 1 / (kPi * 2 * (1 + (x + 0.5) * (x + 0.5) / 4)); }, {-6, 0, 3}});
  return c;
}

TEST_F(DistFixture, ContinuousFunctionsMatchReferenceFormulas) {
  // Boost.Math evaluates these to near machine precision; the stable laws go
  // through quadrature accurate to about 1e-9.
  for (const auto& c : continuousCases()) {
    const bool stable = c.type == QX_DIST_STABLE_PARETIAN || c.type == QX_DIST_SYM_STABLE;
    const double tol = stable ? 1e-8 : 1e-12;
    QXsample s = make(c.type, c.params);
    for (double x : c.xs) {
      EXPECT_NEAR(eval(s, QX_DISTR_FUNC_CDF, x), c.cdf(x), tol) << c.name << " cdf " << x;
      EXPECT_NEAR(eval(s, QX_DISTR_FUNC_PDF, x), c.pdf(x), tol * std::max(1.0, c.pdf(x))) << c.name << " pdf " << x;
    }
    for (double u : {1e-6, 0.01, 0.3, 0.5, 0.77, 0.999}) {
      const double x = eval(s, QX_DISTR_FUNC_ICDF, u);
      EXPECT_NEAR(c.cdf(x), u, stable ? 1e-8 : 1e-10) << c.name << " icdf " << u;
    }
  }
}

TEST_F(DistFixture, GeneralStableLawIsConsistent) {
  // No closed form: the density must integrate to the distribution function,
  // the law must reflect under (x, beta) -> (-x, -beta), and sampled points
  // must follow the distribution function.
  for (const auto& [alpha, beta] : std::vector<std::pair<double, double>>{{1.5, 0.5}, {0.7, -0.4}, {1.0, 0.6}, {1.0, 1e-4}, {1.01, 0.5}, {1.9, -1.0}}) {
    QXsample s = make(QX_DIST_STABLE_PARETIAN, {alpha, beta, 0.0, 1.0});
    QXsample m = make(QX_DIST_STABLE_PARETIAN, {alpha, -beta, 0.0, 1.0});
    const double a = -2.0, b = 3.0;
    const int steps = 200;  // Simpson's rule, error far below the tolerance
    double integral = 0;
    for (int i = 0; i <= steps; ++i) {
      const double x = a + (b - a) * i / steps;
      const double w = (i == 0 || i == steps) ? 1 : (i % 2 ? 4 : 2);
      integral += w * eval(s, QX_DISTR_FUNC_PDF, x);
    }
    integral *= (b - a) / (3.0 * steps);
    EXPECT_NEAR(integral, eval(s, QX_DISTR_FUNC_CDF, b) - eval(s, QX_DISTR_FUNC_CDF, a), 1e-6) << alpha << " " << beta;
    for (double x : {-1.3, 0.4, 2.2})
      EXPECT_NEAR(eval(s, QX_DISTR_FUNC_CDF, x), 1 - eval(m, QX_DISTR_FUNC_CDF, -x), 1e-9) << alpha << " " << beta;
    const int n = 300;
    ASSERT_EQ(QXsampGenerate(s, QX_MONTECARLO, n), 0);
    EXPECT_LT(ksContinuous(points(s), [&](double x) { return eval(s, QX_DISTR_FUNC_CDF, x); }), ksCritical(n));
  }
  // Density of the symmetric law at 0 is Gamma(1 + 1/alpha) / pi; just off 0
  // the quadrature path must agree.
  QXsample sym = make(QX_DIST_SYM_STABLE, {1.5, 0.0, 1.0});
  for (double z : {1e-3, 1e-7, -1e-5})
    EXPECT_NEAR(eval(sym, QX_DISTR_FUNC_PDF, z), std::tgamma(1 + 1 / 1.5) / kPi, 1e-6) << z;
  QXsample low = make(QX_DIST_SYM_STABLE, {0.6, 0.0, 1.0});
  for (double z : {1e-3, -1e-6})
    EXPECT_NEAR(eval(low, QX_DISTR_FUNC_PDF, z), std::tgamma(1 + 1 / 0.6) / kPi, 1e-3 * std::tgamma(1 + 1 / 0.6)) << z;
}

struct Discrete {
  std::string name;
  int type;
  std::vector<double> params;
  Fn pmf;
  int lo, hi;  // range checked (the pmf outside it is negligible)
};

double choose(double n, double k) { return std::exp(std::lgamma(n + 1) - std::lgamma(k + 1) - std::lgamma(n - k + 1)); }

std::vector<Discrete> discreteCases() {
  std::vector<Discrete> d;
  d.push_back({"binomial", QX_DIST_BINOMIAL, {12, 0.3},
               [](double k) { return choose(12, k) * std::pow(0.3, k) * std::pow(0.7, 12 - k); }, 0, 12});
  d.push_back({"poisson", QX_DIST_POISSON, {4.5},
               [](double k) { return std::exp(k * std::log(4.5) - 4.5 - std::lgamma(k + 1)); }, 0, 40});
  d.push_back({"geometric", QX_DIST_GEOMETRIC, {0.25},
               [](double k) { return 0.25 * std::pow(0.75, k); }, 0, 120});
  d.push_back({"negative binomial", QX_DIST_NEGATIVE_BINOMIAL, {3.5, 0.4},
               [](double k) {
                 return std::exp(std::lgamma(k + 3.5) - std::lgamma(k + 1) - std::lgamma(3.5)) * std::pow(0.4, 3.5) *
                        std::pow(0.6, k);
               },
               0, 150});
  d.push_back({"logarithmic", QX_DIST_LOGARITHMIC, {0.8},
               [](double k) { return k < 1 ? 0 : -std::pow(0.8, k) / (k * std::log(0.2)); }, 0, 200});
  d.push_back({"hypergeometric", QX_DIST_HYPER_GEOMETRIC, {50, 20, 10},
               [](double k) { return choose(20, k) * choose(30, 10 - k) / choose(50, 10); }, 0, 10});
  d.push_back({"beta-binomial(1,1)", QX_DIST_BETA_BINOMIAL, {9, 1, 1}, [](double) { return 0.1; }, 0, 9});
  d.push_back({"beta-binomial(2,3)", QX_DIST_BETA_BINOMIAL, {10, 2, 3},
               [](double k) {
                 auto lbeta = [](double a, double b) { return std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b); };
                 return choose(10, k) * std::exp(lbeta(k + 2, 10 - k + 3) - lbeta(2, 3));
               },
               0, 10});
  // Wilcoxon signed-rank statistic for n = 10 by enumerating all 2^10 sign
  // patterns.
  auto wilcoxon = std::make_shared<std::vector<double>>(56, 0.0);
  for (int mask = 0; mask < 1024; ++mask) {
    int w = 0;
    for (int r = 1; r <= 10; ++r)
      if (mask & (1 << (r - 1))) w += r;
    (*wilcoxon)[static_cast<std::size_t>(w)] += 1.0 / 1024;
  }
  d.push_back({"wilcoxon", QX_DIST_WILCOXON, {10},
               [wilcoxon](double k) { return (*wilcoxon)[static_cast<std::size_t>(k)]; }, 0, 55});
  return d;
}

TEST_F(DistFixture, DiscreteFunctionsMatchReferenceFormulas) {
  for (const auto& c : discreteCases()) {
    QXsample s = make(c.type, c.params);
    double cum = 0;
    for (int k = c.lo; k <= c.hi; ++k) {
      cum += c.pmf(k);
      EXPECT_NEAR(eval(s, QX_DISTR_FUNC_PDF, k), c.pmf(k), 1e-12) << c.name << " pmf " << k;
      EXPECT_NEAR(eval(s, QX_DISTR_FUNC_CDF, k + 0.5), cum, 1e-11) << c.name << " cdf " << k;
    }
    EXPECT_EQ(eval(s, QX_DISTR_FUNC_PDF, c.lo + 0.5), 0.0) << c.name;
    EXPECT_EQ(eval(s, QX_DISTR_FUNC_CDF, c.lo - 1), 0.0) << c.name;
    // The inverse is the smallest k with F(k) >= u.
    for (double u : {0.001, 0.2, 0.5, 0.9, 0.9999}) {
      const double k = eval(s, QX_DISTR_FUNC_ICDF, u);
      EXPECT_EQ(k, std::floor(k)) << c.name;
      EXPECT_GE(eval(s, QX_DISTR_FUNC_CDF, k), u) << c.name << " " << u;
      if (k > c.lo) {
        EXPECT_LT(eval(s, QX_DISTR_FUNC_CDF, k - 1), u) << c.name << " " << u;
      }
    }
  }
}

TEST_F(DistFixture, ParameterChecksAndErrors) {
  double v = 0;
  // Each type counts its own parameters.
  const std::map<int, int> counts = {{QX_DIST_BINOMIAL, 2}, {QX_DIST_POISSON, 1}, {QX_DIST_HYPER_GEOMETRIC, 3},
                                     {QX_DIST_UNIFORM, 2},  {QX_DIST_WEIBULL, 2}, {QX_DIST_BETA_BINOMIAL, 3},
                                     {QX_DIST_STABLE_PARETIAN, 4}, {QX_DIST_SYM_STABLE, 3}, {QX_DIST_STUDENTS_T, 1}};
  for (const auto& [type, count] : counts) {
    QXsample s = make(type, {});
    for (int i = 0; i + 1 < count; ++i) ASSERT_EQ(QXsampSetDistrParam(s, i, 1.0), 0);
    EXPECT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_CDF, 0.5, &v), QXERR_STOC_DISTR_PARAM_NOT_SET) << type;
  }
  struct Bad {
    int type;
    std::vector<double> params;
  };
  const std::vector<Bad> bad = {{QX_DIST_UNIFORM, {2, 1}},        {QX_DIST_NORMAL, {0, 0}},
                                {QX_DIST_NORMAL, {0, -1}},        {QX_DIST_BINOMIAL, {3.5, 0.5}},
                                {QX_DIST_BINOMIAL, {3, 1.5}},     {QX_DIST_POISSON, {0}},
                                {QX_DIST_GEOMETRIC, {0}},         {QX_DIST_LOGARITHMIC, {1}},
                                {QX_DIST_HYPER_GEOMETRIC, {10, 11, 2}}, {QX_DIST_BETA, {0, 1}},
                                {QX_DIST_TRIANGULAR, {0, 3, 2}},  {QX_DIST_TRIANGULAR, {1, 1, 1}},
                                {QX_DIST_STABLE_PARETIAN, {2.5, 0, 0, 1}}, {QX_DIST_STABLE_PARETIAN, {1.5, 1.2, 0, 1}},
                                {QX_DIST_SYM_STABLE, {1.5, 0, 0}}, {QX_DIST_WILCOXON, {0}},
                                {QX_DIST_BETA_BINOMIAL, {5, 1, 0}}, {QX_DIST_PARETO, {0, 1}}};
  for (const auto& b : bad) {
    QXsample s = make(b.type, b.params);
    EXPECT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_CDF, 0.5, &v), QXERR_STOC_BAD_DISTR_PARAMS) << b.type;
  }
  QXsample n = make(QX_DIST_NORMAL, {0, 1});
  EXPECT_EQ(QXsampEvalDistr(n, QX_DISTR_FUNC_ICDF, 1.5, &v), QXERR_STOC_BAD_PROBABILITY);
  EXPECT_EQ(QXsampEvalDistr(n, QX_DISTR_FUNC_ICDF, -0.1, &v), QXERR_STOC_BAD_PROBABILITY);
  EXPECT_EQ(QXsampEvalDistr(n, 4, 0.5, &v), QXERR_STOC_SAMPLE_CALL_UNSUPPORTED);
  EXPECT_EQ(QXsampEvalDistr(n, QX_DISTR_FUNC_CDF, 0.5, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampEvalDistr(nullptr, QX_DISTR_FUNC_CDF, 0.5, &v), QXERR_ILLEGAL_NULL_POINTER);
  // Infinite ends of the support at u = 0 and u = 1.
  EXPECT_EQ(eval(n, QX_DISTR_FUNC_ICDF, 0.0), -QX_INFINITY);
  EXPECT_EQ(eval(n, QX_DISTR_FUNC_ICDF, 1.0), QX_INFINITY);
  QXsample e = make(QX_DIST_EXPONENTIAL, {1});
  EXPECT_EQ(eval(e, QX_DISTR_FUNC_ICDF, 0.0), 0.0);
  QXsample unknown = make(700, {1, 1});
  EXPECT_EQ(QXsampEvalDistr(unknown, QX_DISTR_FUNC_CDF, 0.5, &v), QXERR_STOC_BAD_DISTRIBUTION);
  QXsample noTable = make(QX_DIST_DISCRETE, {});
  EXPECT_EQ(QXsampEvalDistr(noTable, QX_DISTR_FUNC_CDF, 0.5, &v), QXERR_STOC_NO_DISCRETE_TABLE);
}

TEST_F(DistFixture, DegenerateUniformConventions) {
  // A point mass: infinite density at the point, the step just after it.
  QXsample u = make(QX_DIST_UNIFORM, {2, 2});
  EXPECT_EQ(eval(u, QX_DISTR_FUNC_PDF, 2), QX_INFINITY);
  EXPECT_EQ(eval(u, QX_DISTR_FUNC_PDF, 2.5), 0.0);
  EXPECT_EQ(eval(u, QX_DISTR_FUNC_CDF, 2), 0.0);
  EXPECT_EQ(eval(u, QX_DISTR_FUNC_CDF, 2.1), 1.0);
  EXPECT_EQ(eval(u, QX_DISTR_FUNC_ICDF, 0.3), 2.0);
}

}  // namespace
