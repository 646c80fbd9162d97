// Text to number through OLE Automation itself, under the program's
// Japanese locale, as the runtime's conversions are on Windows.
#include <windows.h>
// After windows.h, whose types it needs.
#include <oleauto.h>

#include "runtime/language/runtime_error.h"
#include "runtime/platform/os_services.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt {
namespace {

constexpr LCID kJapanese = 1041;

void RaiseFor(HRESULT result) {
  if (result == DISP_E_OVERFLOW) Raise(kOverflow);
  if (FAILED(result)) Raise(kTypeMismatch);
}

}  // namespace

int32_t LongFromText(const std::string& text) {
  std::wstring wide = win32::Widen(text);
  LONG value = 0;
  RaiseFor(VarI4FromStr(wide.data(), kJapanese, 0, &value));
  return value;
}

double DoubleFromText(const std::string& text) {
  std::wstring wide = win32::Widen(text);
  DOUBLE value = 0;
  RaiseFor(VarR8FromStr(wide.data(), kJapanese, 0, &value));
  return value;
}

}  // namespace rt
