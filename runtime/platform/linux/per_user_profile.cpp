#include "runtime/platform/linux/per_user_profile.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "runtime/platform/linux/settings_file.h"

namespace rt {
namespace {

// A folder that is there but refuses this user's writes; a missing folder
// is no protected one, and its write fails as before.
bool FolderRefusesWrites(const std::string& file) {
  if (::access(settings_file::FolderOf(file).c_str(), W_OK) == 0) return false;
  return errno == EACCES || errno == EPERM || errno == EROFS;
}

bool Exists(const std::string& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0;
}

// <name>/<file> for <name>.ini: the settings' own folder under a base one.
std::string InOwnFolder(const std::string& path) {
  const std::string name = settings_file::NameOf(path);
  const size_t dot = name.rfind('.');
  return name.substr(0, dot == 0 ? std::string::npos : dot) + "/" + name;
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

}  // namespace

SettingsRule BuiltSettingsRule() {
#ifdef KELVORA_PACKAGED
  return SettingsRule::kPerUser;
#else
  return SettingsRule::kBesideTheProgram;
#endif
}

std::string PerUserCopyOf(const std::string& path) {
  const std::string config = ConfigHome();
  return config.empty() ? "" : config + "/" + InOwnFolder(path);
}

// The base directories' list, most important first; relative entries are
// to be ignored, and an unset or empty list means /etc/xdg.
std::string SystemDefaultsOf(const std::string& path) {
  const char* dirs = std::getenv("XDG_CONFIG_DIRS");
  std::string_view list = dirs != nullptr && dirs[0] != '\0' ? dirs : "/etc/xdg";
  while (!list.empty()) {
    const std::string folder(list.substr(0, list.find(':')));
    list.remove_prefix(std::min(list.size(), folder.size() + 1));
    if (folder.empty() || folder[0] != '/') continue;
    const std::string file = folder + "/" + InOwnFolder(path);
    if (Exists(file)) return file;
  }
  return "";
}

std::string ProfileToRead(const std::string& path, SettingsRule rule) {
  if (rule == SettingsRule::kBesideTheProgram && !FolderRefusesWrites(path)) return path;
  const std::string copy = PerUserCopyOf(path);
  if (!copy.empty() && Exists(copy)) return copy;
  return rule == SettingsRule::kPerUser ? SystemDefaultsOf(path) : path;
}

WritePlace PlaceToWrite(const std::string& path, SettingsRule rule) {
  if (rule == SettingsRule::kPerUser) return {PerUserCopyOf(path), SystemDefaultsOf(path), false};
  if (!FolderRefusesWrites(path)) return {path, "", false};
  const std::string copy = PerUserCopyOf(path);
  if (copy.empty()) return {path, "", true};
  return {copy, path, false};
}

}  // namespace rt
