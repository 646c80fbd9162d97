// The X screen-saver daemon on a virtual display, run as an unprivileged user
// with a home of its own, where kelvora is installed for that user as the
// README says and named as the daemon's only program.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/support/test_user.h"

// A running copy of kelvora and the window the daemon gave it.
struct Saver {
  pid_t pid = 0;
  unsigned long window = 0;
};

class DaemonSession {
 public:
  explicit DaemonSession(const VirtualDisplay& display);
  // Ends the daemon and whatever it left running.
  ~DaemonSession();
  DaemonSession(const DaemonSession&) = delete;
  DaemonSession& operator=(const DaemonSession&) = delete;

  // Starts the daemon and waits until it answers commands.
  bool Start();
  // xscreensaver-command with one option; true when the daemon accepted it.
  bool Command(const std::string& option) const;
  // The daemon's process has ended within the bound.
  bool Ended();

  // The running copies of the installed kelvora, whoever started them.
  std::vector<Saver> Savers() const;
  // The programs the daemon says it started, one command line each.
  std::vector<std::string> ProgramsStarted() const;
  std::string Log() const;

 private:
  std::vector<std::string> AsUser(const std::vector<std::string>& command) const;
  void InstallForTheUser() const;

  const VirtualDisplay& display_;
  TestUser user_;
  std::string program_;  // the real executable, not the link in bin
  std::unique_ptr<Process> daemon_;
};
