// runtorva end to end where the output files matter: the model it writes,
// the parameters it writes and the solutions it solves. Exit statuses and
// messages are checked by the CTest cases of cases.cmake.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string kDiet = std::string(TORVA_EXAMPLE_MODELS) + "/diet.mps";

struct Runtorva : ::testing::Test {
  std::string dir;
  void SetUp() override {
    const char* base = std::getenv("TORVA_TEST_TMP");
    // One folder per test: ctest runs tests in parallel processes.
    dir = std::string(base ? base : "/tmp") + "/runtorva_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  // Runs runtorva in dir; returns stdout and stderr, status gets the exit status.
  std::string run(const std::string& args, int& status) {
    const std::string command = "cd '" + dir + "' && " + RUNTORVA_PATH + " " + args + " 2>&1";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, pipe)) out += buf;
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
  }
  std::string slurp(const std::string& name) {
    std::ifstream in(dir + "/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(Runtorva, WritesFixedMpsThatReadsBack) {
  int status = -1;
  std::string out = run("--no-solve " + kDiet + " --write diet.mps --fixed", status);
  ASSERT_EQ(status, 0) << out;
  const std::string text = slurp("diet.mps");
  EXPECT_EQ(text.rfind("NAME               DIET\nROWS\n N  COST\n", 0), 0u) << text;
  EXPECT_NE(text.find(" UP BND           OATS             4\n"), std::string::npos) << text;
  out = run("--no-solve --mps-format 1 diet.mps", status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Model DIET from diet.mps (fixed MPS), minimise"), std::string::npos) << out;
  EXPECT_NE(out.find("Number of constraints:       4    le:       1, ge:       3"), std::string::npos);
}

// torva.par, then --set, reach the model whose settings --write-params writes.
TEST_F(Runtorva, ParameterFileAndSetReachTheModel) {
  std::ofstream(dir + "/torva.par") << "  QX_IPARAM_LP_PRINTLEVEL = 3\n!QX_IPARAM_MIP_PRINTLEVEL = 5\n";
  int status = -1;
  const std::string out = run("--set Mip_PrintLevel=4 --write-params out.par", status);
  EXPECT_EQ(status, 0) << out;
  const std::string text = slurp("out.par");
  EXPECT_NE(text.find("\nQX_IPARAM_LP_PRINTLEVEL                    = 3\n"), std::string::npos);
  EXPECT_NE(text.find("\nQX_IPARAM_MIP_PRINTLEVEL                   = 4\n"), std::string::npos);
}

#ifdef RUNTORVA_HAVE_OPTIMIZE
// The solution file of the diet model satisfies its rows and bounds, its
// objective matches the summary, and the duals price the rows.
TEST_F(Runtorva, SolutionFileSolvesTheModel) {
  int status = -1;
  const std::string out = run(kDiet + " --write-solution diet.sol", status);
  ASSERT_EQ(status, 0) << out;
  std::map<std::string, std::pair<double, double>> sol;
  std::istringstream in(slurp("diet.sol"));
  std::string name;
  double value = 0, dual = 0;
  while (in >> name >> value >> dual) sol[name] = {value, dual};
  ASSERT_EQ(sol.size(), 8u) << slurp("diet.sol");
  const double oats = sol["OATS"].first, milk = sol["MILK"].first, beans = sol["BEANS"].first,
               bread = sol["BREAD"].first;
  constexpr double kTol = 1e-7;  // the default primal feasibility tolerance
  EXPECT_GE(110 * oats + 160 * milk + 260 * beans + 80 * bread, 2000 - kTol);
  EXPECT_GE(4 * oats + 8 * milk + 14 * beans + 3 * bread, 55 - kTol);
  EXPECT_GE(2 * oats + 285 * milk + 80 * beans + 30 * bread, 800 - kTol);
  EXPECT_LE(2 * oats + 9 * milk + beans + bread, 70 + kTol);
  const double cost = 0.3 * oats + 0.23 * milk + 0.6 * beans + 0.1 * bread;
  const std::size_t at = out.find("Objective value : ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_NEAR(std::strtod(out.c_str() + at + 18, nullptr), cost, 1e-9 * (1 + std::fabs(cost)));
  // Strong duality: the duals price the right-hand sides at the optimum
  // (no column sits at a nonzero bound with a reduced cost in this check's
  // sum, so the bound terms are added from the reduced costs).
  double dualObj = 2000 * sol["CALORIES"].second + 55 * sol["PROTEIN"].second +
                   800 * sol["CALCIUM"].second + 70 * sol["FAT"].second;
  const double ub[] = {4, 8, 2, 10};
  const char* cols[] = {"OATS", "MILK", "BEANS", "BREAD"};
  for (int j = 0; j < 4; ++j)
    if (sol[cols[j]].second < 0) dualObj += ub[j] * sol[cols[j]].second;
  EXPECT_NEAR(dualObj, cost, 1e-7);
}

// The model written as TORVA text solves to the same optimum when read
// back, recognised by its content; written as an instruction list it reads
// back as one.
TEST_F(Runtorva, OtherFormatsSolveAlike) {
  int status = -1;
  std::string out = run("-q " + kDiet + " --write diet.ltx", status);
  ASSERT_EQ(status, 0) << out;
  const std::string objective = out.substr(out.find("Objective value : "));
  fs::rename(dir + "/diet.ltx", dir + "/diet-text");
  out = run("-q --write diet.mpi diet-text", status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("from diet-text (TORVA text), minimise"), std::string::npos) << out;
  EXPECT_NE(out.find(objective.substr(0, objective.find('\n'))), std::string::npos) << out;
  out = run("--no-solve diet.mpi", status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("from diet.mpi (MPI), minimise"), std::string::npos) << out;
  EXPECT_NE(out.find("Number of variables  :       4"), std::string::npos) << out;
  EXPECT_NE(out.find("Instruction list: objective linear, 4 constraints (4 linear, 0 nonlinear)"),
            std::string::npos) << out;
}
#endif

}  // namespace
