// The settings dialog as Qt shows it (offscreen): every control's place,
// container, caption and colour against the design, the window, the focus
// order by Tab presses, Enter on the first focus, and what assistive
// technology reads through Qt's accessibility interface.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "config/frm_config.h"
#include "runtime/platform/qt/qt_controls.h"
#include "startup/module1.h"

namespace {

QWidget* WidgetOf(const rt::WindowedControl& control) {
  return static_cast<rt::qt::QtControl*>(control.native())->widget();
}

struct Placed {
  const char* name;
  const rt::WindowedControl& control;
  const rt::WindowedControl* container;  // nullptr: the form
  int left, top, width, height;          // pixels: the design's twips / 15
  const char* caption;
};

class ConfigLayout : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    GColor = {"0", "0", "240"};
    GSpeed = "100";
    frmConfig.Show();
    QApplication::processEvents();
  }
  // Its widgets go while Qt still runs, not among the statics at exit.
  static void TearDownTestSuite() { frmConfig.Unload(); }

  static QWidget* Window() { return WidgetOf(frmConfig.Frame1)->window(); }

  static void Press(int key) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(focus, &press);
    QApplication::sendEvent(focus, &release);
    QApplication::processEvents();
  }
};

TEST_F(ConfigLayout, TheWindowIsAFixedCentredDialog) {
  QWidget* window = Window();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->size(), QSize(361, 202)) << "5415 x 3030 twips";
  EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("設定:.::")));
  EXPECT_EQ(window->windowTitle().size(), 63);
  const QPoint offset =
      window->frameGeometry().center() - window->screen()->availableGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 4) << "centred, up to rounding";
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  window->setWindowState(Qt::WindowMaximized);  // as a title bar's button would
  QApplication::processEvents();
  EXPECT_FALSE(window->isMaximized());
  EXPECT_EQ(window->size(), QSize(361, 202));
}

TEST_F(ConfigLayout, EveryControlSitsWhereTheDesignPutsIt) {
  const FrmConfig& f = frmConfig;
  const Placed table[] = {
      {"Frame1", f.Frame1, nullptr, 16, 8, 337, 121, "画面設定"},
      {"Frame2", f.Frame2, &f.Frame1, 12, 16, 153, 69, "文字色"},
      {"Option1(5)", f.Option1(5), &f.Frame2, 30, 20, 22, 19, ""},
      {"Option1(4)", f.Option1(4), &f.Frame2, 68, 20, 22, 19, ""},
      {"Option1(3)", f.Option1(3), &f.Frame2, 104, 20, 22, 19, ""},
      {"Label6(5)", f.Label6(5), &f.Frame2, 28, 40, 22, 15, ""},
      {"Label6(4)", f.Label6(4), &f.Frame2, 64, 40, 22, 15, ""},
      {"Label6(3)", f.Label6(3), &f.Frame2, 100, 40, 22, 14, ""},
      {"Frame3", f.Frame3, &f.Frame1, 172, 16, 153, 69, "スピード"},
      {"Option2(5)", f.Option2(5), &f.Frame3, 28, 24, 17, 13, "Option2"},
      {"Option2(4)", f.Option2(4), &f.Frame3, 64, 24, 17, 13, "Option2"},
      {"Option2(3)", f.Option2(3), &f.Frame3, 100, 24, 17, 13, "Option2"},
      {"Label7(5)", f.Label7(5), &f.Frame3, 24, 44, 29, 17, "最速"},
      {"Label7(4)", f.Label7(4), &f.Frame3, 64, 44, 29, 17, "早い"},
      {"Label7(3)", f.Label7(3), &f.Frame3, 100, 44, 29, 21, "普通"},
      {"Command1", f.Command1, &f.Frame1, 252, 92, 74, 19, "ﾃﾞﾌｫﾙﾄ"},
      {"Label5", f.Label5, nullptr, 8, 136, 57, 17, "最新情報"},
      {"Label3", f.Label3, nullptr, 68, 136, 25, 17, "URL"},
      {"Label2", f.Label2, nullptr, 100, 136, 201, 17, nullptr},
      {"Line1(2)", f.Line1(2), nullptr, 68, 148, 221, 1, nullptr},
      {"Label4", f.Label4, nullptr, 8, 156, 241, 17, nullptr},
      {"Command2", f.Command2, nullptr, 224, 176, 58, 20, "OK"},
      {"Command3", f.Command3, nullptr, 284, 176, 74, 20, "キャンセル"},
  };
  for (const Placed& p : table) {
    QWidget* widget = WidgetOf(p.control);
    EXPECT_EQ(widget->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
    QWidget* expected_parent = p.container ? WidgetOf(*p.container) : Window();
    EXPECT_EQ(widget->parentWidget(), expected_parent) << p.name;
    if (p.caption != nullptr) {
      const QVariant text =
          widget->property("text").isValid() ? widget->property("text") : widget->property("title");
      EXPECT_EQ(text.toString(), QString::fromUtf8(p.caption)) << p.name;
    }
  }
}

TEST_F(ConfigLayout, SwatchesAndTheAddressShowTheirColors) {
  const FrmConfig& f = frmConfig;
  EXPECT_EQ(WidgetOf(f.Label6(5))->palette().color(QPalette::Window), QColor(0, 255, 0));
  EXPECT_EQ(WidgetOf(f.Label6(4))->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(WidgetOf(f.Label6(3))->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(WidgetOf(f.Frame2)->palette().color(QPalette::Window), QColor(224, 224, 224));
  EXPECT_EQ(WidgetOf(f.Label2)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(WidgetOf(f.Line1(2))->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(WidgetOf(f.Label2)->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(WidgetOf(f.Label2)->cursor().hotSpot(), QPoint(12, 1));
}

TEST_F(ConfigLayout, TabVisitsTheButtonsThenEachOptionGroupOnce) {
  const FrmConfig& f = frmConfig;
  EXPECT_EQ(QApplication::focusWidget(), WidgetOf(f.Command1)) << "the first focus";
  const QWidget* expected[] = {WidgetOf(f.Command2), WidgetOf(f.Command3),
                               WidgetOf(f.Option1(3)),  // the selected colour, blue
                               WidgetOf(f.Option2(4)),  // the selected speed, fast
                               WidgetOf(f.Command1)};
  for (size_t stop = 0; stop < std::size(expected); ++stop) {
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), expected[stop]) << "stop " << stop;
  }
}

TEST_F(ConfigLayout, EnterOnTheFirstFocusResetsAndEscapeDoesNothing) {
  WidgetOf(frmConfig.Command1)->setFocus();
  Press(Qt::Key_Escape);
  EXPECT_TRUE(frmConfig.IsLoaded());
  EXPECT_TRUE(frmConfig.Option1(3).Value());
  Press(Qt::Key_Return);
  EXPECT_TRUE(frmConfig.Option1(5).Value());
  EXPECT_TRUE(frmConfig.Option2(5).Value());
  EXPECT_TRUE(frmConfig.IsLoaded()) << "reset only; nothing saved, nothing closed";
  EXPECT_EQ(GColor[2], "240");
}

QAccessibleInterface* Accessible(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget);
}

QAccessibleInterface* Accessible(const rt::WindowedControl& control) {
  return Accessible(WidgetOf(control));
}

// The window is a dialog named by the caption's word; each option button is
// named by the label under it, which labels it, inside a group named by its
// frame's title. The captions stay as designed (the layout test above).
TEST_F(ConfigLayout, AssistiveTechnologyReadsEachChoiceByItsLabel) {
  const FrmConfig& f = frmConfig;
  QAccessibleInterface* window = Accessible(Window());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Dialog);
  EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("設定"));
  struct Choice {
    const rt::OptionButton& option;
    const rt::Label& label;
    const rt::Frame& group;
    const char* name;
  };
  const Choice choices[] = {
      {f.Option1(5), f.Label6(5), f.Frame2, "緑"},   {f.Option1(4), f.Label6(4), f.Frame2, "赤"},
      {f.Option1(3), f.Label6(3), f.Frame2, "青"},   {f.Option2(5), f.Label7(5), f.Frame3, "最速"},
      {f.Option2(4), f.Label7(4), f.Frame3, "早い"}, {f.Option2(3), f.Label7(3), f.Frame3, "普通"},
  };
  for (const Choice& choice : choices) {
    QAccessibleInterface* option = Accessible(choice.option);
    ASSERT_NE(option, nullptr) << choice.name;
    EXPECT_EQ(option->role(), QAccessible::RadioButton) << choice.name;
    EXPECT_EQ(option->text(QAccessible::Name), QString::fromUtf8(choice.name));
    bool labelled = false;
    for (const auto& [other, relation] : option->relations(QAccessible::Label)) {
      labelled = labelled || other == Accessible(choice.label);
    }
    EXPECT_TRUE(labelled) << choice.name << " is labelled by the label under it";
    ASSERT_NE(option->parent(), nullptr);
    EXPECT_EQ(option->parent(), Accessible(choice.group)) << choice.name;
  }
  EXPECT_EQ(Accessible(f.Frame2)->role(), QAccessible::Grouping);
  EXPECT_EQ(Accessible(f.Frame2)->text(QAccessible::Name), QStringLiteral("文字色"));
  EXPECT_EQ(Accessible(f.Frame3)->text(QAccessible::Name), QStringLiteral("スピード"));
  EXPECT_EQ(Accessible(f.Command1)->text(QAccessible::Name), QStringLiteral("ﾃﾞﾌｫﾙﾄ"));
}

}  // namespace
