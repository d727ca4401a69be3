// Shared fixture of the model-data tests: an environment with one model and
// a small LP loader.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "torva.h"

namespace torva_test {

struct ModelFixture : ::testing::Test {
  QXenv env = nullptr;
  QXmodel model = nullptr;
  void SetUp() override {
    int err = -1;
    env = QXcreateEnv(&err);
    ASSERT_EQ(err, 0);
    model = QXcreateModel(env, &err);
    ASSERT_EQ(err, 0);
  }
  void TearDown() override {
    if (env) {
      EXPECT_EQ(QXdeleteEnv(&env), 0);
    }
  }

  // 3 rows, 4 columns:
  //   row 0 (L, 10):  1 x0 + 2 x1           + 1 x3
  //   row 1 (G,  2):         3 x1 + 4 x2
  //   row 2 (E,  5):  5 x0          + 6 x2 + 7 x3
  // bounds x0 [0, 4], x1 [-1, 1e30], x2 [-1e30, 1e30], x3 [2, 2]
  int loadSmall(QXmodel target) {
    const double c[] = {1, 2, 3, 4};
    const double b[] = {10, 2, 5};
    const int beg[] = {0, 2, 4, 6, 8};
    const int rows[] = {0, 2, 0, 1, 1, 2, 0, 2};
    const double vals[] = {1, 5, 2, 3, 4, 6, 1, 7};
    const double lo[] = {0, -1, -1e30, 2};
    const double up[] = {4, 1e30, 1e30, 2};
    return QXloadLPData(target, 3, 4, QX_MIN, 0.5, c, b, "LGE", 8, beg, nullptr, vals, rows, lo, up);
  }
  int loadSmall() { return loadSmall(model); }

  // A further model of the fixture's environment.
  QXmodel newModel() {
    int err = -1;
    QXmodel m = QXcreateModel(env, &err);
    EXPECT_EQ(err, 0);
    return m;
  }
};

// Collects the lines a model's log function receives.
struct LogLines {
  std::string text;
  std::vector<std::string> lines;
  static void sink(QXmodel, const char* line, void* data) {
    static_cast<LogLines*>(data)->text += line;
    static_cast<LogLines*>(data)->lines.emplace_back(line);
  }
  // True when one line contains part.
  bool has(const std::string& part) const {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
  }
  void clear() {
    text.clear();
    lines.clear();
  }
  int count(const std::string& line) const { return static_cast<int>(std::count(lines.begin(), lines.end(), line)); }
};

// Names as the char** lists the load functions take.
struct NameList {
  std::vector<std::string> text;
  std::vector<char*> ptr;
  explicit NameList(std::vector<std::string> names) : text(std::move(names)) {
    for (auto& s : text) ptr.push_back(s.data());
  }
  char** data() { return ptr.data(); }
};

}  // namespace torva_test
