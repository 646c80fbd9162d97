#include "runtime/qt/qt_controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>
#include <vector>

#include "runtime/program.h"
#include "runtime/qt/qt_color.h"
#include "runtime/qt/qt_pictures.h"

namespace rt::qt {
namespace {

const char kTabIndex[] = "kelvoraTabIndex";

void ApplyColours(QWidget* widget, const ControlDesign& design) {
  QPalette palette = widget->palette();
  const QColor back = ToQColor(design.back_color);
  const QColor fore = ToQColor(design.fore_color);
  palette.setColor(QPalette::Window, back);
  palette.setColor(QPalette::Button, back);
  palette.setColor(QPalette::WindowText, fore);
  palette.setColor(QPalette::ButtonText, fore);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// A button in the graphical style: its picture on the face, clipped, under
// the caption.
class PictureButton : public QPushButton {
 public:
  PictureButton(const QString& caption, QPixmap face, QWidget* parent)
      : QPushButton(caption, parent), face_(std::move(face)) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawPixmap(0, 0, face_);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.features |= QStyleOptionButton::Flat;
    style()->drawControl(QStyle::CE_PushButtonLabel, &option, &painter, this);
    if (isDown()) painter.fillRect(rect(), QColor(0, 0, 0, 40));
    if (hasFocus()) {
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect = rect().adjusted(3, 3, -3, -3);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
  }

 private:
  QPixmap face_;
};

QWidget* MakeWidget(native::ControlKind kind, const ControlDesign& design, QWidget* parent,
                    std::function<void()>& on_click) {
  const QString caption = QString::fromStdString(design.caption);
  switch (kind) {
    case native::ControlKind::kFrame:
      return new QGroupBox(caption, parent);
    case native::ControlKind::kOptionButton: {
      auto* option = new QRadioButton(caption, parent);
      QObject::connect(option, &QRadioButton::clicked, option, [on_click] { on_click(); });
      return option;
    }
    case native::ControlKind::kCommandButton: {
      QPushButton* button = design.picture.empty()
                                ? new QPushButton(caption, parent)
                                : new PictureButton(caption, Picture(design.picture), parent);
      // Enter presses the button that has the focus; none is the default.
      button->setAutoDefault(true);
      QObject::connect(button, &QPushButton::clicked, button, [on_click] { on_click(); });
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
  auto* option = qobject_cast<QRadioButton*>(widget_.data());
  if (option == nullptr) return;
  option->setChecked(checked);
  // Tab stops on a group once, at its selected option.
  option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
}

std::unique_ptr<QtControl> CreateQtControl(native::ControlKind kind, const ControlDesign& design,
                                           QWidget* parent, std::function<void()> on_click) {
  QWidget* widget = MakeWidget(kind, design, parent, on_click);
  if (kind == native::ControlKind::kLine) {
    // A horizontal or vertical line one pixel thick, in its colour.
    const int x1 = Screen::PixelsX(design.left), y1 = Screen::PixelsY(design.top);
    const int x2 = Screen::PixelsX(design.left + design.width),
              y2 = Screen::PixelsY(design.top + design.height);
    widget->setGeometry(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1,
                        std::abs(y2 - y1) + 1);
    ControlDesign filled = design;
    filled.back_color = design.fore_color;
    ApplyColours(widget, filled);
  } else {
    widget->setGeometry(Screen::PixelsX(design.left), Screen::PixelsY(design.top),
                        Screen::PixelsX(design.width), Screen::PixelsY(design.height));
    ApplyColours(widget, design);
  }
  if (!design.mouse_icon.empty()) widget->setCursor(Cursor(design.mouse_icon));
  widget->setProperty(kTabIndex, design.tab_index);
  widget->setFocusPolicy(design.tab_index >= 0 && (kind == native::ControlKind::kCommandButton ||
                                                   kind == native::ControlKind::kOptionButton)
                             ? Qt::StrongFocus
                             : Qt::NoFocus);
  widget->show();
  return std::make_unique<QtControl>(widget);
}

void ArrangeFocus(QWidget* form) {
  std::vector<QWidget*> stops;
  for (QWidget* child : form->findChildren<QWidget*>()) {
    if (child->focusPolicy() != Qt::NoFocus && child->property(kTabIndex).isValid()) {
      stops.push_back(child);
    }
  }
  std::stable_sort(stops.begin(), stops.end(), [](QWidget* a, QWidget* b) {
    return a->property(kTabIndex).toInt() < b->property(kTabIndex).toInt();
  });
  for (size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1], stops[i]);
  if (!stops.empty()) stops.front()->setFocus();
}

}  // namespace rt::qt
