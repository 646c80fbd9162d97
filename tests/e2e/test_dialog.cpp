// The settings dialog of the real program: what it shows, and a choice made
// with the real mouse that the next rain uses.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "runtime/platform/os_services.h"
#include "tests/e2e/dialog_points.h"
#include "tests/e2e/display_fixture.h"
#include "tests/e2e/rain_picture.h"

namespace {

class Dialog : public OnDisplay<1024, 768> {
 protected:
  // Opens /C and gives the dialog's window id and client-area origin.
  std::unique_ptr<Process> OpenDialog(bool as_nobody = false,
                                      const std::vector<std::string>& launcher = {}) {
    std::vector<std::string> command = launcher;
    for (const std::string& part : install_.Command({"/C"})) command.push_back(part);
    auto dialog = std::make_unique<Process>(command, display().name(), as_nobody);
    const std::optional<std::string> window = display().WaitForWindow();
    EXPECT_TRUE(window) << dialog->Stderr();
    if (!window) return dialog;
    window_ = *window;
    const QRect geometry = display().WindowGeometry(window_);
    origin_ = geometry.topLeft();
    size_ = geometry.size();
    WaitUntilPainted();
    return dialog;
  }

  // Until the blue swatch of the colour frame shows: the dialog is drawn.
  void WaitUntilPainted() const {
    const auto deadline = std::chrono::steady_clock::now() + kHangBound;
    while ((PixelAt(display().Screenshot(), kBlueSwatch.x(), kBlueSwatch.y()) & 0xFFFFFF) !=
               0x0000FFu &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(100ms);
    }
  }

  // A click at a point of the client area, in pixels.
  void ClickAt(int x, int y) const {
    display().Xdo({"mousemove", std::to_string(origin_.x() + x), std::to_string(origin_.y() + y),
                   "click", "1"});
    std::this_thread::sleep_for(150ms);
  }

  QRgb PixelAt(const QImage& shot, int x, int y) const {
    return shot.pixel(origin_.x() + scale_ * x, origin_.y() + scale_ * y);
  }

  // Chooses blue and presses OK where the file can't be written: a message
  // shows over the dialog, which stays open with the file as it was.
  void ExpectOkOnUnwritableFile(Process& dialog, const std::string& before) const {
    ClickAt(kBlueOption.x(), kBlueOption.y());
    ClickAt(kOkButton.x(), kOkButton.y());
    std::string box;
    EXPECT_TRUE(WaitUntil([&] {
      for (const std::string& id : display().VisibleWindows())
        if (id != window_ && display().WindowName(id) == "kelvora") box = id;
      return !box.empty();
    })) << "a message";
    EXPECT_TRUE(dialog.Running()) << "the dialog stays";
    EXPECT_EQ(ReadFile(install_.Ini()), before);
    if (box.empty()) return;
    display().Xdo({"windowfocus", "--sync", box, "key", "Return"});
    // The caller's checks look at a dialog back at rest, its message gone.
    const auto shown = [&] {
      const std::vector<std::string> windows = display().VisibleWindows();
      return std::find(windows.begin(), windows.end(), box) != windows.end();
    };
    EXPECT_TRUE(WaitUntil([&] { return !shown(); })) << "Enter closes the message";
  }

  std::string window_;
  QPoint origin_;
  QSize size_;
  int scale_ = 1;  // of the design's pixels at 96 dots per inch
};

// Sets the desktop's font resolution, as xrdb does.
void SetXftDpi(const VirtualDisplay& display, int dpi) {
  xcb_connection_t* connection = xcb_connect(display.name().c_str(), nullptr);
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const std::string resources = "Xft.dpi:\t" + std::to_string(dpi) + "\n";
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, screen->root, XCB_ATOM_RESOURCE_MANAGER,
                      XCB_ATOM_STRING, 8, static_cast<uint32_t>(resources.size()),
                      resources.data());
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
  xcb_disconnect(connection);
}

TEST_F(Dialog, ShowsTheDesignCentredWithItsPictureAndColors) {
  const auto dialog = OpenDialog();
  ASSERT_FALSE(window_.empty());
  EXPECT_TRUE(display().WindowName(window_).starts_with("設定:.:::::..::::"));
  EXPECT_EQ(size_, kDialogSize);
  EXPECT_LE(std::abs(origin_.x() + 361 / 2 - 512), 2);
  EXPECT_LE(std::abs(origin_.y() + 202 / 2 - 384), 2);

  const QImage shot = display().Screenshot();
  EXPECT_EQ(PixelAt(shot, kGreenSwatch.x(), kGreenSwatch.y()) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(PixelAt(shot, kRedSwatch.x(), kRedSwatch.y()) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(PixelAt(shot, kBlueSwatch.x(), kBlueSwatch.y()) & 0xFFFFFF, 0x0000FFu);
  const QRgb background = PixelAt(shot, kBackground.x(), kBackground.y());
  EXPECT_GE(qRed(background), 210);
  EXPECT_LE(qRed(background), 235) << "the pale grey of the background picture";

  // Japanese captions are drawn: the speed names hold dark ink.
  int ink = 0;
  for (int y = 0; y < 17; ++y) {
    for (int x = 0; x < 29; ++x) {
      ink += qGray(PixelAt(shot, 16 + 172 + 24 + x, 8 + 16 + 44 + y)) < 100;
    }
  }
  EXPECT_GT(ink, 20) << "最速 is drawn";
  dialog->Kill();
}

// Sizes in twips make pixels at the display's resolution, as on Windows,
// and nothing scales them again.
TEST_F(Dialog, AtTwiceTheResolutionTheDesignIsTwiceAsLarge) {
  SetXftDpi(display(), 192);
  scale_ = 2;
  const auto dialog = OpenDialog();
  ASSERT_FALSE(window_.empty());
  EXPECT_LE(std::abs(size_.width() - 2 * 361), 2) << size_.width();
  EXPECT_LE(std::abs(size_.height() - 2 * 202), 2) << size_.height();
  const QImage shot = display().Screenshot();
  EXPECT_EQ(PixelAt(shot, kBlueSwatch.x(), kBlueSwatch.y()) & 0xFFFFFF, 0x0000FFu);
  dialog->Kill();
}

TEST_F(Dialog, AMouseChoiceIsStoredAndTheNextRainUsesIt) {
  const std::string before = "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=10\n";
  WriteFile(install_.Ini(), before);
  const auto dialog = OpenDialog();
  ASSERT_FALSE(window_.empty());
  ClickAt(kAddress.x(), kAddress.y());  // the web address does nothing
  EXPECT_TRUE(dialog->Running());
  EXPECT_EQ(ReadFile(install_.Ini()), before);

  ClickAt(kBlueOption.x(), kBlueOption.y());
  ClickAt(kNormalOption.x(), kNormalOption.y());
  ClickAt(kOkButton.x(), kOkButton.y());
  EXPECT_EQ(dialog->WaitExit(), 0) << "OK closes the only form";
  EXPECT_EQ(ReadFile(install_.Ini()), "[main]\nCOLOR1=0\nCOLOR2=0\nCOLOR3=240\nSP=200\n");

  display().Xdo({"mousemove", "500", "760"});
  Process rain(install_.Command({"/S"}), display().name());
  ASSERT_TRUE(display().WaitForWindow());
  // At 200 ms a tick, the columns take a few seconds to come down.
  const RainPicture picture = WaitForRain(display(), Channel::kBlue, 1000);
  EXPECT_GT(picture.lit_pixels[2], 1000) << "blue";
  EXPECT_EQ(picture.lit_pixels[0], 0);
  EXPECT_EQ(EndWith(rain, [&] { display().Xdo({"key", "a"}); }), 0);
}

TEST_F(Dialog, AColorThatIsNoNumberStopsWithError13AndWritesNothing) {
  const std::string file = "[main]\nCOLOR1=red\nCOLOR2=0\nCOLOR3=0\nSP=10\n";
  WriteFile(install_.Ini(), file);
  Process dialog(install_.Command({"/C"}), display().name());
  const std::optional<std::string> box = display().WaitForWindow();
  ASSERT_TRUE(box);
  EXPECT_EQ(display().WindowName(*box), "kelvora") << "the message, not the dialog";
  display().Xdo({"windowfocus", "--sync", *box, "key", "Return"});
  EXPECT_EQ(dialog.WaitExit(), 1);
  EXPECT_NE(dialog.Stderr().find("実行時エラー '13'"), std::string::npos);
  EXPECT_EQ(ReadFile(install_.Ini()), file);
}

// A file Notepad saved as "Unicode" (UTF-16 with its mark): read as text,
// and OK writes it back as UTF-16, every other line as it was.
TEST_F(Dialog, ANotepadUnicodeFileIsReadAndWrittenBackAsUnicode) {
  const auto utf16 = [](const std::u16string& text) {
    std::string out = "\xFF\xFE";
    for (const char16_t unit : text) {
      out += static_cast<char>(unit & 0xFF);
      out += static_cast<char>(unit >> 8);
    }
    return out;
  };
  WriteFile(install_.Ini(), utf16(u"; \u8A2D\u5B9A\r\n[main]\r\nCOLOR1=0\r\nCOLOR2=0\r\n"
                                  u"COLOR3=240\r\nSP=200\r\n"));
  std::unique_ptr<Process> dialog = OpenDialog();
  ASSERT_FALSE(window_.empty());
  // Enter on the first focus (Default) picks green and the fastest speed;
  // Tab, Enter is OK, which writes them.
  display().Xdo({"windowfocus", "--sync", window_, "key", "Return", "Tab", "Return"});
  EXPECT_EQ(dialog->WaitExit(), 0);
  EXPECT_EQ(ReadFile(install_.Ini()), utf16(u"; \u8A2D\u5B9A\r\n[main]\r\nCOLOR1=0\r\n"
                                            u"COLOR2=240\r\nCOLOR3=0\r\nSP=10\r\n"));
}

// The dialog's OK while another process writes keys of its own into the
// same file: both sets are there at the end, none lost to the other.
TEST_F(Dialog, OkWhileAnotherProcessWritesLosesNeitherSide) {
  WriteFile(install_.Ini(), SettingsFile("0", "0", "240", "200"));
  std::unique_ptr<Process> dialog = OpenDialog();
  ASSERT_FALSE(window_.empty());
  constexpr int kOtherKeys = 1000;
  const pid_t writer = ::fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    for (int i = 0; i < kOtherKeys; ++i)
      rt::WritePrivateProfileString("main", "OTHER" + std::to_string(i), "x", install_.Ini());
    ::_exit(0);
  }
  // Enter on the first focus (Default) picks green and the fastest speed;
  // Tab, Enter is OK, which writes them.
  display().Xdo({"windowfocus", "--sync", window_, "key", "Return", "Tab", "Return"});
  EXPECT_EQ(dialog->WaitExit(), 0);
  ::waitpid(writer, nullptr, 0);
  const std::string file = ReadFile(install_.Ini());
  for (const auto& [key, value] :
       {std::pair{"COLOR1", "0"}, {"COLOR2", "240"}, {"COLOR3", "0"}, {"SP", "10"}})
    EXPECT_EQ(rt::GetPrivateProfileString("main", key, "-", 256, install_.Ini()), value) << key;
  for (int i = 0; i < kOtherKeys; ++i) {
    ASSERT_EQ(
        rt::GetPrivateProfileString("main", "OTHER" + std::to_string(i), "-", 256, install_.Ini()),
        "x")
        << i;
  }
}

// An install for all users: red in a folder that only its owner can write.
class DialogForAllUsers : public Dialog {
 protected:
  std::string InstallForAllUsers() {
    const std::string settings = SettingsFile("240", "0", "0", "10");
    WriteFile(install_.Ini(), settings);
    std::filesystem::permissions(install_.folder(),
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    return settings;
  }
};

// An install for all users: a user can't write the program's folder, and OK
// says so in a message over the dialog, which stays open with the file as it
// was.
TEST_F(DialogForAllUsers, OkWhereTheUserMayNotWriteSaysSo) {
  const std::string before = InstallForAllUsers();
  const std::unique_ptr<Process> dialog = OpenDialog(/*as_nobody=*/true);
  ASSERT_FALSE(window_.empty());
  ExpectOkOnUnwritableFile(*dialog, before);
}

// A user who made the file read-only meant it: though the folder would let
// a new file take its place, OK says it could not save, and the file keeps
// its text and its mode.
TEST_F(Dialog, OkOnAReadOnlyFileSaysSoAndKeepsIt) {
  const std::string before = SettingsFile("240", "0", "0", "10");
  WriteFile(install_.Ini(), before);
  std::filesystem::permissions(install_.folder(), std::filesystem::perms::all);
  const auto read_only = std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                         std::filesystem::perms::others_read;
  std::filesystem::permissions(install_.Ini(), read_only);
  const std::unique_ptr<Process> dialog = OpenDialog(/*as_nobody=*/true);
  ASSERT_FALSE(window_.empty());
  ExpectOkOnUnwritableFile(*dialog, before);
  EXPECT_EQ(std::filesystem::status(install_.Ini()).permissions(), read_only);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(install_.folder()),
                          std::filesystem::directory_iterator()),
            2)
      << "the program and its file, nothing beside them";
}

// A disk with no room left: OK says it could not save, the old file stays
// whole and nothing is left beside it.
TEST_F(Dialog, OkOnAFullDiskSaysSoAndKeepsTheOldFile) {
  const std::string folder = install_.folder().string();
  if (::geteuid() != 0 || ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=24m,mode=0755") != 0)
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  std::filesystem::copy_file(KELVORA_EXE, install_.Executable());
  const std::string before =
      "[main]\n; " + std::string(20000, 'x') + "\n" + SettingsFile("240", "0", "0", "10");
  WriteFile(install_.Ini(), before);
  {
    std::ofstream filler(folder + "/filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), block.size())) {
    }
  }
  {
    const std::unique_ptr<Process> dialog = OpenDialog();
    if (!window_.empty()) ExpectOkOnUnwritableFile(*dialog, before);
    dialog->Kill();
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            3)
      << "the program, its file and the filler";
  ::umount2(folder.c_str(), MNT_DETACH);
}

// The same install where the user has a settings home: OK saves the choice
// in the user's own copy, the program's folder stays as it was, and the
// next rain falls in the chosen colour.
TEST_F(DialogForAllUsers, OkWhereTheUserMayNotWriteSavesPerUser) {
  const std::string before = InstallForAllUsers();
  TempDir config;
  std::filesystem::permissions(config.path(), std::filesystem::perms::all);
  const std::vector<std::string> user_config{"env", "XDG_CONFIG_HOME=" + config.File("home")};
  const std::unique_ptr<Process> dialog = OpenDialog(/*as_nobody=*/true, user_config);
  ASSERT_FALSE(window_.empty());
  ClickAt(kBlueOption.x(), kBlueOption.y());
  ClickAt(kOkButton.x(), kOkButton.y());
  EXPECT_EQ(dialog->WaitExit(), 0) << dialog->Stderr();
  EXPECT_EQ(ReadFile(install_.Ini()), before);
  EXPECT_EQ(ReadFile(config.File("home/kelvora/kelvora.ini")), SettingsFile("0", "0", "240", "10"));

  std::vector<std::string> rain = user_config;
  for (const std::string& part : install_.Command({"/S"})) rain.push_back(part);
  Process saver(rain, display().name(), /*as_nobody=*/true);
  const RainPicture picture = WaitForRain(display(), Channel::kBlue, 300);
  EXPECT_GT(picture.lit_pixels[2], 300) << "blue" << saver.Stderr();
  EXPECT_EQ(picture.lit_pixels[0], 0) << "no red";
}

}  // namespace
