// The platform of the tests that need no window system: the null backend is
// its only one.
#include "runtime/platform/backends.h"
#include "runtime/platform/null/null_backend.h"

namespace rt::native {
namespace {

constexpr BackendEntry kBackends[] = {
    {"null", [](const FormNeeds&) { return true; }, [] { return &null::Backend(); }, true},
};

}  // namespace

void StartProgram(int, char**) {}

std::span<const BackendEntry> PlatformBackends() { return kBackends; }

}  // namespace rt::native
