// Loading model data: validation order, error codes and what is stored.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "model_fixture.hpp"
#include "torva.h"

namespace {

using torva_test::ModelFixture;
using torva_test::NameList;

struct LpRead {
  int sense = 0;
  double constant = 0;
  std::vector<double> c, b, lo, up, vals;
  std::string types;
  std::vector<int> beg, len, rows;
};

LpRead readLp(QXmodel model) {
  int n = 0, m = 0, nnz = 0;
  EXPECT_EQ(QXgetDimensions(model, &n, &m, nullptr, &nnz, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr),
            0);
  LpRead r;
  r.c.resize(n);
  r.b.resize(m);
  r.lo.resize(n);
  r.up.resize(n);
  r.types.assign(m, '?');
  r.beg.resize(n + 1);
  r.len.resize(n);
  r.rows.resize(nnz);
  r.vals.resize(nnz);
  EXPECT_EQ(QXgetLPData(model, &r.sense, &r.constant, r.c.data(), r.b.data(), r.types.data(),
                        r.beg.data(), r.len.data(), r.vals.data(), r.rows.data(), r.lo.data(),
                        r.up.data()),
            0);
  return r;
}

TEST_F(ModelFixture, LoadStoresTheLinearCoreAndReadsItBack) {
  ASSERT_EQ(loadSmall(), 0);
  EXPECT_EQ(model->status, QX_STATUS_LOADED);
  LpRead r = readLp(model);
  EXPECT_EQ(r.sense, QX_MIN);
  EXPECT_EQ(r.constant, 0.5);
  EXPECT_EQ(r.types, "LGE");
  EXPECT_EQ(r.beg, (std::vector<int>{0, 2, 4, 6, 8}));
  EXPECT_EQ(r.rows, (std::vector<int>{0, 2, 0, 1, 1, 2, 0, 2}));
  EXPECT_EQ(r.vals, (std::vector<double>{1, 5, 2, 3, 4, 6, 1, 7}));
  EXPECT_EQ(r.lo[2], -1e30);
  EXPECT_EQ(r.up[3], 2.0);
}

TEST_F(ModelFixture, DuplicateRowsOfAColumnAreAddedInPlace) {
  // Column 0 given as rows 2, 2, 0 with values 1, 3, 5: the entry after
  // the duplicate moves up one place.
  const double c[] = {1};
  const double b[] = {0, 0, 0};
  const int beg[] = {0, 3};
  const int rows[] = {2, 2, 0};
  const double vals[] = {1, 3, 5};
  ASSERT_EQ(QXloadLPData(model, 3, 1, QX_MIN, 0, c, b, "EEE", 3, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            0);
  LpRead r = readLp(model);
  EXPECT_EQ(r.rows, (std::vector<int>{2, 0}));
  EXPECT_EQ(r.vals, (std::vector<double>{4, 5}));
  EXPECT_EQ(r.len, (std::vector<int>{2}));
  EXPECT_EQ(r.beg, (std::vector<int>{0, 2}));
  // The freed position became spare space of the column.
  EXPECT_EQ(model->data.colBeg[1] - model->data.colBeg[0], 3);
  // Null bounds give [0, 1e30].
  EXPECT_EQ(r.lo[0], 0.0);
  EXPECT_EQ(r.up[0], 1e30);
}

TEST_F(ModelFixture, BoundsAreClampedToInfinity) {
  const double c[] = {1, 1};
  const int beg[] = {0, 0, 0};
  const double lo[] = {-1e40, 3};
  const double up[] = {1e40, 7};
  ASSERT_EQ(QXloadLPData(model, 0, 2, QX_MAX, 0, c, nullptr, nullptr, 0, beg, nullptr, nullptr,
                         nullptr, lo, up),
            0);
  double v = 0;
  ASSERT_EQ(QXgetLowerBoundj(model, 0, &v), 0);
  EXPECT_EQ(v, -1e30);
  ASSERT_EQ(QXgetUpperBoundj(model, 0, &v), 0);
  EXPECT_EQ(v, 1e30);
  EXPECT_EQ(QXgetUpperBoundj(model, 2, &v), QXERR_INDEX_OUT_OF_RANGE);
}

TEST_F(ModelFixture, ColumnLengthsLeaveSpareSpaceThatQueriesSkip) {
  const double c[] = {1, 1};
  const double b[] = {1, 1};
  const int beg[] = {0, 3, 5};
  const int len[] = {1, 2};
  const int rows[] = {1, -7, -7, 0, 1};  // positions 1 and 2 are spare
  const double vals[] = {9, 0, 0, 8, 7};
  ASSERT_EQ(QXloadLPData(model, 2, 2, QX_MIN, 0, c, b, "LL", 3, beg, len, vals, rows, nullptr, nullptr),
            0);
  LpRead r = readLp(model);
  EXPECT_EQ(r.beg, (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(r.rows, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(r.vals, (std::vector<double>{9, 8, 7}));
}

TEST_F(ModelFixture, LoadValidationCodes) {
  const double c[] = {1, 1};
  const double b[] = {1, 1, 1, 1};
  const int rows[] = {0, 1, 2};
  const double vals[] = {1, 1, 1};
  {  // decreasing starts without lengths
    const int beg[] = {0, 2, 1};
    EXPECT_EQ(QXloadLPData(model, 2, 2, QX_MIN, 0, c, b, "LL", 1, beg, nullptr, vals, rows, nullptr,
                           nullptr),
              QXERR_COLBEG_INVALID);
  }
  const int beg[] = {0, 2, 3};
  // nAnnz smaller than the sum of the lengths
  EXPECT_EQ(QXloadLPData(model, 3, 2, QX_MIN, 0, c, b, "LLL", 2, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            QXERR_TOTAL_NONZ_INVALID);
  // nAnnz beyond the stored length
  EXPECT_EQ(QXloadLPData(model, 3, 2, QX_MIN, 0, c, b, "LLL", 4, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            QXERR_TOTAL_NONZ_INVALID);
  EXPECT_EQ(QXloadLPData(model, 3, 2, 0, 0, c, b, "LLL", 3, beg, nullptr, vals, rows, nullptr, nullptr),
            QXERR_BAD_OBJECTIVE_SENSE);
  {
    const int len[] = {3, 1};
    EXPECT_EQ(QXloadLPData(model, 3, 2, QX_MIN, 0, c, b, "LLL", 4, beg, len, vals, rows, nullptr,
                           nullptr),
              QXERR_TOTAL_NONZ_INVALID);
    const int len2[] = {1, 2};
    EXPECT_EQ(QXloadLPData(model, 3, 2, QX_MIN, 0, c, b, "LLL", 3, beg, len2, vals, rows, nullptr,
                           nullptr),
              QXERR_COLUMN_LENGTH_INVALID);
  }
  // a row index equal to m
  EXPECT_EQ(QXloadLPData(model, 2, 2, QX_MIN, 0, c, b, "LL", 3, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            QXERR_INDEX_OUT_OF_RANGE);
  // null pointers
  EXPECT_EQ(QXloadLPData(model, 3, 2, QX_MIN, 0, nullptr, b, "LLL", 3, beg, nullptr, vals, rows,
                         nullptr, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadLPData(model, 3, 2, QX_MIN, 0, c, b, "LLL", 3, nullptr, nullptr, vals, rows,
                         nullptr, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadLPData(model, 3, 2, QX_MIN, 0, c, b, "LLL", 3, beg, nullptr, nullptr, rows,
                         nullptr, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadLPData(nullptr, 3, 2, QX_MIN, 0, c, b, "LLL", 3, beg, nullptr, vals, rows,
                         nullptr, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  // Every failure left the model unloaded and empty, so a good load works.
  EXPECT_EQ(model->status, QX_STATUS_UNLOADED);
  EXPECT_EQ(QXgetLPData(model, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr),
            QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXloadLPData(model, 3, 2, QX_MIN, 0, c, b, "LLL", 3, beg, nullptr, vals, rows, nullptr,
                         nullptr),
            0);
}

TEST_F(ModelFixture, BadConstraintTypeLeavesModelUnloadedAndSecondLoadIsRefused) {
  const double c[] = {1};
  const double b[] = {1, 1, 1, 1};
  const int beg[] = {0, 0};
  // An empty load (no rows, no columns) succeeds and still admits a load,
  // whose failure leaves the model unloaded again.
  ASSERT_EQ(QXloadLPData(model, 0, 0, QX_MIN, 0, nullptr, nullptr, nullptr, 0, beg, nullptr,
                         nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_NE(model->status, QX_STATUS_UNLOADED);
  EXPECT_EQ(QXloadLPData(model, 4, 1, QX_MIN, 0, c, b, "LGEX", 0, beg, nullptr, nullptr, nullptr,
                         nullptr, nullptr),
            QXERR_BAD_CONSTRAINT_TYPE);
  EXPECT_EQ(model->status, QX_STATUS_UNLOADED);
  int m = -1;
  EXPECT_EQ(QXgetDimensions(model, nullptr, &m, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr),
            QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(model->data.m, 0);
  ASSERT_EQ(loadSmall(), 0);
  EXPECT_EQ(loadSmall(), QXERR_MODEL_ALREADY_LOADED);
}

TEST_F(ModelFixture, VariableTypesClampBinariesAndTurnSIntoSemiContinuous) {
  const double c[] = {1, 1, 1, 1};
  const int beg[] = {0, 0, 0, 0, 0};
  const double lo[] = {-5, 2, 3, 0};
  const double up[] = {5, 5, 10, 9};
  ASSERT_EQ(QXloadLPData(model, 0, 4, QX_MIN, 0, c, nullptr, nullptr, 0, beg, nullptr, nullptr,
                         nullptr, lo, up),
            0);
  EXPECT_EQ(QXloadVarType(model, "CBCC"), QXERR_INPUT_OUT_OF_RANGE);  // [2, 5] cannot be binary
  EXPECT_EQ(QXloadVarType(model, "CCCZ"), QXERR_BAD_VARIABLE_TYPE);
  char types[5] = {};
  ASSERT_EQ(QXgetVarType(model, types), 0);
  EXPECT_STREQ(types, "CCCC");  // failures stored nothing

  ASSERT_EQ(QXloadVarType(model, "BISC"), 0);
  ASSERT_EQ(QXgetVarType(model, types), 0);
  EXPECT_STREQ(types, "BICC");
  double l = 0, u = 0;
  QXgetLowerBoundj(model, 0, &l);
  QXgetUpperBoundj(model, 0, &u);
  EXPECT_EQ(l, 0.0);
  EXPECT_EQ(u, 1.0);
  // 'S' on [3, 10]: continuous with bounds [0, 10] and semi-continuous lower 3.
  QXgetLowerBoundj(model, 2, &l);
  QXgetUpperBoundj(model, 2, &u);
  EXPECT_EQ(l, 0.0);
  EXPECT_EQ(u, 10.0);
  int count = 0, var = -1;
  double scl = 0, scu = 0;
  ASSERT_EQ(QXgetSemiContData(model, &count, &var, &scl, &scu), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(var, 2);
  EXPECT_EQ(scl, 3.0);
  EXPECT_EQ(scu, 10.0);
  int k = 0;
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_NUM_BIN, &k), 0);
  EXPECT_EQ(k, 1);
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_NUM_INT, &k), 0);
  EXPECT_EQ(k, 1);
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_NUM_CONT, &k), 0);
  EXPECT_EQ(k, 2);

  ASSERT_EQ(QXloadVarType(model, nullptr), 0);
  ASSERT_EQ(QXgetVarType(model, types), 0);
  EXPECT_STREQ(types, "CCCC");
}

TEST_F(ModelFixture, SemiContinuousValidation) {
  EXPECT_EQ(QXloadSemiContData(nullptr, 0, nullptr, nullptr, nullptr), 0);
  ASSERT_EQ(loadSmall(), 0);
  const int vars[] = {1, 4};
  const int dup[] = {1, 1};
  const double lo[] = {2, 2};
  const double up[] = {8, 8};
  EXPECT_EQ(QXloadSemiContData(nullptr, 2, vars, lo, up), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadSemiContData(model, 2, vars, nullptr, up), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadSemiContData(model, 2, vars, lo, up), QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXloadSemiContData(model, 2, dup, lo, up), QXERR_INDEX_DUPLICATE);
  ASSERT_EQ(QXloadSemiContData(model, 1, vars, lo, up), 0);
  double l = 7, u = 0;
  QXgetLowerBoundj(model, 1, &l);  // was -1: moved to 0
  QXgetUpperBoundj(model, 1, &u);
  EXPECT_EQ(l, 0.0);
  EXPECT_EQ(u, 8.0);
  EXPECT_EQ(QXloadSemiContData(model, 1, vars, lo, up), QXERR_MODEL_ALREADY_LOADED);
}

TEST_F(ModelFixture, QuadraticTermsAreGroupedObjectiveFirst) {
  ASSERT_EQ(loadSmall(), 0);
  const int rows[] = {1, -1, 1, 0, -1};
  const int c1[] = {0, 1, 2, 3, 0};
  const int c2[] = {0, 1, 2, 3, 1};
  const double coef[] = {1, 2, 3, 0, 5};  // the zero term is skipped
  EXPECT_EQ(QXloadQCData(model, 0, nullptr, nullptr, nullptr, nullptr), 0);
  const int badRow[] = {3};
  EXPECT_EQ(QXloadQCData(model, 1, badRow, c1, c2, coef), QXERR_ROW_INDEX_OUT_OF_RANGE);
  const int badCol[] = {4};
  EXPECT_EQ(QXloadQCData(model, 1, rows, badCol, c2, coef), QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXloadQCData(model, 5, rows, c1, nullptr, coef), QXERR_ILLEGAL_NULL_POINTER);
  ASSERT_EQ(QXloadQCData(model, 5, rows, c1, c2, coef), 0);
  int nz = 0;
  std::vector<int> r(4), a(4), b(4);
  std::vector<double> v(4);
  ASSERT_EQ(QXgetQCData(model, &nz, r.data(), a.data(), b.data(), v.data()), 0);
  EXPECT_EQ(nz, 4);
  EXPECT_EQ(r, (std::vector<int>{-1, -1, 1, 1}));
  EXPECT_EQ(a, (std::vector<int>{1, 0, 0, 2}));
  EXPECT_EQ(v, (std::vector<double>{2, 5, 1, 3}));
  ASSERT_EQ(QXgetQCDatai(model, 1, &nz, a.data(), b.data(), v.data()), 0);
  EXPECT_EQ(nz, 2);
  EXPECT_EQ(v[1], 3.0);
  ASSERT_EQ(QXgetQCDatai(model, 0, &nz, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(nz, 0);
  int convex = -1;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_NLP_CONVEX, &convex), 0);
  EXPECT_EQ(convex, 1);  // no term in the equality row 2
  EXPECT_EQ(QXloadQCData(model, 5, rows, c1, c2, coef), QXERR_MODEL_ALREADY_LOADED);
  // Cones cannot join quadratic data.
  const int cb[] = {0, 1};
  const int cc[] = {0};
  EXPECT_EQ(QXloadConeData(model, 1, "Q", cb, cc), QXERR_MODEL_ALREADY_LOADED);
}

TEST_F(ModelFixture, QuadraticTermInEqualityRowClearsConvexity) {
  ASSERT_EQ(loadSmall(), 0);
  const int rows[] = {2};
  const int c[] = {0};
  const double v[] = {1};
  ASSERT_EQ(QXloadQCData(model, 1, rows, c, c, v), 0);
  int convex = -1;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_NLP_CONVEX, &convex), 0);
  EXPECT_EQ(convex, 0);
}

TEST_F(ModelFixture, ConeValidation) {
  ASSERT_EQ(loadSmall(), 0);
  const int beg[] = {0, 2, 3};
  const int cols[] = {0, 1, 2};
  EXPECT_EQ(QXloadConeData(model, 2, "QX", beg, cols), QXERR_BAD_CONSTRAINT_TYPE);
  EXPECT_EQ(QXloadConeData(model, 2, "QR", beg, cols), QXERR_COLUMN_LENGTH_INVALID);
  const int shared[] = {0, 1, 1};
  EXPECT_EQ(QXloadConeData(model, 2, "RQ", beg, shared), QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  const int outside[] = {0, 1, 4};
  EXPECT_EQ(QXloadConeData(model, 2, "RQ", beg, outside), QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXloadConeData(model, 2, "RQ", nullptr, cols), QXERR_ILLEGAL_NULL_POINTER);
  ASSERT_EQ(QXloadConeData(model, 2, "RQ", beg, cols), 0);
  char type = 0;
  int nnz = 0;
  int members[3] = {};
  ASSERT_EQ(QXgetConeDatai(model, 0, &type, &nnz, members), 0);
  EXPECT_EQ(type, 'R');
  EXPECT_EQ(nnz, 2);
  EXPECT_EQ(members[1], 1);
  EXPECT_EQ(QXgetConeDatai(model, 2, &type, &nnz, members), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXloadConeData(model, 2, "RQ", beg, cols), QXERR_MODEL_ALREADY_LOADED);
  const int r[] = {0};
  const double v[] = {1};
  EXPECT_EQ(QXloadQCData(model, 1, r, r, r, v), QXERR_MODEL_ALREADY_LOADED);
}

TEST_F(ModelFixture, SetValidation) {
  ASSERT_EQ(loadSmall(), 0);
  const int beg[] = {0, 2, 3, 5};
  const int cols[] = {0, 1, 2, 1, 3};
  const int card[] = {0, 0, 1};
  const char types[] = {1, 2, 4};
  const char bad[] = {1, 5, 4};
  EXPECT_EQ(QXloadSETSData(model, 3, bad, card, beg, cols), QXERR_BAD_CONSTRAINT_TYPE);
  EXPECT_EQ(QXloadSETSData(model, 3, types, nullptr, beg, cols), QXERR_COLUMN_LENGTH_INVALID);
  const char okTypes[] = {'2', '1', 4};
  EXPECT_EQ(QXloadSETSData(model, 3, okTypes, nullptr, beg, cols), QXERR_ILLEGAL_NULL_POINTER);
  const int negCard[] = {0, 0, -1};
  EXPECT_EQ(QXloadSETSData(model, 3, okTypes, negCard, beg, cols), QXERR_INPUT_OUT_OF_RANGE);
  const int repeated[] = {0, 0, 2, 1, 3};
  EXPECT_EQ(QXloadSETSData(model, 3, okTypes, card, beg, repeated), QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  ASSERT_EQ(QXloadSETSData(model, 3, okTypes, card, beg, cols), 0);
  int nsets = 0, total = 0;
  char t[3];
  int cd[3], b[4], c[5];
  ASSERT_EQ(QXgetSETSData(model, &nsets, &total, t, cd, b, c), 0);
  EXPECT_EQ(nsets, 3);
  EXPECT_EQ(total, 5);
  EXPECT_EQ(t[0], 2);  // digits are stored as numbers
  EXPECT_EQ(t[2], 4);
  EXPECT_EQ(cd[2], 1);
  EXPECT_EQ(b[3], 5);
  EXPECT_EQ(QXloadSETSData(model, 3, okTypes, card, beg, cols), QXERR_MODEL_ALREADY_LOADED);
}

TEST_F(ModelFixture, PrioritiesSkipNegativeValuesAndReadFromFile) {
  ASSERT_EQ(loadSmall(), 0);
  const int prio[] = {3, -1, 5, 0};
  EXPECT_EQ(QXloadVarPriorities(model, prio), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(model->data.priority, (std::vector<int>{3, 0, 5, 0}));
  EXPECT_EQ(QXloadVarPriorities(model, nullptr), 0);
  EXPECT_TRUE(model->data.priority.empty());

  const std::string dir = std::getenv("TORVA_TEST_TMP") ? std::getenv("TORVA_TEST_TMP") : "/tmp";
  const std::string path = dir + "/torva_priorities.txt";
  EXPECT_EQ(QXreadVarPriorities(model, path.c_str()), QXERR_CANNOT_OPEN_FILE);
  {
    std::ofstream out(path);
    out << "x2 7\n  x0   4 \nnot a line\nx1 -3\n";
  }
  // Without variable names the lookup cannot answer.
  EXPECT_EQ(QXreadVarPriorities(model, path.c_str()), QXERR_INFO_NOT_AVAILABLE);
  NameList names({"x0", "x1", "x2", "x3"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           names.data(), nullptr),
            0);
  ASSERT_EQ(QXreadVarPriorities(model, path.c_str()), 0);
  EXPECT_EQ(model->data.priority, (std::vector<int>{4, 0, 7, 0}));
  {
    std::ofstream out(path);
    out << "x2 7\nX0 4\n";
  }
  EXPECT_EQ(QXreadVarPriorities(model, path.c_str()), QXERR_COLUMN_TOKEN_NOT_FOUND);
  std::remove(path.c_str());
  EXPECT_EQ(QXreadVarPriorities(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
}

TEST_F(ModelFixture, StartPointsFullAndPartial) {
  ASSERT_EQ(loadSmall(), 0);
  double x[4];
  EXPECT_EQ(QXgetVarStartPoint(model, x), QXERR_INFO_NOT_AVAILABLE);
  const double full[] = {1, 2, 3, 4};
  ASSERT_EQ(QXloadVarStartPoint(model, full), 0);
  ASSERT_EQ(QXgetVarStartPoint(model, x), 0);
  EXPECT_EQ(x[3], 4.0);
  EXPECT_EQ(QXloadVarStartPoint(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  const int vars[] = {3, 4};
  const double vals[] = {1.5, 2.5};
  EXPECT_EQ(QXloadVarStartPointPartial(model, 2, vars, vals), QXERR_INDEX_OUT_OF_RANGE);
  ASSERT_EQ(QXloadVarStartPointPartial(model, 1, vars, vals), 0);
  int count = 0, v = -1;
  double val = 0;
  ASSERT_EQ(QXgetVarStartPointPartial(model, &count, &v, &val), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(val, 1.5);
  const int ivals[] = {1, 0};
  const int ivars[] = {0, 2};
  ASSERT_EQ(QXloadMIPVarStartPointPartial(model, 2, ivars, ivals), 0);
  int iv[2], ix[2];
  ASSERT_EQ(QXgetMIPVarStartPointPartial(model, &count, iv, ix), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(iv[1], 2);
  EXPECT_EQ(ix[0], 1);
}

TEST_F(ModelFixture, BasisValidation) {
  ASSERT_EQ(loadSmall(), 0);
  // x2 is free, x1 has no upper bound, x0 in [0, 4], x3 fixed at 2.
  const int rowsBasic[] = {0, 1, 2};
  const int cols[] = {-1, -1, -3, -2};
  ASSERT_EQ(QXloadBasis(model, cols, rowsBasic), 0);
  EXPECT_EQ(model->data.basisCols, (std::vector<int>{-1, -1, -3, -2}));
  const int tooMany[] = {0, -1, -3, -2};
  EXPECT_EQ(QXloadBasis(model, tooMany, rowsBasic), QXERR_BASIS_INVALID);
  const int atMissingUpper[] = {-1, -2, -3, -2};
  EXPECT_EQ(QXloadBasis(model, atMissingUpper, rowsBasic), QXERR_BASIS_BOUND_MISMATCH);
  const int atMissingLower[] = {-1, -1, -1, -2};
  EXPECT_EQ(QXloadBasis(model, atMissingLower, rowsBasic), QXERR_BASIS_BOUND_MISMATCH);
  const int badCode[] = {-9, -1, -3, -2};
  EXPECT_EQ(QXloadBasis(model, badCode, rowsBasic), QXERR_BASIS_COL_STATUS);
  ASSERT_EQ(QXloadBasis(model, nullptr, rowsBasic), 0);
  EXPECT_TRUE(model->data.basisCols.empty());
}

// Load statistics go to the model's log function, one call per line.
TEST_F(ModelFixture, BaseStatisticsAreLogged) {
  std::vector<std::string> lines;
  QXsetModelLogfunc(
      model, [](QXmodel, const char* text, void* user) {
        static_cast<std::vector<std::string>*>(user)->push_back(text);
      },
      &lines);
  ASSERT_EQ(loadSmall(), 0);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "\nNumber of constraints:       3    le:       1, ge:       1, eq:       1, rn:       0 (ne:0)");
  EXPECT_EQ(lines[1], "\nNumber of variables  :       4    lb:       1, ub:       0, fr:       1, bx:       2 (fx:1)");
  EXPECT_EQ(lines[2].rfind("\nNumber of nonzeroes  :       8    density:      67(%)     , sb:       0\n", 0), 0u)
      << lines[2];
  EXPECT_EQ(lines[3], "\n\nDensest 5 rows and cols");
  // Rows 0 and 2 have three entries (75% of the columns); column 0 has two.
  EXPECT_EQ(lines[4], "\nrow[000000]:3 (%75.0),    col[000000]:2 (%66.7)");
  EXPECT_EQ(lines.back().rfind("\nLoaded base stats in ", 0), 0u);
  // Row 1 holds the two entries the other rows leave.
  bool sawRows = false, sawCols = false;
  for (auto& l : lines) {
    sawRows |= l == "rows with 1nz:     0, 2nzs:     1\n";
    sawCols |= l == "cols with 1nz:     0, 2nzs:     4\n";
  }
  EXPECT_TRUE(sawRows);
  EXPECT_TRUE(sawCols);
}

}  // namespace

namespace {

using torva_test::ModelFixture;

TEST_F(ModelFixture, NamesLoadedBeforeTheDataGetPaddedSafely) {
  char* none[1] = {nullptr};  // lists of zero names (the model has no rows yet)
  ASSERT_EQ(QXloadNameData(model, "early", nullptr, nullptr, nullptr, nullptr, none, none, nullptr),
            0);
  ASSERT_EQ(loadSmall(), 0);
  char name[16] = "junk";
  EXPECT_EQ(QXgetConstraintNamei(model, 2, name), 0);
  EXPECT_STREQ(name, "");
  int idx = 0;
  EXPECT_EQ(QXgetVariableIndex(model, "x", &idx), QXERR_COLUMN_TOKEN_NOT_FOUND);
  char title[16];
  QXgetNameData(model, title, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_STREQ(title, "early");
}

}  // namespace

namespace {

TEST_F(ModelFixture, IntegerAndSemiContinuousCountsAreLogged) {
  std::vector<std::string> lines;
  ASSERT_EQ(loadSmall(), 0);
  QXsetModelLogfunc(
      model, [](QXmodel, const char* text, void* user) {
        static_cast<std::vector<std::string>*>(user)->push_back(text);
      },
      &lines);
  ASSERT_EQ(QXloadVarType(model, "CCCB"), QXERR_INPUT_OUT_OF_RANGE);  // x3 is fixed at 2; logs nothing
  ASSERT_EQ(QXloadVarType(model, "BICS"), 0);
  // x0 (rows 0, 2) binary; x1 (rows 0, 1) integer; x3 semi-continuous.
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "\nSemicont variables   :       1\n");
  EXPECT_EQ(lines[1], "\nBinary variables     :       1 (in 2 constraints)");
  EXPECT_EQ(lines[2], "\nInteger variables    :       1 (in 2 constraints)\n");
}

}  // namespace

namespace {

using torva_test::ModelFixture;

// Loads of further data and what they do to the solution records.
TEST_F(ModelFixture, FurtherLoadsAndTheSolutionRecords) {
  ASSERT_EQ(loadSmall(), 0);
  auto& sol = model->lpSolution.emplace();
  sol.modelStatus = sol.primalStatus = sol.dualStatus = 2;  // basic optimal
  sol.x = {1, 2, 3, 4};
  model->status = 2;
  model->mipSolution.emplace().status = 1;

  // Discarding the basis lowers basic optimal to optimal.
  const int rowsBasic[] = {0, 1, 2};
  ASSERT_EQ(QXloadBasis(model, nullptr, rowsBasic), 0);
  int st = 0;
  ASSERT_EQ(QXgetSolutionStatus(model, &st), 0);
  EXPECT_EQ(st, 1);

  // New variable types drop the integer solution.
  ASSERT_EQ(QXloadVarType(model, "CICC"), 0);
  EXPECT_EQ(QXgetMIPSolutionStatus(model, &st), QXERR_INFO_NOT_AVAILABLE);

  // Semi-continuous data make the continuous solution stale but readable.
  model->mipSolution.emplace().status = 1;
  const int vars[] = {0};
  const double lo[] = {1}, up[] = {3};
  ASSERT_EQ(QXloadSemiContData(model, 1, vars, lo, up), 0);
  ASSERT_EQ(QXgetSolutionStatus(model, &st), 0);
  EXPECT_EQ(st, 12);
  EXPECT_EQ(model->status, QX_STATUS_LOADED);
  EXPECT_FALSE(model->mipSolution.has_value());
  std::vector<double> x(4);
  ASSERT_EQ(QXgetPrimalSolution(model, x.data()), 0);
  EXPECT_EQ(x[3], 4.0);
}

}  // namespace
