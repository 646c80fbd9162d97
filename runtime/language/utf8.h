// The one UTF-8 codec of the program: the runtime's character functions,
// Windows' text rules and the backends' text all read and write through it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt {

// One sequence as read from its lead byte: what a reader makes of a
// malformed one is its own rule.
struct Utf8Sequence {
  char32_t code = 0;   // the bits read, whole only when complete
  size_t length = 0;   // what the lead byte announces; 0 for a byte that can't lead
  size_t matched = 0;  // the lead and the continuation bytes that follow it, up to length
  bool complete() const { return length != 0 && matched == length; }
};

Utf8Sequence ReadUtf8(std::string_view text, size_t at);
void AppendUtf8(std::string& out, char32_t code_point);

std::string EncodeUtf8(char32_t code_point);
// The first code point of a non-empty text; a malformed byte reads as itself.
char32_t DecodeFirstUtf8(const std::string& text);
// How many bytes the first n characters take.
size_t Utf8PrefixBytes(const std::string& text, size_t n);

}  // namespace rt
