// A form's window on Windows. It paints its picture boxes from their images
// (they are not windows) and reports input to the form; its other controls
// are the system's own.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/design.h"
#include "runtime/native.h"
#include "runtime/win32/win32_controls.h"

namespace rt {
class Form;
}

namespace rt::win32 {

class Win32Window : public native::Window {
 public:
  Win32Window(Form& form, const FormDesign& design);
  ~Win32Window() override;
  void SetVisible(bool visible) override;
  void FillScreen() override;
  int OuterWidth() const override;
  int OuterHeight() const override;
  void Invalidate(const native::PixelRect& area) override;
  std::unique_ptr<native::Surface> CreateSurface(const FontDesign& font) override;
  std::unique_ptr<native::Control> CreateControl(native::ControlKind kind,
                                                 const ControlDesign& design,
                                                 native::Control* container,
                                                 std::function<void()> on_click) override;
  void ControlsCreated() override;

  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l);

 private:
  void OnPaint();
  void OnCommand(int id);
  Win32Control* ControlOf(HWND hwnd) const;
  void OnMouseButton(int16_t button, LPARAM l, WPARAM w);
  void CoverScreen() const;

  Form* form_;
  HWND hwnd_ = nullptr;
  bool dialog_;
  HBRUSH back_brush_;
  HBITMAP picture_;
  HFONT control_font_;
  HICON icons_[2];
  HWND first_focus_ = nullptr;
  bool pressed_ = false;
  bool fills_screen_ = false;
  std::vector<Win32Control*> controls_;  // owned by the form's controls
};

}  // namespace rt::win32
