// Model modification: value changes, matrix entries, rows and columns added
// and deleted with everything that refers to them, capacities and statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "base/model.hpp"
#include "model_fixture.hpp"
#include "torva.h"

namespace {

using torva_test::ModelFixture;
using torva_test::NameList;

// Column j as sorted (row, value) pairs, read through the public queries.
std::vector<std::pair<int, double>> column(QXmodel model, int j) {
  int nnz = 0;
  std::vector<int> rows(1000);
  std::vector<double> vals(1000);
  EXPECT_EQ(QXgetLPVariableDataj(model, j, nullptr, nullptr, nullptr, nullptr, &nnz, rows.data(),
                                 vals.data()),
            0);
  std::vector<std::pair<int, double>> out;
  for (int k = 0; k < nnz; ++k) out.emplace_back(rows[k], vals[k]);
  std::sort(out.begin(), out.end());
  return out;
}

using Col = std::vector<std::pair<int, double>>;

TEST_F(ModelFixture, ValueChangesCheckIndicesOneByOne) {
  ASSERT_EQ(loadSmall(), 0);
  const int rows[] = {0, 3};
  const double vals[] = {99, 1};
  EXPECT_EQ(QXmodifyRHS(model, 2, rows, vals), QXERR_INDEX_OUT_OF_RANGE);
  double rhs = 0;
  char t = 0;
  ASSERT_EQ(QXgetConstraintDatai(model, 0, &t, nullptr, &rhs), 0);
  EXPECT_EQ(rhs, 99.0);  // the index before the failing one was applied
  EXPECT_EQ(QXmodifyRHS(nullptr, 1, rows, vals), QXERR_ILLEGAL_NULL_POINTER);

  const int vars[] = {1};
  const double cost[] = {-8};
  ASSERT_EQ(QXmodifyObjective(model, 1, vars, cost), 0);
  double c = 0;
  QXgetLPVariableDataj(model, 1, nullptr, &c, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(c, -8.0);
  const double huge[] = {1e40};
  ASSERT_EQ(QXmodifyUpperBounds(model, 1, vars, huge), 0);
  double u = 0;
  QXgetUpperBoundj(model, 1, &u);
  EXPECT_EQ(u, 1e30);

  EXPECT_EQ(QXmodifyConstraintType(model, 1, rows, "X"), QXERR_PARAMETER_OUT_OF_RANGE);
  ASSERT_EQ(QXmodifyConstraintType(model, 1, rows, "N"), 0);
  QXgetConstraintDatai(model, 0, &t, nullptr, nullptr);
  EXPECT_EQ(t, 'N');
  ASSERT_EQ(QXmodifyObjConstant(model, 3.5), 0);
  double k = 0;
  QXgetLPData(model, nullptr, &k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
              nullptr, nullptr);
  EXPECT_EQ(k, 3.5);
}

TEST_F(ModelFixture, VariableTypeAndBoundRules) {
  ASSERT_EQ(loadSmall(), 0);
  // x0 [0, 4] may become binary and is clamped to [0, 1]; x3 is fixed at 2.
  const int v0[] = {0};
  const int v3[] = {3};
  EXPECT_EQ(QXmodifyVariableType(model, 1, v0, "S"), QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXmodifyVariableType(model, 1, v3, "B"), QXERR_INPUT_OUT_OF_RANGE);
  ASSERT_EQ(QXmodifyVariableType(model, 1, v0, "B"), 0);
  double u = 0;
  QXgetUpperBoundj(model, 0, &u);
  EXPECT_EQ(u, 1.0);
  const double two[] = {2};
  EXPECT_EQ(QXmodifyLowerBounds(model, 1, v0, two), QXERR_INPUT_OUT_OF_RANGE);
  const double minusOne[] = {-1};
  EXPECT_EQ(QXmodifyUpperBounds(model, 1, v0, minusOne), QXERR_INPUT_OUT_OF_RANGE);
  char types[5] = {};
  QXgetVarType(model, types);
  EXPECT_STREQ(types, "BCCC");

  // Semi-continuous variables keep lower bound 0.
  const int v1[] = {1};
  const double l[] = {2}, up[] = {6};
  ASSERT_EQ(QXloadSemiContData(model, 1, v1, l, up), 0);
  EXPECT_EQ(QXmodifyLowerBounds(model, 1, v1, l), QXERR_INPUT_OUT_OF_RANGE);
  const double zero[] = {0};
  EXPECT_EQ(QXmodifyLowerBounds(model, 1, v1, zero), 0);
}

TEST_F(ModelFixture, ChangesOnASolvedModelKeepTheLastSolutionWithStaleStatuses) {
  ASSERT_EQ(loadSmall(), 0);
  auto& sol = model->lpSolution.emplace();
  sol.modelStatus = sol.primalStatus = sol.dualStatus = 2;
  sol.x = {1, 2, 3, 4};
  model->status = 2;
  const int vars[] = {0};
  const double vals[] = {3};
  ASSERT_EQ(QXmodifyUpperBounds(model, 1, vars, vals), 0);
  int st = 0;
  ASSERT_EQ(QXgetSolutionStatus(model, &st), 0);
  EXPECT_EQ(st, 12);
  EXPECT_EQ(model->status, QX_STATUS_LOADED);
  EXPECT_EQ(model->lpSolution->primalStatus, QX_STATUS_LOADED);
  std::vector<double> x(4);
  ASSERT_EQ(QXgetPrimalSolution(model, x.data()), 0);
  EXPECT_EQ(x[3], 4.0);
}

TEST_F(ModelFixture, CoefficientsGoIntoSpareSpaceWithoutMovingOtherColumns) {
  ASSERT_EQ(loadSmall(), 0);
  const int spaces[] = {2, 0, 0, 0};
  ASSERT_EQ(QXaddEmptySpacesAcolumns(model, spaces), 0);
  const std::vector<int> before = model->data.colBeg;
  const int rows[] = {1, 0};
  const double vals[] = {9, 11};  // row 1 is new, row 0 exists
  ASSERT_EQ(QXmodifyAj(model, 0, 2, rows, vals), 0);
  EXPECT_EQ(model->data.colBeg, before);
  EXPECT_EQ(column(model, 0), (Col{{0, 11}, {1, 9}, {2, 5}}));
  // Column 1 has no spare space: it grows and the columns after it move.
  const int r2[] = {2};
  const double v2[] = {-4};
  ASSERT_EQ(QXmodifyAj(model, 1, 1, r2, v2), 0);
  EXPECT_EQ(column(model, 1), (Col{{0, 2}, {1, 3}, {2, -4}}));
  EXPECT_EQ(column(model, 3), (Col{{0, 1}, {2, 7}}));
  int nnz = 0;
  QXgetInfo(model, QX_IINFO_NUM_NONZ, &nnz);
  EXPECT_EQ(nnz, 10);
  // QXgetLPData returns the matrix without gaps.
  std::vector<int> beg(5), len(4), idx(10);
  std::vector<double> val(10);
  ASSERT_EQ(QXgetLPData(model, nullptr, nullptr, nullptr, nullptr, nullptr, beg.data(), len.data(),
                        val.data(), idx.data(), nullptr, nullptr),
            0);
  EXPECT_EQ(beg, (std::vector<int>{0, 3, 6, 8, 10}));
  const int bad[] = {3};
  EXPECT_EQ(QXmodifyAj(model, 0, 1, bad, v2), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXmodifyAj(model, 4, 1, r2, v2), QXERR_INDEX_OUT_OF_RANGE);
  const int del[] = {0, 2};
  ASSERT_EQ(QXdeleteAj(model, 1, 2, del), 0);
  EXPECT_EQ(column(model, 1), (Col{{1, 3}}));
  QXgetInfo(model, QX_IINFO_NUM_NONZ, &nnz);
  EXPECT_EQ(nnz, 8);
}

TEST_F(ModelFixture, AddingRowsGrowsCapacityByTheRule) {
  // 10 rows, 2 columns, no spare capacity.
  std::vector<double> c(2, 1), b(10, 1);
  std::string types(10, 'L');
  const int beg[] = {0, 0, 0};
  ASSERT_EQ(QXloadLPData(model, 10, 2, QX_MIN, 0, c.data(), b.data(), types.data(), 0, beg, nullptr,
                         nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(model->data.rowCapacity(), 10);
  const int rowbeg[] = {0, 2, 2, 3, 3, 3};
  const int cols[] = {0, 1, 1};
  const double vals[] = {1, 2, 3};
  EXPECT_EQ(QXaddConstraints(model, 5, "LLXLL", nullptr, rowbeg, vals, cols, nullptr),
            QXERR_BAD_CONSTRAINT_TYPE);
  const int dupCols[] = {0, 0, 1};
  EXPECT_EQ(QXaddConstraints(model, 5, "LLGLL", nullptr, rowbeg, vals, dupCols, nullptr),
            QXERR_INDEX_DUPLICATE);
  const int outCols[] = {0, 2, 1};
  EXPECT_EQ(QXaddConstraints(model, 5, "LLGLL", nullptr, rowbeg, vals, outCols, nullptr),
            QXERR_INDEX_OUT_OF_RANGE);
  ASSERT_EQ(QXaddConstraints(model, 5, "LLGLL", nullptr, rowbeg, vals, cols, nullptr), 0);
  EXPECT_EQ(model->data.m, 15);
  EXPECT_EQ(model->data.rowCapacity(), 115);
  int nnz = 0;
  std::vector<int> rc(2);
  std::vector<double> rv(2);
  char t = 0;
  double rhs = 7;
  ASSERT_EQ(QXgetLPConstraintDatai(model, 10, &t, &rhs, &nnz, rc.data(), rv.data()), 0);
  EXPECT_EQ(t, 'L');
  EXPECT_EQ(rhs, 0.0);
  EXPECT_EQ(nnz, 2);
  EXPECT_EQ(rv[1], 2.0);
  ASSERT_EQ(QXgetLPConstraintDatai(model, 12, &t, &rhs, &nnz, rc.data(), rv.data()), 0);
  EXPECT_EQ(t, 'G');
  EXPECT_EQ(rc[0], 1);
}

TEST_F(ModelFixture, AddedRowsAndColumnsCarryNames) {
  ASSERT_EQ(loadSmall(), 0);
  NameList rows({"r0", "r1", "r2"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, rows.data(), nullptr,
                           nullptr),
            0);
  int idx = -1;
  ASSERT_EQ(QXgetConstraintIndex(model, "r2", &idx), 0);  // builds the table
  NameList more({"extra"});
  const double rhs[] = {4};
  ASSERT_EQ(QXaddConstraints(model, 1, "E", more.data(), nullptr, nullptr, nullptr, rhs), 0);
  ASSERT_EQ(QXgetConstraintIndex(model, "extra", &idx), 0);
  EXPECT_EQ(idx, 3);
  // Columns without names added to a model without column names stay unnamed.
  const int colbeg[] = {0, 2};
  const int crows[] = {3, 3};
  const double cvals[] = {1, 2};
  const double lo[] = {-3}, up[] = {3};
  ASSERT_EQ(QXaddVariables(model, 1, "I", nullptr, colbeg, nullptr, cvals, crows, nullptr, lo, up), 0);
  EXPECT_EQ(column(model, 4), (Col{{3, 3}}));  // duplicates merged
  char types[6] = {};
  QXgetVarType(model, types);
  EXPECT_STREQ(types, "CCCCI");
  EXPECT_EQ(QXgetVariableIndex(model, "x4", &idx), QXERR_INFO_NOT_AVAILABLE);
  NameList vn({"y"});
  ASSERT_EQ(QXaddVariables(model, 1, "B", vn.data(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr),
            0);
  ASSERT_EQ(QXgetVariableIndex(model, "y", &idx), 0);
  EXPECT_EQ(idx, 5);
  double u = 0;
  QXgetUpperBoundj(model, 5, &u);
  EXPECT_EQ(u, 1.0);
  char name[16];
  EXPECT_EQ(QXgetVariableNamej(model, 2, name), 0);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(QXaddVariables(model, 1, "Q", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr),
            QXERR_PARAMETER_OUT_OF_RANGE);
  const double bad[] = {5};
  EXPECT_EQ(QXaddVariables(model, 1, "B", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, bad,
                           nullptr),
            QXERR_INPUT_OUT_OF_RANGE);
  const int badRows[] = {4, 0};
  EXPECT_EQ(QXaddVariables(model, 1, nullptr, nullptr, colbeg, nullptr, cvals, badRows, nullptr,
                           nullptr, nullptr),
            QXERR_INDEX_OUT_OF_RANGE);
  // 'S' makes the new column semi-continuous.
  const double sl[] = {2}, su[] = {9};
  ASSERT_EQ(QXaddVariables(model, 1, "S", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, sl, su), 0);
  int count = 0, var = -1;
  double scl = 0;
  ASSERT_EQ(QXgetSemiContData(model, &count, &var, &scl, nullptr), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(var, 6);
  EXPECT_EQ(scl, 2.0);
}

TEST_F(ModelFixture, DeletingRowsRenumbersEntriesNamesAndQuadraticRows) {
  ASSERT_EQ(loadSmall(), 0);
  NameList rows({"a", "b", "c"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, rows.data(), nullptr,
                           nullptr),
            0);
  const int qr[] = {0, 2, -1};
  const int qc[] = {0, 1, 2};
  const double qv[] = {1, 2, 3};
  ASSERT_EQ(QXloadQCData(model, 3, qr, qc, qc, qv), 0);
  const int twice[] = {1, 1};
  EXPECT_EQ(QXdeleteConstraints(model, 2, twice), QXERR_INDEX_DUPLICATE);
  const int out[] = {3};
  EXPECT_EQ(QXdeleteConstraints(model, 1, out), QXERR_INDEX_OUT_OF_RANGE);
  const int del[] = {0};
  ASSERT_EQ(QXdeleteConstraints(model, 1, del), 0);
  EXPECT_EQ(model->data.m, 2);
  // Old rows 1 and 2 are now 0 and 1.
  EXPECT_EQ(column(model, 0), (Col{{1, 5}}));
  EXPECT_EQ(column(model, 2), (Col{{0, 4}, {1, 6}}));
  int idx = -1;
  ASSERT_EQ(QXgetConstraintIndex(model, "c", &idx), 0);
  EXPECT_EQ(idx, 1);
  EXPECT_EQ(QXgetConstraintIndex(model, "a", &idx), QXERR_ROW_TOKEN_NOT_FOUND);
  char types[3] = {};
  QXgetLPData(model, nullptr, nullptr, nullptr, nullptr, types, nullptr, nullptr, nullptr, nullptr,
              nullptr, nullptr);
  EXPECT_EQ(std::string(types, 2), "GE");
  int nz = 0;
  std::vector<int> r(3), c1(3), c2(3);
  std::vector<double> v(3);
  ASSERT_EQ(QXgetQCData(model, &nz, r.data(), c1.data(), c2.data(), v.data()), 0);
  EXPECT_EQ(nz, 2);
  EXPECT_EQ(r[0], -1);
  EXPECT_EQ(r[1], 1);  // old row 2
  EXPECT_EQ(v[1], 2.0);
}

TEST_F(ModelFixture, DeletingColumnsRenumbersEverythingThatRefersToThem) {
  ASSERT_EQ(loadSmall(), 0);
  NameList cols({"x0", "x1", "x2", "x3"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, cols.data(),
                           nullptr),
            0);
  ASSERT_EQ(QXloadVarType(model, "CICB"), QXERR_INPUT_OUT_OF_RANGE);  // x3 fixed at 2
  ASSERT_EQ(QXloadVarType(model, "ICIC"), 0);
  const int cb[] = {0, 2, 3};
  const int cc[] = {0, 1, 3};
  ASSERT_EQ(QXloadConeData(model, 2, "RQ", cb, cc), 0);
  NameList cones({"k0", "k1"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           cones.data()),
            0);
  const char st[] = {2, 1};
  const int sb[] = {0, 3, 4};
  const int sc[] = {0, 1, 2, 2};
  ASSERT_EQ(QXloadSETSData(model, 2, st, nullptr, sb, sc), 0);
  const int scv[] = {2};
  const double scl[] = {1}, scu[] = {5};
  ASSERT_EQ(QXloadSemiContData(model, 1, scv, scl, scu), 0);
  const int pv[] = {3, 1};
  const double px[] = {7, 8};
  ASSERT_EQ(QXloadVarStartPointPartial(model, 2, pv, px), 0);
  const int prio[] = {1, 2, 3, 4};
  ASSERT_EQ(QXloadVarPriorities(model, prio), 0);

  const int del[] = {1};
  ASSERT_EQ(QXdeleteVariables(model, 1, del), 0);
  EXPECT_EQ(model->data.n, 3);
  // Matrix and bounds: old columns 0, 2, 3.
  EXPECT_EQ(column(model, 1), (Col{{1, 4}, {2, 6}}));
  double lo = 0;
  QXgetLowerBoundj(model, 2, &lo);
  EXPECT_EQ(lo, 2.0);
  char types[4] = {};
  QXgetVarType(model, types);
  EXPECT_STREQ(types, "IIC");
  int idx = -1;
  ASSERT_EQ(QXgetVariableIndex(model, "x3", &idx), 0);
  EXPECT_EQ(idx, 2);
  EXPECT_EQ(QXgetVariableIndex(model, "x1", &idx), QXERR_COLUMN_TOKEN_NOT_FOUND);
  // The rotated cone lost x1 and fell below two members: deleted with its name.
  ASSERT_EQ(model->data.cones.count(), 1);
  char ct = 0;
  int nnz = 0, members[4];
  ASSERT_EQ(QXgetConeDatai(model, 0, &ct, &nnz, members), 0);
  EXPECT_EQ(ct, 'Q');
  EXPECT_EQ(members[0], 2);
  ASSERT_EQ(QXgetConeIndex(model, "k1", &idx), 0);
  EXPECT_EQ(idx, 0);
  // Sets: the SOS2 {0, 1, 2} keeps {0, 1}; the SOS1 {2} becomes {1}.
  int nsets = 0, total = 0, sbeg[3], scols[4];
  ASSERT_EQ(QXgetSETSData(model, &nsets, &total, nullptr, nullptr, sbeg, scols), 0);
  EXPECT_EQ(nsets, 2);
  EXPECT_EQ(total, 3);
  EXPECT_EQ((std::vector<int>(scols, scols + 3)), (std::vector<int>{0, 1, 1}));
  // Semi-continuous x2 is now column 1; partial start x3 is now column 2.
  int count = 0, var = -1;
  ASSERT_EQ(QXgetSemiContData(model, &count, &var, nullptr, nullptr), 0);
  EXPECT_EQ(var, 1);
  int pc = 0, pvars[2];
  double pvals[2];
  ASSERT_EQ(QXgetVarStartPointPartial(model, &pc, pvars, pvals), 0);
  ASSERT_EQ(pc, 1);
  EXPECT_EQ(pvars[0], 2);
  EXPECT_EQ(pvals[0], 7.0);
  EXPECT_EQ(model->data.priority, (std::vector<int>{1, 3, 4}));
  const int twice[] = {0, 0};
  EXPECT_EQ(QXdeleteVariables(model, 2, twice), QXERR_INDEX_DUPLICATE);
}

TEST_F(ModelFixture, QuadraticTermsLoseDeletedColumns) {
  ASSERT_EQ(loadSmall(), 0);
  const int qr[] = {-1, -1, 1};
  const int a[] = {0, 1, 3};
  const int b[] = {0, 2, 3};
  const double v[] = {1, 2, 3};
  ASSERT_EQ(QXaddQCterms(model, 3, qr, a, b, v), 0);
  const int del[] = {2};
  ASSERT_EQ(QXdeleteVariables(model, 1, del), 0);
  int nz = 0;
  std::vector<int> r(3), c1(3), c2(3);
  ASSERT_EQ(QXgetQCData(model, &nz, r.data(), c1.data(), c2.data(), nullptr), 0);
  ASSERT_EQ(nz, 2);
  EXPECT_EQ(r[1], 1);
  EXPECT_EQ(c1[1], 2);  // old x3
  const int rows[] = {-1};
  ASSERT_EQ(QXdeleteQCterms(model, 1, rows), 0);
  ASSERT_EQ(QXgetQCData(model, &nz, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(nz, 1);
  const int badRow[] = {3};
  EXPECT_EQ(QXdeleteQCterms(model, 1, badRow), QXERR_ROW_INDEX_OUT_OF_RANGE);
}

TEST_F(ModelFixture, ConesSetsAndSemiContinuousChanges) {
  ASSERT_EQ(loadSmall(), 0);
  const int beg[] = {0, 2};
  const int cols[] = {0, 1};
  NameList names({"cone"});
  ASSERT_EQ(QXaddCones(model, 1, "R", names.data(), beg, cols), 0);
  const int cols2[] = {1, 2};
  EXPECT_EQ(QXaddCones(model, 1, "Q", nullptr, beg, cols2), QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  const int cols3[] = {2, 3};
  ASSERT_EQ(QXaddCones(model, 1, "Q", nullptr, beg, cols3), 0);
  int idx = -1;
  ASSERT_EQ(QXgetConeIndex(model, "cone", &idx), 0);
  EXPECT_EQ(idx, 0);
  char name[8] = "x";
  EXPECT_EQ(QXgetConeNamei(model, 1, name), 0);
  EXPECT_STREQ(name, "");
  const int one[] = {3};
  EXPECT_EQ(QXmodifyCone(model, 0, 'R', 1, one), QXERR_COLUMN_LENGTH_INVALID);
  EXPECT_EQ(QXmodifyCone(model, 0, 'Q', 1, one), QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  const int mine[] = {1};
  ASSERT_EQ(QXmodifyCone(model, 0, 'Q', 1, mine), 0);
  const int k0[] = {0};
  ASSERT_EQ(QXdeleteCones(model, 1, k0), 0);
  EXPECT_EQ(QXgetConeIndex(model, "cone", &idx), QXERR_NAME_TOKEN_NOT_FOUND);
  EXPECT_EQ(model->data.cones.count(), 1);

  const char types[] = {'2'};
  const int sb[] = {0, 3};
  const int sc[] = {0, 1, 2};
  ASSERT_EQ(QXaddSETS(model, 1, types, nullptr, sb, sc), 0);
  const int card[] = {4};
  EXPECT_EQ(QXmodifySET(model, 0, 4, -1, 2, sc), QXERR_INPUT_OUT_OF_RANGE);
  EXPECT_EQ(QXmodifySET(model, 0, 4, card[0], 1, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  ASSERT_EQ(QXmodifySET(model, 0, 4, card[0], 2, sc), 0);
  char t = 0;
  int cd = 0, nnz = 0;
  ASSERT_EQ(QXgetSETSDatai(model, 0, &t, &cd, &nnz, nullptr), 0);
  EXPECT_EQ(t, 4);
  EXPECT_EQ(cd, 4);
  EXPECT_EQ(nnz, 2);
  ASSERT_EQ(QXdeleteSETS(model, 1, k0), 0);
  EXPECT_EQ(QXgetSETSDatai(model, 0, &t, &cd, &nnz, nullptr), QXERR_INDEX_OUT_OF_RANGE);

  const int v[] = {0, 2};
  const double lo[] = {1, 2}, up[] = {3, 4};
  ASSERT_EQ(QXmodifySemiContVars(model, 1, v, lo, up), 0);
  ASSERT_EQ(QXmodifySemiContVars(model, 2, v, up, up), 0);  // updates x0, adds x2
  int count = 0, vars[2];
  double sl[2], su[2];
  ASSERT_EQ(QXgetSemiContData(model, &count, vars, sl, su), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(sl[0], 3.0);
  EXPECT_EQ(su[1], 4.0);
  const int notSc[] = {1};
  EXPECT_EQ(QXdeleteSemiContVars(model, 1, notSc), QXERR_INDEX_OUT_OF_RANGE);
  ASSERT_EQ(QXdeleteSemiContVars(model, 1, v), 0);
  ASSERT_EQ(QXgetSemiContData(model, &count, vars, nullptr, nullptr), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(vars[0], 2);
}

TEST_F(ModelFixture, AllocationSizesReserveCapacityAhead) {
  ASSERT_EQ(QXsetProbAllocSizes(model, 50, 40, 500), 0);
  EXPECT_EQ(QXsetProbAllocSizes(model, -1, 40, 500), QXERR_INPUT_OUT_OF_RANGE);
  ASSERT_EQ(QXsetProbNameAllocSizes(model, 100, 100), 0);
  ASSERT_EQ(loadSmall(), 0);
  EXPECT_GE(model->data.rowCapacity(), 50);
  EXPECT_GE(model->data.colCapacity(), 40);
  EXPECT_GE(model->data.rowIdx.capacity(), 500u);
  // Adding rows within the reserved capacity does not move the row arrays.
  const double* rhsBefore = model->data.rhs.data();
  ASSERT_EQ(QXaddConstraints(model, 20, std::string(20, 'L').c_str(), nullptr, nullptr, nullptr,
                             nullptr, nullptr),
            0);
  EXPECT_EQ(model->data.rhs.data(), rhsBefore);
  EXPECT_EQ(QXaddEmptySpacesAcolumns(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
}

// Random sequences of changes, checked against a plain reference model.
TEST_F(ModelFixture, RandomChangesMatchAReferenceModel) {
  std::mt19937 rng(12345);
  int m = 6, n = 5;
  std::vector<std::map<int, double>> ref(n);  // column -> row -> value
  std::vector<double> rhs(m, 0.0), cost(n, 0.0);
  {
    std::vector<int> beg{0}, rows;
    std::vector<double> vals;
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < m; ++i)
        if (rng() % 3 == 0) {
          rows.push_back(i);
          vals.push_back(static_cast<double>(rng() % 9 + 1));
          ref[j][i] = vals.back();
        }
      beg.push_back(static_cast<int>(rows.size()));
    }
    ASSERT_EQ(QXloadLPData(model, m, n, QX_MIN, 0, cost.data(), rhs.data(), std::string(m, 'E').data(),
                           static_cast<int>(rows.size()), beg.data(), nullptr, vals.data(), rows.data(),
                           nullptr, nullptr),
              0);
  }
  for (int step = 0; step < 400; ++step) {
    const int op = static_cast<int>(rng() % 6);
    if (op == 0 && n > 0) {  // set coefficients of a column
      const int j = static_cast<int>(rng() % n);
      const int i = static_cast<int>(rng() % m);
      const double v = static_cast<double>(rng() % 100);
      ASSERT_EQ(QXmodifyAj(model, j, 1, &i, &v), 0);
      ref[j][i] = v;
    } else if (op == 1 && n > 0) {  // delete an entry
      const int j = static_cast<int>(rng() % n);
      const int i = static_cast<int>(rng() % m);
      ASSERT_EQ(QXdeleteAj(model, j, 1, &i), 0);
      ref[j].erase(i);
    } else if (op == 2) {  // add a row touching some columns
      std::vector<int> cols;
      std::vector<double> vals;
      for (int j = 0; j < n; ++j)
        if (rng() % 2) {
          cols.push_back(j);
          vals.push_back(static_cast<double>(rng() % 50));
          ref[j][m] = vals.back();
        }
      const int rb[] = {0, static_cast<int>(cols.size())};
      ASSERT_EQ(QXaddConstraints(model, 1, "L", nullptr, rb, vals.data(), cols.data(), nullptr), 0);
      ++m;
    } else if (op == 3 && m > 1) {  // delete a row
      const int i = static_cast<int>(rng() % m);
      ASSERT_EQ(QXdeleteConstraints(model, 1, &i), 0);
      for (auto& col : ref) {
        std::map<int, double> next;
        for (auto [r, v] : col)
          if (r != i) next[r > i ? r - 1 : r] = v;
        col = std::move(next);
      }
      --m;
    } else if (op == 4) {  // add a column
      std::vector<int> rows;
      std::vector<double> vals;
      std::map<int, double> col;
      for (int i = 0; i < m; ++i)
        if (rng() % 3 == 0) {
          rows.push_back(i);
          vals.push_back(static_cast<double>(rng() % 50));
          col[i] = vals.back();
        }
      const int cb[] = {0, static_cast<int>(rows.size())};
      ASSERT_EQ(QXaddVariables(model, 1, nullptr, nullptr, cb, nullptr, vals.data(), rows.data(),
                               nullptr, nullptr, nullptr),
                0);
      ref.push_back(col);
      ++n;
    } else if (op == 5 && n > 1) {  // delete a column
      const int j = static_cast<int>(rng() % n);
      ASSERT_EQ(QXdeleteVariables(model, 1, &j), 0);
      ref.erase(ref.begin() + j);
      --n;
    }
    if (step % 10 == 0 || step == 399) {
      ASSERT_EQ(model->data.m, m);
      ASSERT_EQ(model->data.n, n);
      int total = 0;
      for (int j = 0; j < n; ++j) {
        Col expect(ref[j].begin(), ref[j].end());
        ASSERT_EQ(column(model, j), expect) << "step " << step << " column " << j;
        total += static_cast<int>(expect.size());
      }
      int nnz = 0;
      QXgetInfo(model, QX_IINFO_NUM_NONZ, &nnz);
      ASSERT_EQ(nnz, total);
    }
  }
}

}  // namespace
