// Queries of the model data, names and lookups, information items and the
// availability rules of the solution queries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/model.hpp"
#include "model_fixture.hpp"
#include "torva.h"

namespace {

using torva_test::ModelFixture;
using torva_test::NameList;

TEST_F(ModelFixture, QueriesOnAnUnloadedModelAnswerNotAvailable) {
  double v = 0;
  char t = 0;
  EXPECT_EQ(QXgetLowerBoundj(model, 0, &v), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetConstraintDatai(model, 0, &t, nullptr, &v), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetVarType(model, &t), QXERR_INFO_NOT_AVAILABLE);
  int k = 0;
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_NUM_VARS, &k), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetLowerBoundj(nullptr, 0, &v), QXERR_ILLEGAL_NULL_POINTER);
}

TEST_F(ModelFixture, RowAndColumnQueries) {
  ASSERT_EQ(loadSmall(), 0);
  char type = 0;
  double cost = 0, lo = 0, up = 0, rhs = 0;
  int nnz = 0;
  int idx[4];
  double val[4];
  ASSERT_EQ(QXgetLPVariableDataj(model, 2, &type, &cost, &lo, &up, &nnz, idx, val), 0);
  EXPECT_EQ(type, 'C');
  EXPECT_EQ(cost, 3.0);
  EXPECT_EQ(lo, -1e30);
  EXPECT_EQ(nnz, 2);
  EXPECT_EQ(idx[0], 1);
  EXPECT_EQ(val[1], 6.0);
  // Row 2 gathered in column order: 5 x0 + 6 x2 + 7 x3.
  ASSERT_EQ(QXgetLPConstraintDatai(model, 2, &type, &rhs, &nnz, idx, val), 0);
  EXPECT_EQ(type, 'E');
  EXPECT_EQ(rhs, 5.0);
  ASSERT_EQ(nnz, 3);
  EXPECT_EQ((std::vector<int>(idx, idx + 3)), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ((std::vector<double>(val, val + 3)), (std::vector<double>{5, 6, 7}));
  char isnlp = 9;
  ASSERT_EQ(QXgetConstraintDatai(model, 1, &type, &isnlp, &rhs), 0);
  EXPECT_EQ(type, 'G');
  EXPECT_EQ(isnlp, 0);
  EXPECT_EQ(QXgetLPConstraintDatai(model, 3, &type, &rhs, &nnz, idx, val), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXgetLPVariableDataj(model, -1, &type, &cost, &lo, &up, &nnz, idx, val),
            QXERR_INDEX_OUT_OF_RANGE);
  // Null outputs are skipped.
  EXPECT_EQ(QXgetLPVariableDataj(model, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST_F(ModelFixture, NamesAndExactLookups) {
  ASSERT_EQ(loadSmall(), 0);
  int idx = 7;
  EXPECT_EQ(QXgetVariableIndex(model, "x1", &idx), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(idx, -1);
  char name[64] = "junk";
  EXPECT_EQ(QXgetConstraintNamei(model, 0, name), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_STREQ(name, "");

  NameList rows({"cap", "demand", "Balance"});
  NameList cols({"x0", "x1", "", "Flow"});
  ASSERT_EQ(QXloadNameData(model, "small", "cost", "RHS", nullptr, "BND", rows.data(), cols.data(),
                           nullptr),
            0);
  EXPECT_EQ(QXgetVariableIndex(model, "Flow", &idx), 0);
  EXPECT_EQ(idx, 3);
  EXPECT_EQ(QXgetVariableIndex(model, "flow", &idx), QXERR_COLUMN_TOKEN_NOT_FOUND);
  EXPECT_EQ(idx, -1);
  EXPECT_EQ(QXgetVariableIndex(model, "", &idx), QXERR_COLUMN_TOKEN_NOT_FOUND);  // empty names are not indexed
  EXPECT_EQ(QXgetConstraintIndex(model, "Balance", &idx), 0);
  EXPECT_EQ(idx, 2);
  EXPECT_EQ(QXgetConstraintIndex(model, "balance", &idx), QXERR_ROW_TOKEN_NOT_FOUND);
  EXPECT_EQ(QXgetVariableIndex(nullptr, "x0", &idx), QXERR_INFO_NOT_AVAILABLE);
  ASSERT_EQ(QXgetVariableNamej(model, 1, name), 0);
  EXPECT_STREQ(name, "x1");
  EXPECT_EQ(QXgetVariableNamej(model, 4, name), QXERR_INDEX_OUT_OF_RANGE);

  // Dropping the tables and reloading names both keep lookups right.
  QXfreeHashMemory(model);
  EXPECT_FALSE(model->data.hasNameTables());
  EXPECT_EQ(QXgetConstraintIndex(model, "demand", &idx), 0);
  EXPECT_EQ(idx, 1);
  NameList renamed({"a", "b", "demand2"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, renamed.data(),
                           nullptr, nullptr),
            0);
  EXPECT_EQ(QXgetConstraintIndex(model, "demand", &idx), QXERR_ROW_TOKEN_NOT_FOUND);
  EXPECT_EQ(QXgetConstraintIndex(model, "demand2", &idx), 0);
  EXPECT_EQ(idx, 2);

  char title[32], obj[32], rhs[32], rng[32] = "x", bnd[32];
  std::vector<std::string> buf(4, std::string(16, '#'));
  std::vector<char*> out;
  for (auto& s : buf) out.push_back(s.data());
  ASSERT_EQ(QXgetNameData(model, title, obj, rhs, rng, bnd, nullptr, out.data(), nullptr), 0);
  EXPECT_STREQ(title, "small");
  EXPECT_STREQ(obj, "cost");
  EXPECT_STREQ(rng, "");
  EXPECT_STREQ(out[3], "Flow");
  EXPECT_STREQ(out[2], "");

  int varLen = 0, conLen = 0;
  ASSERT_EQ(QXgetDimensions(model, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, &varLen, &conLen, nullptr),
            0);
  EXPECT_EQ(varLen, 3 + 3 + 1 + 5);
  EXPECT_EQ(conLen, 2 + 2 + 8);
  int k = 0;
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_LEN_VARNAMES, &k), 0);
  EXPECT_EQ(k, varLen);

  ASSERT_EQ(QXfreeNameData(model), 0);
  EXPECT_EQ(QXgetVariableIndex(model, "Flow", &idx), QXERR_INFO_NOT_AVAILABLE);
}

TEST_F(ModelFixture, ModelInformationItems) {
  int k = 0;
  EXPECT_EQ(QXgetInfo(nullptr, QX_IINFO_VER_BUILD, &k), 0);
  EXPECT_EQ(k, 2438);
  EXPECT_EQ(QXgetInfo(nullptr, QX_IINFO_NUM_VARS, &k), QXERR_ILLEGAL_NULL_POINTER);
  ASSERT_EQ(loadSmall(), 0);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_VARS, &k), 0);
  EXPECT_EQ(k, 4);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_CONS, &k), 0);
  EXPECT_EQ(k, 3);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_NONZ, &k), 0);
  EXPECT_EQ(k, 8);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_OBJSENSE, &k), 0);
  EXPECT_EQ(k, QX_MIN);
  double v = 0;
  ASSERT_EQ(QXgetInfo(model, QX_DINFO_INST_VAL_MAX_COEF, &v), 0);
  EXPECT_EQ(v, 7.0);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_INST_CONNDX_MAX_COEF, &k), 0);
  EXPECT_EQ(k, 2);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_INST_VARNDX_MIN_COEF, &k), 0);
  EXPECT_EQ(k, 0);
  // Items of solvers that have not run.
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_SIM_ITER, &k), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_MIP_STATUS, &k), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetInfo(model, 11601, &k), QXERR_INFO_NOT_AVAILABLE);
}

TEST_F(ModelFixture, SolutionQueriesFollowTheAvailabilityRules) {
  ASSERT_EQ(loadSmall(), 0);
  std::vector<double> x(4), y(3);
  EXPECT_EQ(QXgetPrimalSolution(model, x.data()), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetObjective(model, x.data()), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetSolution(model, 99, x.data()), 0);

  // An optimiser's record, as the simplex leaves it.
  auto& sol = model->lpSolution.emplace();
  sol.modelStatus = sol.primalStatus = sol.dualStatus = 2;
  sol.x = {1, 2, 3, 4};
  sol.y = {0.5, 0.25, 0, 9};  // one row appended by the optimiser
  sol.s = {0, 1, 0};
  sol.d = {0, 0, 1, 0};
  sol.colStatus = {0, 1, -1, -2};
  sol.rowStatus = {2, -1, -1};
  sol.primalObj = 42;
  ASSERT_EQ(QXgetPrimalSolution(model, x.data()), 0);
  EXPECT_EQ(x[3], 4.0);
  std::vector<double> ywide(4);
  ASSERT_EQ(QXgetDualSolution(model, ywide.data()), 0);
  EXPECT_EQ(ywide[3], 9.0);
  double obj = 0;
  ASSERT_EQ(QXgetObjective(model, &obj), 0);
  EXPECT_EQ(obj, 42.0);
  ASSERT_EQ(QXgetSolution(model, QX_SOLUTION_SLACKS, y.data()), 0);
  EXPECT_EQ(y[1], 1.0);
  EXPECT_EQ(QXgetSolution(model, QX_SOLUTION_PRIMAL_2, x.data()), QXERR_INFO_NOT_AVAILABLE);
  std::vector<int> cs(4), rs(3);
  ASSERT_EQ(QXgetBasis(model, cs.data(), rs.data()), 0);
  EXPECT_EQ(cs[3], -2);
  // A model without cones has zero conic reduced costs.
  x.assign(4, 7.0);
  ASSERT_EQ(QXgetReducedCostsCone(model, x.data()), 0);
  EXPECT_EQ(x, std::vector<double>(4, 0.0));
  int st = 0, k = 0;
  ASSERT_EQ(QXgetSolutionStatus(model, &st), 0);
  EXPECT_EQ(st, 2);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_PRIMAL_STATUS, &k), 0);
  EXPECT_EQ(k, 2);

  sol.primalStatus = 6;  // infeasible or unbounded
  EXPECT_EQ(QXgetPrimalSolution(model, x.data()), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetObjective(model, &obj), QXERR_INFO_NOT_AVAILABLE);
}

TEST_F(ModelFixture, IntegerSolutionStatusRules) {
  ASSERT_EQ(loadSmall(), 0);
  std::vector<double> x(4);
  EXPECT_EQ(QXgetMIPPrimalSolution(model, x.data()), QXERR_INFO_NOT_AVAILABLE);
  auto& mip = model->mipSolution.emplace();
  mip.status = 3;  // infeasible: no vector to read
  mip.x = {1, 0, 1, 2};
  EXPECT_EQ(QXgetMIPPrimalSolution(model, x.data()), QXERR_INFO_NOT_AVAILABLE);
  mip.status = 1;
  mip.objective = 11;
  double obj = 0;
  ASSERT_EQ(QXgetMIPSolution(model, &obj, x.data()), 0);
  EXPECT_EQ(obj, 11.0);
  EXPECT_EQ(x[3], 2.0);
  // Several solutions found report feasible, unless the recorded status is
  // a proof (optimal, basic optimal, infeasible, unbounded, either of the
  // two); an override status wins over both.
  struct StatusCase {
    int recorded, found, override, reported;
  };
  const StatusCase statusCases[] = {
      {1, 1, 0, 1},  {1, 2, 0, 1},  {2, 5, 0, 2},  {3, 2, 0, 3},   {4, 2, 0, 4},  {6, 2, 0, 6},
      {12, 2, 0, 5}, {12, 1, 0, 12}, {8, 2, 0, 5}, {5, 3, 0, 5}, {1, 2, 12, 12}, {12, 2, 11, 11},
  };
  for (const StatusCase& c : statusCases) {
    mip.status = c.recorded;
    mip.solutionsFound = c.found;
    mip.statusOverride = c.override;
    int st = 0;
    ASSERT_EQ(QXgetMIPSolutionStatus(model, &st), 0);
    EXPECT_EQ(st, c.reported) << "recorded " << c.recorded << ", found " << c.found << ", override " << c.override;
  }
  mip.status = 1;
  EXPECT_EQ(QXgetMIPDualSolution(model, x.data()), QXERR_INFO_NOT_AVAILABLE);
  // A basis with column statuses but no row statuses is not available, and
  // nothing is written.
  mip.colStatus = {0, -1, -1, -2};
  std::vector<int> cs(4, 99), rs(3, 99);
  EXPECT_EQ(QXgetMIPBasis(model, cs.data(), rs.data()), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(cs, std::vector<int>(4, 99));
  mip.rowStatus = {1, 2, -1};
  ASSERT_EQ(QXgetMIPBasis(model, cs.data(), rs.data()), 0);
  EXPECT_EQ(cs[3], -2);
  EXPECT_EQ(rs[1], 2);
}

}  // namespace
