// Typed snapshot of the integer-solver parameters, taken once when a run
// starts, so that the search reads named fields instead of identifiers.
#pragma once

#include "base/params.hpp"

namespace torva::bnb {

struct MipOptions {
  int printLevel = 2;          // QX_IPARAM_MIP_PRINTLEVEL
  double relOptTol = 1e-6;     // QX_DPARAM_MIP_RELOPTTOL
  double absOptTol = 0.0;      // QX_DPARAM_MIP_ABSOPTTOL
  double perOptTol = 1e-5;     // QX_DPARAM_MIP_PEROPTTOL
  double aoptTimeLimit = 100;  // QX_DPARAM_MIP_AOPTTIMLIM; -1 never
  double timeLimit = -1;       // QX_DPARAM_MIP_TIMLIM; -1 none
  double lastSolTimeLimit = -1;  // QX_DPARAM_MIP_LSOLTIMLIM; -1 none
  int branchLimit = -1;        // QX_IPARAM_MIP_BRANCH_LIMIT; -1 none
  double iterationLimit = -1;  // QX_DPARAM_MIP_ITRLIM; -1 none
  double simIterationLimit = -1;  // QX_DPARAM_MIP_ITRLIM_SIM; -1 none
  double ipmIterationLimit = -1;  // QX_DPARAM_MIP_ITRLIM_IPM; -1 none
  double cutoffObj = 1e30;     // QX_DPARAM_MIP_CUTOFFOBJ (host's sense)
  int useCutoffObj = 0;        // QX_IPARAM_MIP_USECUTOFFOBJ
  double objThreshold = -1e30; // QX_DPARAM_MIP_OBJ_THRESHOLD (host's sense)
  double intTol = 1e-6;        // QX_DPARAM_MIP_INTTOL
  double relIntTol = 8e-6;     // QX_DPARAM_MIP_RELINTTOL
  int nodeSelRule = 4;         // QX_IPARAM_MIP_NODESELRULE
  int anodesSwitch = 50000;    // QX_IPARAM_MIP_ANODES_SWITCH_DF; -1 never
  int branchDir = 0;           // QX_IPARAM_MIP_BRANCHDIR
  int branchRule = 0;          // QX_IPARAM_MIP_BRANCHRULE
  int branchPrio = 0;          // QX_IPARAM_MIP_BRANCH_PRIO
  int pseudoCostRule = 0;      // QX_IPARAM_MIP_PSEUDOCOST_RULE
  double pseudoCostWeight = 6.25;  // QX_DPARAM_MIP_PSEUDOCOST_WEIGT
  int strongBranchLevel = 10;  // QX_IPARAM_MIP_STRONGBRANCHLEVEL
  int strongBranchDoNum = 3;   // QX_IPARAM_MIP_STRONGBRANCHDONUM
  int topOpt = 0;              // QX_IPARAM_MIP_TOPOPT
  int reOpt = 0;               // QX_IPARAM_MIP_REOPT
  int keepInMem = 1;           // QX_IPARAM_MIP_KEEPINMEM
  int treeReorderLevel = 10;   // QX_IPARAM_MIP_TREEREORDERLEVEL
  int treeReorderMode = 1;     // QX_IPARAM_MIP_TREEREORDERMODE
  // QX_DPARAM_MIP_REDCOSTFIX_CUTOFF and _TREE: the share of a reduced cost
  // that reduced-cost fixing counts as proven at the root and in the tree
  // (0 no fixing).
  double redCostFixRoot = 0.99;
  double redCostFixTree = 0.9;
  double minAbsObjStep = 0.0;  // QX_DPARAM_MIP_MINABSOBJSTEP
  int useIntZeroTol = 0;       // QX_IPARAM_MIP_USE_INT_ZERO_TOL
  int dualSolution = 0;        // QX_IPARAM_MIP_DUAL_SOLUTION
  int heuLevel = 3;            // QX_IPARAM_MIP_HEULEVEL
  int solverType = 0;          // QX_IPARAM_MIP_SOLVERTYPE
  double callbackFreq = 0.5;   // QX_DPARAM_CALLBACKFREQ
  int cutLevelTop = 57342;     // QX_IPARAM_MIP_CUTLEVEL_TOP (family bits)
  int maxCutPassTop = 100;     // QX_IPARAM_MIP_MAXCUTPASS_TOP
  int maxNonImpCutPass = 3;    // QX_IPARAM_MIP_MAXNONIMP_CUTPASS
  double addCutObjTol = 1.5625e-5;  // QX_DPARAM_MIP_ADDCUTOBJTOL
  double addCutPer = 0.75;     // QX_DPARAM_MIP_ADDCUTPER
  double cutTimeLimit = -1;    // QX_DPARAM_MIP_CUTTIMLIM; -1 none
  double absCutTol = -1;       // QX_DPARAM_MIP_ABSCUTTOL; negative: built-in

  static MipOptions read(const ParamSet& params);
};

}  // namespace torva::bnb
