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
#include "simplex/simplex.hpp"
#include "torva.h"

namespace {

using namespace torva::simplex;

struct Run {
  double iterations = 0, seconds = 0, objective = 0;
  int outcome = 0;
};

struct PeerRun {
  long iterations = -1;
  double seconds = -1;
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

// Runs clp on the (decompressed) file and reads "... - N iterations" and the
// wall time it prints.
PeerRun runClp(const std::string& file, const char* method) {
  const std::string cmd = "clp " + file + " " + method + " 2>&1";
  PeerRun out;
  const auto t0 = std::chrono::steady_clock::now();
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char line[4096];
  while (std::fgets(line, sizeof line, p)) {
    std::string s(line);
    const auto k = s.find(" iterations");
    if (s.find("objective") != std::string::npos && k != std::string::npos) {
      const auto dash = s.rfind("- ", k);
      if (dash != std::string::npos) out.iterations = std::atol(s.c_str() + dash + 2);
    }
  }
  pclose(p);
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10;
  const std::string dir = std::string(TORVA_SHARED_DATA) + "/netlib";
  std::ifstream tsv(dir + "/objectives.tsv");
  std::vector<std::pair<int, std::string>> sized;
  std::string line;
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  while (std::getline(tsv, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::string name;
    ls >> name;
    QXmodel m = QXcreateModel(env, &err);
    const std::string path = dir + "/" + name + ".mps.gz";
    if (QXreadMPSFile(m, path.c_str(), 0) == 0 || (QXdeleteModel(&m), m = QXcreateModel(env, &err),
                                                   QXreadMPSFile(m, path.c_str(), 1) == 0))
      sized.push_back({m->data.nnz, name});
    QXdeleteModel(&m);
  }
  std::sort(sized.rbegin(), sized.rend());
  if (static_cast<int>(sized.size()) > count) sized.resize(count);
  std::printf("| model | nnz | dual iters | dual s | clp dual iters | clp dual s | ratio | primal iters | primal s | "
              "clp primal iters | clp primal s | ratio |\n|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const auto& [nnz, name] : sized) {
    const std::string gz = dir + "/" + name + ".mps.gz";
    const std::string plain = "/tmp/bench_simplex_" + name + ".mps";
    std::system(("zcat " + gz + " > " + plain).c_str());
    QXmodel m = QXcreateModel(env, &err);
    if (QXreadMPSFile(m, gz.c_str(), 0) != 0) {
      QXdeleteModel(&m);
      m = QXcreateModel(env, &err);
      QXreadMPSFile(m, gz.c_str(), 1);
    }
    const Run d = runOurs(m->data, Method::Dual);
    const PeerRun cd = runClp(plain, "-dualsimplex");
    const Run p = runOurs(m->data, Method::Primal);
    const PeerRun cp = runClp(plain, "-primalsimplex");
    std::printf("| %s | %d | %.0f | %.2f | %ld | %.2f | %.1f | %.0f | %.2f | %ld | %.2f | %.1f |\n", name.c_str(), nnz,
                d.iterations, d.seconds, cd.iterations, cd.seconds, d.seconds / cd.seconds, p.iterations, p.seconds,
                cp.iterations, cp.seconds, p.seconds / cp.seconds);
    std::fflush(stdout);
    std::remove(plain.c_str());
    QXdeleteModel(&m);
  }
  QXdeleteEnv(&env);
  return 0;
}
