// Parameter names: macro names, descriptions, the alias table of older
// spellings, the information item names, and the keyword search.
#include "base/param_names.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "base/api.hpp"
#include "base/env.hpp"
#include "base/param_access.hpp"
#include "base/param_docs.hpp"

namespace torva {
namespace {

// Information items (QXgetInfo), with the size of their value.
constexpr InfoItemName kInfoItems[] = {
    {990, "QX_IINFO_VER_MAJOR", 4},
    {991, "QX_IINFO_VER_MINOR", 4},
    {992, "QX_IINFO_VER_BUILD", 4},
    {993, "QX_IINFO_VER_REVISION", 4},
    {1022, "QX_IINFO_OBJSENSE", 4},
    {11010, "QX_IINFO_NUM_CONS", 4},
    {11011, "QX_IINFO_NUM_VARS", 4},
    {11012, "QX_IINFO_NUM_NONZ", 4},
    {11013, "QX_IINFO_NUM_BIN", 4},
    {11014, "QX_IINFO_NUM_INT", 4},
    {11015, "QX_IINFO_NUM_CONT", 4},
    {11016, "QX_IINFO_NUM_QC_NONZ", 4},
    {11017, "QX_IINFO_NUM_NLP_NONZ", 4},
    {11018, "QX_IINFO_NUM_NLPOBJ_NONZ", 4},
    {11019, "QX_IINFO_NUM_RDCONS", 4},
    {11020, "QX_IINFO_NUM_RDVARS", 4},
    {11021, "QX_IINFO_NUM_RDNONZ", 4},
    {11022, "QX_IINFO_NUM_RDINT", 4},
    {11023, "QX_IINFO_LEN_VARNAMES", 4},
    {11024, "QX_IINFO_LEN_CONNAMES", 4},
    {11025, "QX_IINFO_NUM_NLP_CONS", 4},
    {11026, "QX_IINFO_NUM_NLP_VARS", 4},
    {11027, "QX_IINFO_NUM_SUF_ROWS", 4},
    {11028, "QX_IINFO_NUM_IIS_ROWS", 4},
    {11029, "QX_IINFO_NUM_SUF_BNDS", 4},
    {11030, "QX_IINFO_NUM_IIS_BNDS", 4},
    {11031, "QX_IINFO_NUM_SUF_COLS", 4},
    {11032, "QX_IINFO_NUM_IUS_COLS", 4},
    {11033, "QX_IINFO_NUM_CONES", 4},
    {11034, "QX_IINFO_NUM_CONE_NONZ", 4},
    {11035, "QX_IINFO_LEN_CONENAMES", 4},
    {11036, "QX_DINFO_INST_VAL_MIN_COEF", 8},
    {11037, "QX_IINFO_INST_VARNDX_MIN_COEF", 4},
    {11038, "QX_IINFO_INST_CONNDX_MIN_COEF", 4},
    {11039, "QX_DINFO_INST_VAL_MAX_COEF", 8},
    {11040, "QX_IINFO_INST_VARNDX_MAX_COEF", 4},
    {11041, "QX_IINFO_INST_CONNDX_MAX_COEF", 4},
    {11059, "QX_IINFO_NUM_SPARS", 4},
    {11200, "QX_IINFO_METHOD", 4},
    {11201, "QX_DINFO_POBJ", 8},
    {11202, "QX_DINFO_DOBJ", 8},
    {11203, "QX_DINFO_PINFEAS", 8},
    {11204, "QX_DINFO_DINFEAS", 8},
    {11205, "QX_IINFO_MODEL_STATUS", 4},
    {11206, "QX_IINFO_PRIMAL_STATUS", 4},
    {11207, "QX_IINFO_DUAL_STATUS", 4},
    {11208, "QX_IINFO_BASIC_STATUS", 4},
    {11209, "QX_IINFO_BAR_ITER", 4},
    {11210, "QX_IINFO_SIM_ITER", 4},
    {11211, "QX_IINFO_NLP_ITER", 4},
    {11212, "QX_IINFO_ELAPSED_TIME", 4},
    {11213, "QX_DINFO_MSW_POBJ", 8},
    {11214, "QX_IINFO_MSW_PASS", 4},
    {11215, "QX_IINFO_MSW_NSOL", 4},
    {11216, "QX_IINFO_IPM_STATUS", 4},
    {11217, "QX_DINFO_IPM_POBJ", 8},
    {11218, "QX_DINFO_IPM_DOBJ", 8},
    {11219, "QX_DINFO_IPM_PINFEAS", 8},
    {11220, "QX_DINFO_IPM_DINFEAS", 8},
    {11221, "QX_IINFO_NLP_CALL_FUN", 4},
    {11222, "QX_IINFO_NLP_CALL_DEV", 4},
    {11223, "QX_IINFO_NLP_CALL_HES", 4},
    {11237, "QX_SINFO_PLATFORM", 8},
    {11300, "QX_IINFO_MIP_STATUS", 4},
    {11301, "QX_DINFO_MIP_OBJ", 8},
    {11302, "QX_DINFO_MIP_BESTBOUND", 8},
    {11303, "QX_IINFO_MIP_SIM_ITER", 4},
    {11304, "QX_IINFO_MIP_BAR_ITER", 4},
    {11305, "QX_IINFO_MIP_NLP_ITER", 4},
    {11306, "QX_IINFO_MIP_BRANCHCOUNT", 4},
    {11307, "QX_IINFO_MIP_NEWIPSOL", 4},
    {11308, "QX_IINFO_MIP_LPCOUNT", 4},
    {11309, "QX_IINFO_MIP_ACTIVENODES", 4},
    {11310, "QX_IINFO_MIP_LTYPE", 4},
    {11311, "QX_IINFO_MIP_AOPTTIMETOSTOP", 4},
    {11312, "QX_IINFO_MIP_NUM_TOTAL_CUTS", 4},
    {11313, "QX_IINFO_MIP_GUB_COVER_CUTS", 4},
    {11314, "QX_IINFO_MIP_FLOW_COVER_CUTS", 4},
    {11315, "QX_IINFO_MIP_LIFT_CUTS", 4},
    {11316, "QX_IINFO_MIP_PLAN_LOC_CUTS", 4},
    {11317, "QX_IINFO_MIP_DISAGG_CUTS", 4},
    {11318, "QX_IINFO_MIP_KNAPSUR_COVER_CUTS", 4},
    {11319, "QX_IINFO_MIP_LATTICE_CUTS", 4},
    {11320, "QX_IINFO_MIP_GOMORY_CUTS", 4},
    {11321, "QX_IINFO_MIP_COEF_REDC_CUTS", 4},
    {11322, "QX_IINFO_MIP_GCD_CUTS", 4},
    {11323, "QX_IINFO_MIP_OBJ_CUT", 4},
    {11324, "QX_IINFO_MIP_BASIS_CUTS", 4},
    {11325, "QX_IINFO_MIP_CARDGUB_CUTS", 4},
    {11326, "QX_IINFO_MIP_CLIQUE_CUTS", 4},
    {11327, "QX_IINFO_MIP_CONTRA_CUTS", 4},
    {11328, "QX_IINFO_MIP_GUB_CONS", 4},
    {11329, "QX_IINFO_MIP_GLB_CONS", 4},
    {11330, "QX_IINFO_MIP_PLANTLOC_CONS", 4},
    {11331, "QX_IINFO_MIP_DISAGG_CONS", 4},
    {11332, "QX_IINFO_MIP_SB_CONS", 4},
    {11333, "QX_IINFO_MIP_IKNAP_CONS", 4},
    {11334, "QX_IINFO_MIP_KNAP_CONS", 4},
    {11335, "QX_IINFO_MIP_NLP_CONS", 4},
    {11336, "QX_IINFO_MIP_CONT_CONS", 4},
    {11347, "QX_DINFO_MIP_TOT_TIME", 8},
    {11348, "QX_DINFO_MIP_OPT_TIME", 8},
    {11349, "QX_DINFO_MIP_HEU_TIME", 8},
    {11350, "QX_IINFO_MIP_SOLSTATUS_LAST_BRANCH", 4},
    {11351, "QX_DINFO_MIP_SOLOBJVAL_LAST_BRANCH", 8},
    {11352, "QX_IINFO_MIP_HEU_LEVEL", 4},
    {11353, "QX_DINFO_MIP_PFEAS", 8},
    {11354, "QX_DINFO_MIP_INTPFEAS", 8},
    {11600, "QX_DINFO_GOP_OBJ", 8},
    {11601, "QX_IINFO_GOP_SIM_ITER", 4},
    {11602, "QX_IINFO_GOP_BAR_ITER", 4},
    {11603, "QX_IINFO_GOP_NLP_ITER", 4},
    {11604, "QX_DINFO_GOP_BESTBOUND", 8},
    {11605, "QX_IINFO_GOP_STATUS", 4},
    {11606, "QX_IINFO_GOP_LPCOUNT", 4},
    {11607, "QX_IINFO_GOP_NLPCOUNT", 4},
    {11608, "QX_IINFO_GOP_MIPCOUNT", 4},
    {11609, "QX_IINFO_GOP_NEWSOL", 4},
    {11610, "QX_IINFO_GOP_BOX", 4},
    {11611, "QX_IINFO_GOP_BBITER", 4},
    {11612, "QX_IINFO_GOP_SUBITER", 4},
    {11613, "QX_IINFO_GOP_MIPBRANCH", 4},
    {11614, "QX_IINFO_GOP_ACTIVEBOXES", 4},
    {11615, "QX_IINFO_GOP_TOT_TIME", 4},
    {11616, "QX_IINFO_GOP_MAXDEPTH", 4},
    {11619, "QX_DINFO_GOP_SIM_ITER", 8},
    {11620, "QX_DINFO_GOP_BAR_ITER", 8},
    {11621, "QX_DINFO_GOP_NLP_ITER", 8},
    {11622, "QX_DINFO_GOP_LPCOUNT", 8},
    {11623, "QX_DINFO_GOP_NLPCOUNT", 8},
    {11624, "QX_DINFO_GOP_MIPCOUNT", 8},
    {11625, "QX_DINFO_GOP_BBITER", 8},
    {11626, "QX_DINFO_GOP_SUBITER", 8},
    {11627, "QX_DINFO_GOP_MIPBRANCH", 8},
    {11628, "QX_DINFO_GOP_FIRST_TIME", 8},
    {11629, "QX_DINFO_GOP_BEST_TIME", 8},
    {11700, "QX_DINFO_SUB_OBJ", 8},
    {11701, "QX_DINFO_SUB_PINF", 8},
    {11702, "QX_DINFO_CUR_OBJ", 8},
    {11703, "QX_IINFO_CUR_ITER", 4},
    {11704, "QX_DINFO_CUR_BEST_BOUND", 8},
    {11705, "QX_IINFO_CUR_STATUS", 4},
    {11706, "QX_IINFO_CUR_LP_COUNT", 4},
    {11707, "QX_IINFO_CUR_BRANCH_COUNT", 4},
    {11708, "QX_IINFO_CUR_ACTIVE_COUNT", 4},
    {11709, "QX_IINFO_CUR_NLP_COUNT", 4},
    {11710, "QX_IINFO_CUR_MIP_COUNT", 4},
    {11711, "QX_IINFO_CUR_CUT_COUNT", 4},
    {11800, "QX_DINFO_GEN_PERCENT", 8},
    {11801, "QX_IINFO_GEN_NONZ_TTL", 4},
    {11802, "QX_IINFO_GEN_NONZ_NL", 4},
    {11803, "QX_IINFO_GEN_ROW_NL", 4},
    {11804, "QX_IINFO_GEN_VAR_NL", 4},
    {11850, "QX_IINFO_IIS_BAR_ITER", 4},
    {11851, "QX_IINFO_IIS_SIM_ITER", 4},
    {11856, "QX_IINFO_IIS_TOT_TIME", 4},
    {11857, "QX_IINFO_IIS_ACT_NODE", 4},
    {11858, "QX_IINFO_IIS_LPCOUNT", 4},
    {11859, "QX_IINFO_IIS_NLPCOUNT", 4},
    {11860, "QX_IINFO_IIS_MIPCOUNT", 4},
    {11875, "QX_IINFO_IUS_BAR_ITER", 4},
    {11876, "QX_IINFO_IUS_SIM_ITER", 4},
    {11881, "QX_IINFO_IUS_TOT_TIME", 4},
    {11882, "QX_IINFO_IUS_ACT_NODE", 4},
    {11883, "QX_IINFO_IUS_LPCOUNT", 4},
    {11884, "QX_IINFO_IUS_NLPCOUNT", 4},
    {11885, "QX_IINFO_IUS_MIPCOUNT", 4},
    {11999, "QX_IINFO_ERR_OPTIM", 4},
    {13201, "QX_DINFO_STOC_EVOBJ", 8},
    {13202, "QX_DINFO_STOC_EVPI", 8},
    {13221, "QX_DINFO_STOC_NUM_SCENARIOS", 8},
    {13222, "QX_IINFO_STOC_NUM_STAGES", 4},
    {13231, "QX_DINFO_STOC_NUM_COLS_DETEQI", 8},
    {13233, "QX_DINFO_STOC_NUM_ROWS_DETEQI", 8},
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

QXAPI const char* QXgetParamMacroNamePtr(QXenv env, int id) {
  if (!env) return nullptr;
  const torva::ParamLongRow* row = nullptr;
  torva::guarded([&] {
    row = torva::findLongRow(id);
    return 0;
  });
  return row ? row->name : nullptr;
}

QXAPI const char* QXgetParamShortDescPtr(QXenv env, int id) {
  if (!env) return nullptr;
  const torva::ParamShortRow* row = nullptr;
  torva::guarded([&] {
    row = torva::findShortRow(id);
    return 0;
  });
  return row ? row->text : nullptr;
}

QXAPI const char* QXgetParamLongDescPtr(QXenv env, int id) {
  if (!env) return nullptr;
  const torva::ParamLongRow* row = nullptr;
  torva::guarded([&] {
    row = torva::findLongRow(id);
    return 0;
  });
  return row ? row->text : nullptr;
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
