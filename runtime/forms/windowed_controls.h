// Controls that are windows of their own, placed on a form or in a frame:
// Frame, OptionButton, CommandButton, Label and Line. Their places in pixels,
// the focus order and the option groups are worked out here, once for every
// backend.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/forms/control.h"
#include "runtime/forms/design.h"
#include "runtime/platform/native.h"

namespace rt {

class Frame;

class WindowedControl : public Control, private native::ControlEvents {
 public:
  WindowedControl(Form& form, native::ControlKind kind, const ControlDesign& design,
                  Frame* container);
  ~WindowedControl() override;

  native::ControlKind kind() const { return kind_; }
  const ControlDesign& design() const { return design_; }
  Frame* container() const { return container_; }
  native::ControlPeer* native() const { return native_.get(); }
  // The place in the form's client area.
  native::PixelRect PixelBounds() const;
  // Command buttons and option buttons with a tab index.
  bool TakesFocus() const;
  // What assistive technology calls the control: an option button is named
  // by the label placed under it, which shows what the choice is; anything
  // else by its design's name or else its caption.
  std::string AccessibleName() const;
  // The label placed under an option button, in the same container and
  // across its width; none for other controls.
  const WindowedControl* LabelUnder() const;

  void CreateNative() override;
  void DestroyNative() override;

 protected:
  // The user pressed the button or picked the option.
  virtual void NativeClicked() {}
  // An arrow key while the control has the focus.
  virtual void NativeArrow(int /*step*/) {}

 private:
  void Pressed() override;
  void Arrow(int step) override;

  native::ControlKind kind_;
  ControlDesign design_;
  Frame* container_;
  std::unique_ptr<native::ControlPeer> native_;
};

// Puts the form's controls in focus order for the window and gives the
// control that takes the focus first, if any.
native::ControlPeer* ArrangeControls(const std::vector<WindowedControl*>& controls,
                                     native::Window& window);

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

// Option buttons in one container form a group: selecting one clears the
// rest. Arrow keys move through a group in tab order, as Windows' dialog
// manager does, and select where they land; Tab stops on the selected one.
class OptionButton : public WindowedControl {
 public:
  OptionButton(Form& form, const ControlDesign& design, Frame* container = nullptr);
  bool Value() const { return value_; }
  void SetValue(bool value);
  void CreateNative() override;

 protected:
  void NativeClicked() override { SetValue(true); }
  void NativeArrow(int step) override;

 private:
  void ShowValue();

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
