// Parameter files through the public interface, on the full parameter
// registry: round trips, layout, reading rules, the CSV log, environment
// files and the AsciiDoc table.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/env.hpp"
#include "base/param_access.hpp"
#include "base/param_file_tables.hpp"
#include "base/param_table.hpp"
#include "torva.h"
#include "base/model_fixture.hpp"

namespace pf = torva::paramfile;

namespace {

std::string tempDir() {
  const char* dir = std::getenv("TORVA_TEST_TMP");
  return dir ? dir : "/tmp";
}
std::string tempPath(const std::string& name) { return tempDir() + "/pftest_" + name; }

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  std::string line;
  while (std::getline(s, line)) lines.push_back(line);
  return lines;
}

void spit(const std::string& path, const std::string& text) {
  std::ofstream out(path);
  out << text;
}

std::string padded(const std::string& name) {
  return name + std::string(name.size() < 42 ? 42 - name.size() : 0, ' ');
}

struct LogLines {
  std::vector<std::string> lines;
};
void modelLog(QXmodel, const char* text, void* userdata) {
  static_cast<LogLines*>(userdata)->lines.emplace_back(text);
}
void envLog(QXenv, const char* text, void* userdata) {
  static_cast<LogLines*>(userdata)->lines.emplace_back(text);
}

using ParamFileFixture = torva_test::ModelFixture;

bool writable(const torva::ParamDef& def) {
  return def.type != torva::ParamType::Str && def.rule != torva::SetRule::ReadOnly &&
         def.rule != torva::SetRule::NotSupported;
}

// A value of 6 significant digits, as a parameter file keeps it.
double sixDigits(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", v);
  return std::strtod(text, nullptr);
}

// Changes every parameter the model accepts a different value for; returns
// how many were changed.
int changeEverything(QXmodel model) {
  int changed = 0;
  for (const torva::ParamDef& def : torva::paramrow::kParamTable) {
    if (!writable(def)) continue;
    if (def.type == torva::ParamType::Int) {
      int now = 0;
      if (QXgetModelIntParameter(model, def.id, &now) != 0) continue;
      const long long wide = now;
      for (long long candidate : {wide + 1, wide - 1, wide == -1 ? 1LL : -1LL}) {
        if (candidate == now || candidate > INT_MAX || candidate < INT_MIN) continue;
        if (QXsetModelIntParameter(model, def.id, static_cast<int>(candidate)) == 0) {
          ++changed;
          break;
        }
      }
    } else {
      double now = 0;
      if (QXgetModelDouParameter(model, def.id, &now) != 0) continue;
      for (double candidate : {now * 0.5, now * 2, now + 1, 0.25, now - 1}) {
        candidate = sixDigits(candidate);
        // Values within epsilon of each other count as the same setting.
        if (std::fabs(candidate - now) <= 2.220446049250313e-16) continue;
        if (QXsetModelDouParameter(model, def.id, candidate) == 0) {
          ++changed;
          break;
        }
      }
    }
  }
  return changed;
}

TEST_F(ParamFileFixture, RoundTripReproducesEverySetting) {
  const int changed = changeEverything(model);
  // All but a handful of the 429 parameters take another value.
  EXPECT_GT(changed, 400);
  const std::string path = tempPath("roundtrip.par");
  ASSERT_EQ(QXwriteModelParameter(model, path.c_str()), 0);

  QXmodel fresh = newModel();
  ASSERT_EQ(QXreadModelParameter(fresh, path.c_str()), 0);
  int compared = 0;
  for (const torva::ParamDef& def : torva::paramrow::kParamTable) {
    if (def.type == torva::ParamType::Str) continue;
    if (def.type == torva::ParamType::Int) {
      int a = 0, b = 0;
      ASSERT_EQ(QXgetModelIntParameter(model, def.id, &a), 0) << def.name;
      ASSERT_EQ(QXgetModelIntParameter(fresh, def.id, &b), 0) << def.name;
      EXPECT_EQ(a, b) << def.name;
    } else {
      double a = 0, b = 0;
      ASSERT_EQ(QXgetModelDouParameter(model, def.id, &a), 0) << def.name;
      ASSERT_EQ(QXgetModelDouParameter(fresh, def.id, &b), 0) << def.name;
      EXPECT_EQ(a, b) << def.name;
    }
    ++compared;
  }
  EXPECT_EQ(compared, 427);
  std::remove(path.c_str());
}

TEST_F(ParamFileFixture, LayoutOfAModelFile) {
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 3), 0);
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, 1e-5), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_POPSIZE, 50), 0);
  LogLines log;
  ASSERT_EQ(QXsetModelLogfunc(model, modelLog, &log), 0);
  const std::string path = tempPath("layout.par");
  ASSERT_EQ(QXwriteModelParameter(model, path.c_str()), 0);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"\nWritten model parameters to " + path}));

  const std::vector<std::string> lines = linesOf(slurp(path));
  ASSERT_GT(lines.size(), 13u);
  EXPECT_EQ(lines[0], std::string(79, '!'));
  EXPECT_EQ(lines[2], "! This is the parameter file for use with TORVA API. Each line contains");
  EXPECT_EQ(lines[10], "! <runtorva.exe> driver program reads <torva.par> file.");
  EXPECT_EQ(lines[12], std::string(79, '!'));

  // Walk the entries: description comment lines, the value line, two blank
  // lines; in identifier order, without the version parameters.
  const std::vector<pf::Row> rows = pf::longTableRows();
  std::size_t at = 13;
  int entries = 0;
  std::vector<std::string> uncommented;
  for (const pf::Row& row : rows) {
    if (row.id >= 990 && row.id <= 999) continue;
    if (row.size == 8 && (row.id == 6630 || row.id == 6631)) continue;  // name formats
    std::size_t descLines = 0;
    for (const char* p = row.text; *p; ++p) descLines += *p == '\n';
    if (*row.text && row.text[std::string(row.text).size() - 1] != '\n') ++descLines;
    for (std::size_t k = 0; k < descLines; ++k, ++at) {
      ASSERT_LT(at, lines.size());
      EXPECT_EQ(lines[at][0], '!') << row.name;
    }
    ASSERT_LT(at + 2, lines.size()) << row.name;
    const std::string& value = lines[at];
    const bool commented = value[0] == '!';
    const std::string body = commented ? value.substr(1) : value;
    EXPECT_EQ(body.substr(0, 45), padded(row.name) + " = ") << row.name;
    if (!commented) uncommented.push_back(row.name);
    EXPECT_EQ(lines[at + 1], "");
    EXPECT_EQ(lines[at + 2], "");
    at += 3;
    ++entries;
  }
  EXPECT_EQ(at, lines.size());
  EXPECT_EQ(entries, 422);
  EXPECT_EQ(uncommented, (std::vector<std::string>{"QX_IPARAM_LP_PRINTLEVEL",
                                                   "QX_DPARAM_SOLVER_FEASTOL",
                                                   "QX_IPARAM_GA_POPSIZE"}));
  const std::string text = slurp(path);
  EXPECT_NE(text.find("\nQX_IPARAM_LP_PRINTLEVEL                    = 3\n\n\n"), std::string::npos);
  EXPECT_NE(text.find("\nQX_DPARAM_SOLVER_FEASTOL                   = 1e-05\n\n\n"),
            std::string::npos);
  EXPECT_NE(text.find("\n!QX_DPARAM_CALLBACKFREQ                     = 0.5\n\n\n"),
            std::string::npos);
  std::remove(path.c_str());
}

TEST_F(ParamFileFixture, DefaultsComeFromAFreshModelOfTheEnvironment) {
  // A value taken over from the environment counts as the default.
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_MIP_PRINTLEVEL, 4), 0);
  QXmodel m = newModel();
  const std::string path = tempPath("envdefault.par");
  ASSERT_EQ(QXwriteModelParameter(m, path.c_str()), 0);
  EXPECT_NE(slurp(path).find("\n!QX_IPARAM_MIP_PRINTLEVEL                   = 4\n"),
            std::string::npos);
  // The fresh model used for the comparison is gone again.
  int count = 0;
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 2);
  std::remove(path.c_str());
}

TEST_F(ParamFileFixture, ReadingLogsSettingsAndWarnings) {
  const std::string path = tempPath("log.par");
  spit(path,
       "QX_IPARAM_LP_PRINTLEVEL = 2\n"
       "QX_DPARAM_SOLVER_FEASTOL = 1e-20\n");
  LogLines log;
  ASSERT_EQ(QXsetModelLogfunc(model, modelLog, &log), 0);
  ASSERT_EQ(QXreadModelParameter(model, path.c_str()), 0);
  const pf::Row* lp = nullptr;
  const std::vector<pf::Row> shortRows = pf::shortTableRows();
  for (const pf::Row& r : shortRows)
    if (r.id == QX_IPARAM_LP_PRINTLEVEL) lp = &r;
  ASSERT_NE(lp, nullptr);
  std::vector<std::string> expected{"\nReading model parameters from " + path + "\n"};
  if (*lp->text) expected.push_back("\n" + std::string(lp->text) + ": 2");
  expected.push_back("\n*** Warning: Model failed to set QX_DPARAM_SOLVER_FEASTOL to 1e-20\n");
  expected.push_back("Specified parameter is out of range.");
  expected.push_back("\n\n");
  EXPECT_EQ(log.lines, expected);
  double d = 0;
  ASSERT_EQ(QXgetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, &d), 0);
  EXPECT_EQ(d, 1e-7);

  // Nothing set: no closing blank lines.
  log.lines.clear();
  spit(path, "! nothing\n");
  ASSERT_EQ(QXreadModelParameter(model, path.c_str()), 0);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"\nReading model parameters from " + path + "\n"}));
  std::remove(path.c_str());
}

TEST_F(ParamFileFixture, LoadWithAGivenTable) {
  const std::string path = tempPath("table.par");
  spit(path, "QX_IPARAM_LP_PRINTLEVEL = 5\nQX_IPARAM_MIP_PRINTLEVEL = 6\n");
  const QXparamTableRow one[] = {{QX_IPARAM_MIP_PRINTLEVEL, "QX_IPARAM_MIP_PRINTLEVEL", "", 4}};
  ASSERT_EQ(QXloadModelParameter(model, path.c_str(), 1, one), 0);
  int i = 0;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, &i), 0);
  EXPECT_EQ(i, 6);
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, &i), 0);
  EXPECT_EQ(i, 0);

  const QXparamTableRow bad[] = {{QX_IPARAM_LP_PRINTLEVEL, "QX_IPARAM_LP_PRINTLEVEL", "", 2}};
  EXPECT_EQ(QXloadModelParameter(model, path.c_str(), 1, bad), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXloadEnvParameter(env, path.c_str(), 1, bad), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXloadModelParameter(model, path.c_str(), 1, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadModelParameter(nullptr, path.c_str(), 1, one), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadModelParameter(model, nullptr, 1, one), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadEnvParameter(nullptr, path.c_str(), 1, one), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXloadModelParameter(model, "/nonexistent/dir/x.par", 1, one), QXERR_CANNOT_OPEN_FILE);
  std::remove(path.c_str());
}

TEST_F(ParamFileFixture, NullArgumentsAndUnopenableFiles) {
  EXPECT_EQ(QXwriteModelParameter(nullptr, "x"), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteModelParameter(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteEnvParameter(nullptr, "x"), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteEnvParameter(env, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadModelParameter(nullptr, "x"), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadModelParameter(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadEnvParameter(nullptr, "x"), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadEnvParameter(env, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteParameterAsciiDoc(nullptr, "x"), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteParameterAsciiDoc(env, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  const char* bad = "/nonexistent/dir/x.par";
  EXPECT_EQ(QXwriteModelParameter(model, bad), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXwriteEnvParameter(env, bad), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXreadModelParameter(model, bad), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXreadEnvParameter(env, bad), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXwriteParameterAsciiDoc(env, bad), QXERR_CANNOT_OPEN_FILE);
  int count = 0;
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 1);
}

// Runs body with the working directory set to the test folder.
template <class Body>
void inTempDir(Body body) {
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(tempDir().c_str()), 0);
  body();
  ASSERT_EQ(chdir(old), 0);
}

TEST_F(ParamFileFixture, NumericFileArgumentLogsACsvOnce) {
  inTempDir([&] {
    std::remove("4711.param.csv");
    LogLines log;
    ASSERT_EQ(QXsetModelLogfunc(model, modelLog, &log), 0);
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 3), 0);
    ASSERT_EQ(QXwriteModelParameter(model, "4711"), 0);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"\nLogged model parameters to 4711.param.csv"}));
    const std::vector<std::string> lines = linesOf(slurp("4711.param.csv"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 42), "QX_IPARAM_OBJSENSE,QX_DPARAM_CALLBACKFREQ,");
    EXPECT_EQ(lines[1].substr(0, 6), "1,0.5,");
    EXPECT_NE(lines[0].find("QX_IPARAM_LP_PRINTLEVEL,"), std::string::npos);
    // Names and values pair up; the print level's value is 3.
    std::vector<std::string> names, values;
    std::stringstream n(lines[0]), v(lines[1]);
    std::string item;
    while (std::getline(n, item, ',')) names.push_back(item);
    while (std::getline(v, item, ',')) values.push_back(item);
    ASSERT_EQ(names.size(), values.size());
    EXPECT_EQ(names.size(), 422u);
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (names[k] == "QX_IPARAM_LP_PRINTLEVEL") {
        EXPECT_EQ(values[k], "3");
      }
    }
    EXPECT_EQ(lines[1].back(), ',');
    // An existing log is kept.
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 4), 0);
    ASSERT_EQ(QXwriteModelParameter(model, " 4711.0"), 0);
    EXPECT_EQ(linesOf(slurp("4711.param.csv")), lines);
    // No parameter file named after the argument appeared, and the blanks in
    // front of the number are not part of the log's name.
    EXPECT_FALSE(std::ifstream("4711").good());
    EXPECT_FALSE(std::ifstream(" 4711.param.csv").good());
    std::remove("4711.param.csv");
  });
}

TEST_F(ParamFileFixture, EnvironmentFiles) {
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_NUM_THREADS, 2), 0);
  LogLines log;
  ASSERT_EQ(QXsetEnvLogfunc(env, envLog, &log), 0);
  const std::string path = tempPath("env.par");
  ASSERT_EQ(QXwriteEnvParameter(env, path.c_str()), 0);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"\nWritten env parameters to " + path}));
  const std::string text = slurp(path);
  for (const std::string& line : linesOf(text)) EXPECT_TRUE(line.empty() || line[0] == '!') << line;
  EXPECT_EQ(text.find("QX_IPARAM_STRING_LENLMT"), std::string::npos);  // model only: not listed
  EXPECT_NE(text.find("\n!QX_IPARAM_NUM_THREADS                      = 2\n\n\n"), std::string::npos);

  // Reading into another environment: models created afterwards start from
  // the values read; model-only parameters cannot be set there and are
  // skipped without a warning.
  int err = 0;
  QXenv other = QXcreateEnv(&err);
  ASSERT_EQ(err, 0);
  LogLines otherLog;
  ASSERT_EQ(QXsetEnvLogfunc(other, envLog, &otherLog), 0);
  spit(path, "QX_IPARAM_NUM_THREADS = 3\nQX_IPARAM_STRING_LENLMT = 30\nQX_DPARAM_SOLVER_FEASTOL = 1\n");
  ASSERT_EQ(QXreadEnvParameter(other, path.c_str()), 0);
  QXmodel m = QXcreateModel(other, &err);
  int i = 0;
  ASSERT_EQ(QXgetModelIntParameter(m, QX_IPARAM_NUM_THREADS, &i), 0);
  EXPECT_EQ(i, 3);
  ASSERT_EQ(QXgetModelIntParameter(m, QX_IPARAM_STRING_LENLMT, &i), 0);
  EXPECT_EQ(i, 20);
  ASSERT_GE(otherLog.lines.size(), 3u);
  EXPECT_EQ(otherLog.lines.front(), "\nReading environment parameters from " + path + "\n");
  bool warned = false;
  for (const std::string& line : otherLog.lines) {
    EXPECT_EQ(line.find("STRING_LENLMT"), std::string::npos);
    if (line == "*** Warning: Env failed to set QX_DPARAM_SOLVER_FEASTOL to 1\n") warned = true;
  }
  EXPECT_TRUE(warned);
  EXPECT_EQ(otherLog.lines.back(), "\n\n");
  EXPECT_EQ(QXdeleteEnv(&other), 0);
  std::remove(path.c_str());
}

TEST_F(ParamFileFixture, AsciiDocTableOfAllParameters) {
  LogLines log;
  ASSERT_EQ(QXsetEnvLogfunc(env, envLog, &log), 0);
  const std::string path = tempPath("params.adoc");
  ASSERT_EQ(QXwriteParameterAsciiDoc(env, path.c_str()), 0);
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"\nWritten parameters to " + path + " in asciidoc format"}));
  const std::vector<std::string> lines = linesOf(slurp(path));
  ASSERT_GT(lines.size(), 3u);
  EXPECT_EQ(lines[0], "[cols=\"3*\", options=\"header\"] ");
  EXPECT_EQ(lines[1], "|===");
  EXPECT_EQ(lines[2], "|Name |Available for| Description ");
  EXPECT_EQ(lines.back(), "|===");
  int names = 0;
  for (std::size_t k = 3; k + 1 < lines.size(); ++k) {
    if (lines[k].rfind("|QX_", 0) == 0) {
      ++names;
      const std::string& scope = lines[k + 1];
      EXPECT_TRUE(scope == "|Environment,Model" || scope == "|Model" || scope == "|Environment")
          << scope;
      EXPECT_EQ(lines[k + 2], "|");
    }
  }
  EXPECT_EQ(names, 429);
  const std::string text = slurp(path);
  EXPECT_NE(text.find("|QX_IPARAM_OBJSENSE\n|Model\n|\n"), std::string::npos);
  EXPECT_NE(text.find("|QX_IPARAM_LP_PRINTLEVEL\n|Environment,Model\n|\n"), std::string::npos);
  std::remove(path.c_str());
}

}  // namespace
