// Sample records: parameters, generation by the four methods, loaded points,
// discrete tables, user-defined distributions and correlation induction.
#include "stoc/sample.hpp"

#include <algorithm>
#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <new>
#include <numeric>

#include "base/env.hpp"
#include "stoc/rng.hpp"

using torva::stoc::kParamNotSet;

QXsampleRec::QXsampleRec(QXenvRec* owner, int type) : env(owner), distrType(type) {
  params.fill(kParamNotSet);
}

int QXsampleRec::setParam(int index, double value) {
  if (index < 0 || index >= torva::stoc::kMaxDistrParams) return QXERR_INDEX_OUT_OF_RANGE;
  params[static_cast<std::size_t>(index)] = value;
  paramCount = std::max(paramCount, index + 1);
  return 0;
}

int QXsampleRec::getParam(int index, double& value) const {
  if (index < 0 || index >= torva::stoc::kMaxDistrParams) return QXERR_INDEX_OUT_OF_RANGE;
  value = params[static_cast<std::size_t>(index)];
  return 0;
}

int QXsampleRec::eval(int func, double x, double& out) const {
  return torva::stoc::evalDistribution(distrType, params, &table, func, x, out);
}

namespace {

// Replaces v by a vector of n zeros; the old contents stay when allocation
// fails.
int resizePoints(std::vector<double>& v, int n) {
  try {
    std::vector<double> fresh(static_cast<std::size_t>(n), 0.0);
    v.swap(fresh);
  } catch (const std::bad_alloc&) {
    return QXERR_OUT_OF_MEMORY;
  }
  return 0;
}

// A uniformly random permutation of 1..n drawn with the generator's integer
// draw (the first k-1 places fixed, place k takes one of the rest).
std::vector<int> randomPermutation(QXrgRec& rg, int n) {
  std::vector<int> p(static_cast<std::size_t>(n));
  std::iota(p.begin(), p.end(), 1);
  for (int k = 1; k <= n; ++k) {
    const int j = rg.nextInt(k, n);
    std::swap(p[static_cast<std::size_t>(k - 1)], p[static_cast<std::size_t>(j - 1)]);
  }
  return p;
}

}  // namespace

int QXsampleRec::generate(int m, int n) {
  if (!rg) return QXERR_STOC_RG_NOT_SET;
  if ((flags & torva::stoc::kPointsFinal) && hasPoints && n == static_cast<int>(points.size())) return 0;
  if (rg->initSeed == 0) return QXERR_STOC_SEED_NOT_SET;
  if (n < 0) return QXERR_STOC_BAD_SAMPLE_SIZE;
  if (m < QX_MONTECARLO || m > QX_LATINSQUARE_ANTITHETIC) return QXERR_STOC_BAD_ALGORITHM;
  if (int rc = resizePoints(points, n)) return rc;
  method = m;
  flags = 0;
  hasPoints = false;
  hasCiPoints = false;
  ciPoints.clear();
  maxAbs = 0;
  const std::size_t count = static_cast<std::size_t>(n);

  if (userFunc || !userArgs.empty()) {
    if (!userFunc) return QXERR_STOC_USER_DISTR_NOT_SET;
    if (userArgs.empty()) return QXERR_INTERNAL_ERROR;
    for (QXsampleRec* arg : userArgs) {
      arg->rg = rg;
      if (int rc = arg->generate(m, n)) return rc;
    }
    // The argument points of position i go to the host function in the
    // array through which it returns point i (element 0).
    const int nargs = static_cast<int>(userArgs.size());
    std::vector<double> args(userArgs.size());
    for (std::size_t i = 0; i < count; ++i) {
      for (std::size_t a = 0; a < userArgs.size(); ++a) args[a] = userArgs[a]->points[i];
      if (int rc = userFunc(this, QX_DISTR_FUNC_ICDF, static_cast<int>(i), nargs, args.data(), userData)) return rc;
      points[i] = args[0];
      maxAbs = std::max(maxAbs, std::fabs(args[0]));
    }
    hasPoints = true;
    return 0;
  }

  const bool stratified = m == QX_LATINSQUARE || m == QX_LATINSQUARE_ANTITHETIC;
  const bool antithetic = m == QX_ANTITHETIC || m == QX_LATINSQUARE_ANTITHETIC;
  std::vector<int> perm;
  if (stratified) perm = randomPermutation(*rg, n);
  const double dn = static_cast<double>(n);
  auto place = [&](std::size_t i, double u) -> int {
    double x = 0;
    if (int rc = eval(QX_DISTR_FUNC_ICDF, u, x)) return rc;
    points[i] = x;
    double magnitude = std::fabs(x);
    if ((distrType == QX_DIST_DISCRETE || distrType == QX_DIST_DISCRETE_ALT) && table.hasValues && x >= 0 && x < table.values.size())
      magnitude = std::fabs(table.values[static_cast<std::size_t>(x)]);
    maxAbs = std::max(maxAbs, magnitude);
    return 0;
  };
  for (std::size_t i = 0; i < count;) {
    const double u = rg->nextDouble();
    const double first = stratified ? (perm[i] - 1 + u) / dn : u;
    if (int rc = place(i, first)) return rc;
    ++i;
    if (antithetic && i < count) {
      const double second = stratified ? (1.0 - u + perm[i] - 1) / dn : 1.0 - u;
      if (int rc = place(i, second)) return rc;
      ++i;
    }
  }
  hasPoints = true;
  return 0;
}

int QXsampleRec::loadPoints(int n, const double* values) {
  if ((flags & torva::stoc::kPointsFinal) && hasPoints && n == static_cast<int>(points.size())) return 0;
  if (n < 0) return QXERR_STOC_BAD_SAMPLE_SIZE;
  if (n > 0 && !values) return QXERR_ILLEGAL_NULL_POINTER;
  if (int rc = resizePoints(points, n)) return rc;
  method = -1;
  flags = 0;
  hasPoints = false;
  hasCiPoints = false;
  ciPoints.clear();
  if (userFunc || !userArgs.empty()) return QXERR_NOT_SUPPORTED;
  std::copy(values, values + n, points.begin());
  maxAbs = 0;
  for (double v : points) maxAbs = std::max(maxAbs, std::fabs(v));
  hasPoints = true;
  return 0;
}

int QXsampleRec::loadTable(int len, const double* prob, const double* values) {
  if (!torva::stoc::isDiscreteType(distrType)) return QXERR_STOC_BAD_DISTRIBUTION;
  if (len < 1) len = torva::stoc::kDefaultTableLength;
  torva::stoc::DiscreteTable fresh;
  const std::size_t count = static_cast<std::size_t>(len);
  fresh.prob.assign(count, 0.0);
  if (prob) std::copy(prob, prob + len, fresh.prob.begin());
  if (values) fresh.values.assign(values, values + len);
  fresh.hasProb = prob != nullptr;
  fresh.hasValues = values != nullptr;
  const double total = fresh.rebuild(distrType);
  table = std::move(fresh);
  if (prob && std::fabs(total - 1.0) > torva::stoc::kCdfTolerance) return QXERR_STOC_INVALID_CDF;
  return 0;
}

bool QXsampleRec::dependsOn(const QXsampleRec* other) const {
  if (this == other) return true;
  for (const QXsampleRec* a : userArgs)
    if (a->dependsOn(other)) return true;
  return false;
}

int QXsampleRec::addUserArg(QXsampleRec* arg) {
  if (std::find(userArgs.begin(), userArgs.end(), arg) != userArgs.end() || arg->dependsOn(this))
    return QXERR_STOC_SAMPLE_SOURCE_ASSIGNED;
  if (userArgs.size() == userArgs.capacity()) userArgs.reserve(userArgs.size() + torva::stoc::kUserArgGrowth);
  userArgs.push_back(arg);
  return 0;
}

int QXsampleRec::evalUser(int func, int iarg1, int iarg2, double* out) {
  if (!userFunc) return QXERR_USER_FUNCTION_NOT_SET;
  return userFunc(this, func, iarg1, iarg2, out, userData);
}

namespace torva::stoc {
namespace {

double pearson(const std::vector<double>& x, const std::vector<double>& y) {
  const std::size_t n = x.size();
  if (n < 2) return 0.0;
  double mx = 0, my = 0;
  for (std::size_t i = 0; i < n; ++i) {
    mx += x[i];
    my += y[i];
  }
  mx /= static_cast<double>(n);
  my /= static_cast<double>(n);
  double sxy = 0, sxx = 0, syy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double dx = x[i] - mx, dy = y[i] - my;
    sxy += dx * dy;
    sxx += dx * dx;
    syy += dy * dy;
  }
  if (sxx <= 0 || syy <= 0) return 0.0;
  return sxy / std::sqrt(sxx * syy);
}

// Ranks 1..n with ties given their average rank.
std::vector<double> averageRanks(const std::vector<double>& x) {
  const std::size_t n = x.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return x[a] < x[b]; });
  std::vector<double> rank(n);
  for (std::size_t i = 0; i < n;) {
    std::size_t j = i;
    while (j + 1 < n && x[order[j + 1]] == x[order[i]]) ++j;
    const double r = 0.5 * static_cast<double>(i + j) + 1.0;
    for (std::size_t k = i; k <= j; ++k) rank[order[k]] = r;
    i = j + 1;
  }
  return rank;
}

// Kendall's tau-b (ties in either series reduce the denominator).
double kendall(const std::vector<double>& x, const std::vector<double>& y) {
  const std::size_t n = x.size();
  double concordant = 0, discordant = 0, tiesX = 0, tiesY = 0;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const double dx = x[i] - x[j], dy = y[i] - y[j];
      if (dx == 0 && dy == 0) continue;
      if (dx == 0) tiesX += 1;
      else if (dy == 0) tiesY += 1;
      else if ((dx > 0) == (dy > 0)) concordant += 1;
      else discordant += 1;
    }
  }
  const double denom = std::sqrt((concordant + discordant + tiesX) * (concordant + discordant + tiesY));
  return denom > 0 ? (concordant - discordant) / denom : 0.0;
}

// Lower Cholesky factor of the k x k matrix a (row major); false when a is
// not positive definite.
bool cholesky(const std::vector<double>& a, int k, std::vector<double>& l) {
  // Pivots below this (relative to the unit diagonal of a correlation
  // matrix) mean the matrix is singular to working precision.
  constexpr double kMinPivot = 1e-12;
  l.assign(a.size(), 0.0);
  for (int i = 0; i < k; ++i) {
    for (int j = 0; j <= i; ++j) {
      double s = a[static_cast<std::size_t>(i * k + j)];
      for (int p = 0; p < j; ++p) s -= l[static_cast<std::size_t>(i * k + p)] * l[static_cast<std::size_t>(j * k + p)];
      if (i == j) {
        if (!(s > kMinPivot)) return false;
        l[static_cast<std::size_t>(i * k + i)] = std::sqrt(s);
      } else {
        l[static_cast<std::size_t>(i * k + j)] = s / l[static_cast<std::size_t>(j * k + j)];
      }
    }
  }
  return true;
}

}  // namespace

double correlation(const std::vector<double>& x, const std::vector<double>& y, int corrType) {
  switch (corrType) {
    case QX_CORR_PEARSON: return pearson(x, y);
    case QX_CORR_SPEARMAN: return pearson(averageRanks(x), averageRanks(y));
    case QX_CORR_KENDALL: return kendall(x, y);
    default: return 0.0;
  }
}

// Iman and Conover (1982, "A distribution-free approach to inducing rank
// correlation among input variables", Comm. Statist. B11): the columns of a
// matrix of van der Waerden scores are permuted at random, transformed so
// that their correlation is exactly the target, and each sample's points are
// rearranged to follow the ranks of its transformed column. Rank targets are
// first mapped to the Pearson correlation of a normal pair with that rank
// correlation (Spearman rho -> 2 sin(pi rho / 6), Kendall tau -> sin(pi tau / 2)).
int induceCorrelation(const std::vector<QXsampleRec*>& samples, int corrType, const std::vector<double>& target) {
  const int k = static_cast<int>(samples.size());
  const std::size_t kk = static_cast<std::size_t>(k);
  const std::size_t n = samples[0]->points.size();
  const double pi = boost::math::constants::pi<double>();

  std::vector<double> c(target);
  for (double& v : c) {
    if (corrType == QX_CORR_SPEARMAN) v = 2.0 * std::sin(pi * v / 6.0);
    else if (corrType == QX_CORR_KENDALL) v = std::sin(pi * v / 2.0);
  }
  for (std::size_t i = 0; i < kk; ++i) c[i * kk + i] = 1.0;
  std::vector<double> p;
  if (!cholesky(c, k, p)) return QXERR_STOC_BAD_VALUE;

  QXrgRec* rg = nullptr;
  for (QXsampleRec* s : samples)
    if (s->rg) {
      rg = s->rg;
      break;
    }
  if (!rg) return QXERR_STOC_RG_NOT_SET;

  // Scores, one column per sample, each column a random arrangement.
  const boost::math::normal_distribution<double> normal;
  std::vector<double> scores(n);
  for (std::size_t i = 0; i < n; ++i)
    scores[i] = boost::math::quantile(normal, static_cast<double>(i + 1) / static_cast<double>(n + 1));
  std::vector<std::vector<double>> r(kk, std::vector<double>(n));
  for (std::size_t j = 0; j < kk; ++j) {
    const std::vector<int> perm = randomPermutation(*rg, static_cast<int>(n));
    for (std::size_t i = 0; i < n; ++i) r[j][i] = scores[static_cast<std::size_t>(perm[i] - 1)];
  }
  std::vector<double> e(kk * kk, 0.0);
  for (std::size_t a = 0; a < kk; ++a)
    for (std::size_t b = 0; b < kk; ++b) e[a * kk + b] = a == b ? 1.0 : pearson(r[a], r[b]);
  std::vector<double> q;
  if (!cholesky(e, k, q)) return QXERR_STOC_SAMPLE_TOO_SMALL;

  // S = P Q^-1, so that the rows T_i = S R_i have correlation P P^T = C.
  // Solve S Q = P row by row (Q lower triangular): back substitution.
  std::vector<double> s(kk * kk, 0.0);
  for (std::size_t i = 0; i < kk; ++i) {
    for (std::size_t jj = kk; jj-- > 0;) {
      double v = p[i * kk + jj];
      for (std::size_t m = jj + 1; m < kk; ++m) v -= s[i * kk + m] * q[m * kk + jj];
      s[i * kk + jj] = v / q[jj * kk + jj];
    }
  }
  std::vector<std::vector<double>> t(kk, std::vector<double>(n, 0.0));
  for (std::size_t row = 0; row < n; ++row)
    for (std::size_t i = 0; i < kk; ++i) {
      double v = 0;
      for (std::size_t m = 0; m <= i; ++m) v += s[i * kk + m] * r[m][row];
      t[i][row] = v;
    }

  // Each sample takes its sorted points in the rank order of its column.
  std::vector<std::vector<double>> induced(kk);
  for (std::size_t j = 0; j < kk; ++j) {
    std::vector<double> sorted = samples[j]->points;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return t[j][a] < t[j][b]; });
    induced[j].assign(n, 0.0);
    for (std::size_t rank = 0; rank < n; ++rank) induced[j][order[rank]] = sorted[rank];
  }
  for (std::size_t j = 0; j < kk; ++j) {
    samples[j]->ciPoints = std::move(induced[j]);
    samples[j]->hasCiPoints = true;
  }
  return 0;
}

}  // namespace torva::stoc
