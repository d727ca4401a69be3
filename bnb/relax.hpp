// The continuous relaxation of a node, solved by the optimise driver on a
// private working model (the host's model is never touched while the search
// runs). The working model holds the LP in minimisation sense; its resident
// simplex work area carries the basis of the last node solved, so a child
// solved right after its parent reoptimises from the parent's basis, and any
// other node is started from the packed basis it keeps.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/model.hpp"
#include "torva.h"

namespace torva::simplex {
class WorkSnapshot;
}

namespace torva::bnb {

// A basis packed to 2 bits per variable (columns, then rows), four to a
// byte, low bits first: 0 at lower bound, 1 basic, 2 at upper bound, 3 any
// other nonbasic status.
class PackedBasis {
 public:
  PackedBasis(const std::vector<int>& cols, const std::vector<int>& rows);
  void unpack(int n, int m, std::vector<int>& cols, std::vector<int>& rows) const;

 private:
  std::vector<std::uint8_t> bits_;
};

// Appends rows sum_k val[r][k] x_idx[r][k] >= rhs[r] to the data (row names
// and a loaded starting basis are dropped).
void appendGeRows(ModelData& d, const std::vector<std::vector<int>>& idx, const std::vector<std::vector<double>>& val,
                  const std::vector<double>& rhs);

enum class RelaxStatus { Optimal, Infeasible, Unbounded, Cutoff, TimeLimit, IterationLimit, Interrupted, Error };

// The host's status number of a relaxation outcome (a stopped solve reads
// as loaded, like the continuous record of a stopped solve).
inline int relaxStatusCode(RelaxStatus s) {
  switch (s) {
    case RelaxStatus::Optimal: return QX_STATUS_BASIC_OPTIMAL;
    case RelaxStatus::Infeasible: return QX_STATUS_INFEASIBLE;
    case RelaxStatus::Unbounded: return QX_STATUS_UNBOUNDED;
    case RelaxStatus::Cutoff: return QX_STATUS_CUTOFF;
    case RelaxStatus::Error: return QX_STATUS_NUMERICAL_ERROR;
    default: return QX_STATUS_LOADED;
  }
}

struct RelaxResult {
  RelaxStatus status = RelaxStatus::Error;
  int error = 0;              // error of the optimise call
  double objective = 0.0;     // minimisation sense, objective constant included
  double iterations = 0.0;         // simplex
  double barrierIterations = 0.0;
  double seconds = 0.0;
  std::vector<double> x;      // n
  std::vector<double> d;      // n reduced costs (minimisation sense)
  std::vector<int> colStatus, rowStatus;
};

class Relaxation {
 public:
  // Builds the working model from the host's linear data; sense is +1 or -1.
  Relaxation(const Model& host, double sense);

  // Solves with column bounds lower/upper. start, when not null, is loaded
  // as the warm start; otherwise the resident basis of the last solve is
  // used. method is a QX_METHOD code. cutoff (minimisation sense, +inf none)
  // lets the dual simplex stop once the node cannot beat it; timeLeft < 0
  // means no limit; iterationLimit < 0 none.
  void solve(const std::vector<double>& lower, const std::vector<double>& upper, const PackedBasis* start,
             int method, double cutoff, double timeLeft, double iterationLimit, RelaxResult& out);

  // Sends the working model's LP log to the host's log function at print
  // level 1 (the framed root solve) or silences it again.
  void echoLog(bool on);
  // The working model (minimisation sense, host's bounds and types dropped).
  Model& model() { return *work_; }
  const ModelData& data() const { return work_->data; }
  bool hasResidentBasis() const;
  // Quadratic terms or cones: solved by the interior-point path, no basis.
  bool nonlinear() const { return nonlinear_; }
  // The resident basis with its factors and dual weights, to come back to
  // after solves that leave from it (strong branching, dives); null when
  // none is held. resume() makes it resident again; false when it no longer
  // fits the working model (cut rows came or went).
  std::shared_ptr<const simplex::WorkSnapshot> keepResident() const;
  bool resume(const simplex::WorkSnapshot& state);

  // Cut rows: appended as rows sum a x >= rhs after the model's rows, or
  // removed (keep[i] == 0 drops row i; only cut rows are ever dropped). Both
  // drop the resident factorisation: the next solve starts from the basis
  // it is given.
  void appendRows(const std::vector<std::vector<int>>& idx, const std::vector<std::vector<double>>& val,
                  const std::vector<double>& rhs);
  void dropRows(const std::vector<char>& keep);

 private:
  const Model& host_;
  std::unique_ptr<Model> work_;
  bool nonlinear_ = false;
};

}  // namespace torva::bnb
