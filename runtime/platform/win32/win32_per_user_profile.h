// Where the settings file is read and written on Windows. Beside the program
// wherever its folder can be written; where it can't (C:\Windows\System32 for
// a user), in %LOCALAPPDATA%\<name>\<file> for <name>.ini: what Windows' file
// virtualization did for a 32-bit program without a manifest, which a 64-bit
// program never gets.
#pragma once

#include <string>

#include "runtime/platform/os_services.h"

namespace rt::win32 {

// The file to read: the per-user copy once it exists, where the folder
// cannot be written; otherwise the file itself.
std::string ProfileToRead(const std::string& path);

// Where a write goes, without making anything: the file itself where its
// folder can be written, the per-user copy where it can't, and the file
// itself, the one of all users, when there is no place for a copy.
WrittenProfile ProfileWritten(const std::string& path);

// The file to write. Where the folder cannot be written this is the per-user
// copy, made first from the file as it is, so nothing of it is lost; a copy
// that cannot be made fails the write in its own place.
std::string ProfileToWrite(const std::string& path);

}  // namespace rt::win32
