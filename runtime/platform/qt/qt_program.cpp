// The program's life on Qt: the event loop, the screen's density, message
// boxes and the end of the process.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <cmath>
#include <cstdlib>

#include "runtime/platform/native.h"
#include "runtime/platform/qt/qt_application.h"

namespace rt::native {

void StartProgram(int, char** argv) { qt::SetProgramName(argv[0]); }

void WaitEvents() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

void HandlePendingEvents() {
  if (qt::HasApplication()) QCoreApplication::processEvents();
}

DotsPerInch ScreenDpi() {
  const QScreen* screen = qt::EnsureApplication().primaryScreen();
  if (screen == nullptr) return {96, 96};
  return {static_cast<int>(std::lround(screen->logicalDotsPerInchX())),
          static_cast<int>(std::lround(screen->logicalDotsPerInchY()))};
}

void ShowMessage(const std::string& text, MessageKind kind) {
  const QString message = QString::fromStdString(text);
  if (kind == MessageKind::kWarning) {
    qt::EnsureApplication();
    QMessageBox::warning(nullptr, QStringLiteral("kelvora"), message);
  } else if (qt::HasApplication()) {
    // A run that never opened the display has no screen to show it on.
    QMessageBox::critical(nullptr, QStringLiteral("kelvora"), message);
  }
}

void ExitProcess(int status) { std::_Exit(status); }

}  // namespace rt::native
