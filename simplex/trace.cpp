// Trace output of the simplex: the prefixed trace lines, the state line of
// each refactorisation request, and the iteration log in its standard and
// trace formats.
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <regex>
#include <string>

#include "base/log.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

// Return values a failed method run reports in its trace.
constexpr int kReturnOutOfMemory = 2;
constexpr int kReturnNumerical = 3;

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

// Trace formats of the iteration log, selected by the lowest set bit of the
// trace mask: column names and the line (the method letter is its first
// character after the newline).
struct TraceFormat {
  int bit;
  std::vector<const char*> columns;
  const char* line;
};

const std::vector<TraceFormat>& traceFormats() {
  static const std::vector<TraceFormat> formats = {
      {1, {"#Fct", "#Iter", "#Pinf", "#Dinf", "TRUE-OBJ", "||Ax-b||", "||yA-c||", "BHash"},
       "\n%c%6d %8.0f %8d %6d %18.10e %14.6e %14.6e %16llx"},
      {2,
       {"#Fct", "#Iter", "#Degit", "#Tries", "#Shft", "#Pinf", "#Dinf", "PERT-OBJ", "TRUE-OBJ", "||Ax-b||",
        "||yA-c||", "#ni", "#nw", "#nb", "Time", "PER"},
       "\n%c%6d %8.0f %8d %6d %6d %6d %6d %18.10e %18.10e %14.6e %14.6e [%3d,%3d,%3d] %8.2f %3d"},
      {8,
       {"#Fct", "#Iter", "#Degit", "#Unnz", "#Lnnz", "#Pnnz", "#Pinf", "#Dinf", "PERT-OBJ", "TRUE-OBJ", "||Ax-b||",
        "||yA-c||", "#ni", "#nw", "#nb", "Time", "PER"},
       "\n%c%6d %8.0f %8d %6d %6d %6d %6d %6d %18.10e %18.10e %14.6e %14.6e [%3d,%3d,%3d] %8.2f %3d"},
      {16,
       {"#Fct", "#Iter", "#Pinf", "#Dinf", "Ginf2", "PERT-OBJ", "TRUE-OBJ", "||Ax-b||", "||yA-c||", "#ni", "#nw",
        "|Pert|"},
       "\n%c%6d %8.0f %8d %6d %6d %18.10e %18.10e %14.6e %14.6e [%3d,%3d] %12e"},
      {32, {"#Fct", "#Iter", "#Degit", "SWING", "#Pinf", "#Dinf", "OBJ", "DSTEP(MRAT)", "PIVCOE(.)", "#ni", "#nw"},
       "\n%c%6d %8.0f %8d %6d %6d %6d %16.8e %16.8e %16.8e[%3d,%3d]"},
      {64,
       {"#Fct", "#Iter", "#Degit", "ceps", "reps", "#Pinf", "#Dinf", "OBJROW", "TRUE-OBJ", "||Ax-b||", "#ni", "#nw"},
       "\n%c%6d %8.0f %8d %8.1e %8.1e %6d %6d %18.10e %18.10e %14.6e [%3d,%3d]"},
      {128,
       {"#Fct", "#Iter", "#Degit", "ceps", "reps", "#Pinf", "#Dinf", "|shift|", "TRUE-OBJ", "||Ax-b||", "#sb",
        "#sn"},
       "\n%c%6d %8.0f %8d %8.1e %8.1e %6d %6d %18.10e %18.10e %14.6e [%6d,%6d]"},
  };
  return formats;
}

// The format of a trace mask: its lowest set bit among the formats (bit 4
// shares the format of bit 2); bit 1 when none is set.
const TraceFormat& formatOf(int mask) {
  const std::vector<TraceFormat>& f = traceFormats();
  for (int bit = 1; bit <= 128; bit <<= 1) {
    if (!(mask & bit)) continue;
    const int want = bit == 4 ? 2 : bit;
    for (const TraceFormat& t : f)
      if (t.bit == want) return t;
  }
  return f.front();
}

// The header of a format: every conversion becomes a string of its width,
// the method letter a blank.
std::string headerOf(const TraceFormat& t) {
  std::string h = std::regex_replace(t.line, std::regex("%c"), " ");
  h = std::regex_replace(h, std::regex("%(-?[0-9]+)(\\.[0-9]+)?(ll)?[a-z]"), "%$1s");
  std::string out;
  std::size_t col = 0, p = 0;
  while (p < h.size()) {
    if (h[p] == '%' && p + 1 < h.size()) {
      std::size_t e = h.find('s', p);
      const std::string spec = h.substr(p, e - p + 1);
      out += format(spec.c_str(), col < t.columns.size() ? t.columns[col] : "");
      ++col;
      p = e + 1;
    } else {
      out += h[p++];
    }
  }
  return out;
}

// Header lines of the trace are repeated after this many lines.
constexpr int kTraceHeaderEvery = 30;
// Trace-mask bit that prints the header once only.
constexpr int kTraceHeaderOnce = 65536;

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

void SimplexWork::Impl::logIteration(bool header) {
  if (tracing()) {
    logTraceIteration(header);
    return;
  }
  if (!logging(1)) return;
  if (header)
    log("\n%12s %6s %18s %17s %17s %7s %12s %4s", "Iter", "Deg(%)", methodChar == 'D' ? "Dual obj" : "Prim obj",
        "Prim inf", "Dual inf", "Ninf", "Time", "   ");
  int npinf = 0;
  const double pinf = sumPrimalInfeas(&npinf, nullptr);
  double dinf = 0.0;
  dualInfeasCount(&dinf);
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - ctx->start).count();
  const double deg = iterations > 0 ? 100.0 * degenerate / iterations : 0.0;
  const std::string obj = format("%18.10e", lp.sense * objective() + lp.objConst);
  const std::string pi = format("%17.6e", pinf);
  const std::string di = format("%17.6e", dinf);
  const std::string tm = format("%12.2f", elapsed);
  log("\n%12g %6.2f %s %s %s %7d %s %4s", totalIterations, deg, obj.c_str(), pi.c_str(), di.c_str(), npinf,
      tm.c_str(), methodChar == 'D' ? "(D)" : "(P)");
}

void SimplexWork::Impl::logTraceIteration(bool header) {
  const TraceFormat& t = formatOf(ctx->traceMask);
  if (header) {
    prog.traceLines = 0;
    return;  // printed with the first line
  }
  if (prog.traceLines == 0 || (prog.traceLines >= kTraceHeaderEvery && !(ctx->traceMask & kTraceHeaderOnce))) {
    log("%s", headerOf(t).c_str());
    prog.traceLines = 0;
  }
  ++prog.traceLines;

  int npinf = 0;
  double maxInf = 0.0;
  const double pinf = sumPrimalInfeas(&npinf, &maxInf);
  (void)pinf;
  // Gross infeasibilities: beyond the largest feasibility tolerance allowed.
  int gross = 0;
  for (int k = 0; k < m; ++k) gross += primalInfeasOf(k) > opt.maxFeasTol;
  double dsum = 0.0, dmax = 0.0;
  const int ndinf = dualInfeasCount(&dsum);
  for (int j = 0; j < nt; ++j) {
    if (pos[j] >= 0 || lower[j] == upper[j]) continue;
    if (at[j] == kAtLower) dmax = std::max(dmax, -d[j]);
    if (at[j] == kAtUpper) dmax = std::max(dmax, d[j]);
    if (at[j] == kAtZero) dmax = std::max(dmax, std::fabs(d[j]));
  }
  // Largest residual of A x + s = b.
  std::vector<double> r(rhs);
  for (int j = 0; j < n; ++j)
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) r[lp.rowIndex[p]] -= lp.colValue[p] * x[j];
  double axb = 0.0;
  for (int i = 0; i < m; ++i) axb = std::max(axb, std::fabs(r[i] - x[n + i]));
  double trueObj = 0.0;
  for (int j = 0; j < nt; ++j) trueObj += lp.cost[j] * x[j];
  trueObj = lp.sense * trueObj + lp.objConst;
  const double pertObj = lp.sense * objective() + lp.objConst;
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - ctx->start).count();
  const int ni = static_cast<int>(bl.rejectedList.size()), nw = bl.recoveries, nb = bl.fallbackRestores;
  const int shifts = static_cast<int>(pert.shifted.size());
  int sb = 0;
  for (int j : pert.shifted) sb += pos[j] >= 0;
  const char mc = methodChar;
  const int fct = factorCount, deg = degenerate;
  const double it = totalIterations;
  switch (t.bit) {
    case 1:
      log(t.line, mc, fct, it, npinf, ndinf, trueObj, axb, dmax,
          static_cast<unsigned long long>(LuKernel::basisHash(basicVar)));
      break;
    case 2:
      log(t.line, mc, fct, it, deg, ni, shifts, npinf, ndinf, pertObj, trueObj, axb, dmax, ni, nw, nb, elapsed,
          pert.count);
      break;
    case 8:
      log(t.line, mc, fct, it, deg, static_cast<int>(bl.unnz), static_cast<int>(bl.lnnz),
          static_cast<int>(lu ? lu->nnzR() : 0), npinf, ndinf, pertObj, trueObj, axb, dmax, ni, nw, nb, elapsed,
          pert.count);
      break;
    case 16: log(t.line, mc, fct, it, npinf, ndinf, gross, pertObj, trueObj, axb, dmax, ni, nw, pert.size); break;
    case 32: log(t.line, mc, fct, it, deg, bl.rolls, npinf, ndinf, trueObj, lastStep, lastPivot, ni, nw); break;
    case 64: log(t.line, mc, fct, it, deg, dualTol, primalTol, npinf, ndinf, pertObj, trueObj, axb, ni, nw); break;
    default: log(t.line, mc, fct, it, deg, dualTol, primalTol, npinf, ndinf, pert.size, trueObj, axb, sb, shifts - sb); break;
  }
}

}  // namespace torva::simplex

namespace torva::simplex {

void SimplexWork::Impl::logRunStats() const {
  const RunStats& s = stats;
  const auto avg = [](double sum, long long count) { return count > 0 ? sum / static_cast<double>(count) : 0.0; };
  const auto share = [](double part, double whole) { return whole > 0.0 ? part / whole : 0.0; };
  const double factors = factorCount;
  // Nonzeros of the factors against those of the basis matrix.
  double basisNnz = 0.0;
  for (const int j : basicVar) basisNnz += j < n ? lp.colStart[j + 1] - lp.colStart[j] : 1;
  const long long lnz = lu ? lu->nnzL() : 0, unz = lu ? lu->nnzU() : 0, pnz = lu ? lu->nnzR() : 0;
  // The current interval when it has pivots, else the one before.
  const double pcolal = s.colCount > 0 ? s.colSum / s.colCount : s.lastPcolal;
  const double prowal = s.rowCount > 0 ? s.rowSum / s.rowCount : s.lastProwal;
  const auto i32 = [](long long v) { return static_cast<int>(v); };
  log("\ncalls to full-pricer= %8d (%.1f iters per full-price)", i32(s.fullPrices), avg(iterations, s.fullPrices));
  log("\ncalls to nrdcdiff   = %8d (%.1f per factor)", i32(s.dualRecomputes), share(s.dualRecomputes, factors));
  log("\niters/fact          = %8g", share(iterations, factors));
  log("\nlnonz               = %8d (%4.2f)", i32(lnz), share(lnz, basisNnz));
  log("\nunonz               = %8d (%4.2f)", i32(unz), share(unz, basisNnz));
  log("\npnonz               = %8d (%4.2f)", i32(pnz), share(pnz, basisNnz));
  log("\npcolal (last fact.) = %8.1f/%-8d (%4.2f)", pcolal, m, share(pcolal, m));
  log("\nprowal (last fact.) = %8.1f/%-8d (%4.2f)", prowal, nt, share(prowal, nt));
  log("\npivcol (s/d)        = %8d/%-8d", i32(s.pivcol[0]), i32(s.pivcol[1]));
  log("\npivcol.len (avr)    = %8.1f/%-8d", avg(s.pivcolLen, s.pivcol[0] + s.pivcol[1]), m);
  log("\npivrow (s/d)        = %8d/%-8d", i32(s.pivrow[0]), i32(s.pivrow[1]));
  log("\npivrow.len (avr)    = %8.1f/%-8d", avg(s.pivrowLen, s.pivrow[0] + s.pivrow[1]), nt);
  log("\nbinvi  (s/d)        = %8d/%-8d", i32(s.binvi[0]), i32(s.binvi[1]));
  log("\nbinvi (avr)         = %8.1f/%-8d", avg(s.binviLen, s.binvi[0] + s.binvi[1]), m);
  log("\nbinvi-f (avr)       = %8.1f/%-8d", avg(s.binviFLen, s.binviF), m);
  log("\nblist  (s/d)        = %8d/%-8d", i32(s.blist[0]), i32(s.blist[1]));
  if (opt.luProfile != 0) {
    log("\nfactor time (s)     = %8.3f (%d calls)", s.factorSeconds, i32(s.factorTimed));
    log("\nupdate time (s)     = %8.3f (%d calls)", s.updateSeconds, i32(s.updateTimed));
  }
}

// Every run of a method ends here: a change of the outcome is traced with
// the state of the point, and a run that failed says why (return value 2
// out of memory, 3 numerical trouble).
int SimplexWork::Impl::methodExit(int result) {
  if (tracing()) {
    if (error == kErrNumerical) {
      traceLine("**Numeric difficulty (rtnval:%d).", kReturnNumerical);
      traceLine(" numerical difficulties");
    } else if (error == kErrOutOfMemory) {
      traceLine("**Out of memory (rtnval:%d).", kReturnOutOfMemory);
    }
    if (result != outcome) {
      int npinf = 0;
      sumPrimalInfeas(&npinf, nullptr);
      const int ndinf = dualInfeasCount(nullptr);
      const PivotRecord last = bl.history.empty() ? PivotRecord{} : bl.history.back();
      traceLine(" new xstat:%d (cur:%d), fiter=%d, npinf=%d, ndinf=%d(%d), pivj=%d, pivi=%d, vleave=%d, pvteps=%g, "
                "file=%s(%d) %s%s",
                result, outcome, updates, npinf, ndinf, static_cast<int>(bl.rejectedList.size()), last.entering, last.row, last.leaving,
                pivTol, __FILE_NAME__, __LINE__, npinf == 0 ? "(PF)" : "", ndinf == 0 ? "(DF)" : "");
    }
  }
  outcome = result;
  return result;
}

int SimplexWork::Impl::runPrimal() { return methodExit(runPrimalMethod()); }

int SimplexWork::Impl::runDual(bool reopt) { return methodExit(runDualMethod(reopt)); }

}  // namespace torva::simplex
