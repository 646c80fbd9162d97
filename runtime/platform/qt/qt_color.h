// Runtime colours (r + 256 g + 65536 b, or a system colour) as Qt colours.
#pragma once

#include <QColor>
#include <cstdint>

namespace rt::qt {

QColor ToQColor(int32_t color);

}  // namespace rt::qt
