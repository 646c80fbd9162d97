#include "runtime/forms/event_guard.h"

#include "runtime/forms/program.h"
#include "runtime/language/runtime_error.h"

namespace rt {

void RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const RuntimeError& error) {
    FailWithError(error.number());
  }
}

}  // namespace rt
