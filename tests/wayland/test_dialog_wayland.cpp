// The settings dialog on a Wayland compositor with no X display at all: Qt's
// own Wayland plugin shows it at the pixel sizes of Windows at 96 dots per
// inch, which the compositor scales on a scaled output, the keyboard
// reaches its buttons, the focus shows, and the window is of fixed size.
#include <gtest/gtest.h>

#include "tests/e2e/dialog_points.h"
#include "tests/qt/focus_mark.h"
#include "tests/support/sway_session.h"

namespace {

// The parameter is the output's scale.
class WaylandDialog : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!SwaySession::Available()) GTEST_SKIP() << SwaySession::kSkipMessage;
    ASSERT_TRUE(session_.Start()) << session_.Log();
    // A keyboard for the whole test, as a real session has, so that the
    // dialog binds it as it starts. Each wtype that types plugs in a keyboard
    // of its own; were it the seat's first, its keys would go nowhere until
    // the dialog had bound it anew.
    keyboard_ = session_.Run({"wtype", "-s", "600000"});
    ASSERT_TRUE(WaitUntil([&] {
                  return !keyboard_->Running() ||
                         session_.Message("get_inputs").find("\"type\": \"keyboard\"") !=
                             std::string::npos;
                }) &&
                keyboard_->Running())
        << keyboard_->Stderr();
    // The user runs the program from a folder it may read but not write.
    WriteFile(install_.Ini(), kSettings);
  }

  // Types while the dialog is held still: the keys wait in order in its
  // connection, however slow the machine.
  bool TypeHeldStill(Process& dialog, const std::vector<std::string>& keys) const {
    const HeldStill held(dialog);
    return session_.Type(keys);
  }

  // Opens /C and waits until the dialog is drawn: its blue swatch shows.
  std::unique_ptr<Process> OpenDialog(const std::vector<std::string>& environment = {}) {
    auto dialog = session_.Run(install_.Command({"/C"}), environment);
    const bool drawn = WaitUntil([&] {
      area_ = session_.WindowArea(kMenuEntry).value_or(QRect());
      return !dialog->Running() ||
             (!area_.isEmpty() && Pixel(session_.Screenshot(), kBlueSwatch) == 0x0000FFu);
    });
    EXPECT_TRUE(drawn && dialog->Running()) << dialog->Stderr();
    return dialog;
  }

  // A point of the dialog's client area in the screenshot, which grim takes
  // in the output's own pixels.
  QRgb Pixel(const QImage& shot, QPoint point) const {
    return shot.pixel((area_.topLeft() + point) * GetParam()) & 0xFFFFFF;
  }

  // The app id names the menu entry, so that the desktop shows the window
  // as the entry's.
  // A place of the client area in the screenshot.
  QImage Around(const QImage& shot, QRect place) const {
    return shot.copy(
        QRect((area_.topLeft() + place.topLeft()) * GetParam(), place.size() * GetParam()));
  }

  static constexpr char kMenuEntry[] = "kelvora-settings";
  static constexpr char kSettings[] = "[main]\nCOLOR1=0\nCOLOR2=0\nCOLOR3=240\nSP=200\n";
  SwaySession session_{{.scale = GetParam()}};
  std::unique_ptr<Process> keyboard_;
  Installation install_;
  QRect area_;
};

TEST_P(WaylandDialog, ShowsWithoutXAtItsPixelSizes) {
  const auto dialog = OpenDialog();
  ASSERT_FALSE(area_.isEmpty());
  EXPECT_EQ(area_.size(), kDialogSize);
  const QImage shot = session_.Screenshot();
  EXPECT_EQ(Pixel(shot, kGreenSwatch), 0x00FF00u);
  EXPECT_EQ(Pixel(shot, kRedSwatch), 0xFF0000u);
  const QRgb background = Pixel(shot, kBackground);
  EXPECT_GE(qRed(background), 210);
  EXPECT_LE(qRed(background), 235) << "the pale grey of the background picture";
}

// From the first focus (Default), Tab twice reaches Cancel: it ends the
// program and stores nothing, though Default changed the choice.
TEST_P(WaylandDialog, EndsOnCancelAndStoresNothing) {
  const auto dialog = OpenDialog();
  ASSERT_FALSE(area_.isEmpty());
  ASSERT_TRUE(TypeHeldStill(*dialog, {"-k", "Return", "-k", "Tab", "-k", "Tab", "-k", "Return"}));
  EXPECT_EQ(dialog->WaitExit(), 0) << dialog->Stderr();
  EXPECT_EQ(ReadFile(install_.Ini()), kSettings);
}

// The window's least and greatest sizes are its own size, so that nothing
// offers to maximise it. The focus on Default shows: Tab takes a mark away
// from it of at least 20 pixels at 3:1.
TEST_P(WaylandDialog, IsOfFixedSizeAndShowsWhereTheFocusIs) {
  const auto dialog = OpenDialog({"WAYLAND_DEBUG=1"});
  ASSERT_FALSE(area_.isEmpty());
  const std::string size =
      std::to_string(kDialogSize.width()) + ", " + std::to_string(kDialogSize.height()) + ")";
  const std::string requests = dialog->Stderr();
  EXPECT_NE(requests.find(".set_min_size(" + size), std::string::npos) << requests;
  EXPECT_NE(requests.find(".set_max_size(" + size), std::string::npos);

  // The mark shows once the compositor has made the window active, which
  // may come after its first picture: each look waits for the mark to come
  // where Tab takes it, to OK, and four stops on back to Default.
  constexpr QRect kDefault{16 + 252, 8 + 92, 74, 19};
  constexpr QRect kOk{224, 176, 58, 20};
  const QImage first = session_.Screenshot();
  ASSERT_TRUE(TypeHeldStill(*dialog, {"-k", "Tab"}));
  QImage unfocused;
  ASSERT_TRUE(WaitUntil([&] {
    unfocused = session_.Screenshot();
    return Around(unfocused, kOk) != Around(first, kOk);
  })) << "Tab moves the focus to OK";
  ASSERT_TRUE(TypeHeldStill(*dialog, {"-k", "Tab", "-k", "Tab", "-k", "Tab", "-k", "Tab"}));
  QImage focused;
  ASSERT_TRUE(WaitUntil([&] {
    focused = session_.Screenshot();
    return Around(focused, kDefault) != Around(unfocused, kDefault);
  })) << "four more stops bring the focus back to Default";
  EXPECT_GE(MarkPixels(Around(unfocused, kDefault), Around(focused, kDefault)),
            20 * GetParam() * GetParam());
}

INSTANTIATE_TEST_SUITE_P(OutputScales, WaylandDialog, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Scale" + std::to_string(info.param);
                         });

}  // namespace
