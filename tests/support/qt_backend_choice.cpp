// Test programs linked with this file draw their forms with Qt Widgets: the
// choice is made as the program starts, before any test makes a form.
#include "runtime/forms/backend_choice.h"
#include "runtime/platform/qt/qt_backend.h"

namespace {

char program_name[] = "kelvora-tests";
char* program_arguments[] = {program_name, nullptr};

const bool qt_chosen = [] {
  rt::UseBackend(rt::qt::StartBackend(1, program_arguments));
  return true;
}();

}  // namespace
