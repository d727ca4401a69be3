// The integer-solver driver: the entry that picks the serial search, the
// serial driver's stages, and the functions that work on its result.
#pragma once

#include <vector>

#include "base/model.hpp"

namespace torva {

// The body of QXsolveMIP and QXsolveMIPSerial. status may be null.
int solveMIP(Model& model, int* status);
int solveMIPSerial(Model& model, int* status);

// Tightened bounds by propagation over the rows (at most 10 rounds).
int bestBounds(const Model& model, double* lower, double* upper);
// Fixes the integers at their MIP values, re-solves the continuous model and
// keeps its duals in the integer record.
// framed: a stage of the MIP run, whose solve is framed by banners at MIP
// print level 3 and above with its LP log shown.
int dualMipSolution(Model& model, double* primal, double* dual, double* redcosts, int* cstatus, int* rstatus,
                    bool framed = false);
// Rounds the integers of x to the nearest integer and evaluates the point.
int roundMipSolution(Model& model, const double* x, double* xRound, double* objective, double* primalInfeas,
                     int* status);

// Up to maxSols best integer solutions with distinct integer parts (x gets
// maxSols * n values, objs maxSols), best first; found receives how many.
// Integer variables must be binary (else 2029).
int kBestMipSolutions(Model& model, int maxSols, double* x, double* objs, int* found);
// The next-best list of the model (Model::nextBest): extends it by up to
// maxSols solutions (found receives how many), and hands out the next one.
int solveNextBestMipSolutions(Model& model, int maxSols, int* found);
int nextBestMipSolution(Model& model, double* objective, double* x);
// The preparatory stages alone: sizes, presolve outcome, the stored start
// point checked. status receives QX_STATUS_FEASIBLE when a feasible point was
// met, else QX_STATUS_UNKNOWN.
int preAlgMip(Model& model, int* status);

}  // namespace torva
