// Writers of the algebraic model formats from the model store: TORVA text
// (read back by readTorvaText) and SOLMA modelling-language text.
#pragma once

#include <string>
#include <vector>

#include "base/model_data.hpp"
#include "io/text_io.hpp"

namespace torva {

// Checks the objective sense (QXERR_BAD_OBJECTIVE_SENSE) and the row types,
// which must be L, E or G (QXERR_BAD_CONSTRAINT_TYPE); 0 when both are fit
// to write.
int checkWritable(const ModelData& d);

// The matrix by rows, each row's entries in column order.
struct RowMatrix {
  std::vector<int> beg;  // m + 1
  std::vector<int> col;
  std::vector<double> value;
};
RowMatrix rowsOf(const ModelData& d);

// TORVA text of d. infinity is the environment's infinity value (a lower
// bound at or below its negative is infinite).
int writeTorvaText(const ModelData& d, double infinity, TextSink& out);
// SOLMA text of d, quadratic parts included.
int writeSolma(const ModelData& d, double infinity, TextSink& out);

// Builds the dual of the linear program d in dual (an empty store). Each
// row becomes a variable (sign by row type and objective sense), each
// finite nonzero bound a further variable, each column a row; the dual is a
// maximisation when objSense is -1 and a minimisation of the negated
// objective when it is 1. Integer types, names and quadratic data of d are
// not carried over.
void buildDual(const ModelData& d, int objSense, ModelData& dual);

}  // namespace torva
