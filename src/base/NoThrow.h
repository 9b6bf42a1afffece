// Entry points of plug-ins and other C boundaries: nothing may throw across them. The standard
// containers may still throw std::bad_alloc, so such an entry point runs its body through these,
// which turn any exception into the failure result the interface documents. Pure.
#pragma once

namespace ox {

template <typename Result, typename Body>
Result NoThrow(Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

template <typename Body>
void NoThrow(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

}  // namespace ox
