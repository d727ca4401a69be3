#include "bnb/relax.hpp"

#include <cmath>

#include "simplex/driver.hpp"
#include "simplex/driver_work.hpp"

namespace torva::bnb {

PackedBasis::PackedBasis(const std::vector<int>& cols, const std::vector<int>& rows) {
  const std::size_t total = cols.size() + rows.size();
  bits_.assign((total + 3) / 4, 0);
  for (std::size_t k = 0; k < total; ++k) {
    const int s = k < cols.size() ? cols[k] : rows[k - cols.size()];
    const std::uint8_t code = s >= 0 ? 1 : s == kBasisAtLower ? 0 : s == kBasisAtUpper ? 2 : 3;
    bits_[k / 4] = static_cast<std::uint8_t>(bits_[k / 4] | (code << (2 * (k % 4))));
  }
}

void PackedBasis::unpack(int n, int m, std::vector<int>& cols, std::vector<int>& rows) const {
  cols.resize(static_cast<std::size_t>(n));
  rows.resize(static_cast<std::size_t>(m));
  for (int k = 0; k < n + m; ++k) {
    const int code = (bits_[static_cast<std::size_t>(k) / 4] >> (2 * (k % 4))) & 3;
    const int s = code == 1 ? 0 : code == 0 ? kBasisAtLower : code == 2 ? kBasisAtUpper : kBasisFreeAtZero;
    (k < n ? cols[static_cast<std::size_t>(k)] : rows[static_cast<std::size_t>(k - n)]) = s;
  }
}

Relaxation::Relaxation(const Model& host, double sense) : host_(host), work_(driver::solverCopy(host)) {
  ModelData& d = work_->data;
  // The relaxation is continuous and held in minimisation sense.
  d.varType.clear();
  d.scVars.clear();
  d.scLower.clear();
  d.sets.clear();
  // Quadratic terms and cones stay: the relaxation is then solved by the
  // interior-point path, cold at every node.
  d.qc = host.data.qc;
  d.cones = host.data.cones;
  nonlinear_ = d.hasQuadratic() || d.hasCones();
  if (sense < 0) {
    for (double& c : d.cost) c = -c;
    d.objConst = -d.objConst;
    // The objective's quadratic terms come first (row -1).
    if (!d.qc.empty() && d.qc.rows[0] < 0)
      for (int t = d.qc.beg[0]; t < d.qc.beg[1]; ++t) d.qc.coef[static_cast<std::size_t>(t)] = -d.qc.coef[static_cast<std::size_t>(t)];
  }
  d.objSense = QX_MIN;
  d.invalidateStats();
  ParamSet& p = work_->params;
  // Node solves run on this thread, without presolve (bounds change at every
  // node and the basis must stay valid for the next one), without the
  // explicit dual and silently.
  p.storeInt(QX_IPARAM_LP_PRELEVEL, 0);
  p.storeInt(QX_IPARAM_PROB_TO_SOLVE, 1);
  p.storeInt(QX_IPARAM_NUM_THREADS, 1);
  p.storeInt(QX_IPARAM_IPM_NUM_THREADS, 1);
  p.storeInt(QX_IPARAM_DECOMPOSITION_TYPE, 1);
  p.storeInt(QX_IPARAM_LP_PRINTLEVEL, 0);
  p.storeInt(QX_IPARAM_SOLVER_IUSOL, 1);
  p.storeInt(QX_IPARAM_SOLVER_RESTART, 0);
}

void Relaxation::echoLog(bool on) {
  work_->logFunc = on ? host_.logFunc : nullptr;
  work_->logUserData = on ? host_.logUserData : nullptr;
  work_->params.storeInt(QX_IPARAM_LP_PRINTLEVEL, on ? 1 : 0);
  work_->params.storeInt(QX_IPARAM_NLP_PRINTLEVEL, on ? 1 : 0);
}

bool Relaxation::hasResidentBasis() const {
  auto* rw = dynamic_cast<driver::ResidentWork*>(work_->workArea.get());
  return rw && rw->work.hasBasis();
}

std::shared_ptr<const simplex::WorkSnapshot> Relaxation::keepResident() const {
  auto* rw = dynamic_cast<driver::ResidentWork*>(work_->workArea.get());
  return rw ? rw->work.snapshot() : nullptr;
}

bool Relaxation::resume(const simplex::WorkSnapshot& state) {
  driver::ResidentWork* rw = driver::residentWork(*work_);
  return rw && rw->work.restore(state);
}

void Relaxation::solve(const std::vector<double>& lower, const std::vector<double>& upper,
                       const PackedBasis* start, int method, double cutoff, double timeLeft,
                       double iterationLimit, RelaxResult& out) {
  Model& w = *work_;
  w.data.lower = lower;
  w.data.upper = upper;
  ParamSet& p = w.params;
  // The interior-point path takes neither a cutoff nor a starting basis, and
  // cones take the free and the barrier method only.
  if (nonlinear_) {
    cutoff = kInfinity;
    start = nullptr;
    if (method != QX_METHOD_FREE && method != QX_METHOD_BARRIER) method = QX_METHOD_BARRIER;
  }
  const bool useCutoff = std::fabs(cutoff) < kInfinity;
  p.storeInt(QX_IPARAM_SOLVER_USECUTOFFVAL, useCutoff ? 1 : 0);
  p.storeDou(QX_DPARAM_SOLVER_CUTOFFVAL, useCutoff ? cutoff : -kInfinity);
  p.storeDou(QX_DPARAM_SOLVER_TIMLMT, timeLeft < 0 ? -1.0 : std::max(timeLeft, 0.0));
  p.storeDou(QX_DPARAM_LP_ITRLMT, iterationLimit < 0 ? -1.0 : iterationLimit);
  if (start) {
    std::vector<int> cols, rows;
    start->unpack(w.data.n, w.data.m, cols, rows);
    if (auto* rw = driver::residentWork(w)) rw->work.setBasis(cols, rows);
    else {
      w.data.basisCols = std::move(cols);
      w.data.basisRows = std::move(rows);
    }
  }
  const auto t0 = std::chrono::steady_clock::now();
  int status = 0;
  const int rc = optimize(w, method, &status);
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  out.error = rc;
  const LpSolution* rec = w.lpSolution ? &*w.lpSolution : nullptr;
  out.iterations = rec ? rec->simplexIters : 0;
  out.barrierIterations = rec ? rec->barrierIters : 0;
  out.x.clear();
  if (rc == QXERR_TIME_LIMIT) out.status = RelaxStatus::TimeLimit;
  else if (rc == QXERR_ITER_LIMIT) out.status = RelaxStatus::IterationLimit;
  else if (rc == QXERR_USER_INTERRUPT) out.status = RelaxStatus::Interrupted;
  else if (rc != 0 || !rec) out.status = RelaxStatus::Error;
  else if (status == QX_STATUS_BASIC_OPTIMAL || status == QX_STATUS_OPTIMAL) out.status = RelaxStatus::Optimal;
  else if (status == QX_STATUS_INFEASIBLE) out.status = RelaxStatus::Infeasible;
  else if (status == QX_STATUS_UNBOUNDED) out.status = RelaxStatus::Unbounded;
  else if (status == QX_STATUS_INFORUNB) out.status = RelaxStatus::Infeasible;
  else if (status == QX_STATUS_CUTOFF) out.status = RelaxStatus::Cutoff;
  else out.status = RelaxStatus::Error;
  if (out.status == RelaxStatus::Optimal && rec->x.size() == static_cast<std::size_t>(w.data.n)) {
    out.objective = rec->primalObj;
    out.x = rec->x;
    out.d = rec->d;
    out.colStatus = rec->colStatus;
    out.rowStatus = rec->rowStatus;
  } else if (out.status == RelaxStatus::Optimal) {
    out.status = RelaxStatus::Error;
  } else if (out.status == RelaxStatus::IterationLimit && rec) {
    // The dual simplex stops on a dual feasible basis: its objective is a
    // bound of the node (strong branching reads it).
    out.objective = rec->primalObj;
  }
  // The starting basis of the host must not linger for later solves.
  w.data.basisCols.clear();
  w.data.basisRows.clear();
}

}  // namespace torva::bnb

namespace torva::bnb {

void appendGeRows(ModelData& d, const std::vector<std::vector<int>>& idx, const std::vector<std::vector<double>>& val,
                  const std::vector<double>& rhs) {
  const int m0 = d.m, add = static_cast<int>(rhs.size());
  std::vector<int> extra(static_cast<std::size_t>(d.n), 0);
  for (const auto& row : idx)
    for (int j : row) ++extra[static_cast<std::size_t>(j)];
  std::vector<int> beg(static_cast<std::size_t>(d.n) + 1, 0), len(static_cast<std::size_t>(d.n), 0);
  for (int j = 0; j < d.n; ++j)
    beg[static_cast<std::size_t>(j) + 1] = beg[static_cast<std::size_t>(j)] + d.colLen[static_cast<std::size_t>(j)] + extra[static_cast<std::size_t>(j)];
  std::vector<int> ri(static_cast<std::size_t>(beg.back()));
  std::vector<double> rv(ri.size());
  for (int j = 0; j < d.n; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    for (int p = d.colBeg[u], e = p + d.colLen[u]; p < e; ++p) {
      const std::size_t q = static_cast<std::size_t>(beg[u] + len[u]++);
      ri[q] = d.rowIdx[static_cast<std::size_t>(p)];
      rv[q] = d.value[static_cast<std::size_t>(p)];
    }
  }
  for (int r = 0; r < add; ++r)
    for (std::size_t k = 0; k < idx[static_cast<std::size_t>(r)].size(); ++k) {
      const std::size_t u = static_cast<std::size_t>(idx[static_cast<std::size_t>(r)][k]);
      const std::size_t q = static_cast<std::size_t>(beg[u] + len[u]++);
      ri[q] = m0 + r;
      rv[q] = val[static_cast<std::size_t>(r)][k];
    }
  d.colBeg = std::move(beg);
  d.colLen = std::move(len);
  d.rowIdx = std::move(ri);
  d.value = std::move(rv);
  d.nnz = d.colBeg.back();
  for (int r = 0; r < add; ++r) {
    d.rhs.push_back(rhs[static_cast<std::size_t>(r)]);
    d.conType.push_back('G');
  }
  d.m = m0 + add;
  d.conNames.clear();
  d.dropNameTables();
  d.invalidateStats();
  d.basisRows.clear();
  d.basisCols.clear();
}

void Relaxation::appendRows(const std::vector<std::vector<int>>& idx, const std::vector<std::vector<double>>& val,
                            const std::vector<double>& rhs) {
  appendGeRows(work_->data, idx, val, rhs);
  work_->markChanged();
}

void Relaxation::dropRows(const std::vector<char>& keep) {
  ModelData& d = work_->data;
  std::vector<int> map(static_cast<std::size_t>(d.m), -1);
  int m = 0;
  for (int i = 0; i < d.m; ++i)
    if (keep[static_cast<std::size_t>(i)]) map[static_cast<std::size_t>(i)] = m++;
  int nnz = 0;
  for (int j = 0; j < d.n; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    int out = d.colBeg[u];
    for (int p = d.colBeg[u], e = p + d.colLen[u]; p < e; ++p) {
      const int r = map[static_cast<std::size_t>(d.rowIdx[static_cast<std::size_t>(p)])];
      if (r < 0) continue;
      d.rowIdx[static_cast<std::size_t>(out)] = r;
      d.value[static_cast<std::size_t>(out)] = d.value[static_cast<std::size_t>(p)];
      ++out;
    }
    d.colLen[u] = out - d.colBeg[u];
    nnz += d.colLen[u];
  }
  d.nnz = nnz;
  std::size_t w = 0;
  for (std::size_t i = 0; i < keep.size(); ++i)
    if (keep[i]) {
      d.rhs[w] = d.rhs[i];
      d.conType[w] = d.conType[i];
      ++w;
    }
  d.rhs.resize(w);
  d.conType.resize(w);
  d.m = m;
  d.conNames.clear();
  d.dropNameTables();
  d.invalidateStats();
  work_->markChanged();
}

}  // namespace torva::bnb
