// The backend primitives on Linux. The first form's window picks the backend
// for the run: a form with windowed controls gets Qt Widgets, loaded then;
// the others get the bare X backend, so the saver's run never starts Qt.
#include <cstdio>
#include <cstdlib>

#include "runtime/platform/linux/qt_module_loader.h"
#include "runtime/platform/native.h"
#include "runtime/platform/x11/x11_backend.h"
#include "runtime/platform/x11/x11_connection.h"
#include "runtime/platform/x11/x11_event_loop.h"

namespace rt::native {
namespace {

enum class Backend { kNone, kX11, kQt };
Backend chosen = Backend::kNone;
int program_argc = 0;
char** program_argv = nullptr;

const qt::ModuleCalls& Qt() { return linux_program::QtModule(program_argc, program_argv); }

}  // namespace

void StartProgram(int argc, char** argv) {
  program_argc = argc;
  program_argv = argv;
}

std::unique_ptr<Window> CreateFormWindow(const FormDesign& design, int client_width,
                                         int client_height, bool holds_controls,
                                         WindowEvents& events) {
  // A picture on the form is drawn by Qt too.
  if (chosen == Backend::kNone)
    chosen = holds_controls || !design.picture.empty() ? Backend::kQt : Backend::kX11;
  if (chosen == Backend::kQt)
    return Qt().create_form_window(design, client_width, client_height, holds_controls, events);
  return std::make_unique<x11::X11Window>(design, client_width, client_height, events);
}

std::unique_ptr<TimerSource> CreateTimerSource(std::function<void()> on_tick) {
  if (chosen == Backend::kQt) return Qt().create_timer_source(std::move(on_tick));
  return x11::CreateTimerSource(std::move(on_tick));
}

void WaitEvents() {
  if (chosen == Backend::kQt) {
    Qt().wait_events();
  } else {
    x11::WaitEvents();
  }
}

void HandlePendingEvents() {
  if (chosen == Backend::kQt) {
    Qt().handle_pending_events();
  } else {
    x11::DoEvents();
  }
}

// Qt on X reads the same resolution (Xft.dpi, else 96), so the X server is
// asked whichever backend the forms get.
DotsPerInch ScreenDpi() { return x11::ScreenDpi(); }

// The X backend has no message box: Qt shows it. An error in a run that
// never opened the display, or inside the screen-saver daemon's window
// (whose covering windows would hide a box that nobody could close), goes
// to standard error alone.
void ShowMessage(const std::string& text, MessageKind kind) {
  if (kind == MessageKind::kError && chosen != Backend::kQt &&
      (!x11::X11Connection::Made() || x11::DrawsInGivenWindow()))
    return;
  if (chosen != Backend::kQt) Qt().open_display();
  Qt().show_message(text, kind);
}

void ExitProcess(int status) { std::_Exit(status); }

}  // namespace rt::native
