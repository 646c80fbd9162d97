// Tells a double click from presses, as the system does: the same button
// again within the system's double-click time and rectangle; a third press
// starts a new pair. Backends report every press with its time.
#pragma once

#include <cstdint>

#include "runtime/platform/native.h"

namespace rt {

class DoubleClicks {
 public:
  bool IsSecondPress(native::PointerButton button, int x, int y, uint32_t time,
                     const native::DoubleClickLimits& limits);

 private:
  native::PointerButton button_ = 0;
  uint32_t time_ = 0;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace rt
