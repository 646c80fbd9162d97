// The forms layer's contract, the same for every backend: forms load and
// unload, control arrays copy their template, picture boxes keep what is
// printed, timers check their interval; and the input rules, driven through
// the backend's own input path: pointer capture, which buttons count, which
// keys raise KeyPress, and arrow keys in option groups.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "runtime/forms/control_array.h"
#include "runtime/forms/form.h"
#include "runtime/forms/picture_box.h"
#include "runtime/forms/program.h"
#include "runtime/forms/timer.h"
#include "runtime/forms/windowed_controls.h"
#include "runtime/language/conversions.h"
#include "tests/forms/backend_harness.h"
#include "tests/support/error_of.h"

namespace {

rt::FormDesign Design() {
  rt::FormDesign design;
  design.client_width = 6195;
  design.client_height = 4755;
  return design;
}

class ProbeForm : public rt::Form {
 public:
  ProbeForm() : rt::Form(Design()), boxes(*this), timer(*this, [this] { ++ticks; }) {
    boxes.AddDesignElement(0,
                           rt::PictureBoxDesign{0, 0, 285, 39075, {"MS Sans Serif", 8.25f, 700}});
  }

  rt::ControlArray<rt::PictureBox> boxes;
  rt::Timer timer;
  std::vector<std::string> events;
  int ticks = 0;
  int16_t cancel_unload = 0;

 protected:
  void Form_Load() override { events.push_back("Load"); }
  void Form_Unload(int16_t& cancel) override {
    events.push_back("Unload");
    cancel = cancel_unload;
  }
  void Form_Click() override { events.push_back("Click"); }
  void Form_DblClick() override { events.push_back("DblClick"); }
  void Form_KeyPress(int16_t& key_ascii) override {
    events.push_back("KeyPress " + std::to_string(key_ascii));
  }
  void Form_MouseDown(int16_t button, int16_t, float x, float y) override {
    events.push_back("MouseDown " + std::to_string(button) + " " + std::to_string(int(x)) + "," +
                     std::to_string(int(y)));
  }
  void Form_MouseMove(int16_t button, int16_t, float x, float y) override {
    events.push_back("MouseMove " + std::to_string(button) + " " + std::to_string(int(x)) + "," +
                     std::to_string(int(y)));
  }
};

TEST(FormsLayer, ShowLoadsOnceAndUnloadEndsTheForm) {
  ProbeForm form;
  EXPECT_FALSE(form.IsLoaded());
  form.Show();
  form.Show();
  EXPECT_EQ(form.events, std::vector<std::string>{"Load"});
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(rt::AnyFormLoaded());
  form.cancel_unload = 1;
  form.Unload();
  EXPECT_TRUE(form.IsLoaded()) << "a cancelled unload keeps the form";
  form.cancel_unload = 0;
  form.Unload();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(rt::AnyFormLoaded());
}

TEST(FormsLayer, SizesAreInTwipsAndMaximizedFillsTheScreen) {
  ProbeForm form;
  form.Show();
  EXPECT_EQ(rt::Screen::TwipsPerPixelY(), 15);
  EXPECT_EQ(form.Width(), 6195);
  EXPECT_EQ(form.Height(), 4755);
  form.SetWindowState(2);
  EXPECT_EQ(form.Width(), ScreenSize().width * 15.0f);
  EXPECT_EQ(form.Height(), ScreenSize().height * 15.0f);
  EXPECT_EQ(ErrorOf([&] { form.SetWindowState(3); }), rt::kInvalidPropertyValue);
  form.Unload();
}

TEST(FormsLayer, LoadedElementsCopyTheTemplateAsItStands) {
  ProbeForm form;
  form.Show();
  rt::PictureBox& templ = form.boxes(0);
  templ.SetBorderStyle(0);
  templ.SetAutoRedraw(true);
  templ.SetBackColor(0);
  templ.SetForeColor(rt::RGB(1, 2, 3));
  templ.SetTag("t");
  templ.SetVisible(true);
  form.boxes.Load(1);
  const rt::PictureBox& copy = form.boxes(1);
  EXPECT_FALSE(copy.Visible()) << "a loaded element starts hidden";
  EXPECT_EQ(copy.BorderStyle(), 0);
  EXPECT_TRUE(copy.AutoRedraw());
  EXPECT_EQ(copy.BackColor(), 0);
  EXPECT_EQ(copy.ForeColor(), rt::RGB(1, 2, 3));
  EXPECT_EQ(copy.Tag(), "t");
  EXPECT_EQ(copy.Width(), 285);
  EXPECT_EQ(form.boxes.UBound(), 1);
  EXPECT_EQ(form.boxes.LBound(), 0);
  form.Unload();
}

TEST(FormsLayer, ControlArrayErrors) {
  ProbeForm form;
  form.Show();
  form.boxes.Load(3);
  EXPECT_EQ(ErrorOf([&] { form.boxes.Load(3); }), rt::kAlreadyLoaded);
  EXPECT_EQ(ErrorOf([&] { form.boxes(2); }), rt::kElementMissing);
  EXPECT_EQ(ErrorOf([&] { form.boxes.Unload(2); }), rt::kElementMissing);
  EXPECT_EQ(ErrorOf([&] { form.boxes.Unload(0); }), rt::kCannotUnloadDesignElement);
  form.boxes.Unload(3);
  EXPECT_EQ(form.boxes.UBound(), 0);
  form.Unload();
}

// A repaint meets the boxes it touches, and only those, bottom first: after
// boxes come, move in any direction, change size or hide, over random
// layouts whose boxes overlap.
TEST(FormsLayer, ARepaintMeetsExactlyTheVisibleBoxesItTouchesBottomFirst) {
  ProbeForm form;
  form.Show();
  std::mt19937 random(7);
  const auto twips = [&](int most) { return static_cast<float>(random() % most) * 15.0f; };
  constexpr int kBoxes = 40;
  for (int16_t i = 1; i <= kBoxes; ++i) form.boxes.Load(i);
  const auto shuffle = [&] {
    for (int16_t i = 1; i <= kBoxes; ++i) {
      rt::PictureBox& box = form.boxes(i);
      box.SetLeft(twips(400) - 600);
      box.SetTop(twips(300) - 600);
      box.SetWidth(twips(60));
      box.SetHeight(twips(200));
      box.SetVisible(random() % 4 != 0);
    }
  };
  const auto check = [&](const char* after) {
    for (int query = 0; query < 100; ++query) {
      const rt::native::PixelRect area{
          static_cast<int>(random() % 440) - 40, static_cast<int>(random() % 340) - 40,
          static_cast<int>(random() % 80), static_cast<int>(random() % 80)};
      std::vector<const rt::native::Surface*> met, expected;
      form.ForEachBoxIn(area, [&](const rt::native::Surface& surface,
                                  const rt::native::PixelRect&) { met.push_back(&surface); });
      for (int16_t i = 0; i <= kBoxes; ++i) {
        const rt::PictureBox& box = form.boxes(i);
        if (box.Visible() && rt::native::Meets(box.PixelBounds(), area))
          expected.push_back(box.surface());
      }
      ASSERT_EQ(met, expected) << after << ", query " << query;
    }
  };
  for (int layout = 0; layout < 5; ++layout) {
    shuffle();
    check("a new layout");
    for (int16_t i = 1; i <= kBoxes; i += 3) form.boxes(i).SetTop(twips(300));
    check("moves up and down");
  }
  form.Unload();
}

TEST(FormsLayer, PrintedTextStaysInTheImageUntilCls) {
  ProbeForm form;
  form.Show();
  form.boxes(0).SetBackColor(0);
  form.boxes.Load(1);
  rt::PictureBox& box = form.boxes(1);
  box.SetHeight(3000);
  box.SetForeColor(rt::RGB(0, 255, 0));
  box.Print(rt::Chr(177));
  box.SetVisible(true);
  box.SetTop(1500);  // moving keeps the image
  Pump();
  EXPECT_TRUE(HasInk(*box.surface()));
  box.Cls();
  EXPECT_FALSE(HasInk(*box.surface()));
  form.Unload();
}

TEST(FormsLayer, TimerIntervalRange) {
  ProbeForm form;
  form.Show();
  form.timer.SetInterval(65535);
  form.timer.SetInterval(0);
  EXPECT_EQ(ErrorOf([&] { form.timer.SetInterval(65536); }), rt::kInvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { form.timer.SetInterval(-1); }), rt::kInvalidPropertyValue);
  EXPECT_EQ(form.timer.Interval(), 0);
  form.Unload();
}

// A form with one visible box at pixels x 10..28, y 0..19, and the events
// that input raised on it since Load.
class InputTest : public testing::Test {
 protected:
  InputTest() {
    form_.Show();
    form_.boxes.Load(1);
    form_.boxes(0).SetVisible(false);
    form_.boxes(1).SetLeft(150);
    form_.boxes(1).SetHeight(300);
    form_.boxes(1).SetVisible(true);
    form_.events.clear();
  }
  ~InputTest() override { form_.Unload(); }
  void SetUp() override {
    if (!InjectsInput()) GTEST_SKIP() << "the harness has no way to give this backend input";
  }

  ProbeForm form_;
};

// One piece of pointer input.
struct Pointer {
  enum Kind { kDown, kUp, kMove, kDouble } kind;
  int button;
  int x, y;
};

void Apply(const rt::Form& form, const Pointer& p) {
  switch (p.kind) {
    case Pointer::kDown:
      return Press(form, p.button, p.x, p.y);
    case Pointer::kDouble:
      return Press(form, p.button, p.x, p.y, true);
    case Pointer::kUp:
      return Release(form, p.button, p.x, p.y);
    case Pointer::kMove:
      return Move(form, p.x, p.y);
  }
}

struct PointerCase {
  const char* name;
  friend void PrintTo(const PointerCase& c, std::ostream* out) { *out << c.name; }
  std::vector<Pointer> input;
  std::vector<std::string> events;
};

class Capture : public InputTest, public testing::WithParamInterface<PointerCase> {};

// As on Windows: a press captures the pointer to what is under it until the
// last button is released; a picture box handles nothing.
TEST_P(Capture, InputReachesTheFormAsWindowsDelivers) {
  for (const Pointer& p : GetParam().input) Apply(form_, p);
  EXPECT_EQ(form_.events, GetParam().events);
}

constexpr auto kDown = Pointer::kDown;
constexpr auto kUp = Pointer::kUp;
constexpr auto kMove = Pointer::kMove;
constexpr auto kDouble = Pointer::kDouble;

INSTANTIATE_TEST_SUITE_P(
    Pointer, Capture,
    testing::Values(
        PointerCase{"MoveOverTheBackground", {{kMove, 0, 50, 40}}, {"MouseMove 0 750,600"}},
        PointerCase{"MoveOverABox", {{kMove, 0, 15, 5}}, {}},
        PointerCase{"PressOnABoxHoldsEverythingUntilTheRelease",
                    {{kDown, 1, 15, 5}, {kMove, 0, 50, 40}, {kUp, 1, 50, 40}, {kMove, 0, 60, 40}},
                    {"MouseMove 0 900,600"}},
        PointerCase{"PressOnTheBackgroundFollowsOverABox",
                    {{kDown, 1, 50, 40}, {kMove, 0, 15, 5}, {kMove, 0, 50, 41}, {kUp, 1, 50, 41}},
                    {"MouseDown 1 750,600", "MouseMove 1 225,75", "MouseMove 1 750,615", "Click"}},
        PointerCase{"AReleaseOverABoxGivesNoClick",
                    {{kDown, 1, 50, 40}, {kUp, 1, 15, 5}},
                    {"MouseDown 1 750,600"}},
        PointerCase{"AReleaseOutsideTheWindowGivesNoClick",
                    {{kDown, 1, 50, 40}, {kMove, 0, -30, 40}, {kUp, 1, -30, 40}},
                    {"MouseDown 1 750,600", "MouseMove 1 -450,600"}},
        PointerCase{"ASecondButtonJoinsTheBoxsCapture",
                    {{kDown, 1, 15, 5}, {kDown, 3, 50, 40}, {kUp, 1, 50, 40}, {kUp, 3, 50, 40}},
                    {}},
        PointerCase{"TheCaptureEndsWithTheLastButton",
                    {{kDown, 1, 50, 40},
                     {kDown, 3, 51, 40},
                     {kUp, 1, 51, 40},
                     {kMove, 0, 15, 5},
                     {kUp, 3, 15, 5},
                     {kMove, 0, 16, 5}},
                    {"MouseDown 1 750,600", "MouseDown 2 765,600", "Click", "MouseMove 2 225,75"}},
        PointerCase{"DoubleClick",
                    {{kDown, 1, 50, 40}, {kUp, 1, 50, 40}, {kDouble, 1, 50, 40}, {kUp, 1, 50, 40}},
                    {"MouseDown 1 750,600", "Click", "MouseDown 1 750,600", "DblClick", "Click"}},
        PointerCase{"ASlowSecondPressIsNoDoubleClick",
                    {{kDown, 1, 50, 40}, {kUp, 1, 50, 40}, {kDown, 1, 50, 40}, {kUp, 1, 50, 40}},
                    {"MouseDown 1 750,600", "Click", "MouseDown 1 750,600", "Click"}},
        PointerCase{"AQuickSecondPressFarAwayIsNoDoubleClick",
                    {{kDown, 1, 50, 40}, {kUp, 1, 50, 40}, {kDouble, 1, 70, 40}, {kUp, 1, 70, 40}},
                    {"MouseDown 1 750,600", "Click", "MouseDown 1 1050,600", "Click"}},
        PointerCase{"AThirdQuickPressStartsANewPair",
                    {{kDown, 1, 50, 40},
                     {kUp, 1, 50, 40},
                     {kDouble, 1, 50, 40},
                     {kUp, 1, 50, 40},
                     {kDouble, 1, 50, 40},
                     {kUp, 1, 50, 40}},
                    {"MouseDown 1 750,600", "Click", "MouseDown 1 750,600", "DblClick", "Click",
                     "MouseDown 1 750,600", "Click"}},
        PointerCase{"ADoubleClickOnABoxReachesNothing",
                    {{kDown, 1, 15, 5}, {kUp, 1, 15, 5}, {kDouble, 1, 15, 5}, {kUp, 1, 15, 5}},
                    {}}),
    [](const testing::TestParamInfo<PointerCase>& info) { return info.param.name; });

struct ButtonCase {
  const char* name;
  friend void PrintTo(const ButtonCase& c, std::ostream* out) { *out << c.name; }
  int button;
  std::vector<std::string> events;
};

class Buttons : public InputTest, public testing::WithParamInterface<ButtonCase> {};

// Left, right and middle count; any other button does nothing at all, not
// even hold the pointer.
TEST_P(Buttons, OnlyLeftRightAndMiddleCount) {
  const int button = GetParam().button;
  for (const Pointer& p : {Pointer{kDown, button, 50, 40}, Pointer{kMove, 0, 15, 5},
                           Pointer{kMove, 0, 60, 40}, Pointer{kUp, button, 60, 40}}) {
    Apply(form_, p);
  }
  EXPECT_EQ(form_.events, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Pointer, Buttons,
    testing::Values(
        ButtonCase{"Left",
                   1,
                   {"MouseDown 1 750,600", "MouseMove 1 225,75", "MouseMove 1 900,600", "Click"}},
        ButtonCase{"Middle",
                   2,
                   {"MouseDown 4 750,600", "MouseMove 4 225,75", "MouseMove 4 900,600", "Click"}},
        ButtonCase{"Right",
                   3,
                   {"MouseDown 2 750,600", "MouseMove 2 225,75", "MouseMove 2 900,600", "Click"}},
        ButtonCase{"Back", 8, {"MouseMove 0 900,600"}},
        ButtonCase{"Forward", 9, {"MouseMove 0 900,600"}}),
    [](const testing::TestParamInfo<ButtonCase>& info) { return info.param.name; });

struct KeyCase {
  const char* name;
  friend void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }
  rt::native::KeyStroke stroke;
  int key_ascii;  // -1: no KeyPress
};

class Keys : public InputTest, public testing::WithParamInterface<KeyCase> {};

// KeyPress arises exactly where Windows posts WM_CHAR.
TEST_P(Keys, KeyPressOnlyForStrokesThatGiveACharacter) {
  Type(form_, GetParam().stroke);
  const int key_ascii = GetParam().key_ascii;
  EXPECT_EQ(form_.events, key_ascii < 0 ? std::vector<std::string>{}
                                        : std::vector{"KeyPress " + std::to_string(key_ascii)});
}

using rt::native::Key;
constexpr rt::native::Modifiers kShift{true, false, false};
constexpr rt::native::Modifiers kCtrl{false, true, false};
constexpr rt::native::Modifiers kCtrlShift{true, true, false};
constexpr rt::native::Modifiers kAlt{false, false, true};
constexpr rt::native::Modifiers kCtrlAlt{false, true, true};

INSTANTIATE_TEST_SUITE_P(
    Keyboard, Keys,
    testing::Values(KeyCase{"Letter", {Key::kCharacter, U'a', {}}, 97},
                    KeyCase{"ShiftedLetter", {Key::kCharacter, U'A', kShift}, 65},
                    KeyCase{"Digit", {Key::kCharacter, U'5', {}}, 53},
                    KeyCase{"Punctuation", {Key::kCharacter, U',', {}}, 44},
                    KeyCase{"Space", {Key::kCharacter, U' ', {}}, 32},
                    KeyCase{"Katakana", {Key::kCharacter, U'\uFF71', {}}, 177},
                    KeyCase{"CharacterMadeWithAltGr", {Key::kCharacter, U'@', {}}, 64},
                    KeyCase{"Enter", {Key::kEnter, U'\r', {}}, 13},
                    KeyCase{"CtrlEnter", {Key::kEnter, U'\r', kCtrl}, 10},
                    KeyCase{"CtrlShiftEnter", {Key::kEnter, U'\r', kCtrlShift}, -1},
                    KeyCase{"Escape", {Key::kEscape, 0x1B, {}}, 27},
                    KeyCase{"Backspace", {Key::kBackspace, U'\b', {}}, 8},
                    KeyCase{"CtrlBackspace", {Key::kBackspace, U'\b', kCtrl}, 8},
                    KeyCase{"Tab", {Key::kTab, U'\t', {}}, 9},
                    KeyCase{"ShiftTab", {Key::kTab, U'\t', kShift}, 9},
                    KeyCase{"CtrlTab", {Key::kTab, U'\t', kCtrl}, -1},
                    KeyCase{"CtrlLetterAsControlCode", {Key::kCharacter, 0x01, kCtrl}, 1},
                    KeyCase{"CtrlLetter", {Key::kCharacter, U'z', kCtrl}, 26},
                    KeyCase{"CtrlShiftLetter", {Key::kCharacter, U'Z', kCtrlShift}, 26},
                    KeyCase{"CtrlBracket", {Key::kCharacter, U'[', kCtrl}, 27},
                    KeyCase{"CtrlBrace", {Key::kCharacter, U'{', kCtrlShift}, 27},
                    KeyCase{"CtrlCaret", {Key::kCharacter, U'^', kCtrlShift}, 30},
                    KeyCase{"CtrlUnderscore", {Key::kCharacter, U'_', kCtrlShift}, 31},
                    KeyCase{"CtrlAtGivesNul", {Key::kCharacter, U'@', kCtrlShift}, 0},
                    KeyCase{"CtrlSpace", {Key::kCharacter, U' ', kCtrl}, 32},
                    KeyCase{"CtrlShiftSpaceGivesNul", {Key::kCharacter, U' ', kCtrlShift}, 0},
                    KeyCase{"CtrlDigit", {Key::kCharacter, U'1', kCtrl}, -1},
                    KeyCase{"CtrlMinus", {Key::kCharacter, U'-', kCtrl}, -1},
                    KeyCase{"AltLetter", {Key::kCharacter, U'a', kAlt}, -1},
                    KeyCase{"AltEnter", {Key::kEnter, U'\r', kAlt}, -1},
                    KeyCase{"CtrlAltLetter", {Key::kCharacter, U'a', kCtrlAlt}, -1},
                    KeyCase{"Delete", {Key::kDelete, 0x7F, {}}, -1},
                    KeyCase{"ShiftDelete", {Key::kDelete, 0x7F, kShift}, -1},
                    KeyCase{"Insert", {Key::kInsert, 0, {}}, -1},
                    KeyCase{"FunctionKey", {Key::kNoCharacter, 0, {}}, -1},
                    KeyCase{"StrayControlCode", {Key::kCharacter, 0x7F, {}}, -1}),
    [](const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

// Two option groups in frames, each option placed left to right but with
// tab indexes in another order, and a button that comes first.
class GroupForm : public rt::Form {
 public:
  GroupForm()
      : rt::Form(Design()),
        button(*this, Place(3000, 2000, 0)),
        frame_a(*this, Place(120, 120, -1, 2400, 600)),
        a{{{*this, Place(100, 200, 1), &frame_a},
           {*this, Place(800, 200, 3), &frame_a},
           {*this, Place(1500, 200, 2), &frame_a}}},
        frame_b(*this, Place(120, 900, -1, 2400, 600)),
        b{{{*this, Place(100, 200, 4), &frame_b}, {*this, Place(800, 200, 5), &frame_b}}} {}

  static rt::ControlDesign Place(float left, float top, int tab_index, float width = 600,
                                 float height = 300) {
    rt::ControlDesign design;
    design.left = left;
    design.top = top;
    design.width = width;
    design.height = height;
    design.tab_index = tab_index;
    return design;
  }

  rt::CommandButton button;
  rt::Frame frame_a;
  std::array<rt::OptionButton, 3> a;
  rt::Frame frame_b;
  std::array<rt::OptionButton, 2> b;
};

struct ArrowCase {
  const char* name;
  friend void PrintTo(const ArrowCase& c, std::ostream* out) { *out << c.name; }
  int from;  // in group a
  int step;
  int to;
};

class Arrows : public testing::TestWithParam<ArrowCase> {};

// Arrows move through a group in tab order (a0, a2, a1), not by place, wrap
// within the group, and select where they land.
TEST_P(Arrows, MoveThroughTheGroupInTabOrder) {
  if (!HoldsWindowedControls()) GTEST_SKIP() << "this backend's forms hold no windowed controls";
  GroupForm form;
  form.Show();
  Pump();
  EXPECT_TRUE(Focused(form.button)) << "the lowest tab index that takes the focus";
  rt::OptionButton& from = form.a[static_cast<size_t>(GetParam().from)];
  from.SetValue(true);
  Arrow(from, GetParam().step);
  Pump();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(form.a[static_cast<size_t>(i)].Value(), i == GetParam().to) << "a" << i;
  }
  EXPECT_TRUE(Focused(form.a[static_cast<size_t>(GetParam().to)]));
  EXPECT_FALSE(form.b[0].Value() || form.b[1].Value()) << "the other group is left alone";
  form.Unload();
}

INSTANTIATE_TEST_SUITE_P(Keyboard, Arrows,
                         testing::Values(ArrowCase{"FirstToSecond", 0, 1, 2},
                                         ArrowCase{"SecondToThird", 2, 1, 1},
                                         ArrowCase{"LastWrapsToFirst", 1, 1, 0},
                                         ArrowCase{"BackFromFirstWrapsToLast", 0, -1, 1},
                                         ArrowCase{"BackFromThird", 1, -1, 2}),
                         [](const testing::TestParamInfo<ArrowCase>& info) {
                           return info.param.name;
                         });

// Option buttons too narrow to show a caption, each with the label that
// says what it is placed under it: one row under swatches that are only a
// fill and carry a name, one under words; a button and a frame named by
// their captions.
class LabelledForm : public rt::Form {
 public:
  LabelledForm()
      : rt::Form(Design()),
        frame(*this, Named(GroupForm::Place(120, 120, -1, 3000, 1200), "色")),
        options{{{*this, GroupForm::Place(450, 300, 1, 330, 285), &frame},
                 {*this, Named(GroupForm::Place(1020, 300, 2, 255, 195), "Option"), &frame}}},
        swatch(*this, Swatch(GroupForm::Place(420, 600, -1, 330, 225)), &frame),
        word(*this, Named(GroupForm::Place(960, 660, -1, 435, 255), "普通"), &frame),
        far_label(*this, Named(GroupForm::Place(2000, 600, -1, 435, 255), "遠い"), &frame),
        button(*this, Named(GroupForm::Place(3300, 2000, 3), "OK")) {}

  static rt::ControlDesign Named(rt::ControlDesign design, const char* caption) {
    design.caption = caption;
    return design;
  }
  static rt::ControlDesign Swatch(rt::ControlDesign design) {
    design.back_color = rt::RGB(0, 255, 0);
    design.accessible_name = "緑";
    return design;
  }

  rt::Frame frame;
  std::array<rt::OptionButton, 2> options;
  rt::Label swatch;
  rt::Label word;
  rt::Label far_label;  // under neither option
  rt::CommandButton button;
};

// Assistive technology reads each option by the label under it, whether
// that label shows words or only a colour, while the captions stay.
TEST(AccessibleNames, OptionsTakeTheirLabelsNamesAndTheRestTheirCaptions) {
  if (!HoldsWindowedControls()) GTEST_SKIP() << "this backend's forms hold no windowed controls";
  LabelledForm form;
  form.Show();
  Pump();
  EXPECT_EQ(AccessibleName(form.options[0]), "緑") << "the swatch's name";
  EXPECT_EQ(AccessibleName(form.options[1]), "普通") << "the word under it, not its caption";
  EXPECT_EQ(AccessibleName(form.frame), "色");
  EXPECT_EQ(AccessibleName(form.button), "OK");
  EXPECT_EQ(AccessibleName(form.swatch), "緑");
  EXPECT_EQ(form.options[1].design().caption, "Option");
  form.Unload();
}

}  // namespace
