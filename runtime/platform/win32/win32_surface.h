// A picture box's persistent image on Windows: a DIB section in a memory DC
// that its form blits.
#pragma once

#include <windows.h>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"

namespace rt::win32 {

COLORREF ToColorRef(int32_t color);

class Win32Surface : public native::Surface {
 public:
  explicit Win32Surface(const FontDesign& font);
  ~Win32Surface() override;
  void Resize(int width, int height, int32_t back_color) override;
  void Clear(int32_t back_color) override;
  int PrintLine(int y, const std::string& text, int32_t fore_color) override;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ original_bitmap_;
  HGDIOBJ original_font_;
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace rt::win32
