#include "runtime/forms/form.h"

#include <algorithm>
#include <utility>

#include "runtime/forms/backend_choice.h"
#include "runtime/forms/control.h"
#include "runtime/forms/picture_box.h"
#include "runtime/forms/program.h"
#include "runtime/forms/windowed_controls.h"
#include "runtime/language/runtime_error.h"

namespace rt {
namespace {

std::vector<Form*> loaded_forms;

}  // namespace

bool AnyFormLoaded() { return !loaded_forms.empty(); }

void HideLoadedForms() {
  for (Form* form : loaded_forms) form->SetVisible(false);
}

Control::Control(Form& form) : form_(form) { form_.Attach(*this); }

Control::~Control() { form_.Detach(*this); }

Form::Form(FormDesign design) : design_(std::move(design)) {}

Form::~Form() = default;

void Form::Show() {
  if (!IsLoaded()) {
    const native::FormNeeds needs{.windowed_controls = !windowed_.empty(),
                                  .picture = !design_.picture.empty()};
    native::Backend& backend = BackendFor(needs);
    window_ = backend.CreateFormWindow(design_, Screen::PixelsX(design_.client_width),
                                       Screen::PixelsY(design_.client_height), input_);
    if (design_.centered) {
      const native::PixelRect work = backend.WorkArea();
      window_->MoveTo(work.x + (work.width - window_->OuterWidth()) / 2,
                      work.y + (work.height - window_->OuterHeight()) / 2);
    }
    loaded_forms.push_back(this);
    for (Control* control : controls_) control->CreateNative();
    first_focus_ = ArrangeControls(windowed_, *window_);
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
  input_.Reset();
  first_focus_ = nullptr;
  visible_ = false;
  std::erase(loaded_forms, this);
}

float Form::Width() const {
  return IsLoaded() ? static_cast<float>(window_->OuterWidth()) * Screen::TwipsPerPixelX()
                    : design_.client_width;
}

float Form::Height() const {
  return IsLoaded() ? static_cast<float>(window_->OuterHeight()) * Screen::TwipsPerPixelY()
                    : design_.client_height;
}

void Form::SetVisible(bool visible) {
  if (!IsLoaded()) Show();
  if (visible == visible_) return;
  visible_ = visible;
  window_->SetVisible(visible);
  // No window manager hands a borderless window the keyboard.
  if (visible && design_.border_style == BorderStyle::kNone) window_->TakeKeyboard();
  // The focus starts on its first control once the form is first shown.
  if (visible && first_focus_ != nullptr) std::exchange(first_focus_, nullptr)->TakeFocus();
}

void Form::SetWindowState(int16_t state) {
  if (state < 0 || state > 2) Raise(kInvalidPropertyValue);
  if (state == 2 && IsLoaded()) window_->FillScreen();
}

bool Form::OverBox(int x, int y) const {
  return std::any_of(boxes_.begin(), boxes_.end(), [&](const PictureBox* box) {
    return box->Visible() && native::Contains(box->PixelBounds(), x, y);
  });
}

void Form::ForEachBoxIn(
    const native::PixelRect& area,
    const std::function<void(const native::Surface&, const native::PixelRect&)>& draw) const {
  for (const PictureBox* box : boxes_by_column_.Across(boxes_, area.x, area.x + area.width)) {
    if (!box->Visible() || box->surface() == nullptr) continue;
    const native::PixelRect bounds = box->PixelBounds();
    if (native::Meets(bounds, area)) draw(*box->surface(), bounds);
  }
}

void Form::Attach(Control& control) { controls_.push_back(&control); }

void Form::Detach(Control& control) { std::erase(controls_, &control); }

void Form::AttachBox(PictureBox& box) {
  boxes_.push_back(&box);
  boxes_by_column_.MarkStale();
}

void Form::DetachBox(PictureBox& box) {
  std::erase(boxes_, &box);
  boxes_by_column_.MarkStale();
}

void Form::AttachWindowed(WindowedControl& control) { windowed_.push_back(&control); }

void Form::DetachWindowed(WindowedControl& control) { std::erase(windowed_, &control); }

void Form::Invalidate(const native::PixelRect& area) const {
  if (IsLoaded() && area.width > 0 && area.height > 0) window_->Invalidate(area);
}

}  // namespace rt
