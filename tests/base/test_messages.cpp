// Error-message texts and the failure-detail queries.
#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <utility>
#include <string>

#include "base/messages.hpp"
#include "torva.h"

namespace {

// Codes from 1 on that have a text; the texts themselves are spot-checked
// below where a slip is likely (odd spellings, leading blanks, double blanks).
constexpr int kCodesWithText = 196;

void checkEveryCode(QXenv env) {
  int withText = 0;
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
      ASSERT_NE(std::memchr(buf, '\0', sizeof buf), nullptr) << code;
      withText += buf[0] != '\0';
    }
  }
  EXPECT_EQ(withText, kCodesWithText);
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
  const std::pair<int, const char*> cases[] = {
      {QXERR_OUT_OF_MEMORY, "Could not allocate enough memory."},
      {QXERR_INTERNAL_ERROR, "Internal error -- please contact TORVA Systems.."},
      {2042, "The specified value for basis status does not match to the  upper or lower "
             "bound the variable can attain."},
      {2383, " No chance-constraints were loaded."},
      {2356, ""},
      {2020, ""},
      {QXERR_STOC_SCENARIO_LIMIT,
       "Event tree exceeds the maximum number of scenarios allowed to attempt an exact solution."},
      {QXERR_MPS_COL_EXTRA_VALUE, "Extra value in the COLUNMS section of the MPS file."},
      {QXERR_MPS_MULTIPLE_OBJ, "Multiple objective funtion rows in the ROWS section of the MPS file."},
      {QXERR_BINSOL_EOF, "Trying to read past the end of file."},
  };
  char buf[torva::kMessageBufferSize];
  for (const auto& [code, text] : cases) {
    EXPECT_EQ(QXgetErrorMessage(nullptr, code, buf), 0) << code;
    EXPECT_STREQ(buf, text) << code;
  }
}

TEST(ErrorMessages, TableIsPackedAfterBuilding) {
  torva::MessageTable table;
  ASSERT_EQ(table.build(), 0);
  EXPECT_EQ(table.capacity(), table.used() + 1);
  std::size_t total = 0, longest = 0;
  for (int code = 0; code < torva::MessageTable::kIndexSize; ++code) {
    if (const char* text = table.text(code)) {
      total += std::strlen(text) + 1;
      longest = std::max(longest, std::strlen(text));
    }
  }
  EXPECT_EQ(table.used(), total);
  EXPECT_EQ(longest + 1, static_cast<size_t>(torva::kMessageBufferSize));
  EXPECT_EQ(table.text(-1), nullptr);
  EXPECT_EQ(table.text(torva::MessageTable::kIndexSize), nullptr);
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
