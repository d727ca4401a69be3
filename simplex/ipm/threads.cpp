#include "simplex/ipm/threads.hpp"

#include <dlfcn.h>
#include <omp.h>

#include <algorithm>

namespace torva::ipm {
namespace {

using SetThreads = void (*)(int);
using GetThreads = int (*)();

// OpenBLAS's thread controls, looked up in the running process: the BLAS is
// chosen when the program is linked (or by the system's alternatives), not
// when the library is built.
struct BlasControls {
  SetThreads set = nullptr;
  GetThreads get = nullptr;
  BlasControls() {
    set = reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "openblas_set_num_threads"));
    get = reinterpret_cast<GetThreads>(dlsym(RTLD_DEFAULT, "openblas_get_num_threads"));
    if (!set || !get) set = nullptr, get = nullptr;
  }
};

const BlasControls& blas() {
  static const BlasControls controls;
  return controls;
}

}  // namespace

int ipmThreadCount(int setting) { return setting > 0 ? setting : std::max(1, omp_get_num_procs()); }

ScopedThreads::ScopedThreads(int threads) : oldOmp_(omp_get_max_threads()) {
  const int t = std::max(1, threads);
  omp_set_num_threads(t);
  const BlasControls& b = blas();
  if (b.set) {
    oldBlas_ = b.get();
    if (oldBlas_ != t) b.set(t);
    else oldBlas_ = -1;
  }
}

ScopedThreads::~ScopedThreads() {
  omp_set_num_threads(oldOmp_);
  if (oldBlas_ >= 0) blas().set(oldBlas_);
}

}  // namespace torva::ipm
