// Model store benchmark: builds a generated LP of about one million
// nonzeros, loads it with names, changes it (bounds, coefficients, rows
// added, columns deleted), queries it, copies it, and reports the time of
// each phase per nonzero and the memory the store takes per nonzero.
//
// Peer: GLPK's glp_load_matrix on the same matrix, reached at run time
// through the shared library when it is installed (no header needed).
#include <dlfcn.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "torva.h"

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

long peakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Bytes the store's vectors hold (reserved capacity included).
template <class T>
std::size_t bytes(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}

std::size_t storeBytes(const torva::ModelData& d) {
  return bytes(d.cost) + bytes(d.rhs) + bytes(d.conType) + bytes(d.colBeg) + bytes(d.colLen) +
         bytes(d.rowIdx) + bytes(d.value) + bytes(d.lower) + bytes(d.upper);
}

struct Generated {
  int m = 0, n = 0, nnz = 0;
  std::vector<double> c, b, lo, up, val;
  std::string types;
  std::vector<int> beg, rows;
  std::vector<std::string> conNames, varNames;
};

// n columns with perColumn entries each in distinct random rows.
Generated generate(int m, int n, int perColumn) {
  Generated g;
  g.m = m;
  g.n = n;
  std::mt19937 rng(20261205);
  std::uniform_int_distribution<int> row(0, m - 1);
  std::uniform_real_distribution<double> coef(-10.0, 10.0);
  g.beg.push_back(0);
  for (int j = 0; j < n; ++j) {
    int placed = 0;
    int first = static_cast<int>(g.rows.size());
    while (placed < perColumn) {
      const int r = row(rng);
      bool seen = false;
      for (int k = first; k < static_cast<int>(g.rows.size()); ++k) seen |= g.rows[k] == r;
      if (seen) continue;
      g.rows.push_back(r);
      g.val.push_back(coef(rng));
      ++placed;
    }
    g.beg.push_back(static_cast<int>(g.rows.size()));
    g.c.push_back(coef(rng));
    g.lo.push_back(0.0);
    g.up.push_back(j % 3 == 0 ? 1e30 : 100.0);
  }
  g.nnz = static_cast<int>(g.rows.size());
  for (int i = 0; i < m; ++i) {
    g.b.push_back(coef(rng));
    g.types.push_back("LGE"[i % 3]);
    g.conNames.push_back("R" + std::to_string(i));
  }
  for (int j = 0; j < n; ++j) g.varNames.push_back("C" + std::to_string(j));
  return g;
}

// GLPK entry points, looked up at run time.
struct Glpk {
  void* lib = nullptr;
  void* (*createProb)() = nullptr;
  void (*deleteProb)(void*) = nullptr;
  int (*addRows)(void*, int) = nullptr;
  int (*addCols)(void*, int) = nullptr;
  void (*loadMatrix)(void*, int, const int*, const int*, const double*) = nullptr;
  int (*termOut)(int) = nullptr;

  bool open() {
    lib = dlopen("libglpk.so.40", RTLD_NOW);
    if (!lib) return false;
    createProb = reinterpret_cast<void* (*)()>(dlsym(lib, "glp_create_prob"));
    deleteProb = reinterpret_cast<void (*)(void*)>(dlsym(lib, "glp_delete_prob"));
    addRows = reinterpret_cast<int (*)(void*, int)>(dlsym(lib, "glp_add_rows"));
    addCols = reinterpret_cast<int (*)(void*, int)>(dlsym(lib, "glp_add_cols"));
    loadMatrix = reinterpret_cast<void (*)(void*, int, const int*, const int*, const double*)>(
        dlsym(lib, "glp_load_matrix"));
    termOut = reinterpret_cast<int (*)(int)>(dlsym(lib, "glp_term_out"));
    return createProb && deleteProb && addRows && addCols && loadMatrix;
  }
};

}  // namespace

int main() {
  constexpr int kRows = 100000, kCols = 200000, kPerColumn = 5;
  const Generated g = generate(kRows, kCols, kPerColumn);
  std::printf("model: %d rows, %d columns, %d nonzeros\n", g.m, g.n, g.nnz);
  const long rssBefore = peakRssKb();

  int err = 0;
  QXenv env = QXcreateEnv(&err);
  QXmodel model = QXcreateModel(env, &err);
  const double perNz = 1e9 / g.nnz;  // seconds -> nanoseconds per nonzero

  auto t = Clock::now();
  err = QXloadLPData(model, g.m, g.n, QX_MIN, 0.0, g.c.data(), g.b.data(), g.types.data(), g.nnz,
                     g.beg.data(), nullptr, g.val.data(), g.rows.data(), g.lo.data(), g.up.data());
  const double tLoad = since(t);
  if (err) {
    std::printf("load failed: %d\n", err);
    return 1;
  }
  std::vector<char*> cn, vn;
  for (auto& s : g.conNames) cn.push_back(const_cast<char*>(s.c_str()));
  for (auto& s : g.varNames) vn.push_back(const_cast<char*>(s.c_str()));
  t = Clock::now();
  QXloadNameData(model, "bench", "obj", "rhs", "rng", "bnd", cn.data(), vn.data(), nullptr);
  const double tNames = since(t);

  // Bounds: one batch over every column and 10000 single calls.
  std::mt19937 rng(7);
  std::vector<int> all(g.n);
  std::vector<double> ub(g.n);
  for (int j = 0; j < g.n; ++j) {
    all[j] = j;
    ub[j] = 50.0 + j % 7;
  }
  t = Clock::now();
  err |= QXmodifyUpperBounds(model, g.n, all.data(), ub.data());
  for (int k = 0; k < 10000; ++k) {
    const int j = static_cast<int>(rng() % g.n);
    const double v = 10.0;
    err |= QXmodifyLowerBounds(model, 1, &j, &v);
  }
  const double tBounds = since(t);

  // Rows: 2000 rows of 10 entries, in batches of 100.
  constexpr int kAddRows = 2000, kRowLen = 10, kBatch = 100;
  t = Clock::now();
  for (int batch = 0; batch < kAddRows / kBatch; ++batch) {
    std::vector<int> rowbeg{0}, cols;
    std::vector<double> vals;
    for (int r = 0; r < kBatch; ++r) {
      for (int k = 0; k < kRowLen; ++k) {
        cols.push_back(static_cast<int>((batch * 7919L + r * 104729L + k * 15485863L) % g.n));
        vals.push_back(1.0 + k);
      }
      // Columns within one row must be distinct; the stride above makes them so.
      rowbeg.push_back(static_cast<int>(cols.size()));
    }
    err |= QXaddConstraints(model, kBatch, std::string(kBatch, 'L').c_str(), nullptr, rowbeg.data(),
                            vals.data(), cols.data(), nullptr);
  }
  const double tAddRows = since(t);

  // Coefficients: single insertions into random columns, first into
  // columns without spare space (each moves the columns after it), then
  // after reserving two spare entries per column.
  auto insertRandom = [&](int count) {
    for (int k = 0; k < count; ++k) {
      const int j = static_cast<int>(rng() % g.n);
      const int i = g.m + static_cast<int>(rng() % kAddRows);
      const double v = 0.5;
      err |= QXmodifyAj(model, j, 1, &i, &v);
    }
  };
  t = Clock::now();
  insertRandom(1000);
  const double tModifyAjFull = since(t);
  t = Clock::now();
  std::vector<int> spaces(g.n, 2);
  err |= QXaddEmptySpacesAcolumns(model, spaces.data());
  const double tSpaces = since(t);
  t = Clock::now();
  insertRandom(10000);
  const double tModifyAj = since(t);

  // Columns: delete 20000 (every tenth).
  std::vector<int> del;
  for (int j = 0; j < g.n; j += 10) del.push_back(j);
  t = Clock::now();
  err |= QXdeleteVariables(model, static_cast<int>(del.size()), del.data());
  const double tDelCols = since(t);

  int n = 0, m = 0, nnz = 0;
  QXgetDimensions(model, &n, &m, nullptr, &nnz, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  nullptr);

  // Queries: the whole matrix, every column, 100000 name lookups.
  std::vector<int> qb(n + 1), ql(n), qr(nnz);
  std::vector<double> qv(nnz);
  t = Clock::now();
  err |= QXgetLPData(model, nullptr, nullptr, nullptr, nullptr, nullptr, qb.data(), ql.data(),
                     qv.data(), qr.data(), nullptr, nullptr);
  int colRows[64];
  double colVals[64];
  int len = 0;
  for (int j = 0; j < n; ++j)
    err |= QXgetLPVariableDataj(model, j, nullptr, nullptr, nullptr, nullptr, &len, colRows, colVals);
  const double tQueryData = since(t);
  t = Clock::now();
  int first = -1;
  QXgetVariableIndex(model, g.varNames[0].c_str(), &first);  // builds the lookup table
  const double tTable = since(t);
  t = Clock::now();
  long found = 0;
  for (int k = 0; k < 100000; ++k) {
    int idx = -1;
    if (QXgetVariableIndex(model, g.varNames[rng() % g.n].c_str(), &idx) == 0) ++found;
  }
  const double tLookups = since(t);

  t = Clock::now();
  QXmodel copy = QXcopyModel(model, &err);
  const double tCopy = since(t);

  const std::size_t store = storeBytes(model->data);
  const long rssPeak = peakRssKb();
  std::printf("final model: %d rows, %d columns, %d nonzeros; errors %d; lookups found %ld\n", m, n,
              nnz, err, found);
  std::printf("%-34s %10s %12s\n", "phase", "seconds", "ns/nonzero");
  auto row = [&](const char* name, double s) { std::printf("%-34s %10.4f %12.1f\n", name, s, s * perNz); };
  row("load LP data (1M nz)", tLoad);
  row("load names (m+n)", tNames);
  row("bounds: 200000 batch + 10000 single", tBounds);
  row("add 2000 rows x 10 (20 calls)", tAddRows);
  row("modifyAj: 1000 inserts, no spare", tModifyAjFull);
  row("addEmptySpacesAcolumns: 2 per col", tSpaces);
  row("modifyAj: 10000 inserts into spare", tModifyAj);
  row("delete 20000 columns", tDelCols);
  row("getLPData + every column", tQueryData);
  row("build variable-name table", tTable);
  row("100000 name lookups", tLookups);
  row("copy model", tCopy);
  std::printf("store bytes per nonzero (linear core, capacities): %.1f\n",
              static_cast<double>(store) / nnz);
  std::printf("peak RSS growth per nonzero (store, names, copy, work arrays): %.1f bytes\n",
              (rssPeak - rssBefore) * 1024.0 / g.nnz);
  QXdeleteModel(&copy);

  Glpk glpk;
  if (glpk.open()) {
    if (glpk.termOut) glpk.termOut(0);
    // GLPK takes triplets, 1-based, with element 0 unused.
    std::vector<int> ia(g.nnz + 1), ja(g.nnz + 1);
    std::vector<double> ar(g.nnz + 1);
    for (int j = 0; j < g.n; ++j)
      for (int k = g.beg[j]; k < g.beg[j + 1]; ++k) {
        ia[k + 1] = g.rows[k] + 1;
        ja[k + 1] = j + 1;
        ar[k + 1] = g.val[k];
      }
    void* lp = glpk.createProb();
    t = Clock::now();
    glpk.addRows(lp, g.m);
    glpk.addCols(lp, g.n);
    glpk.loadMatrix(lp, g.nnz, ia.data(), ja.data(), ar.data());
    const double tGlpk = since(t);
    glpk.deleteProb(lp);
    std::printf("peer GLPK glp_load_matrix (same matrix): %.4f s, %.1f ns/nonzero\n", tGlpk,
                tGlpk * perNz);
    std::printf("ratio load time torva/GLPK: %.2f\n", tLoad / tGlpk);
  } else {
    std::printf("peer GLPK not available: no ratio\n");
  }
  QXdeleteEnv(&env);
  return err ? 1 : 0;
}
