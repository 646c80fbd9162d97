#include "runtime/platform/qt/qt_application.h"

#include <QApplication>

namespace rt::qt {
namespace {

// Qt keeps references to argc and argv for the application's life. Only the
// program name goes in, so that Qt's own options never eat a user argument.
int qt_argc = 1;
char* qt_argv[] = {nullptr, nullptr};
// Never destroyed: it would outlive Qt's own statics at exit.
QApplication* application = nullptr;

}  // namespace

void SetProgramName(const char* argv0) { qt_argv[0] = const_cast<char*>(argv0); }

QApplication& EnsureApplication() {
  if (!application) {
    application = new QApplication(qt_argc, qt_argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The Wayland app id: the desktop ties the window to the menu entry that
    // opened it, and shows the entry's name and icon for it.
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvora-settings"));
  }
  return *application;
}

bool HasApplication() { return application != nullptr; }

}  // namespace rt::qt
