// Environment and model life cycle through the public interface.
#include <gtest/gtest.h>

#include <vector>

#include "torva.h"

namespace {

struct EnvFixture : ::testing::Test {
  QXenv env = nullptr;
  void SetUp() override {
    int err = -1;
    env = QXcreateEnv(&err);
    ASSERT_NE(env, nullptr);
    ASSERT_EQ(err, 0);
  }
  void TearDown() override {
    if (env) {
      EXPECT_EQ(QXdeleteEnv(&env), 0);
    }
  }
};

TEST_F(EnvFixture, ModelsAreListedInCreationOrderAndCopied) {
  int count = -1;
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 0);
  int err = -1;
  QXmodel a = QXcreateModel(env, &err);
  ASSERT_EQ(err, 0);
  QXmodel b = QXcreateModel(env, &err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 2);
  QXmodel c = QXcopyModel(a, &err);
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(err, 0);
  std::vector<QXmodel> list(3);
  ASSERT_EQ(QXgetEnvModelList(env, list.data()), 0);
  EXPECT_EQ(list, (std::vector<QXmodel>{a, b, c}));
  QXenv owner = nullptr;
  ASSERT_EQ(QXgetModelEnv(c, &owner), 0);
  EXPECT_EQ(owner, env);

  ASSERT_EQ(QXdeleteModel(&b), 0);
  EXPECT_EQ(b, nullptr);
  ASSERT_EQ(QXgetEnvModelList(env, list.data()), 0);
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(list[0], a);
  EXPECT_EQ(list[1], c);
}

TEST_F(EnvFixture, DeletingTheEnvironmentDeletesItsModels) {
  int err = 0;
  for (int i = 0; i < 3; ++i) ASSERT_NE(QXcreateModel(env, &err), nullptr);
  ASSERT_EQ(QXdeleteEnv(&env), 0);
  EXPECT_EQ(env, nullptr);
}

TEST_F(EnvFixture, NullHandleRules) {
  int err = 0;
  EXPECT_EQ(QXcreateModel(nullptr, &err), nullptr);
  EXPECT_EQ(err, QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXcopyModel(nullptr, &err), nullptr);
  EXPECT_EQ(err, QXERR_ILLEGAL_NULL_POINTER);

  QXmodel none = nullptr;
  EXPECT_EQ(QXdeleteModel(&none), 0);
  EXPECT_EQ(QXdeleteModel(nullptr), 0);
  QXenv noEnv = nullptr;
  EXPECT_EQ(QXdeleteEnv(&noEnv), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXdeleteEnv(nullptr), QXERR_ILLEGAL_NULL_POINTER);

  QXenv owner = nullptr;
  EXPECT_EQ(QXgetModelEnv(nullptr, &owner), QXERR_INFO_NOT_AVAILABLE);
  QXmodel model = QXcreateModel(env, &err);
  EXPECT_EQ(QXgetModelEnv(model, nullptr), 0);

  int count = 0;
  EXPECT_EQ(QXgetEnvModelCount(nullptr, &count), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetEnvModelCount(env, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetEnvModelList(nullptr, &model), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetEnvModelList(env, nullptr), QXERR_ILLEGAL_NULL_POINTER);

  EXPECT_EQ(QXsetEnvLogfunc(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetModelLogfunc(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetEnvExitFunc(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetEnvExitFunc(env, nullptr, nullptr), 0);
  EXPECT_EQ(QXfreeNameData(nullptr), QXERR_ILLEGAL_NULL_POINTER);
  // The release functions accept a null model and do nothing.
  QXfreeSolverMemory(nullptr);
  QXfreeSolutionMemory(nullptr);
  QXfreeMIPSolutionMemory(nullptr);
  QXfreeGOPSolutionMemory(nullptr);
  QXfreeNLPSolverMemory(nullptr);
  QXfreeHashMemory(nullptr);
  QXfreeSolverMemory(model);
  QXfreeSolutionMemory(model);
  EXPECT_EQ(QXfreeNameData(model), 0);
}

TEST(EnvThreads, ModelsCreatedFromSeveralThreadsAreAllListed) {
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  ASSERT_NE(env, nullptr);
  constexpr int kPerThread = 200;
#pragma omp parallel for num_threads(4)
  for (int i = 0; i < 4 * kPerThread; ++i) {
    int e = 0;
    QXmodel m = QXcreateModel(env, &e);
    if (i % 2 == 0) QXdeleteModel(&m);
  }
  int count = 0;
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 2 * kPerThread);
  EXPECT_EQ(QXdeleteEnv(&env), 0);
}

TEST(VersionInfo, LibraryItemsAnswerWithoutAModel) {
  char version[64] = {0};
  char built[64] = {0};
  ASSERT_EQ(QXgetVersionInfo(version, built), 0);
  EXPECT_STREQ(version, "10.0.2438.085");
  EXPECT_GT(std::string(built).size(), 10u);
  int value = -1;
  ASSERT_EQ(QXgetInfo(nullptr, QX_IINFO_VER_MAJOR, &value), 0);
  EXPECT_EQ(value, 10);
  ASSERT_EQ(QXgetInfo(nullptr, QX_IINFO_VER_MINOR, &value), 0);
  EXPECT_EQ(value, 0);
  ASSERT_EQ(QXgetInfo(nullptr, QX_IINFO_VER_BUILD, &value), 0);
  EXPECT_EQ(value, 2438);
  ASSERT_EQ(QXgetInfo(nullptr, QX_IINFO_VER_REVISION, &value), 0);
  EXPECT_EQ(value, 85);
  char platform[32] = {0};
  ASSERT_EQ(QXgetInfo(nullptr, QX_SINFO_PLATFORM, platform), 0);
  EXPECT_GT(std::string(platform).size(), 0u);
  // Any other item needs a model.
  EXPECT_EQ(QXgetInfo(nullptr, 11010, &value), QXERR_ILLEGAL_NULL_POINTER);
}

}  // namespace
