#include "runtime/qt/qt_timer.h"

#include <QTimer>
#include <algorithm>
#include <vector>

#include "runtime/native.h"
#include "runtime/qt/qt_application.h"

namespace rt::qt {
namespace {

class QtTimerSource;
std::vector<QtTimerSource*> running_sources;

class QtTimerSource : public native::TimerSource {
 public:
  explicit QtTimerSource(std::function<void()> on_tick) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(on_tick));
    running_sources.push_back(this);
  }
  ~QtTimerSource() override { std::erase(running_sources, this); }

  void SetInterval(int milliseconds) override {
    if (milliseconds == 0) {
      timer_.stop();
    } else {
      timer_.start(milliseconds);
    }
  }

  void Stop() { timer_.stop(); }

 private:
  QTimer timer_;
};

}  // namespace

void StopAllTimers() {
  for (QtTimerSource* source : running_sources) source->Stop();
}

}  // namespace rt::qt

namespace rt::native {

std::unique_ptr<TimerSource> CreateTimerSource(std::function<void()> on_tick) {
  qt::EnsureApplication();
  return std::make_unique<qt::QtTimerSource>(std::move(on_tick));
}

}  // namespace rt::native
