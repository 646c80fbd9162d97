// An unprivileged user with a home and a runtime folder of its own, for
// programs that refuse to run as root or must not see root's files. When the
// tests do not run as root, the user is simply us.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

class TestUser {
 public:
  TestUser();
  TestUser(const TestUser&) = delete;
  TestUser& operator=(const TestUser&) = delete;

  uid_t uid() const { return uid_; }
  const std::string& home() const { return home_; }
  // XDG_RUNTIME_DIR: the user's alone, mode 0700.
  const std::string& runtime_dir() const { return runtime_dir_; }
  // Makes a folder and all below it the user's.
  void Own(const std::filesystem::path& top) const;
  // The command run as the user with a clean environment of the user's own
  // plus the given NAME=value entries. Run by root, extra_mounts (shell
  // commands) are made in the user's mount namespace first.
  std::vector<std::string> Command(const std::vector<std::string>& command,
                                   const std::vector<std::string>& environment,
                                   const std::string& extra_mounts = "") const;

 private:
  TempDir scratch_;
  uid_t uid_;
  std::string home_;
  std::string runtime_dir_;
};

// Whether a program of this name is on the PATH.
bool OnPath(const std::string& program);
// A user id that this machine does not know.
uid_t FreeUserId();
