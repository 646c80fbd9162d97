#include "runtime/platform/linux/qt_module_loader.h"

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/platform/linux/displays.h"
#include "runtime/platform/linux/embedded_file.h"
#include "runtime/platform/linux/qt_headroom.h"

// The module's file, stripped of its debugging data, in a section of its own.
KELVORA_EMBED_FILE(kelvora_qt_module, KELVORA_QT_MODULE_FILE);

namespace rt::linux_program {
namespace {

[[noreturn]] void CannotLoad(const std::string& why) {
  std::fprintf(stderr, "kelvora: cannot load the Qt module: %s\n", why.c_str());
  std::_Exit(1);
}

// The module goes to an anonymous in-memory file that the loader opens.
void* OpenModule() {
  const int fd = ::memfd_create("kelvora-qt.so", MFD_CLOEXEC);
  if (fd < 0) CannotLoad("memfd_create failed");
  const char* at = kelvora_qt_module_start;
  while (at < kelvora_qt_module_end) {
    const ssize_t put = ::write(fd, at, static_cast<size_t>(kelvora_qt_module_end - at));
    if (put <= 0) CannotLoad("writing it failed");
    at += put;
  }
  void* handle = ::dlopen(("/proc/self/fd/" + std::to_string(fd)).c_str(), RTLD_NOW | RTLD_LOCAL);
  ::close(fd);
  if (handle == nullptr) CannotLoad(::dlerror());
  return handle;
}

}  // namespace

native::Backend& QtModuleBackend(int argc, char** argv) {
  static native::Backend* backend = [&] {
    SteerQtToTheDisplayThatAnswers();
    RequireQtHeadroom();
    EndOnOutOfMemoryInOneLine();
    const auto entry = reinterpret_cast<qt::ModuleEntry>(::dlsym(OpenModule(), qt::kModuleEntry));
    if (entry == nullptr) CannotLoad(::dlerror());
    return entry(argc, argv);
  }();
  return *backend;
}

}  // namespace rt::linux_program
