// The parameter registry: one row per parameter, the single place where its
// identifier, macro name, value type, scope, default, reported range and
// setter rule are written. Storage layout, the documentation tables, the
// range queries and the genetic-algorithm descriptor array are all derived
// from this table. Rows take identifier and name from the public header's
// macro (TORVA_ID); the build checks that every macro of the header has a row.
//
// Include only from the parameter implementation and its tests; other code
// uses base/params.hpp.
#pragma once

#include <cfloat>
#include <cstdint>

#include "base/param_id.hpp"

namespace torva {

enum class ParamType : std::uint8_t { Int, Dou, Str };

// Scope bits: which level holds the parameter.
inline constexpr std::uint8_t kScopeEnv = 1;
inline constexpr std::uint8_t kScopeModel = 2;
inline constexpr std::uint8_t kScopeBoth = 3;

// How a setter validates a value. The reported range (QXget*ParameterRange)
// is documentation; most setters only refuse what would break a solver.
enum class SetRule : std::uint8_t {
  Range,         // lo <= v <= hi of the reported range
  Lower,         // v >= lo (counts, levels, bit masks, limits with -1 = none)
  Tol,           // lo <= v < 1 (tolerances: never below the reported minimum)
  Any,           // any value that is a number
  Custom,        // setLo <= v <= setHi
  ReadOnly,      // never settable (2011)
  NotSupported,  // setting is refused with 2029
  ObjSense,      // only QX_MIN or QX_MAX (2007)
  Ga,            // descriptor-driven: [lo, hi] or exactly the default
};

struct ParamDef {
  int id;
  const char* name;
  ParamType type;
  std::uint8_t scope;
  double def;            // default value (ints exactly representable)
  bool explicitRange;    // false: the default range rule applies
  double lo;             // reported minimum (explicit ranges and GA rows)
  double hi;             // reported maximum
  SetRule rule;
  double setLo;          // Custom rule bounds
  double setHi;
  const char* defName;   // macro the default stands for, or nullptr
};

inline constexpr double kIntMax = 2147483647.0;
inline constexpr double kInf = 1e30;

// Reported range of a parameter without an explicit row.
inline constexpr double kDefaultIntLo = 0.0;
inline constexpr double kDefaultIntHi = kIntMax;
inline constexpr double kDefaultDouLo = -1.0;
inline constexpr double kDefaultDouHi = kInf;

namespace paramrow {
using enum SetRule;

// int, both levels, explicit range
constexpr ParamDef I(int id, const char* n, double def, double lo, double hi, SetRule r,
                     const char* defName = nullptr) {
  return {id, n, ParamType::Int, kScopeBoth, def, true, lo, hi, r, 0, 0, defName};
}
// int, both levels, default range rule
constexpr ParamDef Idr(int id, const char* n, double def, SetRule r) {
  return {id, n, ParamType::Int, kScopeBoth, def, false, kDefaultIntLo, kDefaultIntHi, r, 0, 0,
          nullptr};
}
// int, model level only
constexpr ParamDef Im(int id, const char* n, double def, double lo, double hi, SetRule r) {
  return {id, n, ParamType::Int, kScopeModel, def, true, lo, hi, r, 0, 0, nullptr};
}
// int with a setter wider than the reported range
constexpr ParamDef Ic(int id, const char* n, double def, double lo, double hi, double setLo,
                      double setHi) {
  return {id, n, ParamType::Int, kScopeBoth, def, true, lo, hi, Custom, setLo, setHi, nullptr};
}
// double, both levels, explicit range
constexpr ParamDef D(int id, const char* n, double def, double lo, double hi, SetRule r) {
  return {id, n, ParamType::Dou, kScopeBoth, def, true, lo, hi, r, 0, 0, nullptr};
}
// double with a setter wider than the reported range
constexpr ParamDef Dc(int id, const char* n, double def, double lo, double hi, double setLo,
                      double setHi) {
  return {id, n, ParamType::Dou, kScopeBoth, def, true, lo, hi, Custom, setLo, setHi, nullptr};
}
// double, both levels, default range rule
constexpr ParamDef Ddr(int id, const char* n, double def, SetRule r) {
  return {id, n, ParamType::Dou, kScopeBoth, def, false, kDefaultDouLo, kDefaultDouHi, r, 0, 0,
          nullptr};
}
// double, model level only
constexpr ParamDef Dm(int id, const char* n, double def, double lo, double hi, SetRule r) {
  return {id, n, ParamType::Dou, kScopeModel, def, true, lo, hi, r, 0, 0, nullptr};
}
// string (stochastic name formats)
constexpr ParamDef S(int id, const char* n) {
  return {id, n, ParamType::Str, kScopeBoth, 0, false, 0, 0, Any, 0, 0, nullptr};
}
// descriptor-driven (genetic algorithm), int or double by the name
constexpr ParamDef Gi(int id, const char* n, double lo, double hi, double def) {
  return {id, n, ParamType::Int, kScopeBoth, def, true, lo, hi, Ga, 0, 0, nullptr};
}
constexpr ParamDef Gd(int id, const char* n, double lo, double hi, double def) {
  return {id, n, ParamType::Dou, kScopeBoth, def, true, lo, hi, Ga, 0, 0, nullptr};
}

// Library version reported by the read-only version parameters.
inline constexpr double kVerMajor = 10, kVerMinor = 0, kVerBuild = 2438, kVerRevision = 85;
inline constexpr double kVerNumber = kVerMajor * 100 + kVerMinor;

// Values of option macros used as defaults (owned by the parts that read them).
inline constexpr double kMethodFree = 0;       // QX_METHOD_FREE
inline constexpr double kMpsUseMaxFlip = 2;    // QX_MPS_USE_MAX_FLIP
inline constexpr double kMtModeFree = -1;      // QX_MTMODE_FREE
inline constexpr double kIisDefault = 0;       // QX_IIS_DEFAULT
inline constexpr double kMethodStocFree = -1;  // QX_METHOD_STOC_FREE
inline constexpr double kDeteqFree = -1;       // QX_DETEQ_FREE
inline constexpr double kLatinSquare = 1;      // QX_LATINSQUARE
inline constexpr double kCorrPearson = 0;      // QX_CORR_PEARSON
inline constexpr double kScenAvrg = -2;        // QX_SCEN_AVRG
inline constexpr double kRawCopy = 0;          // QX_RAW_COPY

inline constexpr double M = kIntMax;
inline constexpr double F = kInf;
inline constexpr double kHalfTol = 0.49999999999999;
inline constexpr double kHalfTol2 = 0.4999999999;
inline constexpr double kRelTol = 0.999999999;
inline constexpr double kRelTol6 = 0.999999;
inline constexpr double kEps = 2.220446049250313e-16;

constexpr ParamDef named(ParamDef d, const char* defName) {
  d.defName = defName;
  return d;
}

}  // namespace paramrow

namespace paramrow {

// Every parameter, in identifier order.
inline constexpr ParamDef kParamTable[] = {
    // ---- library version (read only) ----
    I(TORVA_ID(QX_IPARAM_VER_MAJOR), kVerMajor, kVerMajor, kVerMajor, ReadOnly),
    I(TORVA_ID(QX_IPARAM_VER_MINOR), kVerMinor, kVerMinor, kVerMinor, ReadOnly),
    I(TORVA_ID(QX_IPARAM_VER_BUILD), kVerBuild, kVerBuild, kVerBuild, ReadOnly),
    I(TORVA_ID(QX_IPARAM_VER_REVISION), kVerRevision, kVerRevision, kVerRevision, ReadOnly),
    I(TORVA_ID(QX_IPARAM_VER_NUMBER), kVerNumber, kVerNumber, kVerNumber, ReadOnly),

    // ---- general ----
    named(Im(TORVA_ID(QX_IPARAM_OBJSENSE), 1, -1, 1, ObjSense), "QX_MIN"),
    D(TORVA_ID(QX_DPARAM_CALLBACKFREQ), 0.5, 0, F, Any),
    Dm(TORVA_ID(QX_DPARAM_OBJPRINTMUL), 1.0, -F, F, Range),
    I(TORVA_ID(QX_IPARAM_CHECK_FOR_ERRORS), 0, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_ALLOW_CNTRLBREAK), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_DECOMPOSITION_TYPE), 1, 0, 4, Range),
    Ic(TORVA_ID(QX_IPARAM_LP_SCALE), -1, 0, 3, -1, 3),
    I(TORVA_ID(QX_IPARAM_LP_ITRLMT), M, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_SPLEX_PPRICING), -1, -1, 3, Range),
    I(TORVA_ID(QX_IPARAM_SPLEX_REFACFRQ), 200, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_BARRIER_SOLVER), 4, 4, 7, Range),
    I(TORVA_ID(QX_IPARAM_PROB_TO_SOLVE), 0, 0, 2, Range),
    I(TORVA_ID(QX_IPARAM_LP_PRINTLEVEL), 0, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MPS_OBJ_WRITESTYLE), kMpsUseMaxFlip, 0, 2, Range, "QX_MPS_USE_MAX_FLIP"),
    I(TORVA_ID(QX_IPARAM_SPLEX_DPRICING), -1, -1, 5, Range),
    Im(TORVA_ID(QX_IPARAM_SOL_REPORT_STYLE), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_INSTRUCT_LOADTYPE), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_SPLEX_DUAL_PHASE), 0, 0, 3, Range),
    I(TORVA_ID(QX_IPARAM_LP_PRELEVEL), 126, 0, M, Lower),
    Im(TORVA_ID(QX_IPARAM_STRING_LENLMT), 20, 1, 256, Range),
    Im(TORVA_ID(QX_IPARAM_USE_NAMEDATA), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_SPLEX_USE_EXTERNAL), 0, 0, 4, Range),
    D(TORVA_ID(QX_DPARAM_LP_ITRLMT), -1, -1, F, Lower),
    named(Idr(TORVA_ID(QX_IPARAM_COPY_MODE), kRawCopy, Lower), "QX_RAW_COPY"),
    I(TORVA_ID(QX_IPARAM_SBD_NUM_THREADS), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_NUM_THREADS), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MULTITHREAD_MODE), kMtModeFree, -1, 4, Range, "QX_MTMODE_FREE"),
    I(TORVA_ID(QX_IPARAM_FIND_BLOCK), 0, 0, 2, Lower),
    Idr(TORVA_ID(QX_IPARAM_PROFILER_LEVEL), 0, Lower),
    I(TORVA_ID(QX_IPARAM_INSTRUCT_READMODE), 1, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_INSTRUCT_SUBOUT), -1, -1, 1, Lower),
    I(TORVA_ID(QX_IPARAM_SOLPOOL_LIM), 20, 1, M, Lower),

    // ---- LP solver ----
    I(TORVA_ID(QX_IPARAM_SOLVER_IUSOL), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_SOLVER_TIMLMT), -1, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_SOLVER_CUTOFFVAL), -F, -F, F, Any),
    D(TORVA_ID(QX_DPARAM_SOLVER_FEASTOL), 1e-7, 1e-16, 1e-4, Tol),
    I(TORVA_ID(QX_IPARAM_SOLVER_RESTART), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_SOLVER_IPMSOL), 0, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_SOLVER_OPTTOL), 1e-7, 1e-16, 1e-4, Tol),
    I(TORVA_ID(QX_IPARAM_SOLVER_USECUTOFFVAL), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_SOLVER_PRE_ELIM_FILL), 1000, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_SOLVER_TIMLMT), -1, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_SOLVER_CONCURRENT_OPTMODE), 0, 0, 2, Lower),
    D(TORVA_ID(QX_DPARAM_SOLVER_PERT_FEASTOL), 1e-12, 1e-16, 1e-4, Tol),
    I(TORVA_ID(QX_IPARAM_SOLVER_PARTIALSOL_LEVEL), 0, 0, 2, Lower),
    Idr(TORVA_ID(QX_IPARAM_SOLVER_MODE), 0, Lower),

    // ---- infeasibility and unboundedness analysis, output format ----
    Idr(TORVA_ID(QX_IPARAM_IIS_ANALYZE_LEVEL), 1, Lower),
    Idr(TORVA_ID(QX_IPARAM_IUS_ANALYZE_LEVEL), 2, Lower),
    I(TORVA_ID(QX_IPARAM_IIS_TOPOPT), kMethodFree, 0, 4, Range, "QX_METHOD_FREE"),
    I(TORVA_ID(QX_IPARAM_IIS_REOPT), kMethodFree, 0, 4, Range, "QX_METHOD_FREE"),
    I(TORVA_ID(QX_IPARAM_IIS_USE_SFILTER), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_IIS_PRINT_LEVEL), 2, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_IIS_INFEAS_NORM), 0, 0, 2, Range),
    I(TORVA_ID(QX_IPARAM_IIS_ITER_LIMIT), -1, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_IIS_ITER_LIMIT), -1, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_IIS_TIME_LIMIT), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_IIS_METHOD), kIisDefault, 0, 7, Range, "QX_IIS_DEFAULT"),
    I(TORVA_ID(QX_IPARAM_IIS_USE_EFILTER), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_IIS_USE_GOP), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_IIS_NUM_THREADS), 1, 0, M, NotSupported),
    I(TORVA_ID(QX_IPARAM_IIS_GETMODE), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_FMT_ISSQL), 0, 0, 1, Range),

    // ---- nonlinear solver and multistart ----
    I(TORVA_ID(QX_IPARAM_NLP_SOLVE_AS_LP), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_SOLVER), 7, 4, 10, Range),
    I(TORVA_ID(QX_IPARAM_NLP_SUBSOLVER), kMethodFree, 0, 4, Range, "QX_METHOD_FREE"),
    I(TORVA_ID(QX_IPARAM_NLP_PRINTLEVEL), 1, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_NLP_PSTEP_FINITEDIFF), 5e-7, 1e-32, F, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_DERIV_DIFFTYPE), 0, 0, 3, Range),
    D(TORVA_ID(QX_DPARAM_NLP_FEASTOL), 1e-6, 1e-32, kRelTol, Range),
    D(TORVA_ID(QX_DPARAM_NLP_REDGTOL), 1e-7, 1e-32, kRelTol, Range),
    I(TORVA_ID(QX_IPARAM_NLP_USE_CRASH), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_USE_STEEPEDGE), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_USE_SLP), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_USE_SELCONEVAL), 0, 0, 1, Range),
    Idr(TORVA_ID(QX_IPARAM_NLP_PRELEVEL), 0, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_ITRLMT), M, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_LINEARZ), 0, 0, 3, Range),
    I(TORVA_ID(QX_IPARAM_NLP_LINEARITY), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_STARTPOINT), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_CONVEXRELAX), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_CR_ALG_REFORM), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_QUADCHK), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_AUTODERIV), 2, 0, 2, Range),
    I(TORVA_ID(QX_IPARAM_NLP_MAXLOCALSEARCH), 5, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_CONVEX), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_CONOPT_VER), 3, 3, 4, Range),
    I(TORVA_ID(QX_IPARAM_NLP_USE_TORVA_CRASH), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_STALL_ITRLMT), 100, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_AUTOHESS), 0, 0, 3, Range),
    I(TORVA_ID(QX_IPARAM_NLP_FEASCHK), 1, 0, 2, Range),
    D(TORVA_ID(QX_DPARAM_NLP_ITRLMT), M, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MAXSUP), M, -1, M, Lower),
    Idr(TORVA_ID(QX_IPARAM_NLP_MSW_SOLIDX), 0, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_ITERS_PER_LOGLINE), 50, 1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MAX_RETRY), 5, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_NORM), 2, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_POPSIZE), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_MAXPOP), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_MAXNOIMP), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_FILTMODE), -1, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_NLP_MSW_POXDIST_THRES), 0.01, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_NLP_MSW_EUCDIST_THRES), 0.001, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_NLP_MSW_XNULRAD_FACTOR), 0.5, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_NLP_MSW_XKKTRAD_FACTOR), 0.85, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MAXLOCALSEARCH_TREE), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_NUM_THREADS), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_RG_SEED), 1019, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_PREPMODE), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_MSW_RMAPMODE), -1, -1, M, Lower),
    Idr(TORVA_ID(QX_IPARAM_NLP_XSMODE), 197152, Lower),
    D(TORVA_ID(QX_DPARAM_NLP_MSW_OVERLAP_RATIO), 0.1, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_NLP_INF), 1e30, 1, F, Lower),
    I(TORVA_ID(QX_IPARAM_NLP_IPM2GRG), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_NLP_USE_SDP), 1, 0, 1, Range),

    // ---- interior-point solver ----
    D(TORVA_ID(QX_DPARAM_IPM_TOL_INFEAS), 1e-10, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_IPM_TOL_PATH), 1e-8, 0, 0.5, Range),
    D(TORVA_ID(QX_DPARAM_IPM_TOL_PFEAS), 1e-8, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_IPM_TOL_REL_STEP), 0.9999, 1e-4, kRelTol6, Range),
    D(TORVA_ID(QX_DPARAM_IPM_TOL_PSAFE), 1, 1e-4, F, Lower),
    D(TORVA_ID(QX_DPARAM_IPM_TOL_DFEAS), 1e-8, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_IPM_TOL_DSAFE), 1, 1e-4, F, Lower),
    D(TORVA_ID(QX_DPARAM_IPM_TOL_MU_RED), 1e-16, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_IPM_BASIS_REL_TOL_S), 1e-12, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_IPM_BASIS_TOL_S), 1e-7, 1e-9, F, Lower),
    D(TORVA_ID(QX_DPARAM_IPM_BASIS_TOL_X), 1e-7, 1e-9, F, Lower),
    D(TORVA_ID(QX_DPARAM_IPM_BI_LU_TOL_REL_PIV), 0.01, 1e-6, kRelTol6, Range),
    D(TORVA_ID(QX_DPARAM_IPM_CO_TOL_INFEAS), 1e-10, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_IPM_CO_TOL_PFEAS), 1e-8, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_IPM_CO_TOL_DFEAS), 1e-8, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_IPM_CO_TOL_MU_RED), 1e-8, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_IPM_MAX_ITERATIONS), 1000, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_IPM_OFF_COL_TRH), 40, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_IPM_NUM_THREADS), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_IPM_CHECK_CONVEXITY), 1, 0, 1, Range),

    // ---- simplex internals ----
    D(TORVA_ID(QX_DPARAM_LP_MIN_FEASTOL), 1e-9, 1e-16, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_MAX_FEASTOL), 1e-5, 1e-16, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_MIN_OPTTOL), 1e-9, 1e-16, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_MAX_OPTTOL), 1e-5, 1e-16, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_MIN_PIVTOL), 1e-10, 1e-16, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_MAX_PIVTOL), 1e-5, 1e-16, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_AIJ_ZEROTOL), 2.22045e-16, 1e-32, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_PIV_ZEROTOL), 1e-8, 1e-16, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_PIV_BIGTOL), 1e-5, 1e-16, 1e-4, Tol),
    D(TORVA_ID(QX_DPARAM_LP_BIGM), 1e6, 1, F, Lower),
    D(TORVA_ID(QX_DPARAM_LP_BNDINF), 1e15, 1, F, Lower),
    D(TORVA_ID(QX_DPARAM_LP_INFINITY), 1e30, 1e30, 1e30, ReadOnly),
    I(TORVA_ID(QX_IPARAM_LP_PPARTIAL), 0, 0, 3, Range),
    I(TORVA_ID(QX_IPARAM_LP_DPARTIAL), 0, 0, 3, Range),
    I(TORVA_ID(QX_IPARAM_LP_DRATIO), 1, 0, 3, Lower),
    I(TORVA_ID(QX_IPARAM_LP_PRATIO), 1, 0, 3, Lower),
    I(TORVA_ID(QX_IPARAM_LP_RATRANGE), 4, 1, M, Lower),
    I(TORVA_ID(QX_IPARAM_LP_DPSWITCH), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_LP_PALLOC), 5, 0, M, Lower),
    Idr(TORVA_ID(QX_IPARAM_LP_PRTFG), 0, Lower),
    Idr(TORVA_ID(QX_IPARAM_LP_OPRFREE), 33, Lower),
    I(TORVA_ID(QX_IPARAM_LP_SPRINT_SUB), 0, 0, 1, Lower),
    I(TORVA_ID(QX_IPARAM_LP_PERTMODE), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_LP_PCOLAL_FACTOR), 0, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_LP_MAXMERGE), 0, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_LP_PERTFACT), 0, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_LP_DYNOBJFACT), 0.75, 0, 1, Range),

    // ---- LU factorisation ----
    I(TORVA_ID(QX_IPARAM_LU_NUM_CANDITS), 4, 1, M, Any),
    // The factorisation takes a negative value of an LU option as "use the
    // default", so the setters let negative values through.
    Ic(TORVA_ID(QX_IPARAM_LU_MAX_UPDATES), 500, 0, M, -F, M),
    I(TORVA_ID(QX_IPARAM_LU_PRINT_LEVEL), 0, 0, M, Any),
    Ic(TORVA_ID(QX_IPARAM_LU_UPDATE_TYPE), 1, 0, 1, -F, 1),
    I(TORVA_ID(QX_IPARAM_LU_USE_PIVCOL), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_LU_PIVMOD), 0, 0, 3, Lower),
    Dc(TORVA_ID(QX_DPARAM_LU_EPS_DIAG), 2.22045e-16, 0, 1, -F, 1),
    Dc(TORVA_ID(QX_DPARAM_LU_EPS_NONZ), 2.22045e-16, 0, 1, -F, 1),
    Dc(TORVA_ID(QX_DPARAM_LU_EPS_PIVABS), 1e-8, 0, 1, -F, 1),
    Dc(TORVA_ID(QX_DPARAM_LU_EPS_PIVREL), 0.01, 0, kRelTol6, -F, kRelTol6),
    Dc(TORVA_ID(QX_DPARAM_LU_INI_RCOND), 0.01, 0, 1, -F, 1),
    Dc(TORVA_ID(QX_DPARAM_LU_SPVTOL_UPDATE), 0.001, 0, 1, -F, 1),
    Dc(TORVA_ID(QX_DPARAM_LU_SPVTOL_FTRAN), 0.2, 0, 1, -F, 1),
    Dc(TORVA_ID(QX_DPARAM_LU_SPVTOL_BTRAN), 0.1, 0, 1, -F, 1),

    // ---- mixed-integer solver ----
    I(TORVA_ID(QX_IPARAM_MIP_TIMLIM), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_AOPTTIMLIM), 100, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_LSOLTIMLIM), -1, -1, M, Lower),
    Idr(TORVA_ID(QX_IPARAM_MIP_PRELEVEL), 3070, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_NODESELRULE), 4, 0, 7, Any),
    D(TORVA_ID(QX_DPARAM_MIP_INTTOL), 1e-6, 1e-32, kHalfTol, Range),
    D(TORVA_ID(QX_DPARAM_MIP_RELINTTOL), 8e-6, 1e-32, kHalfTol2, Range),
    D(TORVA_ID(QX_DPARAM_MIP_RELOPTTOL), 1e-6, 1e-32, kRelTol, Range),
    D(TORVA_ID(QX_DPARAM_MIP_PEROPTTOL), 1e-5, 1e-32, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_MAXCUTPASS_TOP), 100, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_MAXCUTPASS_TREE), 2, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_ADDCUTPER), 0.75, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_ADDCUTPER_TREE), 0.75, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_MAXNONIMP_CUTPASS), 3, 0, M, Lower),
    Idr(TORVA_ID(QX_IPARAM_MIP_CUTLEVEL_TOP), 57342, Lower),
    Idr(TORVA_ID(QX_IPARAM_MIP_CUTLEVEL_TREE), 53246, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_CUTTIMLIM), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_CUTDEPTH), 5, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_CUTFREQ), 10, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_HEULEVEL), 3, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PRINTLEVEL), 2, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PREPRINTLEVEL), 0, 0, M, Lower),
    named(D(TORVA_ID(QX_DPARAM_MIP_CUTOFFOBJ), kInf, -F, F, Any), "QX_INFINITY"),
    I(TORVA_ID(QX_IPARAM_MIP_USECUTOFFOBJ), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_STRONGBRANCHLEVEL), 10, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_TREEREORDERLEVEL), 10, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_BRANCHDIR), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_TOPOPT), kMethodFree, 0, 4, Range, "QX_METHOD_FREE"),
    I(TORVA_ID(QX_IPARAM_MIP_REOPT), kMethodFree, 0, 4, Range, "QX_METHOD_FREE"),
    I(TORVA_ID(QX_IPARAM_MIP_SOLVERTYPE), 0, 0, 3, Range),
    I(TORVA_ID(QX_IPARAM_MIP_KEEPINMEM), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_BRANCHRULE), 0, 0, 5, Range),
    D(TORVA_ID(QX_DPARAM_MIP_REDCOSTFIX_CUTOFF), 0.99, 0, kRelTol6, Range),
    D(TORVA_ID(QX_DPARAM_MIP_ADDCUTOBJTOL), 1.5625e-5, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_HEUMINTIMLIM), 0, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_BRANCH_PRIO), 0, 0, 4, Range),
    I(TORVA_ID(QX_IPARAM_MIP_SCALING_BOUND), 10000, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_PSEUDOCOST_WEIGT), 6.25, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_LBIGM), 100000, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_DELTA), 1e-6, 1e-16, 1, Tol),
    I(TORVA_ID(QX_IPARAM_MIP_DUAL_SOLUTION), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_BRANCH_LIMIT), -1, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_ITRLIM), -1, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_AGGCUTLIM_TOP), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_AGGCUTLIM_TREE), 3, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_SWITCHFAC_SIM_IPM_ITER), -1, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_ANODES_SWITCH_DF), 50, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_ABSOPTTOL), 0, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_MINABSOBJSTEP), 0, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PSEUDOCOST_RULE), 0, 0, 4, Range),
    I(TORVA_ID(QX_IPARAM_MIP_ENUM_HEUMODE), 4, 0, 4, Range),
    Idr(TORVA_ID(QX_IPARAM_MIP_PRELEVEL_TREE), 686, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_REDCOSTFIX_CUTOFF_TREE), 0.9, 0, kRelTol6, Range),
    Idr(TORVA_ID(QX_IPARAM_MIP_USE_INT_ZERO_TOL), 0, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_USE_CUTS_HEU), -1, -1, 1, Range),
    D(TORVA_ID(QX_DPARAM_MIP_BIGM_FOR_INTTOL), 1e8, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_STRONGBRANCHDONUM), 3, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_MAKECUT_INACTIVE_COUNT), 20, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PRE_ELIM_FILL), 100, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_HEU_MODE), 0, 0, 2, Range),
    D(TORVA_ID(QX_DPARAM_MIP_TIMLIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_AOPTTIMLIM), 100, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_LSOLTIMLIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_CUTTIMLIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_HEUMINTIMLIM), 0, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_FP_MODE), -1, -1, 3, Range),
    D(TORVA_ID(QX_DPARAM_MIP_FP_WEIGHT), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_FP_OPT_METHOD), 0, 0, 3, Range),
    D(TORVA_ID(QX_DPARAM_MIP_FP_TIMLIM), 1800, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_FP_ITRLIM), 500, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_FP_HEU_MODE), 0, 0, 5, Range),
    D(TORVA_ID(QX_DPARAM_MIP_OBJ_THRESHOLD), -kInf, -F, F, Any),
    I(TORVA_ID(QX_IPARAM_MIP_LOCALBRANCHNUM), 0, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_SWITCHFAC_SIM_IPM_TIME), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_ITRLIM_SIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_ITRLIM_NLP), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_ITRLIM_IPM), -1, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_MAXNUM_MIP_SOL_STORAGE), 10, 1, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_CONCURRENT_TOPOPTMODE), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_CONCURRENT_REOPTMODE), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PREHEU_LEVEL), -1, -1, 3, Lower),
    Idr(TORVA_ID(QX_IPARAM_MIP_PREHEU_PRE_LEVEL), 10, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PREHEU_PRINT_LEVEL), 0, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PREHEU_TC_ITERLIM), 20000000, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PREHEU_DFE_VSTLIM), 200, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PREHEU_VAR_SEQ), -1, -1, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_USE_PARTIALSOL_LEVEL), 2, 0, 3, Lower),
    Idr(TORVA_ID(QX_IPARAM_MIP_GENERAL_MODE), 0, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_NUM_THREADS), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_POLISH_NUM_BRANCH_NEXT), 4000, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_POLISH_MAX_BRANCH_COUNT), 2000, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_POLISH_ALPHA_TARGET), 0.6, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_CONCURRENT_STRATEGY), -1, -1, 1, Lower),
    D(TORVA_ID(QX_DPARAM_MIP_BRANCH_TOP_VAL_DIFF_WEIGHT), 1, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_BASCUTS_DONUM), 3, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PARA_SUB), 1, 0, 1, Range),
    Ddr(TORVA_ID(QX_DPARAM_MIP_PARA_RND_ITRLMT), 2, Lower),
    Ddr(TORVA_ID(QX_DPARAM_MIP_PARA_INIT_NODE), -1, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PARA_ITR_MODE), 1, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_PARA_FP), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_PARA_FP_MODE), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_HEU_DROP_OBJ), 0, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_MIP_ABSCUTTOL), -1, -1, F, Any),
    I(TORVA_ID(QX_IPARAM_MIP_PERSPECTIVE_REFORM), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_TREEREORDERMODE), 1, 1, 4, Range),
    I(TORVA_ID(QX_IPARAM_MIP_XSOLVER), 0, 0, 4, Lower),
    I(TORVA_ID(QX_IPARAM_MIP_BNB_TRY_BNP), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_MIP_KBEST_USE_GOP), 0, 0, 1, Range),

    // ---- global solver ----
    D(TORVA_ID(QX_DPARAM_GOP_RELOPTTOL), 1e-5, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_GOP_FLTTOL), 1e-10, 1e-32, kRelTol6, Range),
    D(TORVA_ID(QX_DPARAM_GOP_BOXTOL), 1e-6, 1e-32, kRelTol6, Range),
    D(TORVA_ID(QX_DPARAM_GOP_WIDTOL), 1e-4, 1e-32, F, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_DELTATOL), 1e-7, 1e-32, kRelTol6, Range),
    D(TORVA_ID(QX_DPARAM_GOP_BNDLIM), 1e10, 1, F, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_TIMLIM), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_OPTCHKMD), 2, 0, 2, Range),
    I(TORVA_ID(QX_IPARAM_GOP_BRANCHMD), 5, 0, 5, Range),
    I(TORVA_ID(QX_IPARAM_GOP_MAXWIDMD), 0, 0, 1, Range),
    Idr(TORVA_ID(QX_IPARAM_GOP_PRELEVEL), 1022, Lower),
    Idr(TORVA_ID(QX_IPARAM_GOP_POSTLEVEL), 14, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_BBSRCHMD), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_GOP_DECOMPPTMD), 1, 0, 1, Range),
    Idr(TORVA_ID(QX_IPARAM_GOP_ALGREFORMMD), 18, Lower),
    Idr(TORVA_ID(QX_IPARAM_GOP_RELBRNDMD), 0, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_PRINTLEVEL), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_BNDLIM_MODE), 2, 0, 2, Range),
    I(TORVA_ID(QX_IPARAM_GOP_BRANCH_LIMIT), M, -1, M, Lower),
    Idr(TORVA_ID(QX_IPARAM_GOP_CORELEVEL), 30, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_OPT_MODE), 1, 0, 2, Range),
    I(TORVA_ID(QX_IPARAM_GOP_HEU_MODE), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_SUBOUT_MODE), 1, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_USE_NLPSOLVE), 1, 0, 1, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_LSOLBRANLIM), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_LPSOPT), 2, 0, 4, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_TIMLIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_BRANCH_LIMIT), -1, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_QUADMD), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_GOP_LIM_MODE), 1, 0, 3, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_ITRLIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_ITRLIM_SIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_ITRLIM_IPM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_ITRLIM_NLP), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_ABSOPTTOL), 1e-6, 0, F, Lower),
    D(TORVA_ID(QX_DPARAM_GOP_PEROPTTOL), 0, 0, 1, NotSupported),
    D(TORVA_ID(QX_DPARAM_GOP_AOPTTIMLIM), -1, -1, F, NotSupported),
    I(TORVA_ID(QX_IPARAM_GOP_LINEARZ), 1, 0, 3, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_NUM_THREADS), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_GOP_MULTILINEAR), 1, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_GOP_OBJ_THRESHOLD), -kInf, -F, F, Any),
    I(TORVA_ID(QX_IPARAM_GOP_QUAD_METHOD), 0, 0, 1, Range),

    // ---- stochastic programming ----
    I(TORVA_ID(QX_IPARAM_STOC_NSAMPLE_SPAR), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_NSAMPLE_STAGE), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_RG_SEED), 1031, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_METHOD), kMethodStocFree, -1, 5, Lower, "QX_METHOD_STOC_FREE"),
    I(TORVA_ID(QX_IPARAM_STOC_REOPT), kMethodFree, 0, 4, Range, "QX_METHOD_FREE"),
    I(TORVA_ID(QX_IPARAM_STOC_TOPOPT), kMethodFree, 0, 4, Lower, "QX_METHOD_FREE"),
    I(TORVA_ID(QX_IPARAM_STOC_ITER_LIM), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_PRINT_LEVEL), 2, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_DETEQ_TYPE), kDeteqFree, -1, 2, Lower, "QX_DETEQ_FREE"),
    I(TORVA_ID(QX_IPARAM_STOC_CALC_EVPI), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_STOC_SAMP_CONT_ONLY), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_STOC_BUCKET_SIZE), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_MAX_NUMSCENS), 40, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_SHARE_BEGSTAGE), -1, -1, M, Lower),
    Idr(TORVA_ID(QX_IPARAM_STOC_NODELP_PRELEVEL), 0, Lower),
    D(TORVA_ID(QX_DPARAM_STOC_TIME_LIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_STOC_RELOPTTOL), 1e-7, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_STOC_ABSOPTTOL), 1e-7, 0, F, Lower),
    Idr(TORVA_ID(QX_IPARAM_STOC_DEBUG_MASK), 0, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_VARCONTROL_METHOD), kLatinSquare, 0, 3, Lower, "QX_LATINSQUARE"),
    I(TORVA_ID(QX_IPARAM_STOC_CORRELATION_TYPE), kCorrPearson, 0, 2, Range, "QX_CORR_PEARSON"),
    I(TORVA_ID(QX_IPARAM_STOC_WSBAS), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_ALD_OUTER_ITER_LIM), 200, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_ALD_INNER_ITER_LIM), 1000, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_STOC_ALD_DUAL_FEASTOL), 1e-4, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_STOC_ALD_PRIMAL_FEASTOL), 1e-4, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_STOC_ALD_DUAL_STEPLEN), 0.9, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_STOC_ALD_PRIMAL_STEPLEN), 0.5, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_CORE_ORDER_BY_STAGE), 1, 0, 1, Range),
    S(TORVA_ID(QX_SPARAM_STOC_FMT_NODE_NAME)),
    S(TORVA_ID(QX_SPARAM_STOC_FMT_SCENARIO_NAME)),
    I(TORVA_ID(QX_IPARAM_STOC_MAP_MPI2LP), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_STOC_AUTOAGGR), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_STOC_BENCHMARK_SCEN), kScenAvrg, -4, M, Lower, "QX_SCEN_AVRG"),
    D(TORVA_ID(QX_DPARAM_STOC_INFBND), 1e9, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_ADD_MPI), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_STOC_ELIM_FXVAR), 1, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_STOC_SBD_OBJCUTVAL), -kInf, -F, F, Any),
    I(TORVA_ID(QX_IPARAM_STOC_SBD_OBJCUTFLAG), 1, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_STOC_SBD_NUMCANDID), -1, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_STOC_BIGM), 1e8, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_NAMEDATA_LEVEL), 0, 0, 2, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_SBD_MAXCUTS), -1, -1, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_DEQOPT), kMethodFree, 0, 4, Range, "QX_METHOD_FREE"),
    I(TORVA_ID(QX_IPARAM_STOC_DS_SUBFORM), -1, -1, 1, Lower),
    D(TORVA_ID(QX_DPARAM_STOC_REL_PSTEPTOL), 1e-8, 0, 1, Range),
    D(TORVA_ID(QX_DPARAM_STOC_REL_DSTEPTOL), 1e-7, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_STOC_NUM_THREADS), 0, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_STOC_DETEQ_NBLOCKS), -1, -1, M, Lower),

    // ---- sampling ----
    Idr(TORVA_ID(QX_IPARAM_SAMP_NCM_METHOD), 5, Lower),
    D(TORVA_ID(QX_DPARAM_SAMP_NCM_CUTOBJ), -kInf, -F, F, Any),
    I(TORVA_ID(QX_IPARAM_SAMP_NCM_DSTORAGE), -1, -1, 1, Lower),
    D(TORVA_ID(QX_DPARAM_SAMP_CDSINC), 1e-6, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_SAMP_SCALE), 0, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_SAMP_NCM_ITERLIM), 100, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_SAMP_NCM_OPTTOL), 1e-7, 0, 1, Range),
    I(TORVA_ID(QX_IPARAM_SAMP_NUM_THREADS), 0, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_SAMP_RG_BUFFER_SIZE), 0, 0, M, Lower),

    // ---- block decomposition (branch and price) ----
    D(TORVA_ID(QX_DPARAM_BNP_INFBND), 100000, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_BNP_LEVEL), 1, 0, M, Lower),
    I(TORVA_ID(QX_IPARAM_BNP_PRINT_LEVEL), 2, 0, M, Lower),
    D(TORVA_ID(QX_DPARAM_BNP_BOX_SIZE), 0, 0, F, Lower),
    I(TORVA_ID(QX_IPARAM_BNP_NUM_THREADS), 1, 0, M, Lower),
    Ddr(TORVA_ID(QX_DPARAM_BNP_SUB_ITRLMT), -1, Lower),
    I(TORVA_ID(QX_IPARAM_BNP_FIND_BLK), 1, 0, 3, Lower),
    Idr(TORVA_ID(QX_IPARAM_BNP_PRELEVEL), 0, Lower),
    D(TORVA_ID(QX_DPARAM_BNP_COL_LMT), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_BNP_TIMLIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_BNP_ITRLIM_SIM), -1, -1, F, Lower),
    D(TORVA_ID(QX_DPARAM_BNP_ITRLIM_IPM), -1, -1, F, Lower),
    I(TORVA_ID(QX_IPARAM_BNP_BRANCH_LIMIT), -1, -1, M, Lower),
    D(TORVA_ID(QX_DPARAM_BNP_ITRLIM), -1, -1, F, Lower),

    // ---- genetic algorithm (descriptor-driven) ----
    Gd(TORVA_ID(QX_DPARAM_GA_CXOVER_PROB), 0, 1, 0.8),
    Gd(TORVA_ID(QX_DPARAM_GA_XOVER_SPREAD), 0, 2147483647, 10),
    Gd(TORVA_ID(QX_DPARAM_GA_IXOVER_PROB), 0, 1, 0.8),
    Gd(TORVA_ID(QX_DPARAM_GA_CMUTAT_PROB), 0, 1, 0.05),
    Gd(TORVA_ID(QX_DPARAM_GA_MUTAT_SPREAD), 0, 2147483647, 20),
    Gd(TORVA_ID(QX_DPARAM_GA_IMUTAT_PROB), 0, 1, 0.1),
    Gd(TORVA_ID(QX_DPARAM_GA_TOL_ZERO), kEps, 1, 1e-14),
    Gd(TORVA_ID(QX_DPARAM_GA_TOL_PFEAS), kEps, 1, 1e-7),
    Gd(TORVA_ID(QX_DPARAM_GA_INF), 1e10, 1e30, 1e15),
    Gd(TORVA_ID(QX_DPARAM_GA_INFBND), 1e-6, 1e12, 1e8),
    Gd(TORVA_ID(QX_DPARAM_GA_BLXA), 0, DBL_MAX, 5),
    Gd(TORVA_ID(QX_DPARAM_GA_BLXB), 0, DBL_MAX, 5),
    Gi(TORVA_ID(QX_IPARAM_GA_CXOVER_METHOD), -1, 2147483647, -1),
    Gi(TORVA_ID(QX_IPARAM_GA_IXOVER_METHOD), -1, 2147483647, -1),
    Gi(TORVA_ID(QX_IPARAM_GA_CMUTAT_METHOD), -1, 2147483647, -1),
    Gi(TORVA_ID(QX_IPARAM_GA_IMUTAT_METHOD), -1, 2147483647, -1),
    Gi(TORVA_ID(QX_IPARAM_GA_SEED), 1, 2147483647, 1031),
    Gi(TORVA_ID(QX_IPARAM_GA_NGEN), 1, 2147483647, 500),
    Gi(TORVA_ID(QX_IPARAM_GA_POPSIZE), 1, 2147483647, 200),
    Gi(TORVA_ID(QX_IPARAM_GA_FILEOUT), 1, 2147483647, 0),
    Gi(TORVA_ID(QX_IPARAM_GA_PRINTLEVEL), 1, 2147483647, 1),
    Gi(TORVA_ID(QX_IPARAM_GA_INJECT_OPT), 0, 1, 0),
    Gi(TORVA_ID(QX_IPARAM_GA_NUM_THREADS), 1, 2147483647, 1),
    Gi(TORVA_ID(QX_IPARAM_GA_OBJDIR), -1, 1, 1),
    Gd(TORVA_ID(QX_DPARAM_GA_OBJSTOP), -1e30, 1e30, 1e30),
    Gd(TORVA_ID(QX_DPARAM_GA_MIGRATE_PROB), 0, 1, 0),
    Gi(TORVA_ID(QX_IPARAM_GA_SSPACE), 0, 4, 0),
};

}  // namespace paramrow

using paramrow::kParamTable;
inline constexpr int kParamCount = static_cast<int>(sizeof(kParamTable) / sizeof(kParamTable[0]));
static_assert(kParamCount == 429, "the registry holds 429 parameters");

}  // namespace torva
