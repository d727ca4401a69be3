// The library never writes to the terminal: everything it has to say goes
// through log functions. Standard output and standard error are redirected
// into a file while a range of library calls runs, and the file must stay
// empty.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "base/callback.hpp"
#include "base/log.hpp"
#include "base/model.hpp"
#include "torva.h"

namespace {

std::string tempPath(const std::string& name) {
  const char* dir = std::getenv("TORVA_TEST_TMP");
  return std::string(dir ? dir : "/tmp") + "/quiet_" + name;
}

// Runs body with file descriptors 1 and 2 pointing at a file; returns what
// was written to them.
std::string captureTerminal(const std::function<void()>& body) {
  // One file per test: ctest runs tests in parallel processes.
  const std::string path =
      tempPath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
               ".txt");
  std::fflush(stdout);
  std::fflush(stderr);
  FILE* sink = std::fopen(path.c_str(), "w");
  if (!sink) return "cannot capture";
  const int savedOut = dup(1);
  const int savedErr = dup(2);
  dup2(fileno(sink), 1);
  dup2(fileno(sink), 2);
  body();
  std::fflush(stdout);
  std::fflush(stderr);
  dup2(savedOut, 1);
  dup2(savedErr, 2);
  close(savedOut);
  close(savedErr);
  std::fclose(sink);
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  std::remove(path.c_str());
  return s.str();
}

int stopCb(QXmodel, int, void*) { return 1; }

TEST(Quiet, LibraryCallsWriteNothingToTheTerminal) {
  bool ran = false;
  const std::string out = captureTerminal([&] {
    int err = 0;
    QXenv env = QXcreateEnv(&err);
    QXmodel model = QXcreateModel(env, &err);
    // Messages with no log function installed go nowhere.
    torva::logPrint(*model, "\nmessage %d", 1);
    torva::logPrint(*env, "\nmessage %d", 2);
    QXsetCallback(model, stopCb, nullptr);
    {
      torva::SolveScope scope(*model, QXLOC_PRIMAL, nullptr);
      torva::reportProgress(*model, {QXLOC_PRIMAL, 0, 0, true});
    }
    // Parameter files, with warnings to report and nowhere to send them.
    const std::string par = tempPath("q.par");
    QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 5);
    QXwriteModelParameter(model, par.c_str());
    QXwriteEnvParameter(env, par.c_str());
    FILE* f = std::fopen(par.c_str(), "w");
    if (f) {
      std::fputs("QX_DPARAM_SOLVER_FEASTOL = 1e-30\nQX_IPARAM_LP_PRINTLEVEL = 2\n", f);
      std::fclose(f);
    }
    QXreadModelParameter(model, par.c_str());
    QXreadEnvParameter(env, par.c_str());
    QXreadModelParameter(model, "/nonexistent/q.par");
    QXwriteParameterAsciiDoc(env, par.c_str());
    std::remove(par.c_str());
    char text[256];
    QXgetErrorMessage(env, QXERR_USER_INTERRUPT, text);
    QXgetCallbackInfo(model, QXLOC_PRIMAL, 11201, text);
    QXdeleteEnv(&env);
    ran = true;
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(out, "");
}

TEST(Quiet, CaptureSeesWhatIsWritten) {
  // The capture itself works: a direct write is caught.
  const std::string out = captureTerminal([] { std::printf("seen"); });
  EXPECT_EQ(out, "seen");
}

}  // namespace
