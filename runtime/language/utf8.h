// Minimal UTF-8 helpers for the runtime's character-based text functions.
#pragma once

#include <cstddef>
#include <string>

namespace rt {

std::string EncodeUtf8(char32_t code_point);
// The first code point of a non-empty text; a malformed byte reads as itself.
char32_t DecodeFirstUtf8(const std::string& text);
// How many bytes the first n characters take.
size_t Utf8PrefixBytes(const std::string& text, size_t n);

}  // namespace rt
