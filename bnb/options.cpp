#include "bnb/options.hpp"

#include "base/param_access.hpp"
#include "simplex/options.hpp"
#include "torva.h"

namespace torva::bnb {

MipOptions MipOptions::read(const ParamSet& p) {
  MipOptions o;
  o.printLevel = p.intValue(QX_IPARAM_MIP_PRINTLEVEL);
  o.relOptTol = p.douValue(QX_DPARAM_MIP_RELOPTTOL);
  o.absOptTol = p.douValue(QX_DPARAM_MIP_ABSOPTTOL);
  o.perOptTol = p.douValue(QX_DPARAM_MIP_PEROPTTOL);
  // The int and double forms of the time limits are both honoured; the
  // smaller one applies.
  // The aopt limit is the double form's (-1: never); the int form counts
  // only when a host moved it off its default.
  const int aoptInt = p.intValue(QX_IPARAM_MIP_AOPTTIMLIM);
  const double aoptDou = p.douValue(QX_DPARAM_MIP_AOPTTIMLIM);
  const ParamDef* aoptDef = findParam(QX_IPARAM_MIP_AOPTTIMLIM);
  const bool aoptIntMoved = !aoptDef || aoptInt != static_cast<int>(aoptDef->def);
  o.aoptTimeLimit = aoptIntMoved ? smallerLimit(aoptInt, aoptDou) : aoptDou;
  o.timeLimit = smallerLimit(p.intValue(QX_IPARAM_MIP_TIMLIM), p.douValue(QX_DPARAM_MIP_TIMLIM));
  o.lastSolTimeLimit = smallerLimit(p.intValue(QX_IPARAM_MIP_LSOLTIMLIM), p.douValue(QX_DPARAM_MIP_LSOLTIMLIM));
  o.branchLimit = p.intValue(QX_IPARAM_MIP_BRANCH_LIMIT);
  o.iterationLimit = p.douValue(QX_DPARAM_MIP_ITRLIM);
  o.simIterationLimit = p.douValue(QX_DPARAM_MIP_ITRLIM_SIM);
  o.ipmIterationLimit = p.douValue(QX_DPARAM_MIP_ITRLIM_IPM);
  o.cutoffObj = p.douValue(QX_DPARAM_MIP_CUTOFFOBJ);
  o.useCutoffObj = p.intValue(QX_IPARAM_MIP_USECUTOFFOBJ);
  o.objThreshold = p.douValue(QX_DPARAM_MIP_OBJ_THRESHOLD);
  o.intTol = p.douValue(QX_DPARAM_MIP_INTTOL);
  o.relIntTol = p.douValue(QX_DPARAM_MIP_RELINTTOL);
  o.nodeSelRule = p.intValue(QX_IPARAM_MIP_NODESELRULE);
  o.anodesSwitch = p.intValue(QX_IPARAM_MIP_ANODES_SWITCH_DF);
  o.branchDir = p.intValue(QX_IPARAM_MIP_BRANCHDIR);
  o.branchRule = p.intValue(QX_IPARAM_MIP_BRANCHRULE);
  o.branchPrio = p.intValue(QX_IPARAM_MIP_BRANCH_PRIO);
  o.pseudoCostRule = p.intValue(QX_IPARAM_MIP_PSEUDOCOST_RULE);
  o.pseudoCostWeight = p.douValue(QX_DPARAM_MIP_PSEUDOCOST_WEIGT);
  o.strongBranchLevel = p.intValue(QX_IPARAM_MIP_STRONGBRANCHLEVEL);
  o.strongBranchDoNum = p.intValue(QX_IPARAM_MIP_STRONGBRANCHDONUM);
  o.topOpt = p.intValue(QX_IPARAM_MIP_TOPOPT);
  o.reOpt = p.intValue(QX_IPARAM_MIP_REOPT);
  o.cutLevelTop = p.intValue(QX_IPARAM_MIP_CUTLEVEL_TOP);
  o.maxCutPassTop = p.intValue(QX_IPARAM_MIP_MAXCUTPASS_TOP);
  o.maxNonImpCutPass = p.intValue(QX_IPARAM_MIP_MAXNONIMP_CUTPASS);
  o.addCutObjTol = p.douValue(QX_DPARAM_MIP_ADDCUTOBJTOL);
  o.addCutPer = p.douValue(QX_DPARAM_MIP_ADDCUTPER);
  o.cutTimeLimit = p.douValue(QX_DPARAM_MIP_CUTTIMLIM);
  o.absCutTol = p.douValue(QX_DPARAM_MIP_ABSCUTTOL);
  o.keepInMem = p.intValue(QX_IPARAM_MIP_KEEPINMEM);
  o.treeReorderLevel = p.intValue(QX_IPARAM_MIP_TREEREORDERLEVEL);
  o.treeReorderMode = p.intValue(QX_IPARAM_MIP_TREEREORDERMODE);
  o.redCostFixRoot = p.douValue(QX_DPARAM_MIP_REDCOSTFIX_CUTOFF);
  o.redCostFixTree = p.douValue(QX_DPARAM_MIP_REDCOSTFIX_CUTOFF_TREE);
  o.minAbsObjStep = p.douValue(QX_DPARAM_MIP_MINABSOBJSTEP);
  o.useIntZeroTol = p.intValue(QX_IPARAM_MIP_USE_INT_ZERO_TOL);
  o.dualSolution = p.intValue(QX_IPARAM_MIP_DUAL_SOLUTION);
  o.heuLevel = p.intValue(QX_IPARAM_MIP_HEULEVEL);
  o.solverType = p.intValue(QX_IPARAM_MIP_SOLVERTYPE);
  o.callbackFreq = p.douValue(QX_DPARAM_CALLBACKFREQ);
  return o;
}

}  // namespace torva::bnb
