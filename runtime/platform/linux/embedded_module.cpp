#include "runtime/platform/linux/embedded_module.h"

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "runtime/platform/fatal_error.h"

namespace rt::linux_program {
namespace {

[[noreturn]] void CannotLoad(const EmbeddedModule& module, const std::string& why) {
  native::FailFatally("cannot load " + std::string(module.name) + ": " + why);
}

// The module goes to an anonymous in-memory file that the loader opens.
void* OpenModule(const EmbeddedModule& module) {
  const int fd = ::memfd_create(module.file_name, MFD_CLOEXEC);
  if (fd < 0) CannotLoad(module, "memfd_create failed");
  const char* at = module.start;
  while (at < module.end) {
    const ssize_t put = ::write(fd, at, static_cast<size_t>(module.end - at));
    if (put <= 0) CannotLoad(module, "writing it failed");
    at += put;
  }
  void* handle = ::dlopen(("/proc/self/fd/" + std::to_string(fd)).c_str(), RTLD_NOW | RTLD_LOCAL);
  ::close(fd);
  if (handle == nullptr) CannotLoad(module, ::dlerror());
  return handle;
}

}  // namespace

void* LoadEmbeddedModule(const EmbeddedModule& module) {
  void* entry = ::dlsym(OpenModule(module), module.entry);
  if (entry == nullptr) CannotLoad(module, ::dlerror());
  return entry;
}

}  // namespace rt::linux_program
