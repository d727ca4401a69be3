// The logging facility: one log call per formatted message, gating by print
// level, the context marker around the host's log function.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/log.hpp"
#include "base/model.hpp"
#include "torva.h"
#include "base/model_fixture.hpp"

namespace {

constexpr int kMipPrintLevel = 5320;  // QX_IPARAM_MIP_PRINTLEVEL, default 2
constexpr int kLpPrintLevel = 1035;   // QX_IPARAM_LP_PRINTLEVEL, default 0

struct Lines {
  std::vector<std::string> lines;
  bool markerSeen = false;
};

void modelLog(QXmodel model, const char* text, void* userdata) {
  auto* l = static_cast<Lines*>(userdata);
  l->lines.emplace_back(text);
  l->markerSeen = model->callbacks.inHostCall();
}

void envLog(QXenv, const char* text, void* userdata) {
  static_cast<Lines*>(userdata)->lines.emplace_back(text);
}

using LogFixture = torva_test::ModelFixture;

TEST_F(LogFixture, OneCallPerFormattedMessage) {
  Lines l;
  // Without a log function nothing happens.
  torva::logPrint(*model, "\nlost %d", 1);
  ASSERT_EQ(QXsetModelLogfunc(model, modelLog, &l), 0);
  torva::logPrint(*model, "\nIter %6d obj %12.4e %s", 42, 1.5, "x");
  torva::logText(*model, "plain %d text");
  ASSERT_EQ(l.lines.size(), 2u);
  EXPECT_EQ(l.lines[0], "\nIter     42 obj   1.5000e+00 x");
  EXPECT_EQ(l.lines[1], "plain %d text");
  EXPECT_TRUE(l.markerSeen);
  EXPECT_FALSE(model->callbacks.inHostCall());
}

TEST_F(LogFixture, PrintLevelGatesMessages) {
  Lines l;
  EXPECT_FALSE(torva::logEnabled(*model, kMipPrintLevel, 1));
  ASSERT_EQ(QXsetModelLogfunc(model, modelLog, &l), 0);
  torva::logPrintAt(*model, kMipPrintLevel, 2, "mip %d", 2);
  torva::logPrintAt(*model, kMipPrintLevel, 3, "mip %d", 3);
  torva::logPrintAt(*model, kLpPrintLevel, 1, "lp %d", 1);
  torva::logPrintAt(*model, kLpPrintLevel, 0, "lp %d", 0);
  EXPECT_EQ(l.lines, (std::vector<std::string>{"mip 2", "lp 0"}));
  EXPECT_TRUE(torva::logEnabled(*model, kMipPrintLevel, 2));
  EXPECT_FALSE(torva::logEnabled(*model, kMipPrintLevel, 3));
}

TEST_F(LogFixture, PrintLevelFollowsTheModelsParameter) {
  Lines l;
  ASSERT_EQ(QXsetModelLogfunc(model, modelLog, &l), 0);
  torva::logPrintAt(*model, QX_IPARAM_LP_PRINTLEVEL, 2, "before");
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 2), 0);
  torva::logPrintAt(*model, QX_IPARAM_LP_PRINTLEVEL, 2, "after");
  torva::logPrintAt(*model, QX_IPARAM_LP_PRINTLEVEL, 3, "too detailed");
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, 0), 0);
  torva::logPrintAt(*model, QX_IPARAM_MIP_PRINTLEVEL, 1, "mip");
  EXPECT_EQ(l.lines, (std::vector<std::string>{"after"}));
}

TEST_F(LogFixture, EnvironmentMessagesGoToTheEnvironmentsFunction) {
  Lines envLines;
  Lines modelLines;
  ASSERT_EQ(QXsetModelLogfunc(model, modelLog, &modelLines), 0);
  torva::logPrint(*env, "\nenv %s", "only");
  ASSERT_EQ(QXsetEnvLogfunc(env, envLog, &envLines), 0);
  torva::logPrint(*env, "\nenv %s", "set");
  EXPECT_EQ(envLines.lines, (std::vector<std::string>{"\nenv set"}));
  EXPECT_TRUE(modelLines.lines.empty());
  ASSERT_EQ(QXsetEnvLogfunc(env, nullptr, nullptr), 0);
  torva::logPrint(*env, "gone");
  EXPECT_EQ(envLines.lines.size(), 1u);
}

TEST(Format, GrowsBeyondTheStackBuffer) {
  EXPECT_EQ(torva::format("%s-%d", "a", 5), "a-5");
  const std::string big(1000, 'z');
  EXPECT_EQ(torva::format("%s%s", big.c_str(), big.c_str()).size(), 2000u);
  EXPECT_EQ(torva::format("%s", ""), "");
}

}  // namespace
