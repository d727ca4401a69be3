// Trace output of the simplex: the prefixed trace lines, the state line of
// each refactorisation request, and the iteration log in its standard and
// trace formats.
#include <cmath>
#include <cstdarg>

#include "base/log.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

const char* reasonName(int reason) {
  switch (reason) {
    case kRefactorInitial: return "initial";
    case kRefactorFallback: return "fallback";
    case kRefactorPerturbation: return "unperturb";
    case kRefactorRegular: return "regular";
    case kRefactorStability: return "stability";
    default: return "";
  }
}

}  // namespace

void SimplexWork::Impl::traceLine(const char* fmt, ...) const {
  if (!ctx || !ctx->log) return;
  va_list args;
  va_start(args, fmt);
  std::string s = format("\n%c%6d %8.0f :", methodChar, factorCount, totalIterations);
  s += vformat(fmt, args);
  va_end(args);
  ctx->log(s);
}

int SimplexWork::Impl::dualInfeasCount(double* sum) const {
  int c = 0;
  double s = 0.0;
  for (int j = 0; j < nt; ++j) {
    if (pos[j] >= 0 || lower[j] == upper[j]) continue;
    double v = 0.0;
    if (at[j] == kAtLower && d[j] < -dualTol) v = -d[j];
    if (at[j] == kAtUpper && d[j] > dualTol) v = d[j];
    if (at[j] == kAtZero && std::fabs(d[j]) > dualTol) v = std::fabs(d[j]);
    if (v > 0.0) {
      ++c;
      s += v;
    }
  }
  if (sum) *sum = s;
  return c;
}

void SimplexWork::Impl::stateLine(int reason, const char* file, int line) const {
  int npinf = 0;
  sumPrimalInfeas(&npinf, nullptr);
  const int ndinf = dualInfeasCount(nullptr);
  const PivotRecord last = bl.history.empty() ? PivotRecord{} : bl.history.back();
  const int pivj = last.entering;
  const int cbas = pivj >= 0 ? (pos[pivj] >= 0 ? pos[pivj] : -1 - at[pivj]) : 0;
  const double rdc = pivj >= 0 ? d[pivj] : 0.0;
  traceLine(" new wfact:%d (#cnt:%d), fiter=%d, npinf=%d, ndinf=%d, cbas=%d, pivj=%d, pivi=%d, vleave=%d, rdc=%g, "
            "top=%d, ceps=%g, reps=%g, mkweps=%g, pvteps=%g, file=%s(%d) %s%s %s",
            reason, bl.requests, updates, npinf, ndinf, cbas, pivj, last.row, last.leaving, rdc, bl.history.top(),
            dualTol, primalTol, pivRel, pivTol, file, line, npinf == 0 ? "(PF)" : "", ndinf == 0 ? "(DF)" : "",
            reasonName(reason));
}

}  // namespace torva::simplex
