// UTF-8 (the core's texts) to and from UTF-16 (the system's).
#pragma once

#include <string>

namespace rt::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
// The system's ANSI code page, for the A functions of the profile API.
std::string ToAnsi(const std::string& utf8);
std::string FromAnsi(const std::string& ansi);

}  // namespace rt::win32
