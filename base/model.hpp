// A model: one optimisation problem with its parameters, callbacks and
// solution records. It belongs to exactly one environment.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "base/callback.hpp"
#include "base/env.hpp"
#include "base/model_data.hpp"
#include "base/params.hpp"
#include "base/solution.hpp"
#include "base/workarea.hpp"

namespace torva::nlp {
struct NlpData;
}

struct QXmodelRec {
  explicit QXmodelRec(QXenvRec* owner) : env(owner), params(owner->params) {}

  QXenvRec* env;
  int status = QX_STATUS_UNLOADED;

  torva::ModelData data;
  torva::ParamSet params;

  QXmodelLogfunc logFunc = nullptr;
  void* logUserData = nullptr;
  torva::Callbacks callbacks;

  std::optional<torva::LpSolution> lpSolution;
  std::optional<torva::MipSolution> mipSolution;
  // Solutions found by QXsolveNextBestMIPsols; any change of the data drops
  // them.
  std::optional<torva::MipSolutionList> nextBest;

  // The optimiser's resident work area (basis, factorisation, scaled data),
  // kept between solves for warm starts; null when none is resident.
  std::unique_ptr<torva::WorkArea> workArea;
  // Set by an optimisation whose presolve level had bit 8192: presolve stays
  // forced off for this model, which disables the out-of-memory retry.
  bool presolveForcedOff = false;
  // Nonlinear data: instruction list, string table, nonlinear structure
  // (null until one of them is loaded), and the row that failed the last
  // instruction-list load or evaluation (-1 the objective).
  std::shared_ptr<torva::nlp::NlpData> nlp;
  std::optional<int> instructErrorRow;

  // Line number and text of the last failed file read.
  int errorLine = 0;
  std::optional<std::string> errorLineText;

  // Release groups of the model without touching the rest.
  void freeSolverMemory();
  void freeSolution() { lpSolution.reset(); }
  void freeMipSolution() {
    mipSolution.reset();
    nextBest.reset();
  }
  void freeGopSolution() {}
  void freeNlpSolverMemory() {}
  // Drops the name lookup tables; they are rebuilt on the next lookup.
  void freeHashMemory();
  // Frees every name (titles and the row, column and cone name lists).
  void freeNames();

  // Marks the data as changed: the solver work area is dropped, the
  // statistics recomputed on demand, the model becomes loaded (14) and a
  // continuous solution stays readable with primal and dual status 14 and
  // model status 12 (unknown).
  void markChanged();

  // Marks a value change (bounds, costs, right-hand sides, types) that the
  // resident work area already absorbed: everything markChanged does except
  // dropping the work area.
  void markValuesChanged();
};
