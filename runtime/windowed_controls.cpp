#include "runtime/windowed_controls.h"

#include "runtime/event_guard.h"
#include "runtime/form.h"

namespace rt {

WindowedControl::WindowedControl(Form& form, native::ControlKind kind, const ControlDesign& design,
                                 Frame* container)
    : Control(form), kind_(kind), design_(design), container_(container) {
  form.AttachWindowed(*this);
}

WindowedControl::~WindowedControl() { form().DetachWindowed(*this); }

void WindowedControl::CreateNative() {
  native_ =
      form().window()->CreateControl(kind_, design_, container_ ? container_->native() : nullptr,
                                     [this] { RunGuarded([this] { NativeClicked(); }); });
}

void WindowedControl::DestroyNative() { native_.reset(); }

OptionButton::OptionButton(Form& form, const ControlDesign& design, Frame* container)
    : WindowedControl(form, native::ControlKind::kOptionButton, design, container),
      value_(design.value) {}

void OptionButton::SetValue(bool value) {
  value_ = value;
  if (native()) native()->SetChecked(value);
  if (!value) return;
  for (WindowedControl* other : form().WindowedControls()) {
    auto* option = dynamic_cast<OptionButton*>(other);
    if (option != nullptr && option != this && option->container() == container() &&
        option->value_) {
      option->value_ = false;
      if (option->native()) option->native()->SetChecked(false);
    }
  }
}

void OptionButton::CreateNative() {
  WindowedControl::CreateNative();
  value_ = design().value;  // a loaded form starts from its design
  native()->SetChecked(value_);
}

void CommandButton::Click() {
  if (on_click_) on_click_();
}

}  // namespace rt
