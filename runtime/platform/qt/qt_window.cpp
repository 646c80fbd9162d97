#include "runtime/platform/qt/qt_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <bit>

#include "runtime/platform/bench_probe.h"
#include "runtime/platform/qt/qt_application.h"
#include "runtime/platform/qt/qt_backend.h"
#include "runtime/platform/qt/qt_color.h"
#include "runtime/platform/qt/qt_controls.h"
#include "runtime/platform/qt/qt_pictures.h"
#include "runtime/platform/qt/qt_surface.h"

namespace rt::qt {
namespace {

Qt::WindowFlags FlagsFor(BorderStyle style) {
  if (style == BorderStyle::kFixedDialog) {
    // Only the hints named, none to maximise: the window can't be resized.
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
           Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  }
  // A screen saver covers panels too: the window sizes itself to the screen
  // and no window manager may move, frame or shrink it.
  return Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint;
}

// Buttons as X numbers them; those X has no number for get their own.
native::PointerButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::MiddleButton:
      return 2;
    case Qt::RightButton:
      return 3;
    case Qt::BackButton:
      return 8;
    case Qt::ForwardButton:
      return 9;
    default:
      return 10 + std::countr_zero(static_cast<unsigned>(button));
  }
}

native::Modifiers ModifiersOf(Qt::KeyboardModifiers modifiers) {
  return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
          modifiers.testFlag(Qt::AltModifier)};
}

native::Key KeyOf(int key, bool gives_text) {
  switch (key) {
    case Qt::Key_Delete:
      return native::Key::kDelete;
    case Qt::Key_Insert:
      return native::Key::kInsert;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return native::Key::kEnter;
    case Qt::Key_Escape:
      return native::Key::kEscape;
    case Qt::Key_Backspace:
      return native::Key::kBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return native::Key::kTab;
    default:
      return gives_text ? native::Key::kCharacter : native::Key::kNoCharacter;
  }
}

// With Ctrl or Alt the key's own character, as Qt names printable keys;
// otherwise what the layout types.
char32_t CharacterOf(const QKeyEvent& event) {
  const int key = event.key();
  if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && key >= 0x20 && key < 0x7F) {
    return static_cast<char32_t>(key);
  }
  const QList<uint> text = event.text().toUcs4();
  return text.isEmpty() ? 0 : static_cast<char32_t>(text.front());
}

// A form with a dialog's border is a dialog to assistive technology; Qt
// takes any other top-level widget for a plain client area.
QAccessibleInterface* DialogAccessible(const QString& /*class_name*/, QObject* object) {
  auto* form = dynamic_cast<FormWidget*>(object);
  if (form == nullptr || form->windowType() != Qt::Dialog) return nullptr;
  return new QAccessibleWidget(form, QAccessible::Dialog);
}

}  // namespace

FormWidget::FormWidget(const FormDesign& design, QSize client, native::WindowEvents& events)
    : QWidget(nullptr, FlagsFor(design.border_style)),
      events_(&events),
      back_color_(ToQColor(design.back_color)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  // After QApplication's own factory, so that this one is asked first.
  [[maybe_unused]] static const bool dialogs_known =
      (QAccessible::installFactory(DialogAccessible), true);
  setWindowTitle(QString::fromStdString(design.caption));
  if (!design.accessible_name.empty()) {
    setAccessibleName(QString::fromStdString(design.accessible_name));
  }
  if (!design.icon.empty()) setWindowIcon(Icon(design.icon));
  if (!design.picture.empty()) picture_ = Picture(design.picture);
  if (design.border_style == BorderStyle::kFixedDialog) {
    setFixedSize(client);
  } else {
    resize(client);
  }
}

void FormWidget::paintEvent(QPaintEvent* event) {
  bench::FirstMap();  // the first paint follows the map
  QPainter painter(this);
  // Rect by rect: a tick dirties a strip per moving column, and painting the
  // strips' bounding box would redraw the whole screen.
  for (const QRect& rect : event->region()) {
    painter.fillRect(rect, back_color_);
    if (!picture_.isNull()) painter.drawPixmap(rect, picture_, rect);
    if (events_ == nullptr) continue;
    events_->ForEachBoxIn(
        {rect.x(), rect.y(), rect.width(), rect.height()},
        [&](const native::Surface& surface, const native::PixelRect& bounds) {
          const QRect target = rect & QRect(bounds.x, bounds.y, bounds.width, bounds.height);
          painter.drawImage(target, static_cast<const QtSurface&>(surface).image(),
                            target.translated(-bounds.x, -bounds.y));
        });
  }
}

// Each report returns at once: the form may unload inside it.
void FormWidget::mousePressEvent(QMouseEvent* event) {
  if (events_ == nullptr) return;
  const QPoint at = event->position().toPoint();
  events_->ButtonDown(ButtonOf(event->button()), at.x(), at.y(), ModifiersOf(event->modifiers()),
                      static_cast<uint32_t>(event->timestamp()));
}

void FormWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (events_ == nullptr) return;
  const QPoint at = event->position().toPoint();
  events_->ButtonUp(ButtonOf(event->button()), at.x(), at.y(), ModifiersOf(event->modifiers()));
}

// Qt's own double click is a second press to the forms layer, which counts.
void FormWidget::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void FormWidget::mouseMoveEvent(QMouseEvent* event) {
  if (events_ == nullptr) return;
  const QPoint at = event->position().toPoint();
  events_->PointerMoved(at.x(), at.y(), ModifiersOf(event->modifiers()));
}

void FormWidget::keyPressEvent(QKeyEvent* event) {
  if (events_ == nullptr) return;
  const char32_t character = CharacterOf(*event);
  events_->KeyDown(
      {KeyOf(event->key(), character != 0), character, ModifiersOf(event->modifiers())});
}

void FormWidget::closeEvent(QCloseEvent* event) {
  event->ignore();  // the form decides, through its unload
  if (events_ != nullptr) events_->CloseRequested();
}

// Qt's own window decorations (on a Wayland compositor that draws none)
// offer maximising whatever the window's hints; a dialog of fixed size
// stays as it is.
void FormWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && windowType() == Qt::Dialog &&
      windowState().testFlag(Qt::WindowMaximized)) {
    setWindowState(windowState() & ~Qt::WindowMaximized);
  }
}

QtWindow::QtWindow(const FormDesign& design, QSize client, native::WindowEvents& events)
    : widget_(new FormWidget(design, client, events)) {}

QtWindow::~QtWindow() {
  widget_->Detach();
  widget_->hide();
  widget_->deleteLater();
}

void QtWindow::SetVisible(bool visible) { widget_->setVisible(visible); }

void QtWindow::MoveTo(int x, int y) { widget_->move(x, y); }

void QtWindow::TakeKeyboard() {
  widget_->activateWindow();
  widget_->grabKeyboard();
}

void QtWindow::FillScreen() {
  if (const QScreen* screen = widget_->screen()) widget_->setGeometry(screen->geometry());
}

int QtWindow::OuterWidth() const { return widget_->frameGeometry().width(); }

int QtWindow::OuterHeight() const { return widget_->frameGeometry().height(); }

int QtWindow::ClientWidth() const { return widget_->width(); }

int QtWindow::ClientHeight() const { return widget_->height(); }

void QtWindow::Invalidate(const native::PixelRect& area) { widget_->Invalidate(area); }

std::unique_ptr<native::Surface> QtWindow::CreateSurface(const FontDesign& font) {
  return std::make_unique<QtSurface>(font);
}

std::unique_ptr<native::ControlPeer> QtWindow::CreateControl(const native::ControlLook& look,
                                                             const native::PixelRect& bounds,
                                                             native::ControlPeer* container,
                                                             native::ControlEvents& events) {
  return CreateQtControl(look, bounds, static_cast<QtControl*>(container), widget_, events);
}

void QtWindow::OrderControls(const std::vector<native::FocusStop>& order) {
  QWidget* previous = nullptr;
  for (const native::FocusStop& stop : order) {
    QWidget* widget = static_cast<QtControl*>(stop.control)->widget();
    widget->setFocusPolicy(stop.takes_focus ? Qt::StrongFocus : Qt::NoFocus);
    // A label whose buddy is the control is, to Qt's accessibility, what
    // labels it.
    if (stop.label != nullptr) {
      if (auto* label = qobject_cast<QLabel*>(static_cast<QtControl*>(stop.label)->widget())) {
        label->setBuddy(widget);
      }
    }
    if (!stop.takes_focus) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

std::unique_ptr<native::Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                 int client_height, native::WindowEvents& events) {
  EnsureApplication();
  return std::make_unique<QtWindow>(design, QSize(client_width, client_height), events);
}

}  // namespace rt::qt
