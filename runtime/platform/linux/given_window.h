// The window an X screen-saver daemon hands over in XSCREENSAVER_WINDOW.
#pragma once

#include <cstdint>

namespace rt {

// Stands for a set value that can be no X id: a window that never exists.
inline constexpr uint32_t kNoSuchWindow = 0xFFFFFFFF;

// The window's id ("0x60000F" from the daemon; decimal is read too); 0 when
// the variable is missing, empty or 0; kNoSuchWindow for any other text that
// is no X id, so that a saver handed a bad value never covers the screen.
uint32_t GivenWindow();

}  // namespace rt
