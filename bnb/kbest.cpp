// The k best integer solutions of a model whose integer variables are all
// binary: the search is run again after each solution with a no-good row
// that excludes exactly that assignment of the binaries,
//   sum_{x*_j = 1} (1 - x_j) + sum_{x*_j = 0} x_j >= 1,
// so the i-th run returns the best assignment not yet listed (the
// continuous variables re-optimised for it).
#include <cmath>

#include "bnb/driver.hpp"
#include "bnb/relax.hpp"
#include "simplex/driver.hpp"

namespace torva {

int kBestMipSolutions(Model& model, int maxSols, double* x, double* objs, int* found) {
  if (found) *found = 0;
  if (maxSols < 0) return QXERR_INPUT_OUT_OF_RANGE;
  const ModelData& d = model.data;
  if (d.hasSemiCont() || d.hasSets() || d.hasQuadratic() || d.hasCones()) return QXERR_NOT_SUPPORTED;
  std::vector<int> bins;
  for (int j = 0; j < d.n; ++j) {
    const char t = d.typeOf(j);
    if (t != 'B' && t != 'I') continue;
    const std::size_t u = static_cast<std::size_t>(j);
    // An integer column counts as binary when its bounds lie within [0, 1].
    if (d.lower[u] < 0.0 || d.upper[u] > 1.0) return QXERR_NOT_SUPPORTED;
    bins.push_back(j);
  }
  std::unique_ptr<Model> work = driver::solverCopy(model);
  work->params.storeInt(QX_IPARAM_MIP_PRINTLEVEL, 0);
  const std::size_t n = static_cast<std::size_t>(d.n);
  int count = 0;
  while (count < maxSols) {
    int status = 0;
    const int rc = solveMIPSerial(*work, &status);
    if (rc != 0) return count > 0 ? 0 : rc;
    if (status != QX_STATUS_OPTIMAL || !work->mipSolution) break;
    const MipSolution& sol = *work->mipSolution;
    if (x) std::copy(sol.x.begin(), sol.x.end(), x + static_cast<std::ptrdiff_t>(n) * count);
    if (objs) objs[count] = sol.objective;
    ++count;
    if (found) *found = count;
    if (bins.empty()) break;  // a continuous model has one answer
    std::vector<std::vector<int>> idx(1);
    std::vector<std::vector<double>> val(1);
    double rhs = 1.0;
    for (int j : bins) {
      const bool one = std::lround(sol.x[static_cast<std::size_t>(j)]) == 1;
      idx[0].push_back(j);
      val[0].push_back(one ? -1.0 : 1.0);
      if (one) rhs -= 1.0;
    }
    bnb::appendGeRows(work->data, idx, val, {rhs});
    work->markChanged();
  }
  return 0;
}

}  // namespace torva
