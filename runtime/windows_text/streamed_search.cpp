#include "runtime/windows_text/streamed_search.h"

#include <cstring>
#include <vector>

#include "runtime/windows_text/file_encoding.h"
#include "runtime/windows_text/ini_text.h"
#include "runtime/windows_text/wide_text.h"

namespace rt::ini {
namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Cuts text that comes in pieces into lines as the whole text's scan does: a
// line ends at a CR or an LF, but in code page 932 not right after a lead
// byte, which takes the byte after it. A line that spans pieces is carried
// over, up to kLongestLine bytes.
class StreamedLines {
 public:
  StreamedLines(Charset charset, KeySearch& search) : charset_(charset), search_(search) {}

  // False once the search is over.
  bool Feed(std::string_view piece) {
    if (!search_.in_section() && !carried_bracket_ &&
        std::memchr(piece.data(), '[', piece.size()) == nullptr) {
      SkipLinesEndingIn(piece);
      return true;
    }
    size_t begin = 0;
    size_t from = 0;
    size_t lf = std::string_view::npos;  // the next LF at or after from, once looked for
    while (from < piece.size()) {
      if (lf == std::string_view::npos || lf < from) {
        const void* found = std::memchr(piece.data() + from, '\n', piece.size() - from);
        lf = found == nullptr ? piece.size() : static_cast<const char*>(found) - piece.data();
      }
      const void* cr = std::memchr(piece.data() + from, '\r', lf - from);
      const size_t end = cr == nullptr ? lf : static_cast<const char*>(cr) - piece.data();
      if (end == piece.size()) break;
      if (LeadRunBefore(piece, begin, end) % 2 == 1) {
        from = end + 1;  // a double-byte character's second byte
        continue;
      }
      if (!EndLine(piece.substr(begin, end - begin))) return false;
      begin = from = end + 1;
    }
    const std::string_view rest = piece.substr(begin);
    lead_run_ = LeadRunBefore(piece, begin, piece.size());
    Carry(rest);
    return true;
  }

  // Before the section, lines without a '[' are nothing to the search: a
  // piece without one needs only its last line end found, which a single
  // search for '[' over most of a large file then spares.
  void SkipLinesEndingIn(std::string_view piece) {
    for (size_t end = piece.size(); end-- > 0;) {
      if ((piece[end] == '\n' || piece[end] == '\r') && LeadRunBefore(piece, 0, end) % 2 == 0) {
        carried_.clear();
        lead_run_ = 0;  // the rest starts a line
        lead_run_ = LeadRunBefore(piece, end + 1, piece.size());
        Carry(piece.substr(end + 1));
        return;
      }
    }
    lead_run_ = LeadRunBefore(piece, 0, piece.size());
    Carry(piece);
  }

  // The last line, when the text does not end with a line end.
  void Finish() {
    if (!carried_.empty()) search_.Take(carried_);
  }

 private:
  // The run of lead-range bytes that ends at end, within this line.
  size_t LeadRunBefore(std::string_view piece, size_t begin, size_t end) const {
    if (charset_ != Charset::kCp932) return 0;
    size_t run = 0;
    while (end - run > begin && IsLeadByte(static_cast<unsigned char>(piece[end - run - 1]))) ++run;
    return end - run == begin ? run + lead_run_ : run;
  }

  void Carry(std::string_view bytes) {
    const std::string_view kept =
        bytes.substr(0, kLongestLine - std::min(kLongestLine, carried_.size()));
    carried_bracket_ = carried_bracket_ || kept.find('[') != std::string_view::npos;
    carried_.append(kept);
  }

  bool EndLine(std::string_view bytes) {
    lead_run_ = 0;
    carried_bracket_ = false;
    if (carried_.empty()) return Goes(search_.Take(bytes.substr(0, kLongestLine)));
    Carry(bytes);
    const bool goes = Goes(search_.Take(carried_));
    carried_.clear();
    return goes;
  }

  static bool Goes(KeySearch::Seen seen) {
    return seen != KeySearch::Seen::kKey && seen != KeySearch::Seen::kEnd;
  }

  Charset charset_;
  KeySearch& search_;
  std::string carried_;  // the start of a line that began in an earlier piece
  bool carried_bracket_ = false;
  size_t lead_run_ = 0;  // the run of lead-range bytes at the end of carried_
};

// UTF-16 pieces as UTF-8 text: an odd byte, or a high surrogate whose pair
// may follow, waits for the next piece.
class Utf16Pieces {
 public:
  explicit Utf16Pieces(bool big_endian) : big_endian_(big_endian) {}

  std::string Next(std::string_view bytes) {
    pending_.append(bytes);
    std::u16string units = FromUtf16Bytes(pending_, big_endian_);
    pending_.erase(0, 2 * units.size());
    if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF) {
      const char high[2] = {static_cast<char>(big_endian_ ? units.back() >> 8 : units.back()),
                            static_cast<char>(big_endian_ ? units.back() : units.back() >> 8)};
      pending_.insert(0, high, 2);
      units.pop_back();
    }
    return Utf16ToUtf8(units);
  }

  // What waited: a lone high surrogate (an odd byte is never read).
  std::string Last() const {
    return Utf16ToUtf8(
        FromUtf16Bytes(pending_.substr(0, pending_.size() & ~size_t{1}), big_endian_));
  }

 private:
  bool big_endian_;
  std::string pending_;
};

}  // namespace

std::optional<std::u16string> FindValueStreamed(const ReadBytes& read, std::u16string_view section,
                                                std::u16string_view key, size_t piece) {
  std::vector<char> buffer(std::max(piece, kUtf8Mark.size()));
  // The first bytes, enough to tell the byte-order mark.
  size_t have = 0;
  while (have < kUtf8Mark.size()) {
    const std::ptrdiff_t got = read(buffer.data() + have, buffer.size() - have);
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    have += static_cast<size_t>(got);
  }
  std::string_view bytes(buffer.data(), have);
  Charset charset = Charset::kCp932;
  std::optional<Utf16Pieces> utf16;
  if (bytes.starts_with(kUtf8Mark)) {
    charset = Charset::kUtf8;
    bytes.remove_prefix(kUtf8Mark.size());
  } else if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
    charset = Charset::kUtf8;
    utf16.emplace(bytes.starts_with(kUtf16BeMark));
    bytes.remove_prefix(kUtf16LeMark.size());
  }
  KeySearch search(charset, section, key);
  StreamedLines lines(charset, search);
  const auto feed = [&](std::string_view piece_bytes) {
    return utf16 ? lines.Feed(utf16->Next(piece_bytes)) : lines.Feed(piece_bytes);
  };
  while (feed(bytes)) {
    const std::ptrdiff_t got = read(buffer.data(), buffer.size());
    if (got < 0) return std::nullopt;
    if (got == 0) {
      if (!utf16 || lines.Feed(utf16->Last())) lines.Finish();
      break;
    }
    bytes = std::string_view(buffer.data(), static_cast<size_t>(got));
  }
  return search.value();
}

}  // namespace rt::ini
