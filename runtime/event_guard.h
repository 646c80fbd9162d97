// Every event handler and Main run under this guard: a run-time error that no
// skip mode caught shows the runtime's message and ends the program.
#pragma once

#include <functional>

namespace rt {

void RunGuarded(const std::function<void()>& handler);

// Once the program is ending on an error, no further event code runs.
bool IsEndingOnError();

}  // namespace rt
