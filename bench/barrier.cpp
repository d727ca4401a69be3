// Barrier benchmark: the interior-point method with crossover (method 3) on
// larger Netlib models, next to `clp FILE -barrier` run on the same files in
// the same run. The interior-point time is measured apart by a second solve
// without crossover; crossover time is the difference.
//
//   bench_barrier [model ...]   (default: ten of the larger Netlib models)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "bench/peer.hpp"
#include "torva.h"

namespace {

struct Run {
  int status = 0, barIters = 0, simplexIters = 0;
  double seconds = 0, objective = 0;
};

Run runOurs(QXenv env, const std::string& path, int ipmSol) {
  QXmodel m = bench::readModel(env, path);
  if (!m) return Run{};
  QXsetModelIntParameter(m, QX_IPARAM_SOLVER_IPMSOL, ipmSol);
  Run out;
  const auto t0 = std::chrono::steady_clock::now();
  QXoptimize(m, QX_METHOD_BARRIER, &out.status);
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  QXgetInfo(m, QX_IINFO_BAR_ITER, &out.barIters);
  QXgetInfo(m, QX_IINFO_SIM_ITER, &out.simplexIters);
  QXgetInfo(m, QX_DINFO_POBJ, &out.objective);
  QXdeleteModel(&m);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> names(argv + 1, argv + argc);
  if (names.empty())
    names = {"25fv47", "80bau3b", "d2q06c", "degen3", "fit2p", "greenbea", "maros-r7", "pilotnov", "ship12s", "sierra"};
  const std::string dir = bench::netlibDir();
  const std::vector<std::pair<std::string, double>> reference = bench::netlibReference();
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  std::vector<std::pair<int, std::string>> sized;
  for (const std::string& name : names) {
    QXmodel m = bench::readModel(env, dir + "/" + name + ".mps.gz");
    if (m) sized.push_back({m->data.nnz, name});
    QXdeleteModel(&m);
  }
  std::printf("| model | nnz | status | rel. obj error | barrier iters | simplex iters | total s | barrier s | "
              "crossover s | clp iters | clp s | ratio |\n|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const auto& [nnz, name] : sized) {
    const std::string gz = dir + "/" + name + ".mps.gz";
    const bench::Unpacked plain(gz, "barrier_" + name);
    const Run full = runOurs(env, gz, 0);
    const Run interior = runOurs(env, gz, 1);
    const bench::PeerRun clp = bench::runClp(plain.path(), "-barrier");
    double ref = 0;
    for (const auto& [n, o] : reference)
      if (n == name) ref = o;
    const double relErr = std::abs(full.objective - ref) / std::max(1.0, std::abs(ref));
    // Without an interior optimum the second solve ran crossover too: no split.
    const bool split = interior.status == QX_STATUS_OPTIMAL;
    std::printf("| %s | %d | %d | %.1e | %d | %d | %.2f | %s | %s | %ld | %.2f | %.1f |\n", name.c_str(), nnz,
                full.status, relErr, full.barIters, full.simplexIters, full.seconds,
                split ? std::to_string(interior.seconds).substr(0, 5).c_str() : "-",
                split ? std::to_string(std::max(0.0, full.seconds - interior.seconds)).substr(0, 5).c_str() : "-",
                clp.iterations, clp.seconds, full.seconds / clp.seconds);
    std::fflush(stdout);
  }
  QXdeleteEnv(&env);
  return 0;
}
