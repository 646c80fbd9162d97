// What GetPrivateProfileStringA hands back for a value found (or for the
// default text), as the program then sees it in UTF-8: quotes around it
// removed, cut to the buffer's characters, passed through the ANSI code
// page (932) and cut again to the buffer's bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt::ini {

// The default text without its trailing blanks, as the function takes it.
std::u16string DefaultValue(std::u16string_view text);

std::string AsReturned(std::u16string_view value, size_t size);

}  // namespace rt::ini
