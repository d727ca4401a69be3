// Node throughput of the branch and bound: MIPLIB 3 models of the shared
// data solved with a fixed branch limit (so that runs of different builds
// explore trees of about the same shape), reporting relaxations solved,
// simplex iterations per relaxation and relaxations per second.
//
//   bench_mip_nodes [-b BRANCHES] [-t SECONDS] MODEL ...
//
// The models are names of ../shared/data/miplib3 (misc07, p0201, ...). A run
// that closes its tree before the limit also prints the objective and
// whether it agrees with objectives.tsv.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/peer.hpp"
#include "torva.h"

namespace {

std::string miplibDir() { return std::string(TORVA_SHARED_DATA) + "/miplib3"; }

// The reference optimum of a model (column 5 of objectives.tsv), NaN if none.
double referenceOf(const std::string& name) {
  std::ifstream tsv(miplibDir() + "/objectives.tsv");
  std::string line;
  while (std::getline(tsv, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::string f[5];
    for (auto& s : f) ls >> s;
    if (f[0] == name) return std::strtod(f[4].c_str(), nullptr);
  }
  return std::nan("");
}

}  // namespace

int main(int argc, char** argv) {
  int branches = 2000;
  double seconds = 120.0;
  int first = 1;
  for (; first + 1 < argc && argv[first][0] == '-'; first += 2) {
    if (!std::strcmp(argv[first], "-b")) branches = std::atoi(argv[first + 1]);
    else if (!std::strcmp(argv[first], "-t")) seconds = std::atof(argv[first + 1]);
    else break;
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: %s [-b BRANCHES] [-t SECONDS] MODEL ...\n", argv[0]);
    return 2;
  }
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  if (!env) return 1;
  std::printf("%-10s %7s %8s %9s %8s %8s %8s %9s  %s\n", "model", "status", "LPs", "iters", "it/LP", "seconds",
              "LP/s", "opt s", "objective");
  for (int a = first; a < argc; ++a) {
    const std::string name = argv[a];
    const std::string path = miplibDir() + "/" + name + ".mps.gz";
    QXmodel m = bench::readModel(env, path);
    if (!m) {
      std::printf("%-10s no file %s\n", name.c_str(), path.c_str());
      continue;
    }
    QXsetModelIntParameter(m, QX_IPARAM_MIP_BRANCH_LIMIT, branches);
    QXsetModelDouParameter(m, QX_DPARAM_MIP_TIMLIM, seconds);
    int status = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = QXsolveMIP(m, &status);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    int lps = 0, iters = 0;
    double obj = 0.0, optTime = 0.0;
    QXgetInfo(m, QX_IINFO_MIP_LPCOUNT, &lps);
    QXgetInfo(m, QX_IINFO_MIP_SIM_ITER, &iters);
    QXgetInfo(m, QX_DINFO_MIP_OBJ, &obj);
    QXgetInfo(m, QX_DINFO_MIP_OPT_TIME, &optTime);
    const double ref = referenceOf(name);
    const char* agree = "";
    if (rc == 0 && !std::isnan(ref))
      agree = std::fabs(obj - ref) <= 1e-6 * std::max(1.0, std::fabs(ref)) ? " (matches)" : " (DIFFERS)";
    std::printf("%-10s %7d %8d %9d %8.1f %8.2f %8.0f %9.2f  %.8g%s\n", name.c_str(), rc ? rc : status, lps, iters,
                lps ? static_cast<double>(iters) / lps : 0.0, wall, wall > 0 ? lps / wall : 0.0, optTime, obj,
                agree);
    std::fflush(stdout);
    QXdeleteModel(&m);
  }
  QXdeleteEnv(&env);
  return 0;
}
