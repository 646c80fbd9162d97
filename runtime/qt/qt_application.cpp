#include "runtime/qt/qt_application.h"

#include <QApplication>
#include <memory>

namespace rt::qt {
namespace {

// Qt keeps references to argc and argv for the application's life. Only the
// program name goes in, so that Qt's own options never eat a user argument.
int qt_argc = 1;
char* qt_argv[] = {nullptr, nullptr};
std::unique_ptr<QApplication> application;

}  // namespace

void SetProgramName(const char* argv0) { qt_argv[0] = const_cast<char*>(argv0); }

QApplication& EnsureApplication() {
  if (!application) {
    application = std::make_unique<QApplication>(qt_argc, qt_argv);
    QApplication::setQuitOnLastWindowClosed(false);
  }
  return *application;
}

bool HasApplication() { return application != nullptr; }

}  // namespace rt::qt
