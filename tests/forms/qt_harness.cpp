#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include "runtime/platform/qt/qt_application.h"
#include "runtime/platform/qt/qt_controls.h"
#include "runtime/platform/qt/qt_surface.h"
#include "runtime/platform/qt/qt_window.h"
#include "tests/forms/backend_harness.h"

namespace {

QWidget* WidgetOf(const rt::Form& form) {
  return static_cast<const rt::qt::QtWindow*>(form.window())->widget();
}

QWidget* WidgetOf(const rt::WindowedControl& control) {
  return static_cast<const rt::qt::QtControl*>(control.native())->widget();
}

Qt::MouseButton QtButton(int button) {
  switch (button) {
    case 1:
      return Qt::LeftButton;
    case 2:
      return Qt::MiddleButton;
    case 3:
      return Qt::RightButton;
    case 8:
      return Qt::BackButton;
    default:
      return Qt::ForwardButton;
  }
}

Qt::MouseButtons held;

uint32_t last_press = 0;

void SendMouse(const rt::Form& form, QEvent::Type type, Qt::MouseButton button, int x, int y) {
  QWidget* widget = WidgetOf(form);
  const QPointF at(x, y);
  QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
  event.setTimestamp(last_press);
  QApplication::sendEvent(widget, &event);
}

Qt::KeyboardModifiers QtModifiers(rt::native::Modifiers m) {
  Qt::KeyboardModifiers modifiers;
  if (m.shift) modifiers |= Qt::ShiftModifier;
  if (m.ctrl) modifiers |= Qt::ControlModifier;
  if (m.alt) modifiers |= Qt::AltModifier;
  return modifiers;
}

// The key and text that Qt on X gives for the stroke.
int QtKey(const rt::native::KeyStroke& stroke) {
  switch (stroke.key) {
    case rt::native::Key::kDelete:
      return Qt::Key_Delete;
    case rt::native::Key::kInsert:
      return Qt::Key_Insert;
    case rt::native::Key::kEnter:
      return Qt::Key_Return;
    case rt::native::Key::kEscape:
      return Qt::Key_Escape;
    case rt::native::Key::kBackspace:
      return Qt::Key_Backspace;
    case rt::native::Key::kTab:
      return stroke.modifiers.shift ? Qt::Key_Backtab : Qt::Key_Tab;
    case rt::native::Key::kNoCharacter:
      return Qt::Key_F5;
    case rt::native::Key::kCharacter:
      break;
  }
  const char32_t c = stroke.character;
  if (c >= U'a' && c <= U'z') return Qt::Key_A + static_cast<int>(c - U'a');
  if (c >= 1 && c <= 26) return Qt::Key_A + static_cast<int>(c - 1);  // Ctrl applied
  return c < 0x80 ? static_cast<int>(c) : Qt::Key_unknown;
}

}  // namespace

ScreenPixels ScreenSize() {
  const QRect geometry = rt::qt::EnsureApplication().primaryScreen()->geometry();
  return {geometry.width(), geometry.height()};
}

void Pump() { QCoreApplication::processEvents(); }

bool HasInk(const rt::native::Surface& surface) {
  const QImage& image = static_cast<const rt::qt::QtSurface&>(surface).image();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) != 0) return true;
    }
  }
  return false;
}

bool HoldsWindowedControls() { return true; }

bool InjectsInput() { return true; }

void Press(const rt::Form& form, int button, int x, int y, bool double_click) {
  held |= QtButton(button);
  last_press = NextPressTime(double_click);
  SendMouse(form, double_click ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress,
            QtButton(button), x, y);
}

void Release(const rt::Form& form, int button, int x, int y) {
  held &= ~QtButton(button);
  SendMouse(form, QEvent::MouseButtonRelease, QtButton(button), x, y);
}

void Move(const rt::Form& form, int x, int y) {
  SendMouse(form, QEvent::MouseMove, Qt::NoButton, x, y);
}

void Type(const rt::Form& form, const rt::native::KeyStroke& stroke) {
  const QString text = stroke.character == 0 ? QString() : QString::fromUcs4(&stroke.character, 1);
  QKeyEvent event(QEvent::KeyPress, QtKey(stroke), QtModifiers(stroke.modifiers), text);
  QApplication::sendEvent(WidgetOf(form), &event);
}

void Arrow(const rt::WindowedControl& control, int step) {
  QKeyEvent event(QEvent::KeyPress, step > 0 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(WidgetOf(control), &event);
}

bool Focused(const rt::WindowedControl& control) {
  QWidget* widget = WidgetOf(control);
  return widget->window()->focusWidget() == widget;
}

std::string AccessibleName(const rt::WindowedControl& control) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(WidgetOf(control));
  return face != nullptr ? face->text(QAccessible::Name).toStdString() : std::string();
}
