// Samples: life cycle in the environment, the four generation methods
// reproduced from the generator's own sequence, loaded points, discrete
// tables, user-defined distributions and correlation induction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "base/env.hpp"
#include "stoc/sample.hpp"
#include "stoc_fixture.hpp"

namespace {

using SampFixture = torva_test::StocFixture<2718>;

// A twin of the sampling generator (seeded alike), whose draws the generator
// tests pin to std::mt19937.
struct Twin {
  QXrg rg;
  Twin(QXenv env, unsigned seed) : rg(QXcreateRG(env, QX_RANDGEN_MERSENNE)) { QXsetRGSeed(rg, seed); }
  ~Twin() { QXdisposeRG(&rg); }
  double u() { return QXgetDoubleRV(rg); }
  std::vector<int> permutation(int n) {
    std::vector<int> p(static_cast<std::size_t>(n));
    std::iota(p.begin(), p.end(), 1);
    for (int k = 1; k <= n; ++k) std::swap(p[k - 1], p[QXgetInt32RV(rg, k, n) - 1]);
    return p;
  }
};

TEST_F(SampFixture, LifeCycleInTheEnvironment) {
  int err = 0;
  EXPECT_EQ(QXsampCreate(nullptr, QX_DIST_NORMAL, &err), nullptr);
  EXPECT_EQ(err, QXERR_ILLEGAL_NULL_POINTER);
  QXsample a = make(QX_DIST_NORMAL, {0, 1}, rg);
  QXsample b = make(QX_DIST_UNIFORM, {0, 1}, rg);
  EXPECT_EQ(env->samples.size(), 2u);
  ASSERT_EQ(QXsampDelete(&a), 0);
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(env->samples.size(), 1u);
  EXPECT_EQ(QXsampDelete(&a), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampDelete(nullptr), QXERR_ILLEGAL_NULL_POINTER);
  // The rest goes with the environment (the sanitizer run checks for leaks).
  ASSERT_EQ(QXsampGenerate(b, QX_MONTECARLO, 100), 0);
  QXdisposeRG(&rg);
  ASSERT_EQ(QXdeleteEnv(&env), 0);
}

TEST_F(SampFixture, NullSampleAndParameterRules) {
  double v = 0;
  int n = 0;
  double* ptr = nullptr;
  EXPECT_EQ(QXsampSetRG(nullptr, rg), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampSetDistrParam(nullptr, 0, 1), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetDistrParam(nullptr, 0, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGenerate(nullptr, 0, 5), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampLoadPoints(nullptr, 1, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetPoints(nullptr, &n, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetPointsPtr(nullptr, &n, &ptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetCIPoints(nullptr, &n, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampLoadDiscretePdfTable(nullptr, 1, &v, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampSetUserDistr(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetInfo(nullptr, QX_IINFO_SAMP_SIZE, &n), QXERR_ILLEGAL_NULL_POINTER);
  QXsample s = make(QX_DIST_NORMAL, {}, nullptr);
  EXPECT_EQ(QXsampSetRG(s, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampSetDistrParam(s, 5, 1.0), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXsampGetDistrParam(s, 5, &v), QXERR_INDEX_OUT_OF_RANGE);
  ASSERT_EQ(QXsampGetDistrParam(s, 3, &v), 0);
  EXPECT_EQ(v, 1e30);
  ASSERT_EQ(QXsampSetDistrParam(s, 2, 7.0), 0);
  EXPECT_EQ(QXsampGetInfo(s, QX_IINFO_SAMP_NPARAMS, &n), 0);
  EXPECT_EQ(n, 3);
  // No generator, then an unseeded one.
  EXPECT_EQ(QXsampGenerate(s, QX_MONTECARLO, 10), QXERR_STOC_RG_NOT_SET);
  QXrg unseeded = QXcreateRG(env, QX_RANDGEN_MERSENNE);
  ASSERT_EQ(QXsampSetRG(s, unseeded), 0);
  EXPECT_EQ(QXsampGenerate(s, QX_MONTECARLO, 10), QXERR_STOC_SEED_NOT_SET);
  QXdisposeRG(&unseeded);
  ASSERT_EQ(QXsampSetRG(s, rg), 0);
  EXPECT_EQ(QXsampGenerate(s, 4, 10), QXERR_STOC_BAD_ALGORITHM);
  EXPECT_EQ(QXsampGenerate(s, QX_MONTECARLO, -1), QXERR_STOC_BAD_SAMPLE_SIZE);
  // Parameters 0 and 1 are still unset.
  EXPECT_EQ(QXsampGenerate(s, QX_MONTECARLO, 10), QXERR_STOC_DISTR_PARAM_NOT_SET);
  // Points that do not exist.
  EXPECT_EQ(QXsampGetPoints(s, &n, nullptr), QXERR_INFO_NOT_AVAILABLE);
  n = -1;
  EXPECT_EQ(QXsampGetPointsPtr(s, &n, nullptr), 0);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(QXsampGetPointsPtr(s, &n, &ptr), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXsampGetCIPoints(s, &n, nullptr), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXsampGetCIPointsPtr(s, &n, &ptr), QXERR_INFO_NOT_AVAILABLE);
}

TEST_F(SampFixture, MonteCarloAndLatinSquareReproduceTheGeneratorSequence) {
  constexpr int n = 257;
  QXsample mc = make(QX_DIST_EXPONENTIAL, {2.0}, rg);
  ASSERT_EQ(QXsampGenerate(mc, QX_MONTECARLO, n), 0);
  Twin twin(env, 2718);
  const auto icdf = [](double u) { return -2.0 * std::log1p(-u); };
  const auto got = points(mc);
  for (int i = 0; i < n; ++i) ASSERT_NEAR(got[i], icdf(twin.u()), 1e-12 * (1 + got[i])) << i;

  QXsample ls = make(QX_DIST_EXPONENTIAL, {2.0}, rg);
  ASSERT_EQ(QXsampGenerate(ls, QX_LATINSQUARE, n), 0);
  const std::vector<int> perm = twin.permutation(n);
  const auto lat = points(ls);
  for (int i = 0; i < n; ++i) ASSERT_NEAR(lat[i], icdf((perm[i] - 1 + twin.u()) / n), 1e-12 * (1 + lat[i])) << i;

  // n = 1: the permutation draws nothing and u = U.
  Twin r1(env, 99);
  QXsample one = make(QX_DIST_UNIFORM, {0, 1}, r1.rg);
  ASSERT_EQ(QXsampGenerate(one, QX_LATINSQUARE, 1), 0);
  EXPECT_EQ(points(one)[0], Twin(env, 99).u());
}

TEST_F(SampFixture, AntitheticPairsAndTheCombinedMethod) {
  constexpr int n = 11;  // odd: the last point uses U alone
  QXsample s = make(QX_DIST_UNIFORM, {0, 1}, rg);
  ASSERT_EQ(QXsampGenerate(s, QX_ANTITHETIC, n), 0);
  Twin twin(env, 2718);
  const auto p = points(s);
  for (int i = 0; i + 1 < n; i += 2) {
    const double u = twin.u();
    EXPECT_EQ(p[i], u);
    EXPECT_EQ(p[i + 1], 1 - u);
  }
  EXPECT_EQ(p[n - 1], twin.u());
  // (n + 1) / 2 uniforms were drawn: the generator continues with the next.
  EXPECT_EQ(QXgetDoubleRV(rg), twin.u());

  QXsample both = make(QX_DIST_UNIFORM, {0, 1}, rg);
  ASSERT_EQ(QXsampGenerate(both, QX_LATINSQUARE_ANTITHETIC, n), 0);
  const std::vector<int> perm = twin.permutation(n);
  const auto b = points(both);
  for (int i = 0; i < n; i += 2) {
    const double u = twin.u();
    EXPECT_DOUBLE_EQ(b[i], (perm[i] - 1 + u) / n);
    if (i + 1 < n) {
      EXPECT_DOUBLE_EQ(b[i + 1], (1 - u + perm[i + 1] - 1) / n);
    }
  }
}

TEST_F(SampFixture, FinalPointsAreNotRedrawn) {
  QXsample s = make(QX_DIST_NORMAL, {0, 1}, rg);
  ASSERT_EQ(QXsampGenerate(s, QX_MONTECARLO, 50), 0);
  const auto first = points(s);
  s->markFinal();
  Twin probe(env, 2718);
  for (int i = 0; i < 50; ++i) probe.u();
  ASSERT_EQ(QXsampGenerate(s, QX_LATINSQUARE, 50), 0);
  EXPECT_EQ(points(s), first);
  EXPECT_EQ(QXgetDoubleRV(rg), probe.u());  // nothing was drawn
  // Another size draws again and clears the mark.
  ASSERT_EQ(QXsampGenerate(s, QX_MONTECARLO, 20), 0);
  EXPECT_EQ(points(s).size(), 20u);
  EXPECT_EQ(s->flags & torva::stoc::kPointsFinal, 0u);
}

TEST_F(SampFixture, LoadedPointsAndInformation) {
  QXsample s = make(QX_DIST_NORMAL, {0, 1}, rg);
  const std::vector<double> v = {1.0, -4.0, 2.5, 0.5};
  EXPECT_EQ(QXsampLoadPoints(s, 2, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  ASSERT_EQ(QXsampLoadPoints(s, 4, v.data()), 0);
  EXPECT_EQ(points(s), v);
  int i = 0;
  double d = 0;
  ASSERT_EQ(QXsampGetInfo(s, QX_IINFO_SAMP_METHOD, &i), 0);
  EXPECT_EQ(i, -1);
  ASSERT_EQ(QXsampGetInfo(s, QX_DINFO_SAMP_MEAN, &d), 0);
  EXPECT_DOUBLE_EQ(d, 0.0);
  ASSERT_EQ(QXsampGetInfo(s, QX_DINFO_SAMP_STD, &d), 0);
  EXPECT_DOUBLE_EQ(d, std::sqrt((1 + 16 + 6.25 + 0.25) / 3.0));
  ASSERT_EQ(QXsampGetInfo(s, QX_DINFO_SAMP_MAXABS, &d), 0);
  EXPECT_EQ(d, 4.0);
  EXPECT_EQ(QXsampGetInfo(s, 1, &i), QXERR_INVALID_PARAMETER_ID);
  double* ptr = nullptr;
  int n = 0;
  ASSERT_EQ(QXsampGetPointsPtr(s, &n, &ptr), 0);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(ptr[1], -4.0);
  // Generated points: the largest magnitude met.
  ASSERT_EQ(QXsampGenerate(s, QX_MONTECARLO, 300), 0);
  const auto p = points(s);
  double maxAbs = 0;
  for (double x : p) maxAbs = std::max(maxAbs, std::fabs(x));
  ASSERT_EQ(QXsampGetInfo(s, QX_DINFO_SAMP_MAXABS, &d), 0);
  EXPECT_EQ(d, maxAbs);
}

TEST_F(SampFixture, DiscreteTables) {
  QXsample s = make(QX_DIST_DISCRETE, {}, rg);
  const std::vector<double> ok = {0.2, 0.3, 0.4995};
  EXPECT_EQ(QXsampLoadDiscretePdfTable(s, 3, ok.data(), nullptr), 0);
  const std::vector<double> low = {0.2, 0.3, 0.498};
  const std::vector<double> values = {-10, 5, 7};
  EXPECT_EQ(QXsampLoadDiscretePdfTable(s, 3, low.data(), values.data()), QXERR_STOC_INVALID_CDF);
  int len = 0;
  std::vector<double> prob(3), vals(3);
  ASSERT_EQ(QXsampGetDiscretePdfTable(s, &len, prob.data(), vals.data()), 0);
  EXPECT_EQ(len, 3);
  EXPECT_EQ(prob, low);
  EXPECT_EQ(vals, values);
  // The lookup record: type, length + 5, 0, length - 1, 5, running sums.
  const auto& lk = s->table.lookup;
  ASSERT_EQ(lk.size(), 8u);
  EXPECT_EQ(lk[0], QX_DIST_DISCRETE);
  EXPECT_EQ(lk[1], 8);
  EXPECT_EQ(lk[2], 0);
  EXPECT_EQ(lk[3], 2);
  EXPECT_EQ(lk[4], 5.0);
  EXPECT_DOUBLE_EQ(lk[6], 0.5);
  EXPECT_DOUBLE_EQ(lk[7], 0.998);
  // Points are indices; the largest magnitude is taken from the values.
  ASSERT_EQ(QXsampGenerate(s, QX_LATINSQUARE, 200), 0);
  double d = 0;
  ASSERT_EQ(QXsampGetInfo(s, QX_DINFO_SAMP_MAXABS, &d), 0);
  EXPECT_EQ(d, 10.0);
  for (double x : points(s)) EXPECT_TRUE(x == 0 || x == 1 || x == 2);

  // Only the discrete types take a table; len < 1 prepares 5000 entries.
  QXsample cont = make(QX_DIST_NORMAL, {0, 1}, rg);
  EXPECT_EQ(QXsampLoadDiscretePdfTable(cont, 3, ok.data(), nullptr), QXERR_STOC_BAD_DISTRIBUTION);
  QXsample empty = make(QX_DIST_POISSON, {2}, rg);
  ASSERT_EQ(QXsampLoadDiscretePdfTable(empty, 0, nullptr, nullptr), 0);
  ASSERT_EQ(QXsampGetDiscretePdfTable(empty, &len, nullptr, nullptr), 0);
  EXPECT_EQ(len, 5000);
  EXPECT_EQ(QXsampGetDiscretePdfTable(empty, &len, prob.data(), nullptr), QXERR_INFO_NOT_AVAILABLE);
  QXsample noValues = make(QX_DIST_DISCRETE, {}, rg);
  ASSERT_EQ(QXsampLoadDiscretePdfTable(noValues, 3, ok.data(), nullptr), 0);
  EXPECT_EQ(QXsampGetDiscretePdfTable(noValues, &len, nullptr, vals.data()), QXERR_INFO_NOT_AVAILABLE);
  // Evaluated, a table is the law of its indices.
  EXPECT_EQ(eval(noValues, QX_DISTR_FUNC_PDF, 1), 0.3);
  EXPECT_DOUBLE_EQ(eval(noValues, QX_DISTR_FUNC_CDF, 1.7), 0.5);
  EXPECT_EQ(eval(noValues, QX_DISTR_FUNC_ICDF, 0.5), 1.0);
  EXPECT_EQ(eval(noValues, QX_DISTR_FUNC_ICDF, 0.51), 2.0);
}

// Host function: the point is the sum of the argument points; fails when
// asked to with a negative userdata.
// The nargs argument points come in value[], the result goes to value[0].
int sumOfArguments(QXsample, int funcCode, int, int nargs, double* value, void* userdata) {
  if (userdata && *static_cast<int*>(userdata) < 0) return QXERR_STOC_BAD_VALUE;
  if (userdata) ++*static_cast<int*>(userdata);
  double s = 0;
  for (int i = 0; i < nargs; ++i) s += value[i];
  value[0] = s + (funcCode == QX_DISTR_FUNC_ICDF ? 0.0 : 1000.0);
  return 0;
}

TEST_F(SampFixture, UserDefinedDistributions) {
  QXsample a = make(QX_DIST_NORMAL, {0, 1}, nullptr);
  QXsample b = make(QX_DIST_UNIFORM, {10, 11}, nullptr);
  QXsample sum = make(0, {}, rg);
  double v = 0;
  EXPECT_EQ(QXsampEvalUserDistr(sum, QX_DISTR_FUNC_ICDF, 0, 0, &v), QXERR_USER_FUNCTION_NOT_SET);
  EXPECT_EQ(QXsampSetUserDistr(sum, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  ASSERT_EQ(QXsampAddUserFuncArg(sum, a), 0);
  EXPECT_EQ(QXsampGenerate(sum, QX_MONTECARLO, 5), QXERR_STOC_USER_DISTR_NOT_SET);
  int calls = 0;
  ASSERT_EQ(QXsampSetUserDistr(sum, sumOfArguments, &calls), 0);
  ASSERT_EQ(QXsampAddUserFuncArg(sum, b), 0);
  EXPECT_EQ(QXsampAddUserFuncArg(sum, b), QXERR_STOC_SAMPLE_SOURCE_ASSIGNED);
  EXPECT_EQ(QXsampAddUserFuncArg(sum, sum), QXERR_STOC_SAMPLE_SOURCE_ASSIGNED);
  EXPECT_EQ(QXsampAddUserFuncArg(a, sum), QXERR_STOC_SAMPLE_SOURCE_ASSIGNED);  // would be a cycle
  EXPECT_EQ(QXsampAddUserFuncArg(sum, nullptr), QXERR_ILLEGAL_NULL_POINTER);

  ASSERT_EQ(QXsampGenerate(sum, QX_LATINSQUARE, 40), 0);
  EXPECT_EQ(calls, 40);
  const auto pa = points(a), pb = points(b), ps = points(sum);
  ASSERT_EQ(pa.size(), 40u);
  for (std::size_t i = 0; i < 40; ++i) EXPECT_EQ(ps[i], pa[i] + pb[i]);
  int method = 0;
  ASSERT_EQ(QXsampGetInfo(a, QX_IINFO_SAMP_METHOD, &method), 0);
  EXPECT_EQ(method, QX_LATINSQUARE);  // arguments are drawn with the same method

  double args[2] = {1.5, 2.0};
  ASSERT_EQ(QXsampEvalUserDistr(sum, QX_DISTR_FUNC_CDF, 0, 2, args), 0);
  EXPECT_EQ(args[0], 1003.5);
  args[0] = 1.5;
  // The host function's failure stops generation.
  calls = -1;
  EXPECT_EQ(QXsampGenerate(sum, QX_MONTECARLO, 10), QXERR_STOC_BAD_VALUE);
  // Loaded points are refused for a user-defined sample.
  EXPECT_EQ(QXsampLoadPoints(sum, 2, args), QXERR_NOT_SUPPORTED);
  // A function without argument samples.
  QXsample lone = make(0, {}, rg);
  ASSERT_EQ(QXsampSetUserDistr(lone, sumOfArguments, nullptr), 0);
  EXPECT_EQ(QXsampGenerate(lone, QX_MONTECARLO, 3), QXERR_INTERNAL_ERROR);
  // Deleting an argument sample unlinks it from the samples using it.
  ASSERT_EQ(QXsampDelete(&b), 0);
  int nargs = 0;
  ASSERT_EQ(QXsampGetInfo(sum, QX_IINFO_SAMP_NUSER_ARGS, &nargs), 0);
  EXPECT_EQ(nargs, 1);
}

TEST_F(SampFixture, CorrelationInductionReachesItsTargets) {
  constexpr int n = 1000;
  // Targets for (0,1), (0,2), (1,2). The scores are given exactly the mapped
  // Pearson target; their rank correlations differ from the normal-theory
  // value by sampling noise of order 1 / sqrt(n), hence the tolerance.
  const std::vector<int> pi = {0, 0, 1}, pj = {1, 2, 2};
  const double tol = 0.03;
  struct Case {
    int type;
    std::vector<double> target;
  };
  for (const Case& c : {Case{QX_CORR_SPEARMAN, {0.7, -0.4, 0.2}}, Case{QX_CORR_KENDALL, {0.5, -0.3, 0.1}},
                        Case{QX_CORR_PEARSON, {0.8, 0.3, -0.2}}}) {
    std::vector<QXsample> s = {make(QX_DIST_NORMAL, {0, 1}, rg), make(QX_DIST_NORMAL, {5, 2}, rg),
                               make(QX_DIST_NORMAL, {-1, 0.5}, rg)};
    for (QXsample x : s) ASSERT_EQ(QXsampGenerate(x, QX_LATINSQUARE, n), 0);
    int np = 0;
    std::vector<int> oi(3), oj(3);
    std::vector<double> before(3), after(3);
    EXPECT_EQ(QXsampGetCorrelationMatrix(s.data(), 3, QX_SAMP_CI_POINTS, c.type, &np, nullptr, nullptr, nullptr),
              QXERR_STOC_NO_CORRELATION);
    ASSERT_EQ(QXsampGetCorrelationMatrix(s.data(), 3, QX_SAMP_POINTS, c.type, &np, oi.data(), oj.data(),
                                         before.data()), 0);
    for (double r : before) EXPECT_LT(std::fabs(r), 0.13);  // independent draws: 4 standard errors
    ASSERT_EQ(QXsampInduceCorrelation(s.data(), 3, c.type, 3, pi.data(), pj.data(), c.target.data()), 0);
    ASSERT_EQ(QXsampGetCorrelationMatrix(s.data(), 3, QX_SAMP_CI_POINTS, c.type, &np, oi.data(), oj.data(),
                                         after.data()), 0);
    EXPECT_EQ(np, 3);
    EXPECT_EQ(oi, pi);
    EXPECT_EQ(oj, pj);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(after[k], c.target[k], tol) << "type " << c.type << " pair " << k;
    // The induced points are a rearrangement of the drawn ones.
    for (QXsample x : s) {
      std::vector<double> ci(n);
      int m = 0;
      ASSERT_EQ(QXsampGetCIPoints(x, &m, ci.data()), 0);
      ASSERT_EQ(m, n);
      auto p = points(x);
      std::sort(p.begin(), p.end());
      std::sort(ci.begin(), ci.end());
      EXPECT_EQ(p, ci);
    }
  }
}

TEST_F(SampFixture, CorrelationErrors) {
  std::vector<QXsample> s = {make(QX_DIST_UNIFORM, {0, 1}, rg), make(QX_DIST_UNIFORM, {0, 1}, rg)};
  const int i0 = 0, j1 = 1, j0 = 0;
  const double half = 0.5, big = 1.5;
  EXPECT_EQ(QXsampInduceCorrelation(s.data(), 2, QX_CORR_PEARSON, 1, &i0, &j1, &half), QXERR_STOC_SAMPLE_NOT_GENERATED);
  ASSERT_EQ(QXsampGenerate(s[0], QX_MONTECARLO, 50), 0);
  ASSERT_EQ(QXsampGenerate(s[1], QX_MONTECARLO, 40), 0);
  EXPECT_EQ(QXsampInduceCorrelation(s.data(), 2, QX_CORR_PEARSON, 1, &i0, &j1, &half), QXERR_STOC_BAD_SAMPLE_SIZE);
  ASSERT_EQ(QXsampGenerate(s[1], QX_MONTECARLO, 50), 0);
  EXPECT_EQ(QXsampInduceCorrelation(s.data(), 2, 3, 1, &i0, &j1, &half), QXERR_STOC_BAD_CORRELATION_TYPE);
  EXPECT_EQ(QXsampInduceCorrelation(s.data(), 2, -1, 1, &i0, &j1, &half), QXERR_STOC_BAD_CORRELATION_TYPE);
  EXPECT_EQ(QXsampInduceCorrelation(s.data(), 2, QX_CORR_PEARSON, 1, &i0, &j0, &half), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXsampInduceCorrelation(s.data(), 2, QX_CORR_PEARSON, 1, &i0, &j1, &big), QXERR_STOC_BAD_VALUE);
  EXPECT_EQ(QXsampInduceCorrelation(nullptr, 2, QX_CORR_PEARSON, 0, nullptr, nullptr, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetCorrelationMatrix(s.data(), 2, 2, QX_CORR_PEARSON, nullptr, nullptr, nullptr, nullptr),
            QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsampGetCorrelationMatrix(s.data(), 2, QX_SAMP_POINTS, 7, nullptr, nullptr, nullptr, nullptr),
            QXERR_STOC_BAD_CORRELATION_TYPE);
  // A target matrix that is not positive definite.
  std::vector<QXsample> three = {s[0], s[1], make(QX_DIST_UNIFORM, {0, 1}, rg)};
  ASSERT_EQ(QXsampGenerate(three[2], QX_MONTECARLO, 50), 0);
  const int pi[3] = {0, 0, 1}, pj[3] = {1, 2, 2};
  const double bad[3] = {0.9, 0.9, -0.9};
  EXPECT_EQ(QXsampInduceCorrelation(three.data(), 3, QX_CORR_PEARSON, 3, pi, pj, bad), QXERR_STOC_BAD_VALUE);
  // A perfectly correlated pair makes the target singular: refused.
  const double one = 1.0;
  ASSERT_EQ(QXsampInduceCorrelation(s.data(), 2, QX_CORR_SPEARMAN, 1, &i0, &j1, &one), QXERR_STOC_BAD_VALUE);
}

}  // namespace
