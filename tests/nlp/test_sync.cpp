// Modifications of the core reach the instruction list: values of the rows
// after each change against the same functions written out by hand.
#include <cmath>

#include "nlp_fixture.hpp"

namespace torva_test {
namespace {

using SyncTest = NlpFixture;

TEST_F(SyncTest, ValueChangesReachTheList) {
  // min exp(x0) s.t. x0 * x1 = 0, x1 - x2 <= 0 (three variables).
  ASSERT_EQ(load(model, 3,
                 {{EP_PUSH_VAR, 0, EP_EXP},
                  {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_MULTIPLY},
                  {EP_PUSH_VAR, 1, EP_PUSH_VAR, 2, EP_MINUS}},
                 {}, "EL"),
            0);
  const std::vector<double> x = {0.5, 2.0, -1.5};
  const int r0 = 0, r1 = 1, j2 = 2, j0 = 0;
  const double b = 3.0, c = 4.0, a = -2.5;
  ASSERT_EQ(QXmodifyRHS(model, 1, &r0, &b), 0);
  ASSERT_EQ(QXmodifyObjective(model, 1, &j2, &c), 0);
  ASSERT_EQ(QXmodifyObjConstant(model, 7.0), 0);
  ASSERT_EQ(QXmodifyAj(model, 0, 1, &r1, &a), 0);
  EXPECT_DOUBLE_EQ(value(-1, x), std::exp(0.5) + 4 * -1.5 + 7);
  EXPECT_DOUBLE_EQ(value(0, x), 0.5 * 2 - 3);
  EXPECT_DOUBLE_EQ(value(1, x), 2 + 1.5 - 2.5 * 0.5);
  // A second change of the same entry replaces the first.
  const double b2 = -1.0;
  ASSERT_EQ(QXmodifyRHS(model, 1, &r0, &b2), 0);
  EXPECT_DOUBLE_EQ(value(0, x), 0.5 * 2 + 1);
  ASSERT_EQ(QXdeleteAj(model, 0, 1, &r1), 0);
  EXPECT_DOUBLE_EQ(value(1, x), 2 + 1.5);
  // Bounds and types.
  const double lo = -3, up = 9;
  ASSERT_EQ(QXmodifyLowerBounds(model, 1, &j0, &lo), 0);
  ASSERT_EQ(QXmodifyUpperBounds(model, 1, &j0, &up), 0);
  ASSERT_EQ(QXmodifyConstraintType(model, 1, &r1, "G"), 0);
  std::vector<double> lower(3), upper(3);
  char types[3] = {};
  ASSERT_EQ(QXgetInstruct(model, nullptr, types, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          lower.data(), upper.data()),
            0);
  EXPECT_EQ(lower[0], -3);
  EXPECT_EQ(upper[0], 9);
  EXPECT_EQ(types[1], 'G');
  // A failing call keeps what it applied before the bad index, in both forms.
  const int rows[] = {1, 5};
  const double rhs[] = {2.0, 1.0};
  EXPECT_EQ(QXmodifyRHS(model, 2, rows, rhs), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_DOUBLE_EQ(value(1, x), 2 + 1.5 - 2);
}

TEST_F(SyncTest, AddedAndDeletedRowsAndColumns) {
  // min x0^2 + x1^2 s.t. sin(x1) = 0, x0 * x2 <= 0.
  ASSERT_EQ(load(model, 3,
                 {{EP_PUSH_VAR, 0, EP_SQR, EP_PUSH_VAR, 1, EP_SQR, EP_PLUS},
                  {EP_PUSH_VAR, 1, EP_SIN},
                  {EP_PUSH_VAR, 0, EP_PUSH_VAR, 2, EP_MULTIPLY}},
                 {}, "EL"),
            0);
  // New row 2 x0 - x2 >= 1 and a new column x3 with cost 5, entry 3 in row 0.
  const int rb[] = {0, 2}, rc[] = {0, 2};
  const double rv[] = {2, -1}, rhs[] = {1};
  ASSERT_EQ(QXaddConstraints(model, 1, "G", nullptr, rb, rv, rc, rhs), 0);
  const int cb[] = {0, 1}, cr[] = {0};
  const double cv[] = {3}, cost[] = {5}, lo[] = {0}, up[] = {10};
  ASSERT_EQ(QXaddVariables(model, 1, "C", nullptr, cb, nullptr, cv, cr, cost, lo, up), 0);
  std::vector<double> x = {0.5, 1.2, -2.0, 0.25};
  EXPECT_DOUBLE_EQ(value(-1, x), 0.25 + 1.44 + 5 * 0.25);
  EXPECT_DOUBLE_EQ(value(0, x), std::sin(1.2) + 3 * 0.25);
  EXPECT_DOUBLE_EQ(value(2, x), 2 * 0.5 + 2.0 - 1);
  // Nonlinear structure: x0 in rows 0 and 1, x2 in row 1 and the objective.
  const int rows01[] = {0, 1}, row1[] = {1, -1}, obj[] = {0, 2, 3}, row3[] = {3};
  ASSERT_EQ(QXaddNLPAj(model, 0, 2, rows01, nullptr), 0);
  ASSERT_EQ(QXaddNLPAj(model, 2, 2, row1, nullptr), 0);
  ASSERT_EQ(QXaddNLPobj(model, 3, obj, nullptr), 0);
  ASSERT_EQ(QXdeleteNLPobj(model, 1, obj + 2), 0);
  // Refused: an entry twice, a column or a row out of range.
  EXPECT_EQ(QXaddNLPAj(model, 0, 1, rows01, nullptr), QXERR_INDEX_DUPLICATE);
  EXPECT_EQ(QXaddNLPAj(model, 4, 1, rows01, nullptr), QXERR_COLUMN_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXaddNLPAj(model, 0, 1, row3, nullptr), QXERR_INDEX_OUT_OF_RANGE);
  // Deleting row 0 and column 1: x1 contributes nothing where it stood.
  const int delRow = 0, delCol = 1;
  ASSERT_EQ(QXdeleteConstraints(model, 1, &delRow), 0);
  ASSERT_EQ(QXdeleteVariables(model, 1, &delCol), 0);
  x = {0.5, -2.0, 0.25};
  EXPECT_DOUBLE_EQ(value(-1, x), 0.25 + 5 * 0.25);
  EXPECT_DOUBLE_EQ(value(0, x), 0.5 * -2.0);
  EXPECT_DOUBLE_EQ(value(1, x), 2 * 0.5 + 2.0 - 1);
  int nCons = 0, nVars = 0;
  ASSERT_EQ(QXgetInstructSizes(model, &nCons, &nVars, nullptr, nullptr), 0);
  EXPECT_EQ(nCons, 2);
  EXPECT_EQ(nVars, 3);
  int nnz = 0, objCount = 0, colBeg[4], nlRows[8], objVars[4];
  ASSERT_EQ(QXgetNLPData(model, &nnz, colBeg, nlRows, nullptr, &objCount, objVars), 0);
  EXPECT_EQ(std::vector<int>(colBeg, colBeg + 4), (std::vector<int>{0, 1, 3, 3}));
  EXPECT_EQ(std::vector<int>(nlRows, nlRows + nnz), (std::vector<int>{0, 0, -1}));
  EXPECT_EQ(std::vector<int>(objVars, objVars + objCount), (std::vector<int>{0, 1}));
  // Deleting an index twice is refused by the core and leaves the list alone.
  const int twice[] = {0, 0};
  EXPECT_EQ(QXdeleteConstraints(model, 2, twice), QXERR_INDEX_DUPLICATE);
  EXPECT_DOUBLE_EQ(value(1, x), 2 * 0.5 + 2.0 - 1);
}

TEST_F(SyncTest, QuadraticTermsOfAMatrixModelBecomeInstructions) {
  // min x0 + 0.5 * 4 x0^2 + 3 x0 x1  s.t.  x0 + x1 + 0.5 * 2 x1^2 <= 6.
  const double c[] = {1, 0}, b[] = {6}, v[] = {1, 1};
  const int cb[] = {0, 1, 2}, rows[] = {0, 0};
  ASSERT_EQ(QXloadLPData(model, 1, 2, QX_MIN, 0.0, c, b, "L", 2, cb, nullptr, v, rows, nullptr, nullptr), 0);
  const int qr[] = {-1, -1, 0}, q1[] = {0, 1, 1}, q2[] = {0, 0, 1};
  const double qv[] = {4, 3, 2};
  ASSERT_EQ(QXloadQCData(model, 3, qr, q1, q2, qv), 0);
  const std::vector<double> x = {1.5, -0.5};
  int nnz = 0, objNnz = 0;
  std::vector<int> start(3), index(4);
  std::vector<double> jac(4);
  ASSERT_EQ(QXgetJac(model, &nnz, &objNnz, start.data(), index.data(), jac.data(), x.data()), 0);
  ASSERT_EQ(nnz, 4);
  ASSERT_EQ(objNnz, 2);
  std::vector<double> dense(6, 0.0);  // row-major, objective first
  for (int r = 0; r < 2; ++r)
    for (int k = start[r]; k < start[r + 1]; ++k) dense[static_cast<std::size_t>(r * 2 + index[k])] = jac[k];
  EXPECT_DOUBLE_EQ(dense[0], 1 + 4 * 1.5 + 3 * -0.5);
  EXPECT_DOUBLE_EQ(dense[1], 3 * 1.5);
  EXPECT_DOUBLE_EQ(dense[2], 1);
  EXPECT_DOUBLE_EQ(dense[3], 1 + 2 * -0.5);
  // Hessian of the objective: 4 on the diagonal of x0, 3 off it.
  EXPECT_EQ(hessian(x), (std::vector<double>{4, 3, 3, 0}));
}

}  // namespace
}  // namespace torva_test
