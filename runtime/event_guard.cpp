#include "runtime/event_guard.h"

#include "runtime/program.h"
#include "runtime/runtime_error.h"

namespace rt {

void RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const RuntimeError& error) {
    FailWithError(error.number());
  }
}

}  // namespace rt
