// The number of the run-time error a statement raises, or 0 for none.
#pragma once

#include <functional>

#include "runtime/language/runtime_error.h"

inline int ErrorOf(const std::function<void()>& statement) {
  try {
    statement();
  } catch (const rt::RuntimeError& error) {
    return error.number();
  }
  return 0;
}
