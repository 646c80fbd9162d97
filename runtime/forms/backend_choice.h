// Which backend draws the run's forms: the first form chooses from the
// platform's list, and every later form, timer and message of the run
// stays with that choice.
#pragma once

#include "runtime/platform/native.h"

namespace rt {

// The run's backend, chosen now if no form has chosen yet.
native::Backend& BackendFor(const native::FormNeeds& needs);
// The run's backend; before any form, the platform's first choice for a
// form without windowed controls, without choosing it for the run.
native::Backend& RunBackend();
// Ends the process at once through the run's backend.
[[noreturn]] void ExitProcess(int status);
// For tests: every form from now on goes to this backend.
void UseBackend(native::Backend& backend);

}  // namespace rt
