// A headless sway compositor for whole-program tests on Wayland: software
// rendering, no input devices of its own, no Xwayland unless asked, a given
// number of outputs of one size, run as an unprivileged user. Programs run in
// it with DISPLAY unset; grim takes the screenshots and wtype types.
#pragma once

#include <QImage>
#include <QRect>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/support/test_user.h"

struct SwayOutputs {
  int count = 1;
  int width = 1024;
  int height = 768;
  int scale = 1;
  bool xwayland = false;  // started with the compositor
};

class SwaySession {
 public:
  // Whether sway, grim and wtype are installed; tests skip without them.
  static bool Available();
  static constexpr char kSkipMessage[] =
      "sway, grim or wtype is not installed (apt-get install sway grim wtype)";

  explicit SwaySession(SwayOutputs outputs = {});
  // Ends whatever was started in the session, then the compositor.
  ~SwaySession();
  SwaySession(const SwaySession&) = delete;
  SwaySession& operator=(const SwaySession&) = delete;

  // Starts sway and waits until its socket answers with every output.
  bool Start();
  const std::string& wayland_display() const { return wayland_display_; }
  pid_t pid() const { return sway_ ? sway_->pid() : -1; }
  // The DISPLAY of the session's Xwayland, as the compositor gives its
  // programs; empty without one.
  std::string XDisplay() const;
  const TestUser& user() const { return user_; }
  // Output names, HEADLESS-1 onwards.
  std::vector<std::string> OutputNames() const;

  // The command as the user inside the session: WAYLAND_DISPLAY set,
  // DISPLAY unset unless the environment's NAME=value entries set it.
  std::vector<std::string> Command(const std::vector<std::string>& command,
                                   const std::vector<std::string>& environment = {}) const;
  std::unique_ptr<Process> Run(const std::vector<std::string>& command,
                               const std::vector<std::string>& environment = {}) const;
  // All outputs side by side, or the named one; with the pointer drawn in
  // when asked.
  QImage Screenshot(const std::string& output = "", bool with_pointer = false) const;
  // wtype with these arguments (text, or -k KEY, -M/-m modifiers); true
  // when it could type.
  bool Type(const std::vector<std::string>& arguments) const;
  // Whether wayvnc is installed: a pointer for the session.
  static bool HasPointer();
  // Moves the session's pointer to the point of the first output (a
  // pointer that wayvnc plugs in on first use); true when it could.
  bool MovePointer(int x, int y);
  // The content area, in the layout's pixels, of the shown window of this
  // Wayland app id.
  std::optional<QRect> WindowArea(const std::string& app_id) const;
  // swaymsg's answer to a message type such as get_outputs or get_tree.
  std::string Message(const std::string& type) const;
  std::string Log() const;

 private:
  std::string Socket(const std::string& prefix) const;

  SwayOutputs outputs_;
  TestUser user_;
  TempDir shots_;
  std::string wayland_display_;
  std::unique_ptr<Process> sway_;
  std::unique_ptr<Process> vnc_;
  int vnc_socket_ = -1;  // our connection to wayvnc, once made
};
