// Fuzzing the settings reader and writer: any bytes as kelvora.ini (binary,
// NUL bytes, huge lines, no final line end, byte-order marks, Shift-JIS)
// must read without a crash or undefined behaviour, read in pieces of any
// size as the whole text reads, and a write of one key must leave every
// other line of the file as it was.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/platform/os_services.h"
#include "runtime/windows_text/file_encoding.h"
#include "runtime/windows_text/ini_text.h"
#include "runtime/windows_text/returned_value.h"
#include "runtime/windows_text/streamed_search.h"
#include "runtime/windows_text/wide_text.h"

namespace {

// A folder of its own for the file, removed when the fuzzer ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    if (::mkdtemp(folder_.data()) == nullptr) std::abort();
  }
  ~ScratchFolder() { std::filesystem::remove_all(folder_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string File(const std::string& name) const { return folder_ + "/" + name; }

 private:
  std::string folder_ = "/tmp/kelvora-fuzz.XXXXXX";
};

const std::string& SettingsPath() {
  static const ScratchFolder folder;
  static const std::string path = folder.File("kelvora.ini");
  return path;
}

void Store(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Load(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Lines without their ends: a last line without one gains one when the
// writer adds a line after it. In Shift-JIS an LF right after a lead byte
// belongs to that character and ends no line.
std::vector<std::string> Lines(const std::string& text, bool shift_jis) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (shift_jis && IsLeadByte(c) && i + 1 < text.size()) {
      lines.back() += text.substr(i, 2);
      ++i;
    } else if (c == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += static_cast<char>(c);
    }
  }
  if (lines.back().empty()) lines.pop_back();
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  return lines;
}

// The written file differs from the old one in at most one replaced line
// (the key's) and two added ones (a new section's header and the key),
// compared as text: a UTF-16 file is UTF-16 before and after.
void CheckOnlyTheKeyChanged(const std::string& before, const std::string& after) {
  const rt::ini::ProfileText old_text(before);
  const rt::ini::ProfileText new_text(after);
  if (old_text.encoding() != new_text.encoding()) {
    std::fprintf(stderr, "the write changed the file's encoding\n");
    std::abort();
  }
  const bool shift_jis = old_text.encoding() == rt::ini::FileEncoding::kAnsi;
  const std::vector<std::string> old_lines = Lines(std::string(old_text.text()), shift_jis);
  const std::vector<std::string> new_lines = Lines(std::string(new_text.text()), shift_jis);
  size_t prefix = 0;
  while (prefix < old_lines.size() && prefix < new_lines.size() &&
         old_lines[prefix] == new_lines[prefix])
    ++prefix;
  size_t suffix = 0;
  while (suffix < old_lines.size() - prefix && suffix < new_lines.size() - prefix &&
         old_lines[old_lines.size() - 1 - suffix] == new_lines[new_lines.size() - 1 - suffix])
    ++suffix;
  const size_t removed = old_lines.size() - prefix - suffix;
  const size_t added = new_lines.size() - prefix - suffix;
  if (removed > 1 || added > 2 || added < removed) {
    std::fprintf(stderr, "lines changed beyond the key: %zu removed, %zu added\n", removed, added);
    std::abort();
  }
}

// The file read in pieces of every size up to 16 bytes, through the file
// and through memory, finds what the whole text gives.
void CheckStreamedReadAgrees(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& read) {
  const rt::ini::ProfileText whole(file);
  const std::u16string wide_section = rt::ini::Utf8ToUtf16(section);
  const std::u16string wide_key = rt::ini::Utf8ToUtf16(key);
  const std::optional<std::u16string> expected =
      rt::ini::FindValue(whole.text(), whole.charset(), wide_section, wide_key);
  if (read != rt::ini::AsReturned(expected ? *expected : u"-", 256)) {
    std::fprintf(stderr, "the file's read differs from the whole text's\n");
    std::abort();
  }
  for (size_t piece = 1; piece <= 16; ++piece) {
    size_t at = 0;
    const auto in_pieces = [&](char* buffer, size_t size) {
      const size_t count = std::min({piece, size, file.size() - at});
      std::copy_n(file.data() + at, count, buffer);
      at += count;
      return static_cast<std::ptrdiff_t>(count);
    };
    if (rt::ini::FindValueStreamed(in_pieces, wide_section, wide_key, piece) != expected) {
      std::fprintf(stderr, "a read in pieces of %zu differs from the whole text's\n", piece);
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string section =
      provider.ConsumeBool() ? "main" : provider.ConsumeRandomLengthString(8);
  const std::string key = provider.ConsumeRandomLengthString(8);
  const std::string value = provider.ConsumeRandomLengthString(8);
  const std::string file = provider.ConsumeRemainingBytesAsString();
  const std::string& path = SettingsPath();
  Store(path, file);

  for (const char* name : {"COLOR1", "COLOR2", "COLOR3", "SP"})
    rt::GetPrivateProfileString("main", name, "", 256, path);
  const std::string read = rt::GetPrivateProfileString(section, key, "-", 256, path);
  // The value comes back in UTF-8; in the ANSI code page it fits the buffer.
  if (rt::ini::Utf16ToCp932(rt::ini::Utf8ToUtf16(read)).size() > 255) std::abort();
  CheckStreamedReadAgrees(file, section, key, read);

  if (rt::WritePrivateProfileString(section, key, value, path)) {
    CheckOnlyTheKeyChanged(file, Load(path));
  } else if (Load(path) != file) {
    std::fprintf(stderr, "a refused write changed the file\n");
    std::abort();
  }
  return 0;
}
