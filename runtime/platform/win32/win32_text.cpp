#include "runtime/platform/win32/win32_text.h"

#include <windows.h>

namespace rt::win32 {
namespace {

std::wstring ToWide(const std::string& text, UINT code_page) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::string FromWide(const std::wstring& text, UINT code_page) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring Widen(const std::string& utf8) { return ToWide(utf8, CP_UTF8); }

std::string Narrow(const std::wstring& utf16) { return FromWide(utf16, CP_UTF8); }

std::string ToAnsi(const std::string& utf8) { return FromWide(Widen(utf8), CP_ACP); }

std::string FromAnsi(const std::string& ansi) { return Narrow(ToWide(ansi, CP_ACP)); }

}  // namespace rt::win32
