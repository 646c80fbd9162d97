// The pictures of assets/ that the X backend needs, built into the program.
#pragma once

#include <string>
#include <string_view>

namespace rt::x11 {

// The file's bytes; empty for a name the build does not carry.
std::string_view AssetBytes(const std::string& name);

}  // namespace rt::x11
