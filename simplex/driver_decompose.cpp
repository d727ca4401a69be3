// Total decomposition in the optimise driver: independent blocks solved as
// models of their own, then the whole model reoptimised from the joined
// basis.
#include <omp.h>

#include <exception>

#include "base/log.hpp"
#include "simplex/decompose.hpp"
#include "simplex/driver.hpp"

namespace torva::driver {
namespace {

struct BlockRun {
  std::unique_ptr<Model> model;
  std::vector<int> rows, cols;
  int error = 0;
  int status = 0;
};

void solveBlock(BlockRun& b, int method) {
  try {
    b.error = optimize(*b.model, method, &b.status);
  } catch (const std::bad_alloc&) {
    b.error = QXERR_OUT_OF_MEMORY;
  } catch (...) {
    b.error = QXERR_INTERNAL_ERROR;
  }
}

}  // namespace

int solveDecomposed(Call& call, bool* finished) {
  Model& model = call.model;
  *finished = false;
  const ModelClass cls = classify(model);
  if (cls.quadratic || cls.cones) {
    logPrint(model, "\nWARNING: total decomposition is not supported for conic or quadratic models\n");
    return 0;
  }
  const BlockSplit split = splitBlocks(model.data);
  if (split.count < 2) {
    logPrint(model, "\nWARNING: model is not totally decomposable");
    logPrint(model, "\nWARNING: reverting back to the original model...\n");
    return 0;
  }
  logPrint(model, "\nLP has been decomposed into %d independent blocks..\n", split.count);

  std::vector<BlockRun> blocks(static_cast<std::size_t>(split.count));
  for (int b = 0; b < split.count; ++b) {
    BlockRun& br = blocks[b];
    br.model = std::make_unique<Model>(model.env);
    br.model->params = model.params;
    br.model->params.storeInt(QX_IPARAM_DECOMPOSITION_TYPE, 1);
    br.model->params.storeInt(QX_IPARAM_NUM_THREADS, 1);
    br.model->params.storeInt(QX_IPARAM_IPM_NUM_THREADS, 1);
    br.model->params.storeInt(QX_IPARAM_LP_PRINTLEVEL, 0);
    extractBlock(model.data, split, b, br.model->data, br.rows, br.cols);
    br.model->status = QX_STATUS_LOADED;
  }
  const int threads = std::max(1, call.opt.numThreads);
#pragma omp parallel for num_threads(threads) schedule(dynamic, 1)
  for (int b = 0; b < split.count; ++b) solveBlock(blocks[b], call.method);

  // The joined basis: each block's statuses in its rows and columns; a block
  // without a solution contributes its slacks as basic and its columns at a
  // bound.
  HostBasis joined{std::vector<int>(static_cast<std::size_t>(model.data.n), QX_BASTYPE_ATLO),
                   std::vector<int>(static_cast<std::size_t>(model.data.m), 0)};
  int iterations = 0;
  for (int b = 0; b < split.count; ++b) {
    BlockRun& br = blocks[b];
    const LpSolution* r = br.model->lpSolution ? &*br.model->lpSolution : nullptr;
    const int iter = r ? r->simplexIters : 0;
    iterations += iter;
    logPrint(model, "Completed solving block %d, status:%d, iter:%g, error:%d", b, br.status,
             static_cast<double>(iter), br.error);
    const bool solved = r && r->colStatus.size() == br.cols.size() && r->rowStatus.size() == br.rows.size();
    if (!solved || br.error) {
      logPrint(model, "\nWARNING: failed to find a solution to subproblem #%d, status: %d", b, br.status);
      if (!solved) continue;
    }
    for (std::size_t k = 0; k < br.cols.size(); ++k) joined.cols[br.cols[k]] = r->colStatus[k];
    for (std::size_t k = 0; k < br.rows.size(); ++k) joined.rows[br.rows[k]] = r->rowStatus[k];
  }
  // Column statuses at a bound the column does not have are moved to one it has.
  for (int j = 0; j < model.data.n; ++j) {
    int& st = joined.cols[j];
    const bool lo = model.data.lower[j] > -kInfinity, up = model.data.upper[j] < kInfinity;
    if (st == QX_BASTYPE_ATLO && !lo) st = up ? QX_BASTYPE_ATUP : QX_BASTYPE_FNUL;
    if (st == QX_BASTYPE_ATUP && !up) st = lo ? QX_BASTYPE_ATLO : QX_BASTYPE_FNUL;
  }
  model.lpSolution->simplexIters += iterations;
  logPrint(model, "\nConsolidating the solution to the original LP model..\n");
  logPrint(model, "\nReoptimizing the original LP with consolidated basis.");
  model.workArea.reset();
  call.startBasis = std::move(joined);
  const int rc = runLpPipeline(call);
  const int st = model.lpSolution->modelStatus;
  *finished = rc != 0 || (st != QX_STATUS_UNKNOWN && st != QX_STATUS_UNLOADED && st != QX_STATUS_LOADED);
  return rc;
}

}  // namespace torva::driver
