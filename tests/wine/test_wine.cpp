// The Windows screen saver (kelvora.scr) under Wine on a virtual display:
// the command line, the settings file, the second copy, the rain and the
// dialog. (Our Linux reader against Windows' own functions: see
// test_windows_functions.cpp.)
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "runtime/forms/key_press.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/rain_picture.h"
#include "tests/qt/focus_mark.h"

namespace {

const std::string kDefaults = "[main]\r\nCOLOR1=240\r\nCOLOR2=0\r\nCOLOR3=0\r\nSP=10\r\n";

template <int kWidth, int kHeight>
class OnWine : public testing::Test {
 protected:
  // Wine's desktop process lives with its server and stays on the display it
  // started on; each test starts from no server, so that its programs' screen
  // is its own display.
  static void SetUpTestSuite() {
    RunToEnd({"wineserver", "-k"}, "");
    display_ = std::make_unique<VirtualDisplay>(kWidth, kHeight);
  }
  static void TearDownTestSuite() {
    RunToEnd({"wineserver", "-k"}, "");
    display_.reset();
  }
  void SetUp() override { ASSERT_NE(display_, nullptr); }
  static const VirtualDisplay& display() { return *display_; }

  // Starts /S and waits until its window covers the screen: under Wine the
  // first row takes a while, and the Load handler maximizes only after it.
  std::unique_ptr<Process> StartSaver(std::string& window) {
    auto saver = std::make_unique<Process>(install_.Command({"/S"}), display().name());
    const std::optional<std::string> found = FullScreenWindow();
    if (!found) {
      ADD_FAILURE() << "the saver's window never covered the screen" << saver->Stderr();
      return nullptr;
    }
    window = *found;
    return saver;
  }

  // Of the program's visible X windows, the one that covers the screen.
  static std::optional<std::string> FullScreenWindow() {
    const std::string size = std::to_string(kWidth) + "x" + std::to_string(kHeight);
    const auto deadline = std::chrono::steady_clock::now() + kHangBound;
    while (std::chrono::steady_clock::now() < deadline) {
      for (const std::string& window : display().VisibleWindows()) {
        if (display().Xdo({"getwindowgeometry", window}).find(size) != std::string::npos) {
          return window;
        }
      }
      std::this_thread::sleep_for(200ms);
    }
    return std::nullopt;
  }

  // The client area's origin on the screen of the dialog's window, once the
  // dialog is drawn: the blue swatch of the colour frame shows.
  static std::pair<int, int> DrawnDialogOrigin(const std::string& window) {
    const QRect geometry = display().WindowGeometry(window);
    const int x = geometry.x(), y = geometry.y();
    const auto deadline = std::chrono::steady_clock::now() + kHangBound;
    while ((display().Screenshot().pixel(x + 16 + 12 + 100 + 11, y + 8 + 16 + 40 + 7) & 0xFFFFFF) !=
               0x0000FFu &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(200ms);
    }
    return {x, y};
  }

  // Opens /C, picks blue and "普通" with the mouse and presses OK; gives the
  // dialog's exit status.
  static std::optional<int> ChooseBlueAndNormal(const Installation& install) {
    Process dialog = install.Start(display(), {"/C"});
    const std::optional<std::string> window = display().WaitForWindow();
    if (!window) {
      ADD_FAILURE() << "no dialog: " << dialog.Stderr();
      return std::nullopt;
    }
    const auto [x, y] = DrawnDialogOrigin(*window);
    const auto click = [&](int cx, int cy) {
      display().Xdo({"mousemove", std::to_string(x + cx), std::to_string(y + cy), "click", "1"});
      std::this_thread::sleep_for(300ms);
    };
    click(16 + 12 + 104 + 11, 8 + 16 + 20 + 9);  // blue
    click(16 + 172 + 100 + 8, 8 + 16 + 24 + 6);  // "普通"
    click(224 + 29, 176 + 10);                   // OK
    return dialog.WaitExit();
  }

  Installation install_{KELVORA_SCR, {"wine"}};

 private:
  static inline std::unique_ptr<VirtualDisplay> display_;
};

using Wine = OnWine<1024, 768>;
// Narrower than the first row (6555 twips): no rebuild, so no hiding.
using WineNarrowScreen = OnWine<430, 600>;

TEST_F(Wine, SwitchesShowTheRainTheDialogOrNothing) {
  for (const auto& [arguments, caption] :
       {std::pair<std::vector<std::string>, std::string>{{"/p", "42"}, ""},
        {{}, ""},
        {{"/A"}, ""}}) {
    Process run = install_.Start(display(), arguments);
    EXPECT_EQ(run.WaitExit(), 0);
  }
  EXPECT_TRUE(display().VisibleWindows().empty());
  EXPECT_EQ(ReadFile(install_.Ini()), kDefaults) << "the first run wrote the defaults";
  for (const auto& [argument, dialog] : {std::pair{"/c:42", true}, std::pair{"/SETTINGS", false}}) {
    Process run = install_.Start(display(), {argument});
    const std::optional<std::string> window = display().WaitForWindow();
    ASSERT_TRUE(window) << argument;
    EXPECT_EQ(display().WindowName(*window).starts_with("設定"), dialog) << argument;
    run.Kill();
    std::this_thread::sleep_for(500ms);
  }
}

TEST_F(Wine, ASecondCopyEndsWithoutTouchingTheFile) {
  WriteFile(install_.Ini(), SettingsFile("240", "0", "0", "200"));
  Process first = install_.Start(display(), {"/S"});
  ASSERT_TRUE(display().WaitForWindow());
  const std::string would_be_rewritten = "[main]\r\nCOLOR1=0\r\n";
  WriteFile(install_.Ini(), would_be_rewritten);
  Process second = install_.Start(display(), {"/P"});
  EXPECT_EQ(second.WaitExit(), 0);
  EXPECT_EQ(ReadFile(install_.Ini()), would_be_rewritten);
  EXPECT_TRUE(first.Running());
}

// On a screen narrower than the first row there is no rebuild: the colour is
// seen as the first row falls.
TEST_F(WineNarrowScreen, TheRainFallsInItsColor) {
  WriteFile(install_.Ini(), SettingsFile("0", "0", "240", "200"));
  display().Xdo({"mousemove", "100", "590"});
  std::string window;
  const std::unique_ptr<Process> saver = StartSaver(window);
  ASSERT_TRUE(saver);
  const RainPicture picture = WaitForRain(display(), Channel::kBlue, 300);
  EXPECT_GT(picture.lit_pixels[2], 300) << "blue";
  EXPECT_EQ(picture.lit_pixels[0], 0);
  EXPECT_TRUE(saver->Running());
}

// At 0 ms no tick runs: the window stays as Load left it, full screen.
TEST_F(Wine, ItEndsOnAKeyOrAQuickMove) {
  WriteFile(install_.Ini(), SettingsFile("0", "0", "240", "0"));
  std::string window;
  {
    const std::unique_ptr<Process> saver = StartSaver(window);
    ASSERT_TRUE(saver);
    // Without a window manager nothing gives the X focus to Wine's window.
    EXPECT_EQ(EndWith(*saver,
                      [&] {
                        display().Xdo({"windowfocus", "--sync", window, "key", "a"});
                      }),
              0)
        << saver->Stderr();
  }
  display().Xdo({"mousemove", "100", "760"});
  const std::unique_ptr<Process> saver = StartSaver(window);
  ASSERT_TRUE(saver);
  std::this_thread::sleep_for(500ms);
  display().Xdo({"mousemove", "103", "760"});
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(saver->Running()) << "3 pixels are under a quick move";
  int x = 103;
  EXPECT_EQ(EndWith(*saver,
                    [&] {
                      x += 4;
                      display().Xdo({"mousemove", std::to_string(x), "760"});
                    }),
            0)
      << saver->Stderr();
}

// Keys that post no WM_CHAR and the back and forward buttons raise nothing;
// a right-button press still ends it.
TEST_F(Wine, KeysWithoutACharacterAndExtraButtonsLeaveItRunning) {
  WriteFile(install_.Ini(), SettingsFile("0", "0", "240", "0"));
  display().Xdo({"mousemove", "500", "400"});
  std::string window;
  const std::unique_ptr<Process> saver = StartSaver(window);
  ASSERT_TRUE(saver);
  display().Xdo({"windowfocus", "--sync", window, "key", "Delete", "shift+Delete", "alt+a",
                 "Insert", "F5", "Left"});
  display().Xdo({"click", "8", "click", "9"});
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(saver->Running()) << saver->Stderr();
  EXPECT_EQ(EndWith(*saver, [&] { display().Xdo({"click", "3"}); }), 0) << saver->Stderr();
}

// Windows' own answer, from GetCursorInfo in a probe: no pointer over the
// rain, while the dialog keeps its arrow.
TEST_F(Wine, NoPointerShowsOverTheRain) {
  WriteFile(install_.Ini(), SettingsFile("0", "0", "240", "0"));
  const auto pointer_shows = [&] {
    Process probe({"wine", KELVORA_CURSOR_PROBE}, display().name());
    EXPECT_EQ(probe.WaitExit(), 0) << probe.Stderr();
    return probe.Stdout().starts_with("1");
  };
  display().Xdo({"mousemove", "500", "400"});
  std::string window;
  {
    const std::unique_ptr<Process> saver = StartSaver(window);
    ASSERT_TRUE(saver);
    // A move of a pixel, under a quick move, as a resting hand makes.
    display().Xdo({"windowfocus", "--sync", window, "mousemove", "501", "400"});
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(pointer_shows());
    EXPECT_TRUE(saver->Running()) << saver->Stderr();
  }
  Process dialog = install_.Start(display(), {"/C"});
  const std::optional<std::string> found = display().WaitForWindow();
  ASSERT_TRUE(found) << dialog.Stderr();
  display().Xdo({"windowfocus", "--sync", *found, "mousemove", "--window", *found, "60", "60"});
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(pointer_shows()) << "the dialog's arrow";
}

TEST_F(Wine, TheDialogStoresAChoiceMadeWithTheMouse) {
  WriteFile(install_.Ini(), SettingsFile("240", "0", "0", "10"));
  EXPECT_EQ(ChooseBlueAndNormal(install_), 0);
  // Windows writes its line ends.
  EXPECT_EQ(ReadFile(install_.Ini()), "[main]\r\nCOLOR1=0\r\nCOLOR2=0\r\nCOLOR3=240\r\nSP=200\r\n");
}

// One line of the accessibility probe: a window as oleacc reads it.
struct AccessibleLine {
  std::string window_class, caption, result, name;
};

std::vector<AccessibleLine> AccessibleLines(const std::string& text) {
  std::vector<AccessibleLine> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    std::istringstream fields(line);
    AccessibleLine read;
    std::getline(fields, read.window_class, '\t');
    std::getline(fields, read.caption, '\t');
    std::getline(fields, read.result, '\t');
    std::getline(fields, read.name, '\t');
    lines.push_back(read);
  }
  return lines;
}

// What a screen reader reads of the dialog through oleacc. Where the system
// serves dynamic annotation, as Windows does, each option button reads as
// the label under it and the window as 設定. Wine 8 makes the service but
// answers SetHwndPropStr with E_NOTIMPL (its stub) and reads every window by
// its caption: there the rest holds, that the service is made and every
// control of the dialog answers AccessibleObjectFromWindow.
TEST_F(Wine, TheDialogsNamesReachTheAccessibilityLayerWhereItServesThem) {
  const std::vector<std::string> probe = {"env", "LC_ALL=C.UTF-8", "wine",
                                          KELVORA_ACCESSIBLE_PROBE};
  std::vector<std::string> annotate = probe;
  annotate.insert(annotate.end(), {"--annotate", "最速"});
  Process own(annotate, display().name());
  ASSERT_EQ(own.WaitExit(), 0) << own.Stderr();
  const std::string out = own.Stdout();
  const size_t first_line_end = out.find('\n');
  std::istringstream results(out.substr(0, first_line_end));
  std::string made, annotated;
  results >> made >> annotated;
  EXPECT_EQ(made, "00000000") << "the annotation service is there";
  const bool served = annotated == "00000000";
  if (!served) {
    EXPECT_EQ(annotated, "80004001") << "anything but Wine's stub is a fault";
  }
  const std::vector<AccessibleLine> own_button = AccessibleLines(out.substr(first_line_end + 1));
  ASSERT_EQ(own_button.size(), 1u) << out;
  EXPECT_EQ(own_button[0].name, served ? "最速" : "Option2");

  Process dialog = install_.Start(display(), {"/C"});
  ASSERT_TRUE(display().WaitForWindow()) << dialog.Stderr();
  std::vector<std::string> read = probe;
  read.push_back("設定");
  Process reader(read, display().name());
  ASSERT_EQ(reader.WaitExit(), 0) << reader.Stderr();
  const std::vector<AccessibleLine> lines = AccessibleLines(reader.Stdout());
  ASSERT_FALSE(lines.empty());
  std::multiset<std::string> options;  // the names of the option buttons
  for (const AccessibleLine& line : lines) {
    EXPECT_EQ(line.result, "00000000") << line.window_class << " " << line.caption;
    if (line.window_class == "Button" && (line.caption.empty() || line.caption == "Option2")) {
      options.insert(line.name);
    }
  }
  EXPECT_EQ(options.size(), 6u) << reader.Stdout();
  if (served) {
    EXPECT_EQ(lines.front().name, "設定");
    EXPECT_EQ(options, (std::multiset<std::string>{"緑", "赤", "青", "最速", "早い", "普通"}));
  }
  dialog.Kill();
}

// The option buttons are only as wide as their mark, so Windows' focus
// rectangle around their clipped captions would show nothing: it goes round
// the button itself. Tab from Default reaches OK, Cancel, then the colour
// group (red is stored) and the speed group (10 ms, the fastest).
TEST_F(Wine, TheFocusShowsOnTheOptionGroups) {
  WriteFile(install_.Ini(), kDefaults);
  Process dialog = install_.Start(display(), {"/C"});
  const std::optional<std::string> window = display().WaitForWindow();
  ASSERT_TRUE(window) << dialog.Stderr();
  const auto [x, y] = DrawnDialogOrigin(*window);
  const QRect red(x + 16 + 12 + 68, y + 8 + 16 + 20, 22, 19);
  const QRect fastest(x + 16 + 172 + 28, y + 8 + 16 + 24, 17, 13);
  const auto tab_onto = [&](const QRect& place, const QImage& before) {
    display().Xdo({"windowfocus", "--sync", *window, "key", "Tab"});
    QImage after;
    WaitUntil([&] {
      after = display().Screenshot().copy(place);
      return after != before;
    });
    return after;
  };
  display().Xdo({"windowfocus", "--sync", *window, "key", "Tab", "key", "Tab"});
  const QImage red_before = display().Screenshot().copy(red);
  const QImage red_focused = tab_onto(red, red_before);
  const QImage fastest_before = display().Screenshot().copy(fastest);
  const QImage fastest_focused = tab_onto(fastest, fastest_before);
  EXPECT_GE(MarkPixels(red_before, red_focused), 20) << "the colour group";
  EXPECT_GE(MarkPixels(fastest_before, fastest_focused), 20) << "the speed group";
  dialog.Kill();
}

// A .scr in a folder that refuses the user's writes (mounted read-only here,
// which Wine reports as Windows reports a protected folder): the choice goes
// to the user's own copy, %LOCALAPPDATA%\kelvora\kelvora.ini, the file beside
// the program stays as it was, and the next /S rains in the chosen colour.
// Wine's server opens the files, so it is started anew inside the mount
// namespace of each run, and ended afterwards.
TEST_F(Wine, AProtectedFolderKeepsTheSettingsPerUser) {
  const Installation protected_install{
      KELVORA_SCR,
      {"unshare", "--mount", "--propagation", "private", "sh", "-c",
       "wineserver -k; wineserver -w; mount --bind -o ro \"${1%/*}\" \"${1%/*}\" && "
       "exec wine \"$@\"",
       "sh"}};
  const std::string before = SettingsFile("240", "0", "0", "10");
  WriteFile(protected_install.Ini(), before);
  const std::string copy = std::string(std::getenv("WINEPREFIX")) + "/drive_c/users/" +
                           ::getpwuid(::geteuid())->pw_name + "/AppData/Local/kelvora/kelvora.ini";
  std::filesystem::remove(copy);

  EXPECT_EQ(ChooseBlueAndNormal(protected_install), 0);
  EXPECT_EQ(ReadFile(protected_install.Ini()), before) << "beside the program: as it was";
  EXPECT_EQ(ReadFile(copy), "[main]\r\nCOLOR1=0\r\nCOLOR2=0\r\nCOLOR3=240\r\nSP=200\r\n");

  display().Xdo({"mousemove", "100", "760"});
  const auto saver = std::make_unique<Process>(protected_install.Command({"/S"}), display().name());
  const RainPicture picture = WaitForRain(display(), Channel::kBlue, 300);
  EXPECT_GT(picture.lit_pixels[2], 300) << "blue" << saver->Stderr();
  EXPECT_EQ(picture.lit_pixels[0], 0) << "no red";
  std::filesystem::remove(copy);
  RunToEnd({"wineserver", "-k"}, "");
}

// Hostile settings under Windows' own file functions: the run-time error
// and status 1 once the message is read, or a rain that runs; nothing written.
struct HostileCase {
  const char* name;
  std::string file;  // empty: kelvora.ini is a folder
  int error;         // 0: it runs
  friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
};

class WineHostileSettings : public Wine, public testing::WithParamInterface<HostileCase> {};

TEST_P(WineHostileSettings, RunOrStopWithTheMessageAndWriteNothing) {
  const HostileCase& c = GetParam();
  if (c.file.empty()) {
    std::filesystem::create_directory(install_.Ini());
  } else {
    WriteFile(install_.Ini(), c.file);
  }
  Process saver = install_.Start(display(), {"/S"});
  const std::optional<std::string> window = display().WaitForWindow();
  ASSERT_TRUE(window) << saver.Stderr();
  if (c.error != 0) {
    EXPECT_EQ(display().WindowName(*window), "kelvora") << "the message";
    display().Xdo({"windowfocus", "--sync", *window, "key", "Return"});
    EXPECT_EQ(saver.WaitExit(), 1);
  } else {
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(saver.Running()) << saver.Stderr();
    saver.Kill();
  }
  if (c.file.empty()) {
    EXPECT_TRUE(std::filesystem::is_directory(install_.Ini()));
    EXPECT_TRUE(std::filesystem::is_empty(install_.Ini()));
  } else {
    EXPECT_EQ(ReadFile(install_.Ini()), c.file);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, WineHostileSettings,
    testing::Values(HostileCase{"SpeedNegative", SettingsFile("240", "0", "0", "-1"), 380},
                    HostileCase{"ColorPastALong", SettingsFile("99999999999", "0", "0", "10"), 6},
                    HostileCase{"SpeedLetters", SettingsFile("240", "0", "0", "fast"), 13},
                    // Numbers as OLE Automation reads them.
                    HostileCase{"SpeedInParentheses", SettingsFile("240", "0", "0", "(5)"), 380},
                    HostileCase{"ColorThousands", SettingsFile("1,000", "0", "0", "10"), 0},
                    HostileCase{"PathIsAFolder", "", 0},
                    HostileCase{"FiftyMegabytes",
                                "[other]\r\n" + std::string(50'000'000, ';') +
                                    "\r\n[main]\r\nCOLOR1=0\r\nCOLOR2=240\r\nCOLOR3=0\r\nSP=10\r\n",
                                0}),
    [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

// Every key of a US keyboard but the keypad, as Windows numbers them.
std::vector<int> VirtualKeys() {
  std::vector<int> keys{0x08, 0x09, 0x0D, 0x1B, 0x20, 0x21, 0x22, 0x23, 0x24, 0x2D, 0x2E};
  for (int key = 0x25; key <= 0x28; ++key) keys.push_back(key);  // arrows
  for (int key = '0'; key <= '9'; ++key) keys.push_back(key);
  for (int key = 'A'; key <= 'Z'; ++key) keys.push_back(key);
  for (int key = 0x70; key <= 0x7B; ++key) keys.push_back(key);  // F1..F12
  for (int key = 0xBA; key <= 0xC0; ++key) keys.push_back(key);  // ; = , - . / `
  for (int key = 0xDB; key <= 0xDE; ++key) keys.push_back(key);  // [ \ ] '
  return keys;
}

// What a Linux backend reports for the key: its kind and the character it
// gives with Shift alone.
rt::native::Key KindOf(int virtual_key, int character) {
  switch (virtual_key) {
    case 0x08:
      return rt::native::Key::kBackspace;
    case 0x09:
      return rt::native::Key::kTab;
    case 0x0D:
      return rt::native::Key::kEnter;
    case 0x1B:
      return rt::native::Key::kEscape;
    case 0x2D:
      return rt::native::Key::kInsert;
    case 0x2E:
      return rt::native::Key::kDelete;
    default:
      return character != 0 ? rt::native::Key::kCharacter : rt::native::Key::kNoCharacter;
  }
}

// Windows' own answer for every key with every mix of Shift, Ctrl and Alt,
// against the forms layer's KeyPress rule.
TEST_F(Wine, KeyPressArisesWhereWindowsPostsACharacter) {
  std::vector<std::string> probe_command{"wine", KELVORA_KEY_PROBE};
  const std::vector<int> keys = VirtualKeys();
  for (int key : keys) {
    for (int modifiers = 0; modifiers < 8; ++modifiers) {
      probe_command.push_back(std::to_string(key * 8 + modifiers));
    }
  }
  Process probe(probe_command, display().name());
  ASSERT_EQ(probe.WaitExit(60s), 0) << probe.Stderr();
  std::istringstream answers(probe.Stdout());
  size_t compared = 0;
  for (int test = 0, character = 0, posted = 0; answers >> test >> character >> posted;) {
    const int key = test / 8, modifiers = test % 8;
    const rt::native::KeyStroke stroke{
        KindOf(key, character),
        static_cast<char32_t>(character),
        {(modifiers & 1) != 0, (modifiers & 2) != 0, (modifiers & 4) != 0}};
    const std::optional<char32_t> windows =
        posted < 0 ? std::nullopt : std::optional<char32_t>(static_cast<char32_t>(posted));
    EXPECT_EQ(rt::KeyPressCharacter(stroke), windows)
        << "virtual key 0x" << std::hex << key << std::dec << ", Shift/Ctrl/Alt bits " << modifiers;
    ++compared;
  }
  EXPECT_EQ(compared, keys.size() * 8);
}

}  // namespace
