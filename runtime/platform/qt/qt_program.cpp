// The program's life on Qt: the event loop, the screen's density, message
// boxes and the end of the process.
#include <QApplication>
#include <QByteArray>
#include <QMessageBox>
#include <QScreen>
#include <QStyleHints>
#include <QtGlobal>
#include <cmath>
#include <cstdlib>

#include "runtime/platform/qt/qt_application.h"
#include "runtime/platform/qt/qt_backend.h"

namespace rt::qt {
namespace {

class QtBackend final : public native::Backend {
 public:
  std::unique_ptr<native::Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                   int client_height,
                                                   native::WindowEvents& events) override {
    return qt::CreateFormWindow(design, client_width, client_height, events);
  }

  std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick) override {
    return qt::CreateTimerSource(std::move(on_tick));
  }

  void WaitEvents() override { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

  void HandlePendingEvents() override {
    if (HasApplication()) QCoreApplication::processEvents();
  }

  native::DotsPerInch ScreenDpi() override {
    const QScreen* screen = EnsureApplication().primaryScreen();
    if (screen == nullptr) return {96, 96};
    return {static_cast<int>(std::lround(screen->logicalDotsPerInchX())),
            static_cast<int>(std::lround(screen->logicalDotsPerInchY()))};
  }

  native::PixelRect WorkArea() override {
    const QScreen* screen = EnsureApplication().primaryScreen();
    if (screen == nullptr) return {0, 0, 0, 0};
    const QRect work = screen->availableGeometry();
    return {work.x(), work.y(), work.width(), work.height()};
  }

  native::DoubleClickLimits DoubleClickSetting() override {
    const QStyleHints* hints = QGuiApplication::styleHints();
    const int distance = hints->mouseDoubleClickDistance();
    return {static_cast<uint32_t>(hints->mouseDoubleClickInterval()), distance, distance};
  }

  void ShowMessage(const std::string& text, native::MessageKind kind) override {
    const QString message = QString::fromStdString(text);
    if (kind == native::MessageKind::kWarning) {
      EnsureApplication();
      QMessageBox::warning(nullptr, QStringLiteral("kelvora"), message);
    } else {
      // Opened for the message, so that a run whose forms Qt never drew
      // shows it too.
      EnsureApplication();
      QMessageBox::critical(nullptr, QStringLiteral("kelvora"), message);
    }
  }

  [[noreturn]] void ExitProcess(int status) override { std::_Exit(status); }
};

}  // namespace

native::Backend& StartBackend(int, char** argv) {
  // The forms layer sizes forms in pixels from the display's own resolution
  // (Xft.dpi), as Windows does: Qt must not scale them again.
  if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING"))
    qputenv("QT_ENABLE_HIGHDPI_SCALING", QByteArray("0"));
  // Without an X display, Qt's own Wayland plugin rather than a failing X
  // one.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", QByteArray("wayland"));
  // Qt's own event loop rather than GLib's: out of descriptors or memory,
  // it ends by qFatal, which says one line; GLib's raises SIGTRAP.
  if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", QByteArray("1"));
  SetProgramName(argv[0]);
  static QtBackend backend;
  return backend;
}

}  // namespace rt::qt
