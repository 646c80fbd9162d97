#include "runtime/platform/win32/win32_controls.h"

#include "runtime/platform/win32/win32_accessible.h"
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

// Whether the caption fits beside the button's mark; a focus rectangle
// drawn around a caption cut off or empty shows nothing.
bool CaptionFits(HWND hwnd, HFONT font, int width) {
  wchar_t caption[64] = {};
  const int length = GetWindowTextW(hwnd, caption, 64);
  if (length == 0) return false;
  const HDC dc = GetDC(hwnd);
  const HGDIOBJ original = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption, length, &extent);
  SelectObject(dc, original);
  ReleaseDC(hwnd, dc);
  return GetSystemMetrics(SM_CXMENUCHECK) + extent.cx <= width;
}

constexpr wchar_t kButtonProcedure[] = L"kelvora.button_procedure";

// An option button whose caption is cut off: the system's focus rectangle
// goes around the whole button instead, while the focus cues show.
LRESULT CALLBACK MarkedOptionProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  const auto original = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kButtonProcedure));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropW(hwnd, kButtonProcedure);
    return CallWindowProcW(original, hwnd, message, w, l);
  }
  const LRESULT result = CallWindowProcW(original, hwnd, message, w, l);
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      InvalidateRect(hwnd, nullptr, TRUE);  // the next paint draws the mark or leaves it out
      break;
    case WM_PAINT:
      if (GetFocus() == hwnd && !(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT mark{};
        GetClientRect(hwnd, &mark);
        const HDC dc = GetDC(hwnd);
        DrawFocusRect(dc, &mark);
        ReleaseDC(hwnd, dc);
      }
      break;
    default:
      break;
  }
  return result;
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
  if (kind_ == native::ControlKind::kOptionButton && !CaptionFits(hwnd_, font, bounds.width)) {
    SetPropW(hwnd_, kButtonProcedure,
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MarkedOptionProc));
  }
  // A name for screen readers where the caption is none or cut off; the
  // caption itself stays as designed.
  if (!look.accessible_name.empty()) AnnotateName(hwnd_, look.accessible_name);
}

Win32Control::~Win32Control() {
  ClearAnnotations(hwnd_);
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
