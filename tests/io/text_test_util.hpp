// Helpers of the algebraic model file tests: a model in a fresh
// environment, reading from strings, writing to strings through files.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "torva.h"

namespace texttest {

struct Env {
  QXenv env = nullptr;
  QXmodel model = nullptr;
  std::vector<std::string> log;
  Env() {
    int err = 0;
    env = QXcreateEnv(&err);
    model = QXcreateModel(env, &err);
    QXsetModelLogfunc(model, &Env::collect, this);
  }
  ~Env() { QXdeleteEnv(&env); }
  static void collect(QXmodel, const char* line, void* self) {
    static_cast<Env*>(self)->log.emplace_back(line);
  }
  bool logged(const std::string& text) const {
    for (const auto& l : log)
      if (l == text) return true;
    return false;
  }
  const torva::ModelData& data() const { return model->data; }
};

inline std::string tempPath(const std::string& name) {
  const char* dir = std::getenv("TORVA_TEST_TMP");
  return std::string(dir ? dir : "/tmp") + "/torva_text_" + std::to_string(::getpid()) + "_" + name;
}

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline int readTorva(Env& e, const std::string& text) {
  return QXreadTORVAStream(e.model, text.data(), static_cast<int>(text.size()));
}
inline int readLp(Env& e, const std::string& text) {
  return QXreadLPStream(e.model, text.data(), static_cast<int>(text.size()));
}

// The reader stopped at the given line and reported it, and loaded nothing.
inline void expectErrorAt(const Env& e, int line, const std::string& input) {
  int at = -1;
  char text[256] = "";
  QXgetFileError(e.model, &at, text);
  EXPECT_EQ(at, line) << input;
  EXPECT_EQ(std::string(text), "Error at line " + std::to_string(line) + ".") << input;
  EXPECT_EQ(e.data().n, 0) << input;
}

// Column index by name in the loaded model, -1 when absent.
inline int col(const Env& e, const char* name) { return e.data().findVariable(name); }
inline int row(const Env& e, const char* name) { return e.data().findConstraint(name); }

// Matrix entry (i, j) of the loaded model (0 when not stored).
inline double entry(const Env& e, int i, int j) {
  const auto& d = e.data();
  for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k)
    if (d.rowIdx[k] == i) return d.value[k];
  return 0.0;
}

}  // namespace texttest
