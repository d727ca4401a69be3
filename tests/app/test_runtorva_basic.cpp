// The runtorva driver's version and help options.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Runs a command and returns its standard output; status receives the exit code.
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

TEST(Runtorva, VersionAndHelp) {
  int status = -1;
  std::string out = run(std::string(RUNTORVA_PATH) + " --version", status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("10.0.2438.085"), std::string::npos) << out;

  out = run(std::string(RUNTORVA_PATH) + " --help", status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("Usage: runtorva"), std::string::npos) << out;

  out = run(std::string(RUNTORVA_PATH) + " --no-such-option 2>/dev/null", status);
  EXPECT_NE(status, 0);
}

}  // namespace
