// QXwriteReducedMPSFile: what the reduced files keep (names, title, vector
// names, integer types and the MIP optimum), when the model is written as it
// is, and a model that presolve empties.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "mps_test_util.hpp"
#include "torva.h"

namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct Env {
  QXenv env = nullptr;
  Env() {
    int rc = 0;
    env = QXcreateEnv(&rc);
  }
  ~Env() { QXdeleteEnv(&env); }
  QXmodel model() {
    int rc = 0;
    return QXcreateModel(env, &rc);
  }
  // A model read from file (MPS or TORVA text by the extension); null when
  // the read fails.
  QXmodel read(const std::string& file) {
    QXmodel m = model();
    const bool mps = file.find(".mps") != std::string::npos;
    if ((mps ? QXreadMPSFile(m, file.c_str(), 1) : QXreadTORVAFile(m, file.c_str())) != 0) QXdeleteModel(&m);
    return m;
  }
};

int info(QXmodel m, int item) {
  int v = -1;
  EXPECT_EQ(QXgetInfo(m, item, &v), 0) << item;
  return v;
}

double mipOptimum(QXmodel m) {
  int status = 0;
  EXPECT_EQ(QXsolveMIP(m, &status), 0);
  EXPECT_EQ(status, QX_STATUS_OPTIMAL);
  double obj = 0;
  EXPECT_EQ(QXgetInfo(m, QX_DINFO_MIP_OBJ, &obj), 0);
  return obj;
}

// egout reduced keeps its integer columns, its names and title, and its MIP
// optimum (objectives.tsv: 568.101).
TEST(ReducedWriter, MipKeepsIntegersNamesAndOptimum) {
  const std::string source = mpstest::sharedDataDir() + "/miplib3/egout.mps.gz";
  if (!std::filesystem::exists(source)) GTEST_SKIP() << "MIPLIB model not found: " << source;
  constexpr double kOptimum = 568.101;
  Env e;
  QXmodel model = e.read(source);
  ASSERT_NE(model, nullptr);
  const std::string stem = mpstest::tempDir() + "/egout_reduced";
  ASSERT_EQ(QXwriteReducedMPSFile(model, (stem + ".x").c_str(), 1), 0);
  char title[256] = "", rhs[256] = "", bnd[256] = "";
  ASSERT_EQ(QXgetNameData(model, title, nullptr, rhs, nullptr, bnd, nullptr, nullptr, nullptr), 0);
  for (const char* ext : {".mps", ".ltx"}) {
    SCOPED_TRACE(ext);
    QXmodel back = e.read(stem + ext);
    ASSERT_NE(back, nullptr);
    const int ints = info(back, QX_IINFO_NUM_BIN) + info(back, QX_IINFO_NUM_INT);
    EXPECT_GT(ints, 0);
    EXPECT_LE(ints, info(model, QX_IINFO_NUM_BIN) + info(model, QX_IINFO_NUM_INT));
    EXPECT_LT(info(back, QX_IINFO_NUM_CONS) + info(back, QX_IINFO_NUM_VARS),
              info(model, QX_IINFO_NUM_CONS) + info(model, QX_IINFO_NUM_VARS));
    char backTitle[256] = "";
    ASSERT_EQ(QXgetNameData(back, backTitle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    if (std::string(ext) == ".mps") {
      EXPECT_STREQ(backTitle, title);  // TORVA text carries no title
    }
    // Every kept row and column carries its own name, with its own type.
    std::vector<char> types(info(model, QX_IINFO_NUM_VARS)), backTypes(info(back, QX_IINFO_NUM_VARS));
    ASSERT_EQ(QXgetVarType(model, types.data()), 0);
    ASSERT_EQ(QXgetVarType(back, backTypes.data()), 0);
    for (int j = 0; j < static_cast<int>(backTypes.size()); ++j) {
      char name[256] = "";
      ASSERT_EQ(QXgetVariableNamej(back, j, name), 0);
      int k = -1;
      ASSERT_EQ(QXgetVariableIndex(model, name, &k), 0) << name;
      // Integer columns on [0, 1] may come back as binaries.
      EXPECT_EQ(backTypes[j] == 'C', types[k] == 'C') << name;
    }
    for (int i = 0; i < info(back, QX_IINFO_NUM_CONS); ++i) {
      char name[256] = "";
      ASSERT_EQ(QXgetConstraintNamei(back, i, name), 0);
      int k = -1;
      EXPECT_EQ(QXgetConstraintIndex(model, name, &k), 0) << name;
    }
    EXPECT_NEAR(mipOptimum(back), kOptimum, 1e-3);
    QXdeleteModel(&back);
  }
  // The vector names of the source file reach the MPS file.
  const std::string text = slurp(stem + ".mps");
  if (*rhs) {
    EXPECT_NE(text.find(std::string("    ") + rhs), std::string::npos) << rhs;
  }
  if (*bnd) {
    EXPECT_NE(text.find(std::string(" ") + bnd), std::string::npos) << bnd;
  }
  EXPECT_NEAR(mipOptimum(model), kOptimum, 1e-3);
  QXdeleteModel(&model);
}

// min x0 + 2 x1 + x2 with x0 + x1 + x2 >= 2 and the singleton row x0 >= 1:
// presolve turns the singleton into a bound. Each case must leave the
// reduced file equal to the plain MPS file of the model.
struct AsIsCase {
  const char* name;
  int level;
  bool semiContinuous;
};
class ReducedWriterAsIs : public ::testing::TestWithParam<AsIsCase> {};
TEST_P(ReducedWriterAsIs, WritesTheModelItself) {
  const AsIsCase& c = GetParam();
  Env e;
  QXmodel model = e.model();
  const double cost[] = {1, 2, 1}, rhs[] = {2, 1}, val[] = {1, 1, 1, 1}, lo[] = {0, 0, 0}, up[] = {10, 10, 10};
  const int beg[] = {0, 2, 3, 4}, idx[] = {0, 1, 0, 0};
  ASSERT_EQ(QXloadLPData(model, 2, 3, QX_MIN, 0, cost, rhs, "GG", 4, beg, nullptr, val, idx, lo, up), 0);
  if (c.semiContinuous) {
    const int sc[] = {2};
    const double scLo[] = {1}, scUp[] = {5};
    ASSERT_EQ(QXloadSemiContData(model, 1, sc, scLo, scUp), 0);
  }
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRELEVEL, c.level), 0);
  const std::string stem = mpstest::tempDir() + "/asis_" + c.name;
  ASSERT_EQ(QXwriteReducedMPSFile(model, (stem + ".out").c_str(), 1), 0);
  ASSERT_EQ(QXwriteMPSFile(model, (stem + "_plain.mps").c_str(), 1), 0);
  EXPECT_EQ(slurp(stem + ".mps"), slurp(stem + "_plain.mps"));
  QXdeleteModel(&model);
}
INSTANTIATE_TEST_SUITE_P(Cases, ReducedWriterAsIs,
                         ::testing::Values(AsIsCase{"levelZero", 0, false}, AsIsCase{"offBit", 126 | 8192, false},
                                           AsIsCase{"semiContinuous", 126, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// max 3 x0 - x1 with the singleton rows x0 <= 2 and x1 >= 1: presolve
// removes everything, leaving the objective constant 5; both files read
// back as that empty model.
TEST(ReducedWriter, EmptyReducedModel) {
  Env e;
  QXmodel model = e.model();
  const double cost[] = {3, -1}, rhs[] = {2, 1}, val[] = {1, 1}, lo[] = {0, 0}, up[] = {10, 10};
  const int beg[] = {0, 1, 2}, idx[] = {0, 1};
  ASSERT_EQ(QXloadLPData(model, 2, 2, QX_MAX, 0, cost, rhs, "LG", 2, beg, nullptr, val, idx, lo, up), 0);
  const std::string stem = mpstest::tempDir() + "/empty_reduced";
  ASSERT_EQ(QXwriteReducedMPSFile(model, stem.c_str(), 1), 0);
  for (const char* ext : {".mps", ".ltx"}) {
    QXmodel back = e.read(stem + ext);
    ASSERT_NE(back, nullptr) << ext;
    EXPECT_EQ(info(back, QX_IINFO_NUM_CONS), 0) << ext;
    EXPECT_EQ(info(back, QX_IINFO_NUM_VARS), 0) << ext;
    int sense = 0;
    double constant = 0;
    ASSERT_EQ(QXgetLPData(back, &sense, &constant, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr),
              0);
    // The optimum 5: under the maximisation kept, or -5 as the minimisation
    // with flipped signs of the MPS file.
    EXPECT_DOUBLE_EQ(sense * constant, -5.0) << ext;
    QXdeleteModel(&back);
  }
  QXdeleteModel(&model);
}

}  // namespace
