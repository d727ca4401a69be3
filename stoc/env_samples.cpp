// The environment's list of samples: creation, unlinking and freeing.
#include <algorithm>

#include "base/env.hpp"
#include "stoc/sample.hpp"

void torva::SampleDeleter::operator()(QXsampleRec* sample) const noexcept { delete sample; }

QXsampleRec* QXenvRec::addSample(int distrType) {
  std::unique_ptr<QXsampleRec, torva::SampleDeleter> sample(new QXsampleRec(this, distrType));
  QXsampleRec* raw = sample.get();
  std::lock_guard<std::mutex> hold(modelListLock);
  samples.push_back(std::move(sample));
  return raw;
}

int QXenvRec::removeSample(QXsampleRec* sample) {
  std::unique_ptr<QXsampleRec, torva::SampleDeleter> owned;
  {
    std::lock_guard<std::mutex> hold(modelListLock);
    auto it = std::find_if(samples.begin(), samples.end(), [sample](const auto& p) { return p.get() == sample; });
    if (it == samples.end()) return QXERR_INTERNAL_ERROR;
    owned = std::move(*it);
    samples.erase(it);
    // No other sample may keep it as an argument of a user distribution.
    for (auto& other : samples) {
      auto& args = other->userArgs;
      args.erase(std::remove(args.begin(), args.end(), sample), args.end());
    }
  }
  return 0;
}
