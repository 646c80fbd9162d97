// The skip mode: a statement that raises a run-time error is abandoned and the
// next one runs; a condition whose test fails counts as holding.
#pragma once

#include "runtime/language/runtime_error.h"

namespace rt {

template <class Statement>
void Skip(Statement&& statement) {
  try {
    statement();
  } catch (const RuntimeError&) {
  }
}

template <class Condition>
bool SkipTest(Condition&& condition) {
  try {
    return condition();
  } catch (const RuntimeError&) {
    return true;
  }
}

}  // namespace rt
