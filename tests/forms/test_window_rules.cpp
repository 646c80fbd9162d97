// Rules the forms layer applies to every backend's windows, checked on the
// null backend, which records what it was asked: where a centred form goes
// which forms take the keyboard when shown, and what ends the program.
#include <gtest/gtest.h>

#include "runtime/forms/form.h"
#include "runtime/platform/null/null_backend.h"

namespace {

class PlainForm : public rt::Form {
 public:
  explicit PlainForm(rt::FormDesign design) : rt::Form(std::move(design)) {}
};

rt::FormDesign Design(rt::BorderStyle border, bool centered) {
  rt::FormDesign design;
  design.border_style = border;
  design.centered = centered;
  design.client_width = 6000;  // 400 pixels at 96 dpi
  design.client_height = 3000;
  return design;
}

TEST(WindowRules, ACentredFormSitsInTheMiddleOfTheWorkArea) {
  rt::null::SetScreenSize(1920, 1080);
  PlainForm form(Design(rt::BorderStyle::kFixedDialog, true));
  form.Show();
  // The null work area leaves a 40-pixel panel at the bottom.
  const rt::native::PixelRect bounds = rt::null::BoundsOf(form.window());
  EXPECT_EQ(bounds.x, (1920 - 400) / 2);
  EXPECT_EQ(bounds.y, (1040 - 200) / 2);
  form.Unload();
}

TEST(WindowRules, AFormNotCentredStaysWhereTheSystemPutsIt) {
  PlainForm form(Design(rt::BorderStyle::kFixedDialog, false));
  form.Show();
  EXPECT_EQ(rt::null::BoundsOf(form.window()).x, 0);
  form.Unload();
}

TEST(WindowRules, ABorderlessFormTakesTheKeyboardEachTimeItShows) {
  PlainForm form(Design(rt::BorderStyle::kNone, false));
  form.Show();
  EXPECT_EQ(rt::null::KeyboardTakesOf(form.window()), 1);
  form.SetVisible(false);
  form.SetVisible(true);
  EXPECT_EQ(rt::null::KeyboardTakesOf(form.window()), 2);
  form.Unload();
}

TEST(WindowRules, AFormWithABorderLeavesTheKeyboardToTheWindowManager) {
  PlainForm form(Design(rt::BorderStyle::kFixedDialog, false));
  form.Show();
  EXPECT_EQ(rt::null::KeyboardTakesOf(form.window()), 0);
  form.Unload();
}

// The daemon's window gone, or a signal from it: the program ends at once
// and well, whatever form is up.
TEST(WindowRules, AWindowTakenAwayOrATerminationEndsTheProgram) {
  for (const auto report :
       {&rt::native::WindowEvents::WindowGone, &rt::native::WindowEvents::TerminationRequested}) {
    PlainForm form(Design(rt::BorderStyle::kNone, false));
    form.Show();
    try {
      (rt::null::EventsOf(form.window()).*report)();
      ADD_FAILURE() << "the program went on";
    } catch (const rt::null::ProgramEnded& ended) {
      EXPECT_EQ(ended.status, 0);
    }
    form.Unload();
  }
}

}  // namespace
