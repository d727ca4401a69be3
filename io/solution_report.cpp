#include "io/solution_report.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "base/model_log.hpp"
#include "base/version.hpp"
#include "io/text_io.hpp"

namespace torva {
namespace {

// Style values of QX_IPARAM_SOL_REPORT_STYLE.
constexpr int kStyleFull = 0;
constexpr int kStyleCompact = 1;
constexpr int kStyleFullRanges = 2;
// Narrowest name column.
constexpr int kMinNameWidth = 8;
// Values of at least this decimal exponent are written in exponent form.
constexpr double kExponentFormDigits = 11.0;

// One value in a 22-character field.
std::string num22(double v) {
  char text[64];
  if (std::fabs(v) > 1.0 && std::log10(std::fabs(v)) >= kExponentFormDigits)
    std::snprintf(text, sizeof text, "%22.14e", v);
  else
    std::snprintf(text, sizeof text, "%22.9f", v);
  return text;
}

bool goodMipStatus(int s) { return s == 1 || s == 2 || s == 5; }

int mipStatusOf(const MipSolution& mip) { return mip.statusOverride ? mip.statusOverride : mip.status; }

std::string nameOf(const NamePool& pool, int i, char prefix) {
  if (pool.present() && i < pool.count() && !pool.view(i).empty()) return std::string(pool.view(i));
  char text[32];
  std::snprintf(text, sizeof text, "%c%07d", prefix, i);
  return text;
}

int widthOf(const NamePool& pool) {
  int w = kMinNameWidth;
  if (pool.present())
    for (int i = 0; i < pool.count(); ++i) w = std::max(w, static_cast<int>(pool.view(i).size()));
  return w;
}

// Row activities a_i x of the stored matrix.
std::vector<double> activities(const ModelData& d, const std::vector<double>& x) {
  std::vector<double> ax(static_cast<std::size_t>(d.m), 0.0);
  for (int j = 0; j < d.n && j < static_cast<int>(x.size()); ++j)
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k) ax[d.rowIdx[k]] += d.value[k] * x[j];
  return ax;
}

const char* basisWord(int status) {
  if (status >= 0) return "QX_BASTYPE_BAS ";
  switch (status) {
    case kBasisAtLower: return "QX_BASTYPE_ATLO";
    case kBasisAtUpper: return "QX_BASTYPE_ATUP";
    case kBasisFreeAtZero: return "QX_BASTYPE_FNUL";
    default: return "QX_BASTYPE_SBAS";
  }
}

class Report {
 public:
  Report(Model& model, int type) : model_(model), d_(model.data), type_(type) {}
  int run(const char* filename);

 private:
  std::string classWord() const;
  void banner();
  int continuous();
  int mip();
  void counters(const MipSolution& mip);
  void objective(double value);
  // One section of names with two value columns and, optionally, statuses.
  void section(bool variables, const std::vector<double>& value, const std::vector<double>& second,
               const std::vector<int>* status);
  void ranges();
  int compact();

  Model& model_;
  const ModelData& d_;
  int type_;
  TextSink* out_ = nullptr;
  std::vector<double> work_;  // n + 2m doubles: values, slacks, duals
};

std::string Report::classWord() const {
  const bool mipType = type_ == kReportMip;
  std::string word = mipType ? "MILP" : type_ == kReportLpBarrier ? "LP_IPM" : "LP";
  if (d_.hasQuadratic()) word = mipType ? "MIQC" : "QC";
  if (d_.hasCones()) word = mipType ? "MICONIC" : "CONIC";
  return word;
}

void Report::banner() {
  char version[64] = "", built[64] = "";
  versionInfo(version, built);
  out_->put("* -----------------------------------------------------------------");
  out_->put("\n*                    SOLUTION REPORT                               ");
  out_->put("\n* ");
  out_->printf("\n* TORVA API Version %s built on %s\n*", version, built);
  out_->put("\n* -----------------------------------------------------------------");
  out_->put("\n* \n");
}

void Report::objective(double value) {
  out_->put("*   OBJECTIVE FUNCTION VALUE\n* \n");
  out_->printf("*    1)      %s\n* \n", num22(value).c_str());
}

void Report::section(bool variables, const std::vector<double>& value,
                     const std::vector<double>& second, const std::vector<int>* status) {
  const int count = variables ? d_.n : d_.m;
  const int w = widthOf(variables ? d_.varNames : d_.conNames);
  char headFmt[32], rowFmt[32];
  std::snprintf(headFmt, sizeof headFmt, "*   %%-%ds", w);
  std::snprintf(rowFmt, sizeof rowFmt, "   %%-%ds", w);
  out_->printf(headFmt, variables ? "VARIABLES" : "CONSTRAINTS");
  const char* valueTitle = variables ? "VALUE" : "SLACK OR SURPLUS";
  const char* secondTitle = variables ? "REDUCED COST" : "DUAL PRICES";
  if (status)
    out_->printf(" %22s   %22s  %22s\n\n", valueTitle, secondTitle, "BASIS STATUS");
  else
    out_->printf(" %22s   %22s   \n\n", valueTitle, secondTitle);
  for (int i = 0; i < count; ++i) {
    out_->printf(rowFmt, nameOf(variables ? d_.varNames : d_.conNames, i, variables ? 'C' : 'R').c_str());
    const std::string a = i < static_cast<int>(value.size()) ? num22(value[i]) : num22(0.0);
    const std::string b = i < static_cast<int>(second.size()) ? num22(second[i]) : std::string(19, ' ') + "NON";
    if (status)
      out_->printf(" %s   %s  %22s\n", a.c_str(), b.c_str(), basisWord((*status)[i]));
    else
      out_->printf(" %s   %s   \n", a.c_str(), b.c_str());
  }
  out_->put("\n");
}

void Report::ranges() {
  // No range analysis is available yet: the sections carry their headers only.
  const int wv = widthOf(d_.varNames), wc = widthOf(d_.conNames);
  out_->printf("\n*\n* OBJECTIVE COEFFICIENT RANGES (%g secs)\n*\n", 0.0);
  out_->printf("*   %-*s %22s   %22s   %22s\n", wv, "", "CURRENT", "ALLOWABLE", "ALLOWABLE");
  out_->printf("*   %-*s %22s   %22s   %22s\n", wv, "VARIABLES", "COEFF.", "DECREASE", "INCREASE");
  out_->printf("\n*\n* RIGHTHAND SIDE RANGES (%g secs)\n*\n", 0.0);
  out_->printf("*   %-*s %22s   %22s   %22s\n", wc, "", "CURRENT", "ALLOWABLE", "ALLOWABLE");
  out_->printf("*   %-*s %22s   %22s   %22s\n", wc, "CONSTRAINTS", "RHS", "DECREASE", "INCREASE");
}

int Report::continuous() {
  const LpSolution& lp = *model_.lpSolution;
  const int st = lp.modelStatus;
  if (st == QX_STATUS_UNLOADED || st == QX_STATUS_LOADED) return QXERR_INFO_NOT_AVAILABLE;
  const std::string word = classWord();
  if (d_.title.empty()) out_->put("* PROBLEM NAME\n* \n");
  else out_->printf("* PROBLEM NAME     %s\n* \n", d_.title.c_str());
  const bool good = st == 1 || st == 2 || st == 5 || st == 8;
  if (st == 3 || st == 9) out_->printf("*   %s SOLUTION INFEASIBLE\n* \n", word.c_str());
  else if (st == 4) out_->printf("*   %s SOLUTION UNBOUNDED\n* \n", word.c_str());
  else if (!good) out_->printf("*   %s SOLUTION MAY BE NONOPTIMAL\n* \n", word.c_str());
  if (good) {
    if (st == 8) out_->printf("*   %s LOCAL OPTIMUM FOUND\n* \n", word.c_str());
    else if (st != 5) out_->printf("*   %s GLOBAL OPTIMUM FOUND\n* \n", word.c_str());
    out_->printf("*   ITERATIONS BY SIMPLEX METHOD = %11d\n", lp.simplexIters);
    out_->printf("*   ITERATIONS BY BARRIER METHOD = %11d\n", lp.barrierIters);
    out_->printf("*   ITERATIONS BY NLP METHOD     = %11d\n", lp.nlpIters);
    out_->printf("*   TIME ELAPSED (s)             = %11d\n* \n", lp.elapsedTime);
  }
  objective(lp.primalObj);
  const bool basis = static_cast<int>(lp.colStatus.size()) >= d_.n &&
                     static_cast<int>(lp.rowStatus.size()) >= d_.m && !d_.hasQuadratic() &&
                     !d_.hasCones();
  section(true, lp.x, lp.d, basis ? &lp.colStatus : nullptr);
  std::vector<double> slack = lp.s;
  if (slack.empty() && !lp.x.empty()) {
    const std::vector<double> ax = activities(d_, lp.x);
    slack.resize(ax.size());
    for (int i = 0; i < d_.m; ++i) slack[i] = d_.rhs[i] - ax[i];
  }
  section(false, slack, lp.y, basis ? &lp.rowStatus : nullptr);
  if (model_.params.intValue(QX_IPARAM_SOL_REPORT_STYLE) == kStyleFullRanges) ranges();
  return 0;
}

void Report::counters(const MipSolution& mip) {
  out_->printf("*   ITERATIONS BY SIMPLEX METHOD    = %11g\n", static_cast<double>(mip.simplexIters));
  out_->printf("*   ITERATIONS BY BARRIER METHOD    = %11g\n", static_cast<double>(mip.barrierIters));
  out_->printf("*   ITERATIONS BY NLP METHOD        = %11g\n", static_cast<double>(mip.nlpIters));
  out_->printf("*   TOTAL BRANCHES CREATED          = %11d\n", mip.branchCount);
  out_->printf("*   TOTAL NUMBER OF LPs SOLVED      = %11d\n", mip.lpCount);
  // The search keeps no per-family cut counts in its record yet: they read 0.
  static const char* const kCuts[] = {
      "CONTRA CUTS          ", "OBJECTIVE CUTS       ", "GUB CUTS             ",
      "LIFTING CUTS         ", "FLOW COVER CUTS      ", "GOMORY CUTS          ",
      "GCD CUTS             ", "CLIQUE CUTS          ", "DISAGGREGATION CUTS  ",
      "PLANT LOCATION CUTS  ", "LATTICE CUTS         ", "COEFF. REDUCTION CUTS"};
  int total = 0;
  for (const char* cut : kCuts) out_->printf("*   NUMBER OF %s = %11d\n", cut, 0);
  out_->printf("*   TOTAL NUMBER OF CUTS GENERATED  = %11d\n* \n", total);
}

int Report::mip() {
  const MipSolution& mip = *model_.mipSolution;
  const int st = mipStatusOf(mip);
  if (!(st == 1 || st == 2 || st == 3 || st == 4 || st == 5 || st == 8)) return QXERR_INFO_NOT_AVAILABLE;
  const std::string word = classWord();
  if (d_.title.empty()) out_->put("*  PROBLEM NAME\n* \n");
  else out_->printf("*  PROBLEM NAME     %s\n* \n", d_.title.c_str());
  if (st == 1 || st == 2) out_->printf("*   %s GLOBAL OPTIMUM FOUND\n* \n", word.c_str());
  else if (st == 8) out_->printf("*   %s LOCAL OPTIMUM FOUND\n* \n", word.c_str());
  else if (st == 3) out_->printf("*   %s SOLUTION INFEASIBLE\n* \n", word.c_str());
  else if (st == 4) out_->printf("*   %s SOLUTION UNBOUNDED\n* \n", word.c_str());
  else out_->printf("*   %s SOLUTION MAY BE NONOPTIMAL\n* \n", word.c_str());
  if (st == 1 || st == 2 || st == 8) counters(mip);
  objective(mip.objective);
  std::vector<double> reduced = mip.d, duals = mip.y;
  if (model_.params.intValue(QX_IPARAM_MIP_DUAL_SOLUTION) == 1) {
    // The dual solution of the MIP is that of its final relaxation with the
    // integers fixed; the search leaves it in the record when it has one.
    if (wantsLog(model_, 1)) logLine(model_, "\nComputing dual solution.\n\n");
    if (reduced.empty() || duals.empty()) {
      out_->printf("\n*  Error %d in computing dual solution.\n", QXERR_INFO_NOT_AVAILABLE);
      out_->put("*  Computation of dual solution is skipped.\n* \n");
    }
  }
  section(true, mip.x, reduced, nullptr);
  std::vector<double> slack = mip.s;
  if (slack.empty()) {
    const std::vector<double> ax = activities(d_, mip.x);
    slack.resize(ax.size());
    for (int i = 0; i < d_.m; ++i) slack[i] = d_.rhs[i] - ax[i];
  }
  section(false, slack, duals, nullptr);
  return 0;
}

int Report::compact() {
  // Layout: status code, objective, dimensions, then one primal value a line.
  const bool mipType = type_ == kReportMipCompact;
  int code = 0;
  double obj = 0.0;
  const std::vector<double>* x = nullptr;
  if (mipType) {
    code = 1;  // only the good MIP statuses reach here
    obj = model_.mipSolution->objective;
    x = &model_.mipSolution->x;
  } else {
    const int st = model_.lpSolution->modelStatus;
    code = (st == 1 || st == 2 || st == 5 || st == 8) ? 1 : (st == 3 || st == 9) ? 2 : st == 4 ? 3 : 0;
    obj = model_.lpSolution->primalObj;
    x = &model_.lpSolution->x;
  }
  out_->printf("STATUS %d\nOBJECTIVE %.16g\nROWS %d\nCOLUMNS %d\n", code, obj, d_.m, d_.n);
  for (int j = 0; j < d_.n; ++j)
    out_->printf("%.16g\n", j < static_cast<int>(x->size()) ? (*x)[j] : 0.0);
  return 0;
}

int Report::run(const char* filename) {
  const bool logs = model_.logFunc && model_.params.intValue(QX_IPARAM_NLP_PRINTLEVEL) +
                                              model_.params.intValue(QX_IPARAM_LP_PRINTLEVEL) > 0;
  const bool compactForm = type_ == kReportLpCompact || type_ == kReportMipCompact;
  if (!compactForm && logs) logLine(model_, "\n\nWriting model solution.\n");
  const bool mipType = type_ == kReportMip || type_ == kReportMipCompact;
  if (mipType ? !model_.mipSolution : !model_.lpSolution) return QXERR_INFO_NOT_AVAILABLE;
  if (type_ == kReportLpCompact) {
    const int st = model_.lpSolution->modelStatus;
    if (st == QX_STATUS_UNLOADED || st == QX_STATUS_LOADED) return QXERR_INFO_NOT_AVAILABLE;
  }
  if (type_ == kReportMipCompact && !goodMipStatus(mipStatusOf(*model_.mipSolution)))
    return QXERR_INFO_NOT_AVAILABLE;
  work_.assign(static_cast<std::size_t>(d_.n) + 2 * static_cast<std::size_t>(d_.m), 0.0);
  TextSink out{std::string(filename)};
  if (!out.ok()) return QXERR_CANNOT_OPEN_FILE;
  out_ = &out;
  int rc = 0;
  if (compactForm) {
    rc = compact();
  } else {
    banner();
    rc = mipType ? mip() : continuous();
    if (rc) {
      const char* text = model_.env ? model_.env->messages.text(rc) : nullptr;
      out.printf("\n*  Error %d occured while writing solution report.\n", rc);
      out.printf("*  Error Message: %s.\n", text ? text : "");
      if (logs) logLine(model_, "\nError %d: %s\n", rc, text ? text : "");
    }
    out.put("\n* END OF REPORT\n");
  }
  if (!out.close() && rc == 0) rc = QXERR_CANNOT_OPEN_FILE;
  return rc;
}

}  // namespace

int writeSolutionReport(Model& model, const char* filename, int type) {
  if (type < 0 || type > kReportMipCompact) return 0;
  if (!filename) return QXERR_ILLEGAL_NULL_POINTER;
  Report report(model, type);
  return report.run(filename);
}

int writeSolutionReportByStyle(Model& model, const char* filename) {
  const int style = model.params.intValue(QX_IPARAM_SOL_REPORT_STYLE);
  if (style == kStyleFull || style == kStyleFullRanges)
    return writeSolutionReport(model, filename, model.mipSolution ? kReportMip : kReportLp);
  if (style == kStyleCompact)
    return writeSolutionReport(model, filename,
                               model.mipSolution ? kReportMipCompact : kReportLpCompact);
  return QXERR_INTERNAL_ERROR;
}

}  // namespace torva
