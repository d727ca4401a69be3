// Random number generators: seven uniform generator kinds behind one record,
// and the buffered multi-stream Mersenne Twister for parallel sampling.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "torva.h"

namespace torva::stoc {

// Defaults of the two sampling parameters the generators read. They stand in
// for QX_IPARAM_SAMP_NUM_THREADS (7708) and QX_IPARAM_SAMP_RG_BUFFER_SIZE
// (7709) until those are read from the environment's parameter set.
inline constexpr int kDefaultSampNumThreads = 0;
inline constexpr int kDefaultSampRgBufferSize = 0;
// A buffer-size parameter of 0 means this many doubles.
inline constexpr int kDefaultBufferSize = 65536;
// The buffered form always runs at least this many independent streams, so
// that its sequence does not depend on the number of threads used to refill.
inline constexpr int kMinStreams = 4096;
// Seed of a Mersenne Twister used before any seed was applied.
inline constexpr std::uint32_t kMtDefaultSeed = 5489u;

// The sampling parameters as the generators need them.
struct SamplingParams {
  int numThreads = kDefaultSampNumThreads;
  int rgBufferSize = kDefaultSampRgBufferSize;
};
// Reads the sampling parameters of env; returns an error code.
int readSamplingParams(const QXenvRec& env, SamplingParams& out);

// One uniform generator algorithm: its draw and its seed operation.
class Engine {
 public:
  virtual ~Engine() = default;
  virtual double next() = 0;
  virtual void seed(std::uint32_t seed) = 0;
};

// MT19937 with the standard initialisation and tempering.
class Mt19937 {
 public:
  static constexpr int kN = 624;
  static constexpr int kM = 397;
  void seed(std::uint32_t s);
  // Marks the state unseeded: the next draw seeds with kMtDefaultSeed.
  void reset() { pos_ = kN + 1; }
  std::uint32_t nextU32();

 private:
  void regenerate();
  std::array<std::uint32_t, kN> mt_{};
  int pos_ = kN + 1;
};

std::unique_ptr<Engine> makeEngine(int kind);

// Buffered multi-stream Mersenne Twister: streams[s] fills its share of the
// buffer at every refill; the refill runs on numThreads OpenMP threads.
class BufferedMt {
 public:
  BufferedMt(int numThreads, int bufferSize);
  void seed(std::uint32_t seed);
  void refill();
  double next() {
    if (pos_ == buffer_.size()) refill();
    return buffer_[pos_++];
  }
  double* data() { return buffer_.data(); }
  int size() const { return static_cast<int>(buffer_.size()); }
  int streamCount() const { return static_cast<int>(streams_.size()); }
  int share() const { return share_; }
  int remainder() const { return remainder_; }

 private:
  int numThreads_;
  int share_ = 0;      // doubles written by each stream per refill
  int remainder_ = 0;  // doubles written by the last stream in addition
  bool seeded_ = false;
  std::vector<Mt19937> streams_;
  std::vector<double> buffer_;
  std::size_t pos_ = 0;
};

}  // namespace torva::stoc

struct QXrgRec {
  int kind = QX_RANDGEN_MERSENNE;
  QXenvRec* env = nullptr;
  int numThreads = 1;
  std::uint32_t initSeed = 0;
  std::unique_ptr<torva::stoc::Engine> engine;          // single-stream kinds
  std::unique_ptr<torva::stoc::BufferedMt> buffered;    // parallel kind 6
  QXsampleRec* distr = nullptr;  // attached sampler, owned through env's list

  // The next uniform double (inside the process-wide critical section for the
  // single-stream kinds 1..6).
  double nextDouble();
  int nextInt(int lo, int hi);
  void seed(std::uint32_t seed);
};

namespace torva::stoc {
// Creation as the exported functions do it, with the sampling parameters
// given; null when the arguments are refused.
std::unique_ptr<QXrgRec> createRG(QXenvRec* env, int kind);
std::unique_ptr<QXrgRec> createRGMT(QXenvRec* env, int kind, const SamplingParams& params);
}  // namespace torva::stoc
