// Frames, option buttons, command buttons, labels and lines as the system's
// BUTTON and STATIC controls, all children of the form's window (a frame's
// content is placed relative to the frame, as the design measures it).
#pragma once

#include <windows.h>

#include <functional>

#include "runtime/design.h"
#include "runtime/native.h"

namespace rt::win32 {

class Win32Control : public native::Control {
 public:
  Win32Control(HWND form, native::ControlKind kind, const ControlDesign& design,
               const Win32Control* container, int id, HFONT font, std::function<void()> on_click);
  ~Win32Control() override;
  void SetChecked(bool checked) override;

  HWND hwnd() const { return hwnd_; }
  native::ControlKind kind() const { return kind_; }
  int tab_index() const { return tab_index_; }
  const RECT& bounds() const { return bounds_; }  // in the form's client area
  bool takes_focus() const;
  // What the form answers for the control's colour and pointer messages.
  HBRUSH Colour(HDC dc) const;
  HCURSOR cursor() const { return cursor_; }
  HBRUSH back_brush() const { return back_brush_; }
  void Clicked() const { on_click_(); }
  // A picture button draws its face itself.
  void Draw(const DRAWITEMSTRUCT& item) const;

 private:
  native::ControlKind kind_;
  HWND hwnd_;
  RECT bounds_;
  int tab_index_;
  COLORREF fore_;
  HBRUSH back_brush_;
  HCURSOR cursor_;
  HBITMAP face_;
  std::function<void()> on_click_;
};

}  // namespace rt::win32
