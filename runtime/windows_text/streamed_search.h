// A key's value read from a settings file's bytes as they come, in pieces,
// so that memory does not grow with the file: the byte-order mark decides the
// encoding, and lines are handed to the search one at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rt::ini {

// Fills the buffer with the file's next bytes: their count, 0 at the end,
// or -1 when the read fails.
using ReadBytes = std::function<std::ptrdiff_t(char* buffer, size_t size)>;

// A line longer than this is read as its first kLongestLine bytes; no file
// a person writes comes near it.
constexpr size_t kLongestLine = size_t{1} << 20;
constexpr size_t kReadPiece = size_t{64} << 10;

// What FindValue gives for the whole file's text; nothing as well when the
// read fails before the key is found.
std::optional<std::u16string> FindValueStreamed(const ReadBytes& read, std::u16string_view section,
                                                std::u16string_view key, size_t piece = kReadPiece);

}  // namespace rt::ini
