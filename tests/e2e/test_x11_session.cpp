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
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

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
    for (int x = 0; x < shot.width(); ++x)
      seen += (shot.pixel(x, y) & 0xFFFFFF) == (kDesktop & 0xFFFFFF);
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
  std::free(xcb_xfixes_query_version_reply(connection_, xcb_xfixes_query_version(connection_, 4, 0),
                                           nullptr));
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
  })) << shown
      << " pixels of the pointer show";
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

// An X server of the test's own choice (Xephyr nested in the virtual
// display, or an Xvfb started with other options), on a free display.
class OtherServer {
 public:
  OtherServer(std::vector<std::string> argv, const std::string& host_display)
      : server_(StartXServer(std::move(argv), host_display, name_)) {}
  ~OtherServer() {
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
  }

  const std::string& name() const { return name_; }
  // The window as its own visual shows it ("root" for the whole screen).
  QImage Screenshot(const std::string& window = "root") const {
    const std::string file = scratch_.File("shot.png");
    RunToEnd({"import", "-window", window, file}, name_);
    return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
  }

 private:
  std::string name_;  // before server_, which its start fills in
  pid_t server_ = -1;
  TempDir scratch_;
};

// A resizable Xephyr in a window of the virtual display: RandR changes of
// its screen's size follow that window's size, as a user drags its corner.
void ResizeXephyr(const VirtualDisplay& host, int width, int height) {
  std::string window = host.Xdo({"search", "--class", "Xephyr"});
  window = window.substr(0, window.find('\n'));
  host.Xdo({"windowsize", window, std::to_string(width), std::to_string(height)});
}

TEST_F(Session, AScreenGrownUnderTheRainIsCovered) {
  if (!OnPath("Xephyr")) GTEST_SKIP() << "Xephyr is not installed (apt-get install xserver-xephyr)";
  const OtherServer nested({"Xephyr", "-resizeable", "-screen", "800x600"}, display().name());
  GreyDesktop(nested.name());
  Process rain(install_.Command({"/S"}), nested.name());
  ASSERT_TRUE(WaitUntil([&] { return DesktopPixels(nested.Screenshot()) == 0; }))
      << "the rain never covered the screen\n"
      << rain.Stderr();
  ResizeXephyr(display(), 1280, 1024);
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

// A screen whose default visual is DirectColor also has TrueColor ones:
// the rain draws on one of those.
TEST_F(Session, ADirectColorDefaultScreenRains) {
  const OtherServer server({"Xvfb", "-screen", "0", "640x480x24", "-cc", "5"}, "");
  Process rain(install_.Command({"/S"}), server.name());
  std::string window;
  ASSERT_TRUE(WaitUntil([&] {
    std::istringstream ids(
        RunToEnd({"xdotool", "search", "--onlyvisible", "--class", "kelvora"}, server.name()));
    return static_cast<bool>(ids >> window);
  })) << rain.Stderr();
  RainPicture picture;
  EXPECT_TRUE(WaitUntil([&] {
    picture = ReadRain(server.Screenshot(window), kColumnPixels);
    return picture.lit_pixels[static_cast<int>(Channel::kRed)] > 500;
  })) << rain.Stderr();
  EXPECT_EQ(picture.lit_pixels[static_cast<int>(Channel::kGreen)] +
                picture.lit_pixels[static_cast<int>(Channel::kBlue)],
            0);
  EXPECT_TRUE(rain.Running()) << rain.Stderr();
}

// A daemon's window for input alone has nothing to draw in, and the words
// say so.
TEST_F(Session, AnInputOnlyDaemonWindowIsRefusedByName) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
  const xcb_window_t window = xcb_generate_id(connection_);
  xcb_create_window(connection_, 0, window, screen->root, 0, 0, 100, 100, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  xcb_map_window(connection_, window);
  Sync();
  Process rain(
      {"env", "XSCREENSAVER_WINDOW=" + std::to_string(window), install_.Executable(), "/S"},
      display().name());
  EXPECT_EQ(rain.WaitExit(), 1);
  EXPECT_NE(rain.Stderr().find("InputOnly"), std::string::npos) << rain.Stderr();
  xcb_destroy_window(connection_, window);
}

}  // namespace
