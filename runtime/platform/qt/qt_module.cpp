// The entry of the Qt module: its backend's object, for the program that
// loaded it. Everything else in the module is hidden from the program.
#include "runtime/platform/qt/qt_module.h"

#include "runtime/platform/qt/qt_backend.h"

extern "C" __attribute__((visibility("default"))) rt::native::Backend* kelvora_qt_module_backend(
    int argc, char** argv, rt::linux_program::FatalFailure fail) {
  rt::linux_program::PassFailuresTo(fail);
  return &rt::qt::StartBackend(argc, argv);
}
