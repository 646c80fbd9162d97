// How much a focus mark shows: the pixels of a control's place that differ
// between the control without and with the focus by a contrast of 3:1 or
// more (relative luminance, as WCAG measures contrast).
#pragma once

#include <QImage>
#include <algorithm>
#include <cmath>

inline double Luminance(QRgb rgb) {
  const auto channel = [](int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

inline double Contrast(QRgb a, QRgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Both pictures of one place, of one size.
inline int MarkPixels(const QImage& unfocused, const QImage& focused) {
  int marked = 0;
  for (int y = 0; y < focused.height(); ++y) {
    for (int x = 0; x < focused.width(); ++x) {
      marked += Contrast(unfocused.pixel(x, y), focused.pixel(x, y)) >= 3.0;
    }
  }
  return marked;
}
