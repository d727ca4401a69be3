// Threads of the interior-point factorisations (QX_IPARAM_IPM_NUM_THREADS).
#pragma once

namespace torva::ipm {

// The thread count a setting asks for: 0 means one per processor.
int ipmThreadCount(int setting);

// For its lifetime, the calling thread's OpenMP team size (which CHOLMOD's
// parallel regions and the library's own block loops follow) and, when the
// BLAS in the process is OpenBLAS, its thread count are set to the given
// count; both are restored afterwards.
class ScopedThreads {
 public:
  explicit ScopedThreads(int threads);
  ~ScopedThreads();
  ScopedThreads(const ScopedThreads&) = delete;
  ScopedThreads& operator=(const ScopedThreads&) = delete;

 private:
  int oldOmp_ = 1;
  int oldBlas_ = -1;  // -1: no OpenBLAS in the process, or left as it was
};

}  // namespace torva::ipm
