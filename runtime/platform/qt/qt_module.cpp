// The entry of the Qt module: its backend's primitives, for the program that
// loaded it. Everything else in the module is hidden from the program.
#include "runtime/platform/qt/qt_module.h"

#include <QByteArray>
#include <QtGlobal>

#include "runtime/platform/qt/qt_application.h"

namespace rt::qt {
namespace {

const ModuleCalls kCalls = {
    .start =
        [](int argc, char** argv) {
          // The forms layer sizes forms in pixels from the display's own
          // resolution (Xft.dpi), as Windows does: Qt must not scale them again.
          if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
            qputenv("QT_ENABLE_HIGHDPI_SCALING", QByteArray("0"));
          native::StartProgram(argc, argv);
        },
    .create_form_window = &native::CreateFormWindow,
    .create_timer_source = &native::CreateTimerSource,
    .wait_events = &native::WaitEvents,
    .handle_pending_events = &native::HandlePendingEvents,
    .open_display = [] { EnsureApplication(); },
    .show_message = &native::ShowMessage,
};

}  // namespace
}  // namespace rt::qt

extern "C" __attribute__((visibility("default"))) const rt::qt::ModuleCalls*
kelvora_qt_module_calls() {
  return &rt::qt::kCalls;
}
