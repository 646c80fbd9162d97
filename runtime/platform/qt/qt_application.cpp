#include "runtime/platform/qt/qt_application.h"

#include <QApplication>
#include <QByteArray>
#include <QFont>
#include <QFontDatabase>

#include "runtime/platform/linux/carried_font.h"
#include "runtime/platform/qt/qt_failures.h"

namespace rt::qt {
namespace {

// Qt keeps references to argc and argv for the application's life. Only the
// program name goes in, so that Qt's own options never eat a user argument.
int qt_argc = 1;
char* qt_argv[] = {nullptr, nullptr};
// Never destroyed: it would outlive Qt's own statics at exit.
QApplication* application = nullptr;

// The controls draw with the carried glyphs at 9 points, as the Windows
// screen saver's controls do.
constexpr int kControlPoints = 9;

void UseCarriedFont() {
  const std::string_view bytes = linux_program::CarriedFont();
  QFontDatabase::addApplicationFontFromData(
      QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
  QApplication::setFont(QFont(linux_program::kCarriedFontFamily, kControlPoints));
}

}  // namespace

void SetProgramName(const char* argv0) { qt_argv[0] = const_cast<char*>(argv0); }

QApplication& EnsureApplication() {
  if (!application) {
    CatchQtFailures();
    application = new QApplication(qt_argc, qt_argv);
    QtStarted();
    QApplication::setQuitOnLastWindowClosed(false);
    // The Wayland app id: the desktop ties the window to the menu entry that
    // opened it, and shows the entry's name and icon for it.
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvora-settings"));
    UseCarriedFont();
  }
  return *application;
}

bool HasApplication() { return application != nullptr; }

}  // namespace rt::qt
