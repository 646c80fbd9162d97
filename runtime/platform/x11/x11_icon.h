// A window's icon as X wants it in _NET_WM_ICON: width, height, then the
// pixels as ARGB cardinals, rows from the top.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace rt::x11 {

// The largest image of a Windows icon file (1, 4, 8, 24 or 32 bits a pixel,
// with its transparency mask); nothing when the file is not one of those.
std::vector<uint32_t> IconCardinals(std::string_view icon_file);

}  // namespace rt::x11
