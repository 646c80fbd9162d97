// frmMain on the null backend: a fresh window per test, shown with the given
// settings, with its handlers reachable.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "rain/frm_main.h"
#include "runtime/platform/null/null_backend.h"
#include "startup/module1.h"

class TestableMain : public FrmMain {
 public:
  using FrmMain::Form_Click;
  using FrmMain::Form_DblClick;
  using FrmMain::Form_MouseMove;
};

// What the form's window reports, as the user makes it.
inline rt::native::WindowEvents& Input(const rt::Form& form) {
  return rt::null::EventsOf(form.window());
}

class RainFixture : public testing::Test {
 protected:
  ~RainFixture() override {
    rt::null::SetDoEventsHook(nullptr);
    rt::null::SetScreenSize(1920, 1080);
  }

  // Shows a new rain window; speed "0" keeps its timer silent.
  TestableMain& ShowRain(const std::string& red = "240", const std::string& green = "0",
                         const std::string& blue = "0", const std::string& speed = "0") {
    GColor = {red, green, blue};
    GSpeed = speed;
    form_ = std::make_unique<TestableMain>();
    form_->Show();
    rt::null::TakeHideCount();
    return *form_;
  }

  static const rt::null::NullSurface& SurfaceOf(const rt::PictureBox& box) {
    return static_cast<const rt::null::NullSurface&>(*box.surface());
  }

  std::unique_ptr<TestableMain> form_;
};
