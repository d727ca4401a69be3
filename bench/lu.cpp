// Benchmark of the LU kernel on optimal bases of the larger Netlib models
// (written by clp through scripts/lu-bases.sh), or on crash bases where no
// basis file is found:
//   - factorisation against SuiteSparse KLU (when the build found it);
//   - the cost of three kinds of solves (FTRAN of entering columns, BTRAN of
//     unit rows, FTRAN of those BTRAN results as for steepest-edge weights)
//     with the kernel's default switch (by predicted result density), forced
//     hypersparse and forced dense-indexed, on the same right-hand sides;
//   - the cost of the default solves after 50, 100 and 200 Forrest-Tomlin
//     updates relative to a fresh factorisation of the same basis.
//
// Usage: bench_lu [--bases DIR] [model names...]   (default DIR:
// build/bench-bases of the source tree; default models: the Netlib models
// with at least 1000 rows). The data folder is $TORVA_SHARED_DATA or the
// configured one.
#include <time.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "simplex/lu.hpp"
#include "tests/support/basis_support.hpp"
#include "tests/support/mps_columns.hpp"

#ifdef TORVA_HAVE_KLU
#include <klu.h>
#endif

namespace {

using torva::LuKernel;
using torva::LuSolveKind;
using torva::LuVector;
using torva::testsupport::ColumnMatrix;
// Times are the CPU time of the calling thread: the benchmark shares its
// cores with builds, and wall-clock times would count the time the thread
// waits for a core.
struct Clock {
  static double now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
  }
};

double seconds(double a, double b) { return b - a; }

template <class F>
double bestOf(int repeats, F&& f) {
  double best = 1e300;
  for (int r = 0; r < repeats; ++r) {
    const auto t0 = Clock::now();
    f();
    best = std::min(best, seconds(t0, Clock::now()));
  }
  return best;
}

// The trimmed field of a fixed-format line.
std::string field(const std::string& line, size_t from, size_t len) {
  if (from >= line.size()) return "";
  std::string f = line.substr(from, len);
  while (!f.empty() && (f.back() == ' ' || f.back() == '\t')) f.pop_back();
  size_t b = 0;
  while (b < f.size() && f[b] == ' ') ++b;
  return f.substr(b);
}

// Row names (other than the objective's) and column names of an MPS file, in
// the order the column reader numbers them (fixed fields, else tokens).
bool readNames(const std::string& path, std::vector<std::string>& rows, std::vector<std::string>& cols) {
  gzFile f = gzopen(path.c_str(), "rb");
  if (!f) return false;
  std::string section;
  char buf[4096];
  while (gzgets(f, buf, sizeof buf)) {
    std::string line(buf);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.empty() || line[0] == '*') continue;
    std::istringstream in(line);
    if (line[0] != ' ' && line[0] != '\t') {
      in >> section;
      continue;
    }
    std::string a, b;
    in >> a >> b;
    if (section == "ROWS" && a != "N" && a != "n") {
      rows.push_back(line.size() <= 12 ? field(line, 4, 8) : b);
    } else if (section == "COLUMNS" && line.find("'MARKER'") == std::string::npos) {
      const std::string col = line.size() <= 61 ? field(line, 4, 8) : a;
      if (cols.empty() || cols.back() != col) cols.push_back(col);
    }
  }
  gzclose(f);
  return true;
}

// The basis of an MPS basis file: slacks everywhere, then for each XU/XL line
// the column in place of the row's slack. Empty when the file is missing or
// names an unknown column or row.
std::vector<int> readBasis(const std::string& file, const std::string& mps, const ColumnMatrix& a) {
  std::ifstream in(file);
  std::vector<std::string> rows, cols;
  if (!in || !readNames(mps, rows, cols) || static_cast<int>(cols.size()) != a.numCols) return {};
  std::unordered_map<std::string, int> rowOf, colOf;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) rowOf[rows[i]] = i;
  for (int j = 0; j < static_cast<int>(cols.size()); ++j) colOf[cols[j]] = j;
  std::vector<int> basic(a.numRows);
  for (int i = 0; i < a.numRows; ++i) basic[i] = a.numCols + i;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string kind, col, row;
    if (!(ls >> kind >> col >> row) || (kind != "XU" && kind != "XL")) continue;
    if (!colOf.count(col) || !rowOf.count(row)) return {};
    basic[rowOf[row]] = colOf[col];
  }
  return basic;
}

#ifdef TORVA_HAVE_KLU
// KLU analyse + factor of the basis (best of repeats), in seconds; 0 when
// KLU fails.
double kluFactorTime(const ColumnMatrix& a, const std::vector<int>& basic, int repeats) {
  std::vector<int> p{0}, idx;
  std::vector<double> x;
  for (int var : basic) {
    if (var < a.numCols) {
      idx.insert(idx.end(), a.index.begin() + a.begin[var], a.index.begin() + a.begin[var + 1]);
      x.insert(x.end(), a.value.begin() + a.begin[var], a.value.begin() + a.begin[var + 1]);
    } else {
      idx.push_back(var - a.numCols);
      x.push_back(1.0);
    }
    p.push_back(static_cast<int>(idx.size()));
  }
  klu_common common;
  klu_defaults(&common);
  bool ok = true;
  const double t = bestOf(repeats, [&] {
    klu_symbolic* sym = klu_analyze(static_cast<int>(basic.size()), p.data(), idx.data(), &common);
    klu_numeric* num = sym ? klu_factor(p.data(), idx.data(), x.data(), sym, &common) : nullptr;
    ok = num != nullptr;
    if (num) klu_free_numeric(&num, &common);
    if (sym) klu_free_symbolic(&sym, &common);
  });
  return ok ? t : 0.0;
}
#endif

// Right-hand sides: nonbasic columns for FTRAN, unit rows for BTRAN.
struct Rhs {
  std::vector<int> cols, rows;
};

// Time (seconds, best of 3) of the three solve kinds over the right-hand
// sides: column FTRAN, row BTRAN, FTRAN of each BTRAN result.
struct SolveCost {
  double ftran = 0, btran = 0, seFtran = 0;
};

SolveCost timeSolves(LuKernel& lu, const ColumnMatrix& a, const Rhs& rhs) {
  const int m = a.numRows;
  LuVector v(m);
  std::vector<LuVector> btranResults(rhs.rows.size(), LuVector(m));
  SolveCost c;
  c.ftran = bestOf(3, [&] {
    for (int j : rhs.cols) {
      torva::testsupport::loadColumn(a, j, v);
      lu.ftran(v);
    }
  });
  c.btran = bestOf(3, [&] {
    for (size_t k = 0; k < rhs.rows.size(); ++k) {
      LuVector& w = btranResults[k];
      w.clear();
      w.add(rhs.rows[k], 1.0);
      lu.btran(w);
    }
  });
  // The steepest-edge FTRANs read the BTRAN results (copied, untimed).
  c.seFtran = 1e300;
  for (int r = 0; r < 3; ++r) {
    double sum = 0.0;
    for (const LuVector& w : btranResults) {
      v = w;
      const auto t0 = Clock::now();
      lu.ftran(v, LuSolveKind::kSteepestEdge);
      sum += seconds(t0, Clock::now());
    }
    c.seFtran = std::min(c.seFtran, sum);
  }
  v.clear();
  return c;
}

// Column replacements as a simplex makes them: a random nonbasic column
// enters at the position of the largest entry of its transformed column
// (at least 0.01), with that entry as the pivot. Returns the updates made.
int makeUpdates(LuKernel& lu, const ColumnMatrix& a, std::vector<int>& basic, int count, std::mt19937& rng,
                int& lastCode) {
  const int m = a.numRows;
  std::vector<char> isBasic(a.numCols + m, 0);
  for (int var : basic) isBasic[var] = 1;
  LuVector v(m);
  int done = 0;
  for (int tries = 0; done < count && tries < 50 * count; ++tries) {
    const int enter = std::uniform_int_distribution<int>(0, a.numCols - 1)(rng);
    if (isBasic[enter]) continue;
    torva::testsupport::loadColumn(a, enter, v);
    lu.ftran(v, true);
    int leave = -1;
    double pivot = 0.0;
    for (int k = 0; k < v.count; ++k)
      if (std::fabs(v.array[v.index[k]]) > std::fabs(pivot)) {
        pivot = v.array[v.index[k]];
        leave = v.index[k];
      }
    v.clear();
    if (leave < 0 || std::fabs(pivot) < 1e-2) continue;
    lastCode = lu.update(leave, enter, pivot);
    if (lastCode != torva::kLuOk) break;
    isBasic[basic[leave]] = 0;
    basic[leave] = enter;
    isBasic[enter] = 1;
    ++done;
  }
  return done;
}

constexpr int kUpdateMarks[] = {50, 100, 200};

struct Totals {
  double lu = 0, klu = 0;
  SolveCost def, hyper, dense;
  SolveCost fresh[3], updated[3];
  int models = 0;
};

void runModel(const std::string& path, const std::string& basesDir, Totals& tot) {
  ColumnMatrix a;
  const std::string name = std::filesystem::path(path).stem().stem().string();
  if (!torva::testsupport::readMpsColumns(path, a)) {
    std::printf("%-10s cannot read\n", name.c_str());
    return;
  }
  const int m = a.numRows;
  std::vector<int> basic = readBasis(basesDir + "/" + name + ".bas", path, a);
  const bool optimal = !basic.empty();
  if (!optimal) basic = torva::testsupport::crashBasis(a, m, 17);
  const auto mat = torva::testsupport::view(a);
  LuKernel lu(m);
  int rc = 0;
  const double tLu = bestOf(5, [&] { rc = lu.factorize(mat, basic); });
  if (rc != torva::kLuOk) {
    std::printf("%-10s factorisation failed (%d, rank %d)\n", name.c_str(), rc, lu.rank());
    return;
  }
  double tKlu = 0.0;
#ifdef TORVA_HAVE_KLU
  tKlu = kluFactorTime(a, basic, 5);
#endif
  std::mt19937 rng(5);
  Rhs rhs;
  std::vector<char> isBasic(a.numCols + m, 0);
  for (int var : basic) isBasic[var] = 1;
  while (rhs.cols.size() < 200) {
    const int j = std::uniform_int_distribution<int>(0, a.numCols - 1)(rng);
    if (!isBasic[j]) rhs.cols.push_back(j);
  }
  for (int k = 0; k < 200; ++k) rhs.rows.push_back(std::uniform_int_distribution<int>(0, m - 1)(rng));

  // Default switch (after one untimed pass that teaches the predictions),
  // forced hypersparse and forced dense-indexed.
  timeSolves(lu, a, rhs);
  const SolveCost def = timeSolves(lu, a, rhs);
  LuKernel hyper(m), dense(m);
  for (int id : {torva::kLuDparSpvtolFtran, torva::kLuDparSpvtolBtran}) {
    hyper.setDoubleOption(id, 2.0);
    dense.setDoubleOption(id, 0.0);
  }
  hyper.factorize(mat, basic);
  dense.factorize(mat, basic);
  const SolveCost hy = timeSolves(hyper, a, rhs), de = timeSolves(dense, a, rhs);
  std::printf("%-10s m=%5d %s LU %7.2f ms KLU %7.2f ms | ftran/btran/se-ftran ms: default %6.2f %6.2f %6.2f"
              "  hyper %6.2f %6.2f %6.2f  dense %6.2f %6.2f %6.2f\n",
              name.c_str(), m, optimal ? "optimal" : "crash  ", 1e3 * tLu, 1e3 * tKlu, 1e3 * def.ftran,
              1e3 * def.btran, 1e3 * def.seFtran, 1e3 * hy.ftran, 1e3 * hy.btran, 1e3 * hy.seFtran,
              1e3 * de.ftran, 1e3 * de.btran, 1e3 * de.seFtran);

  // Solve cost after 50, 100 and 200 updates against a fresh factorisation
  // of the basis reached.
  LuKernel up(m);
  up.setIntOption(torva::kLuIparUsePivcol, 1);
  up.setIntOption(torva::kLuIparMemExp, 20);  // room for 200 updates
  up.factorize(mat, basic);
  std::vector<int> cur = basic;
  std::mt19937 urng(11);
  int made = 0, code = 0;
  std::printf("%-10s after updates (ftran/btran ms, updated vs fresh):", "");
  for (int k = 0; k < 3; ++k) {
    made += makeUpdates(up, a, cur, kUpdateMarks[k] - made, urng, code);
    if (made < kUpdateMarks[k]) {
      std::printf(" stopped at %d updates (code %d)", made, code);
      break;
    }
    timeSolves(up, a, rhs);
    const SolveCost u = timeSolves(up, a, rhs);
    LuKernel fresh(m);
    fresh.factorize(mat, cur);
    timeSolves(fresh, a, rhs);
    const SolveCost f = timeSolves(fresh, a, rhs);
    std::printf("  %d: %.2f/%.2f vs %.2f/%.2f (x%.1f; nnz L+U+R %lld vs %lld)", kUpdateMarks[k], 1e3 * u.ftran,
                1e3 * u.btran, 1e3 * f.ftran, 1e3 * f.btran, (u.ftran + u.btran) / (f.ftran + f.btran),
                up.nnzL() + up.nnzU() + up.nnzR(), fresh.nnzL() + fresh.nnzU());
    tot.updated[k].ftran += u.ftran;
    tot.updated[k].btran += u.btran;
    tot.fresh[k].ftran += f.ftran;
    tot.fresh[k].btran += f.btran;
  }
  std::printf("\n");
  tot.lu += tLu;
  tot.klu += tKlu;
  for (auto [sum, one] : {std::pair{&tot.def, &def}, std::pair{&tot.hyper, &hy}, std::pair{&tot.dense, &de}}) {
    sum->ftran += one->ftran;
    sum->btran += one->btran;
    sum->seFtran += one->seFtran;
  }
  ++tot.models;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = torva::testsupport::sharedDataDir() + "/netlib";
  std::string basesDir = std::string(TORVA_SOURCE_DIR) + "/build/bench-bases";
  std::vector<std::string> paths;
  for (int k = 1; k < argc; ++k) {
    if (std::strcmp(argv[k], "--bases") == 0 && k + 1 < argc) {
      basesDir = argv[++k];
    } else {
      paths.push_back(dir + "/" + argv[k] + ".mps.gz");
    }
  }
  if (paths.empty()) {
    if (!std::filesystem::is_directory(dir)) {
      std::printf("Netlib models not found under %s\n", dir.c_str());
      return 0;
    }
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      const std::string p = e.path().string();
      ColumnMatrix a;
      if (p.ends_with(".mps.gz") && torva::testsupport::readMpsColumns(p, a) && a.numRows >= 1000)
        paths.push_back(p);
    }
    std::sort(paths.begin(), paths.end());
  }
  Totals tot;
  for (const auto& p : paths) runModel(p, basesDir, tot);
  std::printf("\nTotals over %d models (ms):\n", tot.models);
  std::printf("  factorisation: LU %.2f, KLU analyse+factor %.2f (LU/KLU %.2f)\n", 1e3 * tot.lu, 1e3 * tot.klu,
              tot.klu > 0 ? tot.lu / tot.klu : 0.0);
  for (auto [label, c] : {std::pair{"default switch", &tot.def}, std::pair{"forced hypersparse", &tot.hyper},
                          std::pair{"forced dense-indexed", &tot.dense}})
    std::printf("  %-21s: FTRAN %7.2f  BTRAN %7.2f  steepest-edge FTRAN %7.2f\n", label, 1e3 * c->ftran,
                1e3 * c->btran, 1e3 * c->seFtran);
  for (int k = 0; k < 3; ++k)
    std::printf("  after %3d updates: FTRAN %7.2f (fresh %7.2f, x%.2f)  BTRAN %7.2f (fresh %7.2f, x%.2f)\n",
                kUpdateMarks[k], 1e3 * tot.updated[k].ftran, 1e3 * tot.fresh[k].ftran,
                tot.updated[k].ftran / std::max(1e-12, tot.fresh[k].ftran), 1e3 * tot.updated[k].btran,
                1e3 * tot.fresh[k].btran, tot.updated[k].btran / std::max(1e-12, tot.fresh[k].btran));
  return 0;
}
