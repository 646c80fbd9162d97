#include "runtime/event_guard.h"

#include "runtime/native.h"
#include "runtime/runtime_error.h"

namespace rt {

namespace {
bool ending_on_error = false;
}  // namespace

bool IsEndingOnError() { return ending_on_error; }

void RunGuarded(const std::function<void()>& handler) {
  if (ending_on_error) return;
  try {
    handler();
  } catch (const RuntimeError& error) {
    ending_on_error = true;
    native::FatalError(error.number());
  }
}

}  // namespace rt
