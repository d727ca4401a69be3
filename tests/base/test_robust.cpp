// Bad and random input never crashes the store and never leaves it
// inconsistent: every call either fails with a code or keeps the invariants.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "model_fixture.hpp"
#include "torva.h"

namespace {

using torva_test::ModelFixture;

// Checks every invariant of the model store; returns a description of the
// first violation, or an empty string.
std::string violation(const torva::ModelData& d) {
  const auto m = static_cast<std::size_t>(d.m), n = static_cast<std::size_t>(d.n);
  if (d.cost.size() != n || d.lower.size() != n || d.upper.size() != n || d.colLen.size() != n ||
      d.colBeg.size() != n + 1)
    return "column array sizes";
  if (d.rhs.size() != m || d.conType.size() != m) return "row array sizes";
  if (d.colBeg[0] < 0 || static_cast<std::size_t>(d.colBeg[d.n]) > d.rowIdx.size() ||
      d.rowIdx.size() != d.value.size())
    return "entry storage";
  long total = 0;
  for (int j = 0; j < d.n; ++j) {
    if (d.colLen[j] < 0 || d.colLen[j] > d.colBeg[j + 1] - d.colBeg[j]) return "column length";
    std::set<int> rows;
    for (int p = d.colBeg[j]; p < d.colBeg[j] + d.colLen[j]; ++p) {
      if (d.rowIdx[p] < 0 || d.rowIdx[p] >= d.m) return "row index";
      if (!rows.insert(d.rowIdx[p]).second) return "row twice in a column";
    }
    total += d.colLen[j];
    if (d.lower[j] < -1e30 || d.upper[j] > 1e30) return "bounds not clamped";
  }
  if (total != d.nnz) return "nnz";
  for (char t : d.conType)
    if (t != 'L' && t != 'E' && t != 'G' && t != 'N') return "constraint type";
  if (!d.varType.empty() && d.varType.size() != n) return "type array";
  if (d.conNames.present() && d.conNames.count() != d.m) return "row names";
  if (d.varNames.present() && d.varNames.count() != d.n) return "column names";
  for (int j : d.scVars)
    if (j < 0 || j >= d.n) return "semi-continuous index";
  if (d.scVars.size() != d.scLower.size()) return "semi-continuous arrays";
  for (std::size_t g = 0; g < d.qc.rows.size(); ++g) {
    if (d.qc.rows[g] < -1 || d.qc.rows[g] >= d.m) return "quadratic row";
    if (g > 0 && d.qc.rows[g] <= d.qc.rows[g - 1]) return "quadratic row order";
  }
  for (std::size_t p = 0; p < d.qc.col1.size(); ++p)
    if (d.qc.col1[p] < 0 || d.qc.col1[p] >= d.n || d.qc.col2[p] < 0 || d.qc.col2[p] >= d.n)
      return "quadratic column";
  for (const torva::ColumnGroups* g : {&d.cones, &d.sets}) {
    if (!g->empty() && static_cast<int>(g->beg.size()) != g->count() + 1) return "group starts";
    for (int c : g->cols)
      if (c < 0 || c >= d.n) return "group member";
  }
  if (d.coneNames.present() && d.coneNames.count() != d.cones.count()) return "cone names";
  for (const auto* v : {&d.startPartVars, &d.mipStartPartVars})
    for (int j : *v)
      if (j < 0 || j >= d.n) return "partial start index";
  return "";
}

int pick(std::mt19937& rng, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(rng);
}

TEST_F(ModelFixture, RandomLoadInputIsRejectedOrStoredConsistently) {
  std::mt19937 rng(99);
  int accepted = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    int err = 0;
    QXmodel mod = QXcreateModel(env, &err);
    ASSERT_EQ(err, 0);
    const int m = pick(rng, 0, 5), n = pick(rng, 0, 5);
    std::vector<double> c(n + 1, 1.0), b(m + 1, 1.0), lo(n + 1), up(n + 1);
    for (int j = 0; j < n; ++j) {
      lo[j] = pick(rng, -3, 3) * 1e20;
      up[j] = pick(rng, -3, 3) * 1e20;
    }
    std::string types;
    for (int i = 0; i < m; ++i) types.push_back("LGENX"[pick(rng, 0, trial % 7 == 0 ? 4 : 3)]);
    std::vector<int> beg(n + 1), len(n + 1);
    beg[0] = pick(rng, -1, 2);
    for (int j = 0; j < n; ++j) {
      beg[j + 1] = beg[j] + pick(rng, -1, 4);
      len[j] = pick(rng, -1, 4);
    }
    const int stored = std::max(beg[n], 0) + 1;
    std::vector<int> rows(stored);
    std::vector<double> vals(stored, 1.0);
    for (int& r : rows) r = pick(rng, -1, m);
    const bool useLen = rng() % 2;
    const int nnz = pick(rng, -1, stored);
    const int rc = QXloadLPData(mod, m, n, rng() % 10 ? QX_MIN : 0, 0, c.data(), b.data(), types.data(),
                                nnz, beg.data(), useLen ? len.data() : nullptr, vals.data(), rows.data(),
                                lo.data(), up.data());
    if (rc == 0) {
      ++accepted;
      EXPECT_EQ(mod->status, QX_STATUS_LOADED);
    } else {
      EXPECT_EQ(mod->status, QX_STATUS_UNLOADED);
      EXPECT_TRUE(mod->data.empty());
    }
    ASSERT_EQ(violation(mod->data), "") << "trial " << trial << " rc " << rc;
    if (rc == 0 && n > 0) {
      // Further random data on the loaded model.
      std::string vt;
      for (int j = 0; j < n; ++j) vt.push_back("CBIS"[pick(rng, 0, 3)]);
      QXloadVarType(mod, vt.c_str());
      ASSERT_EQ(violation(mod->data), "") << "types, trial " << trial;
      const int k = pick(rng, 1, 3);
      std::vector<int> gb(k + 1), gc(12);
      gb[0] = pick(rng, -1, 1);
      for (int q = 0; q < k; ++q) gb[q + 1] = std::min(gb[q] + pick(rng, -1, 3), 11);
      for (int& x : gc) x = pick(rng, -1, n);
      const std::string ct = "QRQX";
      const char st[] = {1, 2, 4, 9};
      const int card[] = {1, 0, 2, 1};
      if (rng() % 2)
        QXloadConeData(mod, k, ct.c_str() + pick(rng, 0, 1), gb.data(), gc.data());
      else
        QXloadSETSData(mod, k, st + pick(rng, 0, 1), card, gb.data(), gc.data());
      ASSERT_EQ(violation(mod->data), "") << "groups, trial " << trial;
      std::vector<int> qr(4), q1(4), q2(4);
      std::vector<double> qv(4, 1.0);
      for (int q = 0; q < 4; ++q) {
        qr[q] = pick(rng, -2, m);
        q1[q] = pick(rng, -1, n);
        q2[q] = pick(rng, 0, n - 1);
      }
      QXloadQCData(mod, 4, qr.data(), q1.data(), q2.data(), qv.data());
      ASSERT_EQ(violation(mod->data), "") << "quadratic, trial " << trial;
    }
    ASSERT_EQ(QXdeleteModel(&mod), 0);
  }
  EXPECT_GT(accepted, 50);  // the generator reaches the success path too
}

TEST_F(ModelFixture, RandomChangeSequencesKeepTheStoreConsistent) {
  std::mt19937 rng(4242);
  ASSERT_EQ(loadSmall(), 0);
  const int cb[] = {0, 1};
  const int cc[] = {2};
  ASSERT_EQ(QXloadConeData(model, 1, "Q", cb, cc), 0);
  const char st[] = {2};
  const int sb[] = {0, 3};
  const int sc[] = {0, 1, 3};
  ASSERT_EQ(QXloadSETSData(model, 1, st, nullptr, sb, sc), 0);
  torva_test::NameList rn({"a", "b", "c"}), vn({"p", "q", "r", "s"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, rn.data(), vn.data(),
                           nullptr),
            0);
  int failures = 0, steps = 0;
  for (int step = 0; step < 3000; ++step, ++steps) {
    const int m = model->data.m, n = model->data.n;
    std::vector<int> idx(3);
    for (int& x : idx) x = pick(rng, -1, std::max(m, n));
    const double vals[] = {1, 2, 3};
    int rc = 0;
    switch (pick(rng, 0, 9)) {
      case 0: rc = QXmodifyAj(model, pick(rng, -1, n), 3, idx.data(), vals); break;
      case 1: rc = QXdeleteAj(model, pick(rng, -1, n), 2, idx.data()); break;
      case 2: {
        const int rb[] = {0, 2, 3};
        rc = QXaddConstraints(model, 2, rng() % 8 ? "LE" : "LX", nullptr, rb, vals, idx.data(), vals);
        break;
      }
      case 3:
        if (m > 4) rc = QXdeleteConstraints(model, pick(rng, 1, 2), idx.data());
        break;
      case 4: {
        const int beg[] = {0, 2, 3};
        rc = QXaddVariables(model, 2, rng() % 2 ? "CI" : "BS", nullptr, beg, nullptr, vals, idx.data(),
                            nullptr, nullptr, nullptr);
        break;
      }
      case 5:
        if (n > 6) rc = QXdeleteVariables(model, pick(rng, 1, 2), idx.data());
        break;
      case 6: rc = QXmodifyLowerBounds(model, 3, idx.data(), vals); break;
      case 7: rc = QXmodifyVariableType(model, 2, idx.data(), rng() % 2 ? "BI" : "CS"); break;
      case 8: {
        const int r[] = {pick(rng, -2, m)};
        const int a[] = {pick(rng, -1, n)};
        rc = QXaddQCterms(model, 1, r, a, a, vals);
        break;
      }
      default: {
        const double lo[] = {1, 1, 1};
        rc = QXmodifySemiContVars(model, 1, idx.data(), lo, vals);
        break;
      }
    }
    if (rc) ++failures;
    ASSERT_EQ(violation(model->data), "") << "step " << step << " rc " << rc;
    if (model->data.n < 3) break;
  }
  EXPECT_GT(failures, 0);
  EXPECT_GT(steps, 1000) << "the model shrank too early";
}

}  // namespace
