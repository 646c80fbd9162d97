// The bare X backend: forms without windowed controls (x11_window.h), its
// timers, its loop and the screen's resolution.
#pragma once

#include "runtime/platform/native.h"

namespace rt::x11 {

// The bare X backend's object. It shows no message box of its own.
native::Backend& Open();

}  // namespace rt::x11
