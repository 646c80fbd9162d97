// The operating system's services, plain functions that each platform
// defines once at link time (Linux: runtime/platform/linux/ with Windows'
// text rules from runtime/windows_text/; Windows: runtime/platform/win32/;
// the tests' null platform: runtime/platform/null/). Window systems are not
// here: they are backends (native.h, backends.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rt {

// ---- The program's surroundings ----

struct App {
  // True only while another copy of this same executable runs.
  static bool PrevInstance();
  // The executable's folder; ends in a separator only at the root.
  static std::string Path();
  // What goes between the folder and a file name in a path.
  static std::string PathSeparator();
};

// The arguments after the program's name, joined by single blanks.
std::string Command();

// ---- The settings file: the private-profile functions ----
// On Windows the system's own, elsewhere our reader and writer of Windows'
// rules (runtime/windows_text/).

// The value of key in section of the INI file at path, or default_text when
// the file, section or key is absent; at most size - 1 bytes of it.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& default_text, size_t size,
                                    const std::string& path);

// Stores the value under key, creating the file or section as needed. False
// when the file could not be written; the file on disk is then unchanged.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path);

// Where a write of the settings file at path goes, to name it when the write
// fails: the file itself or the user's own copy, and whether it is the one
// file of every user (beside a program whose folder this user may not write).
struct WrittenProfile {
  std::string path;
  bool for_all_users = false;
};
WrittenProfile WrittenProfileFile(const std::string& path);

// ---- Characters ----

// The UTF-8 text in the ANSI code page (932), as Windows converts it: one
// byte or two a character; one the code page lacks becomes its best fit.
std::string ToAnsiCodePage(const std::string& text);

// ---- Text to number ----
// OLE Automation's parsing (VarI4FromStr, VarR8FromStr) under the program's
// Japanese locale (1041): blanks (full-width ones too) around the number; a
// sign before or after it, or parentheses for a negative; thousands
// separators anywhere after the first digit; a decimal point; an exponent;
// the yen sign; "&H" and "&O". Run-time error 13 for a text that is not a
// number, 6 for one that does not fit.

// Rounded half to even; a hexadecimal or octal text gives its 32 bits.
int32_t LongFromText(const std::string& text);
double DoubleFromText(const std::string& text);

}  // namespace rt
