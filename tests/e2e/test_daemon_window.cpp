// The rain inside a window that an X screen-saver daemon hands over in
// XSCREENSAVER_WINDOW; a window made here stands in for the daemon's. The
// saver draws only there, maps no window and takes no input of its own,
// follows the window's size, ends cleanly on the daemon's signals and when
// the window goes, and runs beside copies in other windows.
#include <gtest/gtest.h>
#include <signal.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "tests/e2e/display_fixture.h"
#include "tests/e2e/rain_picture.h"

namespace {

constexpr int kLeft = 100, kTop = 80, kWidth = 480, kHeight = 360;

class DaemonWindow : public OnDisplay<1024, 768> {
 protected:
  void SetUp() override {
    OnDisplay::SetUp();
    connection_ = xcb_connect(display().name().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(connection_), 0);
    window_ = AddWindow(kLeft, kTop, kWidth, kHeight);
  }
  void TearDown() override { xcb_disconnect(connection_); }

  // A mapped window as the daemon makes one: black, and out of the window
  // manager's hands.
  xcb_window_t AddWindow(int16_t left, int16_t top, uint16_t width, uint16_t height) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_window_t window = xcb_generate_id(connection_);
    const uint32_t values[] = {screen->black_pixel, 1};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen->root, left, top, width,
                      height, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(connection_, window);
    Sync();
    return window;
  }

  void Sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

  std::unique_ptr<Process> StartSaver() {
    WriteFile(install_.Ini(), SettingsFile("240", "0", "0", "10"));
    return StartSaverIn("XSCREENSAVER_WINDOW=" + std::to_string(window_));
  }

  // Runs /S with the variable as given ("XSCREENSAVER_WINDOW=..."), or
  // without it when empty.
  std::unique_ptr<Process> StartSaverIn(const std::string& variable) {
    std::vector<std::string> command{"env", "-u", "XSCREENSAVER_WINDOW"};
    if (!variable.empty()) command.push_back(variable);
    for (const std::string& part : install_.Command({"/S"})) command.push_back(part);
    return std::make_unique<Process>(command, display().name());
  }

  // Red pixels in the screen's rectangle.
  int RedIn(int left, int top, int width, int height) {
    const QImage shot = display().Screenshot().copy(left, top, width, height);
    return ReadRain(shot, kColumnPixels).lit_pixels[static_cast<int>(Channel::kRed)];
  }

  // Looks until more than the given number of red pixels show in the
  // rectangle, or a hung program's bound has passed; gives the last count.
  int WaitForRedIn(int left, int top, int width, int height, int more_than) {
    int lit = 0;
    WaitUntil([&] { return (lit = RedIn(left, top, width, height)) > more_than; });
    return lit;
  }

  xcb_window_t Focus() {
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr);
    const xcb_window_t focus = reply != nullptr ? reply->focus : XCB_NONE;
    std::free(reply);
    return focus;
  }

  bool KeyboardFree() {
    xcb_grab_keyboard_reply_t* reply =
        xcb_grab_keyboard_reply(connection_,
                                xcb_grab_keyboard(connection_, 0, window_, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr);
    const bool free = reply != nullptr && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    xcb_ungrab_keyboard(connection_, XCB_CURRENT_TIME);
    Sync();
    return free;
  }

  // The input events that any client selected on the window.
  uint32_t InputSelected() {
    constexpr uint32_t kInput = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                                XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                XCB_EVENT_MASK_POINTER_MOTION;
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window_), nullptr);
    const uint32_t selected = reply != nullptr ? reply->all_event_masks & kInput : ~0u;
    std::free(reply);
    return selected;
  }

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t window_ = XCB_NONE;
};

class DaemonSignals : public DaemonWindow, public testing::WithParamInterface<int> {};

TEST_P(DaemonSignals, RainsInTheWindowAloneAndEndsOnTheSignal) {
  const auto saver = StartSaver();
  EXPECT_GT(WaitForRedIn(kLeft, kTop, kWidth, kHeight, 500), 500) << saver->Stderr();
  const QImage shot = display().Screenshot();
  EXPECT_EQ(RedIn(0, 0, shot.width(), kTop), 0) << "nothing above the window";
  EXPECT_EQ(RedIn(kLeft + kWidth, 0, shot.width() - kLeft - kWidth, shot.height()), 0)
      << "nothing right of it";
  EXPECT_TRUE(display().VisibleWindows().empty()) << "no window of its own";
  EXPECT_TRUE(KeyboardFree()) << "no keyboard grab";
  EXPECT_EQ(InputSelected(), 0u) << "the daemon owns the input";
  display().Xdo({"mousemove", "300", "300", "click", "1", "key", "a"});
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(saver->Running()) << "the daemon owns the input";
  ::kill(saver->pid(), GetParam());
  EXPECT_EQ(saver->WaitExit(), 0) << saver->Stderr();
}

INSTANTIATE_TEST_SUITE_P(Signals, DaemonSignals, testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

TEST_F(DaemonWindow, FollowsTheWindowsSizeAndEndsWhenItGoes) {
  const auto saver = StartSaver();
  ASSERT_GT(WaitForRedIn(kLeft, kTop, kWidth, kHeight, 0), 0) << saver->Stderr();
  const uint32_t wider[] = {900, kHeight};
  xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                       wider);
  Sync();
  EXPECT_GT(WaitForRedIn(kLeft + kWidth + 20, kTop, 900 - kWidth - 20, kHeight, 0), 0)
      << "the row grows into the new width";
  xcb_destroy_window(connection_, window_);
  Sync();
  EXPECT_EQ(saver->WaitExit(), 0) << saver->Stderr();
}

// Its own window takes the keyboard's focus, and never a grab that would
// keep a locker out.
TEST_F(DaemonWindow, WithoutTheVariableItCoversTheScreenAsBefore) {
  Process saver = install_.Start(display(), {"/S"});
  const std::optional<std::string> rain = display().WaitForWindow();
  ASSERT_TRUE(rain) << saver.Stderr();
  EXPECT_GT(WaitForRedIn(0, 0, kLeft, 768, 0), 0) << "rain beside the other window too";
  EXPECT_TRUE(WaitUntil([&] { return Focus() == std::stoul(*rain); }))
      << "the full-screen window has the keyboard's focus";
  EXPECT_TRUE(KeyboardFree()) << "no keyboard grab";
}

// A set value that names no window (the daemon's window gone, or a value no
// daemon writes) ends the program with an error before it maps anything of
// its own; only an empty value or 0 means "no window".
struct GivenValue {
  const char* name;
  friend void PrintTo(const GivenValue& v, std::ostream* out) { *out << v.name; }
  const char* value;
  bool names_a_window;
};

class GivenValues : public DaemonWindow, public testing::WithParamInterface<GivenValue> {
 protected:
  // Every window mapped on the screen from now on reports to us.
  void WatchMaps() {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, screen->root, XCB_CW_EVENT_MASK, &events);
    Sync();
  }
  int MapsSeen() {
    Sync();
    int maps = 0;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
      if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) ++maps;
      std::free(event);
    }
    return maps;
  }
};

TEST_P(GivenValues, AValueNamingNoWindowEndsWithAnErrorAndMapsNothing) {
  const GivenValue& given = GetParam();
  WatchMaps();
  const auto saver = StartSaverIn(std::string("XSCREENSAVER_WINDOW=") + given.value);
  if (given.names_a_window) {
    EXPECT_TRUE(display().WaitForWindow()) << "no window means a window of its own";
    EXPECT_TRUE(saver->Running()) << saver->Stderr();
    return;
  }
  EXPECT_NE(saver->WaitExit(), 0);
  const std::string error = saver->Stderr();
  EXPECT_EQ(error, "kelvora: XSCREENSAVER_WINDOW names no window\n");
  EXPECT_EQ(MapsSeen(), 0) << "a window of its own was mapped";
  EXPECT_EQ(RedIn(0, 0, 1024, 768), 0) << "it rained somewhere";
}

INSTANTIATE_TEST_SUITE_P(
    Values, GivenValues,
    testing::Values(GivenValue{"NoSuchWindow", "0x1fffff1", false},
                    GivenValue{"BeyondAnyId", "0xFFFFFFFF", false},
                    GivenValue{"Negative", "-1", false}, GivenValue{"NotANumber", "none", false},
                    GivenValue{"TrailingText", "0x60000Fx", false}, GivenValue{"Empty", "", true},
                    GivenValue{"Zero", "0", true}),
    [](const testing::TestParamInfo<GivenValue>& info) { return info.param.name; });

// The daemon starts a copy for each monitor's window and one for its
// settings' preview: one running copy per window.
const std::string kDefaults = "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=10\n";
// Without the speed: a copy that gets past the copy test writes the defaults
// over it.
const std::string kWithoutSpeed = "[main]\nCOLOR1=0\n";

enum class Given { kNone, kFirstHex, kFirstDecimal, kSecondHex };

struct CopyCase {
  const char* name;
  friend void PrintTo(const CopyCase& c, std::ostream* out) { *out << c.name; }
  Given first;
  Given second;
  bool second_ends;
};

class OneCopyPerWindow : public DaemonWindow, public testing::WithParamInterface<CopyCase> {
 protected:
  void SetUp() override {
    DaemonWindow::SetUp();
    second_window_ = AddWindow(kLeft + kWidth, kTop, 200, 200);
  }

  std::string Variable(Given given) const {
    // The daemon writes 0x and upper-case hexadecimal digits.
    const auto hex = [](xcb_window_t window) {
      std::ostringstream text;
      text << "0x" << std::uppercase << std::hex << window;
      return text.str();
    };
    switch (given) {
      case Given::kFirstHex:
        return "XSCREENSAVER_WINDOW=" + hex(window_);
      case Given::kFirstDecimal:
        return "XSCREENSAVER_WINDOW=" + std::to_string(window_);
      case Given::kSecondHex:
        return "XSCREENSAVER_WINDOW=" + hex(second_window_);
      case Given::kNone:
        break;
    }
    return "";
  }

  xcb_window_t second_window_ = XCB_NONE;
};

TEST_P(OneCopyPerWindow, ASecondCopyEndsOnlyForTheSameWindow) {
  const CopyCase& c = GetParam();
  const auto first = StartSaverIn(Variable(c.first));
  // Its first-run write comes after its copy test.
  ASSERT_TRUE(WaitUntil([&] { return ReadFile(install_.Ini()) == kDefaults; })) << first->Stderr();
  WriteFile(install_.Ini(), kWithoutSpeed);

  const auto second = StartSaverIn(Variable(c.second));
  if (c.second_ends) {
    EXPECT_EQ(second->WaitExit(), 0) << second->Stderr();
    EXPECT_EQ(ReadFile(install_.Ini()), kWithoutSpeed) << "it ended before touching the file";
  } else {
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(install_.Ini()) == kDefaults; }))
        << second->Stderr();
    EXPECT_TRUE(second->Running());
  }
  EXPECT_TRUE(first->Running());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, OneCopyPerWindow,
    testing::Values(CopyCase{"SameWindow", Given::kFirstHex, Given::kFirstHex, true},
                    CopyCase{"SameWindowInDecimal", Given::kFirstHex, Given::kFirstDecimal, true},
                    CopyCase{"AnotherWindow", Given::kFirstHex, Given::kSecondHex, false},
                    CopyCase{"NoWindowBesideAWindow", Given::kFirstHex, Given::kNone, false},
                    CopyCase{"AWindowBesideNoWindow", Given::kNone, Given::kFirstHex, false}),
    [](const testing::TestParamInfo<CopyCase>& info) { return info.param.name; });

}  // namespace
