#include "runtime/platform/win32/win32_surface.h"

#include "runtime/forms/colors.h"
#include "runtime/platform/win32/win32_fonts.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt::win32 {
namespace {

HBITMAP NewBitmap(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

void Fill(HDC dc, const RECT& area, int32_t color) {
  const HBRUSH brush = CreateSolidBrush(ToColorRef(color));
  FillRect(dc, &area, brush);
  DeleteObject(brush);
}

}  // namespace

COLORREF ToColorRef(int32_t color) {
  const auto system = [](int index) {
    const COLORREF c = GetSysColor(index);
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
  };
  const SystemPalette palette{system(COLOR_WINDOW), system(COLOR_WINDOWTEXT), system(COLOR_BTNFACE),
                              system(COLOR_BTNTEXT)};
  const Rgb rgb = DecodeColor(color, palette);
  return RGB(rgb.red, rgb.green, rgb.blue);
}

Win32Surface::Win32Surface(const FontDesign& font)
    : dc_(CreateCompatibleDC(nullptr)), font_(CreateCarriedFont(font.points, font.weight)) {
  bitmap_ = NewBitmap(1, 1);
  original_bitmap_ = SelectObject(dc_, bitmap_);
  original_font_ = SelectObject(dc_, font_);
  SetBkMode(dc_, TRANSPARENT);
}

Win32Surface::~Win32Surface() {
  SelectObject(dc_, original_font_);
  SelectObject(dc_, original_bitmap_);
  DeleteObject(bitmap_);
  DeleteObject(font_);
  DeleteDC(dc_);
}

void Win32Surface::Resize(int width, int height, int32_t back_color) {
  width = width > 0 ? width : 1;
  height = height > 0 ? height : 1;
  if (width == width_ && height == height_) return;
  const HBITMAP resized = NewBitmap(width, height);
  const HDC copy = CreateCompatibleDC(nullptr);
  const HGDIOBJ original = SelectObject(copy, resized);
  Fill(copy, RECT{0, 0, width, height}, back_color);
  BitBlt(copy, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
  SelectObject(copy, original);
  DeleteDC(copy);
  SelectObject(dc_, resized);
  DeleteObject(bitmap_);
  bitmap_ = resized;
  width_ = width;
  height_ = height;
}

void Win32Surface::Clear(int32_t back_color) { Fill(dc_, RECT{0, 0, width_, height_}, back_color); }

int Win32Surface::PrintLine(int y, const std::string& text, int32_t fore_color) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  if (!text.empty()) {
    const std::wstring wide = Widen(text);
    SetTextColor(dc_, ToColorRef(fore_color));
    TextOutW(dc_, 0, y, wide.data(), static_cast<int>(wide.size()));
  }
  return metrics.tmHeight + metrics.tmExternalLeading;
}

}  // namespace rt::win32
