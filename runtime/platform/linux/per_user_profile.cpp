#include "runtime/platform/linux/per_user_profile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace rt {
namespace {

std::string FolderOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? "." : file.substr(0, slash == 0 ? 1 : slash);
}

std::string NameOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

// A folder that is there but refuses this user's writes; a missing folder
// is no protected one, and its write fails as before.
bool FolderRefusesWrites(const std::string& file) {
  if (::access(FolderOf(file).c_str(), W_OK) == 0) return false;
  return errno == EACCES || errno == EPERM || errno == EROFS;
}

bool Exists(const std::string& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0;
}

// The base folder of the user's settings, as the XDG base directories say:
// a relative XDG_CONFIG_HOME is to be ignored.
std::string ConfigHome() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return config;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = ::getpwuid(::getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  return home != nullptr && home[0] == '/' ? std::string(home) + "/.config" : "";
}

bool MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

bool CopyBytes(int from, int to) {
  char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return got == 0;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(to, buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno != EINTR) return false;
      if (put > 0) done += put;
    }
  }
}

// Makes the copy from the file as it is (an absent file gives no copy: the
// write makes it). It is made under the folder lock that writers take, so it
// appears whole, never over a copy made meanwhile, and a copier killed
// half-way leaves a new file that the next writer removes.
bool MakeCopy(const std::string& path, const std::string& copy) {
  const int folder = ::open(FolderOf(copy).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return false;
  while (::flock(folder, LOCK_EX) != 0 && errno == EINTR) {
  }
  bool made = Exists(copy);
  const int from = made ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (from >= 0) {
    std::string scratch = copy + ".new-XXXXXX";
    const int to = ::mkostemp(scratch.data(), O_CLOEXEC);
    made = to >= 0 && CopyBytes(from, to) && ::fsync(to) == 0;
    if (to >= 0) made = ::close(to) == 0 && made;
    made = made && ::rename(scratch.c_str(), copy.c_str()) == 0;
    if (!made) ::unlink(scratch.c_str());
    ::close(from);
  } else if (!made) {
    made = errno == ENOENT;
  }
  ::close(folder);  // lets the lock go
  return made;
}

}  // namespace

std::string PerUserCopyOf(const std::string& path) {
  const std::string config = ConfigHome();
  if (config.empty()) return "";
  const std::string name = NameOf(path);
  const size_t dot = name.rfind('.');
  return config + "/" + name.substr(0, dot == 0 ? std::string::npos : dot) + "/" + name;
}

std::string ProfileToRead(const std::string& path) {
  if (!FolderRefusesWrites(path)) return path;
  const std::string copy = PerUserCopyOf(path);
  return !copy.empty() && Exists(copy) ? copy : path;
}

std::string ProfileToWrite(const std::string& path) {
  if (!FolderRefusesWrites(path)) return path;
  const std::string copy = PerUserCopyOf(path);
  if (copy.empty() || Exists(copy)) return copy.empty() ? path : copy;
  return MakeFolders(FolderOf(copy)) && MakeCopy(path, copy) ? copy : path;
}

}  // namespace rt
