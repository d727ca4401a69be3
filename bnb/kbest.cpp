// The k best integer solutions of a model whose integer variables are all
// binary: the search is run again after each solution with a no-good row
// that excludes exactly that assignment of the binaries,
//   sum_{x*_j = 1} (1 - x_j) + sum_{x*_j = 0} x_j >= 1,
// so the i-th run returns the best assignment not yet listed (the
// continuous variables re-optimised for it). The next-best list of a model
// is the same sequence, grown a few solutions at a time and read one by one.
#include <cmath>

#include "bnb/driver.hpp"
#include "bnb/relax.hpp"
#include "simplex/driver.hpp"

namespace torva {
namespace {

// Indices of the integer columns, or an error when one is not binary or the
// model has structure the no-good rows cannot exclude.
int binaryColumns(const ModelData& d, std::vector<int>& bins) {
  if (d.hasSemiCont() || d.hasSets() || d.hasQuadratic() || d.hasCones()) return QXERR_NOT_SUPPORTED;
  for (int j = 0; j < d.n; ++j) {
    const char t = d.typeOf(j);
    if (t != 'B' && t != 'I') continue;
    const std::size_t u = static_cast<std::size_t>(j);
    // An integer column counts as binary when its bounds lie within [0, 1].
    if (d.lower[u] < 0.0 || d.upper[u] > 1.0) return QXERR_NOT_SUPPORTED;
    bins.push_back(j);
  }
  return 0;
}

// Appends to work the row that excludes the binary assignment of x.
void excludeAssignment(Model& work, const std::vector<int>& bins, const std::vector<double>& x) {
  std::vector<std::vector<int>> idx(1);
  std::vector<std::vector<double>> val(1);
  double rhs = 1.0;
  for (int j : bins) {
    const bool one = std::lround(x[static_cast<std::size_t>(j)]) == 1;
    idx[0].push_back(j);
    val[0].push_back(one ? -1.0 : 1.0);
    if (one) rhs -= 1.0;
  }
  bnb::appendGeRows(work.data, idx, val, {rhs});
  work.markChanged();
}

// Up to maxSols further solutions of model, each the best one whose binary
// assignment differs from those in list (and from each other); appended to
// list. Returns an error only when nothing at all was found.
int extendBestList(Model& model, int maxSols, MipSolutionList& list) {
  if (maxSols < 0) return QXERR_INPUT_OUT_OF_RANGE;
  std::vector<int> bins;
  if (int rc = binaryColumns(model.data, bins)) return rc;
  // A continuous model has one answer.
  if (bins.empty() && !list.x.empty()) return 0;
  std::unique_ptr<Model> work = driver::solverCopy(model);
  work->params.storeInt(QX_IPARAM_MIP_PRINTLEVEL, 0);
  for (const std::vector<double>& x : list.x) excludeAssignment(*work, bins, x);
  for (int count = 0; count < maxSols; ++count) {
    int status = 0;
    const int rc = solveMIPSerial(*work, &status);
    if (rc != 0) return count > 0 ? 0 : rc;
    if (status != QX_STATUS_OPTIMAL || !work->mipSolution) break;
    const MipSolution& sol = *work->mipSolution;
    list.x.push_back(sol.x);
    list.objective.push_back(sol.objective);
    if (bins.empty()) break;
    excludeAssignment(*work, bins, sol.x);
  }
  return 0;
}

}  // namespace

int kBestMipSolutions(Model& model, int maxSols, double* x, double* objs, int* found) {
  if (found) *found = 0;
  MipSolutionList list;
  const int rc = extendBestList(model, maxSols, list);
  if (rc != 0) return rc;
  const std::size_t n = static_cast<std::size_t>(model.data.n);
  for (std::size_t k = 0; k < list.x.size(); ++k) {
    if (x) std::copy(list.x[k].begin(), list.x[k].end(), x + static_cast<std::ptrdiff_t>(n * k));
    if (objs) objs[k] = list.objective[k];
  }
  if (found) *found = static_cast<int>(list.x.size());
  return 0;
}

int solveNextBestMipSolutions(Model& model, int maxSols, int* found) {
  if (found) *found = 0;
  MipSolutionList list = model.nextBest ? *model.nextBest : MipSolutionList{};
  const std::size_t before = list.x.size();
  const int rc = extendBestList(model, maxSols, list);
  if (rc != 0) return rc;
  if (found) *found = static_cast<int>(list.x.size() - before);
  model.nextBest = std::move(list);
  return 0;
}

int nextBestMipSolution(Model& model, double* objective, double* x) {
  if (!model.nextBest || model.nextBest->next >= model.nextBest->x.size()) return QXERR_INFO_NOT_AVAILABLE;
  MipSolutionList& list = *model.nextBest;
  const std::vector<double>& p = list.x[list.next];
  if (objective) *objective = list.objective[list.next];
  if (x) std::copy(p.begin(), p.end(), x);
  ++list.next;
  return 0;
}

}  // namespace torva
