// Frames, option buttons, command buttons, labels and lines as the system's
// BUTTON and STATIC controls, all children of the form's window, placed where
// the forms layer says in the form's client area.
#pragma once

#include <windows.h>

#include "runtime/platform/native.h"

namespace rt::win32 {

class Win32Control : public native::ControlPeer {
 public:
  Win32Control(HWND form, const native::ControlLook& look, const native::PixelRect& bounds, int id,
               HFONT font, native::ControlEvents& events);
  ~Win32Control() override;
  void SetChecked(bool checked) override;
  void SetTabStop(bool tab_stop) override;
  void TakeFocus() override;

  HWND hwnd() const { return hwnd_; }
  native::ControlKind kind() const { return kind_; }
  const RECT& bounds() const { return bounds_; }  // in the form's client area
  // What the form answers for the control's color and pointer messages.
  HBRUSH Color(HDC dc) const;
  HCURSOR cursor() const { return cursor_; }
  HBRUSH back_brush() const { return back_brush_; }
  native::ControlEvents& events() const { return events_; }
  // A picture button draws its face itself.
  void Draw(const DRAWITEMSTRUCT& item) const;
  // Sets or clears a style bit.
  void SetStyle(LONG_PTR bit, bool on) const;

 private:
  native::ControlKind kind_;
  HWND hwnd_;
  RECT bounds_;
  COLORREF fore_;
  HBRUSH back_brush_;
  HCURSOR cursor_;
  HBITMAP face_;
  native::ControlEvents& events_;
};

}  // namespace rt::win32
