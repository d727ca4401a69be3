// The seven uniform generator kinds, the buffered Mersenne Twister and the
// generator record that dispatches to them.
#include "stoc/rng.hpp"

#include "base/env.hpp"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace torva::stoc {
namespace {

// Draws of the single-stream kinds 1..6 of every generator in the process are
// serialised here, so one generator may be shared between threads.
std::mutex& drawLock() {
  static std::mutex lock;
  return lock;
}

// ---- Kind 0: the runtime's 15-bit linear congruential generator ----------
// One state per thread, shared by every kind-0 generator used on it; the
// runtime starts it at 1.
thread_local std::uint32_t systemLcgState = 1u;

class SystemLcg final : public Engine {
 public:
  static constexpr std::uint32_t kMultiplier = 214013u;
  static constexpr std::uint32_t kIncrement = 2531011u;
  static constexpr double kMax = 32767.0;
  double next() override {
    systemLcgState = systemLcgState * kMultiplier + kIncrement;
    return static_cast<double>((systemLcgState >> 16) & 0x7FFFu) / kMax;
  }
  void seed(std::uint32_t s) override { systemLcgState = s; }
};

// ---- Kind 1: MRG32k3a ----------------------------------------------------
// The two order-3 recurrences of L'Ecuyer (1999) kept in six registers that
// are rotated by a phase instead of shifted. Every product is split into two
// factors, each followed by a floating remainder, so that all intermediate
// values stay below 2^53 and are exact.
class Mrg32k3a final : public Engine {
 public:
  static constexpr double kM1 = 4294967087.0;
  static constexpr double kM2 = 4294944443.0;

  double next() override {
    // Registers (a, b) of the first component and (c, d) of the second, and
    // the two registers written, per phase.
    static constexpr int kA[3] = {2, 0, 4}, kB[3] = {4, 2, 0};
    static constexpr int kC[3] = {1, 5, 3}, kD[3] = {5, 3, 1};
    const int p = phase_;
    const double x1 = mod<1>(times<1>(s_[kA[p]], 2235.0, 628.0) - times<1>(s_[kB[p]], 101341.0, 8.0));
    const double x2 = mod<2>(times<2>(s_[kC[p]], 7759.0, 68.0) - times<2>(s_[kD[p]], 1013.0, 1353.0));
    s_[kB[p]] = x1;
    s_[kD[p]] = x2;
    phase_ = (p + 1) % 3;
    double z = x1 - x2;
    if (z <= 0) z += kM1;
    return z / kM1;
  }

  void seed(std::uint32_t u) override {
    const double two26 = std::ldexp(1.0, 26), two15 = std::ldexp(1.0, 15);
    const double twoM15 = std::ldexp(1.0, -15), two30 = std::ldexp(1.0, 30);
    s_[0] = 2;
    double v = u;
    double t = 1;
    if (v > two26) {
      v *= std::ldexp(1.0, -26);
      t = 26;
    }
    s_[1] = v > 32768.0 ? t + 15 : t;
    v *= twoM15;
    if (v < twoM15) {
      v *= two15;
      s_[2] = 15;
    } else {
      s_[2] = 1;
    }
    const double f = v - std::floor(v);
    s_[3] = (v > 0 && v < two30) ? std::trunc(v) : 1;
    const double k = std::trunc(f * two30);
    s_[4] = k >= 1 ? k : 1;
    s_[5] = k < 64 ? 6 : 1;
    phase_ = 0;
  }

 private:
  // x mod m in [0, m) for an integer-valued |x| < 2^53: the quotient, taken
  // with the rounded reciprocal, may be one too many or too few, which the last two steps repair; every
  // operation is exact, so this equals the floating remainder made
  // non-negative (and is much cheaper than std::fmod).
  template <int Component>
  static double mod(double x) {
    constexpr double m = Component == 1 ? kM1 : kM2;
    constexpr double inv = 1.0 / m;
    // Truncation (a single conversion instruction) instead of floor: for
    // negative x it gives a quotient one too large at most, repaired below.
    double r = x - static_cast<double>(static_cast<std::int64_t>(x * inv)) * m;
    if (r < 0) r += m;
    if (r >= m) r -= m;
    return r;
  }
  template <int Component>
  static double times(double x, double f1, double f2) {
    return mod<Component>(mod<Component>(x * f1) * f2);
  }
  double s_[6] = {0, 0, 0, 0, 0, 0};
  int phase_ = 0;
};

// Schrage's multiplication a*x mod m without overflow for x < m.
inline std::int64_t schrage(std::int64_t x, std::int64_t a, std::int64_t q, std::int64_t r,
                            std::int64_t m) {
  const std::int64_t k = x / q;
  x = a * (x - k * q) - k * r;
  if (x < 0) x += m;
  return x;
}

// ---- Kind 2: multiplicative congruential generator modulo 2^31-1 ----------
class Lcg31 final : public Engine {
 public:
  static constexpr std::int64_t kM = 2147483647;
  static constexpr double kScale = 4.656612875e-10;
  double next() override {
    // 742938285 = 21309 * 34865, applied as two Schrage steps.
    x_ = schrage(x_, 21309, 100778, 5245, kM);
    x_ = schrage(x_, 34865, 61594, 8837, kM);
    return static_cast<double>(x_) * kScale;
  }
  void seed(std::uint32_t s) override {
    x_ = s >= 2147483648u ? static_cast<std::int64_t>(s) - kM : static_cast<std::int64_t>(s);
  }

 private:
  std::int64_t x_ = 0;
};

// Absolute value of a seed read as a signed 32-bit number.
inline std::int64_t absSeed(std::uint32_t s) {
  return std::llabs(static_cast<std::int64_t>(static_cast<std::int32_t>(s)));
}

// ---- Kind 3: two combined generators with a Bays-Durham shuffle ----------
class Shuffle final : public Engine {
 public:
  static constexpr std::int64_t kM1 = 2147483563, kA1 = 40014, kQ1 = 53668, kR1 = 12211;
  static constexpr std::int64_t kM2 = 2147483399, kA2 = 40692, kQ2 = 52774, kR2 = 3791;
  static constexpr int kTable = 32;
  static constexpr int kWarmup = 8;  // iterations before the table is stored
  static constexpr std::int64_t kDiv = 1 + (kM1 - 1) / kTable;  // 67108862
  static constexpr double kScale = 4.656613057391769e-10;        // ~1/kM1
  static constexpr double kCap = 0.99999988;

  double next() override {
    x1_ = schrage(x1_, kA1, kQ1, kR1, kM1);
    x2_ = schrage(x2_, kA2, kQ2, kR2, kM2);
    const std::int64_t j = y_ / kDiv;
    y_ = t_[j] - x2_;
    t_[j] = x1_;
    if (y_ < 1) y_ += kM1 - 1;
    return std::min(static_cast<double>(y_) * kScale, kCap);
  }
  void seed(std::uint32_t s) override {
    x1_ = absSeed(s);
    if (x1_ == 0) x1_ = 1;
    x2_ = x1_;
    for (int j = kTable + kWarmup - 1; j >= 0; --j) {
      x1_ = schrage(x1_, kA1, kQ1, kR1, kM1);
      if (j < kTable) t_[j] = x1_;
    }
    y_ = t_[0];
  }

 private:
  std::int64_t x1_ = 0, x2_ = 123456789, y_ = 0;
  std::int64_t t_[kTable] = {};
};

// ---- Kind 4: Knuth's subtractive generator modulo 10^9 -------------------
class Subtractive final : public Engine {
 public:
  static constexpr std::int64_t kBig = 1000000000;
  static constexpr std::int64_t kSeed = 161803398;
  static constexpr double kScale = 1e-9;
  double next() override {
    if (++c1_ == 56) c1_ = 1;
    if (++c2_ == 56) c2_ = 1;
    std::int64_t v = m_[c1_] - m_[c2_];
    if (v < 0) v += kBig;
    m_[c1_] = v;
    return static_cast<double>(v) * kScale;
  }
  void seed(std::uint32_t s) override {
    std::int64_t mj = std::llabs((kSeed - absSeed(s)) % kBig);
    m_[55] = mj;
    std::int64_t mk = 1;
    for (int i = 1; i <= 54; ++i) {
      const int ii = (21 * i) % 55;
      m_[ii] = mk;
      mk = mj - mk;
      if (mk < 0) mk += kBig;
      mj = m_[ii];
    }
    for (int pass = 0; pass < 4; ++pass) {
      for (int i = 1; i <= 55; ++i) {
        m_[i] -= m_[1 + (i + 30) % 55];
        if (m_[i] < 0) m_[i] += kBig;
      }
    }
    c1_ = 0;
    c2_ = 31;
  }

 private:
  std::int64_t m_[56] = {};
  int c1_ = 0, c2_ = 0;
};

// ---- Kind 5: subtractive lagged Fibonacci generator on doubles -----------
// x[n] = x[n-55] - x[n-24] mod 1. Table values are kept on the grid of
// multiples of 2^-52, where every difference and every wrap is exact, so the
// table never leaves [0, 1).
class LagFib final : public Engine {
 public:
  static constexpr int kLong = 55, kShort = 24;
  static constexpr int kRenewalsAtSeed = 4;
  static constexpr double kStart = 1e-9;  // start of the seeding recurrence

  double next() override {
    if (++pos_ == kLong) {
      renew();
      pos_ = 1;
    }
    return q_[pos_];
  }
  void seed(std::uint32_t s) override {
    double mj = onGrid(std::fmod(static_cast<double>(s) / 2147483647.0, 1.0));
    double mk = onGrid(kStart);
    // Index 0 plays the part of the 55th entry: the loop below fills every
    // other index (21 is prime to 55), so the whole table is set from the
    // seed alone and reseeding restarts the sequence.
    q_[0] = mj;
    for (int i = 1; i < kLong; ++i) {
      const int ii = (21 * i) % kLong;
      q_[ii] = mk;
      mk = wrap(mj - mk);
      mj = q_[ii];
    }
    for (int r = 0; r < kRenewalsAtSeed; ++r) renew();
    pos_ = 0;
  }

 private:
  static double wrap(double d) { return d < 0 ? d + 1.0 : d; }
  static double onGrid(double x) {
    const double g = std::ldexp(1.0, 52);
    return std::floor(x * g) / g;
  }
  void renew() {
    for (int j = 0; j < kShort; ++j) q_[j] = wrap(q_[j] - q_[j + kLong - kShort]);
    for (int j = kShort; j < kLong; ++j) q_[j] = wrap(q_[j] - q_[j - kShort]);
  }
  double q_[kLong] = {};
  int pos_ = 0;
};

// ---- Kind 6: MT19937 -----------------------------------------------------
class Mersenne final : public Engine {
 public:
  double next() override { return static_cast<double>(mt_.nextU32()) * kTwoM32; }
  void seed(std::uint32_t s) override { mt_.seed(s); }
  static constexpr double kTwoM32 = 2.3283064365386963e-10;

 private:
  Mt19937 mt_;
};

}  // namespace

void Mt19937::seed(std::uint32_t s) {
  mt_[0] = s;
  for (int i = 1; i < kN; ++i)
    mt_[i] = 1812433253u * (mt_[i - 1] ^ (mt_[i - 1] >> 30)) + static_cast<std::uint32_t>(i);
  pos_ = kN;
}

void Mt19937::regenerate() {
  constexpr std::uint32_t kUpper = 0x80000000u, kLower = 0x7FFFFFFFu, kMatrixA = 0x9908B0DFu;
  for (int i = 0; i < kN; ++i) {
    const std::uint32_t y = (mt_[i] & kUpper) | (mt_[(i + 1) % kN] & kLower);
    mt_[i] = mt_[(i + kM) % kN] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
  }
  pos_ = 0;
}

std::uint32_t Mt19937::nextU32() {
  if (pos_ >= kN) {
    if (pos_ > kN) seed(kMtDefaultSeed);
    regenerate();
  }
  std::uint32_t y = mt_[pos_++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}

std::unique_ptr<Engine> makeEngine(int kind) {
  switch (kind) {
    case QX_RANDGEN_SYSTEM: return std::make_unique<SystemLcg>();
    case QX_RANDGEN_MRG32K3A: return std::make_unique<Mrg32k3a>();
    case QX_RANDGEN_LCG31: return std::make_unique<Lcg31>();
    case QX_RANDGEN_SHUFFLE: return std::make_unique<Shuffle>();
    case QX_RANDGEN_SUBTRACTIVE: return std::make_unique<Subtractive>();
    case QX_RANDGEN_LAGFIB: return std::make_unique<LagFib>();
    case QX_RANDGEN_MERSENNE: return std::make_unique<Mersenne>();
    default: return nullptr;
  }
}

BufferedMt::BufferedMt(int numThreads, int bufferSize) : numThreads_(std::max(1, numThreads)) {
  const int streams = std::max(numThreads_, kMinStreams);
  int size = bufferSize <= 0 ? kDefaultBufferSize : bufferSize;
  size = std::max(size, streams);
  share_ = size / streams;
  remainder_ = size % streams;
  streams_.resize(static_cast<std::size_t>(streams));
  buffer_.assign(static_cast<std::size_t>(size), 0.0);
  pos_ = buffer_.size();
}

void BufferedMt::seed(std::uint32_t s) {
  const int n = streamCount();
#pragma omp parallel for num_threads(numThreads_) schedule(static)
  for (int i = 0; i < n; ++i) streams_[static_cast<std::size_t>(i)].seed(s + static_cast<std::uint32_t>(i));
  seeded_ = true;
  pos_ = buffer_.size();
}

void BufferedMt::refill() {
  if (!seeded_) seed(kMtDefaultSeed);
  const int n = streamCount();
  const int share = share_, extra = remainder_;
  double* out = buffer_.data();
#pragma omp parallel for num_threads(numThreads_) schedule(static)
  for (int i = 0; i < n; ++i) {
    Mt19937& mt = streams_[static_cast<std::size_t>(i)];
    double* dst = out + static_cast<std::size_t>(i) * static_cast<std::size_t>(share);
    const int count = share + (i == n - 1 ? extra : 0);
    for (int k = 0; k < count; ++k) dst[k] = static_cast<double>(mt.nextU32()) * Mersenne::kTwoM32;
  }
  pos_ = 0;
}

int readSamplingParams(const QXenvRec& env, SamplingParams& out) {
  out.numThreads = env.params.intValue(QX_IPARAM_SAMP_NUM_THREADS);
  out.rgBufferSize = env.params.intValue(QX_IPARAM_SAMP_RG_BUFFER_SIZE);
  return 0;
}

std::unique_ptr<QXrgRec> createRG(QXenvRec* env, int kind) {
  if (!env) return nullptr;
  if (kind == QX_RANDGEN_FREE) kind = QX_RANDGEN_MERSENNE;
  auto rg = std::make_unique<QXrgRec>();
  SamplingParams params;
  if (readSamplingParams(*env, params)) return nullptr;
  rg->numThreads = 1;
  rg->engine = makeEngine(kind);
  if (!rg->engine) return nullptr;
  rg->kind = kind;
  rg->env = env;
  return rg;
}

std::unique_ptr<QXrgRec> createRGMT(QXenvRec* env, int kind, const SamplingParams& params) {
  if (kind == QX_RANDGEN_FREE) kind = QX_RANDGEN_MERSENNE;
  if (!env) return nullptr;
  const int threads = std::max(1, params.numThreads);
  if (threads > 1 && kind != QX_RANDGEN_MERSENNE) return nullptr;
  if (threads == 1) return createRG(env, kind);
  auto rg = std::make_unique<QXrgRec>();
  rg->buffered = std::make_unique<BufferedMt>(threads, params.rgBufferSize);
  rg->numThreads = threads;
  rg->kind = kind;
  rg->env = env;
  return rg;
}

}  // namespace torva::stoc

double QXrgRec::nextDouble() {
  if (buffered) return buffered->next();
  if (kind == QX_RANDGEN_SYSTEM) return engine->next();
  std::lock_guard<std::mutex> hold(torva::stoc::drawLock());
  return engine->next();
}

int QXrgRec::nextInt(int lo, int hi) {
  if (lo >= hi) return lo;
  const double u = nextDouble();
  const double span = static_cast<double>(hi) - static_cast<double>(lo) + 1.0;
  const double r = static_cast<double>(lo) + std::trunc(span * u);
  return r >= static_cast<double>(hi) ? hi : static_cast<int>(r);
}

void QXrgRec::seed(std::uint32_t s) {
  if (s == 0) s = static_cast<std::uint32_t>(std::llabs(static_cast<long long>(std::time(nullptr))));
  if (buffered) {
    buffered->seed(s);
  } else if (kind == QX_RANDGEN_SYSTEM) {
    engine->seed(s);
  } else {
    std::lock_guard<std::mutex> hold(torva::stoc::drawLock());
    engine->seed(s);
  }
  initSeed = s;
}
