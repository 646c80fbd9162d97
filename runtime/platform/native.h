// The boundary between the portable forms layer and a backend. A backend
// performs primitives (windows, controls, surfaces, timers, the event loop,
// message boxes, ending the process) and reports raw facts: a button went
// down or up, the pointer moved, a key gave a character or none, a close was
// asked for, a control was pressed. Every rule that turns facts into events
// (capture, which buttons and keys count, the focus order, arrows in option
// groups) is the portable layer's, so that all backends behave alike.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rt {
struct FormDesign;
struct FontDesign;
}  // namespace rt

namespace rt::native {

class Surface;

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

inline bool Meets(const PixelRect& a, const PixelRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

inline bool Contains(const PixelRect& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

inline PixelRect BoundingBox(const PixelRect& a, const PixelRect& b) {
  const int left = a.x < b.x ? a.x : b.x;
  const int top = a.y < b.y ? a.y : b.y;
  const int right = a.x + a.width > b.x + b.width ? a.x + a.width : b.x + b.width;
  const int bottom = a.y + a.height > b.y + b.height ? a.y + a.height : b.y + b.height;
  return {left, top, right - left, bottom - top};
}

// The part that both share; empty (width or height 0) when they do not meet.
inline PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
  const int left = a.x > b.x ? a.x : b.x;
  const int top = a.y > b.y ? a.y : b.y;
  const int right = a.x + a.width < b.x + b.width ? a.x + a.width : b.x + b.width;
  const int bottom = a.y + a.height < b.y + b.height ? a.y + a.height : b.y + b.height;
  return {left, top, right > left ? right - left : 0, bottom > top ? bottom - top : 0};
}

// ---- Facts a window reports ----

struct Modifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;  // Alt itself; AltGr counts as Ctrl + Alt, as on Windows
};

// Pointer buttons numbered as X numbers them: 1 left, 2 middle, 3 right,
// 8 back, 9 forward; any other button gets a number of its own above 9.
using PointerButton = int;

// What a key is, as far as the rules need to know; a key not named here is
// kCharacter when it gives a character and kNoCharacter when it does not
// (arrows, function keys, modifiers alone).
enum class Key { kCharacter, kNoCharacter, kEnter, kEscape, kBackspace, kTab, kDelete, kInsert };

struct KeyStroke {
  Key key = Key::kNoCharacter;
  // The character the key gives, 0 for none. With Ctrl held, either the
  // character the key gives with Shift alone or the control code the system
  // makes of it.
  char32_t character = 0;
  // Ctrl and Alt as held, except when the layout used them to make the
  // character (AltGr): then neither.
  Modifiers modifiers;
};

// Implemented by the portable layer; a window calls it from its event
// handling, with positions in client-area pixels. Any call may unload the
// form and so destroy the window: the window returns at once after it.
class WindowEvents {
 public:
  // time: the system's clock in milliseconds, for telling double clicks.
  virtual void ButtonDown(PointerButton button, int x, int y, Modifiers modifiers,
                          uint32_t time) = 0;
  virtual void ButtonUp(PointerButton button, int x, int y, Modifiers modifiers) = 0;
  virtual void PointerMoved(int x, int y, Modifiers modifiers) = 0;
  virtual void KeyDown(const KeyStroke& stroke) = 0;
  virtual void CloseRequested() = 0;
  // The window was taken away by whoever owned it (a screen-saver daemon).
  virtual void WindowGone() = 0;
  // The system asked the program to end (a signal), seen by the window
  // that listens for it.
  virtual void TerminationRequested() = 0;
  // For painting: hands every visible picture box that meets the area to
  // draw, bottom first.
  virtual void ForEachBoxIn(
      const PixelRect& area,
      const std::function<void(const Surface&, const PixelRect&)>& draw) const = 0;

 protected:
  ~WindowEvents() = default;
};

// Implemented by the portable layer for each control that is a window.
class ControlEvents {
 public:
  // The user pressed the button or picked the option (mouse, Space, Enter).
  virtual void Pressed() = 0;
  // An arrow key on an option button: +1 right or down, -1 left or up.
  virtual void Arrow(int step) = 0;

 protected:
  ~ControlEvents() = default;
};

// ---- Primitives ----

// The persistent image of a picture box, drawn by the form that holds it.
class Surface {
 public:
  virtual ~Surface() = default;
  // Keeps what overlaps the new size; new area takes the back color.
  virtual void Resize(int width, int height, int32_t back_color) = 0;
  virtual void Clear(int32_t back_color) = 0;
  // Draws one line of text at the left edge, top at y; gives the line height.
  virtual int PrintLine(int y, const std::string& text, int32_t fore_color) = 0;
};

enum class ControlKind { kFrame, kOptionButton, kCommandButton, kLabel, kLine };

// What a control window shows. Colors as r + 256 g + 65536 b or a system
// color; a line is a rectangle filled with its back color.
struct ControlLook {
  ControlKind kind = ControlKind::kLabel;
  std::string caption;
  int32_t back_color = 0;
  int32_t fore_color = 0;
  std::string picture;     // a button's face; empty for none
  std::string mouse_icon;  // the pointer over the control; empty for the usual one
  // What assistive technology calls the control; empty: its caption.
  std::string accessible_name;
};

// The system's window of a frame, button, label or line.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  // Option buttons: shows the mark set or cleared.
  virtual void SetChecked(bool checked) = 0;
  // Whether Tab stops on the control.
  virtual void SetTabStop(bool tab_stop) = 0;
  virtual void TakeFocus() = 0;
};

// One control in the order that Tab and arrow keys follow; the system's
// dialog handling may follow it too.
struct FocusStop {
  ControlPeer* control;
  bool takes_focus;
  bool starts_group;  // an option group ends where the next group starts
  // The label that names the control, for assistive technology; or none.
  ControlPeer* label = nullptr;
};

class Window {
 public:
  virtual ~Window() = default;
  virtual void SetVisible(bool visible) = 0;
  // Covers the whole screen, panels included.
  virtual void FillScreen() = 0;
  // Puts the window's outer top-left corner at the screen position.
  virtual void MoveTo(int x, int y) = 0;
  // Takes the keyboard's focus and holds it, for a window that no window
  // manager gives it to; a window not yet on the screen takes it once shown.
  virtual void TakeKeyboard() = 0;
  virtual int OuterWidth() const = 0;
  virtual int OuterHeight() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  // Asks for a repaint of part of the client area.
  virtual void Invalidate(const PixelRect& area) = 0;
  virtual std::unique_ptr<Surface> CreateSurface(const FontDesign& font) = 0;
  // A control at the place in the client area, inside its container (a
  // frame's peer) or on the form.
  virtual std::unique_ptr<ControlPeer> CreateControl(const ControlLook& look,
                                                     const PixelRect& bounds,
                                                     ControlPeer* container,
                                                     ControlEvents& events) = 0;
  // Every control, in focus order; those that take no focus come after the
  // rest, frames last and outer frames after the frames they hold.
  virtual void OrderControls(const std::vector<FocusStop>& order) = 0;
};

class TimerSource {
 public:
  virtual ~TimerSource() = default;
  // 0 stops the events.
  virtual void SetInterval(int milliseconds) = 0;
};

struct DotsPerInch {
  int x;
  int y;
};

enum class MessageKind { kWarning, kError };

// The system's double click: a second press at most this late and this far
// (in pixels each way) from the first.
struct DoubleClickLimits {
  uint32_t milliseconds;
  int pixels_x;
  int pixels_y;
};

// What a form asks of the window system, for choosing the backend that
// draws it.
struct FormNeeds {
  bool windowed_controls = false;
  bool picture = false;
};

// One window system's primitives. Each backend provides one object; the
// platform's list (backends.h) chooses among them at run time.
class Backend {
 public:
  // The window of a form, at its design's client size in pixels.
  virtual std::unique_ptr<Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                   int client_height, WindowEvents& events) = 0;
  virtual std::unique_ptr<TimerSource> CreateTimerSource(std::function<void()> on_tick) = 0;
  // Waits for at least one event, then handles what is pending.
  virtual void WaitEvents() = 0;
  // Handles what is pending and returns.
  virtual void HandlePendingEvents() = 0;
  virtual DotsPerInch ScreenDpi() = 0;
  // The screen less its panels, where a centred form goes.
  virtual PixelRect WorkArea() = 0;
  virtual DoubleClickLimits DoubleClickSetting() = 0;
  // Shows a message box and returns once it is closed. A backend whose list
  // entry shows no message boxes gets this call only when no entry does:
  // then the text goes to standard error.
  virtual void ShowMessage(const std::string& text, MessageKind kind) {
    // An error is there already.
    if (kind == MessageKind::kWarning) std::fprintf(stderr, "kelvora: %s\n", text.c_str());
  }
  // Whether a message box shown now would stay unseen: under the run's own
  // windows (a screen-saver daemon's, an overlay over every screen), or on a
  // display that could not be opened.
  virtual bool HidesMessages() { return false; }
  // Ends the process at once with the status; nothing of the program or the
  // system's libraries runs after it.
  [[noreturn]] virtual void ExitProcess(int status) = 0;

 protected:
  ~Backend() = default;
};

}  // namespace rt::native
