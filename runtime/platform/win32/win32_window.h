// A form's window on Windows. It paints its picture boxes from their images
// (they are not windows) and reports raw input; its other controls are the
// system's own.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"
#include "runtime/platform/win32/win32_controls.h"

namespace rt::win32 {

class Win32Window : public native::Window {
 public:
  Win32Window(const FormDesign& design, int client_width, int client_height,
              native::WindowEvents& events);
  ~Win32Window() override;
  void SetVisible(bool visible) override;
  void FillScreen() override;
  void MoveTo(int x, int y) override;
  void TakeKeyboard() override;
  int OuterWidth() const override;
  int OuterHeight() const override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void Invalidate(const native::PixelRect& area) override;
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign& font) override;
  std::unique_ptr<native::ControlPeer> CreateControl(const native::ControlLook& look,
                                                     const native::PixelRect& bounds,
                                                     native::ControlPeer* container,
                                                     native::ControlEvents& events) override;
  void OrderControls(const std::vector<native::FocusStop>& order) override;

  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l);

 private:
  void OnPaint();
  void OnCommand(int id);
  Win32Control* ControlOf(HWND hwnd) const;
  void ButtonDown(native::PointerButton button, WPARAM w, LPARAM l);
  void ButtonUp(native::PointerButton button, WPARAM w, LPARAM l);
  void CoverScreen() const;

  native::WindowEvents& events_;
  HWND hwnd_ = nullptr;
  bool dialog_;
  HBRUSH back_brush_;
  HBITMAP picture_;
  HFONT control_font_;
  HICON icons_[2];
  bool fills_screen_ = false;
  std::vector<Win32Control*> controls_;  // owned by the form's controls
};

}  // namespace rt::win32
