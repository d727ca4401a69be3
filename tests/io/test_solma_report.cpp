// SOLMA writer bytes and the solution report from filled solution records.
#include <string>

#include "mps_test_util.hpp"
#include "text_test_util.hpp"

namespace {

using texttest::Env;

// 2 rows, 3 columns: x [0, 5], y free, z [-1e30, 3] integer; row r1 named,
// row 2 unnamed with no linear entries; quadratic terms in the objective and
// in row 2.
void loadSolmaModel(Env& e) {
  const double cost[] = {1, 0, -2}, rhs[] = {4, 9}, val[] = {1, 2};
  const int beg[] = {0, 1, 2, 2}, idx[] = {0, 0};
  const double lo[] = {0, -1e30, -1e30}, up[] = {5, 1e30, 3};
  ASSERT_EQ(QXloadLPData(e.model, 2, 3, QX_MIN, 1.5, cost, rhs, "LE", 2, beg, nullptr, val, idx, lo, up), 0);
  ASSERT_EQ(QXloadVarType(e.model, "CCI"), 0);
  const int qRow[] = {-1, -1, 1}, q1[] = {0, 0, 1}, q2[] = {0, 1, 1};
  const double qv[] = {2, 3, 1};
  ASSERT_EQ(QXloadQCData(e.model, 3, qRow, q1, q2, qv), 0);
  char r1[] = "r1", r2[] = "";
  char* rows[] = {r1, r2};
  char n0[] = "x", n1[] = "long name y", n2[] = "z";
  char* cols[] = {n0, n1, n2};
  ASSERT_EQ(QXloadNameData(e.model, "q", nullptr, nullptr, nullptr, nullptr, rows, cols, nullptr), 0);
}

TEST(Solma, ExactBytesWithQuadraticParts) {
  Env e;
  loadSolmaModel(e);
  const std::string path = texttest::tempPath("m.solma");
  ASSERT_EQ(QXwriteSOLMAFile(e.model, path.c_str()), 0);
  EXPECT_EQ(texttest::slurp(path),
            "model:\n"
            "[OBJ] min=\n"
            "   +1.000000 * x\n   -2.000000 * z\n+1.500000\n"
            "   +0.500000 * (\n   +2.000000 * x *x\n   +6.000000 * x *long_name\n  ) ;\n"
            "[r1]\n   +1.000000 * x\n   +2.000000 * long_name\n   < 4.000000;\n"
            "[R0000001]\n   +0.500000 * (\n   +1.000000 * long_name *long_name\n  )    = 9.000000;\n"
            "@BND  (0.000000,       x,5.000000);\n"
            "@FREE (long_name);\n"
            "@BND  (-100000000000000000000.000000,       z,3.000000);\n"
            "@GIN (       z);\n"
            "\nend\n");
  Env empty;
  EXPECT_EQ(QXwriteSOLMAFile(empty.model, path.c_str()), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXwriteSOLMAFile(nullptr, path.c_str()), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteSOLMAFile(e.model, "/nonexistent/dir/m.solma"), QXERR_CANNOT_OPEN_FILE);
  std::remove(path.c_str());
}

// A solved 2x2 LP: the record as an optimiser leaves it.
void fillLp(Env& e, int status) {
  const double cost[] = {1, 1}, rhs[] = {2, 123456789012.5}, val[] = {1, 1, 1};
  const int beg[] = {0, 2, 3}, idx[] = {0, 1, 0};
  const double lo[] = {0, 0}, up[] = {1e30, 1e30};
  ASSERT_EQ(QXloadLPData(e.model, 2, 2, QX_MIN, 0, cost, rhs, "GL", 3, beg, nullptr, val, idx, lo, up), 0);
  torva::LpSolution s;
  s.modelStatus = status;
  s.primalObj = 123456789012.5;
  s.simplexIters = 3;
  s.x = {2, 0};
  s.s = {0, 99999999999.0};
  s.y = {1, 0};
  s.d = {0, -0.5};
  s.colStatus = {0, -1};
  s.rowStatus = {-2, 1};
  e.model->lpSolution = s;
}

TEST(Report, ContinuousFullReport) {
  Env e;
  fillLp(e, QX_STATUS_BASIC_OPTIMAL);
  const std::string path = texttest::tempPath("lp.sol");
  ASSERT_EQ(QXwriteSolution(e.model, path.c_str()), 0);
  const std::string text = texttest::slurp(path);
  char version[64], built[64];
  QXgetVersionInfo(version, built);
  const std::string head = std::string(
                               "* -----------------------------------------------------------------"
                               "\n*                    SOLUTION REPORT                               "
                               "\n* \n* TORVA API Version ") +
                           version + " built on " + built +
                           "\n*\n* -----------------------------------------------------------------\n* \n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  const char* expected[] = {
      "* PROBLEM NAME\n* \n*   LP GLOBAL OPTIMUM FOUND\n* \n",
      "*   ITERATIONS BY SIMPLEX METHOD =           3\n",
      "*   TIME ELAPSED (s)             =           0\n* \n",
      "*   OBJECTIVE FUNCTION VALUE\n* \n*    1)        1.23456789012500e+11\n* \n",
      "*   VARIABLES                  VALUE             REDUCED COST            BASIS STATUS\n\n",
      "   C0000001            0.000000000             -0.500000000         QX_BASTYPE_ATLO\n",
      "   R0000001  99999999999.000000000              0.000000000         QX_BASTYPE_BAS \n",
  };
  for (const char* piece : expected) EXPECT_NE(text.find(piece), std::string::npos) << piece << "\nin:\n" << text;
  EXPECT_EQ(text.substr(text.size() - 17), "\n* END OF REPORT\n");
  EXPECT_EQ(text.find("RANGES"), std::string::npos);
  // Style 2 adds both ranges sections after the rows.
  ASSERT_EQ(QXsetModelIntParameter(e.model, QX_IPARAM_SOL_REPORT_STYLE, 2), 0);
  ASSERT_EQ(QXwriteSolution(e.model, path.c_str()), 0);
  const std::string ranged = texttest::slurp(path);
  const std::size_t cost = ranged.find("\n*\n* OBJECTIVE COEFFICIENT RANGES (0 secs)\n*\n");
  const std::size_t rhs = ranged.find("\n*\n* RIGHTHAND SIDE RANGES (0 secs)\n*\n");
  ASSERT_NE(cost, std::string::npos) << ranged;
  ASSERT_NE(rhs, std::string::npos) << ranged;
  EXPECT_LT(ranged.find("QX_BASTYPE_BAS "), cost);
  EXPECT_LT(cost, rhs);
  std::remove(path.c_str());
}

TEST(Report, StatusLinesAndErrors) {
  const std::string path = texttest::tempPath("st.sol");
  {  // Feasible (5): no status sentence, iteration lines still written.
    Env e;
    fillLp(e, QX_STATUS_FEASIBLE);
    ASSERT_EQ(QXwriteSolutionOfType(e.model, path.c_str(), 0), 0);
    const std::string text = texttest::slurp(path);
    EXPECT_EQ(text.find("OPTIMUM FOUND"), std::string::npos);
    EXPECT_NE(text.find("* PROBLEM NAME\n* \n*   ITERATIONS BY SIMPLEX"), std::string::npos);
  }
  {  // Infeasible: the sentence, no iteration lines.
    Env e;
    fillLp(e, QX_STATUS_INFEASIBLE);
    ASSERT_EQ(QXwriteSolutionOfType(e.model, path.c_str(), 2), 0);
    const std::string text = texttest::slurp(path);
    EXPECT_NE(text.find("*   LP_IPM SOLUTION INFEASIBLE\n* \n*   OBJECTIVE"), std::string::npos);
  }
  {  // A record with status 14: the file has the banner, the trailer, the end.
    Env e;
    fillLp(e, QX_STATUS_LOADED);
    ASSERT_EQ(QXwriteSolutionOfType(e.model, path.c_str(), 0), QXERR_INFO_NOT_AVAILABLE);
    const std::string text = texttest::slurp(path);
    EXPECT_NE(text.find("\n* \n\n*  Error 2009 occured while writing solution report.\n*  Error Message: "),
              std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 17), "\n* END OF REPORT\n");
    EXPECT_EQ(QXwriteSolutionOfType(e.model, path.c_str(), 3), QXERR_INFO_NOT_AVAILABLE);
  }
  std::remove(path.c_str());
  {  // Never solved: 2009 and no file; type 7 writes nothing; bad style.
    Env e;
    fillLp(e, 1);
    e.model->lpSolution.reset();
    EXPECT_EQ(QXwriteSolution(e.model, path.c_str()), QXERR_INFO_NOT_AVAILABLE);
    EXPECT_EQ(QXwriteSolutionOfType(e.model, path.c_str(), 7), 0);
    EXPECT_FALSE(std::ifstream(path).good());
    ASSERT_EQ(QXsetModelIntParameter(e.model, QX_IPARAM_SOL_REPORT_STYLE, 1), 0);
    EXPECT_EQ(QXwriteSolution(e.model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  }
}

TEST(Report, WideNamesAndMipReport) {
  Env e;
  fillLp(e, 1);
  // Longer than a formatted line's stack buffer.
  std::string longName(600, 'v');
  char r0[] = "a", r1[] = "b", c1[] = "w";
  char* rows[] = {r0, r1};
  char* cols[] = {longName.data(), c1};
  ASSERT_EQ(QXloadNameData(e.model, "wide", nullptr, nullptr, nullptr, nullptr, rows, cols, nullptr), 0);
  torva::MipSolution mip;
  mip.status = 1;
  mip.objective = -0.5;
  mip.simplexIters = 12;
  mip.branchCount = 4;
  mip.x = {2, 0};
  e.model->mipSolution = mip;
  const std::string path = texttest::tempPath("mip.sol");
  ASSERT_EQ(QXwriteSolution(e.model, path.c_str()), 0);
  const std::string text = texttest::slurp(path);
  const char* expected[] = {
      "*  PROBLEM NAME     wide\n* \n*   MILP GLOBAL OPTIMUM FOUND\n* \n",
      "*   ITERATIONS BY SIMPLEX METHOD    =          12\n",
      "*   TOTAL BRANCHES CREATED          =           4\n",
      "*   TOTAL NUMBER OF CUTS GENERATED  =           0\n* \n",
      "*    1)                -0.500000000\n",
      // Slack of a from the values: 2 - (2 + 0) = 0.
      "   a                   0.000000000",
  };
  for (const char* piece : expected) EXPECT_NE(text.find(piece), std::string::npos) << piece << "\nin:\n" << text;
  EXPECT_NE(text.find("   " + longName + "            2.000000000"), std::string::npos);
  // Compact MIP form: status, objective, dimensions, values.
  ASSERT_EQ(QXwriteSolutionOfType(e.model, path.c_str(), 4), 0);
  EXPECT_EQ(texttest::slurp(path), "STATUS 1\nOBJECTIVE -0.5\nROWS 2\nCOLUMNS 2\n2\n0\n");
  e.model->mipSolution->status = 3;
  EXPECT_EQ(QXwriteSolutionOfType(e.model, path.c_str(), 4), QXERR_INFO_NOT_AVAILABLE);
  // Duals asked for but the record has none: the report says so and goes on.
  e.model->mipSolution->status = 1;
  ASSERT_EQ(QXsetModelIntParameter(e.model, QX_IPARAM_MIP_DUAL_SOLUTION, 1), 0);
  ASSERT_EQ(QXwriteSolution(e.model, path.c_str()), 0);
  EXPECT_NE(texttest::slurp(path).find("\n*  Error 2009 in computing dual solution.\n"
                                       "*  Computation of dual solution is skipped.\n* \n"),
            std::string::npos);
  std::remove(path.c_str());
}

}  // namespace

namespace {

// End to end: a Netlib model solved by QXoptimize, reported in full.
TEST(Report, AfterOptimizeOnAfiro) {
  const std::string file = mpstest::sharedDataDir() + "/netlib/afiro.mps.gz";
  if (!std::ifstream(file).good()) GTEST_SKIP() << "Netlib models not found: " << file;
  texttest::Env e;
  ASSERT_EQ(QXreadMPSFile(e.model, file.c_str(), 1), 0);
  int status = 0;
  ASSERT_EQ(QXoptimize(e.model, 0, &status), 0);
  ASSERT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  const std::string path = texttest::tempPath("afiro.sol");
  ASSERT_EQ(QXwriteSolution(e.model, path.c_str()), 0);
  const std::string text = texttest::slurp(path);
  // afiro's optimum (Netlib objectives table): -464.7531428571.
  char objective[64];
  std::snprintf(objective, sizeof objective, "*    1)      %22.9f\n", -464.7531428571);
  EXPECT_NE(text.find(objective), std::string::npos) << text;
  EXPECT_NE(text.find("*   LP GLOBAL OPTIMUM FOUND\n"), std::string::npos);
  EXPECT_NE(text.find("QX_BASTYPE_BAS "), std::string::npos);
  std::remove(path.c_str());
}

}  // namespace
