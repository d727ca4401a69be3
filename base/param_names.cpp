// Parameter names: macro names, descriptions, the alias table of older
// spellings, the information item names, and the keyword search.
#include "base/param_names.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string_view>

#include "base/api.hpp"
#include "base/env.hpp"
#include "base/param_access.hpp"
#include "base/param_docs.hpp"
#include "base/param_id.hpp"
#include "base/param_table.hpp"

namespace torva {
namespace {

// Information items (QXgetInfo), with the size of their value.
constexpr InfoItemName kInfoItems[] = {
    {TORVA_ID(QX_IINFO_VER_MAJOR), 4},
    {TORVA_ID(QX_IINFO_VER_MINOR), 4},
    {TORVA_ID(QX_IINFO_VER_BUILD), 4},
    {TORVA_ID(QX_IINFO_VER_REVISION), 4},
    {TORVA_ID(QX_IINFO_OBJSENSE), 4},
    {TORVA_ID(QX_IINFO_NUM_CONS), 4},
    {TORVA_ID(QX_IINFO_NUM_VARS), 4},
    {TORVA_ID(QX_IINFO_NUM_NONZ), 4},
    {TORVA_ID(QX_IINFO_NUM_BIN), 4},
    {TORVA_ID(QX_IINFO_NUM_INT), 4},
    {TORVA_ID(QX_IINFO_NUM_CONT), 4},
    {TORVA_ID(QX_IINFO_NUM_QC_NONZ), 4},
    {TORVA_ID(QX_IINFO_NUM_NLP_NONZ), 4},
    {TORVA_ID(QX_IINFO_NUM_NLPOBJ_NONZ), 4},
    {TORVA_ID(QX_IINFO_NUM_RDCONS), 4},
    {TORVA_ID(QX_IINFO_NUM_RDVARS), 4},
    {TORVA_ID(QX_IINFO_NUM_RDNONZ), 4},
    {TORVA_ID(QX_IINFO_NUM_RDINT), 4},
    {TORVA_ID(QX_IINFO_LEN_VARNAMES), 4},
    {TORVA_ID(QX_IINFO_LEN_CONNAMES), 4},
    {TORVA_ID(QX_IINFO_NUM_NLP_CONS), 4},
    {TORVA_ID(QX_IINFO_NUM_NLP_VARS), 4},
    {TORVA_ID(QX_IINFO_NUM_SUF_ROWS), 4},
    {TORVA_ID(QX_IINFO_NUM_IIS_ROWS), 4},
    {TORVA_ID(QX_IINFO_NUM_SUF_BNDS), 4},
    {TORVA_ID(QX_IINFO_NUM_IIS_BNDS), 4},
    {TORVA_ID(QX_IINFO_NUM_SUF_COLS), 4},
    {TORVA_ID(QX_IINFO_NUM_IUS_COLS), 4},
    {TORVA_ID(QX_IINFO_NUM_CONES), 4},
    {TORVA_ID(QX_IINFO_NUM_CONE_NONZ), 4},
    {TORVA_ID(QX_IINFO_LEN_CONENAMES), 4},
    {TORVA_ID(QX_DINFO_INST_VAL_MIN_COEF), 8},
    {TORVA_ID(QX_IINFO_INST_VARNDX_MIN_COEF), 4},
    {TORVA_ID(QX_IINFO_INST_CONNDX_MIN_COEF), 4},
    {TORVA_ID(QX_DINFO_INST_VAL_MAX_COEF), 8},
    {TORVA_ID(QX_IINFO_INST_VARNDX_MAX_COEF), 4},
    {TORVA_ID(QX_IINFO_INST_CONNDX_MAX_COEF), 4},
    {TORVA_ID(QX_IINFO_NUM_SPARS), 4},
    {TORVA_ID(QX_IINFO_METHOD), 4},
    {TORVA_ID(QX_DINFO_POBJ), 8},
    {TORVA_ID(QX_DINFO_DOBJ), 8},
    {TORVA_ID(QX_DINFO_PINFEAS), 8},
    {TORVA_ID(QX_DINFO_DINFEAS), 8},
    {TORVA_ID(QX_IINFO_MODEL_STATUS), 4},
    {TORVA_ID(QX_IINFO_PRIMAL_STATUS), 4},
    {TORVA_ID(QX_IINFO_DUAL_STATUS), 4},
    {TORVA_ID(QX_IINFO_BASIC_STATUS), 4},
    {TORVA_ID(QX_IINFO_BAR_ITER), 4},
    {TORVA_ID(QX_IINFO_SIM_ITER), 4},
    {TORVA_ID(QX_IINFO_NLP_ITER), 4},
    {TORVA_ID(QX_IINFO_ELAPSED_TIME), 4},
    {TORVA_ID(QX_DINFO_MSW_POBJ), 8},
    {TORVA_ID(QX_IINFO_MSW_PASS), 4},
    {TORVA_ID(QX_IINFO_MSW_NSOL), 4},
    {TORVA_ID(QX_IINFO_IPM_STATUS), 4},
    {TORVA_ID(QX_DINFO_IPM_POBJ), 8},
    {TORVA_ID(QX_DINFO_IPM_DOBJ), 8},
    {TORVA_ID(QX_DINFO_IPM_PINFEAS), 8},
    {TORVA_ID(QX_DINFO_IPM_DINFEAS), 8},
    {TORVA_ID(QX_IINFO_NLP_CALL_FUN), 4},
    {TORVA_ID(QX_IINFO_NLP_CALL_DEV), 4},
    {TORVA_ID(QX_IINFO_NLP_CALL_HES), 4},
    {TORVA_ID(QX_SINFO_PLATFORM), 8},
    {TORVA_ID(QX_IINFO_MIP_STATUS), 4},
    {TORVA_ID(QX_DINFO_MIP_OBJ), 8},
    {TORVA_ID(QX_DINFO_MIP_BESTBOUND), 8},
    {TORVA_ID(QX_IINFO_MIP_SIM_ITER), 4},
    {TORVA_ID(QX_IINFO_MIP_BAR_ITER), 4},
    {TORVA_ID(QX_IINFO_MIP_NLP_ITER), 4},
    {TORVA_ID(QX_IINFO_MIP_BRANCHCOUNT), 4},
    {TORVA_ID(QX_IINFO_MIP_NEWIPSOL), 4},
    {TORVA_ID(QX_IINFO_MIP_LPCOUNT), 4},
    {TORVA_ID(QX_IINFO_MIP_ACTIVENODES), 4},
    {TORVA_ID(QX_IINFO_MIP_LTYPE), 4},
    {TORVA_ID(QX_IINFO_MIP_AOPTTIMETOSTOP), 4},
    {TORVA_ID(QX_IINFO_MIP_NUM_TOTAL_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_GUB_COVER_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_FLOW_COVER_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_LIFT_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_PLAN_LOC_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_DISAGG_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_KNAPSUR_COVER_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_LATTICE_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_GOMORY_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_COEF_REDC_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_GCD_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_OBJ_CUT), 4},
    {TORVA_ID(QX_IINFO_MIP_BASIS_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_CARDGUB_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_CLIQUE_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_CONTRA_CUTS), 4},
    {TORVA_ID(QX_IINFO_MIP_GUB_CONS), 4},
    {TORVA_ID(QX_IINFO_MIP_GLB_CONS), 4},
    {TORVA_ID(QX_IINFO_MIP_PLANTLOC_CONS), 4},
    {TORVA_ID(QX_IINFO_MIP_DISAGG_CONS), 4},
    {TORVA_ID(QX_IINFO_MIP_SB_CONS), 4},
    {TORVA_ID(QX_IINFO_MIP_IKNAP_CONS), 4},
    {TORVA_ID(QX_IINFO_MIP_KNAP_CONS), 4},
    {TORVA_ID(QX_IINFO_MIP_NLP_CONS), 4},
    {TORVA_ID(QX_IINFO_MIP_CONT_CONS), 4},
    {TORVA_ID(QX_DINFO_MIP_TOT_TIME), 8},
    {TORVA_ID(QX_DINFO_MIP_OPT_TIME), 8},
    {TORVA_ID(QX_DINFO_MIP_HEU_TIME), 8},
    {TORVA_ID(QX_IINFO_MIP_SOLSTATUS_LAST_BRANCH), 4},
    {TORVA_ID(QX_DINFO_MIP_SOLOBJVAL_LAST_BRANCH), 8},
    {TORVA_ID(QX_IINFO_MIP_HEU_LEVEL), 4},
    {TORVA_ID(QX_DINFO_MIP_PFEAS), 8},
    {TORVA_ID(QX_DINFO_MIP_INTPFEAS), 8},
    {TORVA_ID(QX_IINFO_MIP_THREADS), 4},
    {TORVA_ID(QX_SINFO_MIP_THREAD_LOAD), 8},
    {TORVA_ID(QX_DINFO_GOP_OBJ), 8},
    {TORVA_ID(QX_IINFO_GOP_SIM_ITER), 4},
    {TORVA_ID(QX_IINFO_GOP_BAR_ITER), 4},
    {TORVA_ID(QX_IINFO_GOP_NLP_ITER), 4},
    {TORVA_ID(QX_DINFO_GOP_BESTBOUND), 8},
    {TORVA_ID(QX_IINFO_GOP_STATUS), 4},
    {TORVA_ID(QX_IINFO_GOP_LPCOUNT), 4},
    {TORVA_ID(QX_IINFO_GOP_NLPCOUNT), 4},
    {TORVA_ID(QX_IINFO_GOP_MIPCOUNT), 4},
    {TORVA_ID(QX_IINFO_GOP_NEWSOL), 4},
    {TORVA_ID(QX_IINFO_GOP_BOX), 4},
    {TORVA_ID(QX_IINFO_GOP_BBITER), 4},
    {TORVA_ID(QX_IINFO_GOP_SUBITER), 4},
    {TORVA_ID(QX_IINFO_GOP_MIPBRANCH), 4},
    {TORVA_ID(QX_IINFO_GOP_ACTIVEBOXES), 4},
    {TORVA_ID(QX_IINFO_GOP_TOT_TIME), 4},
    {TORVA_ID(QX_IINFO_GOP_MAXDEPTH), 4},
    {TORVA_ID(QX_DINFO_GOP_SIM_ITER), 8},
    {TORVA_ID(QX_DINFO_GOP_BAR_ITER), 8},
    {TORVA_ID(QX_DINFO_GOP_NLP_ITER), 8},
    {TORVA_ID(QX_DINFO_GOP_LPCOUNT), 8},
    {TORVA_ID(QX_DINFO_GOP_NLPCOUNT), 8},
    {TORVA_ID(QX_DINFO_GOP_MIPCOUNT), 8},
    {TORVA_ID(QX_DINFO_GOP_BBITER), 8},
    {TORVA_ID(QX_DINFO_GOP_SUBITER), 8},
    {TORVA_ID(QX_DINFO_GOP_MIPBRANCH), 8},
    {TORVA_ID(QX_DINFO_GOP_FIRST_TIME), 8},
    {TORVA_ID(QX_DINFO_GOP_BEST_TIME), 8},
    {TORVA_ID(QX_DINFO_SUB_OBJ), 8},
    {TORVA_ID(QX_DINFO_SUB_PINF), 8},
    {TORVA_ID(QX_DINFO_CUR_OBJ), 8},
    {TORVA_ID(QX_IINFO_CUR_ITER), 4},
    {TORVA_ID(QX_DINFO_CUR_BEST_BOUND), 8},
    {TORVA_ID(QX_IINFO_CUR_STATUS), 4},
    {TORVA_ID(QX_IINFO_CUR_LP_COUNT), 4},
    {TORVA_ID(QX_IINFO_CUR_BRANCH_COUNT), 4},
    {TORVA_ID(QX_IINFO_CUR_ACTIVE_COUNT), 4},
    {TORVA_ID(QX_IINFO_CUR_NLP_COUNT), 4},
    {TORVA_ID(QX_IINFO_CUR_MIP_COUNT), 4},
    {TORVA_ID(QX_IINFO_CUR_CUT_COUNT), 4},
    {TORVA_ID(QX_DINFO_GEN_PERCENT), 8},
    {TORVA_ID(QX_IINFO_GEN_NONZ_TTL), 4},
    {TORVA_ID(QX_IINFO_GEN_NONZ_NL), 4},
    {TORVA_ID(QX_IINFO_GEN_ROW_NL), 4},
    {TORVA_ID(QX_IINFO_GEN_VAR_NL), 4},
    {TORVA_ID(QX_IINFO_IIS_BAR_ITER), 4},
    {TORVA_ID(QX_IINFO_IIS_SIM_ITER), 4},
    {TORVA_ID(QX_IINFO_IIS_TOT_TIME), 4},
    {TORVA_ID(QX_IINFO_IIS_ACT_NODE), 4},
    {TORVA_ID(QX_IINFO_IIS_LPCOUNT), 4},
    {TORVA_ID(QX_IINFO_IIS_NLPCOUNT), 4},
    {TORVA_ID(QX_IINFO_IIS_MIPCOUNT), 4},
    {TORVA_ID(QX_IINFO_IUS_BAR_ITER), 4},
    {TORVA_ID(QX_IINFO_IUS_SIM_ITER), 4},
    {TORVA_ID(QX_IINFO_IUS_TOT_TIME), 4},
    {TORVA_ID(QX_IINFO_IUS_ACT_NODE), 4},
    {TORVA_ID(QX_IINFO_IUS_LPCOUNT), 4},
    {TORVA_ID(QX_IINFO_IUS_NLPCOUNT), 4},
    {TORVA_ID(QX_IINFO_IUS_MIPCOUNT), 4},
    {TORVA_ID(QX_IINFO_ERR_OPTIM), 4},
    {TORVA_ID(QX_DINFO_STOC_EVOBJ), 8},
    {TORVA_ID(QX_DINFO_STOC_EVPI), 8},
    {TORVA_ID(QX_DINFO_STOC_NUM_SCENARIOS), 8},
    {TORVA_ID(QX_IINFO_STOC_NUM_STAGES), 4},
    {TORVA_ID(QX_DINFO_STOC_NUM_COLS_DETEQI), 8},
    {TORVA_ID(QX_DINFO_STOC_NUM_ROWS_DETEQI), 8},
};

// Older spellings and the names that replaced them. A newer name may itself
// be an older spelling of another name; lookups follow the chain.
constexpr ParamAlias kAliases[] = {
    {"QX_IPARAM_NLP_MSW_MAXREF", "QX_IPARAM_NLP_MSW_POPSIZE"},
    {"QX_IPARAM_STOC_DEBUG_LEVEL", "QX_IPARAM_STOC_DEBUG_MASK"},
    {"QX_SPRINT_OUTPUT_FILE_DEFAULT", "QX_SPRINT_OUTPUT_FILE_FREE"},
    {"QX_IPARAM_SPLEX_SCALE", "QX_IPARAM_LP_SCALE"},
    {"QX_IPARAM_SPLEX_ITRLMT", "QX_IPARAM_LP_ITRLMT"},
    {"QX_IPARAM_MIP_USE_ENUM_HEU", "QX_IPARAM_MIP_ENUM_HEUMODE"},
    {"QX_IPARAM_SOLVER_USE_CONCURRENT_OPT", "QX_IPARAM_SOLVER_CONCURRENT_OPTMODE"},
    {"QX_IPARAM_GOP_USEBNDLIM", "QX_IPARAM_GOP_BNDLIM_MODE"},
    {"QXLOC_BANDB", "QXLOC_MIP"},
    {"QX_IPARAM_ITRLMT", "QX_IPARAM_SPLEX_ITRLMT"},
    {"QX_IPARAM_PRICING", "QX_IPARAM_SPLEX_PPRICING"},
    {"QX_IPARAM_SCALE", "QX_IPARAM_SPLEX_SCALE"},
    {"QX_IPARAM_TIMLMT", "QX_IPARAM_SOLVER_TIMLMT"},
    {"QX_DPARAM_CUTOFFVAL", "QX_DPARAM_SOLVER_CUTOFFVAL"},
    {"QX_IPARAM_RESTART", "QX_IPARAM_SOLVER_RESTART"},
    {"QX_DPARAM_FEASTOL", "QX_DPARAM_SOLVER_FEASTOL"},
    {"QX_IPARAM_IUSOL", "QX_IPARAM_SOLVER_IUSOL"},
    {"QX_IPARAM_MIPTIMLIM", "QX_IPARAM_MIP_TIMLIM"},
    {"QX_IPARAM_MIPAOPTTIMLIM", "QX_IPARAM_MIP_AOPTTIMLIM"},
    {"QX_IPARAM_MIPPRELEVEL", "QX_IPARAM_MIP_PRELEVEL"},
    {"QX_IPARAM_MIPNODESELRULE", "QX_IPARAM_MIP_NODESELRULE"},
    {"QX_DPARAM_MIPINTTOL", "QX_DPARAM_MIP_INTTOL"},
    {"QX_DPARAM_MIPRELINTTOL", "QX_DPARAM_MIP_RELINTTOL"},
    {"QX_DPARAM_MIP_OPTTOL", "QX_DPARAM_MIP_RELOPTTOL"},
    {"QX_DPARAM_MIPOPTTOL", "QX_DPARAM_MIP_OPTTOL"},
    {"QX_DPARAM_MIPPEROPTTOL", "QX_DPARAM_MIP_PEROPTTOL"},
    {"QX_IPARAM_MIPMAXCUTPASS", "QX_IPARAM_MIP_MAXCUTPASS_TOP"},
    {"QX_DPARAM_MIPADDCUTPER", "QX_DPARAM_MIP_ADDCUTPER"},
    {"QX_IPARAM_MIPCUTLEVEL", "QX_IPARAM_MIP_CUTLEVEL_TOP"},
    {"QX_IPARAM_MIPHEULEVEL", "QX_IPARAM_MIP_HEULEVEL"},
    {"QX_IPARAM_MIPPRINTLEVEL", "QX_IPARAM_MIP_PRINTLEVEL"},
    {"QX_IPARAM_MIPPREPRINTLEVEL", "QX_IPARAM_MIP_PREPRINTLEVEL"},
    {"QX_DPARAM_MIPCUTOFFOBJ", "QX_DPARAM_MIP_CUTOFFOBJ"},
    {"QX_IPARAM_MIPSTRONGBRANCHLEVEL", "QX_IPARAM_MIP_STRONGBRANCHLEVEL"},
    {"QX_IPARAM_MIPBRANCHDIR", "QX_IPARAM_MIP_BRANCHDIR"},
    {"QX_IPARAM_MIPTOPOPT", "QX_IPARAM_MIP_TOPOPT"},
    {"QX_IPARAM_MIPREOPT", "QX_IPARAM_MIP_REOPT"},
    {"QX_IPARAM_MIPSOLVERTYPE", "QX_IPARAM_MIP_SOLVERTYPE"},
    {"QX_IPARAM_MIPKEEPINMEM", "QX_IPARAM_MIP_KEEPINMEM"},
    {"QX_DPARAM_MIP_REDCOSTFIXING_CUTOFF", "QX_DPARAM_MIP_REDCOSTFIX_CUTOFF"},
    {"QX_IPARAM_NLPPRINTLEVEL", "QX_IPARAM_NLP_PRINTLEVEL"},
    {"QX_IPARAM_LPPRINTLEVEL", "QX_IPARAM_LP_PRINTLEVEL"},
    {"QX_IPARAM_NLPSOLVER", "QX_IPARAM_NLP_SOLVER"},
    {"QX_IPARAM_MODEL_CONVEX_FLAG", "QX_IPARAM_NLP_CONVEX"},
    {"QX_IPARAM_NLP_SOLVEASLP", "QX_IPARAM_NLP_SOLVE_AS_LP"},
    {"QX_DINFO_MIPBESTBOUND", "QX_DINFO_MIP_BESTBOUND"},
    {"QX_IINFO_MIPBRANCHCOUNT", "QX_IINFO_MIP_BRANCHCOUNT"},
    {"QX_IINFO_MIPSTATUS", "QX_IINFO_MIP_STATUS"},
    {"QX_IINFO_MIPNEWIPSOL", "QX_IINFO_MIP_NEWIPSOL"},
    {"QX_IINFO_MIPLPCOUNT", "QX_IINFO_MIP_LPCOUNT"},
    {"QX_IINFO_MIPACTIVENODES", "QX_IINFO_MIP_ACTIVENODES"},
    {"QX_IINFO_MIPLTYPE", "QX_IINFO_MIP_LTYPE"},
    {"QX_IINFO_MIPAOPTTIMETOSTOP", "QX_IINFO_MIP_AOPTTIMETOSTOP"},
    {"QX_DINFO_MIPOBJ", "QX_DINFO_MIP_OBJ"},
    {"QX_IPARAM_BARRIER_PROB_TO_SOLVE", "QX_IPARAM_PROB_TO_SOLVE"},
    {"QX_IINFO_STATUS", "QX_IINFO_PRIMAL_STATUS"},
    {"QX_GOPSOLSTAT_GLOBAL_OPTIMAL", "QX_STATUS_OPTIMAL"},
    {"QX_GOPSOLSTAT_LOCAL_OPTIMAL", "QX_STATUS_LOCAL_OPTIMAL"},
    {"QX_GOPSOLSTAT_INFEASIBLE", "QX_STATUS_INFEASIBLE"},
    {"QX_GOPSOLSTAT_TOPUNBOUNDED", "QX_STATUS_UNBOUNDED"},
    {"QX_GOPSOLSTAT_FEASIBLE", "QX_STATUS_FEASIBLE"},
    {"QX_GOPSOLSTAT_UNKNOWN", "QX_STATUS_UNKNOWN"},
    {"QX_GOPSOLSTAT_NUMERICAL_ERROR", "QX_STATUS_NUMERICAL_ERROR"},
    {"QX_IIS_NORM_NONE", "QX_IIS_NORM_FREE"},
    {"QX_IPARAM_STOC_SAMPLING_METHOD", "QX_IPARAM_STOC_VARCONTROL_METHOD"},
    {"QX_DPARAM_GOP_OPTTOL", "QX_DPARAM_GOP_RELOPTTOL"},
};

constexpr int kAliasCount = static_cast<int>(sizeof(kAliases) / sizeof(kAliases[0]));
static_assert(kAliasCount == 66, "the alias table holds 66 rows");

const InfoItemName* findInfoByName(std::string_view name) {
  for (const InfoItemName& item : kInfoItems)
    if (name == item.name) return &item;
  return nullptr;
}

const char* aliasTarget(std::string_view name) {
  for (const ParamAlias& a : kAliases)
    if (name == a.oldName) return a.newName;
  return nullptr;
}

// A keyword that reads as a positive integer (digits only, value > 0).
bool positiveInteger(const char* text, int* value) {
  if (!*text) return false;
  for (const char* p = text; *p; ++p)
    if (*p < '0' || *p > '9') return false;
  errno = 0;
  long v = std::strtol(text, nullptr, 10);
  if (errno == ERANGE || v <= 0 || v > 2147483647L) return false;
  *value = static_cast<int>(v);
  return true;
}

// Every parameter and information-item macro of the public header has its
// row: the build lists the header's macros, and the tables take their
// identifiers from the same macros, so the two cannot drift apart.
constexpr bool hasParamRow(int id) {
  for (const ParamDef& d : kParamTable)
    if (d.id == id) return true;
  return false;
}
constexpr bool hasInfoRow(int id) {
  for (const InfoItemName& item : kInfoItems)
    if (item.id == id) return true;
  return false;
}
#define TORVA_HEADER_PARAM(m) static_assert(hasParamRow(m), #m " has no parameter row");
#define TORVA_HEADER_INFO(m) static_assert(hasInfoRow(m), #m " has no information-item row");
#include "torva_header_ids.inc"
#undef TORVA_HEADER_PARAM
#undef TORVA_HEADER_INFO

#define TORVA_HEADER_PARAM(m) +1
#define TORVA_HEADER_INFO(m)
constexpr int kHeaderParams = 0
#include "torva_header_ids.inc"
    ;
#undef TORVA_HEADER_PARAM
#undef TORVA_HEADER_INFO
#define TORVA_HEADER_PARAM(m)
#define TORVA_HEADER_INFO(m) +1
constexpr int kHeaderInfoItems = 0
#include "torva_header_ids.inc"
    ;
#undef TORVA_HEADER_PARAM
#undef TORVA_HEADER_INFO
static_assert(kHeaderParams == kParamCount, "a parameter row has no macro in the header");
static_assert(kHeaderInfoItems == std::size(kInfoItems),
              "an information-item row has no macro in the header");

}  // namespace

std::span<const InfoItemName> infoItemNames() { return kInfoItems; }
std::span<const ParamAlias> paramAliases() { return kAliases; }

int resolveMacroName(const char* name, int* type, int* id) {
  std::string_view current = name;
  // Each step replaces an old name by a newer one; a chain can never be
  // longer than the table.
  for (int step = 0; step <= kAliasCount; ++step) {
    if (const ParamDef* d = findParamByName(current)) {
      *id = d->id;
      *type = paramValueSize(*d);
      return 0;
    }
    if (const InfoItemName* item = findInfoByName(current)) {
      *id = item->id;
      *type = item->valueSize;
      return 0;
    }
    const char* next = aliasTarget(current);
    if (!next) break;
    current = next;
  }
  return QXERR_INVALID_PARAMETER_ID;
}

int searchParamKeyword(const char* keyword, int* index, int* id) {
  *id = -1;
  const auto& rows = paramLongTable();
  const int count = static_cast<int>(rows.size());
  int row = *index < 0 ? 0 : *index;
  int wanted = 0;
  bool numeric = positiveInteger(keyword, &wanted);
  if (numeric && row >= count) return QXERR_INDEX_OUT_OF_RANGE;
  for (; row < count; ++row) {
    bool hit = numeric ? rows[row].id == wanted : std::strstr(rows[row].name, keyword) != nullptr;
    if (hit) {
      *id = rows[row].id;
      *index = row;
      return 0;
    }
  }
  *index = count;
  return 0;
}

}  // namespace torva

// ------------------------------------------------------------------ exported

namespace {

template <class Row>
int copyText(QXenv env, const Row* row, const char* (*pick)(const Row&), char* out) {
  if (!env || !out) return QXERR_ILLEGAL_NULL_POINTER;
  const char* text = row ? pick(*row) : nullptr;
  if (text) std::strcpy(out, text);
  else out[0] = '\0';
  return 0;
}

const char* longName(const torva::ParamLongRow& r) { return r.name; }
const char* longText(const torva::ParamLongRow& r) { return r.text; }
const char* shortText(const torva::ParamShortRow& r) { return r.text; }

}  // namespace

extern "C" {

QXAPI int QXgetParamCount(QXenv env, int which) {
  if (!env) return 0;
  return static_cast<int>(which == 0 ? torva::paramShortTable().size()
                                     : torva::paramLongTable().size());
}

QXAPI int QXgetParamMacroName(QXenv env, int id, char* name) {
  return torva::guarded([&] { return copyText(env, torva::findLongRow(id), &longName, name); });
}

QXAPI int QXgetParamShortDesc(QXenv env, int id, char* text) {
  return torva::guarded([&] { return copyText(env, torva::findShortRow(id), &shortText, text); });
}

QXAPI int QXgetParamLongDesc(QXenv env, int id, char* text) {
  return torva::guarded([&] { return copyText(env, torva::findLongRow(id), &longText, text); });
}

// The texts are static and shared by all environments. The interface hands
// them out as plain char pointers so that hosts may keep them in either a
// char* or a const char*; nothing in the library writes through them.
QXAPI char* QXgetParamMacroNamePtr(QXenv env, int id) {
  if (!env) return nullptr;
  const char* text = nullptr;
  torva::guarded([&] {
    const torva::ParamLongRow* row = torva::findLongRow(id);
    text = row ? row->name : nullptr;
    return 0;
  });
  return const_cast<char*>(text);
}

QXAPI char* QXgetParamShortDescPtr(QXenv env, int id) {
  if (!env) return nullptr;
  const char* text = nullptr;
  torva::guarded([&] {
    const torva::ParamShortRow* row = torva::findShortRow(id);
    text = row ? row->text : nullptr;
    return 0;
  });
  return const_cast<char*>(text);
}

QXAPI char* QXgetParamLongDescPtr(QXenv env, int id) {
  if (!env) return nullptr;
  const char* text = nullptr;
  torva::guarded([&] {
    const torva::ParamLongRow* row = torva::findLongRow(id);
    text = row ? row->text : nullptr;
    return 0;
  });
  return const_cast<char*>(text);
}

QXAPI int QXgetParamMacroID(QXenv env, const char* name, int* type, int* id) {
  if (!env || !name || !type || !id) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::resolveMacroName(name, type, id); });
}

QXAPI int QXsearchParamHasKeyword(QXenv env, const char* keyword, int* index, int* id) {
  if (!env || !keyword || !index || !id) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::searchParamKeyword(keyword, index, id); });
}

}  // extern "C"
