// Callback setters, the progress-callback dispatcher driven by a solver-like
// loop, the callback information queries and the host evaluator adapters.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "base/callback.hpp"
#include "base/model.hpp"
#include "torva.h"
#include "base/model_fixture.hpp"

namespace {

using Clock = torva::CallbackClock;
using std::chrono::milliseconds;

constexpr int kItemPobj = 11201;
constexpr int kItemSimIter = 11210;
constexpr int kItemNumVars = 11011;
constexpr int kItemMipObj = 11301;
constexpr int kItemMipBestBound = 11302;
constexpr int kItemCurObj = 11702;
constexpr int kItemCurIter = 11703;
constexpr int kItemGenPercent = 11800;

using CallbackFixture = torva_test::ModelFixture;

// What the host's callbacks saw.
struct Host {
  std::vector<std::string> events;
  std::vector<int> locations;
  int stopAtCall = -1;  // progress call (1-based) that asks to stop
  int calls = 0;
  bool markerSeen = false;
  int infoRc = -1;
  double pobj = 0;
  int simIter = -1;
  int curIter = -1;
};

int progressCb(QXmodel model, int location, void* userdata) {
  auto* host = static_cast<Host*>(userdata);
  ++host->calls;
  host->events.push_back("progress");
  host->locations.push_back(location);
  host->markerSeen = model->callbacks.inHostCall();
  host->infoRc = QXgetCallbackInfo(model, location, kItemPobj, &host->pobj);
  QXgetCallbackInfo(model, location, kItemSimIter, &host->simIter);
  QXgetCallbackInfo(model, location, kItemCurIter, &host->curIter);
  return host->calls == host->stopAtCall ? 1 : 0;
}

// A solver's published state.
struct FakeSource : torva::ProgressSource {
  double pobj = 0;
  int iter = 0;
  int progressInfo(int item, void* result) const override {
    if (item == kItemPobj) {
      *static_cast<double*>(result) = pobj;
      return 0;
    }
    if (item == kItemSimIter) {
      *static_cast<int*>(result) = iter;
      return 0;
    }
    return QXERR_INFO_NOT_AVAILABLE;
  }
};

// A solver-like loop: one report per simulated millisecond, a forced report
// at the end, and the dispatcher's stop turned into the solver's error code.
struct LoopResult {
  int rc = 0;
  int iterations = 0;
};
LoopResult solveLoop(QXmodel model, int iterations, Clock::time_point start,
                     milliseconds step = milliseconds(1), int location = QXLOC_PRIMAL) {
  FakeSource source;
  torva::SolveScope scope(*model, location, &source);
  LoopResult out;
  for (int it = 0; it < iterations; ++it) {
    source.iter = it;
    source.pobj = 100.0 - it;
    torva::ProgressReport report{location, static_cast<double>(it), source.pobj, false};
    int rc = torva::reportProgress(*model, report, start + step * it);
    out.iterations = it + 1;
    if (rc < 0) {
      out.rc = torva::stopErrorCode(rc);
      return out;
    }
  }
  torva::ProgressReport final{location, static_cast<double>(iterations), source.pobj, true};
  out.rc = torva::stopErrorCode(torva::reportProgress(*model, final, start + step * iterations));
  return out;
}

TEST_F(CallbackFixture, SettersRejectNullModelAndNullFunctionRemoves) {
  Host host;
  EXPECT_EQ(QXsetCallback(nullptr, progressCb, &host), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetMIPCallback(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetMIPCallbackInsMIPSol(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetMIPCallbackInsMIPObj(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetGOPCallback(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetFDECallback(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetUsercalc(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetFuncalc(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetHessdccalc(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetGradcalc(nullptr, nullptr, nullptr, 0, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetGradcalcFullPartial(nullptr, nullptr, nullptr, 0, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);

  ASSERT_EQ(QXsetCallback(model, progressCb, &host), 0);
  EXPECT_EQ(solveLoop(model, 3, Clock::now()).rc, 0);
  EXPECT_GT(host.calls, 0);
  ASSERT_EQ(QXsetCallback(model, nullptr, &host), 0);
  EXPECT_EQ(model->callbacks.progressData, nullptr);
  const int before = host.calls;
  EXPECT_EQ(solveLoop(model, 3, Clock::now() + std::chrono::hours(1)).rc, 0);
  EXPECT_EQ(host.calls, before);
}

TEST_F(CallbackFixture, FrequencyGatesCallsAndForcedReportAlwaysCalls) {
  Host host;
  ASSERT_EQ(QXsetCallback(model, progressCb, &host), 0);
  // 2 simulated seconds of millisecond reports at the default 0.5 s: calls at
  // 0, 0.5, 1.0, 1.5 and 2.0 s, then the forced final report.
  const LoopResult r = solveLoop(model, 2001, Clock::now());
  EXPECT_EQ(r.rc, 0);
  EXPECT_EQ(r.iterations, 2001);
  EXPECT_EQ(host.calls, 6);
  for (int loc : host.locations) EXPECT_EQ(loc, QXLOC_PRIMAL);
}

TEST_F(CallbackFixture, FrequencyParameterControlsTheCalls) {
  Host host;
  ASSERT_EQ(QXsetCallback(model, progressCb, &host), 0);
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_CALLBACKFREQ, 0.1), 0);
  // Every 100 simulated milliseconds over 2 seconds, plus the final report.
  EXPECT_EQ(solveLoop(model, 2001, Clock::now()).rc, 0);
  EXPECT_EQ(host.calls, 22);

  // Zero: at every report.
  host.calls = 0;
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_CALLBACKFREQ, 0), 0);
  EXPECT_EQ(solveLoop(model, 10, Clock::now() + std::chrono::hours(1)).rc, 0);
  EXPECT_EQ(host.calls, 11);

  // Negative: forced reports only, even when one asks to stop.
  host.calls = 0;
  host.stopAtCall = 1;
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_CALLBACKFREQ, -1), 0);
  const LoopResult r = solveLoop(model, 3000, Clock::now() + std::chrono::hours(2));
  EXPECT_EQ(host.calls, 1);
  EXPECT_EQ(r.iterations, 3000);
  EXPECT_EQ(r.rc, QXERR_USER_INTERRUPT);
}

TEST_F(CallbackFixture, NonZeroReturnStopsTheLoopWithUserInterrupt) {
  Host host;
  host.stopAtCall = 3;
  ASSERT_EQ(QXsetCallback(model, progressCb, &host), 0);
  const LoopResult r = solveLoop(model, 5000, Clock::now());
  EXPECT_EQ(r.rc, QXERR_USER_INTERRUPT);
  EXPECT_EQ(host.calls, 3);
  // Third call at 1.0 s of millisecond reports: iteration 1000 was the last.
  EXPECT_EQ(r.iterations, 1001);

  // The dispatcher returns the host's value as a negative one.
  auto stopWith7 = [](QXmodel, int, void*) -> int { return 7; };
  ASSERT_EQ(QXsetCallback(model, stopWith7, nullptr), 0);
  torva::SolveScope scope(*model, QXLOC_DUAL, nullptr);
  EXPECT_EQ(torva::reportProgress(*model, {QXLOC_DUAL, 0, 0, true}), -7);
}

TEST_F(CallbackFixture, ContextMarkerAndCallbackInfoInsideTheCallback) {
  Host host;
  ASSERT_EQ(QXsetCallback(model, progressCb, &host), 0);
  EXPECT_FALSE(model->callbacks.inHostCall());
  solveLoop(model, 10, Clock::now());
  EXPECT_TRUE(host.markerSeen);
  EXPECT_FALSE(model->callbacks.inHostCall());
  // The forced final report saw the last iteration's state.
  EXPECT_EQ(host.infoRc, 0);
  EXPECT_DOUBLE_EQ(host.pobj, 91.0);
  EXPECT_EQ(host.simIter, 9);
  EXPECT_EQ(host.curIter, 10);

  // No solve in progress: nothing to answer.
  double d = 0;
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_PRIMAL, kItemPobj, &d), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetProgressInfo(model, QXLOC_PRIMAL, kItemPobj, &d), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetCallbackInfo(nullptr, QXLOC_PRIMAL, kItemPobj, &d), QXERR_ILLEGAL_NULL_POINTER);
}

TEST_F(CallbackFixture, CallbackInfoByLocation) {
  FakeSource source;
  source.pobj = 3.5;
  torva::SolveScope scope(*model, QXLOC_PRIMAL, &source);
  torva::reportProgress(*model, {QXLOC_PRIMAL, 42, 3.5, false});
  double d = 0;
  int k = 0;
  EXPECT_EQ(QXgetProgressInfo(model, QXLOC_PRIMAL, kItemPobj, &d), 0);
  EXPECT_DOUBLE_EQ(d, 3.5);
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_DUAL, kItemCurObj, &d), 0);
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_DUAL, kItemCurIter, &k), 0);
  EXPECT_EQ(k, 42);
  // Items outside what a location answers, unknown locations, and items the
  // solver does not know.
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_PRIMAL, kItemNumVars, &k), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_PRIMAL, kItemGenPercent, &d), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_INSTRUCT_LOAD, kItemPobj, &d), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetCallbackInfo(model, 27, kItemPobj, &d), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetCallbackInfo(model, -1, kItemPobj, &d), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_PRIMAL, 11202, &d), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_PRIMAL, kItemPobj, nullptr), QXERR_ILLEGAL_NULL_POINTER);
}

TEST_F(CallbackFixture, SolveScopesNestAndRestore) {
  FakeSource outer;
  outer.pobj = 1;
  FakeSource inner;
  inner.pobj = 2;
  double d = 0;
  {
    torva::SolveScope a(*model, QXLOC_MIP, &outer);
    {
      torva::SolveScope b(*model, QXLOC_DUAL, &inner);
      ASSERT_EQ(QXgetCallbackInfo(model, QXLOC_DUAL, kItemPobj, &d), 0);
      EXPECT_EQ(d, 2);
    }
    ASSERT_EQ(QXgetCallbackInfo(model, QXLOC_MIP, kItemPobj, &d), 0);
    EXPECT_EQ(d, 1);
  }
  EXPECT_EQ(QXgetCallbackInfo(model, QXLOC_MIP, kItemPobj, &d), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(model->callbacks.source, nullptr);
}

// The integer solver as the suppliers see it.
struct FakeMip : torva::MipRun {
  double incumbent = 10;
  double bound = 2;
  int status = 0;
  int n = 3;
  std::vector<std::vector<double>> offered;
  std::vector<std::string>* events = nullptr;
  int mipInfo(int item, void* result) const override {
    if (item == kItemMipObj) {
      *static_cast<double*>(result) = incumbent;
      return 0;
    }
    if (item == kItemMipBestBound) {
      *static_cast<double*>(result) = bound;
      return 0;
    }
    return QXERR_INFO_NOT_AVAILABLE;
  }
  double incumbentObjective() const override { return incumbent; }
  double bestBound() const override { return bound; }
  void adoptSuppliedObjective(double objective, double newBound) override {
    incumbent = objective;
    bound = newBound;
    status = 5;
  }
  int numVars() const override { return n; }
  void offerSolution(std::span<const double> x, double) override {
    offered.emplace_back(x.begin(), x.end());
  }
};

struct Supplied {
  double objective = 0;
  double bound = 0;
  int rc = 1;
  std::vector<std::string>* events = nullptr;
  bool markerSeen = false;
};

int objSupplier(QXmodel model, void* userdata, double* objective, double* bound) {
  auto* s = static_cast<Supplied*>(userdata);
  if (s->events) s->events->push_back("objective-bound");
  s->markerSeen = model->callbacks.inHostCall();
  *objective = s->objective;
  *bound = s->bound;
  return s->rc;
}

int solSupplier(QXmodel, void* userdata, double* objval, double* x) {
  auto* s = static_cast<Supplied*>(userdata);
  if (s->events) s->events->push_back("solution");
  if (s->rc == 0) return 0;
  x[0] = 1;
  x[1] = 0;
  x[2] = 1;
  *objval = s->objective;
  return 1;
}

TEST_F(CallbackFixture, SuppliersRunAfterTheProgressCallbackWhileTheMipRuns) {
  Host host;
  Supplied obj{7, 3, 1, &host.events};
  Supplied sol{6, 0, 1, &host.events};
  ASSERT_EQ(QXsetCallback(model, progressCb, &host), 0);
  ASSERT_EQ(QXsetMIPCallbackInsMIPObj(model, objSupplier, &obj), 0);
  ASSERT_EQ(QXsetMIPCallbackInsMIPSol(model, solSupplier, &sol), 0);

  // Outside the integer solver only the progress callback runs.
  {
    torva::SolveScope lp(*model, QXLOC_PRIMAL, nullptr);
    torva::reportProgress(*model, {QXLOC_PRIMAL, 0, 0, true});
  }
  EXPECT_EQ(host.events, (std::vector<std::string>{"progress"}));

  host.events.clear();
  FakeMip mip;
  torva::SolveScope scope(*model, QXLOC_MIP, nullptr, &mip);
  EXPECT_EQ(torva::reportProgress(*model, {QXLOC_MIP, 5, 10, true}), 0);
  EXPECT_EQ(host.events, (std::vector<std::string>{"progress", "objective-bound", "solution"}));
  EXPECT_TRUE(obj.markerSeen);
  // 7 beats 10 in minimisation: the record is feasible with the supplied values.
  EXPECT_EQ(mip.status, 5);
  EXPECT_EQ(mip.incumbent, 7);
  EXPECT_EQ(mip.bound, 3);
  ASSERT_EQ(mip.offered.size(), 1u);
  EXPECT_EQ(mip.offered[0], (std::vector<double>{1, 0, 1}));

  // A worse objective, or a zero return, changes nothing.
  mip.status = 0;
  obj.objective = 8;
  sol.rc = 0;
  torva::reportProgress(*model, {QXLOC_MIP, 6, 7, true});
  EXPECT_EQ(mip.status, 0);
  EXPECT_EQ(mip.incumbent, 7);
  EXPECT_EQ(mip.offered.size(), 1u);
  obj.objective = 1;
  obj.rc = 0;
  torva::reportProgress(*model, {QXLOC_MIP, 7, 7, true});
  EXPECT_EQ(mip.incumbent, 7);

  // Maximisation: larger is better.
  model->data.objSense = QX_MAX;
  obj.rc = 1;
  obj.objective = 5;
  torva::reportProgress(*model, {QXLOC_MIP, 8, 7, true});
  EXPECT_EQ(mip.incumbent, 7);
  obj.objective = 9;
  torva::reportProgress(*model, {QXLOC_MIP, 9, 7, true});
  EXPECT_EQ(mip.incumbent, 9);
  EXPECT_EQ(mip.status, 5);
}

TEST_F(CallbackFixture, StopSkipsTheSuppliers) {
  Host host;
  host.stopAtCall = 1;
  Supplied obj{1, 0, 1, &host.events};
  ASSERT_EQ(QXsetCallback(model, progressCb, &host), 0);
  ASSERT_EQ(QXsetMIPCallbackInsMIPObj(model, objSupplier, &obj), 0);
  FakeMip mip;
  torva::SolveScope scope(*model, QXLOC_MIP, nullptr, &mip);
  EXPECT_LT(torva::reportProgress(*model, {QXLOC_MIP, 0, 10, true}), 0);
  EXPECT_EQ(host.events, (std::vector<std::string>{"progress"}));
  EXPECT_EQ(mip.status, 0);
}

TEST_F(CallbackFixture, EndReportSkipsProgressWhileAppendedRowsAreKept) {
  Host host;
  ASSERT_EQ(QXsetCallback(model, progressCb, &host), 0);
  torva::SolveScope scope(*model, QXLOC_END_REPORT, nullptr);
  model->callbacks.keepAppendedRows = true;
  torva::reportProgress(*model, {QXLOC_END_REPORT, 0, 0, true});
  EXPECT_EQ(host.calls, 0);
  torva::reportProgress(*model, {QXLOC_PRIMAL, 0, 0, true});
  EXPECT_EQ(host.calls, 1);
  model->callbacks.keepAppendedRows = false;
  torva::reportProgress(*model, {QXLOC_END_REPORT, 0, 0, true});
  EXPECT_EQ(host.calls, 2);
  EXPECT_EQ(host.locations.back(), QXLOC_END_REPORT);
}

TEST_F(CallbackFixture, MipCallbackInfoAnswersOnlyIntegerItems) {
  int k = 0;
  double d = 0;
  EXPECT_EQ(QXgetMIPCallbackInfo(nullptr, kItemMipObj, &d), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetMIPCallbackInfo(model, kItemNumVars, &k), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetMIPCallbackInfo(model, kItemMipObj, &d), QXERR_INFO_NOT_AVAILABLE);
  FakeMip mip;
  torva::SolveScope scope(*model, QXLOC_MIP, nullptr, &mip);
  EXPECT_EQ(QXgetMIPCallbackInfo(model, kItemNumVars, &k), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetMIPCallbackInfo(model, kItemPobj, &d), QXERR_INFO_NOT_AVAILABLE);
  ASSERT_EQ(QXgetMIPCallbackInfo(model, kItemMipObj, &d), 0);
  EXPECT_EQ(d, 10);
  // The progress query at the integer location reaches the same record.
  ASSERT_EQ(QXgetCallbackInfo(model, QXLOC_MIP, kItemMipBestBound, &d), 0);
  EXPECT_EQ(d, 2);
}

struct Incumbent {
  double objective = 0;
  std::vector<double> x;
  bool markerSeen = false;
};

int mipCb(QXmodel model, void* userdata, double objval, const double* x) {
  auto* inc = static_cast<Incumbent*>(userdata);
  inc->objective = objval;
  inc->x.assign(x, x + 2);
  inc->markerSeen = model->callbacks.inHostCall();
  return 0;
}

TEST_F(CallbackFixture, IncumbentAndGlobalCallbacksReceiveTheSolution) {
  Incumbent inc;
  const std::vector<double> x{4, 5};
  EXPECT_EQ(torva::callMipCallback(*model, 1.5, x), 0);  // none installed
  ASSERT_EQ(QXsetMIPCallback(model, mipCb, &inc), 0);
  EXPECT_EQ(torva::callMipCallback(*model, 1.5, x), 0);
  EXPECT_EQ(inc.objective, 1.5);
  EXPECT_EQ(inc.x, x);
  EXPECT_TRUE(inc.markerSeen);
  Incumbent gop;
  ASSERT_EQ(QXsetGOPCallback(model, mipCb, &gop), 0);
  EXPECT_EQ(torva::callGopCallback(*model, -2, x), 0);
  EXPECT_EQ(gop.objective, -2);
  auto fde = [](QXmodel, int location, void*) -> int { return location + 100; };
  ASSERT_EQ(QXsetFDECallback(model, fde, nullptr), 0);
  EXPECT_EQ(torva::callFdeCallback(*model, QXLOC_BNP), 126);
}

int gradDense(QXmodel, void* userdata, int row, const double* x, int*, int*, double* grad) {
  ++*static_cast<int*>(userdata);
  grad[0] = row + x[0];
  grad[1] = 2;
  return 0;
}

int gradPartial(QXmodel, void*, int row, const double*, int* nnz, int* varidx, double* grad) {
  if (row == -1) {  // full gradient
    *nnz = -1;
    grad[0] = 1;
    grad[1] = 1;
    grad[2] = 1;
    return 0;
  }
  *nnz = 1;
  varidx[0] = 2;
  grad[0] = 9;
  return 0;
}

TEST_F(CallbackFixture, GradientRowListMarksOnlyRowsInRange) {
  model->data.m = 3;
  model->data.n = 2;
  int count = 0;
  const int rows[] = {-1, 3};
  ASSERT_EQ(QXsetGradcalc(model, gradDense, &count, 2, rows), 0);
  EXPECT_TRUE(torva::hostGradientForRow(*model, -1));
  for (int r = 0; r <= 3; ++r) EXPECT_FALSE(torva::hostGradientForRow(*model, r)) << r;
  EXPECT_FALSE(torva::hostGradientForRow(*model, -2));

  const int some[] = {1, 7, -5, 2};
  ASSERT_EQ(QXsetGradcalc(model, gradDense, &count, 4, some), 0);
  EXPECT_FALSE(torva::hostGradientForRow(*model, -1));
  EXPECT_FALSE(torva::hostGradientForRow(*model, 0));
  EXPECT_TRUE(torva::hostGradientForRow(*model, 1));
  EXPECT_TRUE(torva::hostGradientForRow(*model, 2));

  // A negative count or a null list: every row.
  ASSERT_EQ(QXsetGradcalc(model, gradDense, &count, -1, rows), 0);
  for (int r = -1; r < 3; ++r) EXPECT_TRUE(torva::hostGradientForRow(*model, r));
  ASSERT_EQ(QXsetGradcalc(model, gradDense, &count, 2, nullptr), 0);
  EXPECT_TRUE(torva::hostGradientForRow(*model, 2));

  std::vector<double> grad(2, -1);
  const double x[] = {0.5, 0};
  ASSERT_EQ(torva::gradientByHost(*model, 1, x, grad), 0);
  EXPECT_EQ(grad, (std::vector<double>{1.5, 2}));
  EXPECT_EQ(count, 1);

  ASSERT_EQ(QXsetGradcalc(model, nullptr, nullptr, 0, nullptr), 0);
  EXPECT_FALSE(torva::hostGradientForRow(*model, 0));
  EXPECT_EQ(torva::gradientByHost(*model, 1, x, grad), QXERR_USER_FUNCTION_NOT_SET);
}

TEST_F(CallbackFixture, FullPartialGradientIsScatteredOrCopied) {
  model->data.m = 2;
  model->data.n = 3;
  ASSERT_EQ(QXsetGradcalcFullPartial(model, gradPartial, nullptr, -1, nullptr), 0);
  std::vector<double> grad(3, 5);
  const double x[] = {0, 0, 0};
  ASSERT_EQ(torva::gradientByHost(*model, 0, x, grad), 0);
  EXPECT_EQ(grad, (std::vector<double>{0, 0, 9}));
  ASSERT_EQ(torva::gradientByHost(*model, -1, x, grad), 0);
  EXPECT_EQ(grad, (std::vector<double>{1, 1, 1}));
}

TEST_F(CallbackFixture, EvaluatorAdaptersCallTheHostInsideTheMarker) {
  const double x[] = {2, 3};
  double v = 0;
  EXPECT_FALSE(torva::hasHostFunction(*model));
  EXPECT_EQ(torva::evalRowByHost(*model, 0, x, &v), QXERR_USER_FUNCTION_NOT_SET);
  auto fun = [](QXmodel m, void*, int row, const double* px, double* value) -> int {
    if (!m->callbacks.inHostCall()) return 99;
    *value = row == -1 ? px[0] * px[1] : px[0] + px[1];
    return 0;
  };
  ASSERT_EQ(QXsetFuncalc(model, fun, nullptr), 0);
  EXPECT_TRUE(torva::hasHostFunction(*model));
  ASSERT_EQ(torva::evalRowByHost(*model, -1, x, &v), 0);
  EXPECT_EQ(v, 6);
  ASSERT_EQ(torva::evalRowByHost(*model, 0, x, &v), 0);
  EXPECT_EQ(v, 5);
  ASSERT_EQ(QXsetFuncalc(model, nullptr, nullptr), 0);
  EXPECT_FALSE(torva::hasHostFunction(*model));

  auto user = [](QXmodel, int nargs, const double* args, void* data, double* result) -> int {
    double sum = *static_cast<double*>(data);
    for (int i = 0; i < nargs; ++i) sum += args[i];
    *result = sum;
    return 0;
  };
  double offset = 0.5;
  const std::vector<double> args{1, 2, 3};
  EXPECT_EQ(torva::userFunctionByHost(*model, args, &v), QXERR_USER_FUNCTION_NOT_SET);
  ASSERT_EQ(QXsetUsercalc(model, user, &offset), 0);
  ASSERT_EQ(torva::userFunctionByHost(*model, args, &v), 0);
  EXPECT_EQ(v, 6.5);

  auto hess = [](QXmodel, void*, int, const double*, int* nnz, int* ri, int* ci, double* val) -> int {
    *nnz = 1;
    ri[0] = 1;
    ci[0] = 0;
    val[0] = 4;
    return 0;
  };
  int nnz = 0, ri = -1, ci = -1;
  EXPECT_EQ(torva::hessianByHost(*model, 0, x, &nnz, &ri, &ci, &v), QXERR_USER_FUNCTION_NOT_SET);
  ASSERT_EQ(QXsetHessdccalc(model, hess, nullptr), 0);
  ASSERT_EQ(torva::hessianByHost(*model, 0, x, &nnz, &ri, &ci, &v), 0);
  EXPECT_EQ(nnz, 1);
  EXPECT_EQ(v, 4);
}

}  // namespace
