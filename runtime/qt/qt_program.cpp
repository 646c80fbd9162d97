// Program life on Qt: start, End, DoEvents, the command line, the screen and
// the message of an unhandled run-time error.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "runtime/event_guard.h"
#include "runtime/form.h"
#include "runtime/native.h"
#include "runtime/program.h"
#include "runtime/qt/qt_application.h"
#include "runtime/qt/qt_timer.h"
#include "runtime/runtime_error.h"

namespace rt {
namespace {

std::string command_text;

struct TwipsPerPixelPair {
  float x;
  float y;
};

// Asked on every move of every column, so read from the screen once.
const TwipsPerPixelPair& ScreenTwips() {
  static const TwipsPerPixelPair twips = [] {
    const QScreen* screen = qt::EnsureApplication().primaryScreen();
    const auto per_pixel = [](qreal dpi) {
      return static_cast<float>(1440.0 / (dpi > 0 ? dpi : 96.0));
    };
    if (screen == nullptr) return TwipsPerPixelPair{15, 15};
    return TwipsPerPixelPair{per_pixel(screen->logicalDotsPerInchX()),
                             per_pixel(screen->logicalDotsPerInchY())};
  }();
  return twips;
}

}  // namespace

int ThunRTMain(int argc, char** argv, void (*main_procedure)()) {
  qt::SetProgramName(argv[0]);
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_text += ' ';
    command_text += argv[i];
  }
  RunGuarded(main_procedure);
  const int status = AnyFormLoaded() ? QApplication::exec() : 0;
  // Forms and Qt live in statics whose destruction order is unknown; the
  // process is over, so none of them is torn down.
  std::fflush(nullptr);
  std::_Exit(status);
}

void End() {
  std::fflush(nullptr);
  std::_Exit(0);
}

void DoEvents() {
  if (qt::HasApplication()) QCoreApplication::processEvents();
}

std::string Command() { return command_text; }

void MsgBox(const std::string& prompt) {
  QMessageBox::warning(nullptr, QStringLiteral("kelvora"), QString::fromStdString(prompt));
}

float Screen::TwipsPerPixelX() { return ScreenTwips().x; }
float Screen::TwipsPerPixelY() { return ScreenTwips().y; }

namespace native {

void QuitEventLoop() {
  if (qt::HasApplication()) QCoreApplication::exit(0);
}

void FatalError(int number) {
  const std::string message = ErrorMessage(number);
  std::fprintf(stderr, "kelvora: %s\n", message.c_str());
  std::fflush(stderr);
  if (qt::HasApplication()) {
    // No event code runs while the message is up. The program's own windows
    // go too: a full-screen window would hide the message and hold the keyboard.
    qt::StopAllTimers();
    for (QWidget* widget : QApplication::topLevelWidgets()) widget->hide();
    QMessageBox::critical(nullptr, QStringLiteral("kelvora"), QString::fromStdString(message));
  }
  std::_Exit(1);
}

}  // namespace native
}  // namespace rt
