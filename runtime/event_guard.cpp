#include "runtime/event_guard.h"

#include "runtime/native.h"
#include "runtime/runtime_error.h"

namespace rt {

void RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const RuntimeError& error) {
    native::FatalError(error.number());
  }
}

}  // namespace rt
