// frmMain's design, its Load handler and its input handlers.
#include "rain/frm_main.h"

#include <cmath>

#include "runtime/forms/program.h"
#include "runtime/language/conversions.h"
#include "startup/module1.h"

namespace {

rt::FormDesign MainDesign() {
  rt::FormDesign design;
  design.border_style = rt::BorderStyle::kNone;
  design.back_color = 0;  // black
  design.client_width = 6195;
  design.client_height = 4755;
  design.icon = "kelvora.ico";
  return design;
}

rt::PictureBoxDesign TemplateDesign() {
  rt::PictureBoxDesign design;
  design.width = 285;
  design.height = 39075;
  design.font = {"MS Sans Serif", 8.25f, 700};
  return design;
}

// A single step of this many twips or more between two moves ends the saver.
constexpr float kMoveThreshold = 50.0f;

}  // namespace

FrmMain frmMain;

FrmMain::FrmMain()
    : rt::Form(MainDesign()), Code(*this), Timer1(*this, [this] { Timer1_Timer(); }) {
  Code.AddDesignElement(0, TemplateDesign());
}

void FrmMain::Form_Load() {
  Code(0).SetVisible(false);
  Code(0).SetBorderStyle(0);
  Code(0).SetAutoRedraw(true);
  Code(0).SetBackColor(BackColor());
  Timer1.SetInterval(rt::CLng(GSpeed));
  GRed = rt::CLng(GColor[0]);
  GGreen = rt::CLng(GColor[1]);
  GBlue = rt::CLng(GColor[2]);
  BuildColumns();
  SetWindowState(2);
}

void FrmMain::Form_Click() { rt::End(); }

void FrmMain::Form_DblClick() { rt::End(); }

void FrmMain::Form_KeyPress(int16_t& /*key_ascii*/) { rt::End(); }

void FrmMain::Form_MouseDown(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {
  rt::End();
}

void FrmMain::Form_MouseMove(int16_t /*button*/, int16_t /*shift*/, float x, float y) {
  const float dx = std::fabs(static_cast<float>(LastX) - x);
  const float dy = std::fabs(static_cast<float>(LastY) - y);
  if ((dx >= kMoveThreshold || dy >= kMoveThreshold) && (LastX != 0 || LastY != 0)) {
    Unload();
    rt::End();
  }
  LastX = rt::CLngRound(x);
  LastY = rt::CLngRound(y);
}
