// Sparse LU kernel for simplex bases.
//
// Factorises a basis matrix B (columns of the constraint matrix and unit slack
// columns), keeps the factors up to date after column replacements, and solves
// B x = a (FTRAN) and B^T y = e (BTRAN) on sparse and hypersparse vectors.
//
//   Factorisation: triangular peeling (column singletons, then row singletons,
//   iteratively) followed by a Markowitz search with threshold pivoting on the
//   remaining bump, after Suhl and Suhl (1990).
//   Update: Forrest-Tomlin (1972) row-eta update of U, or product-form etas.
//   Solves: column-oriented triangular solves that skip zero pivots; where
//   the result of a stage is predicted to be sparse (Hall and McKinnon 2005:
//   a running average of earlier results of the same kind of solve) the
//   hypersparse variant touches only the pivots whose entries became nonzero,
//   taking them in pivot order from a bit set of pending pivots (following
//   the numerical rather than the symbolic pattern, so exact cancellation is
//   not followed). The Forrest-Tomlin row etas are listed per row, so a sparse
//   solve applies only the etas that touch it. Several right-hand sides can
//   share one pass over the factors. The sparse variant of the Forrest-Tomlin
//   row elimination finds its reach by depth-first search.
//   Singularity: a column is dependent when what is left of it falls below
//   the absolute pivot tolerance (scaled down for columns whose entries are
//   all smaller than 1) or below the rounding its elimination can have left,
//   relative to the largest magnitude its entries reached.
//   Extension: cut rows (with their slacks basic) and new columns are added
//   to a factorisation as one more row eta per row; copies are snapshots.
//   Condition: 1-norm estimate of ||B^-1|| (Hager 1984, Higham 1988) and p-norm
//   power estimates (Boyd 1974, Higham 1992) for the 2- and 4-norm condition.
//
// The factors represent B = L R^-1 U in permuted form, with L a product of
// column etas, R the row etas of the Forrest-Tomlin updates and U upper
// triangular in the current pivot order; the product-form update keeps its etas
// in basis-position space instead.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace torva {

// Result codes of the factorisation, update and solves.
inline constexpr int kLuOk = 0;
inline constexpr int kLuSingular = 1;        // factorisation found rank < m
inline constexpr int kLuOutOfMemory = 2;
inline constexpr int kLuSingularUpdate = 3;  // update pivot too small
inline constexpr int kLuOutOfSpace = 4;      // update storage exhausted: refactorise
inline constexpr int kLuBadInput = 5;        // bad dimension or index (internal error)
inline constexpr int kLuNotFactored = 6;     // no valid factorisation (internal error)
// The update's new diagonal disagrees with the pivot the caller computed for
// the same basis change: the factors are left as they were and should be
// rebuilt from the new basis (a stability refactorisation).
inline constexpr int kLuUnstableUpdate = 7;
// Relative disagreement between the update's diagonal and the caller's pivot
// above which the update counts as unstable. Both are computed from the same
// factors in different orders, so in a sound factorisation they agree to
// about eps times the condition of U; 1e-7 (about 1e9 * eps) is the level at
// which simplex codes commonly treat a pivot as numerically troubled.
inline constexpr double kLuUnstableRelTol = 1e-7;

// Result codes of the option calls.
inline constexpr int kLuErrBadOptionId = 1001;
inline constexpr int kLuErrNullKernel = 1004;
inline constexpr int kLuErrBadOptionValue = 1006;

// Option identifiers.
inline constexpr int kLuIparNumCandits = 1300;
inline constexpr int kLuIparMaxUpdates = 1301;
inline constexpr int kLuIparPrintLevel = 1302;
inline constexpr int kLuIparUpdateType = 1303;
inline constexpr int kLuIparUsePivcol = 1304;
inline constexpr int kLuIparMemExp = 1305;
inline constexpr int kLuIparReserved = 1306;
inline constexpr int kLuIparIsDebug = 1307;
inline constexpr int kLuIparProfile = 1308;
inline constexpr int kLuDparEpsDiag = 2400;
inline constexpr int kLuDparEpsNonz = 2401;
inline constexpr int kLuDparEpsPivAbs = 2402;
inline constexpr int kLuDparEpsPivRel = 2403;
inline constexpr int kLuDparIniRcond = 2404;
inline constexpr int kLuDparSpvtolUpdate = 2405;
inline constexpr int kLuDparSpvtolFtran = 2406;
inline constexpr int kLuDparSpvtolBtran = 2407;

// Column-major sparse matrix, borrowed from its owner. length may be null,
// in which case column j spans begin[j]..begin[j+1].
struct LuMatrix {
  int numRows = 0;
  int numCols = 0;
  const int* begin = nullptr;
  const int* length = nullptr;
  const int* index = nullptr;
  const double* value = nullptr;
};

// Value given to a listed entry of an LuVector that cancelled to exactly
// zero, so that it is told apart from an unlisted one; below every drop
// tolerance, so pruning removes it.
inline constexpr double kLuListedZero = 1e-300;

// A vector of dimension m kept dense (array) with the list of its nonzero
// positions (index[0..count)). count < 0 marks a dense vector whose index
// is not known; the kernel then builds it.
class LuVector {
 public:
  LuVector() = default;
  explicit LuVector(int dim) { resize(dim); }
  void resize(int dim);
  int dimension() const { return static_cast<int>(array.size()); }
  // Zeroes the vector (touching only the listed entries when sparse).
  void clear();
  // Adds v to entry i, keeping the index list.
  void add(int i, double v);
  // Rebuilds the index list by scanning the array.
  void rebuildIndex();
  // Drops entries of magnitude below tol from the list (and the array).
  void prune(double tol);

  std::vector<double> array;
  std::vector<int> index;
  int count = 0;
};

// Kinds of solves the simplex makes, each with its own record of result
// densities (the densities differ widely between them): FTRAN of an entering
// column, BTRAN of a unit row vector, FTRAN for the steepest-edge weights
// (of a BTRAN result, usually much denser).
enum class LuSolveKind { kColumn = 0, kRow = 1, kSteepestEdge = 2 };
inline constexpr int kLuNumSolveKinds = 3;

// Work counts of the solves (for benchmarks and the statistics). A solve
// counts as hypersparse when its U stage ran the hypersparse variant.
struct LuSolveStats {
  long long ftranCalls = 0, ftranHyper = 0;
  long long btranCalls = 0, btranHyper = 0;
};

// Lists of (index, value) pairs in one pool; each list is contiguous and is
// moved to the end of the pool when it outgrows its room.
struct LuListPool {
  std::vector<int> start, len, cap;
  std::vector<int> idx;
  std::vector<double> val;
  bool withValues = true;
  int end = 0;

  void init(int numLists, bool values, int poolSize);
  // Makes room for need entries in list l.
  void reserve(int l, int need);
  void push(int l, int i, double v) {
    if (len[l] == cap[l]) reserve(l, len[l] + 1);
    const int p = start[l] + len[l]++;
    idx[p] = i;
    if (withValues) val[p] = v;
  }
  // Removes the entry at pool position p of list l (swap with the last).
  void removeAt(int l, int p) {
    const int last = start[l] + --len[l];
    idx[p] = idx[last];
    if (withValues) val[p] = val[last];
  }
  // Pool position of index i in list l, or -1.
  int find(int l, int i) const {
    for (int p = start[l], e = start[l] + len[l]; p < e; ++p)
      if (idx[p] == i) return p;
    return -1;
  }
  void compact();
  // Appends n empty lists.
  void addLists(int n);
};

class LuFactorWork;

// Owns the factorisation's work storage, made on first use. A copy starts
// without storage (it holds nothing between factorisations), so kernels copy;
// a kernel moved from makes new storage if it factorises again.
class LuFactorWorkHolder {
 public:
  LuFactorWorkHolder();
  ~LuFactorWorkHolder();
  LuFactorWorkHolder(const LuFactorWorkHolder&);
  LuFactorWorkHolder& operator=(const LuFactorWorkHolder&);
  LuFactorWorkHolder(LuFactorWorkHolder&&) noexcept;
  LuFactorWorkHolder& operator=(LuFactorWorkHolder&&) noexcept;
  LuFactorWork& operator*();

 private:
  std::unique_ptr<LuFactorWork> work_;
};

class LuKernel {
 public:
  using LogFunction = std::function<void(const char*)>;

  // A kernel for m x m bases; log receives the printed lines (may be empty).
  explicit LuKernel(int m, LogFunction log = {});
  ~LuKernel();
  LuKernel(LuKernel&&) noexcept;
  LuKernel& operator=(LuKernel&&) noexcept;
  // A copy is a snapshot: factors, updates, options and density records
  // (for switching between nodes of a search tree). The matrix stays
  // borrowed: the copy reads the same columns.
  LuKernel(const LuKernel&);
  LuKernel& operator=(const LuKernel&);

  int dimension() const { return m_; }
  void setLog(LogFunction log) { log_ = std::move(log); }

  // Options: 0 on success, kLuErrBadOptionId or kLuErrBadOptionValue.
  // An integer id given a double value (or the reverse) is converted.
  // Negative values select the defaults of 1300, 1301, 1303 and of every
  // double option; 1300 below 1 (after that) and 1303 above 1 are rejected.
  // 1305 (default 3) sizes the update storage: an update that would take the
  // entries added since the factorisation beyond 1305 x (nnz L + nnz U + m)
  // returns kLuOutOfSpace, as does update number 1301 + 1. 2405 switches the
  // Forrest-Tomlin row elimination to its sparse variant below that density
  // of the leaving row of U; 2406 and 2407 switch each stage of FTRAN and
  // BTRAN to its hypersparse variant when both its input and its predicted
  // result touch fewer than that fraction of the pivots the stage's dense
  // loop visits. A new update type (1303) takes effect at the next factorisation,
  // as the two kinds of update cannot be mixed. 1304 reuses the column of the last FTRAN made with saveForUpdate
  // (which must be the entering column). 1307, 1308 and 2404 are kept for the
  // basis layer; the kernel itself does not act on them.
  int setIntOption(int id, int value);
  int setDoubleOption(int id, double value);
  int getIntOption(int id, int* value) const;
  int getDoubleOption(int id, double* value) const;
  // Prints "Working LU options" when the print level is above 0.
  void logOptions() const;

  // Factorises the basis whose position k holds basic[k]: a column
  // 0 <= j < a.numCols of a, or the unit (slack) column of row j - a.numCols.
  // The matrix must stay valid until the next factorisation: updates read the
  // entering column from it. Returns kLuOk, kLuSingular (the factors then
  // hold the basis with each dependent position replaced by the unit column of
  // an unpivoted row; see unpivotedRows/unpivotedPositions), kLuOutOfMemory or
  // kLuBadInput.
  int factorize(const LuMatrix& a, std::span<const int> basic);

  // Replaces the column at basis position leavingPos by variable enteringVar
  // (numbering as for factorize). With the use-pivcol option set and an FTRAN
  // made with saveForUpdate since the last change, that solve's intermediate
  // column is reused. Returns kLuOk, kLuSingularUpdate (factors unchanged),
  // kLuOutOfSpace (factors unchanged; refactorise), kLuOutOfMemory
  // (factors invalid), kLuBadInput or kLuNotFactored.
  int update(int leavingPos, int enteringVar);
  // The same, with the pivot the caller computed for this basis change (the
  // entry of the transformed entering column, or of the transformed row, at
  // the leaving position). The determinant of the new basis is pivot times
  // the old one, so the update's new diagonal must agree with pivot times
  // the diagonal it replaces; when they differ by more than a relative
  // kLuUnstableRelTol the update returns kLuUnstableUpdate and leaves the
  // factors unchanged.
  int update(int leavingPos, int enteringVar, double pivot);

  // FTRAN: v in row space becomes B^-1 v in position space.
  int ftran(LuVector& v, bool saveForUpdate = false);
  int ftran(LuVector& v, LuSolveKind kind, bool saveForUpdate = false);
  // BTRAN: v in position space becomes B^-T v in row space.
  int btran(LuVector& v);
  int btran(LuVector& v, LuSolveKind kind);
  // Several right-hand sides in one pass over the factors (dense-indexed:
  // each eta and each U column is read once for all of them). Same results
  // as one solve per vector; the first error found is returned.
  int ftranMany(std::span<LuVector> vs);
  int btranMany(std::span<LuVector> vs);

  // Extends the factors to a grown matrix without refactorising: a has at
  // least the kernel's rows and its matrix's columns, the old columns keep
  // their entries in the old rows (they may gain entries in the new rows), and
  // new columns come after the old ones. Each new row enters the basis with
  // its slack (cut rows in a branch and cut); variables keep their meaning, so
  // slack numbers move up by the number of new columns. The new rows become
  // a row eta of the update file (they count against its space, not as
  // updates). Returns kLuOk, kLuOutOfSpace (factors unchanged; refactorise
  // the extended basis), kLuBadInput, kLuNotFactored or kLuOutOfMemory.
  int extend(const LuMatrix& a);

  // Predicted density (0..1) of the result of a solve of the given kind,
  // from the densities of earlier results (Hall and McKinnon 2005).
  double predictedDensity(LuSolveKind kind, bool transposed) const;

  // Reciprocal 1-norm condition estimate 1 / (||B||_1 est(||B^-1||_1)).
  double rcond();
  // Cheap estimate kept through the updates (ratio of pivot magnitudes: of
  // the live diagonal of U for Forrest-Tomlin updates; the smaller of the
  // fresh factors' ratio and the weakest product-form eta otherwise).
  double updateRcond() const { return updateRcond_; }
  // Estimates of the 2-norm and 4-norm condition numbers.
  double cond2est() { return condEstimate(2.0); }
  double cond4est() { return condEstimate(4.0); }

  bool valid() const { return valid_; }
  int rank() const { return rank_; }
  // Rows left without a pivot and the positions whose columns could not be
  // pivoted, paired in order (the factors hold the unit column of
  // unpivotedRows()[k] at position unpivotedPositions()[k]).
  const std::vector<int>& unpivotedRows() const { return unpivotedRows_; }
  const std::vector<int>& unpivotedPositions() const { return unpivotedPositions_; }
  // The basis the factors represent (dependent columns replaced by slacks).
  const std::vector<int>& basic() const { return basic_; }
  int numUpdates() const { return numUpdates_; }
  long long nnzL() const { return static_cast<long long>(lIndex_.size()); }
  long long nnzU() const;
  long long nnzR() const { return static_cast<long long>(rIndex_.size() + pfIndex_.size()); }
  const LuSolveStats& solveStats() const { return stats_; }
  // Relative pivot threshold the last factorisation used (raised above the
  // option when the growth of the entries demanded it; a raised threshold is
  // kept for later factorisations until option 2403 is set again), and the
  // number of such repeats since the kernel was created.
  double pivotThresholdUsed() const { return pivotThresholdUsed_; }
  int growthRetries() const { return growthRetries_; }

  // 64-bit hash (FNV-1a) of the sorted basic indices.
  static std::uint64_t basisHash(std::span<const int> basic);
  std::uint64_t basisHash() const { return basisHash(basic_); }

 private:
  // Stages of a solve, each with its own density record.
  enum Stage { kStageL = 0, kStageR = 1, kStageU = 2, kNumStages = 3 };
  // Running averages of the result density per direction (FTRAN, BTRAN),
  // solve kind and stage; negative until the first result is recorded.
  struct DensityRecord {
    DensityRecord();
    double predicted[2][kLuNumSolveKinds][kNumStages];
  };
  int factorizeImpl(const LuMatrix& a, std::span<const int> basic, double pivRel, bool acceptGrowth);
  bool pairUnpivoted(LuFactorWork& w);
  void installSlots(const LuFactorWork& w);
  void installUpper(const LuFactorWork& w);
  void installLower(LuFactorWork& w);
  void resetUpdates();
  int updateImpl(int leavingPos, int enteringVar, const double* pivot);
  int updateProductForm(int leavingPos, double spikeMax, const double* pivot);
  int updateForrestTomlin(int leavingPos, double spikeMax, const double* pivot);
  // Eliminates row r of U (its entries w[slot] with the given slots, in the
  // slot work array) by the later rows; fills etaIndex_/etaValue_ with the
  // multipliers and returns the diagonal left in row r for the column spike
  // (0 without a spike).
  double eliminateUpperRow(int r, int firstOrderPos, int rowLen, const LuVector* spike);
  void appendRowEta(int r);
  void appendSlot(int row, int pos, double diag, const LuVector& column);
  void rescanDiagExtremes();
  void noteDiag(double a);
  bool dropDiag(double a);
  int extendImpl(const LuMatrix& a);
  void loadColumn(int var, LuVector& v) const;
  // Hypersparse when both the stage's input and its predicted result are
  // below the density threshold of the solve's direction.
  bool useHyper(bool transposed, LuSolveKind kind, Stage stage, int inputCount, int stagePivots) const;
  void recordDensity(bool transposed, LuSolveKind kind, Stage stage, int resultCount);
  // Stages of the solves: dense-indexed variants take several vectors (one
  // pass over the factor), hypersparse ones a single vector.
  void ftranLower(LuVector& v, LuSolveKind kind);    // L^-1, row space
  void ftranRowEtas(LuVector& v, LuSolveKind kind);  // the row etas, row space
  void ftranUpper(LuVector& v, LuSolveKind kind);    // U^-1 then the product-form etas
  void solveUpper(LuVector& v, bool hyper);          // U^-1 alone, back into v
  void ftranLowerDense(std::span<LuVector* const> vs);
  void ftranLowerHyper(LuVector& v);
  void ftranRowEtasDense(std::span<LuVector* const> vs);
  void ftranRowEtasHyper(LuVector& v);
  void ftranUpperDense(std::span<LuVector* const> vs, std::span<LuVector* const> outs);
  void ftranUpperHyper(LuVector& v, LuVector& out);
  void ftranProductForm(LuVector& v);
  void btranProductForm(LuVector& v);
  void btranUpper(LuVector& v, LuSolveKind kind);  // product-form etas then U^-T
  void btranLower(LuVector& v, LuSolveKind kind);  // row etas then L^-T
  void btranUpperDense(std::span<LuVector* const> vs, std::span<LuVector* const> outs);
  void btranUpperHyper(LuVector& v, LuVector& out);
  void btranRowEtas(LuVector& v);
  void btranLowerDense(std::span<LuVector* const> vs);
  void btranLowerHyper(LuVector& v);
  int ftranKind(LuVector& v, LuSolveKind kind, bool saveForUpdate);
  int btranKind(LuVector& v, LuSolveKind kind);
  double matrixNorm1() const;
  double condEstimate(double p);
  void multiplyB(const std::vector<double>& x, std::vector<double>& y) const;
  void multiplyBt(const std::vector<double>& x, std::vector<double>& y) const;
  void solveDense(std::vector<double>& x, bool transposed);
  void ensureSlotCapacity(int slots);

  int nextStamp();
  // Checks a right-hand side (dimension, index range); indexes a dense one.
  bool validInput(LuVector& v) const;
  int m_;
  LogFunction log_;

  // Options.
  int numCandidates_ = 4;
  int maxUpdates_ = 500;
  int printLevel_ = 0;
  int updateType_ = 1;
  int usePivcol_ = 0;
  int memExp_ = 3;
  int isDebug_ = 0;
  int profile_ = 0;
  double epsDiag_ = 2.22045e-16;
  double epsNonz_ = 2.22045e-16;
  double epsPivAbs_ = 1e-8;
  double epsPivRel_ = 0.01;
  double iniRcond_ = 0.01;
  double spvtolUpdate_ = 0.001;
  double spvtolFtran_ = 0.2;
  double spvtolBtran_ = 0.1;

  // State.
  bool valid_ = false;
  double pivotThresholdUsed_ = 0.0;
  double learnedThreshold_ = 0.0;
  int growthRetries_ = 0;
  LuMatrix matrix_;
  std::vector<int> basic_;
  int rank_ = 0;
  std::vector<int> unpivotedRows_, unpivotedPositions_;
  int numUpdates_ = 0;
  int activeUpdateType_ = 1;  // update type in force since the factorisation
  double updateRcond_ = 1.0;
  double factorRcond_ = 1.0;  // diagonal ratio of the fresh factors
  // ||B||_1 of the factorised basis, taken while loading it; < 0 once the
  // factors describe another basis (updates, extension, dependent columns
  // replaced by slacks).
  double factorNorm1_ = -1.0;
  // Work vectors of the condition estimates.
  std::vector<double> condX_, condY_, condZ_;
  double etaRcond_ = 1.0;     // smallest pivot ratio of the product-form etas
  double diagMin_ = 0.0, diagMax_ = 0.0;
  int diagMinCount_ = 0, diagMaxCount_ = 0;  // live slots holding each extreme
  long long spaceLimit_ = 0;
  long long uEntriesAtFactor_ = 0;

  // L: column etas in pivot order; eta k eliminates below pivot row lPivRow_[k].
  std::vector<int> lStart_, lPivRow_, lIndex_;
  std::vector<double> lValue_;
  std::vector<int> lEtaOfRow_;  // eta whose pivot row is r, or -1
  // L row-wise for BTRAN: row i holds (pivot row of eta k, l_ik).
  std::vector<int> lrStart_, lrIndex_;
  std::vector<double> lrValue_;
  // The rows with entries in that copy, in factorisation step order: the
  // dense BTRAN visits only these (on network-like bases most rows of L
  // are empty).
  std::vector<int> lrRows_;
  std::vector<int> stepRow_;  // pivot row of each factorisation step

  // U by pivot slot. A slot is a pivot (row, position, diagonal) with its U
  // column; Forrest-Tomlin updates kill the replaced slot and append a new one.
  std::vector<int> slotRow_, slotPos_;
  std::vector<double> slotDiag_;
  std::vector<int> ucStart_, ucLen_;  // column entries (row, value) per slot
  std::vector<int> ucIndex_;
  std::vector<double> ucValue_;
  std::vector<int> order_;     // slots in pivot order; -1 for killed slots
  std::vector<int> slotOrderPos_;  // position of each slot in order_
  // What the U stage of FTRAN reads of a slot, packed and indexed by pivot
  // order (the slot of order_[p] at orderSlot_[p]): one cache line per pivot
  // where the slot arrays take five. row < 0 for killed slots. rowOrder_
  // gives the order position of the slot pivoting in each row.
  struct OrderSlot {
    int row, pos, ucStart, ucLen;
    double diag;
  };
  std::vector<OrderSlot> orderSlot_;
  std::vector<int> rowOrder_;
  void installOrderSlots();
  std::vector<int> rowSlot_, posSlot_;
  LuListPool ur_;  // row-wise U per row: (slot, value)

  // Forrest-Tomlin row etas: row r_k -= sum m_j x[row_j].
  std::vector<int> rStart_, rPivRow_, rIndex_;
  std::vector<double> rValue_;
  LuListPool rEtasOfRow_;  // per row, the row etas whose entries name it
  // Product-form etas in position space.
  std::vector<int> pfStart_, pfPos_, pfIndex_;
  std::vector<double> pfPivot_, pfValue_;

  // Saved intermediate column of the last FTRAN with saveForUpdate.
  bool spikeValid_ = false;
  LuVector spike_;

  DensityRecord density_;

  // Work space.
  LuFactorWorkHolder work_;
  LuVector solveWork_, work2_;
  std::vector<LuVector> manyOut_;  // U-stage outputs of the multi-vector solves
  std::vector<int> stamp_;
  int stampValue_ = 0;
  std::vector<int> reach_, dfsStack_, dfsPos_, starts_;
  // Pending pivots of the hypersparse solves: one bit per position in pivot
  // order (order_ for U, the eta or step index for L) and one summary bit per
  // word of them; all zero between solves.
  std::vector<std::uint64_t> pendBits_, pendSummary_;
  std::vector<int> stepOfRow_;  // factorisation step of each row (inverse of stepRow_)
  std::vector<double> slotWork_;
  std::vector<int> etaIndex_;
  std::vector<double> etaValue_;
  LuSolveStats stats_;
};

// Option calls on a possibly null kernel (kLuErrNullKernel).
int luSetIntOption(LuKernel* kernel, int id, int value);
int luSetDoubleOption(LuKernel* kernel, int id, double value);
int luGetIntOption(const LuKernel* kernel, int id, int* value);
int luGetDoubleOption(const LuKernel* kernel, int id, double* value);

}  // namespace torva
