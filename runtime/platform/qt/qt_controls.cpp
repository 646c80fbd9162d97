#include "runtime/platform/qt/qt_controls.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>

#include "runtime/platform/qt/qt_color.h"
#include "runtime/platform/qt/qt_pictures.h"

namespace rt::qt {
namespace {

void ApplyColors(QWidget* widget, const native::ControlLook& look) {
  QPalette palette = widget->palette();
  const QColor back = ToQColor(look.back_color);
  const QColor fore = ToQColor(look.fore_color);
  palette.setColor(QPalette::Window, back);
  palette.setColor(QPalette::Button, back);
  palette.setColor(QPalette::WindowText, fore);
  palette.setColor(QPalette::ButtonText, fore);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// The focus mark: a solid frame in the control's text colour, `width`
// pixels wide, `inset` pixels inside its edge. The style's own mark is faint
// (a pale ring, a dotted frame over the green face), and the design's narrow
// option buttons clip it; an unfocused control keeps its look.
void DrawFocusMark(QWidget& widget, int inset, int width) {
  if (!widget.hasFocus()) return;
  QPainter painter(&widget);
  painter.setPen(widget.palette().color(widget.foregroundRole()));
  for (int ring = inset; ring < inset + width; ++ring) {
    painter.drawRect(widget.rect().adjusted(ring, ring, -ring - 1, -ring - 1));
  }
}

// A button as the style draws it, with the focus mark inside its border.
class MarkedButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPushButton::paintEvent(event);
    DrawFocusMark(*this, 2, 2);
  }
};

// A button in the graphical style: its picture on the face, clipped, under
// the caption.
class PictureButton : public QPushButton {
 public:
  PictureButton(const QString& caption, QPixmap face, QWidget* parent)
      : QPushButton(caption, parent), face_(std::move(face)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    {
      QPainter painter(this);
      painter.drawPixmap(0, 0, face_);
      QStyleOptionButton option;
      initStyleOption(&option);
      option.features |= QStyleOptionButton::Flat;
      style()->drawControl(QStyle::CE_PushButtonLabel, &option, &painter, this);
      if (isDown()) painter.fillRect(rect(), QColor(0, 0, 0, 40));
    }
    DrawFocusMark(*this, 2, 2);
  }

 private:
  QPixmap face_;
};

// An option button that reports arrow keys instead of moving by position.
// It is only as wide as its mark, so the focus mark runs along its edge.
class OptionWidget : public QRadioButton {
 public:
  OptionWidget(const QString& caption, QWidget* parent, native::ControlEvents& events)
      : QRadioButton(caption, parent), events_(events) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QRadioButton::paintEvent(event);
    DrawFocusMark(*this, 0, 1);
  }
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Left:
      case Qt::Key_Up:
        events_.Arrow(-1);
        return;
      case Qt::Key_Right:
      case Qt::Key_Down:
        events_.Arrow(1);
        return;
      default:
        QRadioButton::keyPressEvent(event);
    }
  }

 private:
  native::ControlEvents& events_;
};

QWidget* MakeWidget(const native::ControlLook& look, QWidget* parent,
                    native::ControlEvents& events) {
  const QString caption = QString::fromStdString(look.caption);
  switch (look.kind) {
    case native::ControlKind::kFrame:
      return new QGroupBox(caption, parent);
    case native::ControlKind::kOptionButton: {
      auto* option = new OptionWidget(caption, parent, events);
      QObject::connect(option, &QRadioButton::clicked, option, [&events] { events.Pressed(); });
      return option;
    }
    case native::ControlKind::kCommandButton: {
      QPushButton* button = look.picture.empty()
                                ? static_cast<QPushButton*>(new MarkedButton(caption, parent))
                                : new PictureButton(caption, Picture(look.picture), parent);
      // Enter presses the button that has the focus; none is the default.
      button->setAutoDefault(true);
      QObject::connect(button, &QPushButton::clicked, button, [&events] { events.Pressed(); });
      return button;
    }
    case native::ControlKind::kLabel: {
      auto* label = new QLabel(caption, parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case native::ControlKind::kLine:
      return new QWidget(parent);
  }
  return nullptr;
}

}  // namespace

QtControl::~QtControl() { delete widget_; }

void QtControl::SetChecked(bool checked) {
  if (auto* option = qobject_cast<QRadioButton*>(widget_.data())) option->setChecked(checked);
}

void QtControl::SetTabStop(bool tab_stop) {
  // Still focused by a click, as on Windows.
  widget_->setFocusPolicy(tab_stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void QtControl::TakeFocus() { widget_->setFocus(); }

std::unique_ptr<QtControl> CreateQtControl(const native::ControlLook& look,
                                           const native::PixelRect& bounds, QtControl* container,
                                           QWidget* form, native::ControlEvents& events) {
  QWidget* parent = container != nullptr ? container->widget() : form;
  QWidget* widget = MakeWidget(look, parent, events);
  const QPoint origin =
      container != nullptr ? QPoint(container->bounds().x, container->bounds().y) : QPoint();
  widget->setGeometry(QRect(bounds.x, bounds.y, bounds.width, bounds.height).translated(-origin));
  ApplyColors(widget, look);
  if (!look.accessible_name.empty()) {
    widget->setAccessibleName(QString::fromStdString(look.accessible_name));
  }
  if (!look.mouse_icon.empty()) widget->setCursor(Cursor(look.mouse_icon));
  widget->show();
  return std::make_unique<QtControl>(widget, bounds);
}

}  // namespace rt::qt
