#include "runtime/null/null_backend.h"
#include "tests/forms/backend_harness.h"

ScreenPixels ScreenSize() { return {1920, 1080}; }

void Pump() {}

bool HasInk(const rt::native::Surface& surface) {
  for (const auto& line : static_cast<const rt::null::NullSurface&>(surface).lines()) {
    if (!line.text.empty() && line.color != 0) return true;
  }
  return false;
}
