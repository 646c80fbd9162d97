// Timer events on Qt.
#include <QTimer>

#include "runtime/platform/qt/qt_application.h"
#include "runtime/platform/qt/qt_backend.h"

namespace rt::qt {
namespace {

class QtTimerSource : public native::TimerSource {
 public:
  explicit QtTimerSource(std::function<void()> on_tick) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(on_tick));
  }

  void SetInterval(int milliseconds) override {
    if (milliseconds == 0) {
      timer_.stop();
    } else {
      timer_.start(milliseconds);
    }
  }

 private:
  QTimer timer_;
};

}  // namespace

std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick) {
  EnsureApplication();
  return std::make_unique<QtTimerSource>(std::move(on_tick));
}

}  // namespace rt::qt
