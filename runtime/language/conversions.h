// Text and number conversions of the forms runtime, with its run-time errors:
// 13 for a text that is not a number, 6 for a value out of range, 5 for an
// invalid argument. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/language/characters.h"

namespace rt {

int32_t CLng(const std::string& text);
double CDbl(const std::string& text);

// Rounding half to even, as every float-to-integer conversion does.
int16_t CIntRound(double value);
int32_t CLngRound(double value);

// Floor of a single, as a float (the runtime's Int).
float Int(float value);

std::string CStr(int64_t value);

std::string UCase(const std::string& text);
// The first n characters (not bytes) of a text.
std::string Left(const std::string& text, int n);

// r + 256 g + 65536 b, each component clamped to 0..255.
int32_t RGB(int32_t red, int32_t green, int32_t blue);

}  // namespace rt
