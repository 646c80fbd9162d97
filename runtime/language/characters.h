// Characters and their codes in the ANSI code page (CP932), on texts that
// are UTF-8.
#pragma once

#include <string>

namespace rt {

// The one-character text for a code of the ANSI code page; a code that is no
// character by itself there (a lead byte, unassigned) gives "".
std::string Chr(int code);
// The ANSI code of a text's first character, a double-byte one as a 16-bit
// Integer (negative from &H8000); error 5 for an empty text. A character the
// code page lacks gives the code of what Windows puts for it (often "?").
int Asc(const std::string& text);

}  // namespace rt
