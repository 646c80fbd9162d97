// A form's window on Qt. The widget paints the form's picture boxes itself
// from their images (they are not widgets), and reports raw input.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"

namespace rt::qt {

class FormWidget : public QWidget {
 public:
  FormWidget(const FormDesign& design, QSize client, native::WindowEvents& events);
  // The form is going: no more input reaches it.
  void Detach() { events_ = nullptr; }
  // Asks for a repaint of the area.
  void Invalidate(const native::PixelRect& area) {
    update(area.x, area.y, area.width, area.height);
  }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  native::WindowEvents* events_;
  QColor back_color_;
  QPixmap picture_;
};

class QtWindow : public native::Window {
 public:
  QtWindow(const FormDesign& design, QSize client, native::WindowEvents& events);
  ~QtWindow() override;
  void SetVisible(bool visible) override;
  void FillScreen() override;
  void MoveTo(int x, int y) override;
  void TakeKeyboard() override;
  int OuterWidth() const override;
  int OuterHeight() const override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void Invalidate(const native::PixelRect& area) override;
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign& font) override;
  std::unique_ptr<native::ControlPeer> CreateControl(const native::ControlLook& look,
                                                     const native::PixelRect& bounds,
                                                     native::ControlPeer* container,
                                                     native::ControlEvents& events) override;
  void OrderControls(const std::vector<native::FocusStop>& order) override;
  QWidget* widget() const { return widget_; }

 private:
  FormWidget* widget_;  // deleted later: the form may unload inside its own event
};

}  // namespace rt::qt
