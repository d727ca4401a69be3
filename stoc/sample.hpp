// Samples: one univariate distribution, the points drawn from it by one of
// four variance-control methods, and correlation induction across samples.
#pragma once

#include <cstdint>
#include <vector>

#include "stoc/distributions.hpp"
#include "torva.h"

namespace torva::stoc {
// Flag bit marking the points as final: a repeated request for the same
// number of points returns them unchanged.
inline constexpr std::uint32_t kPointsFinal = 1u << 16;
// The user-argument list grows by this many entries at a time.
inline constexpr std::size_t kUserArgGrowth = 10;
}  // namespace torva::stoc

struct QXsampleRec {
  QXenvRec* env = nullptr;
  int distrType = 0;
  torva::stoc::DistrParams params;
  int paramCount = 0;  // highest index set + 1

  std::vector<double> points;
  bool hasPoints = false;
  int method = -1;  // 0..3, or -1 when loaded by the host
  std::uint32_t flags = 0;
  std::vector<double> ciPoints;  // correlation-induced points
  bool hasCiPoints = false;
  double maxAbs = 0;

  QXrgRec* rg = nullptr;  // not owned
  // The generator this sampler is attached to by QXsetDistrRG, if any; it is
  // told when the environment frees the sampler first.
  QXrgRec* ownerRg = nullptr;

  torva::stoc::DiscreteTable table;

  QXuserDistrFunc userFunc = nullptr;
  void* userData = nullptr;
  std::vector<QXsampleRec*> userArgs;

  // Bounds and scales used by the distribution code.
  double lowerBound = QX_INFINITY, upperBound = QX_INFINITY;
  double shift = QX_INFINITY, cutoff = QX_INFINITY;
  double scale = 1.0, weight = 1.0;

  QXsampleRec(QXenvRec* owner, int type);

  int setParam(int index, double value);
  int getParam(int index, double& value) const;
  int eval(int func, double x, double& out) const;
  int generate(int method, int n);
  int loadPoints(int n, const double* values);
  int loadTable(int len, const double* prob, const double* values);
  int addUserArg(QXsampleRec* arg);
  int evalUser(int func, int iarg1, int iarg2, double* out);
  void markFinal() { flags |= torva::stoc::kPointsFinal; }
  // Whether `other` is this sample or is reached through the argument lists.
  bool dependsOn(const QXsampleRec* other) const;
};

namespace torva::stoc {

// Correlation of the given type between two equally long series.
double correlation(const std::vector<double>& x, const std::vector<double>& y, int corrType);

// Rearranges the points of every sample into its correlation-induced points
// (Iman-Conover). target is the full count x count matrix, row major.
int induceCorrelation(const std::vector<QXsampleRec*>& samples, int corrType, const std::vector<double>& target);

}  // namespace torva::stoc
