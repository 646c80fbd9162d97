// A timer control: raises its event every Interval milliseconds on the
// user-interface thread (0: no events). A tick never runs nested inside
// itself: an event that falls due while the handler yields is dropped.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "runtime/forms/control.h"
#include "runtime/platform/native.h"

namespace rt {

class Timer : public Control {
 public:
  Timer(Form& form, std::function<void()> handler);
  ~Timer() override;

  int32_t Interval() const { return interval_; }
  // The runtime accepts 0..65535; anything else is error 380.
  void SetInterval(int32_t milliseconds);

  void CreateNative() override;
  void DestroyNative() override;
  // Stops the events without changing Interval.
  void Silence();

 private:
  void Fire();

  std::function<void()> handler_;
  int32_t interval_ = 0;
  bool in_handler_ = false;
  std::unique_ptr<native::TimerSource> source_;
};

// Silences every timer of the program for good.
void StopAllTimers();

}  // namespace rt
