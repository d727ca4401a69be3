// Keeping a model's instruction list in step with its linear core.
//
// An instruction-list model holds its functions twice over: the list rows
// and the core (bounds, types, row types, and whatever linear and quadratic
// data the host adds through the modification calls). Each list row is its
// base code (the host's own words, the first baseLen[r] of the segment)
// followed by a generated tail that spells out the core's part of the row:
//   objective     base + sum c_j x_j + q(x) + objconst
//   constraint i  base + sum a_ij x_j + q_i(x) - b_i
// where q is the row's quadratic part, 0.5 q x_j^2 for a stored diagonal
// term and q x_j x_k for an off-diagonal one. After every modification the
// tails are generated again from the core, so the two forms never disagree.
#pragma once

#include <functional>
#include <memory>

#include "base/model.hpp"
#include "nlp/instruct.hpp"

namespace torva::nlp {

// Indices a structural modification removes (rows of constraints, columns).
struct CoreDeletion {
  int count = 0;
  const int* rows = nullptr;
  const int* vars = nullptr;
};

// Runs edit (a modification of the model's core) and then brings the
// instruction list, when the model has one, in line with the core. Value
// changes are synchronised even when edit stops part way with an error
// (the changes before the failing index stay applied); deletions only when
// edit succeeded.
int syncedEdit(Model& model, const CoreDeletion& deleted, const std::function<int()>& edit);

// Regenerates the tails of every row of list from the core of model
// (bounds, types and row types included). Returns 0 or 2067.
int syncFromCore(const Model& model, InstructionList& list);

// Takes the current rows of list as base code (tails included) and clears
// the core's linear and quadratic data that the tails spelled out: after
// this the list alone carries the functions.
void foldIntoBase(Model& model, InstructionList& list);

// The list of a matrix-loaded model: empty bases, every row its tail.
std::unique_ptr<InstructionList> listFromCore(const Model& model);

}  // namespace torva::nlp
