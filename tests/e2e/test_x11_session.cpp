// The rain on bare X as the session around it changes: no pointer over it,
// a screen that grows under it (RandR, in a resizable Xephyr), a keyboard
// map changed during it, and a rain covered and uncovered again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "tests/e2e/display_fixture.h"
#include "tests/e2e/rain_picture.h"
#include "tests/support/test_user.h"

namespace {

constexpr QRgb kDesktop = qRgb(0x80, 0x80, 0x80);

// The desktop grey, told apart from the rain's black and colours.
void GreyDesktop(const std::string& display) {
  RunToEnd({"xsetroot", "-solid", "#808080"}, display);
}

// Pixels of the picture in the desktop's grey.
int DesktopPixels(const QImage& shot) {
  int seen = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) seen += (shot.pixel(x, y) & 0xFFFFFF) == (kDesktop & 0xFFFFFF);
  }
  return seen;
}

class Session : public OnDisplay<1280, 1024> {
 protected:
  void SetUp() override {
    OnDisplay::SetUp();
    WriteFile(install_.Ini(), SettingsFile("240", "0", "0", "10"));
    GreyDesktop(display().name());
    connection_ = xcb_connect(display().name().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(connection_), 0);
  }
  void TearDown() override {
    if (connection_ != nullptr) xcb_disconnect(connection_);
  }

  std::unique_ptr<Process> StartRain(const std::string& on) {
    auto rain = std::make_unique<Process>(install_.Command({"/S"}), on);
    return rain;
  }

  void Sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

  xcb_connection_t* connection_ = nullptr;
};

TEST_F(Session, NoPointerShowsOverTheRain) {
  const auto rain = StartRain(display().name());
  ASSERT_TRUE(display().WaitForWindow()) << rain->Stderr();
  display().Xdo({"mousemove", "640", "512"});
  std::free(xcb_xfixes_query_version_reply(
      connection_, xcb_xfixes_query_version(connection_, 4, 0), nullptr));
  // The pointer's shape as the server shows it: every pixel clear.
  int shown = -1;
  EXPECT_TRUE(WaitUntil([&] {
    xcb_xfixes_get_cursor_image_reply_t* image = xcb_xfixes_get_cursor_image_reply(
        connection_, xcb_xfixes_get_cursor_image(connection_), nullptr);
    if (image == nullptr) return false;
    const uint32_t* pixels = xcb_xfixes_get_cursor_image_cursor_image(image);
    shown = 0;
    for (int i = 0; i < xcb_xfixes_get_cursor_image_cursor_image_length(image); ++i)
      shown += (pixels[i] >> 24) != 0;
    std::free(image);
    return shown == 0;
  })) << shown << " pixels of the pointer show";
  EXPECT_TRUE(rain->Running()) << rain->Stderr();
}

// xmodmap gives a key that had no symbol a character during the rain: the
// rain reads the new map, and that key ends it.
TEST_F(Session, AKeyGivenACharacterDuringTheRainEndsIt) {
  const auto rain = StartRain(display().name());
  ASSERT_TRUE(display().WaitForWindow()) << rain->Stderr();
  display().Xdo({"key", "F1"});  // the map as it stands is read
  RunToEnd({"xmodmap", "-e", "keycode 248 = ssharp"}, display().name());
  EXPECT_EQ(EndWith(*rain, [&] { display().Xdo({"key", "ssharp"}); }), 0) << rain->Stderr();
  RunToEnd({"xmodmap", "-e", "keycode 248 ="}, display().name());
}

// A window over the whole rain stops what nobody sees; once it goes, the
// rain goes on falling.
TEST_F(Session, ACoveredRainFallsAgainOnceUncovered) {
  const auto rain = StartRain(display().name());
  WaitForRain(display(), Channel::kRed, 500);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
  const xcb_window_t cover = xcb_generate_id(connection_);
  const uint32_t values[] = {screen->white_pixel, 1};
  xcb_create_window(connection_, XCB_COPY_FROM_PARENT, cover, screen->root, 0, 0,
                    screen->width_in_pixels, screen->height_in_pixels, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
  xcb_map_window(connection_, cover);
  Sync();
  std::this_thread::sleep_for(300ms);
  xcb_unmap_window(connection_, cover);
  Sync();
  const QImage uncovered = display().Screenshot();
  EXPECT_TRUE(WaitUntil([&] { return display().Screenshot() != uncovered; }))
      << "the rain stands still\n"
      << rain->Stderr();
  EXPECT_EQ(DesktopPixels(display().Screenshot()), 0) << "the rain does not cover the screen";
  EXPECT_TRUE(rain->Running()) << rain->Stderr();
  xcb_destroy_window(connection_, cover);
}

// A resizable Xephyr in its own window on the virtual display: RandR
// changes of its screen's size follow that window's size.
class NestedDisplay {
 public:
  NestedDisplay(const VirtualDisplay& host, int width, int height) : host_(host) {
    int ready[2];
    if (::pipe(ready) != 0) throw std::runtime_error("pipe failed");
    server_ = ::fork();
    if (server_ == 0) {
      ::close(ready[0]);
      const int null_fd = ::open("/dev/null", O_WRONLY);
      ::dup2(null_fd, STDOUT_FILENO);
      ::dup2(null_fd, STDERR_FILENO);
      ::setenv("DISPLAY", host.name().c_str(), 1);
      const std::string size = std::to_string(width) + "x" + std::to_string(height);
      const std::string fd = std::to_string(ready[1]);
      ::execlp("Xephyr", "Xephyr", "-displayfd", fd.c_str(), "-resizeable", "-screen",
               size.c_str(), "-ac", "-nolisten", "tcp", "-noreset", nullptr);
      ::_exit(127);
    }
    ::close(ready[1]);
    char c = 0;
    std::string number;
    for (;;) {
      const ssize_t got = ::read(ready[0], &c, 1);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0 || c == '\n') break;
      number += c;
    }
    ::close(ready[0]);
    if (number.empty()) throw std::runtime_error("Xephyr did not start");
    name_ = ":" + number;
  }
  ~NestedDisplay() {
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
  }

  const std::string& name() const { return name_; }
  QImage Screenshot() const {
    const std::string file = scratch_.File("shot.png");
    RunToEnd({"import", "-window", "root", file}, name_);
    return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
  }
  // Resizes Xephyr's window on the host, as a user drags its corner.
  void ResizeTo(int width, int height) const {
    std::string window = host_.Xdo({"search", "--class", "Xephyr"});
    window = window.substr(0, window.find('\n'));
    host_.Xdo({"windowsize", window, std::to_string(width), std::to_string(height)});
  }

 private:
  const VirtualDisplay& host_;
  pid_t server_ = -1;
  std::string name_;
  TempDir scratch_;
};

TEST_F(Session, AScreenGrownUnderTheRainIsCovered) {
  if (!OnPath("Xephyr"))
    GTEST_SKIP() << "Xephyr is not installed (apt-get install xserver-xephyr)";
  const NestedDisplay nested(display(), 800, 600);
  GreyDesktop(nested.name());
  Process rain(install_.Command({"/S"}), nested.name());
  ASSERT_TRUE(WaitUntil([&] { return DesktopPixels(nested.Screenshot()) == 0; }))
      << "the rain never covered the screen\n"
      << rain.Stderr();
  nested.ResizeTo(1280, 1024);
  int uncovered = -1;
  EXPECT_TRUE(WaitUntil([&] {
    const QImage shot = nested.Screenshot();
    uncovered = DesktopPixels(shot);
    return shot.width() == 1280 && shot.height() == 1024 && uncovered == 0;
  })) << uncovered
      << " pixels of the desktop show on the grown screen\n"
      << rain.Stderr();
  EXPECT_TRUE(rain.Running()) << rain.Stderr();
}

}  // namespace
