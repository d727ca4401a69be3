// Random number generators: every fixed sequence against an independent
// reference, the buffered form, the integer draw, seeding and error rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "base/env.hpp"
#include "stoc/rng.hpp"
#include "stoc_fixture.hpp"

namespace {

constexpr double kTwoM32 = 1.0 / 4294967296.0;

// The shared environment fixture; the generators made here are disposed of
// before it.
struct RgFixture : torva_test::StocFixture<1> {
  std::vector<QXrg> rgs;
  void TearDown() override {
    for (QXrg& g : rgs) QXdisposeRG(&g);
    StocFixture::TearDown();
  }
  // The first 2000 draws of kind seeded with seed against next().
  void expectDraws(int kind, unsigned seed, const std::function<double()>& next) {
    QXrg g = make(kind, seed);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(QXgetDoubleRV(g), next()) << kind << " seed " << seed << " draw " << i;
  }
  QXrg make(int kind, unsigned seed) {
    QXrg rg = QXcreateRG(env, kind);
    EXPECT_NE(rg, nullptr);
    rgs.push_back(rg);
    if (rg && seed) QXsetRGSeed(rg, seed);
    return rg;
  }
};

// ---- Mersenne Twister -----------------------------------------------------

// Seed 0 leaves the generator unseeded: it starts from std::mt19937's default
// 5489. Kind -1 (free choice) is the Mersenne Twister too.
TEST_F(RgFixture, MersenneMatchesStdMt19937) {
  for (unsigned seed : {0u, 1u, 12345u, 4294967295u}) {
    std::mt19937 ref(seed ? seed : 5489u);
    expectDraws(seed ? QX_RANDGEN_MERSENNE : QX_RANDGEN_FREE, seed, [&] { return static_cast<double>(ref()) * kTwoM32; });
    EXPECT_EQ(QXgetInitSeed(rgs.back()), seed);
  }
}

// ---- Kind 0 ----------------------------------------------------------------

TEST_F(RgFixture, SystemGeneratorIsPerThreadLcg) {
  // A fresh thread starts from state 1, whose first 15-bit output is the
  // well-known 41.
  double first = -1;
  std::thread([&] {
    QXrg rg = QXcreateRG(env, QX_RANDGEN_SYSTEM);
    first = QXgetDoubleRV(rg);
    QXdisposeRG(&rg);
  }).join();
  EXPECT_EQ(first, 41.0 / 32767.0);

  QXrg a = make(QX_RANDGEN_SYSTEM, 777);
  QXrg b = make(QX_RANDGEN_SYSTEM, 0);
  std::uint32_t state = 777;
  auto ref = [&] {
    state = state * 214013u + 2531011u;
    return static_cast<double>((state >> 16) & 0x7FFF) / 32767.0;
  };
  // Both generators draw from the one state of this thread.
  for (int i = 0; i < 500; ++i) {
    ASSERT_EQ(QXgetDoubleRV(a), ref());
    ASSERT_EQ(QXgetDoubleRV(b), ref());
  }
}

// ---- Kind 1: MRG32k3a --------------------------------------------------------

// The seeding rule, then the two recurrences in exact integer arithmetic.
struct MrgReference {
  static constexpr std::int64_t m1 = 4294967087, m2 = 4294944443;
  std::int64_t x1[3], x2[3];  // oldest first
  explicit MrgReference(std::uint32_t u) {
    double s[6];
    s[0] = 2;
    double v = u, t = 1;
    if (v > 67108864.0) {
      v /= 67108864.0;
      t = 26;
    }
    s[1] = v > 32768 ? t + 15 : t;
    v /= 32768.0;
    if (v < 1.0 / 32768.0) {
      v *= 32768;
      s[2] = 15;
    } else {
      s[2] = 1;
    }
    const double f = v - std::floor(v);
    s[3] = (v > 0 && v < 1073741824.0) ? std::trunc(v) : 1;
    const double k = std::trunc(f * 1073741824.0);
    s[4] = k >= 1 ? k : 1;
    s[5] = k < 64 ? 6 : 1;
    // First component: newest s0, then s2, oldest s4; second: newest s1,
    // then s3, oldest s5.
    x1[0] = static_cast<std::int64_t>(s[4]);
    x1[1] = static_cast<std::int64_t>(s[2]);
    x1[2] = static_cast<std::int64_t>(s[0]);
    x2[0] = static_cast<std::int64_t>(s[5]);
    x2[1] = static_cast<std::int64_t>(s[3]);
    x2[2] = static_cast<std::int64_t>(s[1]);
  }
  static std::int64_t mod(__int128 v, std::int64_t m) {
    v %= m;
    return static_cast<std::int64_t>(v < 0 ? v + m : v);
  }
  double next() {
    const std::int64_t a = mod(static_cast<__int128>(1403580) * x1[1] - static_cast<__int128>(810728) * x1[0], m1);
    const std::int64_t b = mod(static_cast<__int128>(527612) * x2[2] - static_cast<__int128>(1370589) * x2[0], m2);
    x1[0] = x1[1];
    x1[1] = x1[2];
    x1[2] = a;
    x2[0] = x2[1];
    x2[1] = x2[2];
    x2[2] = b;
    std::int64_t z = a - b;
    if (z <= 0) z += m1;
    return static_cast<double>(z) / static_cast<double>(m1);
  }
};

TEST_F(RgFixture, Mrg32k3aFollowsItsRecurrences) {
  for (unsigned seed : {1u, 1031u, 40000u, 123456789u, 4000000000u}) {
    MrgReference ref(seed);
    expectDraws(QX_RANDGEN_MRG32K3A, seed, [&] { return ref.next(); });
  }
}

// ---- Kind 2 ------------------------------------------------------------------

TEST_F(RgFixture, Lcg31IsMultiplier742938285) {
  for (unsigned seed : {1u, 987654321u, 2147483648u + 5u}) {
    std::uint64_t x = seed >= 2147483648u ? seed - 2147483647u : seed;
    expectDraws(QX_RANDGEN_LCG31, seed, [&] {
      x = (742938285ull * x) % 2147483647ull;
      return static_cast<double>(x) * 4.656612875e-10;
    });
  }
}

// ---- Kind 3 ------------------------------------------------------------------

TEST_F(RgFixture, ShuffleGeneratorMatchesDirectModularReference) {
  for (unsigned seed : {1u, 42u, 1000003u, 2000000000u}) {
    const std::uint64_t m1 = 2147483563, m2 = 2147483399;
    std::uint64_t x1 = seed, x2 = seed, table[32];
    for (int j = 39; j >= 0; --j) {
      x1 = 40014 * x1 % m1;
      if (j < 32) table[j] = x1;
    }
    std::int64_t y = static_cast<std::int64_t>(table[0]);
    expectDraws(QX_RANDGEN_SHUFFLE, seed, [&] {
      x1 = 40014 * x1 % m1;
      x2 = 40692 * x2 % m2;
      const int j = static_cast<int>(y / 67108862);
      y = static_cast<std::int64_t>(table[j]) - static_cast<std::int64_t>(x2);
      table[j] = x1;
      if (y < 1) y += 2147483562;
      return std::min(static_cast<double>(y) * 4.656613057391769e-10, 0.99999988);
    });
  }
}

// ---- Kind 4 ------------------------------------------------------------------

TEST_F(RgFixture, SubtractiveGeneratorMatchesKnuthReference) {
  for (unsigned seed : {1u, 314159u, 161803398u, 999999999u}) {
    // Knuth's lagged subtraction x[n] = x[n-55] - x[n-24] mod 10^9 over an
    // array initialised by the Fibonacci-like spread of the seed.
    const std::int64_t big = 1000000000;
    std::int64_t ma[56] = {};
    std::int64_t mj = (161803398 - static_cast<std::int64_t>(seed)) % big;
    if (mj < 0) mj = -mj;
    ma[55] = mj;
    std::int64_t mk = 1;
    for (int i = 1; i < 55; ++i) {
      const int ii = 21 * i % 55;
      ma[ii] = mk;
      mk = (mj - mk + big) % big;
      mj = ma[ii];
    }
    for (int k = 0; k < 4; ++k)
      for (int i = 1; i < 56; ++i) ma[i] = (ma[i] - ma[1 + (i + 30) % 55] + big) % big;
    int inext = 0, inextp = 31;
    expectDraws(QX_RANDGEN_SUBTRACTIVE, seed, [&] {
      inext = inext % 55 + 1;
      inextp = inextp % 55 + 1;
      ma[inext] = (ma[inext] - ma[inextp] + big) % big;
      return static_cast<double>(ma[inext]) * 1e-9;
    });
  }
}

// ---- Kind 5 ------------------------------------------------------------------

TEST_F(RgFixture, LaggedFibonacciOutputsObeyTheLagRecurrence) {
  // Draws come in blocks q[1..54] of the table; the next block is
  // q'[j] = q[j] - q[j+31] (j < 24) and q'[j] = q[j] - q'[j-24] (j >= 24),
  // modulo 1. Every relation whose operands are all drawn is checked exactly.
  QXrg rg = make(QX_RANDGEN_LAGFIB, 2024);
  std::vector<std::vector<double>> blocks(6, std::vector<double>(55, -1.0));
  for (auto& b : blocks)
    for (int j = 1; j < 55; ++j) {
      b[j] = QXgetDoubleRV(rg);
      ASSERT_GE(b[j], 0.0);
      ASSERT_LT(b[j], 1.0);
    }
  auto wrap = [](double d) { return d < 0 ? d + 1.0 : d; };
  int checked = 0;
  for (std::size_t k = 1; k < blocks.size(); ++k) {
    const auto& q = blocks[k - 1];
    const auto& r = blocks[k];
    for (int j = 1; j < 24; ++j, ++checked) ASSERT_EQ(r[j], wrap(q[j] - q[j + 31])) << k << " " << j;
    for (int j = 25; j < 55; ++j, ++checked) ASSERT_EQ(r[j], wrap(q[j] - r[j - 24])) << k << " " << j;
  }
  EXPECT_EQ(checked, 5 * 53);
  // Different seeds give different sequences; equal seeds equal ones.
  QXrg same = make(QX_RANDGEN_LAGFIB, 2024);
  QXrg other = make(QX_RANDGEN_LAGFIB, 2025);
  EXPECT_EQ(QXgetDoubleRV(same), blocks[0][1]);
  EXPECT_NE(QXgetDoubleRV(other), blocks[0][1]);
  // The seeded table is spread evenly (the other kinds are pinned by their
  // exact references): the Kolmogorov-Smirnov distance of 50000 draws stays
  // below its 0.1% critical value 1.95 / sqrt(n).
  std::vector<double> v(50000);
  for (double& d : v) d = QXgetDoubleRV(same);
  std::sort(v.begin(), v.end());
  const double n = static_cast<double>(v.size());
  double ks = 0;
  for (std::size_t i = 0; i < v.size(); ++i) ks = std::max({ks, v[i] - i / n, (i + 1) / n - v[i]});
  EXPECT_LT(ks, 1.95 / std::sqrt(n));
}

// ---- Every kind ----------------------------------------------------------------

TEST_F(RgFixture, SeedZeroTakesTheClock) {
  const auto before = static_cast<unsigned>(std::time(nullptr));
  QXrg rg = make(QX_RANDGEN_MERSENNE, 0);
  QXsetRGSeed(rg, 0);
  const auto after = static_cast<unsigned>(std::time(nullptr));
  const unsigned used = QXgetInitSeed(rg);
  EXPECT_GE(used, before);
  EXPECT_LE(used, after);
  expectDraws(QX_RANDGEN_MERSENNE, used, [&] { return QXgetDoubleRV(rg); });
}

TEST_F(RgFixture, IntegerDraw) {
  QXrg rg = make(QX_RANDGEN_MERSENNE, 99);
  std::mt19937 ref(99);
  EXPECT_EQ(QXgetInt32RV(rg, 5, 5), 5);
  EXPECT_EQ(QXgetInt32RV(rg, 7, 3), 7);
  // Neither call drew: the sequence is still at its start.
  for (int i = 0; i < 5000; ++i) {
    const int lo = -3 + i % 7, hi = lo + i % 11;
    const int v = QXgetInt32RV(rg, lo, hi);
    if (lo >= hi) {
      ASSERT_EQ(v, lo);
      continue;
    }
    const double u = static_cast<double>(ref()) * kTwoM32;
    ASSERT_EQ(v, std::min(hi, lo + static_cast<int>(std::trunc((hi - lo + 1) * u))));
  }
  // The full int range: its span of 2^32 does not overflow.
  for (int i = 0; i < 1000; ++i) {
    const double u = static_cast<double>(ref()) * kTwoM32;
    const long long wide = -2147483648LL + static_cast<long long>(std::trunc(4294967296.0 * u));
    ASSERT_EQ(QXgetInt32RV(rg, -2147483647 - 1, 2147483647), std::min(wide, 2147483647LL));
  }
  // Kind 0 can return exactly 1; the result stays at hi.
  QXrg sys = make(QX_RANDGEN_SYSTEM, 1);
  for (int i = 0; i < 40000; ++i) {
    const int v = QXgetInt32RV(sys, 0, 9);
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 9);
  }
}

TEST_F(RgFixture, CreationRules) {
  EXPECT_EQ(QXcreateRG(nullptr, QX_RANDGEN_MERSENNE), nullptr);
  EXPECT_EQ(QXcreateRG(env, 7), nullptr);
  EXPECT_EQ(QXcreateRG(env, -2), nullptr);
  EXPECT_EQ(QXcreateRGMT(nullptr, QX_RANDGEN_MERSENNE), nullptr);
  // With the default sampling parameters (0 threads, as any count at or
  // below 1) every kind is single stream.
  for (int kind = -1; kind <= 6; ++kind) {
    QXrg rg = QXcreateRGMT(env, kind);
    ASSERT_NE(rg, nullptr) << kind;
    rgs.push_back(rg);
    int threads = 0;
    ASSERT_EQ(QXgetRGNumThreads(rg, &threads), 0);
    EXPECT_EQ(threads, 1);
    int size = -1;
    EXPECT_EQ(QXgetRGBufferPtr(rg, &size), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(QXfillRGBuffer(rg), 0);  // nothing buffered to refill
  }
}

TEST_F(RgFixture, NullHandleErrors) {
  int n = 0;
  double v = 0;
  EXPECT_EQ(QXsetDistrRG(nullptr, QX_DIST_UNIFORM), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetDistrParamRG(nullptr, 0, 1.0), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXfillRGBuffer(nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetRGNumThreads(nullptr, &n), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetDistrRV(nullptr, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetRGBufferPtr(nullptr, &n), nullptr);
  QXsetRGSeed(nullptr, 5);
  QXrg rg = make(QX_RANDGEN_MERSENNE, 1);
  EXPECT_EQ(QXgetRGNumThreads(rg, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetDistrRV(rg, &v), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXsetDistrParamRG(rg, 0, 1.0), QXERR_INFO_NOT_AVAILABLE);
}

TEST_F(RgFixture, AttachedUniformDistribution) {
  QXrg rg = make(QX_RANDGEN_MERSENNE, 5);
  std::mt19937 ref(5);
  EXPECT_EQ(QXsetDistrRG(rg, 9999), QXERR_STOC_BAD_DISTRIBUTION);
  ASSERT_EQ(QXsetDistrRG(rg, QX_DIST_UNIFORM), 0);
  EXPECT_EQ(env->samples.size(), 1u);
  double v = 0;
  EXPECT_EQ(QXgetDistrRV(rg, &v), QXERR_STOC_DISTR_PARAM_NOT_SET);
  ref();  // that call drew its uniform before finding the parameters unset
  EXPECT_EQ(QXsetDistrParamRG(rg, 5, 1.0), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXsetDistrParamRG(rg, -1, 1.0), QXERR_INDEX_OUT_OF_RANGE);
  ASSERT_EQ(QXsetDistrParamRG(rg, 0, 10.0), 0);
  EXPECT_EQ(QXgetDistrRV(rg, &v), QXERR_STOC_DISTR_PARAM_NOT_SET);
  ref();
  ASSERT_EQ(QXsetDistrParamRG(rg, 1, 14.0), 0);
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(QXgetDistrRV(rg, &v), 0);
    ASSERT_EQ(v, 10.0 + 4.0 * (static_cast<double>(ref()) * kTwoM32));
  }
  ASSERT_EQ(QXsetDistrParamRG(rg, 1, 9.0), 0);
  EXPECT_EQ(QXgetDistrRV(rg, &v), QXERR_STOC_BAD_DISTR_PARAMS);
  // A second attachment replaces the first; disposal frees it from the list.
  ASSERT_EQ(QXsetDistrRG(rg, QX_DIST_NORMAL), 0);
  EXPECT_EQ(env->samples.size(), 1u);
  QXrg other = make(QX_RANDGEN_LCG31, 9);
  ASSERT_EQ(QXsetDistrRG(other, QX_DIST_EXPONENTIAL), 0);
  EXPECT_EQ(env->samples.size(), 2u);
  QXdisposeRG(&rgs[0]);
  EXPECT_EQ(env->samples.size(), 1u);
}

TEST_F(RgFixture, EnvironmentDeletedBeforeTheGenerator) {
  ASSERT_EQ(QXsetDistrRG(rg, QX_DIST_NORMAL), 0);
  ASSERT_EQ(QXdeleteEnv(&env), 0);  // frees the attached sampler
  EXPECT_EQ(rg->distr, nullptr);
  QXdisposeRG(&rg);  // must not reach the deleted environment
  EXPECT_EQ(rg, nullptr);
  QXdisposeRG(&rg);  // disposed of already: nothing to do
  QXdisposeRG(nullptr);
}

TEST_F(RgFixture, DrawsFromTwoThreadsAreAtomic) {
  // Two threads share one generator; together they must consume exactly the
  // generator's sequence, each value once.
  QXrg rg = make(QX_RANDGEN_MERSENNE, 8);
  constexpr int kEach = 20000;
  std::vector<double> a(kEach), b(kEach);
  std::thread t1([&] { for (double& v : a) v = QXgetDoubleRV(rg); });
  std::thread t2([&] { for (double& v : b) v = QXgetDoubleRV(rg); });
  t1.join();
  t2.join();
  std::vector<double> all(a);
  all.insert(all.end(), b.begin(), b.end());
  std::sort(all.begin(), all.end());
  std::mt19937 ref(8);
  std::vector<double> expected(2 * kEach);
  for (double& v : expected) v = static_cast<double>(ref()) * kTwoM32;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(all, expected);
}

// ---- Buffered multi-stream form ------------------------------------------------

struct BufferedFixture : RgFixture {
  std::unique_ptr<QXrgRec> make(int kind, int threads, int bufferSize) {
    torva::stoc::SamplingParams params;
    params.numThreads = threads;
    params.rgBufferSize = bufferSize;
    return torva::stoc::createRGMT(env, kind, params);
  }
};

TEST_F(BufferedFixture, OnlyTheMersenneTwisterRunsInParallel) {
  EXPECT_EQ(make(QX_RANDGEN_LCG31, 4, 0), nullptr);
  EXPECT_EQ(make(QX_RANDGEN_SYSTEM, 2, 0), nullptr);
  auto rg = make(QX_RANDGEN_FREE, 4, 0);
  ASSERT_NE(rg, nullptr);
  int threads = 0, size = 0;
  ASSERT_EQ(QXgetRGNumThreads(rg.get(), &threads), 0);
  EXPECT_EQ(threads, 4);
  EXPECT_NE(QXgetRGBufferPtr(rg.get(), &size), nullptr);  // its size: the refill tests
}

// The reference content of refill `r` (0-based) for buffer `size`: stream i
// (seeded seed + i) writes its next share (plus the remainder for the last
// stream) at i * share.
std::vector<double> referenceBuffer(unsigned seed, int size, int refills) {
  const int streams = 4096, share = size / streams, extra = size % streams;
  std::vector<std::vector<double>> all(static_cast<std::size_t>(refills), std::vector<double>(size));
  for (int i = 0; i < streams; ++i) {
    std::mt19937 mt(seed + static_cast<unsigned>(i));
    const int count = share + (i == streams - 1 ? extra : 0);
    for (int r = 0; r < refills; ++r)
      for (int k = 0; k < count; ++k) all[r][i * share + k] = static_cast<double>(mt()) * kTwoM32;
  }
  std::vector<double> flat;
  for (auto& b : all) flat.insert(flat.end(), b.begin(), b.end());
  return flat;
}

TEST_F(BufferedFixture, BufferHoldsTheStreamsSequences) {
  // Whatever the thread count and size, draws walk through three refills.
  for (int threads : {2, 4})
    for (int bufferSize : {0, 5000}) {
      auto rg = make(QX_RANDGEN_MERSENNE, threads, bufferSize);
      ASSERT_NE(rg, nullptr);
      QXsetRGSeed(rg.get(), 777);
      EXPECT_EQ(QXgetInitSeed(rg.get()), 777u);
      const std::vector<double> expected = referenceBuffer(777, bufferSize == 0 ? 65536 : 5000, 3);
      for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(QXgetDoubleRV(rg.get()), expected[i]) << i;
    }
}

TEST_F(BufferedFixture, ExplicitRefill) {
  auto rg = make(QX_RANDGEN_MERSENNE, 2, 0);
  QXsetRGSeed(rg.get(), 31);
  ASSERT_EQ(QXfillRGBuffer(rg.get()), 0);
  int n = 0;
  const double* buffer = QXgetRGBufferPtr(rg.get(), &n);
  const std::vector<double> expected = referenceBuffer(31, 65536, 2);
  ASSERT_EQ(n, 65536);
  EXPECT_TRUE(std::equal(buffer, buffer + n, expected.begin()));
  // After an explicit refill the draws read that buffer from its start.
  EXPECT_EQ(QXgetDoubleRV(rg.get()), expected[0]);
  ASSERT_EQ(QXfillRGBuffer(rg.get()), 0);
  EXPECT_EQ(QXgetDoubleRV(rg.get()), expected[65536]);
  // Unseeded buffered generators start every stream from 5489 + i.
  auto fresh = make(QX_RANDGEN_MERSENNE, 2, 0);
  const std::vector<double> unseeded = referenceBuffer(5489, 65536, 1);
  EXPECT_EQ(QXgetDoubleRV(fresh.get()), unseeded[0]);
  EXPECT_EQ(QXgetDoubleRV(fresh.get()), unseeded[1]);
}

}  // namespace
