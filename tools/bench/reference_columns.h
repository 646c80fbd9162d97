// What the two references' columns share with the saver's: their size, the
// pace, the colour of each line of the image they are copied from, and the
// new length and speed a column takes each time it starts again from the top.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>

namespace reference {

constexpr int kColumnWidth = 19;  // 285 twips
constexpr int kLineHeight = 15;   // the saver sizes a column at 15 px a line, whatever its font
constexpr int kLeastLines = 3;
constexpr int kMostLines = 253;
// Each column's image is made once at the greatest length; a shorter column
// copies its lower part.
constexpr int kImageHeight = kMostLines * kLineHeight;
constexpr auto kInterval = std::chrono::milliseconds(10);

// The line's colour (0x00RRGGBB): green, from black at the top.
inline uint32_t LineColor(int line) {
  return static_cast<uint32_t>(line * 255 / (kMostLines - 1)) << 8;
}

// Any column with a height, a top and a speed in pixels.
template <typename Column>
void Restart(Column& column, std::mt19937& random) {
  column.height = std::uniform_int_distribution(kLeastLines, kMostLines)(random) * kLineHeight;
  column.top = -column.height;
  column.speed = std::uniform_int_distribution(1, 100)(random);
}

}  // namespace reference
