// The Qt backend as a module that the Linux program loads only when a form
// needs Qt Widgets: its primitives, in one table.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"

namespace rt::qt {

struct ModuleCalls {
  void (*start)(int argc, char** argv);
  std::unique_ptr<native::Window> (*create_form_window)(const FormDesign& design, int client_width,
                                                        int client_height, bool holds_controls,
                                                        native::WindowEvents& events);
  std::unique_ptr<native::TimerSource> (*create_timer_source)(std::function<void()> on_tick);
  void (*wait_events)();
  void (*handle_pending_events)();
  // Opens the display for Qt, so that a message shows even when no form of
  // Qt's is up.
  void (*open_display)();
  void (*show_message)(const std::string& text, native::MessageKind kind);
};

// The module's one exported function gives its table.
constexpr char kModuleEntry[] = "kelvora_qt_module_calls";

}  // namespace rt::qt
