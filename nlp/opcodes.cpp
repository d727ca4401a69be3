#include "nlp/opcodes.hpp"

#include <array>
#include <string>
#include <unordered_map>

namespace torva::nlp {
namespace {

struct Row {
  int code;
  const char* name;
  OpKind kind;
  int arity;
};

// Every valid opcode with its operand and stack shape.
constexpr Row kRows[] = {
    {1001, "EP_PLUS", OpKind::Fixed, 2},
    {1002, "EP_MINUS", OpKind::Fixed, 2},
    {1003, "EP_MULTIPLY", OpKind::Fixed, 2},
    {1004, "EP_DIVIDE", OpKind::Fixed, 2},
    {1005, "EP_POWER", OpKind::Fixed, 2},
    {1006, "EP_EQUAL", OpKind::Fixed, 2},
    {1007, "EP_NOT_EQUAL", OpKind::Fixed, 2},
    {1008, "EP_LTOREQ", OpKind::Fixed, 2},
    {1009, "EP_GTOREQ", OpKind::Fixed, 2},
    {1010, "EP_LTHAN", OpKind::Fixed, 2},
    {1011, "EP_GTHAN", OpKind::Fixed, 2},
    {1012, "EP_AND", OpKind::Fixed, 2},
    {1013, "EP_OR", OpKind::Fixed, 2},
    {1014, "EP_NOT", OpKind::Fixed, 1},
    {1015, "EP_PERCENT", OpKind::Fixed, 1},
    {1016, "EP_POSATE", OpKind::Fixed, 1},
    {1017, "EP_NEGATE", OpKind::Fixed, 1},
    {1018, "EP_ABS", OpKind::Fixed, 1},
    {1019, "EP_SQRT", OpKind::Fixed, 1},
    {1020, "EP_LOG", OpKind::Fixed, 1},
    {1021, "EP_LN", OpKind::Fixed, 1},
    {1022, "EP_PI", OpKind::Constant, 0},
    {1023, "EP_SIN", OpKind::Fixed, 1},
    {1024, "EP_COS", OpKind::Fixed, 1},
    {1025, "EP_TAN", OpKind::Fixed, 1},
    {1026, "EP_ATAN2", OpKind::Fixed, 2},
    {1027, "EP_ATAN", OpKind::Fixed, 1},
    {1028, "EP_ASIN", OpKind::Fixed, 1},
    {1029, "EP_ACOS", OpKind::Fixed, 1},
    {1030, "EP_EXP", OpKind::Fixed, 1},
    {1031, "EP_MOD", OpKind::Fixed, 2},
    {1032, "EP_FALSE", OpKind::Constant, 0},
    {1033, "EP_TRUE", OpKind::Constant, 0},
    {1034, "EP_IF", OpKind::Fixed, 3},
    {1035, "EP_PSN", OpKind::Fixed, 1},
    {1036, "EP_PSL", OpKind::Fixed, 1},
    {1037, "EP_LGM", OpKind::Fixed, 1},
    {1038, "EP_SIGN", OpKind::Fixed, 1},
    {1039, "EP_FLOOR", OpKind::Fixed, 1},
    {1040, "EP_FPA", OpKind::Fixed, 2},
    {1041, "EP_FPL", OpKind::Fixed, 2},
    {1042, "EP_PEL", OpKind::Fixed, 2},
    {1043, "EP_PEB", OpKind::Fixed, 2},
    {1044, "EP_PPS", OpKind::Fixed, 2},
    {1045, "EP_PPL", OpKind::Fixed, 2},
    {1046, "EP_PTD", OpKind::Fixed, 2},
    {1047, "EP_PCX", OpKind::Fixed, 2},
    {1048, "EP_WRAP", OpKind::Fixed, 2},
    {1049, "EP_PBNO", OpKind::Fixed, 3},
    {1050, "EP_PFS", OpKind::Fixed, 3},
    {1051, "EP_PFD", OpKind::Fixed, 3},
    {1052, "EP_PHG", OpKind::Fixed, 4},
    {1053, "EP_RAND", OpKind::Fixed, 1},
    {1054, "EP_USER", OpKind::Counted, 0},
    {1055, "EP_SUM", OpKind::CountedMin1, 0},
    {1056, "EP_AVG", OpKind::CountedMin1, 0},
    {1057, "EP_MIN", OpKind::Counted, 0},
    {1058, "EP_MAX", OpKind::Counted, 0},
    {1059, "EP_NPV", OpKind::Counted, 0},
    {1060, "EP_VAND", OpKind::Counted, 0},
    {1061, "EP_VOR", OpKind::Counted, 0},
    {1062, "EP_PUSH_NUM", OpKind::Push, 0},
    {1063, "EP_PUSH_VAR", OpKind::Push, 0},
    {1064, "EP_NORMDENS", OpKind::Fixed, 1},
    {1065, "EP_NORMINV", OpKind::Fixed, 3},
    {1066, "EP_TRIAINV", OpKind::Fixed, 4},
    {1067, "EP_EXPOINV", OpKind::Fixed, 2},
    {1068, "EP_UNIFINV", OpKind::Fixed, 3},
    {1069, "EP_MULTINV", OpKind::Counted, 0},
    {1070, "EP_USRCOD", OpKind::UserCode, 0},
    {1071, "EP_SUMPROD", OpKind::SumProd, 0},
    {1072, "EP_SUMIF", OpKind::SumIf, 0},
    {1073, "EP_VLOOKUP", OpKind::VLookup, 0},
    {1074, "EP_VPUSH_NUM", OpKind::VectorPush, 0},
    {1075, "EP_VPUSH_VAR", OpKind::VectorPush, 0},
    {1076, "EP_VMULT", OpKind::Counted, 0},
    {1077, "EP_SQR", OpKind::Fixed, 1},
    {1078, "EP_SINH", OpKind::Fixed, 1},
    {1079, "EP_COSH", OpKind::Fixed, 1},
    {1080, "EP_TANH", OpKind::Fixed, 1},
    {1081, "EP_ASINH", OpKind::Fixed, 1},
    {1082, "EP_ACOSH", OpKind::Fixed, 1},
    {1083, "EP_ATANH", OpKind::Fixed, 1},
    {1084, "EP_LOGB", OpKind::Fixed, 2},
    {1085, "EP_LOGX", OpKind::Fixed, 1},
    {1086, "EP_LNX", OpKind::Fixed, 1},
    {1087, "EP_TRUNC", OpKind::Fixed, 2},
    {1088, "EP_NORMSINV", OpKind::Fixed, 1},
    {1089, "EP_INT", OpKind::Fixed, 1},
    {1090, "EP_PUSH_STR", OpKind::Push, 0},
    {1091, "EP_VPUSH_STR", OpKind::VectorPush, 0},
    {1092, "EP_PUSH_SPAR", OpKind::Push, 0},
    {1093, "EP_NORMPDF", OpKind::Fixed, 3},
    {1094, "EP_NORMCDF", OpKind::Fixed, 3},
    {1095, "EP_LSQ", OpKind::Lsq, 0},
    {1096, "EP_PSN_UPPER", OpKind::Fixed, 1},
    {1097, "EP_PSN_LOG", OpKind::Fixed, 1},
    {1098, "EP_PSN_RANGE", OpKind::Fixed, 2},
    {1100, "EP_PBT", OpKind::Fixed, 3},
    {1101, "EP_PBTINV", OpKind::Fixed, 3},
    {1102, "EP_PBNINV", OpKind::Fixed, 3},
    {1103, "EP_PCC", OpKind::Fixed, 3},
    {1104, "EP_PCCINV", OpKind::Fixed, 3},
    {1105, "EP_PCXINV", OpKind::Fixed, 2},
    {1106, "EP_EXPN", OpKind::Fixed, 2},
    {1107, "EP_PFDINV", OpKind::Fixed, 3},
    {1108, "EP_PGA", OpKind::Fixed, 3},
    {1109, "EP_PGAINV", OpKind::Fixed, 3},
    {1110, "EP_PGE", OpKind::Fixed, 2},
    {1111, "EP_PGEINV", OpKind::Fixed, 2},
    {1112, "EP_PGU", OpKind::Fixed, 3},
    {1113, "EP_PGUINV", OpKind::Fixed, 3},
    {1114, "EP_PHGINV", OpKind::Fixed, 4},
    {1115, "EP_PLA", OpKind::Fixed, 3},
    {1116, "EP_PLAINV", OpKind::Fixed, 3},
    {1117, "EP_PLG", OpKind::Fixed, 2},
    {1118, "EP_PLGINV", OpKind::Fixed, 2},
    {1119, "EP_LGT", OpKind::Fixed, 3},
    {1120, "EP_LGTINV", OpKind::Fixed, 3},
    {1121, "EP_LGNM", OpKind::Fixed, 3},
    {1122, "EP_LGNMINV", OpKind::Fixed, 3},
    {1123, "EP_NGBN", OpKind::Fixed, 3},
    {1124, "EP_NGBNINV", OpKind::Fixed, 3},
    {1125, "EP_NRM", OpKind::Fixed, 3},
    {1126, "EP_PPT", OpKind::Fixed, 3},
    {1127, "EP_PPTINV", OpKind::Fixed, 3},
    {1128, "EP_PPSINV", OpKind::Fixed, 2},
    {1129, "EP_PTDINV", OpKind::Fixed, 2},
    {1130, "EP_TRIAN", OpKind::Fixed, 4},
    {1131, "EP_UNIFM", OpKind::Fixed, 3},
    {1132, "EP_PWB", OpKind::Fixed, 3},
    {1133, "EP_PWBINV", OpKind::Fixed, 3},
    {1134, "EP_NRMINV", OpKind::Fixed, 3},
    {1135, "EP_TRIANINV", OpKind::Fixed, 4},
    {1136, "EP_EXPNINV", OpKind::Fixed, 2},
    {1137, "EP_UNIFMINV", OpKind::Fixed, 3},
    {1138, "EP_MLTNMINV", OpKind::Counted, 0},
    {1139, "EP_BTDENS", OpKind::Fixed, 3},
    {1140, "EP_BNDENS", OpKind::Fixed, 3},
    {1141, "EP_CCDENS", OpKind::Fixed, 3},
    {1142, "EP_CXDENS", OpKind::Fixed, 2},
    {1143, "EP_EXPDENS", OpKind::Fixed, 2},
    {1144, "EP_FDENS", OpKind::Fixed, 3},
    {1145, "EP_GADENS", OpKind::Fixed, 3},
    {1146, "EP_GEDENS", OpKind::Fixed, 2},
    {1147, "EP_GUDENS", OpKind::Fixed, 3},
    {1148, "EP_HGDENS", OpKind::Fixed, 4},
    {1149, "EP_LADENS", OpKind::Fixed, 3},
    {1150, "EP_LGDENS", OpKind::Fixed, 2},
    {1151, "EP_LGTDENS", OpKind::Fixed, 3},
    {1152, "EP_LGNMDENS", OpKind::Fixed, 3},
    {1153, "EP_NGBNDENS", OpKind::Fixed, 3},
    {1154, "EP_NRMDENS", OpKind::Fixed, 3},
    {1155, "EP_PTDENS", OpKind::Fixed, 3},
    {1156, "EP_PSDENS", OpKind::Fixed, 2},
    {1157, "EP_TDENS", OpKind::Fixed, 2},
    {1158, "EP_TRIADENS", OpKind::Fixed, 4},
    {1159, "EP_UNIFDENS", OpKind::Fixed, 3},
    {1160, "EP_WBDENS", OpKind::Fixed, 3},
    {1161, "EP_RADIANS", OpKind::Fixed, 1},
    {1162, "EP_DEGREES", OpKind::Fixed, 1},
    {1163, "EP_ROUND", OpKind::Fixed, 2},
    {1164, "EP_ROUNDUP", OpKind::Fixed, 2},
    {1165, "EP_ROUNDDOWN", OpKind::Fixed, 2},
    {1166, "EP_ERF", OpKind::Fixed, 1},
    {1167, "EP_PBN", OpKind::Fixed, 3},
    {1168, "EP_PBB", OpKind::Fixed, 4},
    {1169, "EP_PBBINV", OpKind::Fixed, 4},
    {1170, "EP_BBDENS", OpKind::Fixed, 4},
    {1171, "EP_PSS", OpKind::Fixed, 2},
    {1172, "EP_SSDENS", OpKind::Fixed, 2},
    {1173, "EP_SSINV", OpKind::Fixed, 2},
    {1174, "EP_POSD", OpKind::Posd, 0},
    {1175, "EP_SETS", OpKind::SetBlock, 0},
    {1176, "EP_CARD", OpKind::SetBlock, 0},
    {1177, "EP_STDEV", OpKind::Counted, 0},
};

struct Table {
  std::array<OpInfo, kMaxOpcode + 1> info{};
  std::unordered_map<std::string, int> byName;
  Table() {
    info[0] = OpInfo{"EP_NO_OP", OpKind::NoOp, 0};
    for (const Row& r : kRows) {
      info[static_cast<std::size_t>(r.code)] = OpInfo{r.name, r.kind, r.arity};
      if (r.name) byName.emplace(r.name, r.code);
    }
    byName.emplace("EP_PUSH_SVAR", 1092);
  }
};

const Table& table() {
  static const Table t;
  return t;
}

const OpInfo kInvalid{};

}  // namespace

const OpInfo& opInfo(int code) noexcept {
  if (code < 0 || code > kMaxOpcode) return kInvalid;
  return table().info[static_cast<std::size_t>(code)];
}

int opcodeOf(std::string_view name) {
  const auto& m = table().byName;
  auto it = m.find(std::string(name));
  return it == m.end() ? -1 : it->second;
}

}  // namespace torva::nlp
