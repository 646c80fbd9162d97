// The Japanese glyphs the program carries (a subset of a freely licensed
// font), so that its texts show on every language edition of Windows.
#pragma once

#include <windows.h>

namespace rt::win32 {

constexpr wchar_t kCarriedFontFamily[] = L"Kelvora Glyphs";

void LoadCarriedFonts();
// A font of the carried family; points may be fractional.
HFONT CreateCarriedFont(float points, int weight);

}  // namespace rt::win32
