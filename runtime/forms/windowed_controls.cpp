#include "runtime/forms/windowed_controls.h"

#include <algorithm>
#include <cstdlib>

#include "runtime/forms/event_guard.h"
#include "runtime/forms/form.h"
#include "runtime/forms/program.h"

namespace rt {
namespace {

int Depth(const WindowedControl& control) {
  int depth = 0;
  for (const Frame* frame = control.container(); frame != nullptr; frame = frame->container()) {
    ++depth;
  }
  return depth;
}

// Controls that take the focus by tab index, then the rest, frames last so
// that they lie beneath what they hold, inner frames before outer ones.
std::vector<WindowedControl*> FocusOrder(std::vector<WindowedControl*> controls) {
  const auto rank = [](const WindowedControl* c) {
    return c->TakesFocus() ? 0 : c->kind() == native::ControlKind::kFrame ? 2 : 1;
  };
  std::stable_sort(controls.begin(), controls.end(),
                   [&](const WindowedControl* a, const WindowedControl* b) {
                     if (rank(a) != rank(b)) return rank(a) < rank(b);
                     if (rank(a) == 2) return Depth(*a) > Depth(*b);
                     return a->design().tab_index < b->design().tab_index;
                   });
  return controls;
}

// An option group runs over option buttons of one container with tab
// indexes that follow each other.
bool StartsGroup(const WindowedControl* previous, const WindowedControl& control) {
  const auto is_option = [](const WindowedControl* c) {
    return c->kind() == native::ControlKind::kOptionButton;
  };
  return !is_option(&control) || previous == nullptr || !is_option(previous) ||
         previous->container() != control.container() ||
         previous->design().tab_index + 1 != control.design().tab_index;
}

std::vector<OptionButton*> GroupOf(const OptionButton& option) {
  std::vector<OptionButton*> group;
  const WindowedControl* previous = nullptr;
  bool found = false;
  for (WindowedControl* control : FocusOrder(option.form().WindowedControls())) {
    if (StartsGroup(previous, *control)) {
      if (found) break;
      group.clear();
    }
    if (auto* member = dynamic_cast<OptionButton*>(control)) group.push_back(member);
    found = found || control == &option;
    previous = control;
  }
  return group;
}

}  // namespace

native::ControlPeer* ArrangeControls(const std::vector<WindowedControl*>& controls,
                                     native::Window& window) {
  const std::vector<WindowedControl*> order = FocusOrder(controls);
  std::vector<native::FocusStop> stops;
  const WindowedControl* previous = nullptr;
  for (const WindowedControl* control : order) {
    const WindowedControl* label = control->LabelUnder();
    stops.push_back({control->native(), control->TakesFocus(), StartsGroup(previous, *control),
                     label != nullptr ? label->native() : nullptr});
    previous = control;
  }
  window.OrderControls(stops);
  // Tab stops on an option group once, at its selected option.
  for (WindowedControl* control : order) {
    if (auto* option = dynamic_cast<OptionButton*>(control)) {
      option->native()->SetTabStop(option->Value());
    }
  }
  return !order.empty() && order.front()->TakesFocus() ? order.front()->native() : nullptr;
}

WindowedControl::WindowedControl(Form& form, native::ControlKind kind, const ControlDesign& design,
                                 Frame* container)
    : Control(form), kind_(kind), design_(design), container_(container) {
  form.AttachWindowed(*this);
}

WindowedControl::~WindowedControl() { form().DetachWindowed(*this); }

native::PixelRect WindowedControl::PixelBounds() const {
  const native::PixelRect origin =
      container_ != nullptr ? container_->PixelBounds() : native::PixelRect{};
  const int x1 = Screen::PixelsX(design_.left), y1 = Screen::PixelsY(design_.top);
  if (kind_ == native::ControlKind::kLine) {  // from (left, top) to its end, one pixel thick
    const int x2 = Screen::PixelsX(design_.left + design_.width),
              y2 = Screen::PixelsY(design_.top + design_.height);
    return {origin.x + std::min(x1, x2), origin.y + std::min(y1, y2), std::abs(x2 - x1) + 1,
            std::abs(y2 - y1) + 1};
  }
  return {origin.x + x1, origin.y + y1, Screen::PixelsX(design_.width),
          Screen::PixelsY(design_.height)};
}

bool WindowedControl::TakesFocus() const {
  return design_.tab_index >= 0 && (kind_ == native::ControlKind::kCommandButton ||
                                    kind_ == native::ControlKind::kOptionButton);
}

std::string WindowedControl::AccessibleName() const {
  if (const WindowedControl* label = LabelUnder()) return label->AccessibleName();
  return design_.accessible_name.empty() ? design_.caption : design_.accessible_name;
}

const WindowedControl* WindowedControl::LabelUnder() const {
  if (kind_ != native::ControlKind::kOptionButton) return nullptr;
  const ControlDesign& own = design_;
  const WindowedControl* nearest = nullptr;
  for (const WindowedControl* other : form().WindowedControls()) {
    const ControlDesign& label = other->design_;
    if (other->kind_ != native::ControlKind::kLabel || other->container_ != container_ ||
        label.top < own.top + own.height / 2 || label.left >= own.left + own.width ||
        own.left >= label.left + label.width) {
      continue;
    }
    if (nearest == nullptr || label.top < nearest->design_.top) nearest = other;
  }
  return nearest;
}

void WindowedControl::CreateNative() {
  native::ControlLook look;
  look.kind = kind_;
  look.back_color = design_.back_color;
  look.fore_color = design_.fore_color;
  if (kind_ == native::ControlKind::kLine) {
    look.back_color = design_.fore_color;  // a line is drawn in its fore color
  } else {
    look.caption = design_.caption;
  }
  look.picture = design_.picture;
  look.mouse_icon = design_.mouse_icon;
  look.accessible_name = AccessibleName();
  native_ = form().window()->CreateControl(look, PixelBounds(),
                                           container_ ? container_->native() : nullptr, *this);
}

void WindowedControl::DestroyNative() { native_.reset(); }

void WindowedControl::Pressed() {
  RunGuarded([this] { NativeClicked(); });
}

void WindowedControl::Arrow(int step) {
  RunGuarded([this, step] { NativeArrow(step); });
}

OptionButton::OptionButton(Form& form, const ControlDesign& design, Frame* container)
    : WindowedControl(form, native::ControlKind::kOptionButton, design, container),
      value_(design.value) {}

void OptionButton::ShowValue() {
  if (native() == nullptr) return;
  native()->SetChecked(value_);
  native()->SetTabStop(value_);
}

void OptionButton::SetValue(bool value) {
  value_ = value;
  ShowValue();
  if (!value) return;
  for (WindowedControl* other : form().WindowedControls()) {
    auto* option = dynamic_cast<OptionButton*>(other);
    if (option != nullptr && option != this && option->container() == container() &&
        option->value_) {
      option->value_ = false;
      option->ShowValue();
    }
  }
}

void OptionButton::NativeArrow(int step) {
  const std::vector<OptionButton*> group = GroupOf(*this);
  const auto at = std::find(group.begin(), group.end(), this);
  if (at == group.end()) return;
  const auto size = static_cast<int>(group.size());
  const int index = static_cast<int>(at - group.begin());
  OptionButton* next = group[static_cast<size_t>(((index + step) % size + size) % size)];
  next->native()->TakeFocus();
  next->SetValue(true);
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
