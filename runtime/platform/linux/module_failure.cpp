// Built into each module, never into the program.
#include "runtime/platform/linux/module_failure.h"

#include "runtime/platform/fatal_error.h"

namespace rt {
namespace {

linux_program::FatalFailure program_fails = nullptr;

}  // namespace

void linux_program::PassFailuresTo(FatalFailure fails) { program_fails = fails; }

void native::FailFatally(const std::string& what) {
  program_fails(what);
  __builtin_unreachable();  // the program's FailFatally never returns
}

}  // namespace rt
