// The barrier method (method 3) inside the optimise driver: the interior-
// point run, the crossover basis it hands to the simplex, and the interior
// solution installed without crossover (QX_IPARAM_SOLVER_IPMSOL = 1).
#pragma once

#include "simplex/driver.hpp"
#include "simplex/lp.hpp"

namespace torva::driver {

// Runs the interior-point method on data. On an interior optimum, basis
// receives the crossover basis for the simplex (otherwise it stays empty and
// the simplex starts from its own crash basis and settles the verdict).
// Returns 0 or QXERR_OUT_OF_MEMORY.
int barrierStart(Call& call, const ModelData& data, HostBasis& basis);

// QX_IPARAM_SOLVER_IPMSOL = 1: solves by the interior-point method alone and
// installs its solution with model status 1. Returns false (record
// untouched) when the method did not reach an optimum, so that the caller
// solves with crossover instead; *error receives the error of the call.
bool solveInterior(Call& call, int* error);

// Quadratic objective or cones: the convexity check (QXERR_NOT_CONVEX with
// model status 11), the conic interior-point method and its interior
// solution (model status 1, no basis). The record's method is 3 for a
// quadratic model and 4 for a conic one.
int solveQuadraticConic(Call& call);
// A linear model that method 3 finds without an optimum: the homogeneous
// embedding of the conic method runs on it as it is. True when that run ends
// with a certificate, which the record then holds as for a quadratic model
// (model status 3 or 4, no basis), or on an error (*error); false leaves
// the model status to the simplex.
bool certifyLinear(Call& call, int* error);
// Whether every constraint row with quadratic terms is convex (and so can be
// taken to a cone).
bool quadraticRowsConvex(const Model& model);

// What an interior-point run on lp ended with, into the record: its status
// (QX_STATUS_*), iterations, objectives in the model's sense and
// infeasibilities.
struct IpmOutcome {
  int status;
  int iterations;
  double primalObjective, dualObjective, primalInfeas, dualInfeas;
};
void recordIpmOutcome(LpSolution& rec, const simplex::Lp& lp, const IpmOutcome& out);

// The solve context of an interior-point run: the model's log, its progress
// callback at the barrier location, the time limit and the start of the call.
simplex::SolveContext ipmContext(Call& call);

}  // namespace torva::driver
