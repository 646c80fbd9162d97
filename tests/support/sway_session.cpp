#include "tests/support/sway_session.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Nothing but the outputs: no bar, no Xwayland unless asked for, a black
// background.
std::string Config(const SwayOutputs& outputs) {
  return std::string(outputs.xwayland ? "xwayland force\n" : "xwayland disable\n") +
         "output * resolution " + std::to_string(outputs.width) + "x" +
         std::to_string(outputs.height) + " scale " + std::to_string(outputs.scale) +
         " bg #000000 solid_color\n";
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Searches the layout tree, tiled and floating, for a visible window of the
// app id.
std::optional<QRect> FindWindow(const QJsonObject& node, const QString& app_id) {
  if (node.value("app_id").toString() == app_id && node.value("visible").toBool()) {
    const QJsonObject rect = node.value("rect").toObject();
    const QJsonObject inside = node.value("window_rect").toObject();
    return QRect(rect.value("x").toInt() + inside.value("x").toInt(),
                 rect.value("y").toInt() + inside.value("y").toInt(), inside.value("width").toInt(),
                 inside.value("height").toInt());
  }
  for (const char* children : {"nodes", "floating_nodes"}) {
    for (const QJsonValue child : node.value(children).toArray()) {
      if (const std::optional<QRect> found = FindWindow(child.toObject(), app_id)) return found;
    }
  }
  return std::nullopt;
}

}  // namespace

bool SwaySession::Available() { return OnPath("sway") && OnPath("grim") && OnPath("wtype"); }

SwaySession::SwaySession(SwayOutputs outputs) : outputs_(outputs) {
  WriteFile(user_.home() + "/sway.config", Config(outputs_));
  // grim writes as the user; we read.
  fs::permissions(shots_.path(), fs::perms::owner_all | fs::perms::others_exec);
  user_.Own(user_.home());
  user_.Own(shots_.path());
}

SwaySession::~SwaySession() {
  if (vnc_socket_ >= 0) ::close(vnc_socket_);
  vnc_.reset();
  if (!sway_) return;
  ::kill(sway_->pid(), SIGTERM);
  sway_->WaitExit();
  sway_->Kill();
  ::kill(-sway_->pid(), SIGKILL);  // its background program
}

bool SwaySession::Start() {
  sway_ = std::make_unique<Process>(
      user_.Command({"sway", "--config", user_.home() + "/sway.config"},
                    {"WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1",
                     "WLR_HEADLESS_OUTPUTS=" + std::to_string(outputs_.count)}),
      "");
  const std::string named = "\"name\": \"HEADLESS-";
  return WaitUntil([&] {
           if (!sway_->Running()) return true;
           wayland_display_ = Socket("wayland-");
           return !wayland_display_.empty() &&
                  Count(Message("get_outputs"), named) == static_cast<size_t>(outputs_.count);
         }) &&
         sway_->Running();
}

// The first socket of the session's runtime folder whose name starts so.
std::string SwaySession::Socket(const std::string& prefix) const {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(user_.runtime_dir(), error)) {
    const std::string name = entry.path().filename();
    if (name.starts_with(prefix) && entry.is_socket()) return name;
  }
  return "";
}

std::vector<std::string> SwaySession::OutputNames() const {
  std::vector<std::string> names;
  for (int output = 1; output <= outputs_.count; ++output)
    names.push_back("HEADLESS-" + std::to_string(output));
  return names;
}

std::vector<std::string> SwaySession::Command(const std::vector<std::string>& command,
                                              const std::vector<std::string>& environment) const {
  std::vector<std::string> all{"WAYLAND_DISPLAY=" + wayland_display_,
                               "SWAYSOCK=" + user_.runtime_dir() + "/" + Socket("sway-ipc.")};
  all.insert(all.end(), environment.begin(), environment.end());
  return user_.Command(command, all);
}

std::unique_ptr<Process> SwaySession::Run(const std::vector<std::string>& command,
                                          const std::vector<std::string>& environment) const {
  return std::make_unique<Process>(Command(command, environment), "");
}

// A program the compositor starts writes it down: the compositor sets
// DISPLAY for its programs once Xwayland is up.
std::string SwaySession::XDisplay() const {
  if (!outputs_.xwayland) return "";
  const std::string file = user_.runtime_dir() + "/x-display";
  std::string display;
  WaitUntil([&] {
    RunToEnd(Command({"swaymsg", "exec", "printf %s \"$DISPLAY\" > " + file}), "");
    return WaitUntil([&] { return !(display = ReadFile(file)).empty(); }, 2s);
  });
  return display;
}

QImage SwaySession::Screenshot(const std::string& output, bool with_pointer) const {
  const std::string file = shots_.File("shot.png");
  fs::remove(file);
  std::vector<std::string> grim{"grim"};
  if (with_pointer) grim.push_back("-c");
  if (!output.empty()) grim.insert(grim.end(), {"-o", output});
  grim.push_back(file);
  RunToEnd(Command(grim), "");
  return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
}

bool SwaySession::Type(const std::vector<std::string>& arguments) const {
  std::vector<std::string> wtype{"wtype"};
  wtype.insert(wtype.end(), arguments.begin(), arguments.end());
  Process typing(Command(wtype), "");
  return typing.WaitExit() == 0;
}

bool SwaySession::HasPointer() { return OnPath("wayvnc"); }

// wayvnc on a socket of the runtime folder, spoken to in RFB 3.8 with no
// authentication: its pointer events move a virtual pointer of the seat.
bool SwaySession::MovePointer(int x, int y) {
  if (vnc_socket_ < 0) {
    const std::string path = user_.runtime_dir() + "/vnc.socket";
    vnc_ = Run({"wayvnc", "--unix-socket", "-o", "HEADLESS-1", path});
    vnc_socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    if (!WaitUntil([&] {
          return !vnc_->Running() || ::connect(vnc_socket_, reinterpret_cast<sockaddr*>(&address),
                                               sizeof(address)) == 0;
        }) ||
        !vnc_->Running())
      return false;
    const auto receive = [&](size_t count) {
      std::string bytes(count, '\0');
      for (size_t got = 0; got < count;) {
        const ssize_t part = ::read(vnc_socket_, bytes.data() + got, count - got);
        if (part <= 0) return std::string();
        got += static_cast<size_t>(part);
      }
      return bytes;
    };
    const auto send = [&](const std::string& bytes) {
      return ::send(vnc_socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
             static_cast<ssize_t>(bytes.size());
    };
    // Version; security type 1 (none) and its result; shared; the server's
    // description: size, pixel format, name.
    if (receive(12).empty() || !send("RFB 003.008\n")) return false;
    const std::string types = receive(1);
    if (types.empty() || receive(static_cast<uint8_t>(types[0])).empty() ||
        !send(std::string(1, '\1')) || receive(4) != std::string(4, '\0') ||
        !send(std::string(1, '\1')))
      return false;
    const std::string init = receive(24);
    if (init.empty()) return false;
    const auto name_length = static_cast<size_t>(
        static_cast<uint8_t>(init[20]) << 24 | static_cast<uint8_t>(init[21]) << 16 |
        static_cast<uint8_t>(init[22]) << 8 | static_cast<uint8_t>(init[23]));
    if (name_length > 0 && receive(name_length).empty()) return false;
  }
  // PointerEvent: no button held, big-endian 16-bit x and y.
  const char event[] = {5,
                        0,
                        static_cast<char>(x >> 8),
                        static_cast<char>(x & 0xFF),
                        static_cast<char>(y >> 8),
                        static_cast<char>(y & 0xFF)};
  return ::send(vnc_socket_, event, sizeof(event), MSG_NOSIGNAL) ==
         static_cast<ssize_t>(sizeof(event));
}

std::optional<QRect> SwaySession::WindowArea(const std::string& app_id) const {
  const QJsonDocument tree =
      QJsonDocument::fromJson(QByteArray::fromStdString(Message("get_tree")));
  return FindWindow(tree.object(), QString::fromStdString(app_id));
}

std::string SwaySession::Message(const std::string& type) const {
  return RunToEnd(Command({"swaymsg", "--raw", "--type", type}), "");
}

std::string SwaySession::Log() const { return sway_ ? sway_->Stderr() : ""; }
