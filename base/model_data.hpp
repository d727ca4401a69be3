// The data of one optimisation problem: the model store that loads fill,
// queries read, modifications change and every solver works from.
//
// Layout (indices zero-based, m rows, n columns):
//   - the linear core in plain vectors, sized exactly m or n; their reserved
//     capacity is the store's row and column capacity, so rows and columns
//     can be appended without moving the data;
//   - the constraint matrix column-major in four vectors: colBeg (n+1 starts),
//     colLen (n lengths), rowIdx and value. Column j occupies positions
//     colBeg[j] .. colBeg[j]+colLen[j]-1; positions up to colBeg[j+1]-1 are
//     spare space into which entries of that column are inserted in place.
//     Columns lie in storage in column order. Within a column no row appears
//     twice; rows keep the order in which they were given.
//   - each further kind of data (types, names, quadratic terms, cones, sets,
//     semi-continuous variables, priorities, start points, starting basis) is
//     absent until loaded: its vectors are then empty.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "io/name_table.hpp"

namespace torva {

// Bounds at or beyond this magnitude are infinite (QX_INFINITY); loads clamp
// bounds into [-kInfinity, kInfinity].
constexpr double kInfinity = 1.0e30;

// Basis status codes of columns and rows (basic is 0 or more).
constexpr int kBasisAtLower = -1;
constexpr int kBasisAtUpper = -2;
constexpr int kBasisFreeAtZero = -3;
constexpr int kBasisSuperbasic = -4;

// Names of one kind (rows, columns or cones): one character pool holding the
// names back to back, each followed by a NUL, and the offset of each name.
class NamePool {
 public:
  // True once names of this kind were loaded (even an empty list of them).
  bool present() const noexcept { return present_; }
  int count() const noexcept { return static_cast<int>(offset_.size()); }
  const char* at(int i) const noexcept { return chars_.data() + offset_[i]; }
  std::string_view view(int i) const noexcept;
  // Characters of the pool, terminators included.
  std::size_t charCount() const noexcept { return chars_.size(); }

  void clear() noexcept;
  // Replaces the names by count entries of names (a null entry is empty).
  void assign(char** names, int count);
  // Appends one name; marks the pool present.
  void append(std::string_view name);
  // Makes the pool present with count empty names (used when names of some
  // new items arrive while the old items have none).
  void presentWithEmpty(int count);
  // When present, appends empty names until the pool holds count names.
  void padTo(int count);
  // Keeps the items i with keep[i] != 0, in their order.
  void compact(const std::vector<char>& keep);
  void reserveChars(std::size_t chars) { chars_.reserve(chars); }

 private:
  std::vector<char> chars_;
  std::vector<std::size_t> offset_;
  bool present_ = false;
};

// Quadratic terms grouped by row: the objective (row -1) first, then the rows
// in increasing order; within a row the terms keep their input order.
struct QuadraticData {
  std::vector<int> rows;    // rows that have terms
  std::vector<int> beg;     // rows.size()+1 starts into the term arrays
  std::vector<int> col1, col2;
  std::vector<double> coef;

  bool empty() const noexcept { return rows.empty(); }
  int nnz() const noexcept { return static_cast<int>(coef.size()); }
  void clear() noexcept { *this = QuadraticData{}; }
  // Position of row in rows, or -1.
  int find(int row) const noexcept;
};

// Groups of columns: cones (type 'Q' or 'R') and special ordered sets (type
// 1, 2, 3 or 4 = cardinality set, with a cardinality number).
struct ColumnGroups {
  std::vector<char> type;
  std::vector<int> card;    // sets only: cardinality number per set
  std::vector<int> beg;     // count()+1 starts into cols
  std::vector<int> cols;

  int count() const noexcept { return static_cast<int>(type.size()); }
  int nnz() const noexcept { return static_cast<int>(cols.size()); }
  bool empty() const noexcept { return type.empty(); }
  void clear() noexcept { *this = ColumnGroups{}; }
};

// Statistics of the linear core, computed after a load and kept up to date
// lazily after modifications.
struct BaseStats {
  int le = 0, ge = 0, eq = 0, rn = 0;  // rows by type ('N' rows are rn)
  int emptyRows = 0;
  int lb = 0, ub = 0, fr = 0, bx = 0;  // columns by bound type
  int fixedCols = 0;                   // boxed columns with equal bounds
  int nnz = 0;
  double density = 0.0;                // per cent of m*n
  int rows1 = 0, rows2 = 0, cols1 = 0, cols2 = 0;  // one or two nonzeros
  std::array<int, 5> denseRow{}, denseRowNnz{}, denseCol{}, denseColNnz{};
  int denseCount = 0;                  // entries of the densest lists in use
  // Coefficient of smallest and largest magnitude with its position.
  double minCoef = 0.0, maxCoef = 0.0;
  int minCoefRow = -1, minCoefCol = -1, maxCoefRow = -1, maxCoefCol = -1;
};

struct IntegerStats {
  int binaries = 0, integers = 0;
  int binaryRows = 0, integerRows = 0;  // rows that hold such a variable
};

struct ModelData {
  // ---- linear core
  int m = 0;
  int n = 0;
  int nnz = 0;        // stored matrix entries (sum of colLen)
  int objSense = 1;   // QX_MIN
  double objConst = 0.0;
  std::vector<double> cost;      // n
  std::vector<double> rhs;       // m
  std::vector<char> conType;     // m: 'L', 'E', 'G', 'N'
  std::vector<int> colBeg{0};    // n+1
  std::vector<int> colLen;       // n
  std::vector<int> rowIdx;       // colBeg[n]
  std::vector<double> value;     // colBeg[n]
  std::vector<double> lower;     // n
  std::vector<double> upper;     // n

  // ---- further data, each empty until loaded
  std::vector<char> varType;     // n: 'C', 'B', 'I'
  std::vector<int> scVars;       // semi-continuous variables
  std::vector<double> scLower;   // their semi-continuous lower bounds
  QuadraticData qc;
  ColumnGroups cones;
  ColumnGroups sets;
  std::vector<int> priority;     // n
  std::vector<double> startX;    // n
  std::vector<double> mipStartX; // n
  std::vector<int> startPartVars;
  std::vector<double> startPartX;
  std::vector<int> mipStartPartVars;
  std::vector<int> mipStartPartX;
  std::vector<int> basisCols;    // n starting basis statuses
  std::vector<int> basisRows;    // m

  // ---- names
  std::string title, objName, rhsName, rngName, bndName;
  NamePool conNames, varNames, coneNames;

  // Mirrors the nonlinear group's convexity setting (QX_IPARAM_NLP_CONVEX,
  // default 1); a quadratic term in an equality row clears it.
  int convexFlag = 1;

  // Capacity requested ahead of time by QXsetProbAllocSizes and
  // QXsetProbNameAllocSizes; applied when data are loaded or added.
  int reserveRows = 0, reserveCols = 0, reserveNnz = 0;
  int reserveConNameChars = 0, reserveVarNameChars = 0;

  bool empty() const noexcept { return m == 0 && n == 0; }
  int rowCapacity() const noexcept { return static_cast<int>(rhs.capacity()); }
  int colCapacity() const noexcept { return static_cast<int>(cost.capacity()); }
  // Entry positions allocated for the matrix (used entries plus spare space).
  int entryCapacity() const noexcept { return colBeg.empty() ? 0 : colBeg[n]; }

  char typeOf(int j) const noexcept { return varType.empty() ? 'C' : varType[j]; }

  // The model class questions an optimiser asks before choosing a method.
  bool hasIntegers() const { return integerStats().binaries + integerStats().integers > 0; }
  bool hasSemiCont() const noexcept { return !scVars.empty(); }
  bool hasSets() const noexcept { return !sets.empty(); }
  bool hasQuadratic() const noexcept { return !qc.empty(); }
  bool hasCones() const noexcept { return !cones.empty(); }

  // Name lookups: index of the name, -1 when absent. The table of a kind is
  // built on first use and dropped whenever names of that kind change.
  int findConstraint(std::string_view name) const { return lookup(conNames, conTable_, name); }
  int findVariable(std::string_view name) const { return lookup(varNames, varTable_, name); }
  int findCone(std::string_view name) const { return lookup(coneNames, coneTable_, name); }
  void dropNameTables() noexcept {
    conTable_.reset();
    varTable_.reset();
    coneTable_.reset();
  }
  bool hasNameTables() const noexcept { return conTable_ || varTable_ || coneTable_; }

  // Statistics, recomputed on demand after the data changed.
  const BaseStats& stats() const;
  const IntegerStats& integerStats() const;
  void invalidateStats() noexcept {
    statsValid_ = false;
    intStatsValid_ = false;
  }

 private:
  static int lookup(const NamePool& pool, std::unique_ptr<NameTable>& table, std::string_view name);

  mutable std::unique_ptr<NameTable> conTable_, varTable_, coneTable_;
  mutable BaseStats stats_;
  mutable IntegerStats intStats_;
  mutable bool statsValid_ = false;
  mutable bool intStatsValid_ = false;
};

}  // namespace torva
