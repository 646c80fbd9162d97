// Text to number as the runtime converts it: OLE Automation's parsing
// (VarI4FromStr, VarR8FromStr) under the program's Japanese locale (1041).
// Blanks (full-width ones too) around the number; a sign before or after
// it, or parentheses for a negative; thousands separators anywhere after the
// first digit; a decimal point; an exponent; the yen sign; "&H" and "&O".
// Run-time error 13 for a text that is not a number, 6 for one that does
// not fit. On Windows the system's own functions answer.
#pragma once

#include <cstdint>
#include <string>

namespace rt {

// Rounded half to even; a hexadecimal or octal text gives its 32 bits.
int32_t LongFromText(const std::string& text);
double DoubleFromText(const std::string& text);

}  // namespace rt
