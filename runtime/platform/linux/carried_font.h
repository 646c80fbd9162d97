// The glyphs the program draws, cut at build time from IPAGothic and carried
// inside the program, as the Windows screen saver carries them: both Linux
// backends draw with them, with no font installed and no font lookup.
#pragma once

#include <string_view>

namespace rt::linux_program {

inline constexpr char kCarriedFontFamily[] = "Kelvora Glyphs";

// The font file's bytes.
std::string_view CarriedFont();

}  // namespace rt::linux_program
