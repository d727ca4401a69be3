// The steepest-edge pool of partial pricing: its product-form updates (and
// those of the small explicit inverse) agree with fresh solves, and the primal that prices through it on wide models
// reaches the LP relaxation optimum of MIPLIB models. The devex shortlist
// chooses what a scan of all columns would.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "simplex/devex_shortlist.hpp"
#include "simplex/steepest_pool.hpp"
#include "simplex/work.hpp"
#include "tests/simplex/simplex_check.hpp"

namespace {

using namespace torva::simplex;
using Dense = std::vector<std::vector<double>>;  // column-major: cols[j][i]

// Updated columns accumulate a few roundings per pivot on this well
// conditioned example.
constexpr double kUpdateTol = 1e-11;

// B x = a by Gaussian elimination with partial pivoting (B given by columns).
std::vector<double> solve(const Dense& basis, std::vector<double> a) {
  const int m = static_cast<int>(a.size());
  Dense t(m, std::vector<double>(m));
  for (int i = 0; i < m; ++i)
    for (int k = 0; k < m; ++k) t[i][k] = basis[k][i];
  for (int k = 0; k < m; ++k) {
    int p = k;
    for (int i = k + 1; i < m; ++i)
      if (std::fabs(t[i][k]) > std::fabs(t[p][k])) p = i;
    std::swap(t[k], t[p]);
    std::swap(a[k], a[p]);
    for (int i = k + 1; i < m; ++i) {
      const double f = t[i][k] / t[k][k];
      for (int c = k; c < m; ++c) t[i][c] -= f * t[k][c];
      a[i] -= f * a[k];
    }
  }
  for (int k = m - 1; k >= 0; --k) {
    for (int c = k + 1; c < m; ++c) a[k] -= t[k][c] * a[c];
    a[k] /= t[k][k];
  }
  return a;
}

void putColumn(SteepestPool& pool, int slot, int j, const std::vector<double>& u) {
  std::vector<int> index(u.size());
  for (std::size_t i = 0; i < u.size(); ++i) index[i] = static_cast<int>(i);
  const int count = static_cast<int>(u.size());
  pool.put(slot, j, u.data(), index.data(), count, SteepestPool::squaredNorm(u.data(), index.data(), count));
}

TEST(SteepestPool, PivotsAgreeWithFreshSolves) {
  const int m = 4;
  // Structural columns 0..5; the basis starts as the identity.
  const Dense a = {{2, 0, 1, 0}, {0, 3, 0, 1}, {1, 1, 4, 0}, {0, 2, 0, 5}, {1, 0, 1, 1}, {3, 1, 0, 2}};
  Dense basis = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  SteepestPool pool;
  SmallInverse inverse;  // carried along: B^-1 a_j from it against the solves
  inverse.reset(m);
  for (int k = 0; k < m; ++k) inverse.column(k)[k] = 1.0;
  pool.reset(m, 6, 4);
  pool.limit(4);
  for (int j = 0; j < 4; ++j) putColumn(pool, j, j, a[j]);
  // Entering column and basis position of each pivot; the entering member
  // leaves the pool as it becomes basic.
  const struct {
    int q, r;
  } pivots[] = {{4, 0}, {5, 3}, {2, 2}, {0, 1}};
  for (const auto& pv : pivots) {
    std::vector<double> alpha = solve(basis, a[pv.q]);
    std::vector<int> index = {0, 1, 2, 3};
    pool.remove(pv.q);
    pool.pivot(pv.r, alpha.data(), index.data(), m);
    inverse.pivot(pv.r, alpha.data());
    basis[pv.r] = a[pv.q];
    for (int j = 0; j < 6; ++j) {
      std::vector<double> viaInverse(m);
      inverse.apply(a[j].data(), index.data(), m, viaInverse.data());
      const std::vector<double> u = solve(basis, a[j]);
      for (int i = 0; i < m; ++i) EXPECT_NEAR(viaInverse[i], u[i], kUpdateTol) << "inverse, column " << j;
    }
    for (int s = 0; s < pool.capacity(); ++s) {
      const int j = pool.variable(s);
      if (j < 0) continue;
      const std::vector<double> u = solve(basis, a[j]);
      double norm2 = 1.0;
      for (int i = 0; i < m; ++i) {
        EXPECT_NEAR(pool.value(s, i), u[i], kUpdateTol) << "column " << j << " after entering " << pv.q;
        norm2 += u[i] * u[i];
      }
      EXPECT_NEAR(pool.edgeNorm2(s), norm2, kUpdateTol * norm2) << "column " << j;
    }
  }
  EXPECT_FALSE(pool.contains(2));
  EXPECT_TRUE(pool.contains(1));
  // Fewer slots drop the members beyond them and keep the others.
  ASSERT_EQ(pool.slotOf(3), 3);
  pool.limit(3);
  EXPECT_FALSE(pool.contains(3));
  EXPECT_TRUE(pool.contains(1));
  EXPECT_EQ(pool.size(), 1);
}

// Scores change on a random subset per step (as along a pivot row), each
// changed column offered; the best member above the threshold must be the
// best of all columns, and when no member is above it a rebuild follows, as
// in the pricer. Zero scores stand for columns that are no candidates.
TEST(DevexShortlist, BestMemberIsTheBestOfAll) {
  const int n = 2000;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<double> score(n);
  for (double& s : score) s = unit(rng) < 0.3 ? unit(rng) : 0.0;
  DevexShortlist list;
  list.reset(n);
  std::vector<std::pair<double, int>> scored;
  int rebuilds = 0, exhausted = 0;
  for (int step = 0; step < 400; ++step) {
    if (!list.valid(1e-7) || step % 97 == 0) {  // also a rebuild while members remain
      scored.clear();
      for (int j = 0; j < n; ++j)
        if (score[j] > 0.0) scored.emplace_back(score[j], j);
      list.rebuild(scored, 1e-7);
      ++rebuilds;
    }
    int best = -1;
    for (std::size_t t = list.items().size(); t-- > 0;) {
      const int j = list.items()[t];
      if (!(score[j] > list.threshold()))
        list.drop(t);
      else if (best < 0 || score[j] > score[best])
        best = j;
    }
    const int truth = static_cast<int>(std::max_element(score.begin(), score.end()) - score.begin());
    if (best >= 0) {
      ASSERT_EQ(best, truth) << "step " << step;
      score[best] = 0.0;  // enters the basis
    } else {
      ++exhausted;
      list.invalidate();
      continue;
    }
    for (int k = 0; k < 30; ++k) {
      const int j = static_cast<int>(unit(rng) * n);
      score[j] = unit(rng) < 0.97 ? score[j] * unit(rng) : unit(rng);
      list.offer(j, score[j]);
    }
  }
  EXPECT_GT(exhausted, 0);
  EXPECT_LT(rebuilds, 200);  // most prices read the members only
}

// LP relaxations with far more columns than rows, where partial pricing
// runs through the pool: the optimum of objectives.tsv (last column).
TEST(SteepestPool, WideRelaxationsReachTheirOptimum) {
  const std::string dir = std::string(TORVA_SHARED_DATA) + "/miplib3";
  std::map<std::string, double> reference;
  std::ifstream in(dir + "/objectives.tsv");
  std::string line, name;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    double rows = 0, cols = 0, ints = 0, best = 0, relax = 0;
    if (line.empty() || line[0] == '#' || !(ls >> name >> rows >> cols >> ints >> best >> relax)) continue;
    reference[name] = relax;
  }
  for (const char* model : {"air03", "nw04"}) {
    const std::string path = dir + "/" + model + ".mps.gz";
    if (!std::filesystem::exists(path) || !reference.count(model)) GTEST_SKIP() << "MIPLIB data not found at " << path;
    torva::testsupport::LoadedModel lm;
    ASSERT_TRUE(lm.read(path));
    SimplexWork work(lm.data());
    SolveContext ctx;
    SimplexResult r;
    ASSERT_EQ(work.solve(lm.data(), Method::Primal, StartBasis::Crash, SimplexOptions{}, ctx, r), 0);
    ASSERT_EQ(r.outcome, kOptimal) << model;
    const double expected = reference.at(model);
    EXPECT_LE(std::fabs(r.objective - expected) / std::max(1.0, std::fabs(expected)), 1e-6)
        << model << ": objective " << r.objective << " expected " << expected;
    torva::testsupport::checkOptimal(lm.data(), r);
  }
}

}  // namespace
