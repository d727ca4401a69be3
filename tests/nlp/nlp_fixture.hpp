// Shared fixture of the instruction-list tests: an environment with one
// model, and a loader that takes the rows as separate code vectors.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/model_fixture.hpp"
#include "torva.h"

namespace torva_test {

using Code = std::vector<int>;

struct NlpFixture : ModelFixture {
  // Loads rows[0] as the objective and rows[1..] as constraints of type
  // 'E' (or types), concatenated into one code array.
  int load(QXmodel target, int nVars, const std::vector<Code>& rows, const std::vector<double>& numbers,
           std::string types = "", const double* lower = nullptr, const double* upper = nullptr,
           int sense = QX_MIN) {
    Code code;
    std::vector<int> beg, len;
    for (const Code& r : rows) {
      beg.push_back(static_cast<int>(code.size()));
      len.push_back(static_cast<int>(r.size()));
      code.insert(code.end(), r.begin(), r.end());
    }
    const int nCons = static_cast<int>(rows.size()) - 1;
    if (types.empty()) types.assign(static_cast<std::size_t>(nCons), 'E');
    return QXloadInstruct(target, nCons, 1, nVars, static_cast<int>(numbers.size()), &sense, types.c_str(),
                          nullptr, code.data(), static_cast<int>(code.size()), nullptr,
                          numbers.empty() ? nullptr : numbers.data(), nullptr, beg.data(), len.data(),
                          nCons ? beg.data() + 1 : nullptr, nCons ? len.data() + 1 : nullptr, lower, upper);
  }
  int load(int nVars, const std::vector<Code>& rows, const std::vector<double>& numbers = {}) {
    return load(model, nVars, rows, numbers);
  }

  // Value of row (-1 objective) at x.
  double value(int row, const std::vector<double>& x, int* mark = nullptr) {
    double v = 0;
    EXPECT_EQ(QXexecuteInstruct(model, row, QX_EVAL_VALUE, x.data(), &v, nullptr, mark), 0);
    return v;
  }
  std::vector<double> gradient(int row, const std::vector<double>& x) {
    std::vector<double> g(x.size());
    double v = 0;
    EXPECT_EQ(QXexecuteInstruct(model, row, QX_EVAL_GRADIENT, x.data(), &v, g.data(), nullptr), 0);
    return g;
  }
  // Dense symmetric Hessian of the objective from QXgetHess.
  std::vector<double> hessian(const std::vector<double>& x) {
    const std::size_t n = x.size();
    int nnz = 0;
    EXPECT_EQ(QXgetHess(model, &nnz, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    std::vector<int> start(64), i1(static_cast<std::size_t>(nnz) + 1), i2(i1.size());
    std::vector<double> v(i1.size());
    EXPECT_EQ(QXgetHess(model, &nnz, start.data(), i1.data(), i2.data(), v.data(), x.data()), 0);
    std::vector<double> h(n * n, 0.0);
    for (int k = start[0]; k < start[1]; ++k) {
      h[static_cast<std::size_t>(i1[k]) * n + i2[k]] = v[k];
      h[static_cast<std::size_t>(i2[k]) * n + i1[k]] = v[k];
    }
    return h;
  }
};

// A file name in the test folder.
inline std::string tmpPath(const std::string& name) {
  const char* dir = std::getenv("TORVA_TEST_TMP");
  return std::string(dir ? dir : "/tmp") + "/nlp_" + name;
}

}  // namespace torva_test
