// MPI files: round trips through the writer and the reader, evaluated at
// several points; malformed files give their code and line; a real LP
// written as MPI evaluates as its matrix.
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

#include "base/model.hpp"
#include "nlp_fixture.hpp"

namespace torva_test {
namespace {

using MpiTest = NlpFixture;

TEST_F(MpiTest, RoundTripEvaluatesTheSame) {
  // A mix of push forms, counted operators, strings and bounds/types.
  const std::vector<Code> rows = {
      {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_MULTIPLY, EP_PUSH_VAR, 2, EP_EXP, EP_PLUS},
      {EP_VPUSH_VAR, 3, 0, 1, 2, EP_VPUSH_NUM, 3, 0, 1, 2, EP_SUMPROD, 2, 3},
      {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_PUSH_VAR, 2, EP_MAX, 3, EP_PUSH_NUM, 3, EP_POWER},
      {EP_PUSH_STR, 0, EP_VPUSH_STR, 2, 1, 0, EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_SUMIF, 2},
      {EP_PUSH_VAR, 2, EP_PUSH_NUM, 4, EP_PUSH_VAR, 0, EP_NRM, EP_PI, EP_PLUS, EP_PUSH_VAR, 1, EP_PSN_RANGE},
  };
  const std::vector<double> numbers = {1.5, -0.25, 1.0 / 3.0, 2.0, 1e-3};
  const double lo[] = {-1, 0, -1e30}, up[] = {4, 1, 1e30};
  ASSERT_EQ(load(model, 3, rows, numbers, "LGEN", lo, up, QX_MAX), 0);
  char s0[] = "alpha", s1[] = "beta";
  char* strings[] = {s0, s1};
  ASSERT_EQ(QXloadStringData(model, 2, strings), 0);
  ASSERT_EQ(QXsetConstraintProperty(model, -1, QX_CONPROP_CONVEX), 0);
  // Linear data added by modification calls travel with the list.
  const int row0 = 0;
  const double rhs = 0.75, coef = 2.5;
  ASSERT_EQ(QXmodifyRHS(model, 1, &row0, &rhs), 0);
  ASSERT_EQ(QXmodifyAj(model, 1, 1, &row0, &coef), 0);
  const std::string path = tmpPath("roundtrip.mpi");
  ASSERT_EQ(QXwriteMPIFile(model, path.c_str()), 0);

  QXmodel back = QXcreateModel(env, nullptr);
  ASSERT_EQ(QXreadMPIFile(back, path.c_str()), 0);
  int nCons = 0, nVars = 0;
  ASSERT_EQ(QXgetInstructSizes(back, &nCons, &nVars, nullptr, nullptr), 0);
  EXPECT_EQ(nCons, 4);
  EXPECT_EQ(nVars, 3);
  int prop = 0;
  QXgetConstraintProperty(back, -1, &prop);
  EXPECT_EQ(prop, QX_CONPROP_CONVEX);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0.1, 0.9);
  for (int trial = 0; trial < 5; ++trial) {
    const double x[] = {u(rng), u(rng), u(rng)};
    for (int row = -1; row < 4; ++row) {
      double a = 0, b = 0;
      ASSERT_EQ(QXexecuteInstruct(model, row, QX_EVAL_VALUE, x, &a, nullptr, nullptr), 0);
      ASSERT_EQ(QXexecuteInstruct(back, row, QX_EVAL_VALUE, x, &b, nullptr, nullptr), 0) << row;
      // Numbers are written with 16 significant digits.
      EXPECT_NEAR(a, b, 1e-14 * std::max(1.0, std::fabs(a))) << "row " << row;
    }
  }
  // The reread model writes the same file again.
  const std::string again = tmpPath("roundtrip2.mpi");
  ASSERT_EQ(QXwriteMPIFile(back, again.c_str()), 0);
  std::stringstream f1, f2;
  f1 << std::ifstream(path).rdbuf();
  f2 << std::ifstream(again).rdbuf();
  EXPECT_EQ(f1.str(), f2.str());
  QXdeleteModel(&back);
}

TEST_F(MpiTest, WriterPadsBareOpcodesAndSurvivesMissingStrings) {
  // EP_PUSH_STR 0 names a string the model does not hold yet.
  ASSERT_EQ(load(1, {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 0, EP_PLUS}, {EP_PUSH_STR, 0, EP_PUSH_VAR, 0, EP_PLUS}}), 0);
  const std::string path = tmpPath("bare.mpi");
  ASSERT_EQ(QXwriteMPIFile(model, path.c_str()), 0);
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  EXPECT_NE(text.str().find("\n    EP_PLUS     \n"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("    EP_PUSH_STR  \"\"\n"), std::string::npos) << text.str();
  // A file without variables gets one auxiliary column fixed at zero; a
  // title may hold blanks.
  std::ofstream(path) << "BEGINMODEL two words\nOBJECTIVES\n O MINIMIZE\n    EP_PUSH_NUM 2\nENDMODEL\n";
  QXmodel m = QXcreateModel(env, nullptr);
  ASSERT_EQ(QXreadMPIFile(m, path.c_str()), 0);
  char name[32] = "", title[64] = "";
  ASSERT_EQ(QXgetVariableNamej(m, 0, name), 0);
  EXPECT_STREQ(name, "AUXC0000");
  QXgetNameData(m, title, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_STREQ(title, "two words");
  QXdeleteModel(&m);
  // Among the variables a word starting EP_ is a name; the type letters
  // are kept in order.
  std::ofstream(path) << "BEGINMODEL t\nVARIABLES\n EP_X 0 0 1 C\n k 0 0 9 I\n b 0 0 1 B\nOBJECTIVES\n O MINIMIZE\n"
                         "    EP_PUSH_VAR EP_X\nCONSTRAINTS\n cap L\n    EP_PUSH_VAR k\nENDMODEL\n";
  m = QXcreateModel(env, nullptr);
  EXPECT_EQ(QXreadMPIFile(m, path.c_str()), 0);
  char types[4] = "";
  ASSERT_EQ(QXgetVarType(m, types), 0);
  EXPECT_EQ(std::string(types, 3), "CIB");
  ASSERT_EQ(QXgetConstraintNamei(m, 0, name), 0);
  EXPECT_STREQ(name, "cap");
  QXdeleteModel(&m);
}

TEST_F(MpiTest, MalformedFilesGiveCodeAndLine) {
  const std::string head = "BEGINMODEL test\nVARIABLES\n x 0 1 5 C\n y -1 0 1 I\nOBJECTIVES\n OBJ MINIMIZE\n";
  struct Case {
    std::string text;
    int code;
    int line;
  };
  const std::vector<Case> cases = {
      {head + "    EP_PUSH_VAR z\nENDMODEL\n", QXERR_BAD_MPI_FILE, 7},       // unknown variable
      {head + "    EP_PUSHVAR x\nENDMODEL\n", QXERR_BAD_MPI_FILE, 7},        // unknown opcode
      {head + "    EP_PUSH_NUM\nENDMODEL\n", QXERR_BAD_MPI_FILE, 7},         // missing operand
      {head + "    EP_PUSH_NUM 1.5x\nENDMODEL\n", QXERR_BAD_MPI_FILE, 7},
      {head + "    EP_SUM\nENDMODEL\n", QXERR_BAD_MPI_FILE, 7},
      {head + "SOMETHING\nENDMODEL\n", QXERR_BAD_MPI_FILE, 7},                 // unknown keyword here
      {head + "    EP_PI\nCONSTRAINTS\n    EP_PI\nENDMODEL\n", QXERR_BAD_MPI_FILE, 9},  // outside a row
      {"VARIABLES\n", QXERR_BAD_MPI_FILE, 1},                                  // before BEGINMODEL
      {"BEGINMODEL t\nVARIABLES\n x 0 0 1 Q\n", QXERR_BAD_MPI_FILE, 3},        // bad type
      {head + "    EP_PUSH_VAR x\n", QXERR_BAD_MPI_FILE, 7},                   // no ENDMODEL
      {head + "    EP_PUSH_VAR x\n    EP_PLUS\nENDMODEL\n", QXERR_INSTRUCT_SYNTAX, 0},
      {"BEGINMODEL t\nVARIABLES\n x 2 0 1 C\nOBJECTIVES\n O MINIMIZE\n EP_PUSH_VAR x\nENDMODEL\n",
       QXERR_INSTRUCT_BOUND_CONFLICT, 0},
      {"BEGINMODEL t\nNUMVARS 2\nVARIABLES\n x 0 0 1 C\nOBJECTIVES\n O MINIMIZE\n EP_PUSH_VAR x\nENDMODEL\n",
       QXERR_INSTRUCT_BAD_COUNT, 8},
  };
  for (const Case& c : cases) {
    const std::string path = tmpPath("bad.mpi");
    std::ofstream(path) << c.text;
    QXmodel m = QXcreateModel(env, nullptr);
    EXPECT_EQ(QXreadMPIFile(m, path.c_str()), c.code) << c.text;
    int line = -1;
    char text[512];
    QXgetFileError(m, &line, text);
    EXPECT_EQ(line, c.line) << c.text;
    EXPECT_EQ(m->status, QX_STATUS_UNLOADED);
    QXdeleteModel(&m);
  }
  EXPECT_EQ(QXreadMPIFile(model, tmpPath("does_not_exist.mpi").c_str()), QXERR_CANNOT_OPEN_FILE);
}

TEST_F(MpiTest, NetlibModelWrittenAsMpiEvaluatesAsItsMatrix) {
  const std::string mps = std::string(TORVA_SHARED_DATA) + "/netlib/afiro.mps.gz";
  if (!std::ifstream(mps)) GTEST_SKIP() << "shared data absent: " << mps;
  ASSERT_EQ(QXreadMPSFile(model, mps.c_str(), 1), 0);
  const std::string path = tmpPath("afiro.mpi.gz");
  ASSERT_EQ(QXwriteMPIFile(model, path.c_str()), 0);
  QXmodel back = QXcreateModel(env, nullptr);
  ASSERT_EQ(QXreadMPIFile(back, path.c_str()), 0);
  int m = 0, n = 0, nnz = 0;
  QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
  QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
  QXgetInfo(model, QX_IINFO_NUM_NONZ, &nnz);
  std::vector<double> c(static_cast<std::size_t>(n)), b(static_cast<std::size_t>(m)), val(static_cast<std::size_t>(nnz));
  std::vector<int> beg(static_cast<std::size_t>(n) + 1), idx(static_cast<std::size_t>(nnz));
  double objConst = 0;
  ASSERT_EQ(QXgetLPData(model, nullptr, &objConst, c.data(), b.data(), nullptr, beg.data(), nullptr, val.data(),
                        idx.data(), nullptr, nullptr),
            0);
  std::vector<double> x(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) x[static_cast<std::size_t>(j)] = 0.1 * (j % 7) - 0.2;
  std::vector<double> ax(static_cast<std::size_t>(m), 0.0);
  double cx = objConst;
  for (int j = 0; j < n; ++j) {
    cx += c[static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)];
    for (int p = beg[j]; p < beg[j + 1]; ++p) ax[static_cast<std::size_t>(idx[p])] += val[p] * x[static_cast<std::size_t>(j)];
  }
  double v = 0;
  ASSERT_EQ(QXexecuteInstruct(back, -1, QX_EVAL_VALUE, x.data(), &v, nullptr, nullptr), 0);
  EXPECT_NEAR(v, cx, 1e-12);
  for (int i = 0; i < m; ++i) {
    ASSERT_EQ(QXexecuteInstruct(back, i, QX_EVAL_VALUE, x.data(), &v, nullptr, nullptr), 0);
    EXPECT_NEAR(v, ax[static_cast<std::size_t>(i)] - b[static_cast<std::size_t>(i)], 1e-12) << i;
  }
  // The Jacobian of the matrix model (converted on the fly) is the matrix.
  int jn = 0, objNnz = 0;
  ASSERT_EQ(QXgetJac(model, &jn, &objNnz, nullptr, nullptr, nullptr, nullptr), 0);
  int cnz = 0;
  for (double cj : c) cnz += cj != 0.0;
  EXPECT_EQ(objNnz, cnz);
  EXPECT_EQ(jn, cnz + nnz);
  QXdeleteModel(&back);
}

}  // namespace
}  // namespace torva_test
