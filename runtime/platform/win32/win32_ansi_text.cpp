// Text in the ANSI code page (932) by Windows itself.
#include <windows.h>

#include "runtime/platform/os_services.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt {

std::string ToAnsiCodePage(const std::string& text) {
  const std::wstring wide = win32::Widen(text);
  constexpr UINT kJapanese = 932;
  const int length = WideCharToMultiByte(kJapanese, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(kJapanese, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                        length, nullptr, nullptr);
  }
  return bytes;
}

}  // namespace rt
