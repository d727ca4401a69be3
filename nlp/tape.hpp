// The evaluator's form of an instruction list: each row's postfix program
// compiled once into a tape of nodes (Griewank and Walther, "Evaluating
// Derivatives", 2nd ed., 2008, ch. 2-4). A node is an elementary operation
// on earlier nodes; a row is a contiguous range of nodes and its value is
// the value of its root node.
//
// Sweeps over a tape:
//   forward   values and the local partial derivatives of every node;
//   reverse   adjoints, bar(u) += bar(v) * dv/du, giving the gradient at a
//             cost of a small multiple of the function (Griewank and
//             Walther, sec. 4.6);
//   tangent   forward-mode directional derivatives, dot(v) = sum dv/du dot(u);
//   second order  the Hessian as a sum over the nodes with curvature,
//             H = sum_v bar(v) sum_{i,l} d2phi_v/du_i du_l grad(u_i) grad(u_l)^T,
//             the identity edge pushing is built on (Gower and Mello 2012): one
//             reverse sweep gives the adjoints, a forward sweep with sparse
//             gradient vectors gives grad(u) of the nodes below curved nodes
//             only, so the cost follows the Hessian's nonzeros instead of one
//             sweep per variable.
// The Jacobian and Hessian sparsity patterns come from dependency sets
// propagated through the edges whose partial is not structurally zero, and
// are computed once per compiled model.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "nlp/instruct.hpp"

struct QXmodelRec;

namespace torva::nlp {

// Node kinds besides the EP_ opcodes (which are all positive).
inline constexpr int kNodeVar = -1;    // aux: variable index
inline constexpr int kNodeConst = -2;  // c: the value
inline constexpr int kNodeStr = -3;    // aux: string index

struct Node {
  int op = 0;
  int argBeg = 0;   // first argument in CompiledModel::args (partials aligned)
  int nArgs = 0;
  int aux = 0;      // variable, string index or count
  int d2Beg = -1;   // first local second partial, -1 for nodes without curvature
  double c = 0.0;   // constant value or operand
};

struct RowTape {
  int nodeBeg = 0, nodeEnd = 0;
  int root = -1;
  int error = 0;                 // compile error of the row (2058, 2067), 0 when fine
  std::vector<int> jacVars;      // variables with a structurally non-zero partial, increasing
  std::vector<int> hessI, hessJ; // lower triangle I >= J, ordered by J then I
  std::vector<int> hessDirs;     // distinct J of the pattern, increasing
  std::vector<int> hessColBeg;   // start of each J's entries, hessDirs.size()+1
  std::vector<int> gradNodes;    // nodes whose gradients the Hessian needs, in order
  std::vector<int> curvedNodes;  // nodes with curvature and a live adjoint
};

class CompiledModel {
 public:
  // Compiles every row of list (the strings are those EP_PUSH_STR addresses).
  CompiledModel(const InstructionList& list, const std::vector<std::string>& strings);

  const InstructionList& list() const noexcept { return list_; }
  const std::vector<std::string>& strings() const noexcept { return strings_; }
  int rows() const noexcept { return static_cast<int>(rows_.size()); }
  const RowTape& row(int r) const noexcept { return rows_[static_cast<std::size_t>(r)]; }
  const std::vector<Node>& nodes() const noexcept { return nodes_; }
  const std::vector<int>& args() const noexcept { return args_; }
  int d2Size() const noexcept { return d2Size_; }

  // Builds the Hessian patterns of every row (once).
  void buildHessianPattern();
  bool hessianReady() const noexcept { return hessReady_; }

 private:
  friend class RowCompiler;
  const InstructionList& list_;
  const std::vector<std::string>& strings_;
  std::vector<Node> nodes_;
  std::vector<int> args_;
  int d2Size_ = 0;
  std::vector<RowTape> rows_;
  bool hessReady_ = false;
};

// Per-thread work arrays of the sweeps, sized for a compiled model.
struct Workspace {
  std::vector<double> val, d1, d2, bar, dot;
  std::vector<char> mark;
  std::vector<double> dense;     // n entries, zero between uses
  // Sparse gradients of the nodes of RowTape::gradNodes: entries
  // [gradBeg[v], gradEnd[v]) of gradIdx/gradVal.
  std::vector<int> gradBeg, gradEnd, gradIdx, touched;
  std::vector<double> gradVal;
  void fit(const CompiledModel& cm, int nVars);
};

// Derivative order of a forward sweep.
enum class Order { Value, First, Second };

// Forward sweep of row r at x: values (and local partials). Returns 0 or an
// error code; value and domain mark of the row come from w.val/w.mark at the
// root.
int forwardRow(const CompiledModel& cm, int r, const double* x, Order order, Workspace& w,
               QXmodelRec* model);
// Reverse sweep after a First/Second forward sweep: adds the gradient of row
// r to w.dense (at each variable index).
void reverseRow(const CompiledModel& cm, int r, Workspace& w);
// Forward-mode gradient: one tangent sweep per variable of the row; adds
// into w.dense.
void tangentGradient(const CompiledModel& cm, int r, Workspace& w);
// Hessian values of row r (after a Second forward sweep) in the order of the
// row's pattern.
void hessianRow(const CompiledModel& cm, int r, Workspace& w, double* out);

// Local values and partials of one node from its argument values. d1 gets
// nArgs partials (when non-null), d2 the packed lower triangle of local
// second partials (when non-null and the node has curvature).
int localEval(const CompiledModel& cm, const Node& node, const double* a, double& v, double* d1,
              double* d2, bool& mark, QXmodelRec* model);

// First differences as the model asks for them (QX_DPARAM_NLP_PSTEP_FINITEDIFF,
// QX_IPARAM_NLP_DERIV_DIFFTYPE): step h, forward, backward or central
// quotients (central when the solver may choose). The defaults without a
// model.
struct DiffRule {
  double h = 5.0e-07;
  int type = 0;  // QX_DERIV_FREE
};
DiffRule differenceRule(const QXmodelRec* model) noexcept;

// Derivative structure of an operator, for the patterns.
enum class DerivKind { Zero, Linear, Curved };
DerivKind derivKind(int op) noexcept;
// Whether the partial of argument i of node is structurally non-zero.
bool edgeLive(const Node& node, int i) noexcept;
// Whether the local second partial (i, l) of a curved node is structurally non-zero.
bool secondLive(const Node& node, int i, int l) noexcept;

}  // namespace torva::nlp
