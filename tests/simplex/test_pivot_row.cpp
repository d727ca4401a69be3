// Pivot rows formed row-wise over the matrix copy that marks the basic
// columns: the marks must follow every change of the basis (pivots,
// refactorisations within and between them, a roll back, a new heading).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "simplex/work.hpp"
#include "tests/simplex/simplex_check.hpp"

namespace {

using namespace torva::simplex;
using torva::testsupport::LoadedModel;

// Agreement of a pivot-row entry with rho'a_j summed over the column: both
// are sums of the same few products in different orders.
constexpr double kEntryAgreement = 1e-12;

struct PivotRowWork {
  SimplexWork::Impl w;
  SolveContext ctx;
  explicit PivotRowWork(const LoadedModel& lm, int refactorFrequency) : w(lm.data()) {
    SimplexOptions opt;
    opt.refactorFrequency = refactorFrequency;
    w.setOptions(opt, ctx);
    w.lower = w.lp.lower;
    w.upper = w.lp.upper;
    w.cost = w.lp.cost;
    w.rhs = w.lp.rhs;
    w.resetSlackBasis();
    w.refactorRequest = kRefactorInitial;
    EXPECT_EQ(w.refactor(true), kLayerOk);
  }

  // Enters the first nonbasic structural column at or after from whose
  // transformed column has an entry of magnitude 0.1 or more, at its largest
  // entry; returns the column, or -1.
  int pivot(int from) {
    for (int q = from; q < w.n; ++q) {
      if (w.pos[q] >= 0) continue;
      w.loadColumn(q, w.col);
      w.lu->ftran(w.col);
      if (w.col.count < 0) w.col.rebuildIndex();
      int r = -1;
      for (int k = 0; k < w.col.count; ++k)
        if (r < 0 || std::fabs(w.col.array[w.col.index[k]]) > std::fabs(w.col.array[r])) r = w.col.index[k];
      if (r < 0 || std::fabs(w.col.array[r]) < 0.1) continue;
      EXPECT_EQ(w.basisChange(r, q, true, w.col.array[r]), kLayerOk);
      return q;
    }
    return -1;
  }

  // Every row of B^-1 whose pivot row is formed row-wise, against the
  // products over the columns; returns how many rows were formed row-wise
  // (a disagreement fails the test and ends the check).
  int checkRows(const std::string& when) {
    int rowWise = 0;
    for (int r = 0; r < w.m; ++r) {
      w.rho.clear();
      w.rho.add(r, 1.0);
      w.lu->btran(w.rho);
      if (w.rho.count < 0) w.rho.rebuildIndex();
      const long long before = w.stats.pivrow[0];
      w.computePivotRow(w.rho);
      if (w.stats.pivrow[0] == before) continue;
      ++rowWise;
      for (int j = 0; j < w.nt; ++j) {
        double ref = 0.0, scale = 1.0;
        if (w.pos[j] < 0 && j < w.n) {
          for (int p = w.lp.colStart[j]; p < w.lp.colStart[j + 1]; ++p) {
            ref += w.lp.colValue[p] * w.rho.array[w.lp.rowIndex[p]];
            scale += std::fabs(w.lp.colValue[p] * w.rho.array[w.lp.rowIndex[p]]);
          }
        } else if (w.pos[j] < 0) {
          ref = w.rho.array[j - w.n];
        }
        if (!(std::fabs(w.prow[j] - ref) <= kEntryAgreement * scale)) {
          ADD_FAILURE() << when << ": row " << r << ", variable " << j << ": " << w.prow[j] << " against " << ref;
          return rowWise;
        }
      }
    }
    return rowWise;
  }
};

TEST(PivotRowMarks, FollowTheBasis) {
  const std::string path = torva::testsupport::netlibDir() + "/sc50a.mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Netlib data not found at " << path;
  LoadedModel lm;
  ASSERT_TRUE(lm.read(path));
  // A refactorisation every third pivot, so that some happen inside basis
  // changes.
  PivotRowWork pw(lm, 3);
  SimplexWork::Impl& w = pw.w;
  EXPECT_GT(pw.checkRows("slack basis"), 0);
  int from = 0;
  for (int step = 0; step < 12; ++step) {
    const int q = pw.pivot(from);
    ASSERT_GE(q, 0);
    from = q + 1;
    pw.checkRows("after pivot " + std::to_string(step));
  }
  EXPECT_GT(w.rollBack(4), 0);
  w.requestRefactor(kRefactorRegular, __FILE_NAME__, __LINE__);
  ASSERT_EQ(w.refactor(true), kLayerOk);
  pw.checkRows("after a roll back");
  const std::vector<int> heading = w.basicVar;
  ASSERT_GE(pw.pivot(from), 0);
  w.setHeading(heading);
  w.requestRefactor(kRefactorRegular, __FILE_NAME__, __LINE__);
  ASSERT_EQ(w.refactor(true), kLayerOk);
  pw.checkRows("after a new heading");
  ASSERT_GE(pw.pivot(0), 0);
  pw.checkRows("after the last pivot");
}

}  // namespace
