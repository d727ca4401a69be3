// The exported MPS functions: reading into a model through the loads,
// writing through the queries, error codes, file errors and log lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "io/mps_model.hpp"
#include "mps_test_util.hpp"
#include "torva.h"

namespace {

namespace fs = std::filesystem;

class MpsApi : public ::testing::Test {
 protected:
  void SetUp() override {
    int rc = -1;
    env_ = QXcreateEnv(&rc);
    ASSERT_EQ(rc, 0);
    model_ = QXcreateModel(env_, &rc);
    ASSERT_EQ(rc, 0);
  }
  void TearDown() override {
    QXdeleteEnv(&env_);
    for (const auto& f : files_) fs::remove(f);
  }
  std::string file(const std::string& name, const std::string& text) {
    std::string path = mpstest::tempDir() + "/api_" + name;
    std::ofstream(path, std::ios::binary) << text;
    files_.push_back(path);
    return path;
  }
  std::string temp(const std::string& name) {
    std::string path = mpstest::tempDir() + "/api_" + name;
    files_.push_back(path);
    return path;
  }
  QXmodel newModel() {
    int rc = -1;
    QXmodel m = QXcreateModel(env_, &rc);
    EXPECT_EQ(rc, 0);
    return m;
  }
  static torva::MpsData collect(QXmodel m) {
    torva::MpsData d;
    EXPECT_EQ(torva::collectMpsData(*m, d), 0);
    return d;
  }
  static std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  QXenv env_ = nullptr;
  QXmodel model_ = nullptr;
  std::vector<std::string> files_;
};

const char* const kModel =
    "NAME TESTLP\nROWS\n N  cost\n L  lim\n G  low\n E  eq\nCOLUMNS\n"
    "    x  cost  1  lim  1\n    x  low  1\n    y  cost  2  lim  1\n    y  eq  -1\n"
    "    z  cost  -1  eq  1\nRHS\n    rhs  lim  10  low  1\n    rhs  eq  7  cost  5\n"
    "RANGES\n    rng  lim  4\nBOUNDS\n UP bnd x 4\n LO bnd y -1\n UI bnd z 2.5\nENDATA\n";

TEST_F(MpsApi, PreconditionsAndFileErrors) {
  EXPECT_EQ(QXreadMPSFile(nullptr, "x.mps", 0), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadMPSFile(model_, nullptr, 0), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadMPSFile(model_, (mpstest::tempDir() + "/no/such/file.mps").c_str(), 0),
            QXERR_CANNOT_OPEN_FILE);
  // A directory opens but cannot be read.
  EXPECT_EQ(QXreadMPSFile(model_, mpstest::tempDir().c_str(), 0), QXERR_CANNOT_OPEN_FILE);
  EXPECT_EQ(QXwriteMPSFile(nullptr, "x.mps", 0), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXwriteMPSFile(model_, temp("unloaded.mps").c_str(), 0), QXERR_INFO_NOT_AVAILABLE);

  std::string path = file("model.mps", kModel);
  ASSERT_EQ(QXreadMPSFile(model_, path.c_str(), 0), 0);
  EXPECT_EQ(model_->status, QX_STATUS_LOADED);
  EXPECT_EQ(QXreadMPSFile(model_, path.c_str(), 0), QXERR_MODEL_ALREADY_LOADED);
  EXPECT_EQ(QXwriteMPSFile(model_, (mpstest::tempDir() + "/no/such/dir/out.mps").c_str(), 0),
            QXERR_CANNOT_OPEN_FILE);
}

TEST_F(MpsApi, ReadsIntoTheModel) {
  ASSERT_EQ(QXreadMPSFile(model_, file("model.mps", kModel).c_str(), 0), 0);
  int n = 0, m = 0;
  ASSERT_EQ(QXgetInfo(model_, QX_IINFO_NUM_VARS, &n), 0);
  ASSERT_EQ(QXgetInfo(model_, QX_IINFO_NUM_CONS, &m), 0);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(m, 3);
  torva::MpsData d = collect(model_);
  EXPECT_EQ(d.title, "TESTLP");
  EXPECT_EQ(d.objName, "cost");
  EXPECT_EQ(d.rhsName, "rhs");
  EXPECT_EQ(d.bndName, "bnd");
  EXPECT_EQ(d.objConst, -5.0);
  EXPECT_EQ(d.conTypes, "EGE");
  EXPECT_EQ(d.colNames, (std::vector<std::string>{"x", "y", "z", "slk00000"}));
  // The ranged L row: row + slack = 10 with the slack in [0, 4].
  EXPECT_EQ(d.lower[3], 0.0);
  EXPECT_EQ(d.upper[3], 4.0);
  EXPECT_EQ(d.upper[2], 3.0);
  EXPECT_EQ(d.varTypes, "CCIC");
  int j = -1;
  EXPECT_EQ(QXgetVariableIndex(model_, "slk00000", &j), 0);
  EXPECT_EQ(j, 3);
}

TEST_F(MpsApi, SyntaxErrorsRecordLineAndText) {
  std::string path = file("bad.mps", "NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n    x  c1  1\n"
                                     "    y  c1  1\n    x  obj  1\nRHS\nENDATA\n");
  std::vector<std::string> log;
  QXsetModelIntParameter(model_, QX_IPARAM_LP_PRINTLEVEL, 5);
  QXsetModelLogfunc(
      model_, [](QXmodel, const char* text, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(text); },
      &log);
  EXPECT_EQ(QXreadMPSFile(model_, path.c_str(), 0), QXERR_BAD_MPS_FILE);
  int line = 0;
  char text[300];
  ASSERT_EQ(QXgetFileError(model_, &line, text), 0);
  EXPECT_EQ(line, 8);
  EXPECT_STREQ(text, "    x  obj  1");
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "\nMPS Reader: Last line processed:     x  obj  1");
  EXPECT_EQ(log.back(), "\nMPS Reader: There is an error in the MPS file.");
  EXPECT_EQ(model_->status, QX_STATUS_UNLOADED);
  // Nothing was stored, so the model can read another file.
  EXPECT_EQ(QXreadMPSFile(model_, file("good.mps", kModel).c_str(), 0), 0);
  ASSERT_EQ(QXgetFileError(model_, &line, text), 0);
  EXPECT_EQ(line, 0);
  EXPECT_STREQ(text, "");
}

TEST_F(MpsApi, LogLines) {
  std::vector<std::string> log;
  QXsetModelIntParameter(model_, QX_IPARAM_MIP_PRINTLEVEL, 0);
  QXsetModelLogfunc(
      model_, [](QXmodel, const char* text, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(text); },
      &log);
  ASSERT_EQ(QXreadMPSFile(model_, file("model.mps", kModel).c_str(), 0), 0);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().rfind("\nProcessed 22 lines in MPS format (", 0), 0u) << log.back();
  for (const auto& line : log) EXPECT_EQ(line.find("MPS Reader"), std::string::npos) << line;

  log.clear();
  QXmodel loud = newModel();
  QXsetModelIntParameter(loud, QX_IPARAM_LP_PRINTLEVEL, 5);
  QXsetModelLogfunc(
      loud, [](QXmodel, const char* text, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(text); },
      &log);
  std::string path = file("model2.mps", kModel);
  ASSERT_EQ(QXreadMPSFile(loud, path.c_str(), 0), 0);
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0], "\nReading " + path + " in MPS format (unformatted)");
  bool completed = false, warned = false;
  for (const auto& line : log) {
    completed |= line.rfind("\nMPS Reader: Completed successfully... (", 0) == 0;
    warned |= line.find("MPS Warning: Objective function has a constant term of -5") != std::string::npos;
  }
  EXPECT_TRUE(completed);
  EXPECT_TRUE(warned);
}

TEST_F(MpsApi, ObjectiveOrdinalAndFreeRows) {
  std::string path = file("two.mps",
                          "NAME t\nROWS\n N  obj\n N  other\n L  c1\nCOLUMNS\n"
                          "    x  obj  1  other  5\n    x  c1  1\nRHS\n    rhs  c1  4\nENDATA\n");
  ASSERT_EQ(QXreadMPSFileFR(model_, path.c_str(), 0, 1, 1), 0);
  torva::MpsData d = collect(model_);
  EXPECT_EQ(d.objName, "other");
  EXPECT_EQ(d.conTypes, "NL");
  EXPECT_EQ(d.cost, (std::vector<double>{5}));
  EXPECT_EQ(d.rowNames, (std::vector<std::string>{"obj", "c1"}));
}

TEST_F(MpsApi, WritesModelsWithoutNames) {
  const double cost[] = {1, -2};
  const double rhs[] = {3, 4};
  const int beg[] = {0, 2, 3};
  const int rows[] = {0, 1, 1};
  const double coef[] = {1, 2, 3};
  const double lower[] = {0, -5};
  const double upper[] = {10, 1e30};
  ASSERT_EQ(QXloadLPData(model_, 2, 2, QX_MAX, 0.0, cost, rhs, "LG", 3, beg, nullptr, coef, rows,
                         lower, upper),
            0);
  std::string flip = temp("flip.mps");
  ASSERT_EQ(QXwriteMPSFile(model_, flip.c_str(), 1), 0);
  std::string text = slurp(flip);
  EXPECT_NE(text.find("* The objective coefficients have flipped signs. \n"), std::string::npos);
  EXPECT_NE(text.find(" L  R0000000\n G  R0000001\n"), std::string::npos);
  QXmodel back = newModel();
  ASSERT_EQ(QXreadMPSFile(back, flip.c_str(), 1), 0);
  torva::MpsData d = collect(back);
  EXPECT_EQ(d.objSense, QX_MIN);
  EXPECT_EQ(d.cost, (std::vector<double>{-1, 2}));
  EXPECT_EQ(d.rowNames, (std::vector<std::string>{"R0000000", "R0000001"}));
  EXPECT_EQ(d.colNames, (std::vector<std::string>{"C0000000", "C0000001"}));
  EXPECT_EQ(d.lower, (std::vector<double>{0, -5}));
  EXPECT_EQ(d.upper, (std::vector<double>{10, 1e30}));

  ASSERT_EQ(QXsetModelIntParameter(model_, QX_IPARAM_MPS_OBJ_WRITESTYLE, QX_MPS_USE_MAX_CARD), 0);
  std::string card = temp("card.mps");
  ASSERT_EQ(QXwriteMPSFile(model_, card.c_str(), 0), 0);
  EXPECT_NE(slurp(card).find("OBJSENSE\n    MAX\n"), std::string::npos);
  QXmodel back2 = newModel();
  ASSERT_EQ(QXreadMPSFile(back2, card.c_str(), 0), 0);
  torva::MpsData d2 = collect(back2);
  EXPECT_EQ(d2.objSense, QX_MAX);
  EXPECT_EQ(d2.cost, (std::vector<double>{1, -2}));
}

TEST_F(MpsApi, SetsConesAndQuadraticTermsRoundTrip) {
  std::string path = file("special.mps",
                          "NAME special\nROWS\n N  obj\n L  c1\n L  c2\nCOLUMNS\n"
                          " S2 s1  'MARKER'  'SOSORG'\n    a  c1  1\n    b  c1  1\n    s1  'MARKER'  'SOSEND'\n"
                          "    c  c2  1\n    d  c2  1\nRHS\n    rhs  c1  1\nBOUNDS\n SC bnd d 8\n"
                          "QUADOBJ\n    a  a  3\nQSECTION  c2\n    a  b  2\n    c  c  1\nENDATA\n");
  ASSERT_EQ(QXreadMPSFile(model_, path.c_str(), 0), 0);
  torva::MpsData first = collect(model_);
  EXPECT_EQ(first.setTypes, std::string("\x02", 1));
  EXPECT_EQ(first.scVars, (std::vector<int>{3}));
  EXPECT_EQ(first.qcRow.size(), 3u);
  for (int fixed : {0, 1}) {
    std::string out = temp("special_out" + std::to_string(fixed) + ".mps");
    ASSERT_EQ(QXwriteMPSFile(model_, out.c_str(), fixed), 0);
    QXmodel back = newModel();
    ASSERT_EQ(QXreadMPSFile(back, out.c_str(), fixed), 0) << slurp(out);
    mpstest::expectSameData(first, collect(back), out);
  }

  QXmodel cones = newModel();
  std::string conePath = file("cones.mps",
                              "NAME cones\nROWS\n N  obj\n L  c1\nCOLUMNS\n    a  c1  1\n    b  c1  1\n"
                              "RHS\nCSECTION  k1  0  QUAD\n    a\n    b\nCSECTION  k2  0  RQUAD\n    c\n    d\n"
                              "    e\nENDATA\n");
  ASSERT_EQ(QXreadMPSFile(cones, conePath.c_str(), 0), 0);
  torva::MpsData c1 = collect(cones);
  EXPECT_EQ(c1.coneNames, (std::vector<std::string>{"k1", "k2"}));
  for (int fixed : {0, 1}) {
    std::string out = temp("cones_out" + std::to_string(fixed) + ".mps");
    ASSERT_EQ(QXwriteMPSFile(cones, out.c_str(), fixed), 0);
    QXmodel back = newModel();
    ASSERT_EQ(QXreadMPSFile(back, out.c_str(), fixed), 0) << slurp(out);
    mpstest::expectSameData(c1, collect(back), out);
  }
}

// Every shared model read through the exported functions equals the
// reader's own result, and survives writing in both forms.
TEST_F(MpsApi, SharedModelsRoundTripThroughTheModel) {
  const auto files = mpstest::sharedModels();
  if (files.empty()) GTEST_SKIP() << "shared model data not found under " << mpstest::sharedDataDir();
  for (const auto& path : files) {
    QXmodel first = newModel();
    ASSERT_EQ(QXreadMPSFile(first, path.c_str(), 1), 0) << path;
    torva::MpsData model = collect(first);
    torva::MpsData parsed;
    {
      auto source = torva::openFileSource(path.string());
      torva::MpsReadOptions o;
      o.format = 1;
      ASSERT_EQ(torva::readMps(*source, o, parsed).error, 0);
    }
    mpstest::expectSameData(parsed, model, path.string() + " (loaded)");
    for (int fixed : {1, 0}) {
      std::string out = temp("shared_" + path.stem().stem().string() + (fixed ? ".mps" : ".mps.gz"));
      ASSERT_EQ(QXwriteMPSFile(first, out.c_str(), fixed), 0) << out;
      QXmodel back = newModel();
      ASSERT_EQ(QXreadMPSFile(back, out.c_str(), fixed), 0) << out;
      torva::MpsData again = collect(back);
      if (!fixed) {
        for (auto* names : {&model.rowNames, &model.colNames})
          for (auto& name : *names) std::replace(name.begin(), name.end(), ' ', '_');
      }
      mpstest::expectSameData(model, again, out);
      QXdeleteModel(&back);
      fs::remove(out);
    }
    QXdeleteModel(&first);
  }
}

}  // namespace
