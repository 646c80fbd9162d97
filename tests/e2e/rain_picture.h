// Reading the rain off a screenshot: which colour it falls in, and whether
// each column brightens from its top to its bottom.
#pragma once

#include <QImage>
#include <functional>

class VirtualDisplay;

enum class Channel { kRed, kGreen, kBlue };

// A column's width on a 96-dpi screen: 285 twips.
inline constexpr int kColumnPixels = 19;

struct RainPicture {
  int lit_pixels[3] = {0, 0, 0};  // pixels where that channel clearly leads
  int columns_seen = 0;           // strips with a long enough lit run
  int columns_brightening = 0;    // of those, brightest in their lower half
};

// Columns are strips of the given width from the left edge.
RainPicture ReadRain(const QImage& shot, int strip_width);

// Reads the screen until the picture is what the test waits for, or the
// bound for a hung program has passed; gives the last reading. Falling
// columns take a while to come into view.
RainPicture WaitForRain(const VirtualDisplay& display,
                        const std::function<bool(const RainPicture&)>& enough);
// Until more than the given number of pixels are lit in the channel.
RainPicture WaitForRain(const VirtualDisplay& display, Channel channel, int more_than);

// The lit run of one strip: its first and last rows with ink.
struct LitRun {
  int top = -1;
  int bottom = -1;
  int length() const { return top < 0 ? 0 : bottom - top + 1; }
};
LitRun LitRunOfStrip(const QImage& shot, int left, int width);

bool AllBlack(const QImage& shot);
