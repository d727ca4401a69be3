// Black-box checks of loading, querying and changing model data, written
// against the public header alone, the way a host program uses the library.
// They cover the order in which checks are made when several inputs are
// wrong at once, the unloaded-model rule of the queries, exact log lines and
// the model settings that loads change.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "model_fixture.hpp"
#include "torva.h"

namespace {

using torva_test::ModelFixture;
using torva_test::NameList;

// Collects every line handed to a model's log function.
void collectLine(QXmodel, const char* text, void* user) {
  static_cast<std::vector<std::string>*>(user)->push_back(text);
}

// True when QXgetInfo can answer an item that only a loaded model answers.
bool isLoaded(QXmodel model) {
  int n = -1;
  return QXgetInfo(model, QX_IINFO_NUM_VARS, &n) == 0;
}

// ------------------------------------------------------------ QXloadLPData

// With several faults at once, the first check in the stated order decides.
TEST_F(ModelFixture, LoadLPDataReportsTheFirstFaultInTheStatedOrder) {
  const double c[] = {1, 1};
  const double b[] = {1, 1};
  const int beg[] = {0, 2, 3};
  const int rows[] = {0, 5, 1};  // row 5 lies outside a 2-row model
  const double vals[] = {1, 2, 3};
  // Total beyond the stored length comes before a bad objective sense.
  EXPECT_EQ(QXloadLPData(model, 2, 2, 0, 0, c, b, "LL", 4, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            QXERR_TOTAL_NONZ_INVALID);
  // A bad sense comes before a bad constraint type.
  EXPECT_EQ(QXloadLPData(model, 2, 2, 7, 0, c, b, "LX", 3, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            QXERR_BAD_OBJECTIVE_SENSE);
  // A bad constraint type comes before a bad column length.
  const int longLen[] = {3, 1};
  EXPECT_EQ(QXloadLPData(model, 2, 2, QX_MAX, 0, c, b, "XL", 3, beg, longLen, vals, rows, nullptr,
                         nullptr),
            QXERR_BAD_CONSTRAINT_TYPE);
  // Column lengths are checked before the row indices of the entries.
  EXPECT_EQ(QXloadLPData(model, 2, 2, QX_MAX, 0, c, b, "LL", 3, beg, longLen, vals, rows, nullptr,
                         nullptr),
            QXERR_COLUMN_LENGTH_INVALID);
  const int falling[] = {0, 3, 2};
  EXPECT_EQ(QXloadLPData(model, 2, 2, QX_MAX, 0, c, b, "LL", 2, falling, nullptr, vals, rows,
                         nullptr, nullptr),
            QXERR_COLBEG_INVALID);
  const int shortLen[] = {1, 1};
  EXPECT_EQ(QXloadLPData(model, 2, 2, QX_MAX, 0, c, b, "LL", 3, beg, shortLen, vals, rows, nullptr,
                         nullptr),
            QXERR_TOTAL_NONZ_INVALID);
  // Only then the row index.
  EXPECT_EQ(QXloadLPData(model, 2, 2, QX_MAX, 0, c, b, "LL", 3, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_FALSE(isLoaded(model));
}

TEST_F(ModelFixture, LoadLPDataNullArgumentsFollowTheirCounts) {
  // Without rows and entries, the row arrays and the matrix arrays may be
  // null; the column starts may not, even without columns.
  const double c[] = {2, 3};
  const int beg[] = {0, 0, 0};
  EXPECT_EQ(QXloadLPData(model, 0, 0, QX_MIN, 0, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  ASSERT_EQ(QXloadLPData(model, 0, 2, QX_MIN, 0, c, nullptr, nullptr, 0, beg, nullptr, nullptr,
                         nullptr, nullptr, nullptr),
            0);
  // A model that holds data refuses a second load before looking at the
  // arguments.
  EXPECT_EQ(QXloadLPData(model, 0, 2, QX_MIN, 0, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr),
            QXERR_MODEL_ALREADY_LOADED);
  EXPECT_TRUE(isLoaded(model));
}

// A load that fails leaves the model unloaded, whatever the check that failed.
TEST_F(ModelFixture, AnyFailedLoadLeavesTheModelUnloaded) {
  // An empty load (no rows, no columns) is a successful load.
  const int beg0[] = {0};
  ASSERT_EQ(QXloadLPData(model, 0, 0, QX_MIN, 0, nullptr, nullptr, nullptr, 0, beg0, nullptr,
                         nullptr, nullptr, nullptr, nullptr),
            0);
  ASSERT_TRUE(isLoaded(model));
  // The model holds no rows or columns, so a further load is allowed; this
  // one fails on a null cost array.
  const double b[] = {1};
  const int beg1[] = {0, 0};
  EXPECT_EQ(QXloadLPData(model, 1, 1, QX_MIN, 0, nullptr, b, "L", 0, beg1, nullptr, nullptr,
                         nullptr, nullptr, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_FALSE(isLoaded(model));

  ASSERT_EQ(QXloadLPData(model, 0, 0, QX_MIN, 0, nullptr, nullptr, nullptr, 0, beg0, nullptr,
                         nullptr, nullptr, nullptr, nullptr),
            0);
  const double c[] = {1};
  EXPECT_EQ(QXloadLPData(model, 1, 1, 2, 0, c, b, "L", 0, beg1, nullptr, nullptr, nullptr, nullptr,
                         nullptr),
            QXERR_BAD_OBJECTIVE_SENSE);
  EXPECT_FALSE(isLoaded(model));
}

TEST_F(ModelFixture, MergedDuplicatesCountOnceEverywhere) {
  // Column 0: rows 1, 1, 0 (the two row-1 entries merge); column 1: row 1.
  const double c[] = {1, 1};
  const double b[] = {4, 4};
  const int beg[] = {0, 3, 4};
  const int rows[] = {1, 1, 0, 1};
  const double vals[] = {2, 0.5, 3, 9};
  ASSERT_EQ(QXloadLPData(model, 2, 2, QX_MIN, 0, c, b, "LG", 4, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            0);
  int nnz = 0, dimNnz = 0;
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_NONZ, &nnz), 0);
  EXPECT_EQ(nnz, 3);
  ASSERT_EQ(QXgetDimensions(model, nullptr, nullptr, nullptr, &dimNnz, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(dimNnz, 3);
  int cols[2];
  double coef[2];
  int rowNnz = 0;
  ASSERT_EQ(QXgetLPConstraintDatai(model, 1, nullptr, nullptr, &rowNnz, cols, coef), 0);
  ASSERT_EQ(rowNnz, 2);
  EXPECT_EQ(cols[0], 0);
  EXPECT_EQ(coef[0], 2.5);
  EXPECT_EQ(cols[1], 1);
  EXPECT_EQ(coef[1], 9.0);
}

// Output arrays are filled to the stated length and not one element further.
TEST_F(ModelFixture, QueriesWriteExactlyTheStatedNumberOfElements) {
  ASSERT_EQ(loadSmall(), 0);
  char contypes[8];
  std::memset(contypes, '#', sizeof contypes);
  int starts[8];
  for (int& s : starts) s = -99;
  ASSERT_EQ(QXgetLPData(model, nullptr, nullptr, nullptr, nullptr, contypes, starts, nullptr,
                        nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(std::string(contypes, 4), "LGE#");  // m characters, no terminator
  EXPECT_EQ(starts[4], 8);                       // n+1 starts
  EXPECT_EQ(starts[5], -99);
  char vartypes[8];
  std::memset(vartypes, '#', sizeof vartypes);
  ASSERT_EQ(QXgetVarType(model, vartypes), 0);
  EXPECT_EQ(std::string(vartypes, 5), "CCCC#");
  double out[4] = {-7, -7, -7, -7};
  EXPECT_EQ(QXgetSolution(model, 99, out), 0);
  EXPECT_EQ(QXgetSolution(model, 10, out), 0);
  for (double v : out) EXPECT_EQ(v, -7.0);
}

// ---------------------------------------------------------------- logging

// The base statistics are logged with exactly the stated formats, one call
// per format, and nothing else in between.
TEST_F(ModelFixture, BaseStatisticsUseOnlyTheStatedLines) {
  std::vector<std::string> lines;
  ASSERT_EQ(QXsetModelLogfunc(model, collectLine, &lines), 0);
  ASSERT_EQ(loadSmall(), 0);
  // Constraints, variables, nonzeros, the densest header, one line per
  // listed row and column (3 rows and 4 columns: 3 lines), the densest row
  // and column, the singleton counts and the time.
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[3], "\n\nDensest 5 rows and cols");
  for (int k = 4; k < 7; ++k) EXPECT_EQ(lines[k].rfind("\nrow[", 0), 0u) << lines[k];
  EXPECT_EQ(lines[7].rfind("densest row:     3 nzs (", 0), 0u) << lines[7];
  EXPECT_EQ(lines[8].rfind("densest col:     2 nzs (", 0), 0u) << lines[8];
  EXPECT_EQ(lines[9], "cols with 1nz:     0, 2nzs:     4\n");
  EXPECT_EQ(lines[10], "rows with 1nz:     0, 2nzs:     1\n");
  EXPECT_EQ(lines[11].rfind("\nLoaded base stats in ", 0), 0u) << lines[11];
}

// The largest of the LP, MIP and NLP print levels decides.
TEST_F(ModelFixture, StatisticsFollowTheLargestOfThreePrintLevels) {
  std::vector<std::string> lines;
  ASSERT_EQ(QXsetModelLogfunc(model, collectLine, &lines), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 0), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, 0), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NLP_PRINTLEVEL, 0), 0);
  ASSERT_EQ(loadSmall(), 0);
  EXPECT_TRUE(lines.empty());

  int err = 0;
  QXmodel other = QXcreateModel(env, &err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(QXsetModelLogfunc(other, collectLine, &lines), 0);
  ASSERT_EQ(QXsetModelIntParameter(other, QX_IPARAM_LP_PRINTLEVEL, 0), 0);
  ASSERT_EQ(QXsetModelIntParameter(other, QX_IPARAM_MIP_PRINTLEVEL, 0), 0);
  ASSERT_EQ(QXsetModelIntParameter(other, QX_IPARAM_NLP_PRINTLEVEL, 5), 0);
  ASSERT_EQ(loadSmall(other), 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].rfind("\nNumber of constraints:", 0), 0u);
}

// --------------------------------------------------------- further loads

TEST_F(ModelFixture, QuadraticTermInAnEqualityRowClearsTheModelConvexitySetting) {
  ASSERT_EQ(loadSmall(), 0);
  int convex = -1;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_NLP_CONVEX, &convex), 0);
  ASSERT_EQ(convex, 1);
  // Terms in the objective and in the 'L' row 0, and a zero term in the 'E'
  // row 2 (skipped), leave the setting alone.
  const int rows[] = {-1, 0, 2};
  const int cols[] = {0, 1, 3};
  const double coef[] = {1, 2, 0};
  ASSERT_EQ(QXloadQCData(model, 3, rows, cols, cols, coef), 0);
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_NLP_CONVEX, &convex), 0);
  EXPECT_EQ(convex, 1);

  int err = 0;
  QXmodel other = QXcreateModel(env, &err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(loadSmall(other), 0);
  const int eqRow[] = {2};
  const int col[] = {3};
  const double one[] = {1};
  ASSERT_EQ(QXloadQCData(other, 1, eqRow, col, col, one), 0);
  ASSERT_EQ(QXgetModelIntParameter(other, QX_IPARAM_NLP_CONVEX, &convex), 0);
  EXPECT_EQ(convex, 0);
  // The copy carries the setting of its source.
  QXmodel copy = QXcopyModel(other, &err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(QXgetModelIntParameter(copy, QX_IPARAM_NLP_CONVEX, &convex), 0);
  EXPECT_EQ(convex, 0);
  // A host that declares the model convex anyway keeps that in a copy.
  ASSERT_EQ(QXsetModelIntParameter(other, QX_IPARAM_NLP_CONVEX, 1), 0);
  QXmodel copy2 = QXcopyModel(other, &err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(QXgetModelIntParameter(copy2, QX_IPARAM_NLP_CONVEX, &convex), 0);
  EXPECT_EQ(convex, 1);
}

// Each further load: a zero count succeeds even without a model; then the
// model, then "already loaded" or the arrays in the stated order.
TEST_F(ModelFixture, FurtherLoadsCheckInTheStatedOrder) {
  EXPECT_EQ(QXloadQCData(nullptr, 0, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(QXloadConeData(nullptr, 0, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(QXloadSETSData(nullptr, 0, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(QXloadSemiContData(nullptr, 0, nullptr, nullptr, nullptr), 0);
  const int one[] = {0};
  const double v[] = {1};
  const int beg[] = {0, 1};
  EXPECT_EQ(QXloadQCData(nullptr, 1, one, one, one, v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadConeData(nullptr, 1, "Q", beg, one), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadSETSData(nullptr, 1, "\1", nullptr, beg, one), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadVarType(nullptr, "C"), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadNameData(nullptr, "t", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadVarPriorities(nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadBasis(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);

  ASSERT_EQ(loadSmall(), 0);
  ASSERT_EQ(QXloadQCData(model, 1, one, one, one, v), 0);
  // Quadratic data present: a null array of the quadratic load is reported
  // first; the cone load reports the quadratic data before its arrays.
  EXPECT_EQ(QXloadQCData(model, 1, nullptr, one, one, v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadConeData(model, 1, nullptr, beg, one), QXERR_MODEL_ALREADY_LOADED);
  // Sets and semi-continuous data: "already loaded" before null arrays.
  ASSERT_EQ(QXloadSETSData(model, 1, "\1", nullptr, beg, one), 0);
  EXPECT_EQ(QXloadSETSData(model, 1, nullptr, nullptr, beg, one), QXERR_MODEL_ALREADY_LOADED);
  const double lo[] = {1}, up[] = {3};
  ASSERT_EQ(QXloadSemiContData(model, 1, one, lo, up), 0);
  EXPECT_EQ(QXloadSemiContData(model, 1, nullptr, lo, up), QXERR_MODEL_ALREADY_LOADED);
}

TEST_F(ModelFixture, SetLoadMemberRules) {
  ASSERT_EQ(loadSmall(), 0);
  // A type-3 set needs a member.
  {
    const int beg[] = {0, 0};
    EXPECT_EQ(QXloadSETSData(model, 1, "\3", nullptr, beg, beg), QXERR_COLUMN_LENGTH_INVALID);
  }
  // Type bytes outside 1..4 are refused.
  {
    const int beg[] = {0, 1};
    const int cols[] = {0};
    EXPECT_EQ(QXloadSETSData(model, 1, "\5", nullptr, beg, cols), QXERR_BAD_CONSTRAINT_TYPE);
    const char zero[] = {0};
    EXPECT_EQ(QXloadSETSData(model, 1, zero, nullptr, beg, cols), QXERR_BAD_CONSTRAINT_TYPE);
    const int outside[] = {4};
    EXPECT_EQ(QXloadSETSData(model, 1, "\1", nullptr, beg, outside),
              QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  }
  // A column may belong to several sets, but to a set once.
  const int beg[] = {0, 2, 4};
  const int cols[] = {0, 1, 1, 2};
  const char types[] = {2, 1};
  ASSERT_EQ(QXloadSETSData(model, 2, types, nullptr, beg, cols), 0);
  char t = 0;
  int card = -1, nnz = 0, members[2];
  ASSERT_EQ(QXgetSETSDatai(model, 1, &t, &card, &nnz, members), 0);
  EXPECT_EQ(t, 1);
  EXPECT_EQ(nnz, 2);
  EXPECT_EQ(members[0], 1);
  EXPECT_EQ(members[1], 2);
}

// ---------------------------------------------------------------- queries

// Every query on a model that holds no data answers "not available" before
// it looks at indices; the lookups also reset the index.
TEST_F(ModelFixture, NameQueriesOnAnUnloadedModelAnswerNotAvailable) {
  char name[32] = "junk";
  EXPECT_EQ(QXgetVariableNamej(model, 0, name), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetConstraintNamei(model, 0, name), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetConeNamei(model, 0, name), QXERR_INFO_NOT_AVAILABLE);
  // Names that arrive before the data do not make the model loaded.
  char* none[1] = {nullptr};
  ASSERT_EQ(QXloadNameData(model, "title", nullptr, nullptr, nullptr, nullptr, none, none, none),
            0);
  int idx = 5;
  EXPECT_EQ(QXgetVariableIndex(model, "x", &idx), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(idx, -1);
  idx = 5;
  EXPECT_EQ(QXgetConstraintIndex(model, "r", &idx), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(idx, -1);
  idx = 5;
  EXPECT_EQ(QXgetConeIndex(model, "k", &idx), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(idx, -1);
  EXPECT_EQ(QXgetVariableNamej(model, 0, name), QXERR_INFO_NOT_AVAILABLE);

  double x[1];
  int count = 0, vars[1], ix[1];
  EXPECT_EQ(QXgetVarStartPoint(model, x), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetMIPVarStartPoint(model, x), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetVarStartPointPartial(model, &count, vars, x), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetMIPVarStartPointPartial(model, &count, vars, ix), QXERR_INFO_NOT_AVAILABLE);

  // Once loaded, the names given before the data answer.
  ASSERT_EQ(loadSmall(), 0);
  EXPECT_EQ(QXgetVariableIndex(model, "x", &idx), QXERR_COLUMN_TOKEN_NOT_FOUND);
  EXPECT_EQ(QXgetVariableNamej(model, 0, name), 0);
  EXPECT_STREQ(name, "");
}

// Priorities read from a file look names up as QXgetVariableIndex does.
TEST_F(ModelFixture, PriorityFileLooksNamesUpLikeTheIndexQuery) {
  const char* tmp = std::getenv("TORVA_TEST_TMP");
  const std::string path = std::string(tmp ? tmp : "/tmp") + "/torva_accept_prio.txt";
  {
    std::ofstream out(path);
    out << "x 3\n";
  }
  char* none[1] = {nullptr};
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, none, none, none),
            0);
  EXPECT_EQ(QXreadVarPriorities(model, path.c_str()), QXERR_INFO_NOT_AVAILABLE);  // unloaded
  ASSERT_EQ(loadSmall(), 0);
  NameList names({"w", "x", "y", "z"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           names.data(), nullptr),
            0);
  EXPECT_EQ(QXreadVarPriorities(model, path.c_str()), 0);
  std::remove(path.c_str());
}

// Null handles: 2010, except the variable name and lookup queries (2009).
TEST_F(ModelFixture, NullModelCodesOfTheQueries) {
  char name[8];
  int idx = 3;
  double v = 0;
  EXPECT_EQ(QXgetVariableNamej(nullptr, 0, name), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetVariableIndex(nullptr, "x", &idx), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(idx, -1);
  EXPECT_EQ(QXgetConstraintNamei(nullptr, 0, name), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetConstraintIndex(nullptr, "r", &idx), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetConeNamei(nullptr, 0, name), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetConeIndex(nullptr, "k", &idx), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetPrimalSolution(nullptr, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetSolution(nullptr, 99, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetSolutionStatus(nullptr, &idx), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetMIPSolutionStatus(nullptr, &idx), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetObjective(nullptr, &v), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetDimensions(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetVarStartPoint(nullptr, &v), QXERR_ILLEGAL_NULL_POINTER);
}

// A null result pointer skips the output; the code is the item's own.
TEST_F(ModelFixture, InformationWithANullResultPointer) {
  EXPECT_EQ(QXgetInfo(nullptr, QX_IINFO_VER_BUILD, nullptr), 0);
  EXPECT_EQ(QXgetInfo(nullptr, QX_SINFO_PLATFORM, nullptr), 0);
  EXPECT_EQ(QXgetInfo(nullptr, QX_IINFO_NUM_VARS, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_NUM_VARS, nullptr), QXERR_INFO_NOT_AVAILABLE);
  ASSERT_EQ(loadSmall(), 0);
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_NUM_VARS, nullptr), 0);
  EXPECT_EQ(QXgetInfo(model, QX_DINFO_POBJ, nullptr), QXERR_INFO_NOT_AVAILABLE);
}

// ----------------------------------------------------------- modification

// A change on a model that never held a solution leaves it loaded, and the
// solution queries still have nothing to read.
TEST_F(ModelFixture, ChangesWithoutASolutionLeaveNothingToRead) {
  ASSERT_EQ(loadSmall(), 0);
  const int rows[] = {2};
  const double rhs[] = {6};
  ASSERT_EQ(QXmodifyRHS(model, 1, rows, rhs), 0);
  int st = 0;
  double x[4];
  EXPECT_EQ(QXgetSolutionStatus(model, &st), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetPrimalSolution(model, x), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_TRUE(isLoaded(model));
}

// Rows and columns added to an empty model make it a loaded model.
TEST_F(ModelFixture, AddingToAnEmptyModelLoadsIt) {
  const int colbeg[] = {0, 0, 0};
  const double cost[] = {1, -1};
  ASSERT_EQ(QXaddVariables(model, 2, "CI", nullptr, colbeg, nullptr, nullptr, nullptr, cost,
                           nullptr, nullptr),
            0);
  const int rowbeg[] = {0, 2};
  const int cols[] = {0, 1};
  const double vals[] = {1, 1};
  const double rhs[] = {3};
  ASSERT_EQ(QXaddConstraints(model, 1, "L", nullptr, rowbeg, vals, cols, rhs), 0);
  ASSERT_TRUE(isLoaded(model));
  int n = 0, m = 0, nnz = 0;
  ASSERT_EQ(QXgetDimensions(model, &n, &m, nullptr, &nnz, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(nnz, 2);
  char types[2];
  ASSERT_EQ(QXgetVarType(model, types), 0);
  EXPECT_EQ(types[1], 'I');
  // The model holds data now: a load is refused.
  EXPECT_EQ(loadSmall(), QXERR_MODEL_ALREADY_LOADED);
}

}  // namespace
