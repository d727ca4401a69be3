// Cutting planes: the cut record, the separators and the selection of the
// cuts that enter the relaxation. Every cut is held as sum_j a_j x_j >= rhs
// over the columns of the relaxation and is valid for every integer-feasible
// point within the global bounds it was derived with.
#pragma once

#include <array>
#include <vector>

#include "base/model_data.hpp"
#include "bnb/propagate.hpp"

namespace torva::bnb {

// Cut families, by the counter they feed (the order of the counters of the
// result record, QX_IINFO_MIP_GUB_COVER_CUTS .. QX_IINFO_MIP_CONTRA_CUTS,
// with the families that have no item of their own after them).
enum CutFamily : int {
  kCutGub = 0,
  kCutFlow = 1,
  kCutLift = 2,
  kCutPlantLoc = 3,
  kCutDisagg = 4,
  kCutCover = 5,
  kCutLattice = 6,
  kCutGomory = 7,
  kCutCoefRed = 8,
  kCutGcd = 9,
  kCutObj = 10,
  kCutBasis = 11,
  kCutCard = 12,
  kCutClique = 13,
  kCutContra = 14,
  kCutMir = 15,
  kCutFamilies = 16,
};
// Bits of QX_IPARAM_MIP_CUTLEVEL_TOP / _TREE that switch families on.
constexpr int kCutBitCover = 64;
constexpr int kCutBitGomory = 256;
constexpr int kCutBitFlow = 4;
// Mixed-integer rounding has no bit of its own; it runs with the flow-cover
// bit (both are rounding of aggregated rows with continuous variables).
constexpr int kCutBitMir = kCutBitFlow;

struct Cut {
  std::vector<int> idx;
  std::vector<double> val;
  double rhs = 0.0;
  int family = kCutGomory;
  double efficacy = 0.0;  // violation over the Euclidean norm of the coefficients
};

// What a separator sees: the relaxation (with the cut rows added so far),
// its optimal basic solution and the global bounds of the columns.
struct SeparationInput {
  const ModelData& lp;          // relaxation rows (original rows first)
  int originalRows;             // rows of the model; the rest are cuts
  const std::vector<char>& isInt;
  const std::vector<double>& x;
  const std::vector<int>& colStatus;
  const std::vector<int>& rowStatus;
  const std::vector<double>& lower;  // global bounds
  const std::vector<double>& upper;
};

// Gomory mixed-integer cuts from rows of the optimal tableau whose basic
// variable is integer and fractional (at most maxRows rows, the most
// fractional first).
void separateGomory(const SeparationInput& in, int maxRows, std::vector<Cut>& out);
// Extended cover cuts of the knapsack rows (binaries, other columns moved to
// the right-hand side by their bounds).
void separateCovers(const SeparationInput& in, const RowMatrix& rows, std::vector<Cut>& out);
// Complemented mixed-integer rounding on single rows with bound substitution
// of the continuous columns (Marchand and Wolsey 2001).
void separateMir(const SeparationInput& in, const RowMatrix& rows, std::vector<Cut>& out);

// Scales a cut to largest coefficient magnitude 1, drops negligible
// coefficients by relaxing them over their bounds, and rejects cuts with an
// excessive range of coefficients. False when the cut is rejected.
bool cleanCut(Cut& c, const std::vector<double>& lower, const std::vector<double>& upper);
// Violation rhs - a'x of a cut at x (positive when violated).
double cutViolation(const Cut& c, const std::vector<double>& x);

// Picks cuts by efficacy, skipping near-parallel ones: at most limit cuts
// whose scaled violation exceeds minViolation.
std::vector<Cut> selectCuts(std::vector<Cut> cands, const std::vector<double>& x, double minViolation, int limit);

}  // namespace torva::bnb
