// Every event handler and Main run under this guard: a run-time error that no
// skip mode caught shows the runtime's message and ends the program.
#pragma once

#include <functional>

namespace rt {

void RunGuarded(const std::function<void()>& handler);

}  // namespace rt
