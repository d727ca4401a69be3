// Changing a loaded model: values, types, matrix entries, rows and columns,
// and the further data (quadratic terms, cones, sets, semi-continuous
// variables), with the capacity rules of the store. The exported QXmodify*,
// QXadd*, QXdelete* and allocation functions are at the end.
//
// What deletions do to the data that refers to rows and columns:
//   - deleting rows removes their matrix entries, right-hand sides, types,
//     names and quadratic terms; the remaining rows are renumbered in their
//     old order everywhere (matrix, quadratic rows, solution vectors);
//   - deleting columns removes their entries, bounds, costs, types, names,
//     priorities and start values, every quadratic term that uses one of
//     them, their semi-continuous entries, and their memberships in cones and
//     sets. A cone or set that is left with fewer members than its type needs
//     (cone 'Q' 1, 'R' 2; set types 1 and 3 one, type 2 two, a cardinality
//     set one) is deleted as a whole, and a cardinality number above the
//     remaining member count is lowered to it. Partial start points lose the
//     entries of deleted columns;
//   - either deletion discards a loaded starting basis, whose count of basic
//     entries no longer matches the rows; the vectors of the solution records
//     are compacted so that they still describe the remaining rows and
//     columns.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "base/api.hpp"
#include "base/load.hpp"
#include "base/model.hpp"
#include "nlp/sync.hpp"

namespace torva {
namespace {

// Rows added beyond the row capacity grow it to the new row count plus this.
constexpr int kRowCapacityMargin = 100;
// Columns added beyond the column capacity grow it by at least this share.
constexpr double kColumnGrowth = 1.5;

double clampLower(double v) { return std::max(v, -kInfinity); }
double clampUpper(double v) { return std::min(v, kInfinity); }

bool isConType(char c) { return c == 'E' || c == 'L' || c == 'G' || c == 'N'; }

int spaceOf(const ModelData& d, int j) { return d.colBeg[j + 1] - d.colBeg[j]; }

// Makes room for at least total entry positions, growing geometrically.
void ensureEntries(ModelData& d, std::size_t total) {
  if (total > d.rowIdx.capacity()) {
    const std::size_t grown = std::max(total, d.rowIdx.capacity() + d.rowIdx.capacity() / 2);
    d.rowIdx.reserve(grown);
    d.value.reserve(grown);
  }
  if (total > d.rowIdx.size()) {
    d.rowIdx.resize(total);
    d.value.resize(total);
  }
}

// Gives column j `extra` more positions by shifting the columns after it.
void growColumn(ModelData& d, int j, int extra) {
  const int tailBegin = d.colBeg[j + 1];
  const int tailEnd = d.colBeg[d.n];
  ensureEntries(d, static_cast<std::size_t>(tailEnd) + extra);
  std::copy_backward(d.rowIdx.begin() + tailBegin, d.rowIdx.begin() + tailEnd,
                     d.rowIdx.begin() + tailEnd + extra);
  std::copy_backward(d.value.begin() + tailBegin, d.value.begin() + tailEnd,
                     d.value.begin() + tailEnd + extra);
  for (int k = j + 1; k <= d.n; ++k) d.colBeg[k] += extra;
}

// Grows the space of every column j to at least want[j] positions, moving
// columns towards the end in one backward pass.
void growSpaces(ModelData& d, const std::vector<int>& want) {
  int first = -1;
  for (int j = 0; j < d.n; ++j)
    if (want[j] > spaceOf(d, j)) {
      first = j;
      break;
    }
  if (first < 0) return;
  std::vector<int> beg(d.colBeg.begin(), d.colBeg.end());
  for (int j = first; j < d.n; ++j) beg[j + 1] = beg[j] + std::max(want[j], spaceOf(d, j));
  ensureEntries(d, static_cast<std::size_t>(beg[d.n]));
  for (int j = d.n - 1; j >= first; --j) {
    const int from = d.colBeg[j], to = beg[j], len = d.colLen[j];
    if (from == to) continue;
    std::copy_backward(d.rowIdx.begin() + from, d.rowIdx.begin() + from + len,
                       d.rowIdx.begin() + to + len);
    std::copy_backward(d.value.begin() + from, d.value.begin() + from + len,
                       d.value.begin() + to + len);
  }
  beg.reserve(d.colBeg.capacity());
  d.colBeg.swap(beg);
}

void reserveRows(ModelData& d, int rows) {
  const std::size_t cap = static_cast<std::size_t>(rows);
  d.rhs.reserve(cap);
  d.conType.reserve(cap);
}

void reserveCols(ModelData& d, int cols) {
  const std::size_t cap = static_cast<std::size_t>(cols);
  d.cost.reserve(cap);
  d.lower.reserve(cap);
  d.upper.reserve(cap);
  d.colLen.reserve(cap);
  d.colBeg.reserve(cap + 1);
  if (!d.varType.empty()) d.varType.reserve(cap);
}

// Old index -> new index for a keep mask (-1 for removed items).
std::vector<int> renumbering(const std::vector<char>& keep) {
  std::vector<int> map(keep.size(), -1);
  int next = 0;
  for (std::size_t i = 0; i < keep.size(); ++i)
    if (keep[i]) map[i] = next++;
  return map;
}

// Validates a list of distinct indices in [0, limit) and returns the keep
// mask with those indices cleared.
int deletionMask(int count, const int* idx, int limit, std::vector<char>& keep) {
  keep.assign(static_cast<std::size_t>(limit), 1);
  for (int k = 0; k < count; ++k) {
    const int i = idx[k];
    if (i < 0 || i >= limit) return QXERR_INDEX_OUT_OF_RANGE;
    if (!keep[i]) return QXERR_INDEX_DUPLICATE;
    keep[i] = 0;
  }
  return 0;
}

// Nonbasic status of a new column: at a finite bound, else free at zero.
int restingStatus(double lower, double upper) {
  if (lower > -kInfinity) return kBasisAtLower;
  if (upper < kInfinity) return kBasisAtUpper;
  return kBasisFreeAtZero;
}

double restingValue(double lower, double upper) {
  if (lower > -kInfinity) return lower;
  if (upper < kInfinity) return upper;
  return 0.0;
}

// Removes groups (cones or sets) k with keep[k] == 0 and renumbers.
void compactGroups(ColumnGroups& g, const std::vector<char>& keep) {
  std::vector<int> beg{0};
  int out = 0, kept = 0;
  for (int k = 0; k < g.count(); ++k) {
    if (!keep[k]) continue;
    for (int p = g.beg[k]; p < g.beg[k + 1]; ++p) g.cols[out++] = g.cols[p];
    g.type[kept] = g.type[k];
    if (!g.card.empty()) g.card[kept] = g.card[k];
    beg.push_back(out);
    ++kept;
  }
  g.type.resize(kept);
  if (!g.card.empty()) g.card.resize(kept);
  g.cols.resize(out);
  g.beg = std::move(beg);
  if (kept == 0) g.clear();
}

// Least member count of a cone ('Q', 'R') or set (1..4) type.
int leastMembers(char type, bool cone) {
  if (cone) return type == 'R' ? 2 : 1;
  return type == 2 ? 2 : 1;
}

// Removes deleted columns from groups and renumbers the rest; groups left
// too small are deleted. Returns the keep mask of the groups.
std::vector<char> remapGroups(ColumnGroups& g, const std::vector<int>& map, bool cone) {
  std::vector<char> keepGroup(static_cast<std::size_t>(g.count()), 1);
  int out = 0;
  std::vector<int> beg{0};
  for (int k = 0; k < g.count(); ++k) {
    const int start = out;
    for (int p = g.beg[k]; p < g.beg[k + 1]; ++p)
      if (map[g.cols[p]] >= 0) g.cols[out++] = map[g.cols[p]];
    const int size = out - start;
    if (!cone && g.type[k] == 4 && g.card[k] > size) g.card[k] = size;
    if (size < leastMembers(g.type[k], cone)) keepGroup[k] = 0;
    beg.push_back(out);
  }
  g.cols.resize(out);
  g.beg = std::move(beg);
  compactGroups(g, keepGroup);
  return keepGroup;
}

}  // namespace

// --------------------------------------------------------- value changes

// Passes a value change to the resident work area, which writes it into its
// own scaled copy; a work area that cannot take the change is dropped.
template <class Absorb>
void toWorkArea(Model& model, Absorb absorb) {
  if (model.workArea && !absorb(*model.workArea)) model.freeSolverMemory();
}

// Applies fn(index) to each listed index in [0, limit); stops at the first
// index out of range with 2012 (the earlier ones stay applied). The changes
// are value changes that fn has passed to the work area.
template <class Fn>
int forEachIndex(Model& model, int count, const int* idx, const void* values, int limit, Fn fn) {
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!idx || !values) return QXERR_ILLEGAL_NULL_POINTER;
  int rc = 0;
  int k = 0;
  for (; k < count; ++k) {
    const int i = idx[k];
    if (i < 0 || i >= limit) {
      rc = QXERR_INDEX_OUT_OF_RANGE;
      break;
    }
    if ((rc = fn(k, i)) != 0) break;
  }
  if (k > 0) model.markValuesChanged();
  return rc;
}

int modifyRHS(Model& model, int count, const int* rows, const double* values) {
  ModelData& d = model.data;
  return forEachIndex(model, count, rows, values, d.m, [&](int k, int i) {
    d.rhs[i] = values[k];
    toWorkArea(model, [&](WorkArea& w) { return w.absorbRow(i, d.conType[i], d.rhs[i]); });
    return 0;
  });
}

// Marks of the semi-continuous variables, built only when some exist.
std::vector<char> semiContMarks(const ModelData& d) {
  std::vector<char> mark;
  if (d.scVars.empty()) return mark;
  mark.assign(static_cast<std::size_t>(d.n), 0);
  for (int j : d.scVars) mark[j] = 1;
  return mark;
}

int modifyLowerBounds(Model& model, int count, const int* vars, const double* values) {
  ModelData& d = model.data;
  const std::vector<char> sc = semiContMarks(d);
  return forEachIndex(model, count, vars, values, d.n, [&](int k, int j) {
    double v = clampLower(values[k]);
    // Only the semi-continuous loads set the lower bound of such a variable.
    if (!sc.empty() && sc[j] && v != d.lower[j]) return QXERR_INPUT_OUT_OF_RANGE;
    if (d.typeOf(j) == 'B') {
      if (v > 1.0) return QXERR_INPUT_OUT_OF_RANGE;
      v = std::max(v, 0.0);
    }
    d.lower[j] = v;
    toWorkArea(model, [&](WorkArea& w) { return w.absorbColumnBounds(j, d.lower[j], d.upper[j]); });
    return 0;
  });
}

int modifyUpperBounds(Model& model, int count, const int* vars, const double* values) {
  ModelData& d = model.data;
  return forEachIndex(model, count, vars, values, d.n, [&](int k, int j) {
    double v = clampUpper(values[k]);
    if (d.typeOf(j) == 'B') {
      if (v < 0.0) return QXERR_INPUT_OUT_OF_RANGE;
      v = std::min(v, 1.0);
    }
    d.upper[j] = v;
    toWorkArea(model, [&](WorkArea& w) { return w.absorbColumnBounds(j, d.lower[j], d.upper[j]); });
    return 0;
  });
}

int modifyObjective(Model& model, int count, const int* vars, const double* values) {
  ModelData& d = model.data;
  return forEachIndex(model, count, vars, values, d.n, [&](int k, int j) {
    d.cost[j] = values[k];
    toWorkArea(model, [&](WorkArea& w) { return w.absorbCost(j, d.cost[j]); });
    return 0;
  });
}

int modifyConstraintType(Model& model, int count, const int* rows, const char* types) {
  ModelData& d = model.data;
  return forEachIndex(model, count, rows, types, d.m, [&](int k, int i) {
    if (!isConType(types[k])) return QXERR_PARAMETER_OUT_OF_RANGE;
    d.conType[i] = types[k];
    toWorkArea(model, [&](WorkArea& w) { return w.absorbRow(i, d.conType[i], d.rhs[i]); });
    return 0;
  });
}

int modifyVariableType(Model& model, int count, const int* vars, const char* types) {
  ModelData& d = model.data;
  return forEachIndex(model, count, vars, types, d.n, [&](int k, int j) {
    const char t = types[k];
    if (t != 'C' && t != 'B' && t != 'I') return QXERR_PARAMETER_OUT_OF_RANGE;
    if (t == 'B') {
      if (d.upper[j] < 0.0 || d.lower[j] > 1.0) return QXERR_INPUT_OUT_OF_RANGE;
      d.lower[j] = std::max(d.lower[j], 0.0);
      d.upper[j] = std::min(d.upper[j], 1.0);
      // The continuous relaxation sees a type change only through the bounds.
      toWorkArea(model, [&](WorkArea& w) { return w.absorbColumnBounds(j, d.lower[j], d.upper[j]); });
    }
    if (d.varType.empty()) {
      if (t == 'C') return 0;
      d.varType.reserve(d.cost.capacity());
      d.varType.assign(static_cast<std::size_t>(d.n), 'C');
    }
    d.varType[j] = t;
    return 0;
  });
}

int modifyAj(Model& model, int var, int count, const int* rows, const double* values) {
  ModelData& d = model.data;
  if (var < 0 || var >= d.n) return QXERR_INDEX_OUT_OF_RANGE;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!rows || !values) return QXERR_ILLEGAL_NULL_POINTER;
  // Position of each row's entry in the column.
  std::unordered_map<int, int> where;
  where.reserve(static_cast<std::size_t>(d.colLen[var]) + static_cast<std::size_t>(count));
  for (int p = d.colBeg[var], e = d.colBeg[var] + d.colLen[var]; p < e; ++p) where[d.rowIdx[p]] = p;
  int rc = 0;
  int k = 0;
  for (; k < count; ++k) {
    const int i = rows[k];
    if (i < 0 || i >= d.m) {
      rc = QXERR_INDEX_OUT_OF_RANGE;
      break;
    }
    auto it = where.find(i);
    if (it != where.end()) {
      d.value[it->second] = values[k];
      continue;
    }
    if (d.colLen[var] == spaceOf(d, var)) {
      // No spare space left: give the column room for the rest of the call
      // and as much again, so repeated insertions stay cheap.
      growColumn(d, var, std::max(count - k, d.colLen[var] / 2 + 4));
    }
    const int p = d.colBeg[var] + d.colLen[var]++;
    d.rowIdx[p] = i;
    d.value[p] = values[k];
    where.emplace(i, p);
    ++d.nnz;
  }
  if (k > 0) model.markChanged();
  return rc;
}

int deleteAj(Model& model, int var, int count, const int* rows) {
  ModelData& d = model.data;
  if (var < 0 || var >= d.n) return QXERR_INDEX_OUT_OF_RANGE;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!rows) return QXERR_ILLEGAL_NULL_POINTER;
  for (int k = 0; k < count; ++k)
    if (rows[k] < 0 || rows[k] >= d.m) return QXERR_INDEX_OUT_OF_RANGE;
  std::unordered_map<int, char> drop;
  drop.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) drop.emplace(rows[k], 1);
  const int b = d.colBeg[var];
  int out = b;
  for (int p = b, e = b + d.colLen[var]; p < e; ++p) {
    if (drop.count(d.rowIdx[p])) continue;
    d.rowIdx[out] = d.rowIdx[p];
    d.value[out] = d.value[p];
    ++out;
  }
  d.nnz -= d.colLen[var] - (out - b);
  d.colLen[var] = out - b;
  model.markChanged();
  return 0;
}

// ------------------------------------------------------------ adding rows

int addConstraints(Model& model, int count, const char* types, char** names, const int* rowbeg,
                   const double* values, const int* cols, const double* rhs) {
  ModelData& d = model.data;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!types) return QXERR_ILLEGAL_NULL_POINTER;
  if (rowbeg && rowbeg[0] < 0) return QXERR_INDEX_OUT_OF_RANGE;
  const int entries = rowbeg ? rowbeg[count] - rowbeg[0] : 0;
  if (rowbeg && entries > 0 && (!values || !cols)) return QXERR_ILLEGAL_NULL_POINTER;
  for (int r = 0; r < count; ++r)
    if (!isConType(types[r])) return QXERR_BAD_CONSTRAINT_TYPE;
  // Entries: columns in range and each at most once per row.
  std::vector<int> need(static_cast<std::size_t>(d.n), 0);
  if (rowbeg) {
    std::vector<int> stamp(static_cast<std::size_t>(d.n), -1);
    for (int r = 0; r < count; ++r) {
      if (rowbeg[r + 1] < rowbeg[r]) return QXERR_INDEX_OUT_OF_RANGE;
      for (int p = rowbeg[r]; p < rowbeg[r + 1]; ++p) {
        const int j = cols[p];
        if (j < 0 || j >= d.n) return QXERR_INDEX_OUT_OF_RANGE;
        if (stamp[j] == r) return QXERR_INDEX_DUPLICATE;
        stamp[j] = r;
        ++need[j];
      }
    }
  }

  const int oldM = d.m;
  const int newM = d.m + count;
  if (newM > d.rowCapacity()) reserveRows(d, newM + kRowCapacityMargin);
  for (int r = 0; r < count; ++r) {
    d.rhs.push_back(rhs ? rhs[r] : 0.0);
    d.conType.push_back(types[r]);
  }
  d.conNames.padTo(oldM);
  if (names) {
    if (!d.conNames.present()) d.conNames.presentWithEmpty(oldM);
    for (int r = 0; r < count; ++r) d.conNames.append(names[r] ? names[r] : "");
  } else if (d.conNames.present()) {
    for (int r = 0; r < count; ++r) d.conNames.append({});
  }
  d.dropNameTables();

  if (entries > 0) {
    // Columns without enough spare space get room for the new entries and
    // as many again.
    std::vector<int> want(static_cast<std::size_t>(d.n));
    bool grow = false;
    for (int j = 0; j < d.n; ++j) {
      const int space = spaceOf(d, j);
      want[j] = space;
      if (d.colLen[j] + need[j] > space) {
        want[j] = d.colLen[j] + 2 * need[j];
        grow = true;
      }
    }
    if (grow) growSpaces(d, want);
    for (int r = 0; r < count; ++r) {
      for (int p = rowbeg[r]; p < rowbeg[r + 1]; ++p) {
        const int j = cols[p];
        const int q = d.colBeg[j] + d.colLen[j]++;
        d.rowIdx[q] = oldM + r;
        d.value[q] = values[p];
      }
    }
    d.nnz += entries;
  }
  d.m = newM;

  // Solution vectors gain the new rows (slacks basic), and a loaded starting
  // basis stays valid with the new slacks basic.
  const std::size_t at = static_cast<std::size_t>(oldM), add = static_cast<std::size_t>(count);
  if (model.lpSolution) model.lpSolution->insertRows(at, add);
  if (model.mipSolution) model.mipSolution->insertRows(at, add);
  if (!d.basisRows.empty()) insertAt(d.basisRows, at, add, 0);
  model.freeSolverMemory();
  model.markChanged();
  return 0;
}

// --------------------------------------------------------- adding columns

int addVariables(Model& model, int count, const char* types, char** names, const int* colbeg,
                 const int* collen, const double* values, const int* rows, const double* cost,
                 const double* lower, const double* upper) {
  ModelData& d = model.data;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  // Columns as in QXloadLPData.
  std::vector<int> beg(static_cast<std::size_t>(count) + 1, 0), len(static_cast<std::size_t>(count), 0);
  int stored = 0;
  if (colbeg) {
    const int base = colbeg[0];
    if (base < 0) return QXERR_COLBEG_INVALID;
    for (int k = 0; k < count; ++k) {
      const int space = colbeg[k + 1] - colbeg[k];
      if (collen) {
        if (collen[k] < 0 || collen[k] > space) return QXERR_COLUMN_LENGTH_INVALID;
        len[k] = collen[k];
      } else {
        if (space < 0) return QXERR_COLBEG_INVALID;
        len[k] = space;
      }
      beg[k] = colbeg[k] - base;
    }
    beg[count] = colbeg[count] - base;
    stored = beg[count];
    if (stored > 0 && (!values || !rows)) return QXERR_ILLEGAL_NULL_POINTER;
    for (int k = 0; k < count; ++k)
      for (int p = colbeg[k], e = colbeg[k] + len[k]; p < e; ++p)
        if (rows[p] < 0 || rows[p] >= d.m) return QXERR_INDEX_OUT_OF_RANGE;
  }
  std::vector<double> lo(static_cast<std::size_t>(count)), up(lo.size());
  for (int k = 0; k < count; ++k) {
    lo[k] = lower ? clampLower(lower[k]) : 0.0;
    up[k] = upper ? clampUpper(upper[k]) : kInfinity;
  }
  bool anyTyped = false;
  if (types) {
    for (int k = 0; k < count; ++k) {
      const char t = types[k];
      if (t != 'C' && t != 'B' && t != 'I' && t != 'S') return QXERR_PARAMETER_OUT_OF_RANGE;
      if (t == 'B') {
        if (up[k] < 0.0 || lo[k] > 1.0) return QXERR_INPUT_OUT_OF_RANGE;
        lo[k] = std::max(lo[k], 0.0);
        up[k] = std::min(up[k], 1.0);
      }
      if (t == 'B' || t == 'I') anyTyped = true;
    }
  }

  const int oldN = d.n;
  const int newN = oldN + count;
  if (newN > d.colCapacity())
    reserveCols(d, std::max(newN, static_cast<int>(d.colCapacity() * kColumnGrowth)));
  // Entries go after the last column, duplicates merged as in a load.
  const int base = colbeg ? colbeg[0] : 0;
  const std::size_t end = static_cast<std::size_t>(d.colBeg[oldN]);
  ensureEntries(d, end + static_cast<std::size_t>(stored));
  std::vector<int> mark(static_cast<std::size_t>(d.m), 0);
  int added = 0;
  for (int k = 0; k < count; ++k) {
    const int first = static_cast<int>(end) + beg[k];
    int next = first;
    for (int p = 0; p < len[k]; ++p) {
      const int src = base + beg[k] + p;
      const int r = rows[src];
      if (mark[r] == 0) {
        d.rowIdx[next] = r;
        d.value[next] = values[src];
        mark[r] = ++next;
      } else {
        d.value[mark[r] - 1] += values[src];
      }
    }
    for (int p = first; p < next; ++p) mark[d.rowIdx[p]] = 0;
    d.colLen.push_back(next - first);
    d.colBeg.push_back(static_cast<int>(end) + beg[k + 1]);
    added += next - first;
    d.cost.push_back(cost ? cost[k] : 0.0);
    d.lower.push_back(lo[k]);
    d.upper.push_back(up[k]);
  }
  d.n = newN;
  d.nnz += added;

  // Types are stored once any variable is integer; the old columns of a
  // model without types are continuous. (An empty type array with n > 0
  // means "all continuous", so the test is on the columns, not the array.)
  const bool typed = anyTyped || (oldN > 0 && !d.varType.empty());
  if (anyTyped && d.varType.empty()) {
    d.varType.reserve(d.cost.capacity());
    d.varType.assign(static_cast<std::size_t>(oldN), 'C');
  }
  if (typed)
    for (int k = 0; k < count; ++k) {
      const char t = types ? types[k] : 'C';
      d.varType.push_back(t == 'S' ? 'C' : t);
    }
  d.varNames.padTo(oldN);
  if (names) {
    if (!d.varNames.present()) d.varNames.presentWithEmpty(oldN);
    for (int k = 0; k < count; ++k) d.varNames.append(names[k] ? names[k] : "");
  } else if (d.varNames.present()) {
    for (int k = 0; k < count; ++k) d.varNames.append({});
  }
  d.dropNameTables();
  if (!d.priority.empty()) d.priority.resize(static_cast<std::size_t>(newN), 0);
  if (!d.startX.empty()) d.startX.resize(static_cast<std::size_t>(newN), 0.0);
  if (!d.mipStartX.empty()) d.mipStartX.resize(static_cast<std::size_t>(newN), 0.0);

  // New columns rest at a bound in the solution vectors and loaded basis.
  // New columns rest at a finite bound (else at zero), nonbasic.
  const std::size_t at = static_cast<std::size_t>(oldN);
  std::vector<double> restX(static_cast<std::size_t>(count));
  std::vector<int> restStatus(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    restX[k] = restingValue(lo[k], up[k]);
    restStatus[k] = restingStatus(lo[k], up[k]);
  }
  if (model.lpSolution) model.lpSolution->appendCols(at, restX, restStatus);
  if (model.mipSolution) model.mipSolution->appendCols(at, restX, restStatus);
  if (!d.basisCols.empty()) appendAt(d.basisCols, at, restStatus);

  if (types) {
    std::vector<int> scVars;
    std::vector<double> scLo, scUp;
    for (int k = 0; k < count; ++k)
      if (types[k] == 'S') {
        scVars.push_back(oldN + k);
        scLo.push_back(lo[k]);
        scUp.push_back(up[k]);
      }
    if (!scVars.empty())
      appendSemiCont(model, static_cast<int>(scVars.size()), scVars.data(), scLo.data(), scUp.data());
  }
  model.freeSolverMemory();
  model.markChanged();
  return 0;
}

// ----------------------------------------------------------- deleting rows

int deleteConstraints(Model& model, int count, const int* rows) {
  ModelData& d = model.data;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!rows) return QXERR_ILLEGAL_NULL_POINTER;
  std::vector<char> keep;
  if (int rc = deletionMask(count, rows, d.m, keep)) return rc;
  const std::vector<int> map = renumbering(keep);

  // Matrix: drop the entries of deleted rows; each column keeps its space.
  int nnz = 0;
  for (int j = 0; j < d.n; ++j) {
    const int b = d.colBeg[j];
    int out = b;
    for (int p = b, e = b + d.colLen[j]; p < e; ++p) {
      const int r = map[d.rowIdx[p]];
      if (r < 0) continue;
      d.rowIdx[out] = r;
      d.value[out] = d.value[p];
      ++out;
    }
    d.colLen[j] = out - b;
    nnz += out - b;
  }
  d.nnz = nnz;
  compactVector(d.rhs, keep);
  compactVector(d.conType, keep);
  d.conNames.compact(keep);
  d.dropNameTables();

  // Quadratic rows: drop deleted ones, renumber the rest (order is kept).
  if (!d.qc.empty()) {
    QuadraticData& q = d.qc;
    QuadraticData out;
    for (std::size_t g = 0; g < q.rows.size(); ++g) {
      const int row = q.rows[g];
      const int nr = row < 0 ? -1 : map[row];
      if (row >= 0 && nr < 0) continue;
      out.rows.push_back(nr);
      out.beg.push_back(out.nnz());
      out.col1.insert(out.col1.end(), q.col1.begin() + q.beg[g], q.col1.begin() + q.beg[g + 1]);
      out.col2.insert(out.col2.end(), q.col2.begin() + q.beg[g], q.col2.begin() + q.beg[g + 1]);
      out.coef.insert(out.coef.end(), q.coef.begin() + q.beg[g], q.coef.begin() + q.beg[g + 1]);
    }
    if (!out.rows.empty()) out.beg.push_back(out.nnz());
    q = std::move(out);
  }

  if (model.lpSolution) model.lpSolution->eraseRows(keep);
  if (model.mipSolution) model.mipSolution->eraseRows(keep);
  d.basisCols.clear();
  d.basisRows.clear();
  d.m -= count;
  model.freeSolverMemory();
  model.markChanged();
  return 0;
}

// -------------------------------------------------------- deleting columns

int deleteVariables(Model& model, int count, const int* vars) {
  ModelData& d = model.data;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!vars) return QXERR_ILLEGAL_NULL_POINTER;
  std::vector<char> keep;
  if (int rc = deletionMask(count, vars, d.n, keep)) return rc;
  const std::vector<int> map = renumbering(keep);

  // Matrix: move the kept columns forward, each with its spare space.
  int out = 0, kept = 0, nnz = 0;
  for (int j = 0; j < d.n; ++j) {
    const int b = d.colBeg[j], space = spaceOf(d, j), len = d.colLen[j];
    if (!keep[j]) continue;
    if (out != b) {
      std::copy(d.rowIdx.begin() + b, d.rowIdx.begin() + b + len, d.rowIdx.begin() + out);
      std::copy(d.value.begin() + b, d.value.begin() + b + len, d.value.begin() + out);
    }
    d.colBeg[kept] = out;
    d.colLen[kept] = len;
    out += space;
    nnz += len;
    ++kept;
  }
  d.colBeg[kept] = out;
  d.colBeg.resize(static_cast<std::size_t>(kept) + 1);
  d.colLen.resize(static_cast<std::size_t>(kept));
  d.rowIdx.resize(static_cast<std::size_t>(out));
  d.value.resize(static_cast<std::size_t>(out));
  d.nnz = nnz;

  compactVector(d.cost, keep);
  compactVector(d.lower, keep);
  compactVector(d.upper, keep);
  if (!d.varType.empty()) compactVector(d.varType, keep);
  if (!d.priority.empty()) compactVector(d.priority, keep);
  if (!d.startX.empty()) compactVector(d.startX, keep);
  if (!d.mipStartX.empty()) compactVector(d.mipStartX, keep);
  d.varNames.compact(keep);
  d.dropNameTables();

  // Index lists: drop entries of deleted columns, renumber the others.
  auto remapList = [&](std::vector<int>& idx, auto& vals) {
    std::size_t o = 0;
    for (std::size_t k = 0; k < idx.size(); ++k) {
      const int nj = map[idx[k]];
      if (nj < 0) continue;
      idx[o] = nj;
      vals[o] = vals[k];
      ++o;
    }
    idx.resize(o);
    vals.resize(o);
  };
  remapList(d.startPartVars, d.startPartX);
  remapList(d.mipStartPartVars, d.mipStartPartX);
  remapList(d.scVars, d.scLower);

  if (!d.qc.empty()) {
    QuadraticData& q = d.qc;
    QuadraticData o;
    for (std::size_t g = 0; g < q.rows.size(); ++g) {
      const int start = o.nnz();
      for (int p = q.beg[g]; p < q.beg[g + 1]; ++p) {
        const int a = map[q.col1[p]], b = map[q.col2[p]];
        if (a < 0 || b < 0) continue;
        o.col1.push_back(a);
        o.col2.push_back(b);
        o.coef.push_back(q.coef[p]);
      }
      if (o.nnz() == start) continue;
      o.rows.push_back(q.rows[g]);
      o.beg.push_back(start);
    }
    if (!o.rows.empty()) o.beg.push_back(o.nnz());
    q = std::move(o);
  }
  if (!d.cones.empty()) {
    const std::vector<char> keptCones = remapGroups(d.cones, map, true);
    d.coneNames.compact(keptCones);
  }
  if (!d.sets.empty()) remapGroups(d.sets, map, false);

  if (model.lpSolution) model.lpSolution->eraseCols(keep);
  if (model.mipSolution) model.mipSolution->eraseCols(keep);
  d.basisCols.clear();
  d.basisRows.clear();
  d.n = kept;
  model.freeSolverMemory();
  model.markChanged();
  return 0;
}

// ---------------------------------------------------------- further data

int addQCterms(Model& model, int count, const int* rows, const int* col1, const int* col2,
               const double* coef) {
  if (count == 0) return 0;
  if (!rows || !col1 || !col2 || !coef) return QXERR_ILLEGAL_NULL_POINTER;
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  if (!model.data.cones.empty()) return QXERR_MODEL_ALREADY_LOADED;
  if (int rc = checkQCTerms(model, count, rows, col1, col2)) return rc;
  mergeQCTerms(model, count, rows, col1, col2, coef);
  model.freeNlpSolverMemory();
  model.markChanged();
  return 0;
}

int deleteQCterms(Model& model, int count, const int* rows) {
  ModelData& d = model.data;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!rows) return QXERR_ILLEGAL_NULL_POINTER;
  std::vector<char> drop(static_cast<std::size_t>(d.m) + 1, 0);
  for (int k = 0; k < count; ++k) {
    if (rows[k] < -1 || rows[k] >= d.m) return QXERR_ROW_INDEX_OUT_OF_RANGE;
    drop[static_cast<std::size_t>(rows[k]) + 1] = 1;
  }
  QuadraticData& q = d.qc;
  QuadraticData out;
  for (std::size_t g = 0; g < q.rows.size(); ++g) {
    if (drop[static_cast<std::size_t>(q.rows[g]) + 1]) continue;
    out.rows.push_back(q.rows[g]);
    out.beg.push_back(out.nnz());
    out.col1.insert(out.col1.end(), q.col1.begin() + q.beg[g], q.col1.begin() + q.beg[g + 1]);
    out.col2.insert(out.col2.end(), q.col2.begin() + q.beg[g], q.col2.begin() + q.beg[g + 1]);
    out.coef.insert(out.coef.end(), q.coef.begin() + q.beg[g], q.coef.begin() + q.beg[g + 1]);
  }
  if (!out.rows.empty()) out.beg.push_back(out.nnz());
  q = std::move(out);
  model.freeNlpSolverMemory();
  model.markChanged();
  return 0;
}

int addCones(Model& model, int count, const char* types, char** names, const int* beg,
             const int* cols) {
  ModelData& d = model.data;
  if (count == 0) return 0;
  if (!d.qc.empty()) return QXERR_MODEL_ALREADY_LOADED;
  if (!types || !beg || !cols) return QXERR_ILLEGAL_NULL_POINTER;
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  if (int rc = checkCones(model, count, types, beg, cols)) return rc;
  const int oldCount = d.cones.count();
  d.coneNames.padTo(oldCount);
  if (names && !d.coneNames.present()) d.coneNames.presentWithEmpty(oldCount);
  const bool hadNames = d.coneNames.present();
  appendCones(model, count, types, beg, cols);  // appends empty names when names exist
  if (names && hadNames) {
    // Replace the empty names just appended by the given ones.
    std::vector<char> keep(static_cast<std::size_t>(d.coneNames.count()), 1);
    for (int k = 0; k < count; ++k) keep[static_cast<std::size_t>(oldCount + k)] = 0;
    d.coneNames.compact(keep);
    for (int k = 0; k < count; ++k) d.coneNames.append(names[k] ? names[k] : "");
  }
  d.dropNameTables();
  model.markChanged();
  return 0;
}

int deleteCones(Model& model, int count, const int* cones) {
  ModelData& d = model.data;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!cones) return QXERR_ILLEGAL_NULL_POINTER;
  std::vector<char> keep;
  if (int rc = deletionMask(count, cones, d.cones.count(), keep)) return rc;
  compactGroups(d.cones, keep);
  if (d.coneNames.present()) {
    keep.resize(static_cast<std::size_t>(d.coneNames.count()), 1);
    d.coneNames.compact(keep);
  }
  d.dropNameTables();
  model.markChanged();
  return 0;
}

// Replaces the members (and type, card) of group k.
void replaceGroup(ColumnGroups& g, int k, char type, int card, int nnz, const int* cols) {
  const int b = g.beg[k], e = g.beg[k + 1];
  const int delta = nnz - (e - b);
  std::vector<int> members(cols, cols + nnz);
  g.cols.erase(g.cols.begin() + b, g.cols.begin() + e);
  g.cols.insert(g.cols.begin() + b, members.begin(), members.end());
  for (int q = k + 1; q <= g.count(); ++q) g.beg[q] += delta;
  g.type[k] = type;
  if (!g.card.empty()) g.card[k] = card;
}

int modifyCone(Model& model, int cone, char type, int nnz, const int* cols) {
  ModelData& d = model.data;
  if (cone < 0 || cone >= d.cones.count()) return QXERR_INDEX_OUT_OF_RANGE;
  if (nnz > 0 && !cols) return QXERR_ILLEGAL_NULL_POINTER;
  if (type != 'Q' && type != 'R') return QXERR_BAD_CONSTRAINT_TYPE;
  if (nnz < leastMembers(type, true)) return QXERR_COLUMN_LENGTH_INVALID;
  std::vector<char> taken(static_cast<std::size_t>(d.n), 0);
  for (int k = 0; k < d.cones.count(); ++k)
    if (k != cone)
      for (int p = d.cones.beg[k]; p < d.cones.beg[k + 1]; ++p) taken[d.cones.cols[p]] = 1;
  for (int p = 0; p < nnz; ++p) {
    if (cols[p] < 0 || cols[p] >= d.n || taken[cols[p]]) return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
    taken[cols[p]] = 1;
  }
  replaceGroup(d.cones, cone, type, 0, nnz, cols);
  model.markChanged();
  return 0;
}

int addSETS(Model& model, int count, const char* types, const int* card, const int* beg,
            const int* cols) {
  if (count == 0) return 0;
  if (!types || !beg || !cols) return QXERR_ILLEGAL_NULL_POINTER;
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  if (int rc = checkSets(model, count, types, card, beg, cols)) return rc;
  appendSets(model, count, types, card, beg, cols);
  model.mipSolution.reset();
  model.markChanged();
  return 0;
}

int deleteSETS(Model& model, int count, const int* sets) {
  ModelData& d = model.data;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!sets) return QXERR_ILLEGAL_NULL_POINTER;
  std::vector<char> keep;
  if (int rc = deletionMask(count, sets, d.sets.count(), keep)) return rc;
  compactGroups(d.sets, keep);
  model.mipSolution.reset();
  model.markChanged();
  return 0;
}

int modifySET(Model& model, int set, char type, int card, int nnz, const int* cols) {
  ModelData& d = model.data;
  if (set < 0 || set >= d.sets.count()) return QXERR_INDEX_OUT_OF_RANGE;
  if (nnz > 0 && !cols) return QXERR_ILLEGAL_NULL_POINTER;
  if (nnz < 0) return QXERR_COLUMN_LENGTH_INVALID;
  // Validated as a one-set load.
  const int beg[] = {0, nnz};
  const int cards[] = {card};
  const char types[] = {type};
  if (int rc = checkSets(model, 1, types, cards, beg, cols)) return rc;
  const char normalised = static_cast<char>(type >= '1' && type <= '4' ? type - '0' : type);
  replaceGroup(d.sets, set, normalised, card, nnz, cols);
  model.mipSolution.reset();
  model.markChanged();
  return 0;
}

int modifySemiContVars(Model& model, int count, const int* vars, const double* lower,
                       const double* upper) {
  ModelData& d = model.data;
  if (count == 0) return 0;
  if (!vars || !lower || !upper) return QXERR_ILLEGAL_NULL_POINTER;
  if (count < 0) return QXERR_INPUT_OUT_OF_RANGE;
  if (int rc = checkSemiContVars(model, count, vars, false)) return rc;
  std::vector<int> pos(static_cast<std::size_t>(d.n), -1);
  for (std::size_t k = 0; k < d.scVars.size(); ++k) pos[d.scVars[k]] = static_cast<int>(k);
  std::vector<int> fresh;
  std::vector<double> freshLo, freshUp;
  for (int k = 0; k < count; ++k) {
    const int j = vars[k];
    if (pos[j] >= 0) {
      d.scLower[pos[j]] = lower[k];
      d.upper[j] = clampUpper(upper[k]);
      d.lower[j] = semiContLowerBound(lower[k], d.upper[j]);
    } else {
      fresh.push_back(j);
      freshLo.push_back(lower[k]);
      freshUp.push_back(upper[k]);
    }
  }
  if (!fresh.empty())
    appendSemiCont(model, static_cast<int>(fresh.size()), fresh.data(), freshLo.data(), freshUp.data());
  dropStaleSolutions(model);
  return 0;
}

int deleteSemiContVars(Model& model, int count, const int* vars) {
  ModelData& d = model.data;
  if (count <= 0) return count < 0 ? QXERR_INPUT_OUT_OF_RANGE : 0;
  if (!vars) return QXERR_ILLEGAL_NULL_POINTER;
  std::vector<int> pos(static_cast<std::size_t>(d.n), -1);
  for (std::size_t k = 0; k < d.scVars.size(); ++k) pos[d.scVars[k]] = static_cast<int>(k);
  std::vector<char> keep(d.scVars.size(), 1);
  for (int k = 0; k < count; ++k) {
    const int j = vars[k];
    if (j < 0 || j >= d.n) return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
    if (pos[j] < 0) return QXERR_INDEX_OUT_OF_RANGE;
    if (!keep[pos[j]]) return QXERR_INDEX_DUPLICATE;
    keep[pos[j]] = 0;
  }
  compactVector(d.scVars, keep);
  compactVector(d.scLower, keep);
  dropStaleSolutions(model);
  return 0;
}

// ---------------------------------------------------------------- capacity

int addEmptySpacesAcolumns(Model& model, const int* spaces) {
  ModelData& d = model.data;
  if (!spaces) return QXERR_ILLEGAL_NULL_POINTER;
  std::vector<int> want(static_cast<std::size_t>(d.n));
  for (int j = 0; j < d.n; ++j) {
    if (spaces[j] < 0) return QXERR_COLUMN_LENGTH_INVALID;
    want[j] = d.colLen[j] + spaces[j];
  }
  growSpaces(d, want);
  return 0;
}

int setProbAllocSizes(Model& model, int nCons, int nVars, int nAnnz) {
  ModelData& d = model.data;
  if (nCons < 0 || nVars < 0 || nAnnz < 0) return QXERR_INPUT_OUT_OF_RANGE;
  d.reserveRows = nCons;
  d.reserveCols = nVars;
  d.reserveNnz = nAnnz;
  if (nCons > d.rowCapacity()) reserveRows(d, nCons);
  if (nVars > d.colCapacity()) reserveCols(d, nVars);
  if (static_cast<std::size_t>(nAnnz) > d.rowIdx.capacity()) {
    d.rowIdx.reserve(static_cast<std::size_t>(nAnnz));
    d.value.reserve(static_cast<std::size_t>(nAnnz));
  }
  return 0;
}

int setProbNameAllocSizes(Model& model, int conChars, int varChars) {
  ModelData& d = model.data;
  if (conChars < 0 || varChars < 0) return QXERR_INPUT_OUT_OF_RANGE;
  d.reserveConNameChars = conChars;
  d.reserveVarNameChars = varChars;
  d.conNames.reserveChars(static_cast<std::size_t>(conChars));
  d.varNames.reserveChars(static_cast<std::size_t>(varChars));
  return 0;
}

}  // namespace torva

// ============================================================ C interface

using torva::guarded;

// Every change reaches the instruction list of the model too, when it has one.
#define TORVA_MODIFY_DELETING(model, deleted, call)                                               \
  do {                                                                                            \
    if (!(model)) return QXERR_ILLEGAL_NULL_POINTER;                                              \
    return guarded([&] { return torva::nlp::syncedEdit(*(model), deleted, [&] { return torva::call; }); }); \
  } while (0)
#define TORVA_MODIFY(model, call) TORVA_MODIFY_DELETING(model, torva::nlp::CoreDeletion{}, call)

extern "C" {

QXAPI int QXmodifyRHS(QXmodel model, int count, const int* rows, const double* values) {
  TORVA_MODIFY(model, modifyRHS(*model, count, rows, values));
}
QXAPI int QXmodifyLowerBounds(QXmodel model, int count, const int* vars, const double* values) {
  TORVA_MODIFY(model, modifyLowerBounds(*model, count, vars, values));
}
QXAPI int QXmodifyUpperBounds(QXmodel model, int count, const int* vars, const double* values) {
  TORVA_MODIFY(model, modifyUpperBounds(*model, count, vars, values));
}
QXAPI int QXmodifyObjective(QXmodel model, int count, const int* vars, const double* values) {
  TORVA_MODIFY(model, modifyObjective(*model, count, vars, values));
}
QXAPI int QXmodifyObjConstant(QXmodel model, double value) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::nlp::syncedEdit(*model, {}, [&] {
      model->data.objConst = value;
      model->freeSolverMemory();
      model->markChanged();
      return 0;
    });
  });
}
QXAPI int QXmodifyConstraintType(QXmodel model, int count, const int* rows, const char* types) {
  TORVA_MODIFY(model, modifyConstraintType(*model, count, rows, types));
}
QXAPI int QXmodifyVariableType(QXmodel model, int count, const int* vars, const char* types) {
  TORVA_MODIFY(model, modifyVariableType(*model, count, vars, types));
}
QXAPI int QXmodifyAj(QXmodel model, int var, int count, const int* rows, const double* values) {
  TORVA_MODIFY(model, modifyAj(*model, var, count, rows, values));
}
QXAPI int QXdeleteAj(QXmodel model, int var, int count, const int* rows) {
  TORVA_MODIFY(model, deleteAj(*model, var, count, rows));
}
QXAPI int QXaddConstraints(QXmodel model, int count, const char* types, char** names,
                           const int* rowbeg, const double* values, const int* cols,
                           const double* rhs) {
  TORVA_MODIFY(model, addConstraints(*model, count, types, names, rowbeg, values, cols, rhs));
}
QXAPI int QXaddVariables(QXmodel model, int count, const char* types, char** names,
                         const int* colbeg, const int* collen, const double* values,
                         const int* rows, const double* cost, const double* lower,
                         const double* upper) {
  TORVA_MODIFY(model, addVariables(*model, count, types, names, colbeg, collen, values, rows, cost,
                                   lower, upper));
}
QXAPI int QXdeleteConstraints(QXmodel model, int count, const int* rows) {
  TORVA_MODIFY_DELETING(model, (torva::nlp::CoreDeletion{count, rows, nullptr}),
                        deleteConstraints(*model, count, rows));
}
QXAPI int QXdeleteVariables(QXmodel model, int count, const int* vars) {
  TORVA_MODIFY_DELETING(model, (torva::nlp::CoreDeletion{count, nullptr, vars}),
                        deleteVariables(*model, count, vars));
}
QXAPI int QXaddQCterms(QXmodel model, int QCnonzeros, const int* QCrowndx, const int* QCcolndx1,
                       const int* QCcolndx2, const double* QCcoef) {
  TORVA_MODIFY(model, addQCterms(*model, QCnonzeros, QCrowndx, QCcolndx1, QCcolndx2, QCcoef));
}
QXAPI int QXdeleteQCterms(QXmodel model, int count, const int* rows) {
  TORVA_MODIFY(model, deleteQCterms(*model, count, rows));
}
QXAPI int QXaddCones(QXmodel model, int count, const char* types, char** names, const int* begcone,
                     const int* cols) {
  TORVA_MODIFY(model, addCones(*model, count, types, names, begcone, cols));
}
QXAPI int QXdeleteCones(QXmodel model, int count, const int* cones) {
  TORVA_MODIFY(model, deleteCones(*model, count, cones));
}
QXAPI int QXmodifyCone(QXmodel model, int cone, char type, int nnz, const int* cols) {
  TORVA_MODIFY(model, modifyCone(*model, cone, type, nnz, cols));
}
QXAPI int QXaddSETS(QXmodel model, int count, const char* types, const int* cardnum,
                    const int* begcol, const int* cols) {
  TORVA_MODIFY(model, addSETS(*model, count, types, cardnum, begcol, cols));
}
QXAPI int QXdeleteSETS(QXmodel model, int count, const int* sets) {
  TORVA_MODIFY(model, deleteSETS(*model, count, sets));
}
QXAPI int QXmodifySET(QXmodel model, int set, char type, int cardnum, int nnz, const int* cols) {
  TORVA_MODIFY(model, modifySET(*model, set, type, cardnum, nnz, cols));
}
QXAPI int QXmodifySemiContVars(QXmodel model, int count, const int* vars, const double* lower,
                               const double* upper) {
  TORVA_MODIFY(model, modifySemiContVars(*model, count, vars, lower, upper));
}
QXAPI int QXdeleteSemiContVars(QXmodel model, int count, const int* vars) {
  TORVA_MODIFY(model, deleteSemiContVars(*model, count, vars));
}
QXAPI int QXaddEmptySpacesAcolumns(QXmodel model, const int* spaces) {
  TORVA_MODIFY(model, addEmptySpacesAcolumns(*model, spaces));
}
QXAPI int QXsetProbAllocSizes(QXmodel model, int nCons, int nVars, int nAnnz) {
  TORVA_MODIFY(model, setProbAllocSizes(*model, nCons, nVars, nAnnz));
}
QXAPI int QXsetProbNameAllocSizes(QXmodel model, int nConNameChars, int nVarNameChars) {
  TORVA_MODIFY(model, setProbNameAllocSizes(*model, nConNameChars, nVarNameChars));
}

}  // extern "C"
