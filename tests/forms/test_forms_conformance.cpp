// The forms layer's contract, the same for every backend: forms load and
// unload, control arrays copy their template, picture boxes keep what is
// printed, mouse input over a box reaches no handler, timers check their
// interval.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/control_array.h"
#include "runtime/conversions.h"
#include "runtime/form.h"
#include "runtime/picture_box.h"
#include "runtime/program.h"
#include "runtime/timer.h"
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
  void Form_MouseDown(int16_t button, int16_t, float x, float y) override {
    events.push_back("MouseDown " + std::to_string(button) + " " + std::to_string(int(x)) + "," +
                     std::to_string(int(y)));
  }
  void Form_MouseMove(int16_t, int16_t, float x, float) override {
    events.push_back("MouseMove " + std::to_string(int(x)));
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

TEST(FormsLayer, MouseOverAVisibleBoxReachesNoHandler) {
  ProbeForm form;
  form.Show();
  form.boxes.Load(1);
  form.boxes(0).SetVisible(false);
  rt::PictureBox& box = form.boxes(1);
  box.SetLeft(150);                  // pixels 10..28
  box.SetHeight(300);                // pixels 0..19
  form.InputMouseMove(0, 0, 15, 5);  // hidden: the form hears it
  box.SetVisible(true);
  form.InputMouseMove(0, 0, 16, 5);
  form.InputMouseDown(rt::kRightButton, 0, 20, 19);
  form.InputClick(20, 19);
  form.InputMouseDown(rt::kRightButton, 0, 29, 20);
  form.InputClick(9, 0);
  EXPECT_EQ(form.events,
            (std::vector<std::string>{"Load", "MouseMove 225", "MouseDown 2 435,300", "Click"}));
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

}  // namespace
