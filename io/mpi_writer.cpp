// Writer of MPI instruction-list files.
#include <algorithm>

#include "io/mpi_format.hpp"
#include "nlp/opcodes.hpp"
#include "torva.h"

namespace torva {
namespace {

using nlp::OpKind;

constexpr int kNameWidth = 12;  // names up to this width use the fixed layout

void variables(const MpiWriteData& d, TextSink& out) {
  std::size_t width = 0;
  for (const auto& s : d.varNames) width = std::max(width, s.size());
  out.put("VARIABLES\n");
  const bool wide = width > kNameWidth;
  if (wide) {
    // The header's name column is as wide as the longest name.
    out.printf("!  %-*s %20s %20s %20s %8s\n", static_cast<int>(width), "Name", "Lower Bound",
               "Initial Point", "Upper Bound", "Type");
  } else {
    out.printf("!%-12s %20s %20s %20s %8s\n", "Name", "Lower Bound", "Initial Point", "Upper Bound", "Type");
  }
  for (int j = 0; j < d.nVars; ++j) {
    const std::size_t k = static_cast<std::size_t>(j);
    if (wide) out.printf("   %-*s ", static_cast<int>(width), d.varNames[k].c_str());
    else out.printf("   %-12s ", d.varNames[k].c_str());
    out.printf("%20.16g ", d.lower[k]);
    if (d.start.empty()) out.printf("%20g ", 0.0);
    else out.printf("%20.16g ", d.start[k]);
    out.printf("%20.16g ", d.upper[k]);
    out.printf("%8c\n", d.varType[k]);
  }
}

const char* varName(const MpiWriteData& d, int j) {
  return j >= 0 && j < d.nVars ? d.varNames[static_cast<std::size_t>(j)].c_str() : "*";
}

// String k of the table; a list may name a string the table does not hold
// yet (evaluating it fails), which is written as the empty string.
const char* stringAt(const MpiWriteData& d, int k) {
  return k >= 0 && static_cast<std::size_t>(k) < d.strings->size() ? (*d.strings)[static_cast<std::size_t>(k)].c_str()
                                                                   : "";
}

// EP_PUSH_SPAR k with the parameter's name, or SP%06d without one.
void stocParam(const MpiWriteData& d, const char* op, int k, TextSink& out) {
  if (d.sparNames) {
    const auto it = d.sparNames->find(k);
    if (it != d.sparNames->end()) {
      out.printf("    %-12s %s\n", op, it->second.c_str());
      return;
    }
  }
  out.printf("    %-12s SP%06d\n", op, k);
}

// Writes the instructions of one segment, one per line.
void segment(const MpiWriteData& d, int r, TextSink& out) {
  const std::vector<int>& code = *d.code;
  const int beg = (*d.beg)[static_cast<std::size_t>(r)];
  const int end = beg + (*d.len)[static_cast<std::size_t>(r)];
  auto at = [&](int p) { return p < end ? code[static_cast<std::size_t>(p)] : 0; };
  int p = beg;
  while (p < end) {
    const int op = code[static_cast<std::size_t>(p++)];
    const nlp::OpInfo& oi = nlp::opInfo(op);
    if (oi.kind == OpKind::NoOp || oi.kind == OpKind::Invalid) continue;
    const char* name = oi.name ? oi.name : "EP_NO_OP";
    switch (oi.kind) {
      case OpKind::Push: {
        const int k = at(p++);
        if (op == EP_PUSH_NUM) out.printf("    %-12s      %.16g \n", name, (*d.numbers)[static_cast<std::size_t>(k)]);
        else if (op == EP_PUSH_VAR) out.printf("    %-12s %s\n", name, varName(d, k));
        else if (op == EP_PUSH_SPAR) stocParam(d, name, k, out);
        else out.printf("    %-12s \"%s\"\n", name, stringAt(d, k));
        break;
      }
      case OpKind::VectorPush: {
        const int n = at(p++);
        out.printf("    %-12s %12d", name, n);
        for (int i = 0; i < n; ++i) {
          const int k = at(p++);
          if (op == EP_VPUSH_NUM) out.printf("      %.20g ", (*d.numbers)[static_cast<std::size_t>(k)]);
          else if (op == EP_VPUSH_VAR) out.printf(" %s", varName(d, k));
          else out.printf(" \"%s\"", stringAt(d, k));
        }
        out.put('\n');
        break;
      }
      case OpKind::Counted:
      case OpKind::CountedMin1:
      case OpKind::SumIf:
      case OpKind::UserCode:
        out.printf("    %-12s %12d\n", name, at(p++));
        break;
      case OpKind::SumProd:
      case OpKind::VLookup:
        out.printf("    %-12s %12d %12d\n", name, at(p), at(p + 1));
        p += 2;
        break;
      case OpKind::Lsq:
      case OpKind::Posd:
      case OpKind::SetBlock: {
        const int a = at(p), b = at(p + 1);
        const long long more = oi.kind == OpKind::Lsq ? a + static_cast<long long>(a + 1) * b
                                                      : (oi.kind == OpKind::Posd ? 3LL * b : b);
        out.printf("    %-12s", name);
        for (long long i = 0; i < more + 2 && p < end; ++i) out.printf(" %d", code[static_cast<std::size_t>(p++)]);
        out.put('\n');
        break;
      }
      default:
        out.printf("    %-12s\n", name);
    }
  }
}

}  // namespace

void writeMpi(const MpiWriteData& d, TextSink& out) {
  out.printf("BEGINMODEL   %-12s\n", d.title.c_str());
  out.printf("! %8s %8d\n", "Number of Objective Functions: ", 1);
  out.printf("! %8s %8d\n", "Number of Constraints        : ", d.nCons);
  out.printf("! %8s %8d\n", "Number of Variables          : ", d.nVars);
  variables(d, out);
  out.put("OBJECTIVES\n");
  out.printf("  OBJ%05d    %-10s  %s\n", 0, d.objSense == QX_MAX ? "MAXIMIZE" : "MINIMIZE", d.classWord[0].c_str());
  segment(d, 0, out);
  out.put("CONSTRAINTS\n");
  for (int i = 0; i < d.nCons; ++i) {
    const char type[2] = {d.conType[static_cast<std::size_t>(i)], '\0'};
    out.printf("  %s    %-10s  %s\n", d.rowNames[static_cast<std::size_t>(i)].c_str(), type,
               d.classWord[static_cast<std::size_t>(i) + 1].c_str());
    segment(d, i + 1, out);
  }
  out.put("ENDMODEL\n");
}

}  // namespace torva
