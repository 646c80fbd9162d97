// Where a settings file is read and written. Beside the program wherever its
// folder can be written; where it can't, in a copy of the user's own,
// $XDG_CONFIG_HOME/<name>/<file> for <name>.ini (by default under ~/.config),
// as Windows' file virtualization serves a program in a protected folder.
#pragma once

#include <string>

namespace rt {

// The per-user copy's place, whether it exists or not; empty when the user
// has no home to keep it in.
std::string PerUserCopyOf(const std::string& path);

// The file to read: the per-user copy once it exists, where the folder
// cannot be written; otherwise the file itself.
std::string ProfileToRead(const std::string& path);

// The file to write. Where the folder cannot be written this is the per-user
// copy, made first (with its folders) from the file as it is, so nothing of
// it is lost; the file itself when no copy can be made, so the write fails.
std::string ProfileToWrite(const std::string& path);

}  // namespace rt
