// Which backend draws the run's forms: the first form chooses from the
// platform's list (or from the backends KELVORA_BACKEND names, in its
// order), and every later form, timer and message of the run stays with
// that choice. Messages go to the first backend of the list that shows
// message boxes when the run's own shows none.
#pragma once

#include <string>

#include "runtime/platform/native.h"

namespace rt {

// The run's backend, chosen now if no form has chosen yet.
native::Backend& BackendFor(const native::FormNeeds& needs);
// The run's backend; before any form, the platform's first choice for a
// form without windowed controls, without choosing it for the run.
native::Backend& RunBackend();
// Shows a message box where the user can see it and returns once it is
// closed. An error that the run's windows would hide (a screen-saver
// daemon's window, an overlay over every screen) is left to standard error.
void ShowRunMessage(const std::string& text, native::MessageKind kind);
// Ends the process at once through the run's backend.
[[noreturn]] void ExitProcess(int status);
// For tests: every form and message from now on goes to this backend.
void UseBackend(native::Backend& backend);

}  // namespace rt
