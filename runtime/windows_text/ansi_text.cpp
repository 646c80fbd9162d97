// Text in the ANSI code page by Windows' own table and best fit.
#include "runtime/platform/os_services.h"
#include "runtime/windows_text/wide_text.h"

namespace rt {

std::string ToAnsiCodePage(const std::string& text) {
  return ini::Utf16ToCp932(ini::Utf8ToUtf16(text));
}

}  // namespace rt
