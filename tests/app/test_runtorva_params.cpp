// The runtorva driver reads torva.par from its working directory (or the
// file given with -p) and writes the settings in force with --write-params.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string run(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    status = -1;
    return out;
  }
  char buf[512];
  while (std::fgets(buf, sizeof buf, pipe)) out += buf;
  status = pclose(pipe);
  return out;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct RuntorvaParams : ::testing::Test {
  std::string dir;
  void SetUp() override {
    const char* base = std::getenv("TORVA_TEST_TMP");
    // One folder per test: ctest runs tests in parallel processes.
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = std::string(base ? base : "/tmp") + "/runtorva_params_" + name;
    std::string cmd = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  void TearDown() override {
    std::string cmd = "rm -rf '" + dir + "'";
    std::system(cmd.c_str());
  }
  void write(const std::string& name, const std::string& text) {
    std::ofstream out(dir + "/" + name);
    out << text;
  }
  std::string runIn(const std::string& args, int& status) {
    return run("cd '" + dir + "' && " + std::string(RUNTORVA_PATH) + " " + args + " 2>&1", status);
  }
};

TEST_F(RuntorvaParams, ReadsTorvaParFromTheWorkingDirectory) {
  write("torva.par", "  QX_IPARAM_LP_PRINTLEVEL = 3\n!QX_IPARAM_MIP_PRINTLEVEL = 5\n");
  int status = -1;
  const std::string out = runIn("--write-params out.par", status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Reading model parameters from torva.par"), std::string::npos) << out;
  EXPECT_NE(out.find("Written model parameters to out.par"), std::string::npos) << out;
  const std::string text = slurp(dir + "/out.par");
  EXPECT_NE(text.find("\nQX_IPARAM_LP_PRINTLEVEL                    = 3\n"), std::string::npos);
  EXPECT_NE(text.find("\n!QX_IPARAM_MIP_PRINTLEVEL                   = 2\n"), std::string::npos);
}

TEST_F(RuntorvaParams, DashPReadsAnotherFile) {
  write("torva.par", "QX_IPARAM_LP_PRINTLEVEL = 3\n");
  write("other.par", "QX_IPARAM_MIP_PRINTLEVEL = 4\n");
  int status = -1;
  const std::string out = runIn("-p other.par --write-params out.par", status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(out.find("torva.par"), std::string::npos) << out;
  const std::string text = slurp(dir + "/out.par");
  EXPECT_NE(text.find("\nQX_IPARAM_MIP_PRINTLEVEL                   = 4\n"), std::string::npos);
  EXPECT_NE(text.find("\n!QX_IPARAM_LP_PRINTLEVEL                    = 0\n"), std::string::npos);
}

TEST_F(RuntorvaParams, MissingFilesAreErrors) {
  int status = -1;
  std::string out = runIn("-p missing.par --write-params out.par", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("missing.par"), std::string::npos) << out;
  out = runIn("-p", status);
  EXPECT_NE(status, 0);
  out = runIn("--write-params /nonexistent/dir/out.par", status);
  EXPECT_NE(status, 0);
}

}  // namespace
