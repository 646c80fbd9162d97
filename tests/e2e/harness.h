// Whole-program tests: the real kelvora executable, copied into a folder of
// its own, on a virtual X display (Xvfb), driven by xdotool and watched
// through screenshots.
#pragma once

#include <sys/types.h>

#include <QImage>
#include <QRect>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

using namespace std::chrono_literals;

// How long a test waits for something before it calls the program hung. It
// is a liveness bound, not a speed goal: a wait ends the moment the thing
// happens, and a loaded machine may take many seconds.
inline constexpr std::chrono::milliseconds kHangBound = 60s;

// Asks until the thing has happened, and says whether it did before the
// bound for a hang passed.
bool WaitUntil(const std::function<bool()>& happened,
               std::chrono::milliseconds timeout = kHangBound);

// A child process with its output in files.
class Process {
 public:
  // Runs argv with DISPLAY set (when display is not empty); as the user
  // nobody when as_nobody is set and we are root.
  Process(const std::vector<std::string>& argv, const std::string& display, bool as_nobody = false);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // The exit status once it has ended within the time; -signal if killed.
  std::optional<int> WaitExit(std::chrono::milliseconds timeout = kHangBound);
  bool Running();
  void Kill();
  pid_t pid() const { return pid_; }
  std::string Stdout() const { return ReadFile(output_.File("out")); }
  std::string Stderr() const { return ReadFile(output_.File("err")); }

 private:
  TempDir output_;
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Holds a running program still (SIGSTOP) while it lives, and lets it go on
// (SIGCONT) at its end. Meanwhile the screen shows what the program last
// drew, and input sent waits, in order, in the X server's queue for the
// program: a test can look at the screen and act on what it saw before the
// program moves on, however slow the machine.
class HeldStill {
 public:
  explicit HeldStill(const Process& program);
  ~HeldStill();
  HeldStill(const HeldStill&) = delete;
  HeldStill& operator=(const HeldStill&) = delete;

 private:
  pid_t pid_;
};

// Gives the input again every second until the program ends, and then its
// exit status; nothing if it outlives the bound. An input sent while the rain
// window hides to rebuild its row goes to no window, so once is not enough.
std::optional<int> EndWith(Process& program, const std::function<void()>& input);

// Runs a command to its end and gives its standard output.
std::string RunToEnd(const std::vector<std::string>& argv, const std::string& display);

// Starts an X server (its program and options, without those of its
// display) on a free display number, as a client of host_display when one is
// given (a nested server); gives its process, and ":N" in name once it is
// ready.
pid_t StartXServer(std::vector<std::string> argv, const std::string& host_display,
                   std::string& name);

class VirtualDisplay {
 public:
  // Screens beyond the first are X screens of their own, of the same size
  // and depth (bits per pixel: 15, 16, 24 or 30).
  VirtualDisplay(int width, int height, int screens = 1, int depth = 24);
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  const std::string& name() const { return name_; }
  pid_t server_pid() const { return server_; }
  QImage Screenshot(int screen = 0) const;
  std::string Xdo(const std::vector<std::string>& arguments) const;
  // Window ids of kelvora's visible windows.
  std::vector<std::string> VisibleWindows() const;
  std::string WindowName(const std::string& id) const;
  // The window's client area on the screen.
  QRect WindowGeometry(const std::string& id) const;
  // Waits until kelvora shows a window and gives its id, or nothing when
  // the time is up. (The rain window hides for a moment when it rebuilds.)
  std::optional<std::string> WaitForWindow(std::chrono::milliseconds timeout = kHangBound) const;

 private:
  pid_t server_ = -1;
  std::string name_;
  TempDir scratch_;
};

// A copy of the program in a folder of its own, next to its settings; it
// runs through the launcher when one is given (wine for the Windows build).
class Installation {
 public:
  explicit Installation(const std::string& program = KELVORA_EXE,
                        std::vector<std::string> launcher = {});
  std::string Ini() const { return dir_.File("kelvora.ini"); }
  std::string Executable() const { return executable_; }
  const std::filesystem::path& folder() const { return dir_.path(); }
  // The command line that runs the program with these arguments.
  std::vector<std::string> Command(const std::vector<std::string>& arguments) const;
  Process Start(const VirtualDisplay& display, const std::vector<std::string>& arguments,
                bool as_nobody = false) const;

 private:
  TempDir dir_;
  std::string executable_;
  std::vector<std::string> launcher_;
};

std::string SettingsFile(const std::string& red, const std::string& green, const std::string& blue,
                         const std::string& speed);
