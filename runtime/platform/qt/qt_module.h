// The Qt backend as a module that the Linux program loads only when a form
// needs Qt Widgets. Its one exported function takes the program's
// FailFatally, starts the backend with the program's arguments and gives
// its object.
#pragma once

#include "runtime/platform/linux/module_failure.h"
#include "runtime/platform/native.h"

namespace rt::qt {

using ModuleEntry = native::Backend* (*)(int argc, char** argv, linux_program::FatalFailure fail);
constexpr char kModuleEntry[] = "kelvora_qt_module_backend";

}  // namespace rt::qt
