// The Qt Widgets backend: forms with windowed controls or a picture, message
// boxes, and the event loop while such a form is up.
#pragma once

#include <functional>
#include <memory>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"

namespace rt::qt {

std::unique_ptr<native::Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                 int client_height, native::WindowEvents& events);
std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick);

// The backend's object, for a program started with these arguments.
native::Backend& StartBackend(int argc, char** argv);

}  // namespace rt::qt
