// LP presolve benchmark: for every Netlib model, the size after our presolve
// next to the size after CLP's presolve of the same file (CLP prints it),
// our presolve time, and the total QXoptimize time with presolve on and off
// (CPU seconds).
//
//   bench_presolve [-s] [-r N] [model ...]  (default: every model of
//       objectives.tsv; -s: sizes only, no solves; -r: presolve time as the
//       best of N runs, default 3)
#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "simplex/presolve/lp_presolver.hpp"
#include "bench/peer.hpp"
#include "torva.h"

namespace {

int presolveRuns = 3;
// Times are CPU seconds of this process: the machine is shared, and wall
// times of a few milliseconds carry whole scheduler slices of other work.
double cpuNow() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}
double since(double t0) { return cpuNow() - t0; }

struct Size {
  long rows = -1, cols = -1, nnz = -1;
};

// Reads "Presolve R (-x) rows, C (-y) columns and E (-z) elements" from clp;
// a model that clp's presolve leaves alone prints no such line (full size).
Size clpReduced(const std::string& file, const Size& full) {
  const std::string cmd = "clp " + file + " -presolve on -dualsimplex 2>&1";
  Size out = full;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return Size{};
  char line[4096];
  while (std::fgets(line, sizeof line, p)) {
    long r, c, e, dr, dc, de;
    if (std::sscanf(line, "Presolve %ld (%ld) rows, %ld (%ld) columns and %ld (%ld) elements", &r, &dr, &c, &dc, &e,
                    &de) == 6)
      out = Size{r, c, e};
    if (std::strstr(line, "Presolve determined that the problem was infeasible")) out = Size{0, 0, 0};
  }
  pclose(p);
  return out;
}

// QXoptimize on a fresh copy of the file with the given presolve level.
double solveSeconds(QXenv env, const std::string& path, int level, double* obj) {
  QXmodel m = bench::readModel(env, path);
  if (!m) return -1;
  QXsetModelIntParameter(m, QX_IPARAM_LP_PRELEVEL, level);
  int status = 0;
  const double t0 = cpuNow();
  QXoptimize(m, 0, &status);
  const double s = since(t0);
  QXgetInfo(m, QX_DINFO_POBJ, obj);
  QXdeleteModel(&m);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = bench::netlibDir();
  std::vector<std::pair<std::string, double>> models;
  const bool sizesOnly = argc > 1 && std::strcmp(argv[1], "-s") == 0;
  int first = sizesOnly ? 2 : 1;
  if (argc > first + 1 && std::strcmp(argv[first], "-r") == 0) {
    presolveRuns = std::max(1, std::atoi(argv[first + 1]));
    first += 2;
  }
  for (const auto& [name, obj] : bench::netlibReference()) {
    bool wanted = argc <= first;
    for (int k = first; k < argc; ++k) wanted |= name == argv[k];
    if (wanted) models.push_back({name, obj});
  }
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  std::printf(
      "| model | rows | cols | nnz | ours rows | cols | nnz | clp rows | cols | nnz | presolve s | solve on s | "
      "solve off s | on/off | objective ok |\n|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  Size total{0, 0, 0}, ours{0, 0, 0}, clp{0, 0, 0};
  for (const auto& [name, ref] : models) {
    const std::string gz = dir + "/" + name + ".mps.gz";
    QXmodel m = bench::readModel(env, gz);
    if (!m) continue;
    const torva::ModelData& d = m->data;
    const Size full{d.m, d.n, d.nnz};
    // Presolve time: the best of presolveRuns runs (the machine is shared;
    // one run can be slowed several times over by other work).
    auto pre = torva::makeLpPresolver();
    torva::ModelData reduced;
    auto verdict = torva::LpPresolver::Verdict::Unchanged;
    double preSec = 1e30;
    for (int run = 0; run < presolveRuns; ++run) {
      pre = torva::makeLpPresolver();
      reduced = torva::ModelData{};
      const double t0 = cpuNow();
      verdict = pre->presolve(d, 126, reduced);
      preSec = std::min(preSec, since(t0));
    }
    Size mine = full;
    if (verdict == torva::LpPresolver::Verdict::Reduced) mine = Size{reduced.m, reduced.n, reduced.nnz};
    QXdeleteModel(&m);
    const std::string plain = "/tmp/bench_presolve_" + name + ".mps";
    std::system(("zcat " + gz + " > " + plain).c_str());
    const Size peer = clpReduced(plain, full);
    std::remove(plain.c_str());
    double objOn = ref, objOff = ref;
    const double on = sizesOnly ? 0.0 : solveSeconds(env, gz, 126, &objOn);
    const double off = sizesOnly ? 0.0 : solveSeconds(env, gz, 0, &objOff);
    const bool ok = std::fabs(objOn - ref) <= 1e-6 * std::max(1.0, std::fabs(ref));
    std::printf("| %s | %ld | %ld | %ld | %ld | %ld | %ld | %ld | %ld | %ld | %.4f | %.3f | %.3f | %.2f | %s |\n",
                name.c_str(), full.rows, full.cols, full.nnz, mine.rows, mine.cols, mine.nnz, peer.rows, peer.cols,
                peer.nnz, preSec, on, off, off > 0 ? on / off : 0.0, ok ? "yes" : "NO");
    std::fflush(stdout);
    total.rows += full.rows, total.cols += full.cols, total.nnz += full.nnz;
    ours.rows += mine.rows, ours.cols += mine.cols, ours.nnz += mine.nnz;
    clp.rows += peer.rows, clp.cols += peer.cols, clp.nnz += peer.nnz;
  }
  std::printf("| total | %ld | %ld | %ld | %ld | %ld | %ld | %ld | %ld | %ld | | | | | |\n", total.rows, total.cols,
              total.nnz, ours.rows, ours.cols, ours.nnz, clp.rows, clp.cols, clp.nnz);
  QXdeleteEnv(&env);
  return 0;
}
