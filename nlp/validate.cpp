// Validation of one instruction-list segment: walks the words once with a
// stack of classes (constant, linear, nonlinear) and combines them by the
// rules of each operator.
#include <algorithm>
#include <limits>
#include <vector>

#include "nlp/instruct.hpp"
#include "nlp/opcodes.hpp"
#include "torva.h"

namespace torva::nlp {
namespace {

constexpr int kSyntax = QXERR_INSTRUCT_SYNTAX;
// Initial capacity of the class stack; it doubles when fewer than
// kStackSlack free places remain.
constexpr std::size_t kStackInitial = 64;
constexpr std::size_t kStackSlack = 5;

int mulClass(int a, int b) {
  if (a == kNonlinear || b == kNonlinear || (a == kLinear && b == kLinear)) return kNonlinear;
  return std::max(a, b);
}

class Walker {
 public:
  Walker(std::span<int> code, int beg, int len, int nVars, int nNumbers, int numberBase)
      : code_(code), pos_(beg), end_(beg + len), nVars_(nVars), nNumbers_(nNumbers),
        numberBase_(numberBase) {
    stack_.reserve(kStackInitial);
  }

  int run(SegmentInfo& info) {
    while (pos_ < end_) {
      if (int rc = step(info)) return rc;
    }
    if (stack_.size() != 1) return kSyntax;
    info.cls = std::max(info.cls, stack_.back());
    return 0;
  }

 private:
  // Reads the next operand word; false when the segment ends first.
  bool operand(int& w) {
    if (pos_ >= end_) return false;
    w = code_[static_cast<std::size_t>(pos_++)];
    return true;
  }
  void push(int c) {
    if (stack_.capacity() - stack_.size() < kStackSlack) stack_.reserve(stack_.capacity() * 2);
    stack_.push_back(c);
  }
  bool enough(long long n) const { return n >= 0 && static_cast<long long>(stack_.size()) >= n; }
  // Pops n classes into the returned span's backing store.
  std::vector<int> pop(long long n) {
    std::vector<int> out(stack_.end() - n, stack_.end());
    stack_.resize(stack_.size() - static_cast<std::size_t>(n));
    return out;
  }
  // Skips `words` data words.
  bool skip(long long words) {
    if (words < 0 || words > end_ - pos_) return false;
    pos_ += static_cast<int>(words);
    return true;
  }

  int pushInstruction(int op, SegmentInfo& info) {
    int k;
    if (!operand(k)) return kSyntax;
    switch (op) {
      case EP_PUSH_VAR:
        if (k < 0 || k >= nVars_) return kSyntax;
        push(kLinear);
        return 0;
      case EP_PUSH_NUM: {
        // Code after an append marker counts numbers from its own list.
        if (afterMarker_) {
          k += numberBase_;
          code_[static_cast<std::size_t>(pos_ - 1)] = k;
        }
        if (k < 0 || k >= nNumbers_) return kSyntax;
        push(kConstant);
        return 0;
      }
      case EP_PUSH_SPAR:
        if (k < 0) return kSyntax;
        info.stochastic = true;
        info.maxSpar = std::max(info.maxSpar, k);
        push(kConstant);
        return 0;
      default:  // EP_PUSH_STR: the string table is checked when evaluated
        if (k < 0) return kSyntax;
        push(kConstant);
        return 0;
    }
  }

  int vectorPush(int op) {
    int n;
    if (!operand(n) || n < 1) return kSyntax;
    for (int i = 0; i < n; ++i) {
      int k;
      if (!operand(k)) return kSyntax;
      if (op == EP_VPUSH_VAR) {
        if (k == EP_VPUSH_VAR_ABSENT) {
          push(kConstant);
          continue;
        }
        if (k < 0 || k >= nVars_) return kSyntax;
        push(kLinear);
      } else {
        if (op == EP_VPUSH_NUM && afterMarker_) {
          k += numberBase_;
          code_[static_cast<std::size_t>(pos_ - 1)] = k;
        }
        if (k < 0 || (op == EP_VPUSH_NUM && k >= nNumbers_)) return kSyntax;
        push(kConstant);
      }
    }
    return 0;
  }

  int fixed(int op, int arity) {
    if (!enough(arity)) return kSyntax;
    std::vector<int> a = pop(arity);
    int c;
    switch (op) {
      case EP_PLUS:
      case EP_MINUS:
        c = std::max(a[0], a[1]);
        break;
      case EP_MULTIPLY:
        c = mulClass(a[0], a[1]);
        break;
      case EP_DIVIDE:
        c = (a[0] == kNonlinear || a[1] != kConstant) ? kNonlinear : a[0];
        break;
      case EP_POSATE:
      case EP_NEGATE:
        c = a[0];
        break;
      case EP_IF:
        c = a[0] != kConstant ? kNonlinear : std::max(a[1], a[2]);
        break;
      default:
        c = *std::max_element(a.begin(), a.end()) != kConstant ? kNonlinear : kConstant;
    }
    push(c);
    return 0;
  }

  int counted(int op, bool atLeastOne) {
    int n;
    if (!operand(n) || n < (atLeastOne ? 1 : 0) || !enough(n)) return kSyntax;
    std::vector<int> a = pop(n);
    int c = kConstant;
    if (op == EP_SUM || op == EP_AVG) {
      for (int v : a) c = std::max(c, v);
    } else if (op == EP_VMULT) {
      for (int v : a) c = mulClass(c, v);
    } else {
      for (int v : a)
        if (v != kConstant) c = kNonlinear;
    }
    push(c);
    return 0;
  }

  int sumProd() {
    int n, m;
    if (!operand(n) || !operand(m) || n < 1 || m < 1) return kSyntax;
    if (!enough(static_cast<long long>(n) * m)) return kSyntax;
    std::vector<int> a = pop(static_cast<long long>(n) * m);
    int c = kConstant;
    for (int k = 0; k < m; ++k) {
      int p = kConstant;
      for (int v = 0; v < n; ++v) p = mulClass(p, a[static_cast<std::size_t>(v) * m + k]);
      c = std::max(c, p);
    }
    push(c);
    return 0;
  }

  // EP_SUMIF n and EP_VLOOKUP n f: a test value, n tested entries, n values.
  int lookup(int op) {
    int n;
    if (!operand(n) || n < 1) return kSyntax;
    if (op == EP_VLOOKUP) {
      int f;
      if (!operand(f) || (f != 0 && f != 1)) return kSyntax;
    }
    if (!enough(2LL * n + 1)) return kSyntax;
    std::vector<int> a = pop(2LL * n + 1);
    int c = kConstant;
    for (int i = 0; i <= n; ++i)
      if (a[static_cast<std::size_t>(i)] != kConstant) c = kNonlinear;
    for (int i = n + 1; i <= 2 * n; ++i) c = std::max(c, a[static_cast<std::size_t>(i)]);
    push(c);
    return 0;
  }

  int block(int op, OpKind kind, SegmentInfo& info) {
    int a, b;
    switch (kind) {
      case OpKind::UserCode:
        if (!operand(a)) return kSyntax;
        if (a == EP_USRCOD_APPEND_MARK) {
          code_[static_cast<std::size_t>(pos_ - 2)] = 0;
          code_[static_cast<std::size_t>(pos_ - 1)] = 0;
          afterMarker_ = true;
          return 0;
        }
        // Any other count calls the user function on that many arguments.
        --pos_;
        return counted(op, false);
      case OpKind::Lsq:
        if (!operand(a) || !operand(b) || a < 0 || b < 0) return kSyntax;
        if (!skip(a + static_cast<long long>(a + 1) * b)) return kSyntax;
        info.cls = kNonlinear;
        return 0;
      case OpKind::Posd:
        if (!operand(a) || !operand(b) || b < 0 || !skip(3LL * b)) return kSyntax;
        info.setRow = true;
        push(kNonlinear);
        return 0;
      default:  // EP_SETS, EP_CARD
        if (!operand(a) || !operand(b) || b < 0 || !skip(b)) return kSyntax;
        info.setRow = true;
        push(kNonlinear);
        return 0;
    }
  }

  int step(SegmentInfo& info) {
    const int op = code_[static_cast<std::size_t>(pos_++)];
    const OpInfo& oi = opInfo(op);
    switch (oi.kind) {
      case OpKind::Invalid:
        return kSyntax;
      case OpKind::NoOp:
        return 0;
      case OpKind::Push:
        return pushInstruction(op, info);
      case OpKind::Constant:
        push(kConstant);
        return 0;
      case OpKind::VectorPush:
        return vectorPush(op);
      case OpKind::Fixed:
        return fixed(op, oi.arity);
      case OpKind::Counted:
        return counted(op, false);
      case OpKind::CountedMin1:
        return counted(op, true);
      case OpKind::SumProd:
        return sumProd();
      case OpKind::SumIf:
      case OpKind::VLookup:
        return lookup(op);
      default:
        return block(op, oi.kind, info);
    }
  }

  std::span<int> code_;
  int pos_, end_;
  int nVars_, nNumbers_, numberBase_;
  bool afterMarker_ = false;
  std::vector<int> stack_;
};

}  // namespace

int validateSegment(std::span<int> code, int beg, int len, int nVars, int nNumbers, int numberBase,
                    SegmentInfo& info) {
  info = SegmentInfo{};
  if (beg < 0 || len < 0 || static_cast<std::size_t>(beg) + static_cast<std::size_t>(len) > code.size())
    return kSyntax;
  return Walker(code, beg, len, nVars, nNumbers, numberBase).run(info);
}

int InstructionList::modelClass() const noexcept {
  bool stochastic = false;
  for (const SegmentInfo& s : info) {
    if (s.cls == kNonlinear) return kModelNonlinear;
    stochastic = stochastic || s.stochastic;
  }
  return stochastic ? kModelStochastic : kModelLinear;
}

int InstructionList::stocCount() const noexcept {
  int last = -1;
  for (const SegmentInfo& s : info) last = std::max(last, s.maxSpar);
  return last == std::numeric_limits<int>::max() ? last : last + 1;
}

}  // namespace torva::nlp
