#include "runtime/qt/qt_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include "runtime/bench_probe.h"
#include "runtime/conversions.h"
#include "runtime/form.h"
#include "runtime/program.h"
#include "runtime/qt/qt_application.h"
#include "runtime/qt/qt_color.h"
#include "runtime/qt/qt_controls.h"
#include "runtime/qt/qt_pictures.h"
#include "runtime/qt/qt_surface.h"

namespace rt::qt {
namespace {

Qt::WindowFlags FlagsFor(BorderStyle style) {
  if (style == BorderStyle::kFixedDialog) {
    return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
           Qt::WindowCloseButtonHint;
  }
  // A screen saver covers panels too: the window sizes itself to the screen
  // and no window manager may move, frame or shrink it.
  return Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint;
}

int16_t ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return kRightButton;
    case Qt::MiddleButton:
      return kMiddleButton;
    default:
      return kLeftButton;
  }
}

int16_t ButtonsOf(Qt::MouseButtons buttons) {
  return static_cast<int16_t>((buttons & Qt::LeftButton ? kLeftButton : 0) |
                              (buttons & Qt::RightButton ? kRightButton : 0) |
                              (buttons & Qt::MiddleButton ? kMiddleButton : 0));
}

int16_t ShiftOf(Qt::KeyboardModifiers modifiers) {
  return static_cast<int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0) |
                              (modifiers & Qt::ControlModifier ? 2 : 0) |
                              (modifiers & Qt::AltModifier ? 4 : 0));
}

}  // namespace

FormWidget::FormWidget(Form& form, const FormDesign& design)
    : QWidget(nullptr, FlagsFor(design.border_style)),
      form_(&form),
      back_color_(ToQColor(design.back_color)),
      bypasses_window_manager_(design.border_style == BorderStyle::kNone) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setWindowTitle(QString::fromStdString(design.caption));
  if (!design.icon.empty()) setWindowIcon(Icon(design.icon));
  if (!design.picture.empty()) picture_ = Picture(design.picture);
  const QSize client(Screen::PixelsX(design.client_width), Screen::PixelsY(design.client_height));
  if (design.border_style == BorderStyle::kFixedDialog) {
    setFixedSize(client);
  } else {
    resize(client);
  }
  if (design.centered && screen() != nullptr) {
    QRect frame(QPoint(), client);
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
  }
  if (bypasses_window_manager_ && picture_.isNull()) {
    setAttribute(Qt::WA_PaintOnScreen);
    canvas_ = X11Canvas::For(*this, back_color_.rgb() & 0xFFFFFF);
    if (!canvas_) setAttribute(Qt::WA_PaintOnScreen, false);
  }
}

void FormWidget::Invalidate(const native::PixelRect& area) {
  if (!canvas_) {
    update(area.x, area.y, area.width, area.height);
  } else if (form_ != nullptr && isVisible()) {
    canvas_->Paint(*form_, area, width(), height());
  }
}

std::unique_ptr<native::Surface> FormWidget::CreateSurface(const FontDesign& font) const {
  if (canvas_) return canvas_->CreateSurface(font);
  return std::make_unique<QtSurface>(font);
}

QPaintEngine* FormWidget::paintEngine() const { return canvas_ ? nullptr : QWidget::paintEngine(); }

void FormWidget::paintEvent(QPaintEvent* event) {
  bench::FirstMap();  // the first paint follows the map
  if (canvas_) {
    if (form_ == nullptr) return;
    for (const QRect& rect : event->region())
      canvas_->Paint(*form_, {rect.x(), rect.y(), rect.width(), rect.height()}, width(), height());
    return;
  }
  QPainter painter(this);
  // Rect by rect: a tick dirties a strip per moving column, and painting the
  // strips' bounding box would redraw the whole screen.
  for (const QRect& rect : event->region()) {
    painter.fillRect(rect, back_color_);
    if (!picture_.isNull()) painter.drawPixmap(rect, picture_, rect);
    if (form_ == nullptr) continue;
    form_->ForEachBoxIn({rect.x(), rect.y(), rect.width(), rect.height()},
                        [&](const native::Surface& surface, const native::PixelRect& bounds) {
                          const QRect target =
                              rect & QRect(bounds.x, bounds.y, bounds.width, bounds.height);
                          painter.drawImage(target, static_cast<const QtSurface&>(surface).image(),
                                            target.translated(-bounds.x, -bounds.y));
                        });
  }
}

void FormWidget::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  if (form_ == nullptr) return;
  const QPoint at = event->position().toPoint();
  form_->InputMouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers()), at.x(), at.y());
}

void FormWidget::mouseReleaseEvent(QMouseEvent* event) {
  const bool was_pressed = pressed_;
  pressed_ = false;
  if (form_ == nullptr || !was_pressed || !rect().contains(event->position().toPoint())) return;
  const QPoint at = event->position().toPoint();
  form_->InputClick(at.x(), at.y());
}

void FormWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
  if (form_ == nullptr) return;
  const QPoint at = event->position().toPoint();
  form_->InputDblClick(at.x(), at.y());
}

void FormWidget::mouseMoveEvent(QMouseEvent* event) {
  if (form_ == nullptr) return;
  const QPoint at = event->position().toPoint();
  form_->InputMouseMove(ButtonsOf(event->buttons()), ShiftOf(event->modifiers()), at.x(), at.y());
}

void FormWidget::keyPressEvent(QKeyEvent* event) {
  // Only keys that give a character raise KeyPress: arrows, function keys
  // and modifiers alone give none.
  const QString text = event->text();
  if (form_ == nullptr || text.isEmpty()) return;
  form_->InputKeyPress(static_cast<int16_t>(Asc(text.left(1).toStdString()) & 0x7FFF));
}

void FormWidget::closeEvent(QCloseEvent* event) {
  event->ignore();  // the form decides, through its unload
  if (form_ != nullptr) form_->InputClose();
}

void FormWidget::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!bypasses_window_manager_) return;
  // No window manager gives an override-redirect window the focus.
  activateWindow();
  grabKeyboard();
}

QtWindow::QtWindow(Form& form, const FormDesign& design) : widget_(new FormWidget(form, design)) {}

QtWindow::~QtWindow() {
  widget_->Detach();
  widget_->hide();
  widget_->deleteLater();
}

void QtWindow::SetVisible(bool visible) { widget_->setVisible(visible); }

void QtWindow::FillScreen() {
  if (const QScreen* screen = widget_->screen()) widget_->setGeometry(screen->geometry());
}

int QtWindow::OuterWidth() const { return widget_->frameGeometry().width(); }

int QtWindow::OuterHeight() const { return widget_->frameGeometry().height(); }

void QtWindow::Invalidate(const native::PixelRect& area) { widget_->Invalidate(area); }

std::unique_ptr<native::Surface> QtWindow::CreateSurface(const FontDesign& font) {
  return widget_->CreateSurface(font);
}

std::unique_ptr<native::Control> QtWindow::CreateControl(native::ControlKind kind,
                                                         const ControlDesign& design,
                                                         native::Control* container,
                                                         std::function<void()> on_click) {
  QWidget* parent = container ? static_cast<QtControl*>(container)->widget() : widget_;
  return CreateQtControl(kind, design, parent, std::move(on_click));
}

void QtWindow::ControlsCreated() { ArrangeFocus(widget_); }

}  // namespace rt::qt

namespace rt::native {

std::unique_ptr<Window> CreateFormWindow(Form& form, const FormDesign& design) {
  qt::EnsureApplication();
  return std::make_unique<qt::QtWindow>(form, design);
}

}  // namespace rt::native
