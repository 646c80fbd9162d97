// A form's window on Qt. The widget paints the form's picture boxes itself
// from their images (they are not widgets), and reports input to the form.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>

#include "runtime/design.h"
#include "runtime/native.h"
#include "runtime/qt/x11_canvas.h"

namespace rt {
class Form;
}

namespace rt::qt {

class FormWidget : public QWidget {
 public:
  FormWidget(Form& form, const FormDesign& design);
  // The form is going: no more input reaches it.
  void Detach() { form_ = nullptr; }
  // Repaints the area: at once when drawn straight onto X, else later.
  void Invalidate(const native::PixelRect& area);
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign& font) const;
  QPaintEngine* paintEngine() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  Form* form_;
  QColor back_color_;
  QPixmap picture_;
  bool bypasses_window_manager_;
  bool pressed_ = false;
  std::unique_ptr<X11Canvas> canvas_;  // only for the full-screen form on X
};

class QtWindow : public native::Window {
 public:
  QtWindow(Form& form, const FormDesign& design);
  ~QtWindow() override;
  void SetVisible(bool visible) override;
  void FillScreen() override;
  int OuterWidth() const override;
  int OuterHeight() const override;
  void Invalidate(const native::PixelRect& area) override;
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign& font) override;
  std::unique_ptr<native::Control> CreateControl(native::ControlKind kind,
                                                 const ControlDesign& design,
                                                 native::Control* container,
                                                 std::function<void()> on_click) override;
  void ControlsCreated() override;

 private:
  FormWidget* widget_;  // deleted later: the form may unload inside its own event
};

}  // namespace rt::qt
