// Draws per second of every generator kind, and of the buffered Mersenne
// Twister refilled on two threads, as ratios to std::mt19937 with
// std::uniform_real_distribution measured in the same run.
#include <omp.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

#include "base/env.hpp"
#include "stoc/rng.hpp"
#include "torva.h"

namespace {

constexpr long kDraws = 10'000'000;  // per measurement
constexpr int kRepeats = 3;          // best of

volatile double sink = 0;

template <class Draw>
double drawsPerSecond(Draw draw) {
  double best = 0;
  for (int r = 0; r < kRepeats; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    double s = 0;
    for (long i = 0; i < kDraws; ++i) s += draw();
    const auto t1 = std::chrono::steady_clock::now();
    sink = sink + s;
    const double rate = static_cast<double>(kDraws) / std::chrono::duration<double>(t1 - t0).count();
    if (rate > best) best = rate;
  }
  return best;
}

}  // namespace

int main() {
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  if (!env) return 1;

  std::mt19937 peer(12345);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double peerRate = drawsPerSecond([&] { return unit(peer); });
  std::printf("peer std::mt19937 + uniform_real_distribution: %.1f M draws/s\n", peerRate / 1e6);
  std::printf("%-34s %12s %10s\n", "generator", "M draws/s", "vs peer");

  const char* names[] = {"0 SYSTEM (15-bit LCG)", "1 MRG32K3A", "2 LCG31", "3 SHUFFLE",
                         "4 SUBTRACTIVE", "5 LAGFIB", "6 MERSENNE"};
  for (int kind = QX_RANDGEN_SYSTEM; kind <= QX_RANDGEN_MERSENNE; ++kind) {
    QXrg rg = QXcreateRG(env, kind);
    QXsetRGSeed(rg, 12345);
    const double rate = drawsPerSecond([&] { return QXgetDoubleRV(rg); });
    std::printf("%-34s %12.1f %10.2f\n", names[kind], rate / 1e6, rate / peerRate);
    QXdisposeRG(&rg);
  }

  torva::stoc::SamplingParams params;
  params.numThreads = 2;
  std::unique_ptr<QXrgRec> buffered = torva::stoc::createRGMT(env, QX_RANDGEN_MERSENNE, params);
  QXsetRGSeed(buffered.get(), 12345);
  const double bufRate = drawsPerSecond([&] { return QXgetDoubleRV(buffered.get()); });
  std::printf("%-34s %12.1f %10.2f\n", "6 MERSENNE buffered, 2 threads", bufRate / 1e6, bufRate / peerRate);

  // Bulk use: refill on two threads and read the whole buffer directly.
  int size = 0;
  const double* buf = QXgetRGBufferPtr(buffered.get(), &size);
  long pos = size;
  const double bulkRate = drawsPerSecond([&] {
    if (pos == size) {
      QXfillRGBuffer(buffered.get());
      pos = 0;
    }
    return buf[pos++];
  });
  std::printf("%-34s %12.1f %10.2f\n", "  fill + read buffer, 2 threads", bulkRate / 1e6, bulkRate / peerRate);

  std::printf("(%ld draws per measurement, best of %d, %d processors)\n", kDraws, kRepeats, omp_get_num_procs());
  buffered.reset();
  QXdeleteEnv(&env);
  return 0;
}
