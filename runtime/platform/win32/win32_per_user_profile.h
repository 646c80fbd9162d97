// Where the settings file is read and written on Windows. Beside the program
// wherever its folder can be written; where it can't (C:\Windows\System32 for
// a user), in %LOCALAPPDATA%\<name>\<file> for <name>.ini: what Windows' file
// virtualization did for a 32-bit program without a manifest, which a 64-bit
// program never gets.
#pragma once

#include <string>

namespace rt::win32 {

// The file to read: the per-user copy once it exists, where the folder
// cannot be written; otherwise the file itself.
std::string ProfileToRead(const std::string& path);

// The file to write. Where the folder cannot be written this is the per-user
// copy, made first from the file as it is, so nothing of it is lost; the
// file itself when no copy can be made, so the write fails.
std::string ProfileToWrite(const std::string& path);

}  // namespace rt::win32
