// Solving the model read: the iteration log goes to standard output through
// a log function while the solve runs, Ctrl-C interrupts through the
// progress callback, and a summary of fixed lines follows.
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/runtorva.hpp"

namespace runtorva {
namespace {

volatile std::sig_atomic_t interrupted = 0;
void (*previousHandler)(int) = SIG_DFL;

void onInterrupt(int) { interrupted = 1; }

int progress(QXmodel, int, void*) { return interrupted ? 1 : 0; }

}  // namespace

void watchInterrupt(QXmodel model) {
  QXsetCallback(model, progress, nullptr);
  previousHandler = std::signal(SIGINT, onInterrupt);
}

void restoreInterrupt() { std::signal(SIGINT, previousHandler); }

namespace {

// The summary's words for how the solve ended; null when it ended with an
// error and no model status.
const char* statusText(int rc, int status) {
  switch (rc) {
    case QXERR_TIME_LIMIT: return "Time limit reached";
    case QXERR_ITER_LIMIT: return "Iteration limit reached";
    case QXERR_USER_INTERRUPT: return "Interrupted";
    case 0:
    case QXERR_NUMERIC_INSTABILITY: break;
    default: return nullptr;
  }
  switch (status) {
    case QX_STATUS_OPTIMAL:
    case QX_STATUS_BASIC_OPTIMAL: return "Optimal";
    case QX_STATUS_INFEASIBLE: return "Infeasible";
    case QX_STATUS_UNBOUNDED: return "Unbounded";
    case QX_STATUS_INFORUNB: return "Infeasible or unbounded";
    case QX_STATUS_CUTOFF: return "Cutoff";
    case QX_STATUS_NUMERICAL_ERROR: return "Numerical error";
    case QX_STATUS_FEASIBLE: return "Feasible";
    default: return rc == 0 ? "Unknown" : nullptr;
  }
}

}  // namespace

// Generated names follow the MPS writer's.
std::vector<std::string> names(QXmodel model, int count, bool rows) {
  int lenVars = 0, lenCons = 0;
  QXgetInfo(model, QX_IINFO_LEN_VARNAMES, &lenVars);
  QXgetInfo(model, QX_IINFO_LEN_CONNAMES, &lenCons);
  std::vector<char> buffer(static_cast<std::size_t>(std::max(lenVars, lenCons)) + 2);
  std::vector<std::string> out(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const int rc = rows ? QXgetConstraintNamei(model, k, buffer.data())
                        : QXgetVariableNamej(model, k, buffer.data());
    if (rc == 0 && buffer[0]) {
      out[static_cast<std::size_t>(k)] = buffer.data();
    } else {
      char generated[32];
      std::snprintf(generated, sizeof generated, rows ? "R%07d" : "C%07d", k);
      out[static_cast<std::size_t>(k)] = generated;
    }
  }
  return out;
}

int writeSolutionLines(QXmodel model, const std::string& path,
                       const std::vector<const std::vector<double>*>& columns,
                       const std::vector<const std::vector<double>*>& rows) {
  std::FILE* out = std::fopen(path.c_str(), "w");
  if (!out) {
    complain("cannot write the solution file %s", path.c_str());
    return kExitFile;
  }
  // One line per entry: the name, then the value of every vector of its group.
  auto writeGroup = [out](const std::vector<std::string>& labels,
                          const std::vector<const std::vector<double>*>& values) {
    for (std::size_t k = 0; k < labels.size(); ++k) {
      std::fputs(labels[k].c_str(), out);
      // Adding 0.0 turns a negative zero into a plain one.
      for (const std::vector<double>* v : values) std::fprintf(out, " %.17g", (*v)[k] + 0.0);
      std::fputc('\n', out);
    }
  };
  const int n = columns.empty() ? 0 : static_cast<int>(columns.front()->size());
  const int m = rows.empty() ? 0 : static_cast<int>(rows.front()->size());
  writeGroup(names(model, n, false), columns);
  writeGroup(names(model, m, true), rows);
  if (std::fclose(out) != 0) {
    complain("cannot write the solution file %s", path.c_str());
    return kExitFile;
  }
  std::printf("Wrote the solution to %s\n", path.c_str());
  return kExitOk;
}

namespace {

// Writes one line per column (name, value, reduced cost) and per row (name,
// slack, dual). Returns an Exit value.
int writeSolution(QXenv env, QXmodel model, const std::string& path) {
  int n = 0, m = 0;
  QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
  QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
  std::vector<double> x(static_cast<std::size_t>(n)), d(static_cast<std::size_t>(n));
  std::vector<double> s(static_cast<std::size_t>(m)), y(static_cast<std::size_t>(m));
  int rc = QXgetPrimalSolution(model, x.data());
  if (!rc) rc = QXgetReducedCosts(model, d.data());
  if (!rc) rc = QXgetSlacks(model, s.data());
  if (!rc) rc = QXgetDualSolution(model, y.data());
  if (rc) {
    complain("no solution to write to %s: %s", path.c_str(), errorText(env, rc).c_str());
    return kExitSolver;
  }
  return writeSolutionLines(model, path, {&x, &d}, {&s, &y});
}

// Makes every integer and binary column of model continuous (--relax).
int relaxIntegers(QXmodel model) {
  int n = 0;
  QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
  std::vector<char> types(static_cast<std::size_t>(n) + 1, 'C');
  if (int rc = QXgetVarType(model, types.data())) return rc;
  std::vector<int> vars;
  for (int j = 0; j < n; ++j)
    if (types[static_cast<std::size_t>(j)] == 'I' || types[static_cast<std::size_t>(j)] == 'B')
      vars.push_back(j);
  if (vars.empty()) return 0;
  const std::vector<char> continuous(vars.size(), 'C');
  return QXmodifyVariableType(model, static_cast<int>(vars.size()), vars.data(), continuous.data());
}

}  // namespace

int writeReport(QXenv env, QXmodel model, const Options& opts) {
  if (opts.report.empty()) return kExitOk;
  if (int rc2 = QXwriteSolution(model, opts.report.c_str())) {
    complain("cannot write the solution report %s: %s", opts.report.c_str(), errorText(env, rc2).c_str());
    return rc2 == QXERR_CANNOT_OPEN_FILE ? kExitFile : kExitSolver;
  }
  std::printf("Wrote the solution report to %s\n", opts.report.c_str());
  return kExitOk;
}

int solveModel(QXenv env, QXmodel model, const Options& opts) {
#ifdef RUNTORVA_HAVE_OPTIMIZE
  int nInt = 0, nBin = 0;
  QXgetInfo(model, QX_IINFO_NUM_INT, &nInt);
  QXgetInfo(model, QX_IINFO_NUM_BIN, &nBin);
  if (nInt + nBin > 0 && !opts.relax) return solveMipModel(env, model, opts);
  if (nInt + nBin > 0) {
    if (int rc = relaxIntegers(model)) {
      complain("--relax: %s", errorText(env, rc).c_str());
      return kExitLibrary;
    }
  }
  if (opts.quiet) {
    QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 0);
  } else {
    int level = 0;
    QXgetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, &level);
    if (level < 1) QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 1);
    QXsetModelLogfunc(model, printLog, nullptr);
  }
  if (opts.timeLimit >= 0.0) {
    if (int rc = QXsetModelDouParameter(model, QX_DPARAM_SOLVER_TIMLMT, opts.timeLimit)) {
      complain("--time-limit %g: %s", opts.timeLimit, errorText(env, rc).c_str());
      return kExitUsage;
    }
  }
  watchInterrupt(model);
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  const int rc = QXoptimize(model, opts.method, &status);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  restoreInterrupt();
  QXsetModelLogfunc(model, nullptr, nullptr);
  std::fputs("\n", stdout);
  const char* text = statusText(rc, status);
  if (!text) {
    complain("the solve failed: %s", errorText(env, rc).c_str());
    return kExitSolver;
  }
  double objective = NAN;
  int iterations = 0;
  QXgetInfo(model, QX_DINFO_POBJ, &objective);
  QXgetInfo(model, QX_IINFO_SIM_ITER, &iterations);
  std::printf("\nModel status : %s\n", text);
  std::printf("Objective value : %.10e\n", objective);
  std::printf("Simplex iterations : %d\n", iterations);
  std::printf("Solve time : %.2f\n", seconds);
  if (!opts.writeSolution.empty())
    if (int rc2 = writeSolution(env, model, opts.writeSolution)) return rc2;
  return writeReport(env, model, opts);
#else
  (void)model;
  (void)relaxIntegers;
  (void)writeSolution;
  (void)statusText;
  complain("this build of the library has no LP solver (QXoptimize); %s was read but not solved",
           opts.model.c_str());
  (void)env;
  return kExitSolver;
#endif
}

}  // namespace runtorva
