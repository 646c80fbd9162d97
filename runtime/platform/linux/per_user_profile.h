// Where a settings file is read and written. A portable build keeps it beside
// the program wherever that folder can be written; where it can't, in a copy
// of the user's own, $XDG_CONFIG_HOME/<name>/<file> for <name>.ini (by default
// under ~/.config), as Windows' file virtualization serves a program in a
// protected folder. A packaged build, whose program lies in the system's
// folders, always keeps the user's copy, root's too, made from the
// administrator's defaults in $XDG_CONFIG_DIRS (by default /etc/xdg), which
// it never writes.
#pragma once

#include <string>

namespace rt {

enum class SettingsRule { kBesideTheProgram, kPerUser };

// This build's rule: per user when it is built for a package.
SettingsRule BuiltSettingsRule();

// The per-user copy's place, whether it exists or not; empty when the user
// has no home to keep it in.
std::string PerUserCopyOf(const std::string& path);

// The first <folder>/<name>/<file> of $XDG_CONFIG_DIRS that exists; empty
// when none does.
std::string SystemDefaultsOf(const std::string& path);

// The file to read: the per-user copy once it exists; before that the file
// beside the program (portable) or the system's defaults (packaged).
std::string ProfileToRead(const std::string& path, SettingsRule rule);

// Where a write goes. A file absent there is made from the seed as it is,
// so that nothing of it is lost.
struct WritePlace {
  std::string file;  // empty when there is nowhere to write
  std::string seed;
  // The one file of every user of the program: beside it, in a folder this
  // user may not write.
  bool for_all_users = false;
};
WritePlace PlaceToWrite(const std::string& path, SettingsRule rule);

}  // namespace rt
