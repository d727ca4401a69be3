// Error-message texts and the failure-detail queries.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "base/messages.hpp"
#include "torva.h"

namespace {

// code -> text, from the fixture listing every code that has a text.
std::map<int, std::string> expectedMessages() {
  std::map<int, std::string> out;
  std::ifstream in(std::string(TORVA_TEST_FIXTURES) + "/messages.tsv");
  std::string line;
  while (std::getline(in, line)) {
    auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    out[std::stoi(line.substr(0, tab))] = line.substr(tab + 1);
  }
  return out;
}

void checkEveryCode(QXenv env) {
  const auto expected = expectedMessages();
  ASSERT_EQ(expected.size(), 197u);
  for (int code = -5; code <= 2600; ++code) {
    char buf[torva::kMessageBufferSize];
    std::memset(buf, 'x', sizeof buf);
    const int rc = QXgetErrorMessage(env, code, buf);
    if (code == 0) {
      EXPECT_EQ(rc, QXERR_BAD_ERROR_CODE);
      EXPECT_STREQ(buf, "No errors.");
    } else if (code < 0 || code >= 2598) {
      EXPECT_EQ(rc, QXERR_BAD_ERROR_CODE) << code;
      EXPECT_STREQ(buf, "Unknown error.") << code;
    } else {
      EXPECT_EQ(rc, 0) << code;
      auto it = expected.find(code);
      EXPECT_EQ(std::string(buf), it == expected.end() ? std::string() : it->second) << code;
    }
  }
}

TEST(ErrorMessages, EveryCodeWithEnvironment) {
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  ASSERT_NE(env, nullptr);
  checkEveryCode(env);
  QXdeleteEnv(&env);
}

TEST(ErrorMessages, EveryCodeWithoutEnvironment) { checkEveryCode(nullptr); }

TEST(ErrorMessages, SpotChecksOfOddTexts) {
  char buf[140];
  EXPECT_EQ(QXgetErrorMessage(nullptr, QXERR_INTERNAL_ERROR, buf), 0);
  EXPECT_STREQ(buf, "Internal error -- please contact TORVA Systems..");
  EXPECT_EQ(QXgetErrorMessage(nullptr, 2042, buf), 0);
  EXPECT_STREQ(buf,
               "The specified value for basis status does not match to the  upper or lower "
               "bound the variable can attain.");
  EXPECT_EQ(QXgetErrorMessage(nullptr, 2383, buf), 0);
  EXPECT_STREQ(buf, " No chance-constraints were loaded.");
  EXPECT_EQ(QXgetErrorMessage(nullptr, 2356, buf), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(QXgetErrorMessage(nullptr, 2020, buf), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(QXgetErrorMessage(nullptr, QXERR_STOC_SCENARIO_LIMIT, buf), 0);
  EXPECT_STREQ(buf, "Event tree exceeds the maximum number of scenarios allowed to attempt an exact solution.");
}

TEST(ErrorMessages, TableIsPackedAfterBuilding) {
  torva::MessageTable table;
  ASSERT_EQ(table.build(), 0);
  EXPECT_EQ(table.capacity(), table.used() + 1);
  std::size_t total = 0;
  for (const auto& [code, text] : expectedMessages())
    if (code != 0) total += text.size() + 1;
  EXPECT_EQ(table.used(), total);
  size_t longest = 0;
  for (const auto& [code, text] : expectedMessages()) longest = std::max(longest, text.size());
  EXPECT_EQ(longest + 1, static_cast<size_t>(torva::kMessageBufferSize));
}

TEST(FailureDetails, QueriesOnAFreshModel) {
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  QXmodel model = QXcreateModel(env, &err);
  int line = -1;
  char text[64] = "junk";
  EXPECT_EQ(QXgetFileError(model, &line, text), 0);
  EXPECT_EQ(line, 0);
  EXPECT_STREQ(text, "");
  line = -1;
  std::strcpy(text, "junk");
  EXPECT_EQ(QXgetFileError(nullptr, &line, text), 0);
  EXPECT_EQ(line, 0);
  EXPECT_STREQ(text, "");
  int row = -1;
  EXPECT_EQ(QXgetErrorRowIndex(nullptr, &row), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetErrorRowIndex(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetErrorRowIndex(model, &row), QXERR_INFO_NOT_AVAILABLE);
  QXdeleteEnv(&env);
}

}  // namespace
