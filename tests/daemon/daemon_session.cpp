#include "tests/daemon/daemon_session.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

// The system folders that the package puts files in, which the session
// sees with the package's files added.
const std::vector<std::string> kPackageFolders = {
    "/usr/bin",
    "/usr/libexec/xscreensaver",
    "/usr/libexec/xsecurelock",
    "/usr/share/applications/screensavers",
    "/usr/share/xscreensaver/config",
};

// The daemon's settings: blank with the first program of the list, never
// change programs, no fading, no splash.
std::string XscreensaverSettings(const std::string& program_line) {
  return "mode: one\n"
         "selected: 0\n"
         "cycle: 0:00:00\n"
         "lock: False\n"
         "splash: False\n"
         "fade: False\n"
         "unfade: False\n"
         "programs: \"kelvora\" " +
         program_line + " \\n\\\n\n";
}

std::string ReadProcFile(pid_t pid, const char* name) {
  return ReadFile("/proc/" + std::to_string(pid) + "/" + name);
}

// A variable of a process's environment; empty when it has none.
std::string Variable(pid_t pid, const std::string& name) {
  const std::string environment = ReadProcFile(pid, "environ");
  const std::string key = name + "=";
  for (size_t start = 0; start < environment.size();) {
    const size_t end = std::min(environment.find('\0', start), environment.size());
    const std::string entry = environment.substr(start, end - start);
    if (entry.starts_with(key)) return entry.substr(key.size());
    start = end + 1;
  }
  return "";
}

// The window a copy was given, from its environment.
unsigned long GivenWindow(pid_t pid) {
  return std::strtoul(Variable(pid, "XSCREENSAVER_WINDOW").c_str(), nullptr, 0);
}

// Whether a copy runs on the display (":3", or one of its screens, ":3.1"):
// tests of the package run one program file on displays of their own.
bool OnDisplay(pid_t pid, const std::string& display) {
  const std::string named = Variable(pid, "DISPLAY");
  return named == display || named.starts_with(display + ".");
}

}  // namespace

std::string BuiltPackage() {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(KELVORA_PACKAGE_DIST, error)) {
    if (entry.path().extension() == ".deb") return entry.path().string();
  }
  return "";
}

UserSession::UserSession(const VirtualDisplay& display, Install install) : display_(display) {
  if (install == Install::kHome) {
    InstallForTheUser();
  } else {
    TakeOutThePackage();
  }
  user_.Own(home());
}

UserSession::~UserSession() {
  for (const Saver& saver : Savers()) ::kill(saver.pid, SIGKILL);
}

// As the README says: cmake --install into ~/.local, and the daemon's line
// names the program by its full path (the settings tool expands no $HOME).
void UserSession::InstallForTheUser() {
  RunToEnd({"env", "HOME=" + home(), KELVORA_CMAKE, "--install", KELVORA_BUILD_DIR, "--prefix",
            home() + "/.local"},
           "");
  program_ = home() + "/.local/libexec/kelvora/kelvora";
  program_line_ = home() + "/.local/bin/kelvora /S";
  if (!fs::exists(program_)) throw std::runtime_error("cmake --install did not install kelvora");
}

// The package's files, laid over the system's folders for the session
// alone; the daemons find the program by its system path.
void UserSession::TakeOutThePackage() {
  root_ = package_.File("root");
  RunToEnd({"dpkg-deb", "-x", BuiltPackage(), root_}, "");
  program_ = "/usr/libexec/xscreensaver/kelvora";
  program_line_ = "kelvora /S";
  if (!fs::exists(root_ + program_)) throw std::runtime_error("no kelvora in the package");
}

// As the test user, in a mount namespace whose system folders hold the
// package's files laid over the machine's, which stay as they are.
std::vector<std::string> UserSession::AsUser(const std::vector<std::string>& command,
                                             const std::vector<std::string>& variables) const {
  std::string mounts;
  if (!root_.empty()) {
    for (const std::string& folder : kPackageFolders) {
      if (!fs::exists(root_ + folder) || !fs::exists(folder)) continue;
      if (!mounts.empty()) mounts += " && ";
      mounts +=
          "mount -t overlay overlay -o lowerdir=" + root_ + folder + ":" + folder + " " + folder;
    }
  }
  std::vector<std::string> environment{"DISPLAY=" + display_.name()};
  environment.insert(environment.end(), variables.begin(), variables.end());
  return user_.Command(command, environment, mounts);
}

void UserSession::WriteUserFile(const std::string& name, const std::string& text) const {
  const std::string file = home() + "/" + name;
  WriteFile(file, text);
  if (::geteuid() == 0) ::chown(file.c_str(), user_.uid(), user_.uid());
}

std::unique_ptr<Process> UserSession::Launch(const std::vector<std::string>& command,
                                             const std::vector<std::string>& variables) const {
  return std::make_unique<Process>(AsUser(command, variables), display_.name());
}

std::optional<int> UserSession::Run(const std::vector<std::string>& command,
                                    const std::vector<std::string>& variables) const {
  return Launch(command, variables)->WaitExit();
}

std::vector<Saver> UserSession::Savers() const {
  std::vector<Saver> savers;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) != program_) continue;
    const pid_t pid = std::stoi(name);
    if (!OnDisplay(pid, display_.name())) continue;
    savers.push_back({pid, GivenWindow(pid)});
  }
  return savers;
}

DaemonSession::DaemonSession(const VirtualDisplay& display, Install install)
    : UserSession(display, install) {
  WriteUserFile(".xscreensaver", XscreensaverSettings(ProgramLine()));
}

DaemonSession::~DaemonSession() {
  if (daemon_ && daemon_->Running()) {
    ::kill(daemon_->pid(), SIGTERM);  // it ends its programs itself
    daemon_->WaitExit();
    ::kill(-daemon_->pid(), SIGKILL);
  }
}

bool DaemonSession::Start() {
  daemon_ = Launch({"xscreensaver", "--no-splash", "--verbose"});
  return WaitUntil([&] { return !daemon_->Running() || Command("-version"); }) &&
         daemon_->Running();
}

bool DaemonSession::Command(const std::string& option) const {
  Process command({"xscreensaver-command", option}, display().name());
  return command.WaitExit() == 0;
}

bool DaemonSession::Ended() { return daemon_ && daemon_->WaitExit().has_value(); }

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
