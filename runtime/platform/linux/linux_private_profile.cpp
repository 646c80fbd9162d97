// The private-profile functions over POSIX files (settings_file.h), in the
// place this build keeps its settings (per_user_profile.h). A read streams
// the file through a bounded buffer; a write reads the whole file, changes
// the key's line and replaces the file at once.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "runtime/platform/linux/per_user_profile.h"
#include "runtime/platform/linux/settings_file.h"
#include "runtime/platform/os_services.h"
#include "runtime/windows_text/file_encoding.h"
#include "runtime/windows_text/ini_text.h"
#include "runtime/windows_text/returned_value.h"
#include "runtime/windows_text/streamed_search.h"
#include "runtime/windows_text/wide_text.h"

namespace rt {
namespace {

// The key's value in the file as it is on disk: a file with a UTF-16
// byte-order mark is read as text, one without as code page 932.
std::optional<std::u16string> FindInFile(const std::string& path, const std::string& section,
                                         const std::string& key) {
  settings_file::FileToRead file(path);
  if (!file.readable()) return std::nullopt;
  return ini::FindValueStreamed(
      [&file](char* buffer, size_t size) { return file.Read(buffer, size); },
      ini::Utf8ToUtf16(section), ini::Utf8ToUtf16(key));
}

// As Windows keeps a file with the read-only attribute: no write bit at all
// holds for every user, the administrator too; a file the user may not write
// holds for that user. Either is kept, though its folder would let a new
// file be renamed over it.
bool IsReadOnly(const std::string& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return false;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT;
}

bool IsSafeText(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

// The file's bytes as they are; where it is absent, the seed's it is made
// from (a seed that cannot be read has nothing to lose: none). Nothing when
// the file is there but cannot be read.
std::optional<std::string> ReadForWrite(const std::string& target, const std::string& seed) {
  settings_file::WholeFile file = settings_file::ReadWhole(target);
  if (file.exists) return std::move(file.bytes);
  settings_file::WholeFile from_seed = settings_file::ReadWhole(seed);
  return from_seed.bytes ? std::move(from_seed.bytes) : std::string();
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_text, size_t size,
                                    const std::string& path) {
  const std::optional<std::u16string> value =
      FindInFile(ProfileToRead(path, BuiltSettingsRule()), section, key);
  return ini::AsReturned(value ? *value : ini::DefaultValue(ini::Utf8ToUtf16(default_text)), size);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
  // A line break in a name or value would spill into lines of its own.
  if (!IsSafeText(section) || !IsSafeText(key) || !IsSafeText(value)) return false;
  const WritePlace place = PlaceToWrite(path, BuiltSettingsRule());
  if (place.file.empty()) return false;
  // The user's copy gets its folders; a missing program folder does not.
  if (place.file != path && !settings_file::MakeFolders(settings_file::FolderOf(place.file)))
    return false;
  const std::optional<std::string> target = settings_file::WriteTarget(place.file);
  if (!target) return false;
  const settings_file::FolderLock lock(*target);
  if (!lock.held()) return false;
  settings_file::RemoveLeftScratchFiles(*target);
  if (IsReadOnly(*target)) return false;
  const std::optional<std::string> bytes = ReadForWrite(*target, place.seed);
  if (!bytes) return false;  // never replace what we could not read
  const ini::ProfileText text(*bytes);
  const std::string encoded =
      text.charset() == ini::Charset::kUtf8 ? value : ini::Utf16ToCp932(ini::Utf8ToUtf16(value));
  const std::string changed =
      ini::WithValue(std::string(text.text()), text.charset(), ini::Utf8ToUtf16(section),
                     ini::Utf8ToUtf16(key), encoded);
  return settings_file::Replace(*target, text.Save(changed));
}

WrittenProfile WrittenProfileFile(const std::string& path) {
  const WritePlace place = PlaceToWrite(path, BuiltSettingsRule());
  return {place.file, place.for_all_users};
}

}  // namespace rt
