// Benchmark of the LU kernel on simplex-like bases of the larger Netlib
// models: factorisation and FTRAN/BTRAN against SuiteSparse KLU (when the
// build found it), and hypersparse against dense-indexed solves.
//
// Usage: bench_lu [model names...]   (default: the Netlib models with at least
// 1000 rows). The data folder is $TORVA_SHARED_DATA or the configured one.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "simplex/lu.hpp"
#include "tests/support/basis_support.hpp"
#include "tests/support/mps_columns.hpp"

#ifdef TORVA_HAVE_KLU
#include <klu.h>
#endif

namespace {

using torva::LuKernel;
using torva::LuVector;
using torva::testsupport::ColumnMatrix;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

// Smallest of several timings of f (seconds).
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

#ifdef TORVA_HAVE_KLU
// The basis as an explicit CSC matrix (for KLU).
struct Csc {
  std::vector<int> p, i;
  std::vector<double> x;
};

Csc basisMatrix(const ColumnMatrix& a, const std::vector<int>& basic) {
  Csc b;
  b.p.push_back(0);
  for (int var : basic) {
    if (var < a.numCols) {
      for (int k = a.begin[var]; k < a.begin[var + 1]; ++k) {
        b.i.push_back(a.index[k]);
        b.x.push_back(a.value[k]);
      }
    } else {
      b.i.push_back(var - a.numCols);
      b.x.push_back(1.0);
    }
    b.p.push_back(static_cast<int>(b.i.size()));
  }
  return b;
}
#endif

struct Totals {
  double lu = 0, luFirst = 0, klu = 0, kluFactorOnly = 0;
  double updateFt = 0, updatePf = 0;
  long long updatesFt = 0, updatesPf = 0;
  double ftran = 0, kluSolve = 0, btran = 0, kluTsolve = 0;
  double hyperSparse = 0, denseSparse = 0;  // results below 10% density
  double hyperDense = 0, denseDense = 0;    // results at or above 10%
  long long sparseCount = 0, denseCount = 0;
  // Finer classes of result density: below 1%, 1-5%, 5-10%.
  double hyperClass[3] = {0, 0, 0}, denseClass[3] = {0, 0, 0};
  long long classCount[3] = {0, 0, 0};
  long long compared = 0, mismatches = 0;  // hypersparse against dense-indexed results
};

void runModel(const std::string& path, Totals& tot) {
  ColumnMatrix a;
  if (!torva::testsupport::readMpsColumns(path, a)) {
    std::printf("%-10s cannot read\n", path.c_str());
    return;
  }
  const int m = a.numRows;
  const std::vector<int> basic = torva::testsupport::crashBasis(a, m, 17);
  int structurals = 0;
  for (int v : basic) structurals += v < a.numCols;
  const auto mat = torva::testsupport::view(a);
  const int repeats = 5;

  LuKernel lu(m);
  int rc = 0;
  // The first factorisation of a new kernel, then the best of repeats (a
  // threshold raised for growth on the first one is kept).
  const double tFirst = bestOf(1, [&] { rc = lu.factorize(mat, basic); });
  const double tLu = bestOf(repeats, [&] { rc = lu.factorize(mat, basic); });
  if (rc != torva::kLuOk) {
    std::printf("%-10s factorisation failed (%d)\n", path.c_str(), rc);
    return;
  }

  // Right-hand sides as the simplex meets them: FTRAN of matrix columns,
  // BTRAN of unit vectors.
  std::mt19937 rng(5);
  const int numRhs = 200;
  std::vector<int> cols(numRhs), rows(numRhs);
  for (int k = 0; k < numRhs; ++k) {
    cols[k] = std::uniform_int_distribution<int>(0, a.numCols - 1)(rng);
    rows[k] = std::uniform_int_distribution<int>(0, m - 1)(rng);
  }
  LuVector v(m);
  const double tFtran = bestOf(3, [&] {
    for (int j : cols) {
      torva::testsupport::loadColumn(a, j, v);
      lu.ftran(v);
    }
  });
  v.clear();
  const double tBtran = bestOf(3, [&] {
    for (int r : rows) {
      v.clear();
      v.add(r, 1.0);
      lu.btran(v);
    }
  });
  v.clear();

  // Hypersparse against dense-indexed on the same vectors, per solve.
  LuKernel hyper(m), dense(m);
  for (int id : {torva::kLuDparSpvtolFtran, torva::kLuDparSpvtolBtran}) {
    hyper.setDoubleOption(id, 2.0);
    dense.setDoubleOption(id, 0.0);
  }
  hyper.factorize(mat, basic);
  dense.factorize(mat, basic);
  double hs = 0, ds = 0, hd = 0, dd = 0;
  long long ns = 0, nd = 0;
  std::vector<double> hyperResult, denseResult;
  const int solveRepeats = 5;
  for (int k = 0; k < 2 * numRhs; ++k) {
    const bool isBtran = k >= numRhs;
    const auto load = [&](LuVector& w) {
      w.clear();
      if (isBtran) {
        w.add(rows[k - numRhs], 1.0);
      } else {
        torva::testsupport::loadColumn(a, cols[k], w);
      }
    };
    // Only the solve is timed (the right-hand side is loaded before).
    int resultCount = 0;
    const auto timeSolve = [&](LuKernel& kernel, std::vector<double>& result) {
      double best = 1e300;
      for (int r = 0; r < solveRepeats; ++r) {
        load(v);
        const auto t0 = Clock::now();
        isBtran ? kernel.btran(v) : kernel.ftran(v);
        best = std::min(best, seconds(t0, Clock::now()));
        resultCount = v.count;
      }
      result.assign(m, 0.0);
      for (int t = 0; t < v.count; ++t) result[v.index[t]] = v.array[v.index[t]];
      return best;
    };
    const double th = timeSolve(hyper, hyperResult);
    const double td = timeSolve(dense, denseResult);
    // Both variants must give the same result (they take the same pivots in
    // the same order), else the comparison would not be fair.
    ++tot.compared;
    if (hyperResult != denseResult) ++tot.mismatches;
    if (resultCount < 0.1 * m) {
      hs += th;
      ds += td;
      ++ns;
      const int cls = resultCount < 0.01 * m ? 0 : resultCount < 0.05 * m ? 1 : 2;
      tot.hyperClass[cls] += th;
      tot.denseClass[cls] += td;
      ++tot.classCount[cls];
    } else {
      hd += th;
      dd += td;
      ++nd;
    }
  }
  v.clear();

  // Updates: 100 column replacements as a simplex makes them (FTRAN of the
  // entering column, leaving position of a large entry, update), timed per
  // update type over the FTRAN and the update together.
  double tUpdate[2] = {0, 0};
  int numUpdates[2] = {0, 0};
  for (int type : {0, 1}) {
    LuKernel up(m);
    up.setIntOption(torva::kLuIparUpdateType, type);
    up.setIntOption(torva::kLuIparUsePivcol, 1);
    up.factorize(mat, basic);
    std::vector<int> cur = basic;
    std::vector<char> isBasic(a.numCols + m, 0);
    for (int var : cur) isBasic[var] = 1;
    std::mt19937 urng(11);
    for (int step = 0; step < 400 && numUpdates[type] < 100; ++step) {
      const int enter = std::uniform_int_distribution<int>(0, a.numCols - 1)(urng);
      if (isBasic[enter]) continue;
      const auto t0 = Clock::now();
      torva::testsupport::loadColumn(a, enter, v);
      up.ftran(v, true);
      int leave = -1;
      double best = 0.0;
      for (int k = 0; k < v.count; ++k)
        if (std::fabs(v.array[v.index[k]]) > best) {
          best = std::fabs(v.array[v.index[k]]);
          leave = v.index[k];
        }
      v.clear();
      if (leave < 0 || best < 1e-2) continue;
      if (up.update(leave, enter) != torva::kLuOk) break;
      tUpdate[type] += seconds(t0, Clock::now());
      isBasic[cur[leave]] = 0;
      cur[leave] = enter;
      isBasic[enter] = 1;
      ++numUpdates[type];
    }
  }
  tot.updateFt += tUpdate[1];
  tot.updatePf += tUpdate[0];
  tot.updatesFt += numUpdates[1];
  tot.updatesPf += numUpdates[0];

  double tKlu = 0, tKluFactor = 0, tKluSolve = 0, tKluTsolve = 0;
#ifdef TORVA_HAVE_KLU
  Csc b = basisMatrix(a, basic);
  klu_common common;
  klu_defaults(&common);
  klu_symbolic* sym = nullptr;
  klu_numeric* num = nullptr;
  tKlu = 1e300;
  for (int r = 0; r < repeats; ++r) {
    if (num) klu_free_numeric(&num, &common);
    if (sym) klu_free_symbolic(&sym, &common);
    const auto t0 = Clock::now();
    sym = klu_analyze(m, b.p.data(), b.i.data(), &common);
    num = sym ? klu_factor(b.p.data(), b.i.data(), b.x.data(), sym, &common) : nullptr;
    tKlu = std::min(tKlu, seconds(t0, Clock::now()));
  }
#endif
  std::printf("%-10s m=%5d struct=%5d  LU %8.2f ms (first %7.2f, threshold %.2g)",
              std::filesystem::path(path).stem().stem().c_str(), m, structurals, 1e3 * tLu, 1e3 * tFirst,
              lu.pivotThresholdUsed());
#ifdef TORVA_HAVE_KLU
  if (num) {
    tKluFactor = bestOf(repeats, [&] { klu_refactor(b.p.data(), b.i.data(), b.x.data(), sym, num, &common); });
    std::vector<double> rhs(m);
    tKluSolve = bestOf(3, [&] {
      for (int j : cols) {
        std::fill(rhs.begin(), rhs.end(), 0.0);
        for (int p = a.begin[j]; p < a.begin[j + 1]; ++p) rhs[a.index[p]] = a.value[p];
        klu_solve(sym, num, m, 1, rhs.data(), &common);
      }
    });
    tKluTsolve = bestOf(3, [&] {
      for (int r : rows) {
        std::fill(rhs.begin(), rhs.end(), 0.0);
        rhs[r] = 1.0;
        klu_tsolve(sym, num, m, 1, rhs.data(), &common);
      }
    });
    std::printf("  KLU %8.2f ms (refactor %7.2f)  ratio %5.2f | FTRAN %7.3f ms KLU %7.3f | BTRAN %7.3f ms KLU %7.3f",
                1e3 * tKlu, 1e3 * tKluFactor, tLu / tKlu, 1e3 * tFtran, 1e3 * tKluSolve, 1e3 * tBtran,
                1e3 * tKluTsolve);
    klu_free_numeric(&num, &common);
  }
  if (sym) klu_free_symbolic(&sym, &common);
#else
  std::printf("  | FTRAN %7.3f ms | BTRAN %7.3f ms", 1e3 * tFtran, 1e3 * tBtran);
#endif
  std::printf(" | update FT %.1f us PF %.1f us", 1e6 * tUpdate[1] / std::max(1, numUpdates[1]),
              1e6 * tUpdate[0] / std::max(1, numUpdates[0]));
  std::printf(" | <10%%: %lld solves hyper %.3f ms dense %.3f ms (x%.1f)\n", ns, 1e3 * hs, 1e3 * ds,
              hs > 0 ? ds / hs : 0.0);
  tot.lu += tLu;
  tot.luFirst += tFirst;
  tot.klu += tKlu;
  tot.kluFactorOnly += tKluFactor;
  tot.ftran += tFtran;
  tot.btran += tBtran;
  tot.kluSolve += tKluSolve;
  tot.kluTsolve += tKluTsolve;
  tot.hyperSparse += hs;
  tot.denseSparse += ds;
  tot.hyperDense += hd;
  tot.denseDense += dd;
  tot.sparseCount += ns;
  tot.denseCount += nd;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = torva::testsupport::sharedDataDir() + "/netlib";
  std::vector<std::string> paths;
  if (argc > 1) {
    for (int k = 1; k < argc; ++k) paths.push_back(dir + "/" + argv[k] + ".mps.gz");
  } else {
    if (!std::filesystem::is_directory(dir)) {
      std::printf("Netlib models not found under %s\n", dir.c_str());
      return 0;
    }
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      const std::string p = e.path().string();
      if (p.size() < 7 || p.substr(p.size() - 7) != ".mps.gz") continue;
      ColumnMatrix a;
      if (torva::testsupport::readMpsColumns(p, a) && a.numRows >= 1000) paths.push_back(p);
    }
    std::sort(paths.begin(), paths.end());
  }
  Totals tot;
  for (const auto& p : paths) runModel(p, tot);
  std::printf("\nTotals over %zu models:\n", paths.size());
  std::printf("  factorisation: LU %.2f ms (first factorisations %.2f ms)", 1e3 * tot.lu, 1e3 * tot.luFirst);
#ifdef TORVA_HAVE_KLU
  std::printf(", KLU analyze+factor %.2f ms (factor only %.2f ms), LU/KLU = %.2f (first: %.2f)\n",
              1e3 * tot.klu, 1e3 * tot.kluFactorOnly, tot.lu / tot.klu, tot.luFirst / tot.klu);
  std::printf("  FTRAN of 200 columns: LU %.2f ms, KLU %.2f ms (KLU/LU = %.1f)\n", 1e3 * tot.ftran,
              1e3 * tot.kluSolve, tot.kluSolve / tot.ftran);
  std::printf("  BTRAN of 200 unit vectors: LU %.2f ms, KLU %.2f ms (KLU/LU = %.1f)\n", 1e3 * tot.btran,
              1e3 * tot.kluTsolve, tot.kluTsolve / tot.btran);
#else
  std::printf(" (KLU not available in this build)\n");
#endif
  std::printf("  FTRAN+update: Forrest-Tomlin %lld updates %.2f ms (%.1f us each), product form %lld updates %.2f ms "
              "(%.1f us each)\n",
              tot.updatesFt, 1e3 * tot.updateFt, 1e6 * tot.updateFt / std::max(1LL, tot.updatesFt), tot.updatesPf,
              1e3 * tot.updatePf, 1e6 * tot.updatePf / std::max(1LL, tot.updatesPf));
  std::printf("  results below 10%% density: %lld solves, hypersparse %.2f ms, dense-indexed %.2f ms, speed-up %.1f\n",
              tot.sparseCount, 1e3 * tot.hyperSparse, 1e3 * tot.denseSparse, tot.denseSparse / tot.hyperSparse);
  const char* names[3] = {"below 1%", "1% to 5%", "5% to 10%"};
  for (int c = 0; c < 3; ++c)
    std::printf("    results %-9s: %5lld solves, hypersparse %.2f ms, dense-indexed %.2f ms, speed-up %.1f\n", names[c],
                tot.classCount[c], 1e3 * tot.hyperClass[c], 1e3 * tot.denseClass[c],
                tot.hyperClass[c] > 0 ? tot.denseClass[c] / tot.hyperClass[c] : 0.0);
  std::printf("  hypersparse and dense-indexed results differ in %lld of %lld solves\n", tot.mismatches, tot.compared);
  std::printf("  results at or above 10%%: %lld solves, hypersparse %.2f ms, dense-indexed %.2f ms\n", tot.denseCount,
              1e3 * tot.hyperDense, 1e3 * tot.denseDense);
  return 0;
}
