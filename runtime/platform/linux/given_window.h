// The window an X screen-saver daemon hands over in XSCREENSAVER_WINDOW.
#pragma once

#include <cstdint>

namespace rt {

// The window's id ("0x60000F" from the daemon; decimal is read too), or 0
// when the variable is missing or names no possible X id.
uint32_t GivenWindow();

}  // namespace rt
