// Loading and extending instruction-list models: the operations behind
// QXloadInstruct, QXloadNLPCode and QXaddInstruct, the conversion of a
// matrix-loaded model into an instruction list, and the copy hook of
// QXcopyModel.
#pragma once

#include <memory>

#include "base/model.hpp"
#include "nlp/instruct.hpp"

namespace torva::nlp {

// The arguments of the load and append calls, as the host passes them.
struct InstructArgs {
  int nCons = 0, nObjs = 0, nVars = 0, nNumbers = 0;
  const int* objSense = nullptr;
  const char* conType = nullptr;
  const char* varType = nullptr;
  const int* code = nullptr;
  int codeSize = 0;
  const int* varIndex = nullptr;
  const double* numbers = nullptr;
  const double* varStart = nullptr;
  const int* objBeg = nullptr;
  const int* objLength = nullptr;
  const int* conBeg = nullptr;
  const int* conLength = nullptr;
  const double* lower = nullptr;
  const double* upper = nullptr;
};

// The model's nonlinear data, created when absent.
NlpData& nlpData(Model& model);
// The instruction list of a model, or null.
const InstructionList* instructionList(const Model& model) noexcept;

int loadInstruct(Model& model, const InstructArgs& a);
int addInstruct(Model& model, const InstructArgs& a);
// Turns a model loaded as matrix data into an instruction list spelling out
// the same model (0 at once when it already has a list).
int convertToInstruct(Model& model);

// Sets QX_IPARAM_NLP_LINEARITY from the classes of list's rows.
void markLinearity(Model& model, const InstructionList& list);

// The instruction list of a matrix-loaded model: the objective
// sum c_j x_j + q(x) + objconst and each row sum a_ij x_j + q_i(x) - b_i
// (quadratic parts as nlp/sync.hpp writes them).
std::unique_ptr<InstructionList> listFromMatrix(const Model& model);

// The model's instruction list, or a list converted from its matrix when it
// has none (kept in holder). Null when nothing is loaded.
const InstructionList* listOrConverted(const Model& model, std::unique_ptr<InstructionList>& holder);

// Copies the nonlinear data of source into target (QXcopyModel).
void copyNlpData(const Model& source, Model& target);

}  // namespace torva::nlp
