// Asks the system's own functions, so that tests can hold our Linux code
// against them (under Wine). Many questions go in one run: Wine starts slowly.
// Usage: profile_probe FILE SECTION KEY          prints the value read
//        profile_probe FILE SECTION KEY VALUE    writes it, prints 1 or 0
//        profile_probe --read LIST     each line of LIST: FILE TAB SECTION TAB KEY;
//                                      prints per line the value read, as UTF-8 in hex
//        profile_probe --numbers LIST  each line of LIST: a text as UTF-8 in hex; prints
//                                      per line VarI4FromStr and VarR8FromStr under
//                                      locale 1041: the value, or E and the error
//        profile_probe --ansi LIST     each line of LIST: a text as UTF-8 in hex; prints
//                                      per line its bytes in code page 932, in hex
#include <windows.h>
// After windows.h, whose types it needs.
#include <oleauto.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "hex_text.h"
#include "runtime/platform/win32/win32_text.h"

namespace {

using probe::Hex;
using probe::Unhex;

constexpr LCID kJapanese = 1041;

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == separator) {
      fields.emplace_back();
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

// The value as the program sees it: read through the A function, then
// from the ANSI code page to UTF-8.
int ReadList(const char* list) {
  std::ifstream in(list, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> fields = Split(line, '\t');
    if (fields.size() != 3) return 2;
    std::string buffer(256, '\0');
    const DWORD length = GetPrivateProfileStringA(fields[1].c_str(), fields[2].c_str(), "ERRORFLAG",
                                                  buffer.data(), 256, fields[0].c_str());
    buffer.resize(length);
    buffer.resize(buffer.find('\0') == std::string::npos
                      ? length
                      : buffer.find('\0'));  // as the program cuts it
    std::printf("%s\n", Hex(rt::win32::FromAnsi(buffer)).c_str());
  }
  return 0;
}

std::string Outcome(HRESULT result, const std::string& value) {
  if (result == DISP_E_OVERFLOW) return "E6";
  if (FAILED(result)) return "E13";
  return value;
}

int NumberList(const char* list) {
  std::ifstream in(list, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::wstring text = rt::win32::Widen(Unhex(line));
    LONG i4 = 0;
    DOUBLE r8 = 0;
    const HRESULT i4_result = VarI4FromStr(text.data(), kJapanese, 0, &i4);
    const HRESULT r8_result = VarR8FromStr(text.data(), kJapanese, 0, &r8);
    char r8_text[40];
    std::snprintf(r8_text, sizeof r8_text, "%.17g", r8);
    std::printf("%s %s\n", Outcome(i4_result, std::to_string(i4)).c_str(),
                Outcome(r8_result, r8_text).c_str());
  }
  return 0;
}

// What the runtime's Asc and KeyAscii start from: the text in the ANSI code
// page, as WideCharToMultiByte gives it (best fit included).
int AnsiList(const char* list) {
  std::ifstream in(list, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::wstring text = rt::win32::Widen(Unhex(line));
    const int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    std::printf("%s\n", Hex(out).c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--read") return ReadList(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--numbers") return NumberList(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--ansi") return AnsiList(argv[2]);
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr,
                 "usage: profile_probe FILE SECTION KEY [VALUE] | --read LIST | --numbers LIST | "
                 "--ansi LIST\n");
    return 2;
  }
  if (argc == 5) {
    std::printf("%d", WritePrivateProfileStringA(argv[2], argv[3], argv[4], argv[1]) ? 1 : 0);
    return 0;
  }
  std::string buffer(256, '\0');
  const DWORD length =
      GetPrivateProfileStringA(argv[2], argv[3], "ERRORFLAG", buffer.data(), 256, argv[1]);
  std::fwrite(buffer.data(), 1, length, stdout);
  return 0;
}
