// Parameter documentation tables, names, aliases and keyword search.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "base/param_access.hpp"
#include "base/param_docs.hpp"
#include "base/param_names.hpp"
#include "torva.h"

namespace {

using torva::kParamCount;
using torva::kParamTable;

struct NamesFixture : ::testing::Test {
  QXenv env = nullptr;
  void SetUp() override {
    int err = -1;
    env = QXcreateEnv(&err);
    ASSERT_EQ(err, 0);
  }
  void TearDown() override { EXPECT_EQ(QXdeleteEnv(&env), 0); }
};

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// ------------------------------------------------------------- tables

TEST_F(NamesFixture, TablesHoldOneSortedRowPerParameter) {
  EXPECT_EQ(torva::checkParamDocTables(), 0);
  EXPECT_EQ(QXgetParamCount(env, 0), 429);
  EXPECT_EQ(QXgetParamCount(env, 1), 429);
  EXPECT_EQ(QXgetParamCount(nullptr, 0), 0);
  const auto& rows = torva::paramLongTable();
  for (std::size_t k = 1; k < rows.size(); ++k) EXPECT_LT(rows[k - 1].id, rows[k].id);
  const auto& shorts = torva::paramShortTable();
  ASSERT_EQ(shorts.size(), rows.size());
  for (std::size_t k = 0; k < rows.size(); ++k) {
    EXPECT_EQ(shorts[k].id, rows[k].id);
    EXPECT_EQ(shorts[k].valueSize, rows[k].valueSize);
  }
}

TEST_F(NamesFixture, EveryParameterHasNameAndDescriptions) {
  char name[256], shortText[256], longText[torva::kParamLongDescMax];
  for (const auto& d : kParamTable) {
    ASSERT_EQ(QXgetParamMacroName(env, d.id, name), 0);
    EXPECT_STREQ(name, d.name);
    EXPECT_STREQ(QXgetParamMacroNamePtr(env, d.id), d.name);
    ASSERT_EQ(QXgetParamShortDesc(env, d.id, shortText), 0);
    EXPECT_GT(std::strlen(shortText), 0u) << d.name;
    EXPECT_LT(std::strlen(shortText), 76u) << d.name;
    EXPECT_EQ(std::strchr(shortText, '\n'), nullptr) << d.name;
    const char* text = QXgetParamLongDescPtr(env, d.id);
    ASSERT_NE(text, nullptr) << d.name;
    ASSERT_LT(std::strlen(text), static_cast<std::size_t>(torva::kParamLongDescMax)) << d.name;
    ASSERT_EQ(QXgetParamLongDesc(env, d.id, longText), 0);
    EXPECT_STREQ(longText, text);
    auto ls = lines(text);
    EXPECT_GE(ls.size(), 2u) << d.name << ": meaning plus range and default";
    // Parameter files write each line behind "!"; keep them printable.
    for (const auto& l : ls) EXPECT_LE(l.size(), 76u) << d.name << ": " << l;
    int type = 0, id = 0;
    ASSERT_EQ(QXgetParamMacroID(env, d.name, &type, &id), 0) << d.name;
    EXPECT_EQ(id, d.id);
    EXPECT_EQ(type, torva::paramValueSize(d));
  }
}

TEST_F(NamesFixture, LongDescriptionsStateRangeAndDefault) {
  std::string s = QXgetParamLongDescPtr(env, QX_IPARAM_LP_PRINTLEVEL);
  EXPECT_NE(s.find("\nRange: 0 to 2147483647.\nDefault: 0."), std::string::npos) << s;
  s = QXgetParamLongDescPtr(env, QX_DPARAM_SOLVER_FEASTOL);
  EXPECT_NE(s.find("Range: 1e-16 to 0.0001.\nDefault: 1e-07."), std::string::npos) << s;
  s = QXgetParamLongDescPtr(env, QX_IPARAM_MULTITHREAD_MODE);
  EXPECT_NE(s.find("Default: -1 (QX_MTMODE_FREE)."), std::string::npos) << s;
  s = QXgetParamLongDescPtr(env, QX_IPARAM_STRING_LENLMT);
  EXPECT_NE(s.find("Range: 1 to 256.\nDefault: 20.\nSet on models only."), std::string::npos) << s;
  s = QXgetParamLongDescPtr(env, QX_DPARAM_MIP_INTTOL);
  EXPECT_NE(s.find("Range: 1e-32 to 0.49999999999999.\nDefault: 1e-06."), std::string::npos)
      << s;
  s = QXgetParamLongDescPtr(env, QX_IPARAM_VER_BUILD);
  EXPECT_NE(s.find("Value: 2438."), std::string::npos) << s;
  s = QXgetParamLongDescPtr(env, QX_DPARAM_GA_TOL_ZERO);
  EXPECT_NE(s.find("Range: 2.220446049250313e-16 to 1.\nDefault: 1e-14."), std::string::npos)
      << s;
}

TEST_F(NamesFixture, UnknownIdentifiersGiveEmptyTextsAndNullPointers) {
  char buf[64] = "junk";
  EXPECT_EQ(QXgetParamMacroName(env, 1028, buf), 0);
  EXPECT_STREQ(buf, "");
  std::strcpy(buf, "junk");
  EXPECT_EQ(QXgetParamShortDesc(env, -3, buf), 0);
  EXPECT_STREQ(buf, "");
  std::strcpy(buf, "junk");
  EXPECT_EQ(QXgetParamLongDesc(env, 11010, buf), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(QXgetParamMacroNamePtr(env, 1028), nullptr);
  EXPECT_EQ(QXgetParamShortDescPtr(env, 1028), nullptr);
  EXPECT_EQ(QXgetParamLongDescPtr(env, 1028), nullptr);
  EXPECT_EQ(QXgetParamMacroName(nullptr, QX_IPARAM_LP_ITRLMT, buf), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetParamLongDesc(env, QX_IPARAM_LP_ITRLMT, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetParamMacroNamePtr(nullptr, QX_IPARAM_LP_ITRLMT), nullptr);
  EXPECT_EQ(QXgetParamLongDescPtr(nullptr, QX_IPARAM_LP_ITRLMT), nullptr);
}

// ------------------------------------------------------------- macro identifiers

TEST_F(NamesFixture, InformationItemsResolveByName) {
  for (const auto& item : torva::infoItemNames()) {
    int type = 0, id = 0;
    ASSERT_EQ(QXgetParamMacroID(env, item.name, &type, &id), 0) << item.name;
    EXPECT_EQ(id, item.id);
    EXPECT_EQ(type, std::strncmp(item.name, "QX_IINFO_", 9) == 0 ? 4 : 8) << item.name;
  }
}

TEST_F(NamesFixture, EveryAliasOfAParameterOrItemResolvesToItsFinalName) {
  auto aliases = torva::paramAliases();
  EXPECT_EQ(aliases.size(), 66u);
  int resolved = 0;
  for (const auto& a : aliases) {
    // Follow the chain by hand to its last name.
    std::string last = a.newName;
    for (bool moved = true; moved;) {
      moved = false;
      for (const auto& b : aliases)
        if (last == b.oldName) {
          last = b.newName;
          moved = true;
        }
    }
    int type = 0, id = 0;
    int rc = QXgetParamMacroID(env, a.oldName, &type, &id);
    const torva::ParamDef* d = torva::findParamByName(last);
    if (d) {
      ASSERT_EQ(rc, 0) << a.oldName;
      EXPECT_EQ(id, d->id) << a.oldName;
      ++resolved;
    } else if (last.find("INFO_") != std::string::npos) {
      ASSERT_EQ(rc, 0) << a.oldName;
      ++resolved;
    } else {
      EXPECT_EQ(rc, QXERR_INVALID_PARAMETER_ID) << a.oldName << " -> " << last;
    }
  }
  EXPECT_GE(resolved, 50);
}

TEST_F(NamesFixture, MacroIdRejectsUnknownNamesAndNulls) {
  int type = 7, id = 7;
  EXPECT_EQ(QXgetParamMacroID(env, "QX_IPARAM_NO_SUCH_THING", &type, &id),
            QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXgetParamMacroID(env, "qx_iparam_lp_itrlmt", &type, &id),
            QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXgetParamMacroID(env, "QX_IPARAM_LP_ITRLMT ", &type, &id),
            QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXgetParamMacroID(env, "", &type, &id), QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXgetParamMacroID(nullptr, "QX_IPARAM_LP_ITRLMT", &type, &id),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetParamMacroID(env, nullptr, &type, &id), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetParamMacroID(env, "QX_IPARAM_LP_ITRLMT", nullptr, &id),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetParamMacroID(env, "QX_IPARAM_LP_ITRLMT", &type, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
}

// ------------------------------------------------------------- keyword search

TEST_F(NamesFixture, KeywordSearchWalksAllMatchesInOrder) {
  std::vector<int> expected;
  for (const auto& d : kParamTable)
    if (std::strstr(d.name, "PRINT_LEVEL")) expected.push_back(d.id);
  ASSERT_GT(expected.size(), 3u);
  std::vector<int> found;
  int index = -5;  // negative counts as 0
  int id = 0;
  while (true) {
    ASSERT_EQ(QXsearchParamHasKeyword(env, "PRINT_LEVEL", &index, &id), 0);
    if (id < 0) break;
    found.push_back(id);
    EXPECT_EQ(torva::paramLongTable()[index].id, id);
    ++index;
  }
  EXPECT_EQ(found, expected);
  EXPECT_EQ(index, kParamCount);
}

TEST_F(NamesFixture, NumericKeywordFindsTheIdentifier) {
  int index = 0, id = 0;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "5320", &index, &id), 0);
  EXPECT_EQ(id, QX_IPARAM_MIP_PRINTLEVEL);
  EXPECT_EQ(torva::paramLongTable()[index].id, 5320);
  // Resuming past the hit finds nothing more.
  ++index;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "5320", &index, &id), 0);
  EXPECT_EQ(id, -1);
  EXPECT_EQ(index, kParamCount);
  // A numeric keyword at or past the end is an index error.
  index = kParamCount;
  EXPECT_EQ(QXsearchParamHasKeyword(env, "5320", &index, &id), QXERR_INDEX_OUT_OF_RANGE);
  // A textual keyword past the end simply finds nothing.
  index = kParamCount + 3;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "MIP", &index, &id), 0);
  EXPECT_EQ(id, -1);
  EXPECT_EQ(index, kParamCount);
  // "0" is not a positive integer: searched as text (no name contains it).
  index = 0;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "0", &index, &id), 0);
  EXPECT_EQ(id, -1);
  EXPECT_EQ(QXsearchParamHasKeyword(env, nullptr, &index, &id), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsearchParamHasKeyword(nullptr, "MIP", &index, &id), QXERR_ILLEGAL_NULL_POINTER);
}

}  // namespace
