// The conversions a settings file goes through on Windows: its bytes to
// UTF-16 as the system reads them (the ANSI code page 932, or UTF-8), and
// UTF-16 back to code page 932 for the A functions. Windows' rules for bytes
// that are not valid: an undefined double-byte pair reads as U+30FB, an
// invalid UTF-8 sequence as U+FFFD, and a character code page 932 lacks is
// written as '?'.
#pragma once

#include <string>
#include <string_view>

namespace rt::ini {

std::u16string Cp932ToUtf16(std::string_view bytes);
std::string Utf16ToCp932(std::u16string_view text);

std::u16string Utf8ToUtf16(std::string_view bytes);
// A lone surrogate becomes three bytes of its own (as WTF-8 does), so that
// UTF-16 survives the way there and back unchanged.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace rt::ini
