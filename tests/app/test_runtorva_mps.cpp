// runtorva reading MPS models, printing their statistics and writing them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

std::string tempDir() {
  const char* dir = std::getenv("TORVA_TEST_TMP");
  return dir ? dir : "/tmp";
}

const std::string kDiet = std::string(TORVA_TEST_FIXTURES) + "/../../examples/models/diet.mps";

TEST(RuntorvaMps, ReadsTheExampleModel) {
  int status = -1;
  std::string out = run(std::string(RUNTORVA_PATH) + " " + kDiet, status);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("Number of constraints:       4    le:       1, ge:       3, eq:       0"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("Number of variables  :       4"), std::string::npos) << out;
  EXPECT_NE(out.find("Processed 31 lines in MPS format"), std::string::npos) << out;
}

TEST(RuntorvaMps, WritesAndReadsBack) {
  const std::string fixed = tempDir() + "/runtorva_diet_fixed.mps";
  int status = -1;
  std::string out = run(std::string(RUNTORVA_PATH) + " " + kDiet + " --write " + fixed + " --fixed", status);
  ASSERT_EQ(status, 0) << out;
  std::ifstream in(fixed);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(text.rfind("NAME               DIET\nROWS\n N  COST\n", 0), 0u) << text;
  EXPECT_NE(text.find(" UP BND           OATS             4\n"), std::string::npos) << text;
  std::string again = run(std::string(RUNTORVA_PATH) + " --mps-format 1 " + fixed, status);
  EXPECT_EQ(status, 0) << again;
  EXPECT_NE(again.find("Number of constraints:       4    le:       1, ge:       3"), std::string::npos);
  std::filesystem::remove(fixed);
}

TEST(RuntorvaMps, ReportsBadFiles) {
  const std::string bad = tempDir() + "/runtorva_bad.mps";
  std::ofstream(bad) << "NAME x\nROWS\n N  obj\nCOLUMNS\n    x  nowhere  1\nRHS\nENDATA\n";
  int status = -1;
  std::string out = run(std::string(RUNTORVA_PATH) + " " + bad + " 2>&1", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("line 5:     x  nowhere  1"), std::string::npos) << out;
  EXPECT_NE(out.find("error 2003: There is an error in the MPS file."), std::string::npos) << out;
  out = run(std::string(RUNTORVA_PATH) + " " + tempDir() + "/no-such-model.mps 2>&1", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("error 2002"), std::string::npos) << out;
  std::filesystem::remove(bad);
}

}  // namespace
