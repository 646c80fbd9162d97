#include "runtime/platform/win32/win32_controls.h"

#include "runtime/platform/win32/win32_pictures.h"
#include "runtime/platform/win32/win32_program.h"
#include "runtime/platform/win32/win32_surface.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt::win32 {
namespace {

struct WindowKind {
  const wchar_t* window_class;
  DWORD style;
};

WindowKind KindOf(const native::ControlLook& look) {
  switch (look.kind) {
    case native::ControlKind::kFrame:
      return {L"BUTTON", BS_GROUPBOX};
    case native::ControlKind::kOptionButton:
      return {L"BUTTON", BS_AUTORADIOBUTTON};
    case native::ControlKind::kCommandButton:
      return {L"BUTTON", static_cast<DWORD>(look.picture.empty() ? BS_PUSHBUTTON : BS_OWNERDRAW)};
    case native::ControlKind::kLabel:
    case native::ControlKind::kLine:
      return {L"STATIC", SS_LEFT | SS_NOTIFY};
  }
  return {L"STATIC", 0};
}

}  // namespace

Win32Control::Win32Control(HWND form, const native::ControlLook& look,
                           const native::PixelRect& bounds, int id, HFONT font,
                           native::ControlEvents& events)
    : kind_(look.kind),
      bounds_{bounds.x, bounds.y, bounds.x + bounds.width, bounds.y + bounds.height},
      fore_(ToColorRef(look.fore_color)),
      back_brush_(CreateSolidBrush(ToColorRef(look.back_color))),
      cursor_(look.mouse_icon.empty() ? nullptr : LoadPictureCursor(look.mouse_icon)),
      face_(look.picture.empty() ? nullptr : LoadPictureBitmap(look.picture)),
      events_(events) {
  const WindowKind window = KindOf(look);
  hwnd_ = CreateWindowExW(0, window.window_class, Widen(look.caption).c_str(),
                          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | window.style, bounds.x,
                          bounds.y, bounds.width, bounds.height, form,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

Win32Control::~Win32Control() {
  DestroyWindow(hwnd_);
  DeleteObject(back_brush_);
  if (face_ != nullptr) DeleteObject(face_);
}

void Win32Control::SetChecked(bool checked) {
  if (kind_ != native::ControlKind::kOptionButton) return;
  SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Control::SetTabStop(bool tab_stop) { SetStyle(WS_TABSTOP, tab_stop); }

void Win32Control::TakeFocus() { SetFocus(hwnd_); }

void Win32Control::SetStyle(LONG_PTR bit, bool on) const {
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, on ? style | bit : style & ~bit);
}

HBRUSH Win32Control::Color(HDC dc) const {
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
