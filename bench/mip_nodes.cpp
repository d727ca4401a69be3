// Node throughput of the branch and bound: MIPLIB 3 models of the shared
// data solved with a fixed branch limit (so that runs of different builds
// explore trees of about the same shape), reporting relaxations solved,
// simplex iterations per relaxation and relaxations per second.
//
//   bench_mip_nodes [-b BRANCHES] [-t SECONDS] MODEL ...
//
// The models are names of ../shared/data/miplib3 (misc07, p0201, ...). A run
// that closes its tree before the limit also prints the objective and
// whether it agrees with objectives.tsv. A name "A+B" stands for the two
// models side by side, sharing no row (a search with independent parts);
// its reference is the sum of theirs.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

struct LpArrays {
  int sense = 1, m = 0, n = 0, nnz = 0;
  double constant = 0.0;
  std::vector<double> cost, rhs, value, lower, upper;
  std::vector<int> beg, len, row;
  std::string conTypes, varTypes;
};

bool readArrays(QXmodel model, LpArrays& d) {
  QXgetInfo(model, QX_IINFO_NUM_CONS, &d.m);
  QXgetInfo(model, QX_IINFO_NUM_VARS, &d.n);
  QXgetInfo(model, QX_IINFO_NUM_NONZ, &d.nnz);
  const auto m = static_cast<std::size_t>(d.m), n = static_cast<std::size_t>(d.n);
  const auto nnz = static_cast<std::size_t>(d.nnz);
  d.cost.resize(n), d.rhs.resize(m), d.value.resize(nnz), d.lower.resize(n), d.upper.resize(n);
  d.beg.resize(n + 1), d.len.resize(n), d.row.resize(nnz);
  d.conTypes.assign(m, ' '), d.varTypes.assign(n, ' ');
  return QXgetLPData(model, &d.sense, &d.constant, d.cost.data(), d.rhs.data(), d.conTypes.data(), d.beg.data(),
                     d.len.data(), d.value.data(), d.row.data(), d.lower.data(), d.upper.data()) == 0 &&
         QXgetVarType(model, d.varTypes.data()) == 0;
}

// The models a and b side by side: a's rows and columns, then b's (b's
// costs flipped when the senses differ). Ranged rows are not carried, so
// only models without them keep their optima.
QXmodel sideBySide(QXenv env, QXmodel a, QXmodel b) {
  LpArrays x, y;
  if (!readArrays(a, x) || !readArrays(b, y)) return nullptr;
  const double flip = x.sense == y.sense ? 1.0 : -1.0;
  for (double c : y.cost) x.cost.push_back(flip * c);
  x.constant += flip * y.constant;
  x.rhs.insert(x.rhs.end(), y.rhs.begin(), y.rhs.end());
  x.conTypes += y.conTypes;
  x.varTypes += y.varTypes;
  x.beg.pop_back();
  for (int k : y.beg) x.beg.push_back(k + x.nnz);
  x.len.insert(x.len.end(), y.len.begin(), y.len.end());
  x.value.insert(x.value.end(), y.value.begin(), y.value.end());
  for (int i : y.row) x.row.push_back(i + x.m);
  x.lower.insert(x.lower.end(), y.lower.begin(), y.lower.end());
  x.upper.insert(x.upper.end(), y.upper.begin(), y.upper.end());
  int err = 0;
  QXmodel joined = QXcreateModel(env, &err);
  if (QXloadLPData(joined, x.m + y.m, x.n + y.n, x.sense, x.constant, x.cost.data(), x.rhs.data(), x.conTypes.c_str(),
                   x.nnz + y.nnz, x.beg.data(), x.len.data(), x.value.data(), x.row.data(), x.lower.data(),
                   x.upper.data()) != 0 ||
      QXloadVarType(joined, x.varTypes.c_str()) != 0)
    QXdeleteModel(&joined);
  return joined;
}

// A model of the shared data, or two side by side for "A+B"; reference
// receives the reference optimum (the sum for two).
QXmodel openModel(QXenv env, const std::string& name, double* reference) {
  const std::size_t plus = name.find('+');
  if (plus == std::string::npos) {
    *reference = referenceOf(name);
    return bench::readModel(env, miplibDir() + "/" + name + ".mps.gz");
  }
  const std::string left = name.substr(0, plus), right = name.substr(plus + 1);
  *reference = referenceOf(left) + referenceOf(right);
  QXmodel a = bench::readModel(env, miplibDir() + "/" + left + ".mps.gz");
  QXmodel b = bench::readModel(env, miplibDir() + "/" + right + ".mps.gz");
  QXmodel joined = a && b ? sideBySide(env, a, b) : nullptr;
  QXdeleteModel(&a);
  QXdeleteModel(&b);
  return joined;
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
    double ref = 0.0;
    QXmodel m = openModel(env, name, &ref);
    if (!m) {
      std::printf("%-10s no model %s under %s\n", name.c_str(), name.c_str(), miplibDir().c_str());
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
