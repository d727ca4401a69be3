// Layout and matching rules of parameter files, checked on a small table and
// an in-memory level so that every byte of the output can be compared.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/param_file.hpp"
#include "torva.h"

namespace pf = torva::paramfile;

namespace {

std::string tempPath(const std::string& name) {
  const char* dir = std::getenv("TORVA_TEST_TMP");
  return std::string(dir ? dir : "/tmp") + "/cbtest_" + name;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void spit(const std::string& path, const std::string& text) {
  std::ofstream out(path);
  out << text;
}

// A level with int and double values in maps; ids it does not hold fail.
struct FakeLevel : pf::Level {
  std::map<int, int> ints;
  std::map<int, double> dous;
  std::map<int, int> rejectWith;  // id -> error code of a set
  std::vector<std::string> lines;
  bool logging = true;
  int getInt(int id, int* v) override {
    auto it = ints.find(id);
    if (it == ints.end()) return QXERR_INFO_NOT_AVAILABLE;
    *v = it->second;
    return 0;
  }
  int getDou(int id, double* v) override {
    auto it = dous.find(id);
    if (it == dous.end()) return QXERR_INFO_NOT_AVAILABLE;
    *v = it->second;
    return 0;
  }
  int setInt(int id, int v) override {
    if (rejectWith.count(id)) return rejectWith[id];
    if (!ints.count(id)) return QXERR_INVALID_PARAMETER_ID;
    ints[id] = v;
    return 0;
  }
  int setDou(int id, double v) override {
    if (rejectWith.count(id)) return rejectWith[id];
    if (!dous.count(id)) return QXERR_INVALID_PARAMETER_ID;
    dous[id] = v;
    return 0;
  }
  void log(const std::string& text) override { lines.push_back(text); }
  bool hasLog() const override { return logging; }
  std::string errorText(int code) override { return "error text " + std::to_string(code); }
};

const pf::Row kRows[] = {
    {990, "QX_IPARAM_VER_MAJOR", "Major version", 4, 3},
    {1023, "QX_DPARAM_CALLBACKFREQ", "Callback frequency\nin seconds", 8, 3},
    {1035, "QX_IPARAM_LP_PRINTLEVEL", "Print level for LP", 4, 3},
    {1042, "QX_IPARAM_STRING_LENLMT", "", 4, 2},
};

struct Levels {
  FakeLevel model, env, fresh;
  Levels() {
    for (FakeLevel* l : {&model, &fresh}) {
      l->ints = {{990, 10}, {1035, 0}, {1042, 20}};
      l->dous = {{1023, 0.5}};
    }
    env.ints = {{990, 10}, {1035, 0}};
    env.dous = {{1023, 0.5}};
  }
};

TEST(ParamFileFormat, ModelEntriesCommentDefaultsAndFallbackValues) {
  Levels l;
  l.model.ints[1035] = 3;     // changed: written as a setting
  l.model.dous[1023] = 0.5 + 1e-16;  // within epsilon of the default: commented
  l.model.ints.erase(1042);   // the model cannot answer: the environment's... none
  l.env.ints[1042] = 20;      // ...so the environment's value, commented
  const std::string path = tempPath("entries.par");
  {
    pf::File f(std::fopen(path.c_str(), "w"));
    pf::writeModelEntries(f.get(), kRows, l.model, l.env, l.fresh);
  }
  const std::string expected =
      "!Callback frequency\n!in seconds\n"
      "!QX_DPARAM_CALLBACKFREQ                     = 0.5\n\n\n"
      "!Print level for LP\n"
      "QX_IPARAM_LP_PRINTLEVEL                    = 3\n\n\n"
      "!QX_IPARAM_STRING_LENLMT                    = 20\n\n\n";
  EXPECT_EQ(slurp(path), expected);
  std::remove(path.c_str());
}

// The comparison with the default is absolute: values within epsilon of it
// stay commented however small they are; a larger difference is a setting.
TEST(ParamFileFormat, DoublesAreComparedWithAnAbsoluteEpsilon) {
  struct Case { double fresh, model; const char* line; };
  const Case cases[] = {
      {2.220446049250313e-16, 1.1e-16, "\n!QX_DPARAM_CALLBACKFREQ                     = 1.1e-16\n"},
      {1e-7, 1e-7 + 1e-17, "\n!QX_DPARAM_CALLBACKFREQ                     = 1e-07\n"},
      {0.5, 0.5 + 1e-15, "\nQX_DPARAM_CALLBACKFREQ                     = 0.5\n"},
  };
  const std::string path = tempPath("eps.par");
  for (const Case& c : cases) {
    Levels l;
    l.fresh.dous[1023] = c.fresh;
    l.model.dous[1023] = c.model;
    {
      pf::File f(std::fopen(path.c_str(), "w"));
      pf::writeModelEntries(f.get(), kRows, l.model, l.env, l.fresh);
    }
    EXPECT_NE(slurp(path).find(c.line), std::string::npos) << c.model;
  }
  std::remove(path.c_str());
}

TEST(ParamFileFormat, SpecialGetterOverridesTheLevel) {
  Levels l;
  auto special = [](int id, pf::Value* v, void*) {
    if (id != 1023) return false;
    v->isInt = false;
    v->d = 7.25;
    return true;
  };
  const std::string path = tempPath("special.par");
  {
    pf::File f(std::fopen(path.c_str(), "w"));
    pf::writeModelEntries(f.get(), kRows, l.model, l.env, l.fresh, special, nullptr);
  }
  EXPECT_NE(slurp(path).find("\nQX_DPARAM_CALLBACKFREQ                     = 7.25\n"),
            std::string::npos);
  std::remove(path.c_str());
}

TEST(ParamFileFormat, NumericFileArguments) {
  EXPECT_TRUE(pf::readsAsNumber("123"));
  EXPECT_TRUE(pf::readsAsNumber("  -1.5e+3"));
  EXPECT_TRUE(pf::readsAsNumber("1d5"));
  EXPECT_TRUE(pf::readsAsNumber("2E4"));
  EXPECT_FALSE(pf::readsAsNumber("run1.par"));
  EXPECT_FALSE(pf::readsAsNumber("12 3"));
  EXPECT_FALSE(pf::readsAsNumber("   "));
  EXPECT_FALSE(pf::readsAsNumber(""));
  EXPECT_EQ(pf::csvLogName("123"), "123.param.csv");
  EXPECT_EQ(pf::csvLogName("12.5"), "12.param.csv");
  EXPECT_EQ(pf::csvLogName("1.2.3"), "1.2.param.csv");
  EXPECT_EQ(pf::csvLogName("  7e3"), "7e3.param.csv");
}

TEST(ParamFileFormat, LineMatchingRules) {
  int i = -1;
  double d = -1;
  EXPECT_TRUE(pf::matchInt("   QX_IPARAM_LP_PRINTLEVEL   =   3\n", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_EQ(i, 3);
  EXPECT_TRUE(pf::matchInt("QX_IPARAM_LP_PRINTLEVEL=-7", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_EQ(i, -7);
  EXPECT_TRUE(pf::matchInt("\tQX_IPARAM_LP_PRINTLEVEL\t= 4 trailing", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_EQ(i, 4);
  EXPECT_FALSE(pf::matchInt("! QX_IPARAM_LP_PRINTLEVEL = 3", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_FALSE(pf::matchInt("!QX_IPARAM_LP_PRINTLEVEL = 3", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_FALSE(pf::matchInt("QX_IPARAM_LP_PRINTLEVELX = 3", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_FALSE(pf::matchInt("QX_IPARAM_LP_PRINTLEVEL 3", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_FALSE(pf::matchInt("QX_IPARAM_LP_PRINTLEVEL = x", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_FALSE(pf::matchInt("QX_IPARAM_LP_PRINTLEVEL = 99999999999", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_FALSE(pf::matchInt("X QX_IPARAM_LP_PRINTLEVEL = 3", "QX_IPARAM_LP_PRINTLEVEL", &i));
  EXPECT_TRUE(pf::matchDou("QX_DPARAM_CALLBACKFREQ = 1.5e-3", "QX_DPARAM_CALLBACKFREQ", &d));
  EXPECT_DOUBLE_EQ(d, 1.5e-3);
  EXPECT_TRUE(pf::matchDou("QX_DPARAM_CALLBACKFREQ =2", "QX_DPARAM_CALLBACKFREQ", &d));
  EXPECT_EQ(d, 2);
  EXPECT_FALSE(pf::matchDou("QX_DPARAM_CALLBACKFREQ =", "QX_DPARAM_CALLBACKFREQ", &d));
}

TEST(ParamFileFormat, LoadSetsFirstMatchAndLogsShortDescriptions) {
  const std::string path = tempPath("load.par");
  spit(path,
       "! comment\n"
       "!QX_IPARAM_LP_PRINTLEVEL = 9\n"
       "  QX_IPARAM_LP_PRINTLEVEL =  3\n"
       "QX_IPARAM_LP_PRINTLEVEL = 5\n"
       "QX_DPARAM_CALLBACKFREQ = 0.25\n"
       "QX_IPARAM_STRING_LENLMT = 30\n");
  Levels l;
  int set = 0;
  ASSERT_EQ(pf::loadSettings(path.c_str(), kRows, l.model, true, &set), 0);
  EXPECT_EQ(l.model.ints[1035], 3);
  EXPECT_EQ(l.model.dous[1023], 0.25);
  EXPECT_EQ(l.model.ints[1042], 30);
  EXPECT_EQ(set, 3);
  // The version row is offered too: no line names it, so it stays.
  EXPECT_EQ(l.model.ints[990], 10);
  // No short description, no message for QX_IPARAM_STRING_LENLMT.
  EXPECT_EQ(l.model.lines,
            (std::vector<std::string>{"\nCallback frequency\nin seconds: 2.5e-01",
                                      "\nPrint level for LP: 3"}));
  std::remove(path.c_str());
}

TEST(ParamFileFormat, LoadWarnsAndGoesOn) {
  const std::string path = tempPath("warn.par");
  spit(path,
       "QX_IPARAM_LP_PRINTLEVEL = -4\n"
       "QX_DPARAM_CALLBACKFREQ = 1e40\n"
       "QX_IPARAM_STRING_LENLMT = 30\n");
  Levels l;
  l.model.rejectWith[1035] = QXERR_PARAMETER_OUT_OF_RANGE;
  l.model.rejectWith[1023] = QXERR_PARAMETER_OUT_OF_RANGE;
  l.env.rejectWith[1035] = QXERR_PARAMETER_OUT_OF_RANGE;
  l.env.rejectWith[1042] = QXERR_UNABLE_TO_SET_PARAM;  // model-only on the environment
  int set = 0;
  ASSERT_EQ(pf::loadSettings(path.c_str(), kRows, l.model, true, &set), 0);
  EXPECT_EQ(set, 1);
  EXPECT_EQ(l.model.ints[1042], 30);
  EXPECT_EQ(l.model.lines,
            (std::vector<std::string>{
                "\n*** Warning: Model failed to set QX_DPARAM_CALLBACKFREQ to 1e+40\n",
                "error text 2024",
                "\n*** Warning: Model failed to set QX_IPARAM_LP_PRINTLEVEL to -4\n",
                "error text 2024"}));
  set = 0;
  ASSERT_EQ(pf::loadSettings(path.c_str(), kRows, l.env, false, &set), 0);
  EXPECT_EQ(set, 1);  // the callback frequency
  // 2011 (cannot be set on this level) is silent.
  EXPECT_EQ(l.env.lines[0], "\nCallback frequency\nin seconds: 1.0e+40");
  EXPECT_EQ(l.env.lines[1], "*** Warning: Env failed to set QX_IPARAM_LP_PRINTLEVEL to -4\n");
  EXPECT_EQ(l.env.lines.size(), 3u);
  std::remove(path.c_str());
}

TEST(ParamFileFormat, LoadErrors) {
  Levels l;
  int set = 0;
  EXPECT_EQ(pf::loadSettings("/nonexistent/dir/x.par", kRows, l.model, true, &set),
            QXERR_CANNOT_OPEN_FILE);
  const std::string path = tempPath("badsize.par");
  spit(path, "QX_IPARAM_LP_PRINTLEVEL = 2\n");
  const pf::Row bad[] = {{1035, "QX_IPARAM_LP_PRINTLEVEL", "", 4, 3},
                         {1036, "QX_IPARAM_BAD", "", 2, 3},
                         {1042, "QX_IPARAM_STRING_LENLMT", "", 4, 3}};
  EXPECT_EQ(pf::loadSettings(path.c_str(), bad, l.model, true, &set), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(l.model.ints[1035], 2);  // rows before the bad one were read
  std::remove(path.c_str());
}

TEST(ParamFileFormat, LongLinesAreReadInPieces) {
  const std::string path = tempPath("long.par");
  // 300 characters of padding, then a setting: the piece after the first 255
  // characters starts with blanks and the name, so it is a line of its own.
  spit(path, std::string(255, 'x') + "   QX_IPARAM_LP_PRINTLEVEL = 6\n");
  Levels l;
  int set = 0;
  ASSERT_EQ(pf::loadSettings(path.c_str(), kRows, l.model, true, &set), 0);
  EXPECT_EQ(l.model.ints[1035], 6);
  std::remove(path.c_str());
}

TEST(ParamFileFormat, AsciiDocTable) {
  const std::string path = tempPath("doc.adoc");
  const pf::Row rows[] = {{1022, "QX_IPARAM_OBJSENSE", "Objective sense\nof the model", 4, 2},
                          {1048, "QX_IPARAM_NUM_THREADS", "Threads", 4, 3},
                          {7, "QX_IPARAM_ENVONLY", "", 4, 1}};
  {
    pf::File f(std::fopen(path.c_str(), "w"));
    pf::writeAsciiDoc(f.get(), rows);
  }
  EXPECT_EQ(slurp(path),
            "[cols=\"3*\", options=\"header\"] \n|===\n|Name |Available for| Description \n"
            "|QX_IPARAM_OBJSENSE\n|Model\n|\nObjective sense\nof the model\n\n"
            "|QX_IPARAM_NUM_THREADS\n|Environment,Model\n|\nThreads\n\n"
            "|QX_IPARAM_ENVONLY\n|Environment\n|\n\n"
            "|===\n");
  std::remove(path.c_str());
}

}  // namespace
