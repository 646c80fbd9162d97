#include "runtime/forms/backend_choice.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/platform/backends.h"

namespace rt {
namespace {

native::Backend* chosen = nullptr;

native::Backend* FirstServing(const native::FormNeeds& needs) {
  for (const native::BackendEntry& entry : native::PlatformBackends()) {
    if (!entry.serves(needs)) continue;
    if (native::Backend* backend = entry.open()) return backend;
  }
  std::fprintf(stderr, "kelvora: no display to show a window on\n");
  std::fflush(nullptr);
  std::_Exit(1);
}

}  // namespace

native::Backend& BackendFor(const native::FormNeeds& needs) {
  if (chosen == nullptr) chosen = FirstServing(needs);
  return *chosen;
}

native::Backend& RunBackend() { return chosen != nullptr ? *chosen : *FirstServing({}); }

void ExitProcess(int status) {
  RunBackend().ExitProcess(status);
  std::_Exit(status);  // a backend's end never returns; this one is sure
}

void UseBackend(native::Backend& backend) { chosen = &backend; }

}  // namespace rt
