// Helpers shared by the exported C functions: every entry point runs its body
// through guarded() so that no exception ever crosses the C boundary.
#pragma once

#include <new>

#include "torva.h"

namespace torva {

// Runs body() and turns an escaping exception into an error code: allocation
// failure is QXERR_OUT_OF_MEMORY, anything else an internal error.
template <class Body>
int guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return QXERR_OUT_OF_MEMORY;
  } catch (...) {
    return QXERR_INTERNAL_ERROR;
  }
}

// The same for functions that return nothing.
template <class Body>
void guardedVoid(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

}  // namespace torva
