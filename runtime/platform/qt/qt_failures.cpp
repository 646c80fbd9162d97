#include "runtime/platform/qt/qt_failures.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QString>
#include <QtGlobal>
#include <mutex>
#include <vector>

#include "runtime/platform/fatal_error.h"

namespace rt::qt {
namespace {

// A message of Qt's start, kept to be given to Qt's own handler later.
struct Held {
  QtMsgType type;
  const char* file;
  int line;
  const char* function;
  const char* category;
  QString message;
};

std::mutex guard;
bool started = false;
std::vector<Held> held;
QtMessageHandler qt_handler = nullptr;

[[noreturn]] void EndInOneLine(const char* why) { native::FailFatally(why); }

[[noreturn]] void EndInOneLine(const QString& why) {
  EndInOneLine(qPrintable(why.section(QLatin1Char('\n'), 0, 0)));
}

// Why Qt's connection to the X server broke, or 0. Qt's X plugin warns and
// then calls exit(), whose destructors crash under the live application.
int XConnectionError() {
  if (qApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) return 0;
  const auto* x = qApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x != nullptr ? x->connection() : nullptr;
  return connection != nullptr ? xcb_connection_has_error(connection) : 0;
}

void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const std::lock_guard lock(guard);
  if (type == QtFatalMsg) {
    // The last warning of a failed start says why; the fatal message only
    // that it failed.
    if (!started)
      EndInOneLine("Qt could not start: " + (held.empty() ? message : held.back().message));
    EndInOneLine("Qt failed: " + message);
  }
  if (const int error = XConnectionError()) {
    // xcb gives up its connection when memory runs out.
    EndInOneLine(error == XCB_CONN_CLOSED_MEM_INSUFFICIENT
                     ? "out of memory"
                     : "the connection to the X server was lost");
  }
  if (!started) {
    held.push_back({type, context.file, context.line, context.function, context.category, message});
    return;
  }
  qt_handler(type, context, message);
}

}  // namespace

void CatchQtFailures() { qt_handler = qInstallMessageHandler(OnMessage); }

void QtStarted() {
  const std::lock_guard lock(guard);
  started = true;
  for (const Held& message : held) {
    const QMessageLogContext context(message.file, message.line, message.function,
                                     message.category);
    qt_handler(message.type, context, message.message);
  }
  held.clear();
}

}  // namespace rt::qt
