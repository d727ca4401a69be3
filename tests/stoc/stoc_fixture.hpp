// Shared fixture of the distribution and sample tests: an environment with a
// Mersenne Twister seeded with Seed, and samples of a type with their
// parameters set.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "torva.h"

namespace torva_test {

template <unsigned Seed>
struct StocFixture : ::testing::Test {
  QXenv env = nullptr;
  QXrg rg = nullptr;
  void SetUp() override {
    int err = 0;
    env = QXcreateEnv(&err);
    ASSERT_EQ(err, 0);
    rg = QXcreateRG(env, QX_RANDGEN_MERSENNE);
    QXsetRGSeed(rg, Seed);
  }
  void TearDown() override {
    QXdisposeRG(&rg);
    if (env) QXdeleteEnv(&env);
  }
  // A sample drawing from gen (from none when null).
  QXsample make(int type, const std::vector<double>& params, QXrg gen) {
    int err = -1;
    QXsample s = QXsampCreate(env, type, &err);
    EXPECT_EQ(err, 0);
    for (std::size_t i = 0; i < params.size(); ++i)
      EXPECT_EQ(QXsampSetDistrParam(s, static_cast<int>(i), params[i]), 0);
    if (gen) {
      EXPECT_EQ(QXsampSetRG(s, gen), 0);
    }
    return s;
  }
  QXsample make(int type, const std::vector<double>& params) { return make(type, params, rg); }
  static double eval(QXsample s, int func, double x) {
    double v = std::nan("");
    EXPECT_EQ(QXsampEvalDistr(s, func, x, &v), 0) << "func " << func << " at " << x;
    return v;
  }
  static std::vector<double> points(QXsample s) {
    int n = 0;
    EXPECT_EQ(QXsampGetPoints(s, &n, nullptr), 0);
    std::vector<double> v(static_cast<std::size_t>(n));
    EXPECT_EQ(QXsampGetPoints(s, &n, v.data()), 0);
    return v;
  }
};

}  // namespace torva_test
