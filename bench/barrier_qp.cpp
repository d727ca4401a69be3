// Convex QP benchmark: Netlib models given the separable quadratic objective
// c'x + 1/2 delta ||x||^2 (delta = 1e-4), solved by the interior-point method
// (QXoptimize, method 3) and by `clp FILE -barrier` on the same model written
// with a QUADOBJ section, in the same run: status, objectives, iterations,
// times and the time ratio.
//
//   bench_barrier_qp [model ...]   (default: twelve Netlib models)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/peer.hpp"
#include "torva.h"

namespace {

// Weight of the quadratic term: small enough to keep the LP's structure,
// large enough to make the objective strictly convex.
constexpr double kDelta = 1e-4;

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> names(argv + 1, argv + argc);
  if (names.empty())
    names = {"afiro", "sc205", "israel", "bandm", "scfxm2", "25fv47", "degen3", "greenbea",
             "80bau3b", "d2q06c", "fit2p", "pilot"};
  const std::string dir = std::string(TORVA_SHARED_DATA) + "/netlib";
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  std::printf("| model | n | status | barrier iters | s | clp iters | clp s | rel. obj diff | ratio |\n"
              "|---|---|---|---|---|---|---|---|---|\n");
  for (const std::string& name : names) {
    const std::string gz = dir + "/" + name + ".mps.gz";
    QXmodel m = bench::readModel(env, gz);
    if (!m) {
      std::printf("| %s | not read |\n", name.c_str());
      continue;
    }
    int n = 0;
    QXgetInfo(m, QX_IINFO_NUM_VARS, &n);
    std::vector<int> rows(n, -1), cols(n);
    std::vector<double> q(n, kDelta);
    for (int j = 0; j < n; ++j) cols[j] = j;
    QXloadQCData(m, n, rows.data(), cols.data(), cols.data(), q.data());
    // The peer's file: the original text with a QUADOBJ section.
    const std::string plain = "/tmp/bench_barrier_qp_" + name + ".mps";
    std::system(("zcat " + gz + " | grep -v '^ENDATA' > " + plain).c_str());
    {
      std::ofstream f(plain, std::ios::app);
      f << "QUADOBJ\n";
      // Fixed-format columns (Netlib files are fixed format): names in 5-12
      // and 15-22, the value from 25.
      char buf[256], out[512];
      for (int j = 0; j < n; ++j)
        if (QXgetVariableNamej(m, j, buf) == 0) {
          std::snprintf(out, sizeof out, "    %-8s  %-8s  %g\n", buf, buf, kDelta);
          f << out;
        }
      f << "ENDATA\n";
    }
    int status = 0, iters = 0;
    double obj = NAN;
    const auto t0 = std::chrono::steady_clock::now();
    QXoptimize(m, QX_METHOD_BARRIER, &status);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    QXgetInfo(m, QX_IINFO_BAR_ITER, &iters);
    QXgetInfo(m, QX_DINFO_POBJ, &obj);
    const bench::PeerRun clp = bench::runClp(plain, "-barrier");
    const double diff = std::fabs(obj - clp.objective) / std::max(1.0, std::fabs(clp.objective));
    std::printf("| %s | %d | %d | %d | %.2f | %ld | %.2f | %.1e | %.2f |\n", name.c_str(), n, status, iters, seconds,
                clp.iterations, clp.seconds, diff, seconds / clp.seconds);
    std::fflush(stdout);
    std::remove(plain.c_str());
    QXdeleteModel(&m);
  }
  QXdeleteEnv(&env);
  return 0;
}
