// The Qt backend, built into the program as a module's bytes and loaded
// only when first needed, so that a run that never needs it neither maps
// nor relocates Qt's libraries.
#pragma once

#include "runtime/platform/qt/qt_module.h"

namespace rt::linux_program {

// The module's backend, loaded and started on first call. Ends the program
// with a message when the module can't be loaded.
native::Backend& QtModuleBackend(int argc, char** argv);

}  // namespace rt::linux_program
