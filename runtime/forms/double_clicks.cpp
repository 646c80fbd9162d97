#include "runtime/forms/double_clicks.h"

#include <cstdlib>

namespace rt {

bool DoubleClicks::IsSecondPress(native::PointerButton button, int x, int y, uint32_t time,
                                 const native::DoubleClickLimits& limits) {
  // Times are the system's milliseconds, which wrap: the difference does too.
  const bool second = button == button_ && time - time_ <= limits.milliseconds &&
                      std::abs(x - x_) <= limits.pixels_x && std::abs(y - y_) <= limits.pixels_y;
  button_ = second ? 0 : button;
  time_ = time;
  x_ = x;
  y_ = y;
  return second;
}

}  // namespace rt
