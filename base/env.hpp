// The environment: root object owning models, samplers, messages and the
// parameter values that new models start from.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "base/messages.hpp"
#include "base/params.hpp"
#include "torva.h"

namespace torva {
using Env = QXenvRec;
using Model = QXmodelRec;
// Frees a sample; defined with the sampling code (stoc/), so that this header
// needs only the declaration of the sample record.
struct SampleDeleter {
  void operator()(QXsampleRec* sample) const noexcept;
};
}  // namespace torva

struct QXenvRec {
  torva::MessageTable messages;
  torva::ParamSet params;

  // Models in creation order. The environment owns them; a model handle is
  // the address of one of these objects.
  std::vector<std::unique_ptr<QXmodelRec>> models;
  std::mutex modelListLock;

  // Samples in creation order, owned like the models and changed under the
  // same lock. addSample/removeSample are defined with the sampling code.
  std::vector<std::unique_ptr<QXsampleRec, torva::SampleDeleter>> samples;
  QXsampleRec* addSample(int distrType);
  // Unlinks and frees sample; QXERR_INTERNAL_ERROR when it is not in the list.
  int removeSample(QXsampleRec* sample);

  QXenvLogfunc logFunc = nullptr;
  void* logUserData = nullptr;
  QXexitFunc exitFunc = nullptr;
  void* exitUserData = nullptr;

  // Builds the message table and the parameter defaults; returns an error code.
  int init();
  ~QXenvRec();

  // Creates a model appended to the model list (under the lock).
  QXmodelRec* addModel();
  // Unlinks and frees model; QXERR_INTERNAL_ERROR when it is not in the list.
  int removeModel(QXmodelRec* model);
};
