// frmConfig's behaviour: the choice Load shows, what OK writes, what
// "ﾃﾞﾌｫﾙﾄ" and "キャンセル" do, and a write that fails.
#include <gtest/gtest.h>

#include <memory>

#include "config/frm_config.h"
#include "runtime/platform/null/null_backend.h"
#include "startup/module1.h"
#include "tests/support/error_of.h"
#include "tests/support/temp_dir.h"

namespace {

class Dialog : public testing::Test {
 protected:
  Dialog() { rt::null::SetAppPath(dir_.path().string()); }
  ~Dialog() override {
    rt::null::SetAppPath(".");
    rt::null::TakeMessages();
  }

  FrmConfig& Open(const std::string& red, const std::string& green, const std::string& blue,
                  const std::string& speed = "10") {
    GColor = {red, green, blue};
    GSpeed = speed;
    dialog_ = std::make_unique<FrmConfig>();
    dialog_->Show();
    return *dialog_;
  }

  // As the user would: through the control's own window.
  static void Press(const rt::WindowedControl& control) {
    static_cast<const rt::null::NullControl*>(control.native())->UserClick();
  }

  static int SelectedColor(const FrmConfig& dialog) {
    for (int16_t i = 3; i <= 5; ++i) {
      if (dialog.Option1(i).Value()) return i;
    }
    return 0;
  }
  static int SelectedSpeed(const FrmConfig& dialog) {
    for (int16_t i = 3; i <= 5; ++i) {
      if (dialog.Option2(i).Value()) return i;
    }
    return 0;
  }

  std::string Ini() const { return dir_.File("kelvora.ini"); }

  TempDir dir_;
  std::unique_ptr<FrmConfig> dialog_;
};

struct Preselection {
  const char* name;
  const char* red;
  const char* green;
  const char* blue;
  const char* speed;
  int color;  // the Option1 index selected
  int speed_option;
  friend void PrintTo(const Preselection& c, std::ostream* out) { *out << c.name; }
};

class LoadTable : public Dialog, public testing::WithParamInterface<Preselection> {};

TEST_P(LoadTable, ShowsTheStoredChoice) {
  const Preselection& c = GetParam();
  const FrmConfig& dialog = Open(c.red, c.green, c.blue, c.speed);
  EXPECT_EQ(SelectedColor(dialog), c.color);
  EXPECT_EQ(SelectedSpeed(dialog), c.speed_option);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LoadTable,
    testing::Values(Preselection{"Green", "0", "240", "0", "10", 5, 5},
                    Preselection{"Red", "240", "0", "0", "10", 4, 5},
                    Preselection{"Blue", "0", "0", "240", "10", 3, 5},
                    Preselection{"RedWithDecimalPoint", "240.0", "0", "0", "10", 4, 5},
                    Preselection{"OtherRedLeavesGreen", "255", "0", "0", "10", 5, 5},
                    Preselection{"OtherGreenLeavesGreen", "0", "200", "0", "10", 5, 5},
                    Preselection{"Fast", "0", "240", "0", "100", 5, 4},
                    Preselection{"Normal", "240", "0", "0", "200", 4, 3},
                    Preselection{"OtherSpeedLeavesFastest", "0", "0", "240", "fast", 3, 5}),
    [](const testing::TestParamInfo<Preselection>& info) { return info.param.name; });

TEST_F(Dialog, AColorThatIsNoNumberStopsLoadWithError13) {
  for (const char* bad : {"", "abc"}) {
    GColor = {"240", "0", bad};
    GSpeed = "10";
    FrmConfig dialog;
    // Every test converts all three, so the third element fails the first test.
    EXPECT_EQ(ErrorOf([&] { dialog.Show(); }), rt::kTypeMismatch) << '"' << bad << '"';
  }
  EXPECT_FALSE(std::filesystem::exists(Ini()));
}

struct Choice {
  const char* name;
  int color;
  int speed;
  std::string file;
  friend void PrintTo(const Choice& c, std::ostream* out) { *out << c.name; }
};

class OkTable : public Dialog, public testing::WithParamInterface<Choice> {};

TEST_P(OkTable, StoresTheChoiceInMemoryAndInTheFile) {
  FrmConfig& dialog = Open("240", "0", "0");
  Press(dialog.Option1(static_cast<int16_t>(GetParam().color)));
  Press(dialog.Option2(static_cast<int16_t>(GetParam().speed)));
  Press(dialog.Command2);
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_EQ(ReadFile(Ini()), GetParam().file);
  EXPECT_EQ(ReadSetting("COLOR1"), GColor[0]);
  EXPECT_EQ(ReadSetting("SP"), GSpeed);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, OkTable,
    testing::Values(Choice{"GreenFastest", 5, 5, "[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\nSP=10\n"},
                    Choice{"RedNormal", 4, 3, "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=200\n"},
                    Choice{"BlueFast", 3, 4, "[main]\nCOLOR1=0\nCOLOR2=0\nCOLOR3=240\nSP=100\n"}),
    [](const testing::TestParamInfo<Choice>& info) { return info.param.name; });

TEST_F(Dialog, PickingAnOptionClearsTheOthersOfItsGroupOnly) {
  FrmConfig& dialog = Open("0", "0", "240", "200");
  Press(dialog.Option1(4));
  EXPECT_EQ(SelectedColor(dialog), 4);
  EXPECT_FALSE(dialog.Option1(3).Value());
  EXPECT_EQ(SelectedSpeed(dialog), 3) << "the speed group is its own";
}

TEST_F(Dialog, DefaultThenCancelLeavesTheFileAsItWas) {
  const std::string file = "; mine\n[main]\nCOLOR1=0\nCOLOR2=0\nCOLOR3=240\nSP=200\n";
  WriteFile(Ini(), file);
  FrmConfig& dialog = Open("0", "0", "240", "200");
  Press(dialog.Command1);
  EXPECT_EQ(SelectedColor(dialog), 5);
  EXPECT_EQ(SelectedSpeed(dialog), 5);
  EXPECT_TRUE(dialog.IsLoaded());
  Press(dialog.Command3);
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_EQ(ReadFile(Ini()), file);
  EXPECT_EQ(GColor[2], "240");
}

TEST_F(Dialog, DefaultThenOkWritesGreenAtTenMilliseconds) {
  FrmConfig& dialog = Open("240", "0", "0", "100");
  Press(dialog.Command1);
  Press(dialog.Command2);
  EXPECT_EQ(ReadFile(Ini()), "[main]\nCOLOR1=0\nCOLOR2=240\nCOLOR3=0\nSP=10\n");
}

TEST_F(Dialog, ClosingThroughTheTitleBarActsAsCancel) {
  FrmConfig& dialog = Open("240", "0", "0");
  Press(dialog.Option1(3));
  rt::null::EventsOf(dialog.window()).CloseRequested();
  EXPECT_FALSE(dialog.IsLoaded());
  EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(Dialog, AFailedWriteSaysSoAndKeepsTheDialogOpen) {
  FrmConfig& dialog = Open("240", "0", "0");
  rt::null::SetAppPath(dir_.File("gone"));  // a folder that does not exist
  Press(dialog.Option1(3));
  Press(dialog.Command2);
  const std::vector<std::string> messages = rt::null::TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("保存できませんでした"), std::string::npos);
  EXPECT_NE(messages[0].find(dir_.File("gone") + "/kelvora.ini"), std::string::npos);
  EXPECT_NE(messages[0].find("書き込めません"), std::string::npos) << "and why";
  EXPECT_EQ(messages[0].find("管理者だけ"), std::string::npos)
      << "a missing folder is no install for all users";
  EXPECT_TRUE(dialog.IsLoaded());
  EXPECT_EQ(SelectedColor(dialog), 3) << "the choice is still shown";
  Press(dialog.Command3);
  EXPECT_FALSE(dialog.IsLoaded());
}

}  // namespace
