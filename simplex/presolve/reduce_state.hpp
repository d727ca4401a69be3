// The working problem of the LP presolver and the record of its reductions.
//
// The presolver works on a copy of the LP in minimisation form with row
// bounds rl <= A x <= ru and column bounds lo <= x <= up. Matrix entries are
// never changed: a reduction only switches rows and columns off, moves
// bounds and (for a substituted column) changes costs. Each reduction pushes
// a step; postsolve undoes the steps in reverse order, so that when a step
// is undone exactly the rows and columns that were live when it was taken
// are live again.
#pragma once

#include <cstdint>
#include <vector>

#include "base/model_data.hpp"

namespace torva::presolve {

// Bits of the presolve level (QX_IPARAM_LP_PRELEVEL) and the reductions
// they select. Bit 8192 (presolve off for one call) is the driver's.
enum LevelBit : int {
  kBitEmptySingletonRows = 2,  // empty, free and singleton rows (a singleton row becomes a bound)
  kBitEmptyFixedCols = 4,      // empty and fixed columns
  kBitActivityRows = 8,        // forcing, redundant and infeasible rows (activity bounds, implied bounds one row
                               // deep and chained over several rows, parallel rows)
  kBitColSingletons = 16,      // free and implied-free column singletons (substituted out)
  kBitDominatedCols = 32,      // columns that the objective and every row push to one bound, dominated and
                               // weakly dominated columns (reduced cost of one sign over the dual bounds),
                               // parallel columns
  kBitDoubletons = 64,         // doubleton equations, implied-free columns of longer equations substituted
};

// Tolerances of the reductions (absolute on values of order one, relative
// above): kDecideTol decides that two values agree (a bound reached, a row
// forced or redundant). It is two orders below the solver's default
// feasibility tolerance of 1e-7, so the rows and bounds a reduction drops on
// its strength are met by the postsolved point well within that tolerance.
// The margin beyond which presolve declares a model infeasible is
// max(kInfeasTol, the solver's feasibility tolerance) (Problem::infeasTol):
// never below ten times the default feasibility tolerance, so that rounding
// in the activity sums never turns a feasible model into an infeasible
// verdict, and never below the solver's own tolerance, so that presolve
// rejects no model that the simplex would accept as feasible.
inline constexpr double kDecideTol = 1e-9;
inline constexpr double kInfeasTol = 1e-6;
// A bound of an integer column within this distance of an integer is taken
// as that integer when the bounds are rounded inwards (the default
// integrality tolerance of the MIP solver is 1e-5; this is stricter, so
// rounding never cuts off a point the MIP solver counts as integral).
inline constexpr double kIntegralTol = 1e-9;
// A substituted entry whose magnitude falls below this fraction of the
// terms it came from has cancelled and is dropped (rounding level of
// doubles times a safety factor of about 50).
inline constexpr double kCancelTol = 1e-14;
// Bounds beyond this magnitude are infinite (QX_INFINITY).
inline constexpr double kInf = kInfinity;

inline double scaled(double tol, double v) { return tol * (1.0 + (v < 0 ? -v : v)); }

// One matrix entry seen from a row (idx = column) or a column (idx = row).
struct Entry {
  int idx;
  double val;
};

// The matrix kept by rows and by columns. Entries of switched-off rows and
// columns stay in place; only a substitution changes entries.
struct Matrix {
  std::vector<std::vector<Entry>> rows, cols;
  double at(int i, int j) const;
  // Sets a_ij (0 removes it); returns the change in the entry count (-1, 0, +1).
  int set(int i, int j, double v);
};

struct Problem {
  int m = 0, n = 0;
  double sense = 1.0;      // model's objective sense (1 min, -1 max)
  double objConst = 0.0;   // minimisation form
  std::vector<double> cost;  // minimisation form; substitutions change it
  std::vector<double> lo, up, rl, ru;
  Matrix a;
  std::vector<char> rowOn, colOn;
  std::vector<int> rowCnt, colCnt;  // live entries per row and column
  // Entries a_rk that a doubleton substitution changed: the row, a_rj of the
  // eliminated column and the old a_rk (0 when there was none).
  struct Change {
    int row;
    double arj, oldArk;
  };
  std::vector<Change> changes;
  // Entries a_rk that a substitution from a longer equation changed, with
  // their old values (0 when there was none).
  struct EntryChange {
    int row, col;
    double old;
  };
  std::vector<EntryChange> entryChanges;
  // For each equation where no substitution qualified: the sum of its live
  // count and its columns' live counts at that time. The substitution pass
  // looks at such an equation again only once this sum has changed.
  std::vector<long long> substSeen;

  // Infeasibility margin of the verdicts (see kInfeasTol).
  double infeasTol = kInfeasTol;
  // Columns that must stay integral (empty: none): their bounds, own and
  // implied by singleton rows, are rounded inwards.
  std::vector<char> integral;

  // Marks the integer columns of d integral and rounds their bounds.
  void keepIntegral(const ModelData& d);
  // lo rounded up and up rounded down when column j is integral.
  double roundLo(int j, double lo) const;
  double roundUp(int j, double up) const;

  // Change stamps. Every change to row i (its sides, its live entries, the
  // bounds of a live column in it) sets rowStamp[i], and every change to
  // column j (its cost, its bounds, its live entries, the finiteness of the
  // sides of one of its rows) sets colStamp[j], to a new value of clock. A
  // pass that looked at a row or column at clock t and found nothing to do
  // finds nothing again while its stamp is at most t.
  std::vector<long long> rowStamp, colStamp;
  // Column j's live entries alone (a row of j going off, an entry set) set
  // colShapeStamp[j] as well.
  std::vector<long long> colShapeStamp;
  long long clock = 0;
  // What the passes saw: the clock when a pass last looked at a row or
  // column and left it (-1: never).
  struct Seen {
    std::vector<long long> activity;   // rows, activity pass
    std::vector<long long> singleton;  // columns, column singleton pass
    std::vector<long long> dominated;  // columns, dominated column pass
    // Pattern keys of rows and columns (parallel rows and columns), each
    // with the clock when it was computed, and the clock at the start of
    // each pass's last run.
    std::vector<std::uint64_t> rowKey, colKey;
    std::vector<long long> rowKeyAt, colKeyAt;
    long long duplicateRows = -1, parallelCols = -1;
    // The largest live entry of each row in size, with the row's stamp
    // when it was taken (column singleton passes).
    std::vector<double> rowMax;
    std::vector<long long> rowMaxAt;
  } seen;

  // False: every pass looks at every row and column again, as if nothing
  // had been seen (the reductions are the same, only slower).
  bool rememberSeen = true;
  // True when what a pass saw at clock seenAt still holds for a row or
  // column with this stamp.
  bool unchangedSince(long long stamp, long long seenAt) const { return rememberSeen && seenAt >= stamp; }

  explicit Problem(const ModelData& d);
  void touchRow(int i) { rowStamp[i] = ++clock; }
  void touchCol(int j) { colStamp[j] = ++clock; }
  // Column j's bounds moved: j and each of its live rows change.
  void boundsMoved(int j);
  // Row i's sides moved and may have changed finiteness: i and each of its
  // live columns change.
  void sidesMoved(int i);
  int liveRows() const;
  int liveCols() const;
  // Removes column j at value v: its rows' bounds absorb a_ij v and the
  // objective constant c_j v.
  void removeColumnAt(int j, double v);
  // Switches row i off (its columns lose an entry).
  void removeRow(int i);
  // Sets a_ij keeping the live counts right.
  void setEntry(int i, int j, double v);
};

enum class StepKind : unsigned char {
  FreeRow,       // a row without effect (empty, free or redundant): y = 0, slack basic
  FixedCol,      // a column removed at a value: nonbasic
  SingletonRow,  // a row a x_j in [rl, ru] turned into bounds of x_j
  ForcingRow,    // a row whose columns all sit at the bounds that attain one side
  ColSingleton,  // a free column singleton substituted out of its (active) row
  Doubleton,     // x_j substituted out of an equation a x_j + e x_k = b
  ParallelCol,   // x_j = a x_k column-wise: x_k stands for x_k + a x_j
  Substitution,  // an implied-free x_j substituted out of an equation of 3+ entries
  SlackSingleton,  // a column singleton with one relevant bound folded into its equation's side
};

struct Step {
  StepKind kind;
  int row = -1, col = -1;
  double a = 0.0;        // the entry a_ij of the step
  double v1 = 0.0;       // FixedCol: value; SingletonRow: old lower; ForcingRow: +1 lower side, -1 upper side;
                         // ColSingleton, SlackSingleton, Substitution: right-hand side; ParallelCol: old bounds v1, v2 of x_j
                         // and v3, v4 of x_k
  double v2 = 0.0;       // SingletonRow: old upper; ColSingleton, SlackSingleton, Substitution: the column's cost
  double v3 = 0.0, v4 = 0.0;  // SingletonRow: the row's bounds; Doubleton: old bounds of x_k;
                              // SlackSingleton: v3 the bound of x_j that the row took over
  double v5 = 0.0, v6 = 0.0;  // Doubleton: the bounds of x_j
  // Doubleton: the kept column k, its entry e and the range of its changes
  // (Substitution: the range of entryChanges; ParallelCol: col2 is x_k).
  int col2 = -1;
  double e = 0.0;
  int changeBeg = 0, changeEnd = 0;
};

enum class Verdict { Reduced, Infeasible, Unbounded };

// Runs the reductions selected by level on p until a pass removes too little.
Verdict reduce(Problem& p, int level, std::vector<Step>& steps);

// The solution of the reduced problem spread onto the full index ranges, in
// minimisation form; postsolve completes it for the full problem.
struct FullSolution {
  std::vector<double> x, y;
  std::vector<char> colBasic, rowBasic;
};

// Undoes steps on sol. p is the problem as reduce left it (its costs are
// those of the reduced problem); postsolve works on its own copies.
void postsolve(const Problem& p, const std::vector<Step>& steps, FullSolution& sol);

}  // namespace torva::presolve
