// Frames, option buttons, command buttons, labels and lines on Qt widgets.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "runtime/platform/native.h"

namespace rt::qt {

class QtControl : public native::ControlPeer {
 public:
  QtControl(QWidget* widget, const native::PixelRect& bounds) : widget_(widget), bounds_(bounds) {}
  ~QtControl() override;
  void SetChecked(bool checked) override;
  void SetTabStop(bool tab_stop) override;
  void TakeFocus() override;
  QWidget* widget() const { return widget_; }
  // In the form's client area.
  const native::PixelRect& bounds() const { return bounds_; }

 private:
  QPointer<QWidget> widget_;  // a frame's deletion takes its children along
  native::PixelRect bounds_;
};

// A control on the form's widget or inside its container's.
std::unique_ptr<QtControl> CreateQtControl(const native::ControlLook& look,
                                           const native::PixelRect& bounds, QtControl* container,
                                           QWidget* form, native::ControlEvents& events);

}  // namespace rt::qt
