// Exported functions of the environment and model life cycle and of the
// error-message queries.
#include <cstring>

#include "base/api.hpp"
#include "base/copy.hpp"
#include "base/env.hpp"
#include "base/model.hpp"

using torva::guarded;
using torva::guardedVoid;

extern "C" {

QXAPI QXenv QXcreateEnv(int* errorcode) {
  QXenv result = nullptr;
  int rc = guarded([&] {
    auto env = std::make_unique<QXenvRec>();
    if (int err = env->init()) return err;
    result = env.release();
    return 0;
  });
  if (errorcode) *errorcode = rc;
  return result;
}

QXAPI int QXdeleteEnv(QXenv* envp) {
  if (!envp || !*envp) return QXERR_ILLEGAL_NULL_POINTER;
  QXenv env = *envp;
  return guarded([&] {
    for (auto& model : env->models) model->freeSolverMemory();
    while (!env->models.empty()) {
      if (int rc = env->removeModel(env->models.front().get())) return rc;
    }
    while (!env->samples.empty()) {
      if (int rc = env->removeSample(env->samples.front().get())) return rc;
    }
    delete env;
    *envp = nullptr;
    return 0;
  });
}

QXAPI QXmodel QXcreateModel(QXenv env, int* errorcode) {
  QXmodel result = nullptr;
  int rc = QXERR_ILLEGAL_NULL_POINTER;
  if (env) rc = guarded([&] {
    result = env->addModel();
    return 0;
  });
  if (errorcode) *errorcode = rc;
  return result;
}

QXAPI int QXdeleteModel(QXmodel* modelp) {
  if (!modelp || !*modelp) return 0;
  QXmodel model = *modelp;
  return guarded([&] {
    if (int rc = model->env->removeModel(model)) return rc;
    *modelp = nullptr;
    return 0;
  });
}

QXAPI QXmodel QXcopyModel(QXmodel source, int* errorcode) {
  QXmodel result = nullptr;
  int rc = QXERR_ILLEGAL_NULL_POINTER;
  if (source && source->env) rc = guarded([&] {
    QXmodel copy = source->env->addModel();
    copy->params = source->params;
    int err = torva::replayModel(*source, *copy);
    if (err) {
      source->env->removeModel(copy);
      return err;
    }
    result = copy;
    return 0;
  });
  if (errorcode) *errorcode = rc;
  return result;
}

QXAPI int QXgetModelEnv(QXmodel model, QXenv* env) {
  if (!model) return QXERR_INFO_NOT_AVAILABLE;
  if (env) *env = model->env;
  return 0;
}

QXAPI int QXgetEnvModelCount(QXenv env, int* count) {
  if (!env) return QXERR_INFO_NOT_AVAILABLE;
  if (!count) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    std::lock_guard<std::mutex> hold(env->modelListLock);
    *count = static_cast<int>(env->models.size());
    return 0;
  });
}

QXAPI int QXgetEnvModelList(QXenv env, QXmodel* models) {
  if (!env) return QXERR_INFO_NOT_AVAILABLE;
  if (!models) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    std::lock_guard<std::mutex> hold(env->modelListLock);
    for (std::size_t i = 0; i < env->models.size(); ++i) models[i] = env->models[i].get();
    return 0;
  });
}

QXAPI int QXsetEnvLogfunc(QXenv env, QXenvLogfunc logfunc, void* userdata) {
  if (!env) return QXERR_ILLEGAL_NULL_POINTER;
  env->logFunc = logfunc;
  env->logUserData = logfunc ? userdata : nullptr;
  return 0;
}

QXAPI int QXsetModelLogfunc(QXmodel model, QXmodelLogfunc logfunc, void* userdata) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  model->logFunc = logfunc;
  model->logUserData = logfunc ? userdata : nullptr;
  return 0;
}

QXAPI int QXsetEnvExitFunc(QXenv env, QXexitFunc exitfunc, void* userdata) {
  if (!env) return QXERR_ILLEGAL_NULL_POINTER;
  // No external solver library is installed, so the function is only stored.
  env->exitFunc = exitfunc;
  env->exitUserData = userdata;
  return 0;
}

QXAPI void QXfreeSolverMemory(QXmodel model) {
  if (model) guardedVoid([&] { model->freeSolverMemory(); });
}
QXAPI void QXfreeSolutionMemory(QXmodel model) {
  if (model) guardedVoid([&] { model->freeSolution(); });
}
QXAPI void QXfreeMIPSolutionMemory(QXmodel model) {
  if (model) guardedVoid([&] { model->freeMipSolution(); });
}
QXAPI void QXfreeGOPSolutionMemory(QXmodel model) {
  if (model) guardedVoid([&] { model->freeGopSolution(); });
}
QXAPI void QXfreeNLPSolverMemory(QXmodel model) {
  if (model) guardedVoid([&] { model->freeNlpSolverMemory(); });
}
QXAPI void QXfreeHashMemory(QXmodel model) {
  if (model) guardedVoid([&] { model->freeHashMemory(); });
}
QXAPI int QXfreeNameData(QXmodel model) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    model->freeNames();
    return 0;
  });
}

QXAPI int QXgetErrorMessage(QXenv env, int errorcode, char* message) {
  if (!message) return QXERR_ILLEGAL_NULL_POINTER;
  if (errorcode == 0) {
    std::strcpy(message, "No errors.");
    return QXERR_BAD_ERROR_CODE;
  }
  if (errorcode < 0 || errorcode >= 2598) {
    std::strcpy(message, "Unknown error.");
    return QXERR_BAD_ERROR_CODE;
  }
  message[0] = '\0';
  if (env) {
    if (const char* text = env->messages.text(errorcode)) std::strcpy(message, text);
    return 0;
  }
  // Without an environment a temporary table answers the question.
  torva::MessageTable temporary;
  if (temporary.build() == 0) {
    if (const char* text = temporary.text(errorcode)) std::strcpy(message, text);
  }
  return 0;
}

QXAPI int QXgetFileError(QXmodel model, int* linenum, char* linetxt) {
  if (model && model->errorLineText) {
    if (linenum) *linenum = model->errorLine;
    if (linetxt) std::strcpy(linetxt, model->errorLineText->c_str());
  } else {
    if (linenum) *linenum = 0;
    if (linetxt) linetxt[0] = '\0';
  }
  return 0;
}

QXAPI int QXgetErrorRowIndex(QXmodel model, int* row) {
  if (!model || !row) return QXERR_ILLEGAL_NULL_POINTER;
  if (model->instructErrorRow) {
    *row = *model->instructErrorRow;
    return 0;
  }
  constexpr int kPrimalStatusNumericalError = 11;
  if (!model->lpSolution || model->lpSolution->primalStatus != kPrimalStatusNumericalError)
    return QXERR_INFO_NOT_AVAILABLE;
  *row = model->lpSolution->errorRow;
  return 0;
}

}  // extern "C"
