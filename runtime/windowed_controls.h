// Controls that are windows of their own, placed on a form or in a frame:
// Frame, OptionButton, CommandButton, Label and Line.
#pragma once

#include <functional>
#include <memory>

#include "runtime/control.h"
#include "runtime/design.h"
#include "runtime/native.h"

namespace rt {

class Frame;

class WindowedControl : public Control {
 public:
  WindowedControl(Form& form, native::ControlKind kind, const ControlDesign& design,
                  Frame* container);
  ~WindowedControl() override;

  const ControlDesign& design() const { return design_; }
  Frame* container() const { return container_; }
  native::Control* native() const { return native_.get(); }

  void CreateNative() override;
  void DestroyNative() override;

 protected:
  // The user pressed the button or picked the option.
  virtual void NativeClicked() {}

 private:
  native::ControlKind kind_;
  ControlDesign design_;
  Frame* container_;
  std::unique_ptr<native::Control> native_;
};

class Frame : public WindowedControl {
 public:
  Frame(Form& form, const ControlDesign& design, Frame* container = nullptr)
      : WindowedControl(form, native::ControlKind::kFrame, design, container) {}
};

class Label : public WindowedControl {
 public:
  Label(Form& form, const ControlDesign& design, Frame* container = nullptr)
      : WindowedControl(form, native::ControlKind::kLabel, design, container) {}
};

class Line : public WindowedControl {
 public:
  Line(Form& form, const ControlDesign& design, Frame* container = nullptr)
      : WindowedControl(form, native::ControlKind::kLine, design, container) {}
};

// Option buttons in one container form a group: selecting one clears the rest.
class OptionButton : public WindowedControl {
 public:
  OptionButton(Form& form, const ControlDesign& design, Frame* container = nullptr);
  bool Value() const { return value_; }
  void SetValue(bool value);
  void CreateNative() override;

 protected:
  void NativeClicked() override { SetValue(true); }

 private:
  bool value_;
};

class CommandButton : public WindowedControl {
 public:
  CommandButton(Form& form, const ControlDesign& design, Frame* container = nullptr)
      : WindowedControl(form, native::ControlKind::kCommandButton, design, container) {}
  void OnClick(std::function<void()> handler) { on_click_ = std::move(handler); }
  // What a press of the button does, also from code.
  void Click();

 protected:
  void NativeClicked() override { Click(); }

 private:
  std::function<void()> on_click_;
};

}  // namespace rt
