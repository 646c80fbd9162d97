#include "runtime/form.h"

#include <algorithm>

#include "runtime/control.h"
#include "runtime/event_guard.h"
#include "runtime/picture_box.h"
#include "runtime/program.h"
#include "runtime/runtime_error.h"

namespace rt {
namespace {

int loaded_forms = 0;

float ToTwipsX(int pixels) { return static_cast<float>(pixels) * Screen::TwipsPerPixelX(); }
float ToTwipsY(int pixels) { return static_cast<float>(pixels) * Screen::TwipsPerPixelY(); }

bool Contains(const native::PixelRect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

}  // namespace

bool AnyFormLoaded() { return loaded_forms > 0; }

Control::Control(Form& form) : form_(form) { form_.Attach(*this); }

Control::~Control() { form_.Detach(*this); }

Form::Form(FormDesign design) : design_(std::move(design)) {}

Form::~Form() = default;

void Form::Show() {
  if (!IsLoaded()) {
    window_ = native::CreateFormWindow(*this, design_);
    ++loaded_forms;
    for (Control* control : controls_) control->CreateNative();
    window_->ControlsCreated();
    Form_Load();
  }
  SetVisible(true);
}

void Form::Unload() {
  if (!IsLoaded()) return;
  int16_t cancel = 0;
  Form_Unload(cancel);
  if (cancel != 0) return;
  for (Control* control : controls_) control->DestroyNative();
  window_.reset();
  visible_ = false;
  if (--loaded_forms == 0) native::QuitEventLoop();
}

float Form::Width() const {
  return IsLoaded() ? ToTwipsX(window_->OuterWidth()) : design_.client_width;
}

float Form::Height() const {
  return IsLoaded() ? ToTwipsY(window_->OuterHeight()) : design_.client_height;
}

void Form::SetVisible(bool visible) {
  if (!IsLoaded()) Show();
  if (visible == visible_) return;
  visible_ = visible;
  window_->SetVisible(visible);
}

void Form::SetWindowState(int16_t state) {
  if (state < 0 || state > 2) Raise(kInvalidPropertyValue);
  if (state == 2 && IsLoaded()) window_->FillScreen();
}

bool Form::OverBox(int x, int y) const {
  return std::any_of(boxes_.begin(), boxes_.end(), [&](const PictureBox* box) {
    return box->Visible() && Contains(box->PixelBounds(), x, y);
  });
}

void Form::InputClick(int x, int y) {
  if (!OverBox(x, y)) RunGuarded([&] { Form_Click(); });
}

void Form::InputDblClick(int x, int y) {
  if (!OverBox(x, y)) RunGuarded([&] { Form_DblClick(); });
}

void Form::InputKeyPress(int16_t key_ascii) {
  RunGuarded([&] { Form_KeyPress(key_ascii); });
}

void Form::InputMouseDown(int16_t button, int16_t shift, int x, int y) {
  if (OverBox(x, y)) return;
  RunGuarded([&] { Form_MouseDown(button, shift, ToTwipsX(x), ToTwipsY(y)); });
}

void Form::InputMouseMove(int16_t button, int16_t shift, int x, int y) {
  if (OverBox(x, y)) return;
  RunGuarded([&] { Form_MouseMove(button, shift, ToTwipsX(x), ToTwipsY(y)); });
}

void Form::InputClose() {
  RunGuarded([&] { Unload(); });
}

void Form::ForEachBoxIn(
    const native::PixelRect& area,
    const std::function<void(const native::Surface&, const native::PixelRect&)>& draw) const {
  for (const PictureBox* box : boxes_) {
    if (!box->Visible() || box->surface() == nullptr) continue;
    const native::PixelRect bounds = box->PixelBounds();
    if (native::Meets(bounds, area)) draw(*box->surface(), bounds);
  }
}

void Form::Attach(Control& control) { controls_.push_back(&control); }

void Form::Detach(Control& control) { std::erase(controls_, &control); }

void Form::AttachBox(PictureBox& box) { boxes_.push_back(&box); }

void Form::DetachBox(PictureBox& box) { std::erase(boxes_, &box); }

void Form::AttachWindowed(WindowedControl& control) { windowed_.push_back(&control); }

void Form::DetachWindowed(WindowedControl& control) { std::erase(windowed_, &control); }

void Form::Invalidate(const native::PixelRect& area) const {
  if (IsLoaded() && area.width > 0 && area.height > 0) window_->Invalidate(area);
}

}  // namespace rt
