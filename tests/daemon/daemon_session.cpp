#include "tests/daemon/daemon_session.h"

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

// The daemon's settings: blank with the first program of the list, never
// change programs, no fading, no splash. The program line is the README's.
constexpr char kSettings[] =
    "mode: one\n"
    "selected: 0\n"
    "cycle: 0:00:00\n"
    "lock: False\n"
    "splash: False\n"
    "fade: False\n"
    "unfade: False\n"
    "programs: \"kelvora\" $HOME/.local/bin/kelvora /S \\n\\\n"
    "\n";

std::string ReadProcFile(pid_t pid, const char* name) {
  return ReadFile("/proc/" + std::to_string(pid) + "/" + name);
}

// The window a copy was given, from its environment.
unsigned long GivenWindow(pid_t pid) {
  const std::string environment = ReadProcFile(pid, "environ");
  const std::string key = "XSCREENSAVER_WINDOW=";
  for (size_t start = 0; start < environment.size();) {
    const size_t end = std::min(environment.find('\0', start), environment.size());
    const std::string entry = environment.substr(start, end - start);
    if (entry.starts_with(key)) return std::strtoul(entry.c_str() + key.size(), nullptr, 0);
    start = end + 1;
  }
  return 0;
}

}  // namespace

DaemonSession::DaemonSession(const VirtualDisplay& display)
    : display_(display), program_(user_.home() + "/.local/libexec/kelvora/kelvora") {
  InstallForTheUser();
}

DaemonSession::~DaemonSession() {
  if (daemon_ && daemon_->Running()) {
    ::kill(daemon_->pid(), SIGTERM);  // it ends its programs itself
    daemon_->WaitExit();
    ::kill(-daemon_->pid(), SIGKILL);
  }
  for (const Saver& saver : Savers()) ::kill(saver.pid, SIGKILL);
}

// As the README says: cmake --install into ~/.local.
void DaemonSession::InstallForTheUser() const {
  RunToEnd({"env", "HOME=" + user_.home(), KELVORA_CMAKE, "--install", KELVORA_BUILD_DIR,
            "--prefix", user_.home() + "/.local"},
           "");
  if (!fs::exists(program_)) throw std::runtime_error("cmake --install did not install kelvora");
  WriteFile(user_.home() + "/.xscreensaver", kSettings);
  user_.Own(user_.home());
}

std::vector<std::string> DaemonSession::AsUser(const std::vector<std::string>& command) const {
  return user_.Command(command, {"DISPLAY=" + display_.name()});
}

bool DaemonSession::Start() {
  daemon_ = std::make_unique<Process>(AsUser({"xscreensaver", "--no-splash", "--verbose"}),
                                      display_.name());
  return WaitUntil([&] { return !daemon_->Running() || Command("-version"); }) &&
         daemon_->Running();
}

bool DaemonSession::Command(const std::string& option) const {
  Process command({"xscreensaver-command", option}, display_.name());
  return command.WaitExit() == 0;
}

bool DaemonSession::Ended() { return daemon_ && daemon_->WaitExit().has_value(); }

std::vector<Saver> DaemonSession::Savers() const {
  std::vector<Saver> savers;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) != program_) continue;
    const pid_t pid = std::stoi(name);
    savers.push_back({pid, GivenWindow(pid)});
  }
  return savers;
}

std::vector<std::string> DaemonSession::ProgramsStarted() const {
  std::istringstream lines(Log());
  std::vector<std::string> programs;
  const std::string marker = ": forked \"";
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find(marker);
    if (at == std::string::npos) continue;
    const size_t start = at + marker.size();
    const std::string program = line.substr(start, line.find('"', start) - start);
    // The daemon's own helpers are not display programs.
    if (!program.starts_with("xscreensaver-")) programs.push_back(program);
  }
  return programs;
}

std::string DaemonSession::Log() const { return daemon_ ? daemon_->Stderr() : ""; }
