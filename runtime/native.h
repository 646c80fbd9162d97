// The boundary between the portable forms layer and a backend: the native
// work that the portable layer asks of the window system. The portable layer
// owns all state; a backend reports input back through Form's Input* calls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace rt {
class Form;
struct FormDesign;
struct FontDesign;
struct ControlDesign;
}  // namespace rt

namespace rt::native {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

inline bool Meets(const PixelRect& a, const PixelRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

inline PixelRect BoundingBox(const PixelRect& a, const PixelRect& b) {
  const int left = a.x < b.x ? a.x : b.x;
  const int top = a.y < b.y ? a.y : b.y;
  const int right = a.x + a.width > b.x + b.width ? a.x + a.width : b.x + b.width;
  const int bottom = a.y + a.height > b.y + b.height ? a.y + a.height : b.y + b.height;
  return {left, top, right - left, bottom - top};
}

// The persistent image of a picture box, drawn by the form that holds it.
class Surface {
 public:
  virtual ~Surface() = default;
  // Keeps what overlaps the new size; new area takes the back colour.
  virtual void Resize(int width, int height, int32_t back_color) = 0;
  virtual void Clear(int32_t back_color) = 0;
  // Draws one line of text at the left edge, top at y; gives the line height.
  virtual int PrintLine(int y, const std::string& text, int32_t fore_color) = 0;
};

// A control that is a window of its own (frames, buttons, labels, lines).
class Control {
 public:
  virtual ~Control() = default;
  // Option buttons: shows the mark set or cleared.
  virtual void SetChecked(bool checked) = 0;
};

enum class ControlKind { kFrame, kOptionButton, kCommandButton, kLabel, kLine };

class Window {
 public:
  virtual ~Window() = default;
  virtual void SetVisible(bool visible) = 0;
  // Covers the whole screen, panels included (WindowState 2).
  virtual void FillScreen() = 0;
  virtual int OuterWidth() const = 0;
  virtual int OuterHeight() const = 0;
  // Asks for a repaint of part of the client area.
  virtual void Invalidate(const PixelRect& area) = 0;
  virtual std::unique_ptr<Surface> CreateSurface(const FontDesign& font) = 0;
  // A control in the form's client area or in a frame (container). The
  // backend calls on_click when the user presses a button or picks an option.
  virtual std::unique_ptr<Control> CreateControl(ControlKind kind, const ControlDesign& design,
                                                 Control* container,
                                                 std::function<void()> on_click) = 0;
  // All controls exist: the focus order follows their tab indexes and the
  // focus starts on the first control that can take it.
  virtual void ControlsCreated() = 0;
};

class TimerSource {
 public:
  virtual ~TimerSource() = default;
  // 0 stops the events.
  virtual void SetInterval(int milliseconds) = 0;
};

std::unique_ptr<Window> CreateFormWindow(Form& form, const FormDesign& design);
std::unique_ptr<TimerSource> CreateTimerSource(std::function<void()> on_tick);

// The last form is gone: the program ends once its event handling returns.
void QuitEventLoop();

// Shows the message of an unhandled run-time error and ends the program.
[[noreturn]] void FatalError(int number);

}  // namespace rt::native
