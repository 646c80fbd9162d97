#include "runtime/win32/win32_controls.h"

#include <algorithm>

#include "runtime/program.h"
#include "runtime/win32/win32_pictures.h"
#include "runtime/win32/win32_program.h"
#include "runtime/win32/win32_surface.h"
#include "runtime/win32/win32_text.h"

namespace rt::win32 {
namespace {

RECT Bounds(native::ControlKind kind, const ControlDesign& design, const Win32Control* container) {
  const int origin_x = container ? container->bounds().left : 0;
  const int origin_y = container ? container->bounds().top : 0;
  if (kind == native::ControlKind::kLine) {  // from (left, top) to its end, one pixel thick
    const int x1 = Screen::PixelsX(design.left), y1 = Screen::PixelsY(design.top);
    const int x2 = Screen::PixelsX(design.left + design.width),
              y2 = Screen::PixelsY(design.top + design.height);
    return {origin_x + std::min(x1, x2), origin_y + std::min(y1, y2),
            origin_x + std::max(x1, x2) + 1, origin_y + std::max(y1, y2) + 1};
  }
  const int left = origin_x + Screen::PixelsX(design.left),
            top = origin_y + Screen::PixelsY(design.top);
  return {left, top, left + Screen::PixelsX(design.width), top + Screen::PixelsY(design.height)};
}

struct WindowKind {
  const wchar_t* window_class;
  DWORD style;
};

WindowKind KindOf(native::ControlKind kind, const ControlDesign& design) {
  switch (kind) {
    case native::ControlKind::kFrame:
      return {L"BUTTON", BS_GROUPBOX};
    case native::ControlKind::kOptionButton:
      return {L"BUTTON", BS_AUTORADIOBUTTON};
    case native::ControlKind::kCommandButton:
      return {L"BUTTON", static_cast<DWORD>(design.picture.empty() ? BS_PUSHBUTTON : BS_OWNERDRAW) |
                             WS_TABSTOP};
    case native::ControlKind::kLabel:
    case native::ControlKind::kLine:
      return {L"STATIC", SS_LEFT | SS_NOTIFY};
  }
  return {L"STATIC", 0};
}

}  // namespace

Win32Control::Win32Control(HWND form, native::ControlKind kind, const ControlDesign& design,
                           const Win32Control* container, int id, HFONT font,
                           std::function<void()> on_click)
    : kind_(kind),
      bounds_(Bounds(kind, design, container)),
      tab_index_(design.tab_index),
      fore_(ToColorRef(design.fore_color)),
      back_brush_(CreateSolidBrush(
          ToColorRef(kind == native::ControlKind::kLine ? design.fore_color : design.back_color))),
      cursor_(design.mouse_icon.empty() ? nullptr : LoadPictureCursor(design.mouse_icon)),
      face_(design.picture.empty() ? nullptr : LoadPictureBitmap(design.picture)),
      on_click_(std::move(on_click)) {
  const WindowKind window = KindOf(kind, design);
  const std::wstring caption = kind == native::ControlKind::kLine ? L"" : Widen(design.caption);
  hwnd_ =
      CreateWindowExW(0, window.window_class, caption.c_str(),
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | window.style, bounds_.left,
                      bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, form,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

Win32Control::~Win32Control() {
  DestroyWindow(hwnd_);
  DeleteObject(back_brush_);
  if (face_ != nullptr) DeleteObject(face_);
}

bool Win32Control::takes_focus() const {
  return tab_index_ >= 0 && (kind_ == native::ControlKind::kCommandButton ||
                             kind_ == native::ControlKind::kOptionButton);
}

void Win32Control::SetChecked(bool checked) {
  if (kind_ != native::ControlKind::kOptionButton) return;
  SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  // Tab stops on a group once, at its selected option.
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

HBRUSH Win32Control::Colour(HDC dc) const {
  SetTextColor(dc, fore_);
  LOGBRUSH brush{};
  GetObjectW(back_brush_, sizeof brush, &brush);
  SetBkColor(dc, brush.lbColor);
  return back_brush_;
}

void Win32Control::Draw(const DRAWITEMSTRUCT& item) const {
  const HDC picture = CreateCompatibleDC(item.hDC);
  const HGDIOBJ original = SelectObject(picture, face_);
  const RECT& r = item.rcItem;
  BitBlt(item.hDC, 0, 0, r.right - r.left, r.bottom - r.top, picture, 0, 0, SRCCOPY);
  SelectObject(picture, original);
  DeleteDC(picture);
  wchar_t caption[64] = {};
  GetWindowTextW(hwnd_, caption, 64);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  RECT text = r;
  if (item.itemState & ODS_SELECTED) OffsetRect(&text, 1, 1);
  DrawTextW(item.hDC, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(item.hDC, &focus);
  }
}

}  // namespace rt::win32
