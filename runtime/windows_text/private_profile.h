// The platform's private-profile functions, which the settings file goes
// through: on Windows the system's own, elsewhere our INI reader and writer.
#pragma once

#include <cstddef>
#include <string>

namespace rt {

// The value of key in section of the INI file at path, or default_text when
// the file, section or key is absent; at most size - 1 bytes of it.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_text, size_t size,
                                    const std::string& path);

// Stores the value under key, creating the file or section as needed. False
// when the file could not be written; the file on disk is then unchanged.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path);

}  // namespace rt
