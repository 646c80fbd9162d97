// How Windows tells a settings file's encoding: a UTF-8 byte-order mark, a
// UTF-16 one (little- or big-endian), or none (the ANSI code page). A UTF-16
// file is read and changed as UTF-8 and saved back as UTF-16, mark and all.
#pragma once

#include <string>
#include <string_view>

#include "runtime/windows_text/ini_text.h"

namespace rt::ini {

enum class FileEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// UTF-16 bytes as code units; an odd last byte is left out.
std::u16string FromUtf16Bytes(std::string_view bytes, bool big_endian);

class ProfileText {
 public:
  // The file's bytes stay where they are unless they must be converted.
  explicit ProfileText(std::string_view file);

  FileEncoding encoding() const { return encoding_; }
  Charset charset() const {
    return encoding_ == FileEncoding::kAnsi ? Charset::kCp932 : Charset::kUtf8;
  }
  // The text after the mark, in charset().
  std::string_view text() const { return converted_ ? std::string_view(owned_) : raw_; }
  // A changed text (in charset()) as the file's bytes, in its encoding.
  std::string Save(const std::string& text) const;

 private:
  FileEncoding encoding_ = FileEncoding::kAnsi;
  bool converted_ = false;
  std::string_view raw_;
  std::string owned_;
  std::string odd_byte_;  // a UTF-16 file of odd length keeps its last byte
};

}  // namespace rt::ini
