// Loading model data into the model store.
#include "base/load.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/api.hpp"
#include "base/log.hpp"
#include "nlp/load.hpp"
#include "nlp/sync.hpp"

namespace torva {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double clampLower(double v) { return std::max(v, -kInfinity); }
double clampUpper(double v) { return std::min(v, kInfinity); }

bool isConType(char c) { return c == 'E' || c == 'L' || c == 'G' || c == 'N'; }

// Normalised set type (1..4) of a type byte given as a number or a digit,
// or 0 when it is neither.
int setTypeOf(char c) {
  if (c >= 1 && c <= 4) return c;
  if (c >= '1' && c <= '4') return c - '0';
  return 0;
}

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

}  // namespace

// ------------------------------------------------------------- statistics

void logBaseStats(const Model& model, double loadSeconds, double statsSeconds) {
  if (!wantsLog(model, kStatsPrintLevel)) return;
  const ModelData& d = model.data;
  const BaseStats& s = d.stats();
  logLine(model, "\nNumber of constraints:%8d    le:%8d, ge:%8d, eq:%8d, rn:%8d (ne:%d)", d.m, s.le,
          s.ge, s.eq, s.rn, s.emptyRows);
  logLine(model, "\nNumber of variables  :%8d    lb:%8d, ub:%8d, fr:%8d, bx:%8d (fx:%d)", d.n, s.lb,
          s.ub, s.fr, s.bx, s.fixedCols);
  // sb: singleton rows, which act as bounds on their one variable.
  logLine(model, "\nNumber of nonzeroes  :%8d    density:%8.2g(%%)     , sb:%8d\n", s.nnz, s.density,
          s.rows1);
  if (s.denseCount > 0) {
    logLine(model, "\n\nDensest 5 rows and cols");
    for (int k = 0; k < s.denseCount; ++k) {
      const double rowShare = d.n > 0 ? 100.0 * s.denseRowNnz[k] / d.n : 0.0;
      const double colShare = d.m > 0 ? 100.0 * s.denseColNnz[k] / d.m : 0.0;
      logLine(model, "\nrow[%06d]:%d (%%%4.1f),    col[%06d]:%d (%%%4.1f)", s.denseRow[k],
              s.denseRowNnz[k], rowShare, s.denseCol[k], s.denseColNnz[k], colShare);
    }
    logLine(model, "densest row:%6d nzs (%.2f)\n", s.denseRowNnz[0],
            d.n > 0 ? static_cast<double>(s.denseRowNnz[0]) / d.n : 0.0);
    logLine(model, "densest col:%6d nzs (%.2f)\n", s.denseColNnz[0],
            d.m > 0 ? static_cast<double>(s.denseColNnz[0]) / d.m : 0.0);
  }
  logLine(model, "cols with 1nz:%6d, 2nzs:%6d\n", s.cols1, s.cols2);
  logLine(model, "rows with 1nz:%6d, 2nzs:%6d\n", s.rows1, s.rows2);
  // Shares of the whole load spent copying and merging, and on statistics.
  const double total = loadSeconds + statsSeconds;
  const double loadShare = total > 0.0 ? 100.0 * loadSeconds / total : 0.0;
  const double statsShare = total > 0.0 ? 100.0 * statsSeconds / total : 0.0;
  logLine(model, "\nLoaded base stats in %.2f secs (%.2f%%+%.2f%%=%.2f%%)", total, loadShare,
          statsShare, loadShare + statsShare);
}

void logIntegerStats(const Model& model) {
  if (!wantsLog(model, kStatsPrintLevel)) return;
  const IntegerStats& s = model.data.integerStats();
  logLine(model, "\nBinary variables     :%8d (in %d constraints)", s.binaries, s.binaryRows);
  logLine(model, "\nInteger variables    :%8d (in %d constraints)\n", s.integers, s.integerRows);
}

void dropStaleSolutions(Model& model) {
  model.markChanged();
  model.mipSolution.reset();
}

// ---------------------------------------------------------------- LP data

int loadLinearCore(Model& model, LinearCore&& core) {
  ModelData& d = model.data;
  if (d.n >= 1 || d.m > 0) return QXERR_MODEL_ALREADY_LOADED;
  // The core is checked and completed in place and moved into the store only
  // on success, so a failure leaves nothing behind. Any failure leaves the
  // model unloaded, even one that held an empty (0 by 0) load before.
  auto fail = [&](int rc) {
    model.status = QX_STATUS_UNLOADED;
    return rc;
  };
  const int m = core.m, n = core.n;
  if (m < 0 || n < 0) return fail(QXERR_INPUT_OUT_OF_RANGE);
  const auto start = Clock::now();
  std::vector<int>& beg = core.colBeg;
  if (beg.empty() && n == 0) beg.push_back(0);
  const auto sized = [](const auto& v, int count) { return v.size() == static_cast<std::size_t>(count); };
  if (!sized(core.cost, n) || !sized(core.rhs, m) || !sized(core.conType, m) ||
      !sized(beg, n + 1) || !(core.colLen.empty() || sized(core.colLen, n)) ||
      !(core.lower.empty() || sized(core.lower, n)) || !(core.upper.empty() || sized(core.upper, n)))
    return fail(QXERR_INPUT_OUT_OF_RANGE);
  const int base = beg[0];
  const int stored = beg[n];
  if (core.nnz < 0 || core.nnz > stored) return fail(QXERR_TOTAL_NONZ_INVALID);
  if (core.objSense != 1 && core.objSense != -1) return fail(QXERR_BAD_OBJECTIVE_SENSE);
  for (int i = 0; i < m; ++i)
    if (!isConType(core.conType[i])) return fail(QXERR_BAD_CONSTRAINT_TYPE);
  if (base < 0 || stored < base) return fail(QXERR_COLBEG_INVALID);

  // Capacity reserved ahead of time by the host applies to the new vectors.
  const std::size_t colCap = static_cast<std::size_t>(std::max(n, d.reserveCols));
  const std::size_t rowCap = static_cast<std::size_t>(std::max(m, d.reserveRows));
  core.cost.reserve(colCap);
  core.rhs.reserve(rowCap);
  core.conType.reserve(rowCap);
  for (int j = 0; j <= n; ++j) beg[j] -= base;
  beg.reserve(colCap + 1);
  std::vector<int>& len = core.colLen;
  long long total = 0;
  if (!len.empty()) {
    for (int j = 0; j < n; ++j) {
      if (len[j] < 0 || len[j] > beg[j + 1] - beg[j]) return fail(QXERR_COLUMN_LENGTH_INVALID);
      total += len[j];
    }
  } else {
    len.resize(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) {
      len[j] = beg[j + 1] - beg[j];
      if (len[j] < 0) return fail(QXERR_COLBEG_INVALID);
      total += len[j];
    }
  }
  len.reserve(colCap);
  if (total != core.nnz) return fail(QXERR_TOTAL_NONZ_INVALID);
  std::vector<int>& idx = core.rowIdx;
  std::vector<double>& val = core.value;
  const std::size_t entries = static_cast<std::size_t>(stored - base);
  if (idx.size() < static_cast<std::size_t>(total) || val.size() < static_cast<std::size_t>(total))
    return fail(QXERR_INPUT_OUT_OF_RANGE);
  idx.resize(entries);
  val.resize(entries);
  idx.reserve(std::max(entries, static_cast<std::size_t>(std::max(d.reserveNnz, 0))));
  val.reserve(idx.capacity());

  // Merge duplicate rows column by column with a marker per row holding the
  // position of the row's entry in the current column (plus one).
  std::vector<int> mark(static_cast<std::size_t>(m) + 1, 0);
  int merged = 0;
  for (int j = 0; j < n; ++j) {
    const int first = beg[j], end = beg[j] + len[j];
    int next = first;
    int k = first;
    for (; k < end; ++k) {
      const int r = idx[k];
      if (r < 0 || r >= m) break;
      if (mark[r] == 0) {
        idx[next] = r;
        val[next] = val[k];
        mark[r] = ++next;
      } else {
        val[mark[r] - 1] += val[k];
      }
    }
    for (int p = first; p < next; ++p) mark[idx[p]] = 0;
    if (k < end) return fail(QXERR_INDEX_OUT_OF_RANGE);
    len[j] = next - first;
    merged += len[j];
  }

  if (core.lower.empty()) core.lower.assign(static_cast<std::size_t>(n), 0.0);
  if (core.upper.empty()) core.upper.assign(static_cast<std::size_t>(n), kInfinity);
  for (int j = 0; j < n; ++j) {
    core.lower[j] = clampLower(core.lower[j]);
    core.upper[j] = clampUpper(core.upper[j]);
  }
  core.lower.reserve(colCap);
  core.upper.reserve(colCap);

  d.m = m;
  d.n = n;
  d.nnz = merged;
  d.objSense = core.objSense;
  d.objConst = core.objConst;
  d.cost = std::move(core.cost);
  d.rhs = std::move(core.rhs);
  d.conType = std::move(core.conType);
  d.colBeg = std::move(beg);
  d.colLen = std::move(len);
  d.rowIdx = std::move(idx);
  d.value = std::move(val);
  d.lower = std::move(core.lower);
  d.upper = std::move(core.upper);
  // Names loaded before the data get empty names for the new items.
  d.conNames.padTo(m);
  d.varNames.padTo(n);
  d.invalidateStats();
  model.status = QX_STATUS_LOADED;
  model.lpSolution.reset();
  model.mipSolution.reset();
  model.instructErrorRow.reset();
  model.freeSolverMemory();

  const double loadSeconds = secondsSince(start);
  const auto statsStart = Clock::now();
  d.stats();
  logBaseStats(model, loadSeconds, secondsSince(statsStart));
  return 0;
}

LinearCore readLinearCore(const Model& model) {
  const ModelData& d = model.data;
  LinearCore core;
  core.m = d.m;
  core.n = d.n;
  core.objSense = d.objSense;
  core.objConst = d.objConst;
  core.nnz = d.nnz;
  core.cost = d.cost;
  core.rhs = d.rhs;
  core.conType = d.conType;
  core.lower = d.lower;
  core.upper = d.upper;
  core.colBeg.assign(static_cast<std::size_t>(d.n) + 1, 0);
  core.rowIdx.reserve(static_cast<std::size_t>(d.nnz));
  core.value.reserve(static_cast<std::size_t>(d.nnz));
  for (int j = 0; j < d.n; ++j) {
    const auto b = d.colBeg[j], e = d.colBeg[j] + d.colLen[j];
    core.rowIdx.insert(core.rowIdx.end(), d.rowIdx.begin() + b, d.rowIdx.begin() + e);
    core.value.insert(core.value.end(), d.value.begin() + b, d.value.begin() + e);
    core.colBeg[j + 1] = static_cast<int>(core.rowIdx.size());
  }
  return core;
}

int loadLPData(Model& model, int nCons, int nVars, int objSense, double objConst,
               const double* cost, const double* rhs, const char* conTypes, int nAnnz,
               const int* colBeg, const int* colLen, const double* coef, const int* rows,
               const double* lower, const double* upper) {
  // Checks that need the raw arrays come first; the rest of the checks, in
  // their order, are those of loadLinearCore.
  if (model.data.n >= 1 || model.data.m > 0) return QXERR_MODEL_ALREADY_LOADED;
  auto fail = [&](int rc) {
    model.status = QX_STATUS_UNLOADED;
    return rc;
  };
  if ((!cost && nVars != 0) || (!rhs && nCons != 0) || (!conTypes && nCons != 0) ||
      (!rows && nAnnz != 0) || (!coef && nAnnz != 0) || !colBeg)
    return fail(QXERR_ILLEGAL_NULL_POINTER);
  if (nCons < 0 || nVars < 0) return fail(QXERR_INPUT_OUT_OF_RANGE);
  LinearCore core;
  core.m = nCons;
  core.n = nVars;
  core.objSense = objSense;
  core.objConst = objConst;
  core.nnz = nAnnz;
  core.colBeg.assign(colBeg, colBeg + nVars + 1);
  const int base = colBeg[0], stored = colBeg[nVars];
  // Arrays that the core checks reject before their entries are read are
  // not copied.
  if (rows && coef && nAnnz >= 0 && nAnnz <= stored && base >= 0 && stored > base) {
    core.rowIdx.assign(rows + base, rows + stored);
    core.value.assign(coef + base, coef + stored);
  }
  core.cost.assign(cost, cost + nVars);
  core.rhs.assign(rhs, rhs + nCons);
  core.conType.assign(conTypes, conTypes + nCons);
  if (colLen) core.colLen.assign(colLen, colLen + nVars);
  if (lower) core.lower.assign(lower, lower + nVars);
  if (upper) core.upper.assign(upper, upper + nVars);
  return loadLinearCore(model, std::move(core));
}

// ----------------------------------------------------------- variable types

int loadVarType(Model& model, const char* types) {
  ModelData& d = model.data;
  if (!types) {
    d.varType.clear();
    d.invalidateStats();
    model.mipSolution.reset();
    logIntegerStats(model);
    return 0;
  }
  int scCount = 0;
  for (int j = 0; j < d.n; ++j) {
    switch (types[j]) {
      case 'C':
      case 'I':
        break;
      case 'B':
        if (d.upper[j] < 0.0 || d.lower[j] > 1.0) return QXERR_INPUT_OUT_OF_RANGE;
        break;
      case 'S':
        ++scCount;
        break;
      default:
        return QXERR_BAD_VARIABLE_TYPE;
    }
  }
  std::vector<int> scVars;
  if (scCount > 0) {
    scVars.reserve(static_cast<std::size_t>(scCount));
    for (int j = 0; j < d.n; ++j)
      if (types[j] == 'S') scVars.push_back(j);
    // Variables already semi-continuous keep their entry.
    std::vector<char> listed(static_cast<std::size_t>(d.n), 0);
    for (int j : d.scVars) listed[j] = 1;
    scVars.erase(std::remove_if(scVars.begin(), scVars.end(), [&](int j) { return listed[j] != 0; }),
                 scVars.end());
  }

  std::vector<char> stored(types, types + d.n);
  stored.reserve(d.cost.capacity());
  for (int j = 0; j < d.n; ++j) {
    if (stored[j] == 'S') stored[j] = 'C';
    if (stored[j] == 'B') {
      d.lower[j] = std::max(d.lower[j], 0.0);
      d.upper[j] = std::min(d.upper[j], 1.0);
    }
  }
  d.varType = std::move(stored);
  d.invalidateStats();
  model.mipSolution.reset();
  if (!scVars.empty()) {
    std::vector<double> lo, up;
    lo.reserve(scVars.size());
    up.reserve(scVars.size());
    for (int j : scVars) {
      lo.push_back(d.lower[j]);
      up.push_back(d.upper[j]);
    }
    appendSemiCont(model, static_cast<int>(scVars.size()), scVars.data(), lo.data(), up.data());
    dropStaleSolutions(model);
    if (wantsLog(model, kStatsPrintLevel))
      logLine(model, "\nSemicont variables   :%8d\n", static_cast<int>(d.scVars.size()));
  }
  logIntegerStats(model);
  return 0;
}

// -------------------------------------------------------- semi-continuous

int checkSemiContVars(const Model& model, int count, const int* vars, bool againstStored) {
  const ModelData& d = model.data;
  std::vector<char> seen(static_cast<std::size_t>(d.n), 0);
  if (againstStored)
    for (int j : d.scVars) seen[j] = 1;
  for (int k = 0; k < count; ++k) {
    const int j = vars[k];
    if (j < 0 || j >= d.n) return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
    if (seen[j]) return QXERR_INDEX_DUPLICATE;
    seen[j] = 1;
  }
  return 0;
}

void appendSemiCont(Model& model, int count, const int* vars, const double* lower,
                    const double* upper) {
  ModelData& d = model.data;
  d.scVars.insert(d.scVars.end(), vars, vars + count);
  d.scLower.insert(d.scLower.end(), lower, lower + count);
  for (int k = 0; k < count; ++k) {
    const int j = vars[k];
    d.upper[j] = clampUpper(upper[k]);
    d.lower[j] = semiContLowerBound(lower[k], d.upper[j]);
  }
  d.invalidateStats();
}

int loadSemiContData(Model& model, int count, const int* vars, const double* lower,
                     const double* upper) {
  ModelData& d = model.data;
  if (!d.scVars.empty()) return QXERR_MODEL_ALREADY_LOADED;
  if (!vars || !lower || !upper) return QXERR_ILLEGAL_NULL_POINTER;
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  if (int rc = checkSemiContVars(model, count, vars, false)) return rc;
  appendSemiCont(model, count, vars, lower, upper);
  dropStaleSolutions(model);
  if (wantsLog(model, kStatsPrintLevel))
    logLine(model, "\nSemicont variables   :%8d\n", static_cast<int>(d.scVars.size()));
  return 0;
}

// ------------------------------------------------------------------ names

int loadNameData(Model& model, const char* title, const char* objName, const char* rhsName,
                 const char* rngName, const char* bndName, char** conNames, char** varNames,
                 char** coneNames) {
  ModelData& d = model.data;
  if (title) d.title = title;
  if (objName) d.objName = objName;
  if (rhsName) d.rhsName = rhsName;
  if (rngName) d.rngName = rngName;
  if (bndName) d.bndName = bndName;
  if (conNames) {
    d.conNames.reserveChars(static_cast<std::size_t>(std::max(d.reserveConNameChars, 0)));
    d.conNames.assign(conNames, d.m);
  }
  if (varNames) {
    d.varNames.reserveChars(static_cast<std::size_t>(std::max(d.reserveVarNameChars, 0)));
    d.varNames.assign(varNames, d.n);
  }
  if (coneNames) d.coneNames.assign(coneNames, d.cones.count());
  if (conNames || varNames || coneNames) d.dropNameTables();
  return 0;
}

// -------------------------------------------------------- quadratic terms

int checkQCTerms(const Model& model, int count, const int* rows, const int* col1, const int* col2) {
  const ModelData& d = model.data;
  for (int k = 0; k < count; ++k) {
    if (rows[k] < -1 || rows[k] >= d.m) return QXERR_ROW_INDEX_OUT_OF_RANGE;
    if (col1[k] < 0 || col1[k] >= d.n || col2[k] < 0 || col2[k] >= d.n)
      return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
  }
  return 0;
}

void mergeQCTerms(Model& model, int count, const int* rows, const int* col1, const int* col2,
                  const double* coef) {
  ModelData& d = model.data;
  QuadraticData& q = d.qc;
  // Counting sort by row (slot r+1 for row r, slot 0 the objective), stable:
  // the stored terms of a row come before the new ones, in input order.
  const std::size_t slots = static_cast<std::size_t>(d.m) + 1;
  std::vector<int> start(slots + 1, 0);
  for (std::size_t g = 0; g < q.rows.size(); ++g)
    start[static_cast<std::size_t>(q.rows[g]) + 2] += q.beg[g + 1] - q.beg[g];
  for (int k = 0; k < count; ++k) {
    if (coef[k] == 0.0) continue;
    ++start[static_cast<std::size_t>(rows[k]) + 2];
    // A quadratic term in an equality row makes the model non-convex in
    // general: the model's convexity setting is cleared.
    if (rows[k] >= 0 && d.conType[rows[k]] == 'E') model.params.storeInt(QX_IPARAM_NLP_CONVEX, 0);
  }
  for (std::size_t s = 1; s <= slots; ++s) start[s] += start[s - 1];
  const int total = start[slots];
  std::vector<int> c1(static_cast<std::size_t>(total)), c2(c1.size());
  std::vector<double> cf(c1.size());
  std::vector<int> fill(start.begin(), start.end() - 1);
  auto put = [&](int row, int a, int b, double v) {
    const int p = fill[static_cast<std::size_t>(row) + 1]++;
    c1[p] = a;
    c2[p] = b;
    cf[p] = v;
  };
  for (std::size_t g = 0; g < q.rows.size(); ++g)
    for (int p = q.beg[g]; p < q.beg[g + 1]; ++p) put(q.rows[g], q.col1[p], q.col2[p], q.coef[p]);
  for (int k = 0; k < count; ++k)
    if (coef[k] != 0.0) put(rows[k], col1[k], col2[k], coef[k]);
  QuadraticData out;
  out.col1 = std::move(c1);
  out.col2 = std::move(c2);
  out.coef = std::move(cf);
  for (std::size_t s = 0; s < slots; ++s) {
    if (start[s + 1] == start[s]) continue;
    out.rows.push_back(static_cast<int>(s) - 1);
    out.beg.push_back(start[s]);
  }
  if (!out.rows.empty()) out.beg.push_back(total);
  q = std::move(out);
}

int loadQCData(Model& model, int count, const int* rows, const int* col1, const int* col2,
               const double* coef) {
  if (!rows || !col1 || !col2 || !coef) return QXERR_ILLEGAL_NULL_POINTER;
  if (!model.data.qc.empty() || !model.data.cones.empty()) return QXERR_MODEL_ALREADY_LOADED;
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  if (int rc = checkQCTerms(model, count, rows, col1, col2)) return rc;
  mergeQCTerms(model, count, rows, col1, col2, coef);
  model.freeNlpSolverMemory();
  model.markChanged();
  return 0;
}

// ------------------------------------------------------------------ cones

int checkCones(const Model& model, int count, const char* types, const int* beg, const int* cols) {
  const ModelData& d = model.data;
  std::vector<char> inCone(static_cast<std::size_t>(d.n), 0);
  for (int j : d.cones.cols) inCone[j] = 1;
  if (count > 0 && beg[0] < 0) return QXERR_COLUMN_LENGTH_INVALID;
  for (int k = 0; k < count; ++k) {
    if (types[k] != 'Q' && types[k] != 'R') return QXERR_BAD_CONSTRAINT_TYPE;
    const int size = beg[k + 1] - beg[k];
    if (size < (types[k] == 'Q' ? 1 : 2)) return QXERR_COLUMN_LENGTH_INVALID;
    for (int p = beg[k]; p < beg[k + 1]; ++p) {
      const int j = cols[p];
      if (j < 0 || j >= d.n || inCone[j]) return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
      inCone[j] = 1;
    }
  }
  return 0;
}

void appendCones(Model& model, int count, const char* types, const int* beg, const int* cols) {
  ColumnGroups& g = model.data.cones;
  if (g.beg.empty()) g.beg.push_back(0);
  for (int k = 0; k < count; ++k) {
    g.type.push_back(types[k]);
    g.card.push_back(0);
    g.cols.insert(g.cols.end(), cols + beg[k], cols + beg[k + 1]);
    g.beg.push_back(static_cast<int>(g.cols.size()));
  }
  // Cones added to a model with cone names get empty names.
  if (model.data.coneNames.present())
    for (int k = 0; k < count; ++k) model.data.coneNames.append({});
}

int loadConeData(Model& model, int count, const char* types, const int* beg, const int* cols) {
  const ModelData& d = model.data;
  if (!d.qc.empty() || !d.cones.empty()) return QXERR_MODEL_ALREADY_LOADED;
  if (!types || !beg || !cols) return QXERR_ILLEGAL_NULL_POINTER;
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  if (int rc = checkCones(model, count, types, beg, cols)) return rc;
  appendCones(model, count, types, beg, cols);
  model.markChanged();
  return 0;
}

// ------------------------------------------------------------------- sets

int checkSets(const Model& model, int count, const char* types, const int* card, const int* beg,
              const int* cols) {
  const ModelData& d = model.data;
  std::vector<int> seenIn(static_cast<std::size_t>(d.n), -1);
  if (count > 0 && beg[0] < 0) return QXERR_COLUMN_LENGTH_INVALID;
  for (int k = 0; k < count; ++k) {
    const int type = setTypeOf(types[k]);
    if (type == 0) return QXERR_BAD_CONSTRAINT_TYPE;
    if (type == 4) {
      if (!card) return QXERR_ILLEGAL_NULL_POINTER;
      if (card[k] < 0) return QXERR_INPUT_OUT_OF_RANGE;
    }
    const int size = beg[k + 1] - beg[k];
    const int least = type == 2 ? 2 : (type == 4 ? 0 : 1);
    if (size < least) return QXERR_COLUMN_LENGTH_INVALID;
    for (int p = beg[k]; p < beg[k + 1]; ++p) {
      const int j = cols[p];
      if (j < 0 || j >= d.n || seenIn[j] == k) return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
      seenIn[j] = k;
    }
  }
  return 0;
}

void appendSets(Model& model, int count, const char* types, const int* card, const int* beg,
                const int* cols) {
  ColumnGroups& g = model.data.sets;
  if (g.beg.empty()) g.beg.push_back(0);
  for (int k = 0; k < count; ++k) {
    g.type.push_back(static_cast<char>(setTypeOf(types[k])));
    g.card.push_back(card ? card[k] : 0);
    g.cols.insert(g.cols.end(), cols + beg[k], cols + beg[k + 1]);
    g.beg.push_back(static_cast<int>(g.cols.size()));
  }
}

int loadSETSData(Model& model, int count, const char* types, const int* card, const int* beg,
                 const int* cols) {
  if (!model.data.sets.empty()) return QXERR_MODEL_ALREADY_LOADED;
  if (!types || !beg || !cols) return QXERR_ILLEGAL_NULL_POINTER;
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  if (int rc = checkSets(model, count, types, card, beg, cols)) return rc;
  appendSets(model, count, types, card, beg, cols);
  model.mipSolution.reset();
  model.markChanged();
  return 0;
}

// -------------------------------------------------------------- priorities

int loadVarPriorities(Model& model, const int* priority) {
  ModelData& d = model.data;
  if (!priority) {
    d.priority.clear();
    return 0;
  }
  if (d.priority.size() != static_cast<std::size_t>(d.n)) d.priority.assign(static_cast<std::size_t>(d.n), 0);
  int rc = 0;
  for (int j = 0; j < d.n; ++j) {
    if (priority[j] < 0) {
      rc = QXERR_INDEX_OUT_OF_RANGE;
      continue;
    }
    d.priority[j] = priority[j];
  }
  return rc;
}

int readVarPriorities(Model& model, const char* file) {
  if (!file) return QXERR_ILLEGAL_NULL_POINTER;
  std::unique_ptr<std::FILE, FileCloser> in(std::fopen(file, "r"));
  if (!in) return QXERR_CANNOT_OPEN_FILE;
  ModelData& d = model.data;
  d.priority.assign(static_cast<std::size_t>(d.n), 0);
  constexpr int kLineLength = 255;  // longest line read as one
  char line[kLineLength + 1];
  char name[kLineLength + 1];
  while (std::fgets(line, sizeof line, in.get())) {
    int value = 0;
    if (std::sscanf(line, " %255s %d ", name, &value) != 2) continue;
    // Looked up as QXgetVariableIndex does: 2009 on an unloaded model or
    // without variable names.
    if (model.status == QX_STATUS_UNLOADED || !d.varNames.present()) return QXERR_INFO_NOT_AVAILABLE;
    const int j = d.findVariable(name);
    if (j < 0) return QXERR_COLUMN_TOKEN_NOT_FOUND;
    if (value > 0) d.priority[j] = value;
  }
  return 0;
}

// ------------------------------------------------------------------ basis

int loadBasis(Model& model, const int* colStatus, const int* rowStatus) {
  ModelData& d = model.data;
  if ((!colStatus && d.n > 0) || (!rowStatus && d.m > 0)) {
    model.freeSolverMemory();
    d.basisCols.clear();
    d.basisRows.clear();
    if (model.lpSolution && model.lpSolution->modelStatus == kStatusBasicOptimal)
      model.lpSolution->modelStatus = kStatusOptimal;
    return 0;
  }
  int basic = 0;
  for (int j = 0; j < d.n; ++j) {
    if (colStatus[j] >= 0) ++basic;
    else if (colStatus[j] < kBasisSuperbasic) return QXERR_BASIS_COL_STATUS;
  }
  for (int i = 0; i < d.m; ++i) {
    if (rowStatus[i] >= 0) ++basic;
    else if (rowStatus[i] < kBasisSuperbasic) return QXERR_BASIS_ROW_STATUS;
  }
  if (basic != d.m) {
    model.freeSolverMemory();
    return QXERR_BASIS_INVALID;
  }
  // A nonbasic column must sit at a finite bound it has, or at zero when
  // zero lies within its bounds.
  for (int j = 0; j < d.n; ++j) {
    const int st = colStatus[j];
    const bool fits = st >= 0 || st == kBasisSuperbasic ||
                      (st == kBasisAtLower && d.lower[j] > -kInfinity) ||
                      (st == kBasisAtUpper && d.upper[j] < kInfinity) ||
                      (st == kBasisFreeAtZero && d.lower[j] <= 0.0 && d.upper[j] >= 0.0);
    if (!fits) return QXERR_BASIS_BOUND_MISMATCH;
  }
  d.basisCols.assign(colStatus, colStatus + d.n);
  d.basisRows.assign(rowStatus, rowStatus + d.m);
  model.freeSolverMemory();
  return 0;
}

// ------------------------------------------------------------ start points

namespace {

// Stores a partial start point (count variables and their values) after
// checking the indices; shared by the continuous and the integer form.
template <class Value>
int loadPartialStart(const Model& model, int count, const int* vars, const Value* x,
                     std::vector<int>& storedVars, std::vector<Value>& storedX) {
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  for (int k = 0; k < count; ++k)
    if (vars[k] < 0 || vars[k] >= model.data.n) return QXERR_INDEX_OUT_OF_RANGE;
  storedVars.assign(vars, vars + count);
  storedX.assign(x, x + count);
  return 0;
}

}  // namespace

void loadVarStartPoint(Model& model, const double* x) {
  model.data.startX.assign(x, x + model.data.n);
}

void loadMIPVarStartPoint(Model& model, const double* x) {
  model.data.mipStartX.assign(x, x + model.data.n);
}

int loadVarStartPointPartial(Model& model, int count, const int* vars, const double* x) {
  return loadPartialStart(model, count, vars, x, model.data.startPartVars, model.data.startPartX);
}

int loadMIPVarStartPointPartial(Model& model, int count, const int* vars, const int* x) {
  return loadPartialStart(model, count, vars, x, model.data.mipStartPartVars,
                          model.data.mipStartPartX);
}

}  // namespace torva
