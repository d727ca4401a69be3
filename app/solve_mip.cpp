// Solving a model with integer variables: the integer solver's log goes to
// standard output while it runs; a summary of fixed lines follows.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/runtorva.hpp"

namespace runtorva {
namespace {

// The summary's words for how the search ended; null when it ended with an
// error and no status to report.
const char* mipStatusText(int rc, int status) {
  switch (rc) {
    case QXERR_TIME_LIMIT: return "Time limit reached";
    case QXERR_BRANCH_LIMIT: return "Branch limit reached";
    case QXERR_ITER_LIMIT: return "Iteration limit reached";
    case QXERR_USER_INTERRUPT: return "Interrupted";
    case 0: break;
    default: return status == QX_STATUS_FEASIBLE ? "Feasible" : nullptr;
  }
  switch (status) {
    case QX_STATUS_OPTIMAL: return "Optimal";
    case QX_STATUS_INFEASIBLE: return "Infeasible";
    case QX_STATUS_UNBOUNDED: return "Unbounded";
    case QX_STATUS_FEASIBLE: return "Feasible";
    default: return "Unknown";
  }
}

// One line per column (name, value) and per row (name, slack).
int writeMipSolution(QXenv env, QXmodel model, const std::string& path) {
  int n = 0, m = 0;
  QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
  QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
  std::vector<double> x(static_cast<std::size_t>(n)), s(static_cast<std::size_t>(m));
  int rc = QXgetMIPPrimalSolution(model, x.data());
  if (!rc) rc = QXgetMIPSlacks(model, s.data());
  if (rc) {
    complain("no solution to write to %s: %s", path.c_str(), errorText(env, rc).c_str());
    return kExitSolver;
  }
  return writeSolutionLines(model, path, {&x}, {&s});
}

}  // namespace

int solveMipModel(QXenv env, QXmodel model, const Options& opts) {
  if (opts.quiet) {
    QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, 0);
  } else {
    int level = 0;
    QXgetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, &level);
    if (level < 1) QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, 1);
    QXsetModelLogfunc(model, printLog, nullptr);
  }
  if (opts.timeLimit >= 0.0) {
    if (int rc = QXsetModelDouParameter(model, QX_DPARAM_MIP_TIMLIM, opts.timeLimit)) {
      complain("--time-limit %g: %s", opts.timeLimit, errorText(env, rc).c_str());
      return kExitUsage;
    }
  }
  if (opts.threads > 0) QXsetModelIntParameter(model, QX_IPARAM_MIP_NUM_THREADS, opts.threads);
  watchInterrupt(model);
  const auto start = std::chrono::steady_clock::now();
  int status = QX_STATUS_UNKNOWN;
  const int rc = QXsolveMIP(model, &status);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  restoreInterrupt();
  QXsetModelLogfunc(model, nullptr, nullptr);
  std::fputs("\n", stdout);
  const char* text = mipStatusText(rc, status);
  if (!text) {
    complain("the solve failed: %s", errorText(env, rc).c_str());
    return kExitSolver;
  }
  double objective = NAN, bound = NAN;
  int nodes = 0;
  const bool haveSolution = QXgetMIPPrimalSolution(model, nullptr) == 0;
  if (haveSolution) QXgetInfo(model, QX_DINFO_MIP_OBJ, &objective);
  QXgetInfo(model, QX_DINFO_MIP_BESTBOUND, &bound);
  QXgetInfo(model, QX_IINFO_MIP_BRANCHCOUNT, &nodes);
  // The gap in per cent, relative to the larger of |objective|, |bound| and 1.
  double gap = NAN;
  if (haveSolution && std::fabs(bound) < 1e30)
    gap = 100.0 * std::fabs(objective - bound) / std::fmax(std::fmax(std::fabs(objective), std::fabs(bound)), 1.0);
  std::printf("\nModel status : %s\n", text);
  std::printf("Objective value : %.10e\n", objective);
  std::printf("Best bound : %.10e\n", bound);
  std::printf("Gap : %.2f%%\n", gap);
  std::printf("Nodes : %d\n", nodes);
  std::printf("Solve time : %.2f\n", seconds);
  if (!opts.writeSolution.empty())
    if (int rc2 = writeMipSolution(env, model, opts.writeSolution)) return rc2;
  return writeReport(env, model, opts);
}

}  // namespace runtorva
