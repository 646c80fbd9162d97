// The one way a platform ends the run on an error it cannot go on from (the
// display gone, no memory for a window, a module that will not load): one
// line on standard error, then status 1. The forms layer defines it, so that
// every backend ends alike and none exits on its own.
#pragma once

#include <string>

namespace rt::native {

// Writes "kelvora: " and the words, then ends the process with status 1.
[[noreturn]] void FailFatally(const std::string& what);

}  // namespace rt::native
