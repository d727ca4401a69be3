// Black-box checks of callbacks, logging and parameter files, written against
// the public header alone, the way a host program uses the library: exact
// file layouts, exact log and warning texts, return codes and null rules.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "torva.h"
#include "base/model_fixture.hpp"

namespace {

namespace fs = std::filesystem;

// Collects every text handed to a log function, one entry per call.
void collectModel(QXmodel, const char* text, void* user) {
  static_cast<std::vector<std::string>*>(user)->push_back(text);
}
void collectEnv(QXenv, const char* text, void* user) {
  static_cast<std::vector<std::string>*>(user)->push_back(text);
}

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void spit(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

std::string padded(const std::string& name) {
  std::string s = name;
  if (s.size() < 42) s.append(42 - s.size(), ' ');
  return s;
}

std::string longDesc(QXenv env, int id) {
  std::vector<char> buf(1 << 16, '\0');
  EXPECT_EQ(QXgetParamLongDesc(env, id, buf.data()), 0);
  return buf.data();
}
std::string shortDesc(QXenv env, int id) {
  std::vector<char> buf(4096, '\0');
  EXPECT_EQ(QXgetParamShortDesc(env, id, buf.data()), 0);
  return buf.data();
}

// The block a parameter file holds for one parameter: its description as
// "!" comment lines, then the value line and two blank lines.
std::string entryBlock(QXenv env, int id, const std::string& valueLine) {
  std::string block;
  for (const std::string& line : splitLines(longDesc(env, id))) block += "!" + line + "\n";
  return block + valueLine + "\n\n\n";
}

// Identifiers and names of the long table, walked through the keyword search.
struct TableRow {
  int id;
  std::string name;
};
std::vector<TableRow> longTable(QXenv env) {
  std::vector<TableRow> rows;
  int index = 0;
  int id = -1;
  while (QXsearchParamHasKeyword(env, "QX", &index, &id) == 0 && id >= 0) {
    char name[256] = {0};
    EXPECT_EQ(QXgetParamMacroName(env, id, name), 0);
    rows.push_back({id, name});
    ++index;
  }
  return rows;
}

struct FilesFixture : torva_test::ModelFixture {
  fs::path dir;
  std::vector<std::string> modelLog;
  std::vector<std::string> envLog;

  void SetUp() override {
    ModelFixture::SetUp();
    char templ[] = "/tmp/torva_accept_files_XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir = templ;
  }
  void TearDown() override {
    ModelFixture::TearDown();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  void listen() {
    ASSERT_EQ(QXsetModelLogfunc(model, collectModel, &modelLog), 0);
    ASSERT_EQ(QXsetEnvLogfunc(env, collectEnv, &envLog), 0);
  }
  std::string path(const char* name) const { return (dir / name).string(); }
};

// Runs the body with the working directory moved to dir, restored after.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const fs::path& dir) : old_(fs::current_path()) {
    fs::current_path(dir);
  }
  ~WorkingDirectory() { fs::current_path(old_); }

 private:
  fs::path old_;
};

// ------------------------------------------------------------ writing

TEST_F(FilesFixture, ModelFileEntriesAreDescriptionValueAndTwoBlankLines) {
  listen();
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 3), 0);
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, 1e-5), 0);
  const std::string file = path("m.par");
  ASSERT_EQ(QXwriteModelParameter(model, file.c_str()), 0);
  const std::string text = slurp(file);

  // Changed values are written plainly, defaults commented.
  EXPECT_NE(text.find(entryBlock(env, QX_IPARAM_LP_PRINTLEVEL,
                                 padded("QX_IPARAM_LP_PRINTLEVEL") + " = 3")),
            std::string::npos);
  EXPECT_NE(text.find(entryBlock(env, QX_DPARAM_SOLVER_FEASTOL,
                                 padded("QX_DPARAM_SOLVER_FEASTOL") + " = 1e-05")),
            std::string::npos);
  EXPECT_NE(text.find(entryBlock(env, QX_DPARAM_CALLBACKFREQ,
                                 "!" + padded("QX_DPARAM_CALLBACKFREQ") + " = 0.5")),
            std::string::npos);
  EXPECT_NE(text.find(entryBlock(env, QX_IPARAM_OBJSENSE, "!" + padded("QX_IPARAM_OBJSENSE") + " = 1")),
            std::string::npos);
  // The stored cutoff is what the file shows for the MIP cutoff.
  EXPECT_NE(text.find("\n!" + padded("QX_DPARAM_MIP_CUTOFFOBJ") + " = 1e+30\n\n\n"),
            std::string::npos);

  // The version identifiers are left out.
  EXPECT_EQ(text.find("QX_IPARAM_VER_MAJOR"), std::string::npos);
  EXPECT_EQ(text.find("QX_IPARAM_VER_NUMBER"), std::string::npos);

  // One log call, the file name in it.
  ASSERT_EQ(modelLog.size(), 1u);
  EXPECT_EQ(modelLog[0], "\nWritten model parameters to " + file);
  EXPECT_TRUE(envLog.empty());
}

TEST_F(FilesFixture, ModelFileHasOneValueLinePerParameterOutsideTheVersionBlock) {
  const std::string file = path("m.par");
  ASSERT_EQ(QXwriteModelParameter(model, file.c_str()), 0);
  const std::vector<std::string> lines = splitLines(slurp(file));
  const std::vector<TableRow> rows = longTable(env);
  ASSERT_EQ(static_cast<int>(rows.size()), QXgetParamCount(env, 1));
  std::size_t at = 13;  // after the header
  for (const TableRow& row : rows) {
    if (row.id >= 990 && row.id <= 999) continue;
    // The two string parameters of the stochastic group have no int or
    // double value to write.
    if (row.name.rfind("QX_SPARAM_", 0) == 0) continue;
    const std::string lead = padded(row.name) + " = ";
    bool found = false;
    for (; at < lines.size(); ++at) {
      const std::string& l = lines[at];
      const std::string body = !l.empty() && l[0] == '!' ? l.substr(1) : l;
      if (body.compare(0, lead.size(), lead) == 0) {
        found = true;
        ++at;
        break;
      }
    }
    EXPECT_TRUE(found) << "no value line for " << row.name << " in identifier order";
    if (!found) break;
  }
}

// Doubles count as the default when they differ by at most
// 2.220446049250313e-16; a difference beyond that is a changed setting.
TEST_F(FilesFixture, DefaultsAreThoseOfAFreshModelOfTheEnvironment) {
  // The environment changed after the model was created: the fresh model
  // starts from 2, so the model's own 0 is a changed value and 2 would not be.
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_LP_PRINTLEVEL, 2), 0);
  const std::string file = path("m.par");
  ASSERT_EQ(QXwriteModelParameter(model, file.c_str()), 0);
  EXPECT_NE(slurp(file).find("\n" + padded("QX_IPARAM_LP_PRINTLEVEL") + " = 0\n\n\n"),
            std::string::npos);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 2), 0);
  ASSERT_EQ(QXwriteModelParameter(model, file.c_str()), 0);
  EXPECT_NE(slurp(file).find("\n!" + padded("QX_IPARAM_LP_PRINTLEVEL") + " = 2\n\n\n"),
            std::string::npos);
  // The fresh model is gone again.
  int count = -1;
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 1);
}

TEST_F(FilesFixture, WriteNullRulesAndUncreatableFiles) {
  EXPECT_EQ(QXwriteModelParameter(nullptr, path("a").c_str()), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteModelParameter(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteEnvParameter(nullptr, path("a").c_str()), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteEnvParameter(env, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteParameterAsciiDoc(nullptr, path("a").c_str()), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteParameterAsciiDoc(env, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  const std::string bad = path("no/such/dir/x.par");
  EXPECT_EQ(QXwriteModelParameter(model, bad.c_str()), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXwriteEnvParameter(env, bad.c_str()), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXwriteParameterAsciiDoc(env, bad.c_str()), QXERR_CANNOT_OPEN_FILE);
}

// ------------------------------------------------------------ CSV log

TEST_F(FilesFixture, NumericFileArgumentLogsTheParametersToCsvOnce) {
  listen();
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 3), 0);
  WorkingDirectory here(dir);
  ASSERT_EQ(QXwriteModelParameter(model, "12345"), 0);
  EXPECT_FALSE(fs::exists(dir / "12345"));
  const fs::path csv = dir / "12345.param.csv";
  ASSERT_TRUE(fs::exists(csv));
  const std::string text = slurp(csv);
  const std::vector<std::string> lines = splitLines(text);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(text.back(), '\n');
  ASSERT_FALSE(lines[0].empty());
  EXPECT_EQ(lines[0].back(), ',');
  EXPECT_EQ(lines[1].back(), ',');
  auto fields = [](const std::string& l) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : l) {
      if (c == ',') {
        out.push_back(cur);
        cur.clear();
      } else {
        cur += c;
      }
    }
    return out;
  };
  const std::vector<std::string> names = fields(lines[0]);
  const std::vector<std::string> values = fields(lines[1]);
  ASSERT_EQ(names.size(), values.size());
  bool sawPrint = false;
  bool sawFreq = false;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (names[k] == "QX_IPARAM_LP_PRINTLEVEL") {
      sawPrint = true;
      EXPECT_EQ(values[k], "3");
    }
    if (names[k] == "QX_DPARAM_CALLBACKFREQ") {
      sawFreq = true;
      EXPECT_EQ(values[k], "0.5");
    }
  }
  EXPECT_TRUE(sawPrint);
  EXPECT_TRUE(sawFreq);
  ASSERT_EQ(modelLog.size(), 1u);
  EXPECT_EQ(modelLog[0], "\nLogged model parameters to 12345.param.csv");

  // An existing log is kept as it is.
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 5), 0);
  ASSERT_EQ(QXwriteModelParameter(model, "12345"), 0);
  EXPECT_EQ(slurp(csv), text);

  // A number with a '.' has its extension replaced.
  ASSERT_EQ(QXwriteModelParameter(model, "7.5"), 0);
  EXPECT_TRUE(fs::exists(dir / "7.param.csv"));
  EXPECT_FALSE(fs::exists(dir / "7.5"));
}

// ------------------------------------------------------------ reading

TEST_F(FilesFixture, ReaderLogsEachValueSetWithItsShortDescription) {
  listen();
  const std::string file = path("r.par");
  spit(file, "QX_IPARAM_LP_PRINTLEVEL = 3\nQX_DPARAM_SOLVER_FEASTOL = 1e-5\n");
  ASSERT_EQ(QXreadModelParameter(model, file.c_str()), 0);
  std::vector<std::string> expected = {"\nReading model parameters from " + file + "\n"};
  const std::string s1 = shortDesc(env, QX_IPARAM_LP_PRINTLEVEL);
  const std::string s2 = shortDesc(env, QX_DPARAM_SOLVER_FEASTOL);
  if (!s1.empty()) expected.push_back("\n" + s1 + ": 3");
  if (!s2.empty()) expected.push_back("\n" + s2 + ": 1.0e-05");
  expected.push_back("\n\n");
  EXPECT_EQ(modelLog, expected);
  EXPECT_TRUE(envLog.empty());

  modelLog.clear();
  ASSERT_EQ(QXreadEnvParameter(env, file.c_str()), 0);
  EXPECT_TRUE(modelLog.empty());
  expected[0] = "\nReading environment parameters from " + file + "\n";
  EXPECT_EQ(envLog, expected);
}

TEST_F(FilesFixture, ReaderWithoutAnySettingLogsNoClosingBlankLines) {
  listen();
  const std::string file = path("r.par");
  spit(file, "!QX_IPARAM_LP_PRINTLEVEL = 3\n");
  ASSERT_EQ(QXreadModelParameter(model, file.c_str()), 0);
  ASSERT_EQ(modelLog.size(), 1u);
  EXPECT_EQ(modelLog[0], "\nReading model parameters from " + file + "\n");
}

TEST_F(FilesFixture, LoadWithAHostTable) {
  listen();
  const std::string file = path("r.par");
  spit(file, "QX_IPARAM_LP_PRINTLEVEL = 3\nQX_DPARAM_CALLBACKFREQ = 2.5\nQX_IPARAM_MIP_PRINTLEVEL = 4\n");
  const QXparamTableRow table[] = {
      {QX_IPARAM_LP_PRINTLEVEL, "QX_IPARAM_LP_PRINTLEVEL", "LP print level", 4},
      {QX_DPARAM_CALLBACKFREQ, "QX_DPARAM_CALLBACKFREQ", "Callback frequency", 8},
      {QX_IPARAM_MIP_PRINTLEVEL, "QX_IPARAM_MIP_PRINTLEVEL", "", 4},
  };
  ASSERT_EQ(QXloadModelParameter(model, file.c_str(), 3, table), 0);
  const std::vector<std::string> expected = {
      "\nReading model parameters from " + file + "\n", "\nLP print level: 3",
      "\nCallback frequency: 2.5e+00", "\n\n"};
  EXPECT_EQ(modelLog, expected);
  int v = -1;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 4);

  ASSERT_EQ(QXloadEnvParameter(env, file.c_str(), 1, table), 0);
  ASSERT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_LP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 3);
  ASSERT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_MIP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 2);  // not in the one-row table

  // A row of another value size ends the call.
  const QXparamTableRow bad[] = {{QX_IPARAM_LP_PRINTLEVEL, "QX_IPARAM_LP_PRINTLEVEL", "", 2}};
  EXPECT_EQ(QXloadModelParameter(model, file.c_str(), 1, bad), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXloadEnvParameter(env, file.c_str(), 1, bad), QXERR_INDEX_OUT_OF_RANGE);
  // A file that cannot be opened; no row means nothing is opened.
  const std::string missing = path("missing.par");
  EXPECT_EQ(QXloadModelParameter(model, missing.c_str(), 1, table), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXloadEnvParameter(env, missing.c_str(), 1, table), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXloadModelParameter(model, missing.c_str(), 0, table), 0);
  EXPECT_EQ(QXloadModelParameter(model, missing.c_str(), -3, table), 0);
  EXPECT_EQ(QXreadModelParameter(model, missing.c_str()), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXreadEnvParameter(env, missing.c_str()), QXERR_CANNOT_OPEN_FILE);
  // Null handles and names.
  EXPECT_EQ(QXloadModelParameter(nullptr, file.c_str(), 1, table), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadModelParameter(model, nullptr, 1, table), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadEnvParameter(nullptr, file.c_str(), 1, table), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadEnvParameter(env, nullptr, 1, table), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadModelParameter(nullptr, file.c_str()), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadModelParameter(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadEnvParameter(nullptr, file.c_str()), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadEnvParameter(env, nullptr), QXERR_ILLEGAL_NULL_POINTER);
}

TEST_F(FilesFixture, ReadModelParameterAlsoReadsTheGeneticAlgorithmGroup) {
  const std::string file = path("r.par");
  spit(file, "QX_IPARAM_GA_POPSIZE = 77\nQX_DPARAM_GA_CXOVER_PROB = 0.25\n");
  ASSERT_EQ(QXreadModelParameter(model, file.c_str()), 0);
  int v = -1;
  double d = -1;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_GA_POPSIZE, &v), 0);
  EXPECT_EQ(v, 77);
  ASSERT_EQ(QXgetModelDouParameter(model, QX_DPARAM_GA_CXOVER_PROB, &d), 0);
  EXPECT_EQ(d, 0.25);
}

TEST_F(FilesFixture, WrittenFileReadIntoAFreshModelReproducesTheSettings) {
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 3), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, QX_MAX), 0);
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, 1e-3), 0);
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_MIP_CUTOFFOBJ, 125), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_POPSIZE, 31), 0);
  const std::string file = path("m.par");
  ASSERT_EQ(QXwriteModelParameter(model, file.c_str()), 0);
  int err = -1;
  QXmodel fresh = QXcreateModel(env, &err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(QXreadModelParameter(fresh, file.c_str()), 0);
  for (const TableRow& row : longTable(env)) {
    if (row.id >= 990 && row.id <= 999) continue;
    if (row.name.rfind("QX_IPARAM_", 0) == 0) {
      int a = 0, b = 0;
      if (QXgetModelIntParameter(model, row.id, &a) != 0) continue;
      ASSERT_EQ(QXgetModelIntParameter(fresh, row.id, &b), 0) << row.name;
      EXPECT_EQ(a, b) << row.name;
    } else if (row.name.rfind("QX_DPARAM_", 0) == 0) {
      double a = 0, b = 0;
      if (QXgetModelDouParameter(model, row.id, &a) != 0) continue;
      ASSERT_EQ(QXgetModelDouParameter(fresh, row.id, &b), 0) << row.name;
      EXPECT_EQ(a, b) << row.name;
    }
  }
  EXPECT_EQ(QXdeleteModel(&fresh), 0);
}

// ------------------------------------------------------------ callbacks

TEST_F(FilesFixture, CallbackInfoOutsideASolve) {
  int k = -1;
  EXPECT_EQ(QXgetMIPCallbackInfo(model, QX_IINFO_NUM_VARS, &k), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetMIPCallbackInfo(nullptr, QX_IINFO_NUM_VARS, &k), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetCallbackInfo(nullptr, 0, QX_IINFO_MODEL_STATUS, &k), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetProgressInfo(nullptr, 0, QX_IINFO_MODEL_STATUS, &k), QXERR_ILLEGAL_NULL_POINTER);
  // Nothing is being solved: no location can answer.
  EXPECT_EQ(QXgetCallbackInfo(model, 0, QX_IINFO_NUM_VARS, &k), QXERR_INFO_NOT_AVAILABLE);
}

// Parameter-file messages go to the model's log function only; with none
// set, writing and reading still work and nothing reaches the environment's.
TEST_F(FilesFixture, NoModelLogFunctionMeansNoModelMessages) {
  ASSERT_EQ(QXsetEnvLogfunc(env, collectEnv, &envLog), 0);
  const std::string file = path("m.par");
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 3), 0);
  ASSERT_EQ(QXwriteModelParameter(model, file.c_str()), 0);
  ASSERT_EQ(QXreadModelParameter(model, file.c_str()), 0);
  EXPECT_TRUE(envLog.empty());
}

}  // namespace
