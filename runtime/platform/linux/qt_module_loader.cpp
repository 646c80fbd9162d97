#include "runtime/platform/linux/qt_module_loader.h"

#include "runtime/platform/fatal_error.h"
#include "runtime/platform/linux/displays.h"
#include "runtime/platform/linux/embedded_file.h"
#include "runtime/platform/linux/embedded_module.h"
#include "runtime/platform/linux/qt_headroom.h"

// The module's file, stripped of its debugging data, in a section of its own.
KELVORA_EMBED_FILE(kelvora_qt_module, KELVORA_QT_MODULE_FILE);

namespace rt::linux_program {

native::Backend& QtModuleBackend(int argc, char** argv) {
  static native::Backend* backend = [&] {
    SteerQtToTheDisplayThatAnswers();
    RequireQtHeadroom();
    EndOnOutOfMemoryInOneLine();
    const auto entry =
        reinterpret_cast<qt::ModuleEntry>(LoadEmbeddedModule({.name = "the Qt module",
                                                              .file_name = "kelvora-qt.so",
                                                              .start = kelvora_qt_module_start,
                                                              .end = kelvora_qt_module_end,
                                                              .entry = qt::kModuleEntry}));
    return entry(argc, argv, &native::FailFatally);
  }();
  return *backend;
}

}  // namespace rt::linux_program
