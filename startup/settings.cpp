// The settings file: section "main" of kelvora.ini in the program's folder.
#include <string>

#include "runtime/forms/program.h"
#include "runtime/platform/os_services.h"
#include "startup/module1.h"

namespace {

constexpr char kSection[] = "main";
// What the profile function answers for a missing key; read back, it means
// the key is missing (the same word in another case is a value).
constexpr char kMissingMarker[] = "ERRORFLAG";
constexpr size_t kBufferSize = 256;

}  // namespace

std::array<std::string, 3> GColor;
std::string GSpeed;

std::string SettingsPath() { return rt::App::Path() + rt::App::PathSeparator() + "kelvora.ini"; }

std::optional<std::string> ReadSetting(const std::string& key) {
  std::string buffer =
      rt::GetPrivateProfileString(kSection, key, kMissingMarker, kBufferSize, SettingsPath());
  buffer = buffer.substr(0, buffer.find('\0'));
  if (buffer == kMissingMarker) return std::nullopt;
  return buffer;
}

bool WriteSetting(const std::string& key, const std::string& value) {
  return rt::WritePrivateProfileString(kSection, key, value, SettingsPath());
}
