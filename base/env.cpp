#include "base/env.hpp"

#include <algorithm>

#include "base/model.hpp"
#include "base/param_docs.hpp"

int QXenvRec::init() {
  if (int rc = messages.build()) return rc;
  params = torva::ParamSet{};
  // The documentation tables must describe every parameter.
  if (int rc = torva::checkParamDocTables()) return rc;
  return 0;
}

QXenvRec::~QXenvRec() = default;

QXmodelRec* QXenvRec::addModel() {
  auto model = std::make_unique<QXmodelRec>(this);
  QXmodelRec* raw = model.get();
  std::lock_guard<std::mutex> hold(modelListLock);
  models.push_back(std::move(model));
  return raw;
}

int QXenvRec::removeModel(QXmodelRec* model) {
  std::unique_ptr<QXmodelRec> owned;
  {
    std::lock_guard<std::mutex> hold(modelListLock);
    auto it = std::find_if(models.begin(), models.end(),
                           [model](const auto& p) { return p.get() == model; });
    if (it == models.end()) return QXERR_INTERNAL_ERROR;
    owned = std::move(*it);
    models.erase(it);
  }
  // The model is freed outside the lock.
  return 0;
}
