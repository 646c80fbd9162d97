#include "runtime/platform/linux/settings_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace rt::settings_file {
namespace {

// A new file is written beside the old one under this name (mkstemp fills
// in the six characters) before it is renamed over it.
constexpr char kScratchInfix[] = ".new-";
constexpr size_t kScratchRandomLength = 6;

bool IsScratchFileOf(const std::string& name, const std::string& file_name) {
  const std::string prefix = file_name + kScratchInfix;
  if (name.size() != prefix.size() + kScratchRandomLength || !name.starts_with(prefix))
    return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::string FolderOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

std::string NameOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

FileToRead::FileToRead(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {
  absent_ = fd_ < 0 && errno == ENOENT;
  struct stat info {};
  if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(fd_);
    fd_ = -1;
  }
}

FileToRead::~FileToRead() {
  if (fd_ >= 0) ::close(fd_);
}

// Read, not mapped: a file shortened in place while it is read (as an editor
// saves) then gives a short read, where a mapping would die of SIGBUS.
std::ptrdiff_t FileToRead::Read(char* buffer, size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

WholeFile ReadWhole(const std::string& path) {
  FileToRead file(path);
  if (!file.readable()) return {!file.absent(), std::nullopt};
  std::string bytes;
  char buffer[64 << 10];
  for (;;) {
    const std::ptrdiff_t got = file.Read(buffer, sizeof buffer);
    if (got < 0) return {true, std::nullopt};
    if (got == 0) return {true, std::move(bytes)};
    bytes.append(buffer, static_cast<size_t>(got));
  }
}

std::optional<std::string> WriteTarget(const std::string& path) {
  std::string target = path;
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
    target = resolved;
  }
  if (::stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return std::nullopt;
  return target;
}

FolderLock::FolderLock(const std::string& file)
    : fd_(::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd_);
      fd_ = -1;
    }
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

// While the folder lock is held no other writer is busy, so what earlier
// ones left can go.
void RemoveLeftScratchFiles(const std::string& file) {
  const std::string name = NameOf(file);
  DIR* listing = ::opendir(FolderOf(file).c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    if (IsScratchFileOf(entry->d_name, name)) ::unlinkat(::dirfd(listing), entry->d_name, 0);
  }
  ::closedir(listing);
}

bool Replace(const std::string& file, std::string_view bytes) {
  struct stat info {};
  const mode_t mode = ::stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : NewFileMode();
  std::string scratch = file + kScratchInfix + std::string(kScratchRandomLength, 'X');
  const int fd = ::mkostemp(scratch.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(scratch.c_str(), file.c_str()) != 0) {
    ::unlink(scratch.c_str());
    return false;
  }
  return true;
}

bool MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

}  // namespace rt::settings_file
