// Frames, option buttons, command buttons, labels and lines on Qt widgets.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "runtime/design.h"
#include "runtime/native.h"

namespace rt::qt {

class QtControl : public native::Control {
 public:
  explicit QtControl(QWidget* widget) : widget_(widget) {}
  ~QtControl() override;
  void SetChecked(bool checked) override;
  QWidget* widget() const { return widget_; }

 private:
  QPointer<QWidget> widget_;  // a frame's deletion takes its children along
};

std::unique_ptr<QtControl> CreateQtControl(native::ControlKind kind, const ControlDesign& design,
                                           QWidget* parent, std::function<void()> on_click);

// Chains the focus through the controls by tab index and puts it on the
// first one that takes it; an option group is one stop, on its selected mark.
void ArrangeFocus(QWidget* form);

}  // namespace rt::qt
