// Simplex benchmark: iterations and time of the dual and the primal simplex
// on the ten largest Netlib models (by nonzeros), next to CLP's dual and
// primal simplex run on the same files in the same run.
//
//   bench_simplex [count]      (default 10 models)
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
#include "simplex/simplex.hpp"
#include "torva.h"

namespace {

using namespace torva::simplex;

struct Run {
  double iterations = 0, seconds = 0, objective = 0;
  int outcome = 0;
};

Run runOurs(const torva::ModelData& data, Method method) {
  SimplexWork work(data);
  SolveContext ctx;
  SimplexResult r;
  const auto t0 = std::chrono::steady_clock::now();
  work.solve(data, method, StartBasis::Crash, SimplexOptions{}, ctx, r);
  Run out;
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  out.iterations = r.iterations;
  out.objective = r.objective;
  out.outcome = r.outcome;
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10;
  const std::string dir = bench::netlibDir();
  std::vector<std::pair<int, std::string>> sized;
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  for (const auto& [name, objective] : bench::netlibReference()) {
    QXmodel m = bench::readModel(env, dir + "/" + name + ".mps.gz");
    if (m) sized.push_back({m->data.nnz, name});
    QXdeleteModel(&m);
  }
  std::sort(sized.rbegin(), sized.rend());
  if (static_cast<int>(sized.size()) > count) sized.resize(count);
  std::printf("| model | nnz | dual iters | dual s | clp dual iters | clp dual s | ratio | primal iters | primal s | "
              "clp primal iters | clp primal s | ratio |\n|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const auto& [nnz, name] : sized) {
    const std::string gz = dir + "/" + name + ".mps.gz";
    const bench::Unpacked plain(gz, "simplex_" + name);
    QXmodel m = bench::readModel(env, gz);
    if (!m) continue;
    const Run d = runOurs(m->data, Method::Dual);
    const bench::PeerRun cd = bench::runClp(plain.path(), "-dualsimplex");
    const Run p = runOurs(m->data, Method::Primal);
    const bench::PeerRun cp = bench::runClp(plain.path(), "-primalsimplex");
    std::printf("| %s | %d | %.0f | %.2f | %ld | %.2f | %.1f | %.0f | %.2f | %ld | %.2f | %.1f |\n", name.c_str(), nnz,
                d.iterations, d.seconds, cd.iterations, cd.seconds, d.seconds / cd.seconds, p.iterations, p.seconds,
                cp.iterations, cp.seconds, p.seconds / cp.seconds);
    std::fflush(stdout);
    QXdeleteModel(&m);
  }
  QXdeleteEnv(&env);
  return 0;
}
