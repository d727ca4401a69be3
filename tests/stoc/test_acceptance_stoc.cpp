// Black-box checks of the random number generators and the samples through
// the public C interface only, with expected values computed here from the
// stated recurrences (never through library internals).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "torva.h"

namespace {

constexpr double kTwoM32 = 2.3283064365386963e-10;

struct Acc : ::testing::Test {
  QXenv env = nullptr;
  std::vector<QXrg> rgs;
  std::vector<QXsample> samples;
  void SetUp() override {
    int err = -1;
    env = QXcreateEnv(&err);
    ASSERT_EQ(err, 0);
    ASSERT_NE(env, nullptr);
  }
  void TearDown() override {
    for (QXsample& s : samples)
      if (s) QXsampDelete(&s);
    for (QXrg& rg : rgs) QXdisposeRG(&rg);
    QXdeleteEnv(&env);
  }
  QXrg rg(int kind, unsigned seed) {
    QXrg r = QXcreateRG(env, kind);
    EXPECT_NE(r, nullptr) << kind;
    rgs.push_back(r);
    if (r && seed) QXsetRGSeed(r, seed);
    return r;
  }
  QXsample sample(int type, std::vector<double> params, QXrg r) {
    int err = -1;
    QXsample s = QXsampCreate(env, type, &err);
    EXPECT_EQ(err, 0);
    EXPECT_NE(s, nullptr);
    samples.push_back(s);
    for (std::size_t i = 0; i < params.size(); ++i) {
      EXPECT_EQ(QXsampSetDistrParam(s, static_cast<int>(i), params[i]), 0);
    }
    if (r) {
      EXPECT_EQ(QXsampSetRG(s, r), 0);
    }
    return s;
  }
  static std::vector<double> points(QXsample s) {
    int n = -1;
    EXPECT_EQ(QXsampGetPoints(s, &n, nullptr), 0);
    std::vector<double> v(static_cast<std::size_t>(std::max(n, 0)));
    EXPECT_EQ(QXsampGetPoints(s, &n, v.data()), 0);
    return v;
  }
};

// ---- Names and values the interface fixes ----------------------------------

TEST_F(Acc, DefaultSamplingMethodIsLatinSquare) {
  int method = -1;
  ASSERT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_STOC_SAMPLING_METHOD, &method), 0);
  EXPECT_EQ(method, QX_LATINSQUARE);
}

// ---- Kind 0 ----------------------------------------------------------------

TEST_F(Acc, SystemKindSequenceAndSharedThreadState) {
  QXrg a = rg(QX_RANDGEN_SYSTEM, 0), b = rg(QX_RANDGEN_SYSTEM, 0);
  QXsetRGSeed(a, 2024);
  std::uint32_t state = 2024;
  auto next = [&] {
    state = state * 214013u + 2531011u;
    return static_cast<double>((state >> 16) & 0x7FFFu) / 32767.0;
  };
  for (int i = 0; i < 500; ++i) {
    // Both generators advance the one state of this thread.
    ASSERT_EQ(QXgetDoubleRV(i % 2 ? a : b), next()) << i;
  }
  EXPECT_EQ(QXgetInitSeed(a), 2024u);
  EXPECT_EQ(QXgetInitSeed(b), 0u);
}

// ---- Kind 1: the phase-rotated registers with floating remainders ----------

struct MrgText {
  double s[6];
  int p = 0;
  static constexpr double m1 = 4294967087.0, m2 = 4294944443.0;
  explicit MrgText(std::uint32_t u) {
    const double two26 = 67108864.0, two30 = 1073741824.0, twoM15 = 1.0 / 32768.0;
    s[0] = 2;
    double v = u, t;
    if (v > two26) {
      v *= 1.0 / two26;
      t = 26;
    } else {
      t = 1;
    }
    s[1] = v > 32768 ? t + 15 : t;
    v *= twoM15;
    if (v < twoM15) {
      v *= 32768;
      s[2] = 15;
    } else {
      s[2] = 1;
    }
    const double f = v - std::floor(v);
    s[3] = (v > 0 && v < two30) ? std::trunc(v) : 1;
    const double k = std::trunc(f * two30);
    s[4] = k >= 1 ? k : 1;
    s[5] = k < 64 ? 6 : 1;
  }
  MrgText() : s{0, 0, 0, 0, 0, 0} {}
  static double mul(double x, double f1, double f2, double m) { return std::fmod(std::fmod(x * f1, m) * f2, m); }
  double next() {
    int a, b, c, d;
    if (p == 0) a = 2, b = 4, c = 1, d = 5;
    else if (p == 1) a = 0, b = 2, c = 5, d = 3;
    else a = 4, b = 0, c = 3, d = 1;
    double x1 = std::fmod(mul(s[a], 2235, 628, m1) - mul(s[b], 101341, 8, m1), m1);
    if (x1 < 0) x1 += m1;
    double x2 = std::fmod(mul(s[c], 7759, 68, m2) - mul(s[d], 1013, 1353, m2), m2);
    if (x2 < 0) x2 += m2;
    s[b] = x1;
    s[d] = x2;
    p = (p + 1) % 3;
    double z = x1 - x2;
    if (z <= 0) z += m1;
    return z / m1;
  }
};

TEST_F(Acc, Mrg32k3aAsWrittenWithFloatingRemainders) {
  for (unsigned seed : {7u, 32769u, 70000000u, 2147483648u, 4294967295u}) {
    QXrg r = rg(QX_RANDGEN_MRG32K3A, seed);
    MrgText ref(seed);
    for (int i = 0; i < 3000; ++i) ASSERT_EQ(QXgetDoubleRV(r), ref.next()) << seed << " " << i;
  }
  // Unseeded: every register is 0, so every draw is m1 / m1.
  QXrg fresh = rg(QX_RANDGEN_MRG32K3A, 0);
  MrgText zero;
  for (int i = 0; i < 10; ++i) ASSERT_EQ(QXgetDoubleRV(fresh), zero.next());
}

// ---- Kinds 2..5 before any seed: their creation state ----------------------

TEST_F(Acc, UnseededKindsStartFromTheirCreationState) {
  QXrg lcg = rg(QX_RANDGEN_LCG31, 0), sub = rg(QX_RANDGEN_SUBTRACTIVE, 0), fib = rg(QX_RANDGEN_LAGFIB, 0);
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(QXgetDoubleRV(lcg), 0.0);
    ASSERT_EQ(QXgetDoubleRV(sub), 0.0);
    ASSERT_EQ(QXgetDoubleRV(fib), 0.0);
  }
  // Kind 3: x1 = 0, x2 = 123456789, y = 0, table zero.
  QXrg shuf = rg(QX_RANDGEN_SHUFFLE, 0);
  std::int64_t x1 = 0, x2 = 123456789, y = 0, t[32] = {};
  for (int i = 0; i < 2000; ++i) {
    x1 = 40014 * x1 % 2147483563;
    x2 = 40692 * x2 % 2147483399;
    const std::int64_t j = y / 67108862;
    y = t[j] - x2;
    t[j] = x1;
    if (y < 1) y += 2147483562;
    ASSERT_EQ(QXgetDoubleRV(shuf), std::min(static_cast<double>(y) * 4.656613057391769e-10, 0.99999988)) << i;
  }
}

TEST_F(Acc, ReseedingRestartsAndEqualSeedsGiveEqualSequences) {
  for (int kind = QX_RANDGEN_MRG32K3A; kind <= QX_RANDGEN_MERSENNE; ++kind) {
    QXrg a = rg(kind, 4711), b = rg(kind, 4711);
    std::vector<double> first(50);
    for (double& v : first) v = QXgetDoubleRV(a);
    for (double v : first) ASSERT_EQ(QXgetDoubleRV(b), v) << kind;
    QXsetRGSeed(a, 4711);
    for (double v : first) ASSERT_EQ(QXgetDoubleRV(a), v) << kind;
  }
  // Kind 6 reseeded mid-sequence restarts at MT19937(seed).
  QXrg mt = rg(QX_RANDGEN_MERSENNE, 3);
  for (int i = 0; i < 700; ++i) QXgetDoubleRV(mt);
  QXsetRGSeed(mt, 3);
  std::mt19937 ref(3);
  for (int i = 0; i < 700; ++i) ASSERT_EQ(QXgetDoubleRV(mt), ref() * kTwoM32);
}

// ---- The parallel form through the environment's parameters ---------------

TEST_F(Acc, ParallelFormThroughParameters) {
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_SAMP_NUM_THREADS, 4), 0);
  EXPECT_EQ(QXcreateRGMT(env, QX_RANDGEN_LCG31), nullptr);
  EXPECT_EQ(QXcreateRGMT(env, QX_RANDGEN_SYSTEM), nullptr);
  QXrg mt = QXcreateRGMT(env, QX_RANDGEN_FREE);
  ASSERT_NE(mt, nullptr);
  rgs.push_back(mt);
  int threads = 0, size = 0;
  ASSERT_EQ(QXgetRGNumThreads(mt, &threads), 0);
  EXPECT_EQ(threads, 4);
  double* buf = QXgetRGBufferPtr(mt, &size);
  ASSERT_NE(buf, nullptr);
  EXPECT_EQ(size, 65536);
  EXPECT_NE(QXgetRGBufferPtr(mt, nullptr), nullptr);

  // Stream 0 is MT19937(seed) and the draws start at the buffer's start.
  QXsetRGSeed(mt, 99);
  EXPECT_EQ(QXgetInitSeed(mt), 99u);
  std::mt19937 s0(99);
  EXPECT_EQ(QXgetDoubleRV(mt), s0() * kTwoM32);
  ASSERT_EQ(QXfillRGBuffer(mt), 0);
  buf = QXgetRGBufferPtr(mt, &size);
  EXPECT_EQ(QXgetDoubleRV(mt), buf[0]);
  EXPECT_EQ(QXgetDoubleRV(mt), buf[1]);
  for (int i = 0; i < size; ++i) {
    ASSERT_GE(buf[i], 0.0);
    ASSERT_LT(buf[i], 1.0);
  }
  // Reseeding restarts the sequence.
  QXsetRGSeed(mt, 99);
  std::mt19937 again(99);
  EXPECT_EQ(QXgetDoubleRV(mt), again() * kTwoM32);

  // A small buffer is raised to the stream count, 4096.
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_SAMP_RG_BUFFER_SIZE, 100), 0);
  QXrg small = QXcreateRGMT(env, QX_RANDGEN_MERSENNE);
  ASSERT_NE(small, nullptr);
  rgs.push_back(small);
  QXgetRGBufferPtr(small, &size);
  EXPECT_EQ(size, 4096);
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_SAMP_RG_BUFFER_SIZE, 5000), 0);
  QXrg mid = QXcreateRGMT(env, QX_RANDGEN_MERSENNE);
  ASSERT_NE(mid, nullptr);
  rgs.push_back(mid);
  QXgetRGBufferPtr(mid, &size);
  EXPECT_EQ(size, 5000);

  // One thread: every kind, single stream; a refill has nothing to do.
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_SAMP_NUM_THREADS, 1), 0);
  QXrg lcg = QXcreateRGMT(env, QX_RANDGEN_LCG31);
  ASSERT_NE(lcg, nullptr);
  rgs.push_back(lcg);
  EXPECT_EQ(QXfillRGBuffer(lcg), 0);
  EXPECT_EQ(QXgetRGBufferPtr(lcg, &size), nullptr);
  EXPECT_EQ(QXcreateRGMT(env, 7), nullptr);
}

// ---- Integer draw and the attached uniform distribution --------------------

TEST_F(Acc, AttachedDistributionRules) {
  QXrg r = rg(QX_RANDGEN_LCG31, 11);
  double v = 0;
  EXPECT_EQ(QXgetDistrRV(r, &v), QXERR_INFO_NOT_AVAILABLE);
  ASSERT_EQ(QXsetDistrRG(r, QX_DIST_UNIFORM), 0);
  EXPECT_EQ(QXgetDistrRV(r, &v), QXERR_STOC_DISTR_PARAM_NOT_SET);
  EXPECT_EQ(QXsetDistrParamRG(r, 5, 0.0), QXERR_INDEX_OUT_OF_RANGE);
  ASSERT_EQ(QXsetDistrParamRG(r, 0, -2.0), 0);
  ASSERT_EQ(QXsetDistrParamRG(r, 1, 6.0), 0);
  // The failed call above drew one uniform first.
  std::uint64_t x = 742938285ull * 11 % 2147483647ull;
  for (int i = 0; i < 50; ++i) {
    x = 742938285ull * x % 2147483647ull;
    ASSERT_EQ(QXgetDistrRV(r, &v), 0);
    ASSERT_EQ(v, -2.0 + 8.0 * (static_cast<double>(x) * 4.656612875e-10));
  }
  // Replacing the sampler starts from unset parameters again.
  ASSERT_EQ(QXsetDistrRG(r, QX_DIST_UNIFORM), 0);
  EXPECT_EQ(QXgetDistrRV(r, &v), QXERR_STOC_DISTR_PARAM_NOT_SET);
  QXrg gone = rg(QX_RANDGEN_MERSENNE, 1);
  ASSERT_EQ(QXsetDistrRG(gone, QX_DIST_NORMAL), 0);
  QXdisposeRG(&gone);
  EXPECT_EQ(gone, nullptr);
  QXdisposeRG(&gone);
  rgs.back() = nullptr;
}

TEST_F(Acc, UniformFunctionsAsStated) {
  QXsample s = sample(QX_DIST_UNIFORM, {}, nullptr);
  double v = 0;
  EXPECT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_ICDF, 0.5, &v), QXERR_STOC_DISTR_PARAM_NOT_SET);
  ASSERT_EQ(QXsampSetDistrParam(s, 0, 2.0), 0);
  EXPECT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_CDF, 0.5, &v), QXERR_STOC_DISTR_PARAM_NOT_SET);
  ASSERT_EQ(QXsampSetDistrParam(s, 1, 1.0), 0);
  EXPECT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_PDF, 1.5, &v), QXERR_STOC_BAD_DISTR_PARAMS);
  ASSERT_EQ(QXsampSetDistrParam(s, 1, 6.0), 0);
  EXPECT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_ICDF, 1.5, &v), QXERR_STOC_BAD_PROBABILITY);
  EXPECT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_ICDF, -0.1, &v), QXERR_STOC_BAD_PROBABILITY);
  ASSERT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_ICDF, 0.3, &v), 0);
  EXPECT_EQ(v, 2.0 + 4.0 * 0.3);
  ASSERT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_ICDF, 1.0, &v), 0);
  EXPECT_EQ(v, 6.0);
  ASSERT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_PDF, 3.0, &v), 0);
  EXPECT_EQ(v, 0.25);
  ASSERT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_PDF, 7.0, &v), 0);
  EXPECT_EQ(v, 0.0);
  ASSERT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_CDF, 2.0, &v), 0);
  EXPECT_EQ(v, 0.0);
  ASSERT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_CDF, 5.0, &v), 0);
  EXPECT_EQ(v, 0.75);
  ASSERT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_CDF, 6.5, &v), 0);
  EXPECT_EQ(v, 1.0);
  ASSERT_EQ(QXsampSetDistrParam(s, 1, 2.0), 0);
  ASSERT_EQ(QXsampEvalDistr(s, QX_DISTR_FUNC_PDF, 2.0, &v), 0);
  EXPECT_EQ(v, 1e30);
}

// ---- Samples -----------------------------------------------------------------

TEST_F(Acc, SampleCreationParametersAndNullRules) {
  int err = 0;
  EXPECT_EQ(QXsampCreate(nullptr, QX_DIST_NORMAL, &err), nullptr);
  EXPECT_EQ(err, QXERR_ILLEGAL_NULL_POINTER);
  QXsample s = sample(QX_DIST_NORMAL, {}, nullptr);
  double v = 0;
  ASSERT_EQ(QXsampGetDistrParam(s, 3, &v), 0);
  EXPECT_EQ(v, 1e30);
  EXPECT_EQ(QXsampSetDistrParam(s, 5, 1.0), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXsampGetDistrParam(s, 5, &v), QXERR_INDEX_OUT_OF_RANGE);
  ASSERT_EQ(QXsampSetDistrParam(s, 4, 9.5), 0);
  ASSERT_EQ(QXsampGetDistrParam(s, 4, &v), 0);
  EXPECT_EQ(v, 9.5);

  int n = 0;
  double* p = nullptr;
  QXrg r = rg(QX_RANDGEN_MERSENNE, 1);
  EXPECT_EQ(QXsampDelete(nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampSetRG(nullptr, r), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampSetRG(s, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampSetDistrParam(nullptr, 0, 1), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetDistrParam(nullptr, 0, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampEvalDistr(nullptr, 1, 0, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGenerate(nullptr, 0, 3), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampLoadPoints(nullptr, 1, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetPoints(nullptr, &n, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetPointsPtr(nullptr, &n, &p), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetCIPoints(nullptr, &n, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetCIPointsPtr(nullptr, &n, &p), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampLoadDiscretePdfTable(nullptr, 1, &v, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetDiscretePdfTable(nullptr, &n, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampAddUserFuncArg(nullptr, s), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampEvalUserDistr(nullptr, 1, 0, 0, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsampGetInfo(nullptr, QX_IINFO_SAMP_SIZE, &n), QXERR_ILLEGAL_NULL_POINTER);

  // Points that do not exist: the pointer forms give the count regardless.
  EXPECT_EQ(QXsampGetPoints(s, &n, &v), QXERR_INFO_NOT_AVAILABLE);
  n = -1;
  EXPECT_EQ(QXsampGetPointsPtr(s, &n, nullptr), 0);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(QXsampGetPointsPtr(s, &n, &p), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXsampGetCIPoints(s, &n, &v), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXsampGetCIPointsPtr(s, &n, nullptr), 0);
  EXPECT_EQ(QXsampGetCIPointsPtr(s, &n, &p), QXERR_INFO_NOT_AVAILABLE);

  QXsample d = sample(QX_DIST_UNIFORM, {0, 1}, nullptr);
  ASSERT_EQ(QXsampDelete(&d), 0);
  EXPECT_EQ(d, nullptr);
  EXPECT_EQ(QXsampDelete(&d), QXERR_ILLEGAL_NULL_POINTER);
  samples.pop_back();
}

TEST_F(Acc, GenerationPreconditions) {
  QXsample s = sample(QX_DIST_UNIFORM, {0, 1}, nullptr);
  EXPECT_EQ(QXsampGenerate(s, QX_MONTECARLO, 4), QXERR_STOC_RG_NOT_SET);
  QXrg unseeded = rg(QX_RANDGEN_MERSENNE, 0);
  ASSERT_EQ(QXsampSetRG(s, unseeded), 0);
  EXPECT_EQ(QXsampGenerate(s, QX_MONTECARLO, 4), QXERR_STOC_SEED_NOT_SET);
  QXsetRGSeed(unseeded, 8);
  EXPECT_EQ(QXsampGenerate(s, QX_MONTECARLO, 4), 0);
  // An error of the inverse stops generation.
  QXsample bad = sample(QX_DIST_UNIFORM, {3, 1}, unseeded);
  EXPECT_EQ(QXsampGenerate(bad, QX_MONTECARLO, 4), QXERR_STOC_BAD_DISTR_PARAMS);
}

// Expected points of a uniform(lo, hi) sample drawn by `method` from a
// Mersenne Twister seeded with `seed`, computed from the stated rules.
std::vector<double> expectedUniformPoints(unsigned seed, int method, int n, double lo, double hi,
                                          std::mt19937* out = nullptr) {
  std::mt19937 mt(seed);
  auto U = [&] { return mt() * kTwoM32; };
  auto idraw = [&](int a, int b) {
    if (a >= b) return a;
    const double u = U();
    return static_cast<int>(std::min(static_cast<double>(b), a + std::trunc((b - a + 1.0) * u)));
  };
  std::vector<int> p(static_cast<std::size_t>(n));
  const bool latin = method == 1 || method == 3, anti = method == 2 || method == 3;
  if (latin) {
    for (int i = 0; i < n; ++i) p[i] = i + 1;
    for (int k = 1; k <= n; ++k) std::swap(p[k - 1], p[idraw(k, n) - 1]);
  }
  std::vector<double> x(static_cast<std::size_t>(n));
  const double dn = n;
  for (int i = 0; i < n;) {
    const double u = U();
    x[i] = lo + (hi - lo) * (latin ? (p[i] - 1 + u) / dn : u);
    ++i;
    if (anti && i < n) {
      x[i] = lo + (hi - lo) * (latin ? (1 - u + p[i] - 1) / dn : 1 - u);
      ++i;
    }
  }
  if (out) *out = mt;
  return x;
}

TEST_F(Acc, FourMethodsFollowTheStatedDraws) {
  for (int method = 0; method <= 3; ++method) {
    for (int n : {1, 2, 7, 10, 33}) {
      QXrg r = rg(QX_RANDGEN_MERSENNE, 100 + method);
      QXsample s = sample(QX_DIST_UNIFORM, {-1.0, 3.0}, r);
      ASSERT_EQ(QXsampGenerate(s, method, n), 0);
      std::mt19937 after;
      const std::vector<double> expected = expectedUniformPoints(100 + method, method, n, -1.0, 3.0, &after);
      EXPECT_EQ(points(s), expected) << "method " << method << " n " << n;
      // Exactly the stated number of draws were taken from the generator.
      EXPECT_EQ(QXgetDoubleRV(r), after() * kTwoM32) << "method " << method << " n " << n;
    }
  }
}

// Host function: records its arguments and writes iarg1 * 10 + iarg2 (direct
// calls) or the product of the argument points (generation).

}  // namespace
