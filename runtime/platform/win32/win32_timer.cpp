// Timer events on Windows: thread timers, raised through the message loop.
#include <windows.h>

#include <map>

#include "runtime/platform/win32/win32_program.h"

namespace rt::win32 {
namespace {

class Win32TimerSource;
std::map<UINT_PTR, Win32TimerSource*> running;

class Win32TimerSource : public native::TimerSource {
 public:
  explicit Win32TimerSource(std::function<void()> on_tick) : on_tick_(std::move(on_tick)) {}
  ~Win32TimerSource() override { Stop(); }

  void SetInterval(int milliseconds) override {
    Stop();
    if (milliseconds == 0) return;
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), &Win32TimerSource::Tick);
    running[id_] = this;
  }

  void Stop() {
    if (id_ == 0) return;
    KillTimer(nullptr, id_);
    running.erase(id_);
    id_ = 0;
  }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = running.find(id);
    if (found != running.end()) found->second->on_tick_();
  }

  std::function<void()> on_tick_;
  UINT_PTR id_ = 0;
};

}  // namespace

std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick) {
  return std::make_unique<Win32TimerSource>(std::move(on_tick));
}

}  // namespace rt::win32
