// Loading, validation, classification and appending of instruction lists.
#include <cmath>

#include "base/model.hpp"
#include "nlp_fixture.hpp"

namespace torva_test {
namespace {

using LoadTest = NlpFixture;

TEST_F(LoadTest, ClassificationRules) {
  struct Case {
    Code code;
    int nonlinear;
  };
  const std::vector<Case> cases = {
      {{EP_PUSH_VAR, 0, EP_PUSH_NUM, 0, EP_MULTIPLY}, 0},                       // x * c
      {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 0, EP_MULTIPLY}, 1},                       // x * x
      {{EP_PUSH_VAR, 0, EP_PUSH_NUM, 0, EP_DIVIDE}, 0},                         // x / c
      {{EP_PUSH_NUM, 0, EP_PUSH_VAR, 0, EP_DIVIDE}, 1},                         // c / x
      {{EP_PUSH_NUM, 0, EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_IF}, 0},             // if(c, x, y)
      {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_PUSH_NUM, 0, EP_IF}, 1},             // if(x, y, c)
      {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_PUSH_NUM, 0, EP_SUM, 3}, 0},
      {{EP_PUSH_VAR, 0, EP_PUSH_NUM, 0, EP_PUSH_NUM, 0, EP_VMULT, 3}, 0},
      {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_VMULT, 2}, 1},
      {{EP_PUSH_VAR, 0, EP_NEGATE}, 0},
      {{EP_PUSH_NUM, 0, EP_SIN}, 0},
      {{EP_PUSH_VAR, 0, EP_SIN}, 1},
      {{EP_VPUSH_VAR, 2, 0, EP_VPUSH_VAR_ABSENT, EP_VPUSH_NUM, 2, 0, 0, EP_SUMPROD, 2, 2}, 0},
      {{EP_PUSH_VAR, 0, EP_LSQ, 0, 0}, 1},
  };
  // Each code is a constraint under a linear objective: the model takes the
  // constraint's class, and the linearity parameter follows the model.
  for (const Case& c : cases) {
    QXmodel m = QXcreateModel(env, nullptr);
    ASSERT_EQ(load(m, 2, {{EP_PUSH_VAR, 1}, c.code}, {2.0}), 0);
    int modelClass = -1, rowClass[2] = {-1, -1}, setFlag[2] = {-1, -1}, linearity = -1;
    ASSERT_EQ(QXgetInstructClass(m, &modelClass, rowClass, setFlag), 0);
    QXgetModelIntParameter(m, QX_IPARAM_NLP_LINEARITY, &linearity);
    EXPECT_EQ(rowClass[1], c.nonlinear) << "code starting " << c.code[0] << " ending " << c.code.back();
    EXPECT_EQ(rowClass[0] + setFlag[0] + setFlag[1], 0);
    EXPECT_EQ(modelClass, c.nonlinear);
    EXPECT_EQ(linearity, 1 - c.nonlinear);
    QXdeleteModel(&m);
  }
}

TEST_F(LoadTest, SyntaxErrorsGive2067WithRow) {
  const std::vector<Code> bad = {
      {EP_PUSH_VAR, 0, EP_PUSH_VAR, 0},  // two values left
      {EP_PLUS, EP_PUSH_VAR, 0},         // pop below the bottom
      {EP_PUSH_VAR, 2},                  // variable index nVars
      {EP_PUSH_VAR, -1},
      {EP_PUSH_VAR},                     // missing operand
      {1099},                            // invalid opcode
      {1178},
      {EP_PUSH_NUM, 1},                  // number index outside the table
      {EP_PUSH_VAR, 0, EP_SUM, 0},       // EP_SUM needs n >= 1
      {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_PUSH_VAR, 0, EP_VLOOKUP, 1, 2},  // f not 0 or 1
      {EP_POSD, 0, 1, 5, 5},             // block shorter than 3k words
  };
  for (const Code& c : bad) {
    QXmodel m = QXcreateModel(env, nullptr);
    EXPECT_EQ(load(m, 2, {{EP_PUSH_VAR, 0}, c}, {1.0}), QXERR_INSTRUCT_SYNTAX) << c[0];
    int row = -5;
    EXPECT_EQ(QXgetErrorRowIndex(m, &row), 0);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(m->status, QX_STATUS_UNLOADED);
    QXdeleteModel(&m);
  }
  // The objective is validated first.
  EXPECT_EQ(load(2, {{EP_PLUS}, {EP_PLUS}}), QXERR_INSTRUCT_SYNTAX);
  int row = 0;
  QXgetErrorRowIndex(model, &row);
  EXPECT_EQ(row, -1);
}

TEST_F(LoadTest, CheckOrderAndCodes) {
  int sense = QX_MIN, bad = 7, beg = 0, len = 2;
  const int code[] = {EP_PUSH_VAR, 0};
  const double lo[] = {2}, up[] = {1};
  auto call = [&](QXmodel m, int nObjs, int nVars, int codeSize, const int* s, const int* l, const double* lw) {
    return QXloadInstruct(m, 0, nObjs, nVars, 0, s, nullptr, nullptr, code, codeSize, nullptr, nullptr, nullptr,
                          &beg, l, nullptr, nullptr, lw, lw ? up : nullptr);
  };
  EXPECT_EQ(call(nullptr, 1, 1, 2, &sense, &len, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(call(model, 2, 1, 2, &sense, &len, nullptr), QXERR_INSTRUCT_BAD_COUNT);
  EXPECT_EQ(call(model, 1, 0, 2, &sense, &len, nullptr), QXERR_INSTRUCT_BAD_COUNT);
  EXPECT_EQ(call(model, 1, 1, 0, &sense, &len, nullptr), QXERR_INSTRUCT_BAD_COUNT);
  EXPECT_EQ(call(model, 1, 1, 2, nullptr, &len, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  int tooLong = 3;
  EXPECT_EQ(call(model, 1, 1, 2, &sense, &tooLong, lo), QXERR_INSTRUCT_TOO_SHORT);  // 2065 before 2066
  EXPECT_EQ(call(model, 1, 1, 2, &bad, &len, lo), QXERR_INSTRUCT_BOUND_CONFLICT);   // 2066 before 2007
  EXPECT_EQ(call(model, 1, 1, 2, &bad, &len, nullptr), QXERR_BAD_OBJECTIVE_SENSE);
  ASSERT_EQ(call(model, 1, 1, 2, &sense, &len, nullptr), 0);
  EXPECT_EQ(call(model, 1, 1, 2, &sense, &len, nullptr), QXERR_MODEL_ALREADY_LOADED);
  // Variables without bounds are free.
  double l = 0, u = 0;
  QXgetLowerBoundj(model, 0, &l);
  QXgetUpperBoundj(model, 0, &u);
  EXPECT_EQ(l, -1e30);
  EXPECT_EQ(u, 1e30);
}

TEST_F(LoadTest, FailedLoadReleasesItsDataAndItsRow) {
  // The types fail after the rows and columns went in: nothing may stay.
  const Code obj = {EP_PUSH_VAR, 0};
  int sense = QX_MIN, beg = 0, len = 2;
  EXPECT_NE(QXloadInstruct(model, 0, 1, 1, 0, &sense, nullptr, "X", obj.data(), 2, nullptr, nullptr, nullptr, &beg,
                           &len, nullptr, nullptr, nullptr, nullptr),
            0);
  // So a new load is validated (not refused as a second load); its syntax
  // error records its row, and loading other data forgets the row.
  EXPECT_EQ(load(1, {{EP_PLUS}}), QXERR_INSTRUCT_SYNTAX);
  int row = 5;
  EXPECT_EQ(QXgetErrorRowIndex(model, &row), 0);
  const double c[] = {1}, b[] = {1}, a[] = {1}, lo[] = {0}, up[] = {1};
  const int cb[] = {0, 1}, ri[] = {0};
  ASSERT_EQ(QXloadLPData(model, 1, 1, QX_MIN, 0, c, b, "G", 1, cb, nullptr, a, ri, lo, up), 0);
  EXPECT_EQ(QXgetErrorRowIndex(model, &row), QXERR_INFO_NOT_AVAILABLE);
  // The matrix model turned into a list evaluates as its matrix.
  ASSERT_EQ(QXloadData2Inst(model), 0);
  int nCons = 0, nVars = 0;
  ASSERT_EQ(QXgetInstructSizes(model, &nCons, &nVars, nullptr, nullptr), 0);
  EXPECT_EQ(nCons, 1);
  EXPECT_EQ(nVars, 1);
  EXPECT_DOUBLE_EQ(value(-1, {0.75}), 0.75);
  EXPECT_DOUBLE_EQ(value(0, {0.75}), -0.25);  // x - 1 of the row x >= 1
  EXPECT_EQ(QXloadData2Inst(model), 0);
  QXmodel empty = QXcreateModel(env, nullptr);
  EXPECT_EQ(QXloadData2Inst(empty), QXERR_MODEL_NOT_LOADED);
  EXPECT_EQ(QXloadData2Inst(nullptr), QXERR_ILLEGAL_NULL_POINTER);
  QXdeleteModel(&empty);
}

TEST_F(LoadTest, AppendObjectiveAndRowsToMatrixModel) {
  // min x0 + 2 x1 s.t. x0 + x1 >= 1 (a matrix model), then add x0*x1 to the
  // objective and a new row x2^2 - numbers'[0] with a new variable x2.
  const double c[] = {1, 2}, b[] = {1};
  const int cb[] = {0, 1, 2}, rows[] = {0, 0};
  const double v[] = {1, 1};
  ASSERT_EQ(QXloadLPData(model, 1, 2, QX_MIN, 0.0, c, b, "G", 2, cb, nullptr, v, rows, nullptr, nullptr), 0);
  const Code obj = {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_MULTIPLY, EP_PUSH_NUM, 1, EP_PLUS};
  const Code row = {EP_PUSH_VAR, 2, EP_SQR, EP_PUSH_NUM, 0, EP_MINUS};
  Code code(obj);
  code.insert(code.end(), row.begin(), row.end());
  const double numbers[] = {4.0, 10.0};
  int ob = 0, ol = static_cast<int>(obj.size()), rb = ol, rl = static_cast<int>(row.size());
  ASSERT_EQ(QXaddInstruct(model, 1, 1, 1, 2, nullptr, "L", nullptr, code.data(), static_cast<int>(code.size()),
                          nullptr, numbers, nullptr, &ob, &ol, &rb, &rl, nullptr, nullptr),
            0);
  int m = 0, n = 0;
  QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
  QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
  EXPECT_EQ(m, 2);
  EXPECT_EQ(n, 3);
  const std::vector<double> x = {2, 3, 5};
  EXPECT_DOUBLE_EQ(value(-1, x), 2 + 6 + 6 + 10);  // old objective + x0*x1 + 10
  EXPECT_DOUBLE_EQ(value(0, x), 2 + 3 - 1);        // the matrix row as sum - rhs
  EXPECT_DOUBLE_EQ(value(1, x), 25 - 4);
  // Stored objective: old code, two no-ops where the marker stood, new code, EP_PLUS.
  int nCons, nVars, nNumbers, size;
  ASSERT_EQ(QXgetInstructSizes(model, &nCons, &nVars, &nNumbers, &size), 0);
  std::vector<int> all(static_cast<std::size_t>(size));
  int objBeg, objLen;
  ASSERT_EQ(QXgetInstruct(model, nullptr, nullptr, nullptr, all.data(), nullptr, &objBeg, &objLen, nullptr, nullptr,
                          nullptr, nullptr),
            0);
  const int oldLen = 11;  // 1*x0 + 2*x1 converted: two products and a plus
  EXPECT_EQ(objLen, oldLen + static_cast<int>(obj.size()) + 3);
  EXPECT_EQ(all[objBeg + oldLen], 0);
  EXPECT_EQ(all[objBeg + oldLen + 1], 0);
  EXPECT_EQ(all[objBeg + objLen - 1], EP_PLUS);
}

TEST_F(LoadTest, AppendErrorsLeaveModelUnchanged) {
  const int code[] = {EP_PUSH_VAR, 5};
  int b = 0, l = 2;
  // nCons constraints of type E or nObjs objectives from code (of size 2
  // unless none), with or without their start and length arrays.
  auto add = [&](int nCons, int nObjs, const int* c, bool conArrays, bool objArrays) {
    return QXaddInstruct(model, nCons, nObjs, 0, 0, nullptr, nCons ? "E" : nullptr, nullptr, c, c ? 2 : 0, nullptr,
                         nullptr, nullptr, objArrays ? &b : nullptr, objArrays ? &l : nullptr,
                         conArrays ? &b : nullptr, conArrays ? &l : nullptr, nullptr, nullptr);
  };
  EXPECT_EQ(add(0, 1, nullptr, false, false), QXERR_MODEL_NOT_LOADED);
  ASSERT_EQ(load(1, {{EP_PUSH_VAR, 0}, {EP_PUSH_VAR, 0, EP_EXP}}), 0);
  EXPECT_EQ(add(1, 0, code, true, false), QXERR_INSTRUCT_SYNTAX);
  EXPECT_EQ(add(1, 0, code, false, false), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(add(0, 2, code, false, true), QXERR_INSTRUCT_BAD_COUNT);
  EXPECT_EQ(add(0, 0, nullptr, false, false), 0);
  int m = 0;
  QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
  EXPECT_EQ(m, 1);
  EXPECT_NEAR(value(0, {1.0}), std::exp(1.0), 1e-15);
}

TEST_F(LoadTest, StringsMisuseAndCopy) {
  // A string in arithmetic and a missing string give 2058 with the row, and
  // leave the other rows to evaluate; a copy keeps the list, the strings and
  // the row properties.
  ASSERT_EQ(load(2, {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_MULTIPLY}, {EP_PUSH_STR, 0, EP_PUSH_STR, 1, EP_EQUAL},
                     {EP_PUSH_STR, 0, EP_PUSH_VAR, 0, EP_PLUS}, {EP_PUSH_STR, 3}}),
            0);
  char a[] = "a", b[] = "a";
  char* strings[] = {a, b};
  ASSERT_EQ(QXloadStringData(model, 2, strings), 0);
  ASSERT_EQ(QXsetConstraintProperty(model, 0, QX_CONPROP_CONST), 0);
  double v;
  const double x[] = {3, 4};
  EXPECT_EQ(QXexecuteInstruct(model, 1, QX_EVAL_VALUE, x, &v, nullptr, nullptr), QXERR_BAD_STRING_OPERATION);
  int row = -9;
  QXgetErrorRowIndex(model, &row);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(QXexecuteInstruct(model, 2, QX_EVAL_VALUE, x, &v, nullptr, nullptr), QXERR_BAD_STRING_OPERATION);
  EXPECT_EQ(value(-1, {3, 4}), 12);
  int err = -1;
  QXmodel copy = QXcopyModel(model, &err);
  ASSERT_EQ(err, 0);
  std::swap(copy, model);  // evaluated through the fixture
  EXPECT_EQ(value(-1, {3, 4}), 12);
  EXPECT_EQ(value(0, {3, 4}), 1);
  int prop = 0;
  EXPECT_EQ(QXgetConstraintProperty(model, 0, &prop), 0);
  EXPECT_EQ(prop, QX_CONPROP_CONST);
  std::swap(copy, model);
  QXdeleteModel(&copy);
}

}  // namespace
}  // namespace torva_test
