// The opcode table of instruction lists: for every opcode its name, its
// operand words and its stack effect. The validator, the evaluator's
// compiler, the MPI reader and the MPI writer all read this one table.
#pragma once

#include <string_view>

namespace torva::nlp {

// Largest opcode; codes above it are invalid.
inline constexpr int kMaxOpcode = 1177;

enum class OpKind : unsigned char {
  Invalid,
  NoOp,       // 0: one word, no effect
  Push,       // one operand word (number, variable, string or parameter index)
  Constant,   // no operand, pushes 1
  VectorPush, // n >= 1, then n indices
  Fixed,      // pops `arity`, pushes 1
  Counted,    // operand n: pops n, pushes 1
  CountedMin1,// the same with n >= 1
  SumProd,    // n m: pops n*m
  SumIf,      // n: pops 2n+1
  VLookup,    // n f: pops 2n+1, f in {0, 1}
  UserCode,   // c: the append marker, or a user function of c arguments
  Lsq,        // a b, then a + (a+1)*b words; stack unchanged
  Posd,       // x k, then 3k words; pushes 1
  SetBlock,   // x k, then k words; pushes 1
};

struct OpInfo {
  const char* name = nullptr;  // null for codes that are not opcodes
  OpKind kind = OpKind::Invalid;
  int arity = 0;               // Fixed only
};

// Entry of code (Invalid for codes outside 0..kMaxOpcode or not listed).
const OpInfo& opInfo(int code) noexcept;
// Opcode of a name (EP_PUSH_SVAR included), or -1.
int opcodeOf(std::string_view name);

}  // namespace torva::nlp
