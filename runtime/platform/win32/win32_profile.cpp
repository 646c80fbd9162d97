// The settings file through the system's own private-profile functions.
#include <windows.h>
// The runtime's functions share these names; the system's A versions are
// called by their own names below.
#undef GetPrivateProfileString
#undef WritePrivateProfileString

#include "runtime/platform/os_services.h"
#include "runtime/platform/win32/win32_per_user_profile.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt {

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_text, size_t size,
                                    const std::string& path) {
  std::string buffer(size, '\0');
  const DWORD length = GetPrivateProfileStringA(
      win32::ToAnsi(section).c_str(), win32::ToAnsi(key).c_str(),
      win32::ToAnsi(default_text).c_str(), buffer.data(), static_cast<DWORD>(size),
      win32::ToAnsi(win32::ProfileToRead(path)).c_str());
  buffer.resize(length);
  return win32::FromAnsi(buffer);
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
  return WritePrivateProfileStringA(win32::ToAnsi(section).c_str(), win32::ToAnsi(key).c_str(),
                                    win32::ToAnsi(value).c_str(),
                                    win32::ToAnsi(win32::ProfileToWrite(path)).c_str()) != FALSE;
}

WrittenProfile WrittenProfileFile(const std::string& path) { return win32::ProfileWritten(path); }

}  // namespace rt
