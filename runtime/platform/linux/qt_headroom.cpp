#include "runtime/platform/linux/qt_headroom.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <exception>
#include <new>
#include <vector>

#include "runtime/platform/fatal_error.h"

namespace rt::linux_program {
namespace {

// Qt's start opens some 6 descriptors at once (its event loops' pipes, the
// display, plugins, fonts). Twice that must be free.
constexpr size_t kDescriptorsQtNeeds = 12;
// Qt's start maps some 80 MiB (its libraries, ICU's data, fonts, threads'
// stacks); below that it failed here by std::bad_alloc, the dynamic loader's
// abort or xcb marking its connection broken. Half as much again must be
// free.
constexpr size_t kAddressSpaceQtNeeds = size_t{128} << 20;

bool DescriptorsFree() {
  std::vector<int> taken;
  while (taken.size() < kDescriptorsQtNeeds) {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd < 0) break;
    taken.push_back(fd);
  }
  for (const int fd : taken) ::close(fd);
  return taken.size() == kDescriptorsQtNeeds;
}

// A mapping that reserves without using: it fails where the address space
// limit (ulimit -v) leaves too little.
bool AddressSpaceFree() {
  void* reserved = ::mmap(nullptr, kAddressSpaceQtNeeds, PROT_NONE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (reserved == MAP_FAILED) return false;
  ::munmap(reserved, kAddressSpaceQtNeeds);
  return true;
}

std::terminate_handler earlier_terminate = nullptr;

void OnTerminate() {
  try {
    if (const std::exception_ptr thrown = std::current_exception()) std::rethrow_exception(thrown);
  } catch (const std::bad_alloc&) {
    native::FailFatally("out of memory");
  } catch (...) {
  }
  earlier_terminate();
}

}  // namespace

void RequireQtHeadroom() {
  if (!DescriptorsFree())
    native::FailFatally("too few file descriptors free for Qt (12 needed; ulimit -n)");
  if (!AddressSpaceFree())
    native::FailFatally("too little address space free for Qt (128 MiB needed; ulimit -v)");
}

void EndOnOutOfMemoryInOneLine() {
  if (earlier_terminate == nullptr) earlier_terminate = std::set_terminate(OnTerminate);
}

}  // namespace rt::linux_program
