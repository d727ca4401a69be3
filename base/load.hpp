// Loading model data: the operations behind the QXload* functions. Each
// validates its input before it changes the model and returns an error code.
#pragma once

#include "base/model.hpp"

namespace torva {

// The linear core of a problem in column form: what a reader fills and the
// model store takes over by move (loadLinearCore) and what read-outs return
// (readLinearCore). Column j holds positions colBeg[j] - colBeg[0] ..
// + colLen[j] - 1 of rowIdx and value; an empty colLen means the columns are
// packed (colLen[j] = colBeg[j+1] - colBeg[j]). nnz is the number of entries
// the caller states; it must equal the sum of the lengths.
struct LinearCore {
  int m = 0;
  int n = 0;
  int objSense = 1;  // QX_MIN
  double objConst = 0.0;
  int nnz = 0;
  std::vector<double> cost;    // n
  std::vector<double> rhs;     // m
  std::vector<char> conType;   // m: 'L', 'E', 'G', 'N'
  std::vector<int> colBeg{0};  // n + 1
  std::vector<int> colLen;     // n, or empty for packed columns
  std::vector<int> rowIdx;     // colBeg[n] - colBeg[0]
  std::vector<double> value;   // colBeg[n] - colBeg[0]
  std::vector<double> lower;   // n (empty: all 0)
  std::vector<double> upper;   // n (empty: all infinite)
};

// Loads a linear core into an empty model, taking its vectors over. Checks,
// in this order: model already loaded (QXERR_MODEL_ALREADY_LOADED), negative
// dimensions (INPUT_OUT_OF_RANGE), nnz outside [0, colBeg[n]]
// (TOTAL_NONZ_INVALID), objective sense, constraint types, column starts
// (COLBEG_INVALID), column lengths (COLUMN_LENGTH_INVALID), nnz against the
// lengths (TOTAL_NONZ_INVALID), row indices (INDEX_OUT_OF_RANGE). Entries of
// one column with the same row are summed: the only place that rule lives.
// On failure the model is left unloaded with its data untouched.
int loadLinearCore(Model& model, LinearCore&& core);
// The stored linear core with packed columns (spare space dropped).
LinearCore readLinearCore(const Model& model);

int loadLPData(Model& model, int nCons, int nVars, int objSense, double objConst,
               const double* cost, const double* rhs, const char* conTypes, int nAnnz,
               const int* colBeg, const int* colLen, const double* coef, const int* rows,
               const double* lower, const double* upper);
int loadVarType(Model& model, const char* types);
int loadSemiContData(Model& model, int count, const int* vars, const double* lower,
                     const double* upper);
int loadNameData(Model& model, const char* title, const char* objName, const char* rhsName,
                 const char* rngName, const char* bndName, char** conNames, char** varNames,
                 char** coneNames);
int loadQCData(Model& model, int count, const int* rows, const int* col1, const int* col2,
               const double* coef);
int loadConeData(Model& model, int count, const char* types, const int* beg, const int* cols);
int loadSETSData(Model& model, int count, const char* types, const int* card, const int* beg,
                 const int* cols);
int loadVarPriorities(Model& model, const int* priority);
int readVarPriorities(Model& model, const char* file);
int loadBasis(Model& model, const int* colStatus, const int* rowStatus);
// Start points: full (n values) and partial (count variables and values).
void loadVarStartPoint(Model& model, const double* x);
void loadMIPVarStartPoint(Model& model, const double* x);
int loadVarStartPointPartial(Model& model, int count, const int* vars, const double* x);
int loadMIPVarStartPointPartial(Model& model, int count, const int* vars, const int* x);

// Shared by loads and modifications.

// Logs the base statistics when the print level calls for it.
void logBaseStats(const Model& model, double loadSeconds, double statsSeconds);
// Logs the integer statistics when the print level calls for it.
void logIntegerStats(const Model& model);
// Marks any solution stale after data that change the problem class: the
// continuous record keeps its vectors with the statuses of a change, the
// integer solution and the solver work area are dropped.
void dropStaleSolutions(Model& model);

// Validates semi-continuous entries (index in [0, n) else 2049, each once
// else 2032, also against the entries already stored when appending).
int checkSemiContVars(const Model& model, int count, const int* vars, bool againstStored);
// The ordinary lower bound of a semi-continuous variable that is 0 or in
// [l, u]: 0, except when u is negative, where [0, u] would be empty and the
// column takes its lower level l (so l <= u still holds).
inline double semiContLowerBound(double level, double upper) { return upper < 0.0 ? level : 0.0; }
// Appends semi-continuous entries: stores the indices and lower levels, sets
// the upper bounds and the ordinary lower bounds to semiContLowerBound.
void appendSemiCont(Model& model, int count, const int* vars, const double* lower,
                    const double* upper);

// Validates quadratic triplets (rows in [-1, m) else 2052, columns in [0, n)
// else 2049) and merges the non-zero ones into the grouped store.
int checkQCTerms(const Model& model, int count, const int* rows, const int* col1, const int* col2);
void mergeQCTerms(Model& model, int count, const int* rows, const int* col1, const int* col2,
                  const double* coef);

// Validates cones to be added (types 'Q'/'R' else 2004, too few members
// 2050, member outside [0, n) or already in a cone 2049).
int checkCones(const Model& model, int count, const char* types, const int* beg, const int* cols);
void appendCones(Model& model, int count, const char* types, const int* beg, const int* cols);

// Validates sets to be added (type 1..4 or '1'..'4' else 2004, cardinality
// rules 2010/2047, too few members 2050, member outside [0, n) or repeated
// within a set 2049).
int checkSets(const Model& model, int count, const char* types, const int* card, const int* beg,
              const int* cols);
void appendSets(Model& model, int count, const char* types, const int* card, const int* beg,
                const int* cols);

}  // namespace torva
