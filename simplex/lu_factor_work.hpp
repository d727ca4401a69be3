// LU kernel internals: the active submatrix and the phases of one
// factorisation (loading the basis, column singletons, row singletons, the
// Markowitz search and the elimination of the bump). The kernel runs the
// phases in that order and then installs the pivot sequence as its factors.
#pragma once

#include <span>
#include <vector>

#include "simplex/lu.hpp"

namespace torva {

// Active submatrix of the factorisation: columns with values, rows with
// column indices only, and doubly linked lists of rows and columns by count.
class LuActiveMatrix {
 public:
  LuListPool col, row;      // row lists may hold columns already pivoted (skipped)
  std::vector<int> rowCnt;  // active entries per row
  std::vector<int> colHead, colNext, colPrev, rowHead, rowNext, rowPrev;
  std::vector<double> colMax;
  std::vector<char> colMaxValid;

  void initLists(int m);
  static void link(std::vector<int>& head, std::vector<int>& next, std::vector<int>& prev, int x, int count);
  static void unlink(std::vector<int>& head, std::vector<int>& next, std::vector<int>& prev, int x, int count);
  void linkCol(int j) { link(colHead, colNext, colPrev, j, col.len[j]); }
  void unlinkCol(int j) { unlink(colHead, colNext, colPrev, j, col.len[j]); }
  void linkRow(int i) { link(rowHead, rowNext, rowPrev, i, rowCnt[i]); }
  void unlinkRow(int i) { unlink(rowHead, rowNext, rowPrev, i, rowCnt[i]); }
  double columnMax(int j);
};

// A pivot candidate of the Markowitz search.
struct LuCandidate {
  int row = -1, col = -1;
  double value = 0.0;
};

// Answer of the bump elimination when the growth limit was exceeded.
inline constexpr int kLuGrowthExceeded = -1;

// Work storage of one factorisation, kept between factorisations so that
// refactorising reuses its memory. Columns are numbered by basis position.
class LuFactorWork {
 public:
  // Tolerances of the run (from the kernel's options).
  int numCandidates = 4;
  double pivRel = 0.01, epsPivAbs = 1e-8, epsNonz = 2.22045e-16;
  bool acceptGrowth = false;

  // Loads the basis into the active matrix; kLuOk, kLuBadInput or kLuOutOfMemory.
  int load(const LuMatrix& a, std::span<const int> basic, int m);
  void columnSingletons();
  void rowSingletons();
  // Markowitz search and elimination until no acceptable pivot is left;
  // kLuOk or kLuGrowthExceeded.
  int eliminateBump();

  // Largest column sum of magnitudes of the loaded basis (its 1-norm), over
  // every entry of the matrix's columns (tiny ones included) in their order.
  double basisNorm1 = 0.0;

  // Pivot sequence (row, basis position, value) in elimination order.
  std::vector<int> pivRow, pivCol;
  std::vector<double> pivVal;
  std::vector<char> rowDone, colDone, colRejected;
  // U entries outside the diagonal: (row, position, value).
  std::vector<int> uRow, uCol;
  std::vector<double> uVal;
  // L as column etas in pivot order: eta k eliminates below row lPivRow[k].
  std::vector<int> lStart, lPivRow, lIndex;
  std::vector<double> lValue;

 private:
  // Below this magnitude the remainder of column j counts as zero: the
  // absolute pivot tolerance for columns of unit scale or more (scaled down
  // with smaller columns), and the rounding left by elimination in a column
  // whose entries have reached colPeak (relative to scale and growth).
  double dependTol(int j) const;
  void takePivot(int i, int j, double x);
  void rejectColumn(int j) { colDone[j] = colRejected[j] = 1; }
  void closeEta(int pivotRow);
  void purgeRow(int i);
  LuCandidate markowitzSearch();
  void dropDependentColumn(int j);
  int eliminate(const LuCandidate& c, int step);
  bool updateColumn(int j, double u, int step);

  int m_ = 0;
  LuActiveMatrix act_;
  std::vector<int> mark_, colCnt_, pivotRowOfCol_, stack_, rowMark_, rowSeen_, lRows_, pivotRowCols_;
  std::vector<double> rowMult_, colScale_, colPeak_;
  double basisMax_ = 1.0, entryMax_ = 0.0;
  int seenStamp_ = 0;
};

}  // namespace torva
