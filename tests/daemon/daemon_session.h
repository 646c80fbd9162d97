// A screen-saver daemon on a virtual display, run as an unprivileged user
// with a home of its own, where kelvora is installed either for that user
// into ~/.local as the README says, or from the Debian package: its files,
// taken out with dpkg-deb -x, are laid over the system's folders in a mount
// namespace that only the session's processes see, so the machine is left
// as it is.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_user.h"

// A running copy of kelvora and the window the daemon gave it.
struct Saver {
  pid_t pid = 0;
  unsigned long window = 0;
};

enum class Install { kHome, kPackage };

// The package the package test left, or empty when there is none.
std::string BuiltPackage();

class UserSession {
 public:
  UserSession(const VirtualDisplay& display, Install install);
  // Ends whatever copies of kelvora are left running.
  virtual ~UserSession();
  UserSession(const UserSession&) = delete;
  UserSession& operator=(const UserSession&) = delete;

  // Starts a command as the user, in the user's environment plus these
  // variables ("NAME=value").
  std::unique_ptr<Process> Launch(const std::vector<std::string>& command,
                                  const std::vector<std::string>& variables = {}) const;
  // Runs a command as the user to its end; its exit status.
  std::optional<int> Run(const std::vector<std::string>& command,
                         const std::vector<std::string>& variables = {}) const;

  // Writes a file in the user's home, owned by the user.
  void WriteUserFile(const std::string& name, const std::string& text) const;

  // The running copies of the installed kelvora on this session's display,
  // whoever started them.
  std::vector<Saver> Savers() const;
  // The command that the README's daemon line names kelvora by.
  std::string ProgramLine() const { return program_line_; }
  const std::string& home() const { return user_.home(); }
  const VirtualDisplay& display() const { return display_; }

 private:
  std::vector<std::string> AsUser(const std::vector<std::string>& command,
                                  const std::vector<std::string>& variables) const;
  void InstallForTheUser();
  void TakeOutThePackage();

  const VirtualDisplay& display_;
  TestUser user_;
  TempDir package_;
  std::string root_;          // the package's files; empty for a home install
  std::string program_;       // the real executable, not the link in bin
  std::string program_line_;  // how a daemon's settings name it
};

// xscreensaver, set to blank with kelvora alone.
class DaemonSession : public UserSession {
 public:
  DaemonSession(const VirtualDisplay& display, Install install);
  // Ends the daemon, which ends its programs.
  ~DaemonSession() override;

  // Starts the daemon and waits until it answers commands.
  bool Start();
  // xscreensaver-command with one option; true when the daemon accepted it.
  bool Command(const std::string& option) const;
  // The daemon's process has ended within the bound.
  bool Ended();
  // The programs the daemon says it started, one command line each.
  std::vector<std::string> ProgramsStarted() const;
  std::string Log() const;

 private:
  std::unique_ptr<Process> daemon_;
};
