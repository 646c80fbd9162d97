#include "runtime/forms/program.h"

#include <cstdio>

#include "runtime/forms/backend_choice.h"
#include "runtime/forms/event_guard.h"
#include "runtime/forms/form.h"
#include "runtime/forms/timer.h"
#include "runtime/language/runtime_error.h"
#include "runtime/platform/backends.h"

namespace rt {

int ThunRTMain(int argc, char** argv, void (*main_procedure)()) {
  native::StartProgram(argc, argv);
  RunGuarded(main_procedure);
  while (AnyFormLoaded()) RunBackend().WaitEvents();
  // Forms and the backend live in statics whose destruction order is
  // unknown; the process is over, so none of them is torn down.
  std::fflush(nullptr);
  ExitProcess(0);
}

void End() {
  std::fflush(nullptr);
  ExitProcess(0);
}

void DoEvents() { RunBackend().HandlePendingEvents(); }

void MsgBox(const std::string& prompt) { ShowRunMessage(prompt, native::MessageKind::kWarning); }

void FailWithError(int number) {
  const std::string message = ErrorMessage(number);
  std::fprintf(stderr, "kelvora: %s\n", message.c_str());
  std::fflush(stderr);
  // No event code runs while the message is up, and a full-screen window
  // would hide it and hold the keyboard.
  StopAllTimers();
  HideLoadedForms();
  ShowRunMessage(message, native::MessageKind::kError);
  std::fflush(nullptr);
  ExitProcess(1);
}

}  // namespace rt
