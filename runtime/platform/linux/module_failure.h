// A module that the program loads from its own bytes (embedded_module.h) is
// linked on its own and can't reach the program's FailFatally: the program
// hands it over at the module's entry, and the module's own FailFatally
// (module_failure.cpp, built into each module) passes every failure on.
#pragma once

#include <string>

namespace rt::linux_program {

using FatalFailure = void (*)(const std::string& what);

// Called by the module's entry before anything in it can fail.
void PassFailuresTo(FatalFailure program_fails);

}  // namespace rt::linux_program
