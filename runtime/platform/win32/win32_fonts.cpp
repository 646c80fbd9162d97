#include "runtime/platform/win32/win32_fonts.h"

#include <cmath>

#include "runtime/platform/native.h"
#include "runtime/platform/win32/win32_program.h"
#include "runtime/platform/win32/win32_resources.h"

namespace rt::win32 {

void LoadCarriedFonts() {
  const HRSRC resource = FindResourceW(Instance(), MAKEINTRESOURCEW(IDR_CARRIED_FONT),
                                       MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (resource == nullptr) return;
  const HGLOBAL loaded = LoadResource(Instance(), resource);
  DWORD fonts = 0;
  AddFontMemResourceEx(LockResource(loaded), SizeofResource(Instance(), resource), nullptr, &fonts);
}

HFONT CreateCarriedFont(float points, int weight) {
  const auto dpi = static_cast<float>(win32::ScreenDpi().y);
  const int height = -static_cast<int>(std::lround(points * dpi / 72));
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, kCarriedFontFamily);
}

}  // namespace rt::win32
