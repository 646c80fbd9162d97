#include "tests/e2e/harness.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

constexpr uid_t kNobody = 65534;

// A child outlives no test that a time-out killed.
void DieWithParent() { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }

// Servers started at the same moment by parallel tests could pick the same
// display; one at a time, each finds the others' sockets taken.
class StartLock {
 public:
  StartLock() : fd_(::open("/tmp/kelvora-test-xvfb.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    ::flock(fd_, LOCK_EX);
  }
  ~StartLock() { ::close(fd_); }

 private:
  int fd_;
};

[[noreturn]] void ExecChild(const std::vector<std::string>& argv, const std::string& display,
                            int out_fd, int err_fd, bool as_nobody) {
  DieWithParent();
  ::dup2(out_fd, STDOUT_FILENO);
  ::dup2(err_fd, STDERR_FILENO);
  const int null_in = ::open("/dev/null", O_RDONLY);
  ::dup2(null_in, STDIN_FILENO);
  // A program run on the virtual X display draws there, even from a
  // Wayland session.
  if (!display.empty()) {
    ::setenv("DISPLAY", display.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
  }
  ::unsetenv("QT_QPA_PLATFORM");
  ::setpgid(0, 0);
  if (as_nobody && ::geteuid() == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(126);
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  ::execvp(args[0], args.data());
  ::_exit(127);
}

// Whether every thread of the process has stopped (or the process is gone).
bool Stopped(pid_t pid) {
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code gone;
  for (const auto& task : std::filesystem::directory_iterator(tasks, gone)) {
    // The state follows the command, which ends with the last parenthesis.
    const std::string stat = ReadFile((task.path() / "stat").string());
    const std::size_t end = stat.rfind(')');
    if (end != std::string::npos && end + 2 < stat.size() && stat[end + 2] != 'T' &&
        stat[end + 2] != 't' && stat[end + 2] != 'Z')
      return false;
  }
  return true;
}

int OpenOutput(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& happened, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (happened()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
}

Process::Process(const std::vector<std::string>& argv, const std::string& display, bool as_nobody) {
  const int out_fd = OpenOutput(output_.File("out"));
  const int err_fd = OpenOutput(output_.File("err"));
  pid_ = ::fork();
  if (pid_ == 0) ExecChild(argv, display, out_fd, err_fd, as_nobody);
  ::close(out_fd);
  ::close(err_fd);
  if (pid_ < 0) throw std::runtime_error("fork failed");
}

Process::~Process() { Kill(); }

std::optional<int> Process::WaitExit(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!status_) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(10ms);
  }
  return status_;
}

bool Process::Running() { return !WaitExit(0ms); }

void Process::Kill() {
  if (pid_ <= 0 || status_) return;
  ::kill(pid_, SIGKILL);
  WaitExit();
}

HeldStill::HeldStill(const Process& program) : pid_(program.pid()) {
  ::kill(pid_, SIGSTOP);
  // The signal takes effect when each thread next enters the kernel.
  WaitUntil([&] { return Stopped(pid_); });
}

HeldStill::~HeldStill() { ::kill(pid_, SIGCONT); }

std::optional<int> EndWith(Process& program, const std::function<void()>& input) {
  const auto deadline = std::chrono::steady_clock::now() + kHangBound;
  while (std::chrono::steady_clock::now() < deadline) {
    input();
    if (const std::optional<int> status = program.WaitExit(1s)) return status;
  }
  return std::nullopt;
}

std::string RunToEnd(const std::vector<std::string>& argv, const std::string& display) {
  Process process(argv, display);
  process.WaitExit();
  return process.Stdout();
}

pid_t StartXServer(std::vector<std::string> argv, const std::string& host_display,
                   std::string& name) {
  int ready[2];
  if (::pipe(ready) != 0) throw std::runtime_error("pipe failed");
  argv.insert(argv.begin() + 1, {"-displayfd", std::to_string(ready[1])});
  argv.insert(argv.end(), {"-nolisten", "tcp", "-noreset", "-ac"});
  const pid_t server = ::fork();
  if (server == 0) {
    DieWithParent();
    ::close(ready[0]);
    const int null_fd = ::open("/dev/null", O_WRONLY);
    ::dup2(null_fd, STDOUT_FILENO);
    ::dup2(null_fd, STDERR_FILENO);
    if (!host_display.empty()) ::setenv("DISPLAY", host_display.c_str(), 1);
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(ready[1]);
  // The server writes its display number and a line end once it is ready.
  std::string number;
  char c = 0;
  for (;;) {
    const ssize_t got = ::read(ready[0], &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') break;
    number += c;
  }
  ::close(ready[0]);
  if (number.empty()) throw std::runtime_error(argv[0] + " did not start");
  name = ":" + number;
  return server;
}

VirtualDisplay::VirtualDisplay(int width, int height, int screens, int depth) {
  const StartLock one_at_a_time;
  const std::string size =
      std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
  std::vector<std::string> argv{"Xvfb"};
  for (int screen = 0; screen < screens; ++screen)
    argv.insert(argv.end(), {"-screen", std::to_string(screen), size});
  server_ = StartXServer(argv, "", name_);
}

VirtualDisplay::~VirtualDisplay() {
  ::kill(server_, SIGTERM);
  ::waitpid(server_, nullptr, 0);
}

QImage VirtualDisplay::Screenshot(int screen) const {
  const std::string file = scratch_.File("shot.png");
  RunToEnd({"import", "-window", "root", file}, name_ + "." + std::to_string(screen));
  return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
}

std::string VirtualDisplay::Xdo(const std::vector<std::string>& arguments) const {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunToEnd(argv, name_);
}

std::vector<std::string> VirtualDisplay::VisibleWindows() const {
  std::istringstream ids(Xdo({"search", "--onlyvisible", "--class", "kelvora"}));
  std::vector<std::string> windows;
  for (std::string id; ids >> id;) windows.push_back(id);
  return windows;
}

QRect VirtualDisplay::WindowGeometry(const std::string& id) const {
  QRect geometry;
  std::istringstream shell(Xdo({"getwindowgeometry", "--shell", id}));
  for (std::string line; std::getline(shell, line);) {
    if (line.starts_with("X=")) geometry.moveLeft(std::stoi(line.substr(2)));
    if (line.starts_with("Y=")) geometry.moveTop(std::stoi(line.substr(2)));
    if (line.starts_with("WIDTH=")) geometry.setWidth(std::stoi(line.substr(6)));
    if (line.starts_with("HEIGHT=")) geometry.setHeight(std::stoi(line.substr(7)));
  }
  return geometry;
}

std::string VirtualDisplay::WindowName(const std::string& id) const {
  std::string name = Xdo({"getwindowname", id});
  while (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

std::optional<std::string> VirtualDisplay::WaitForWindow(std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const std::vector<std::string> windows = VisibleWindows();
    if (!windows.empty()) return windows.front();
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(50ms);
  }
}

Installation::Installation(const std::string& program, std::vector<std::string> launcher)
    : executable_(dir_.File(std::filesystem::path(program).filename().string())),
      launcher_(std::move(launcher)) {
  std::filesystem::copy_file(program, executable_);
  // Readable by all, so that a run as nobody can start it.
  std::filesystem::permissions(
      dir_.path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                       std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                       std::filesystem::perms::others_exec);
}

std::vector<std::string> Installation::Command(const std::vector<std::string>& arguments) const {
  std::vector<std::string> argv = launcher_;
  argv.push_back(executable_);
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return argv;
}

Process Installation::Start(const VirtualDisplay& display,
                            const std::vector<std::string>& arguments, bool as_nobody) const {
  return Process(Command(arguments), display.name(), as_nobody);
}

std::string SettingsFile(const std::string& red, const std::string& green, const std::string& blue,
                         const std::string& speed) {
  return "[main]\nCOLOR1=" + red + "\nCOLOR2=" + green + "\nCOLOR3=" + blue + "\nSP=" + speed +
         "\n";
}
