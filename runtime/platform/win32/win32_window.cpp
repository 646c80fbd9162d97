#include "runtime/platform/win32/win32_window.h"

#include <windowsx.h>

#include <algorithm>

#include "runtime/platform/win32/win32_accessible.h"
#include "runtime/platform/win32/win32_fonts.h"
#include "runtime/platform/win32/win32_pictures.h"
#include "runtime/platform/win32/win32_program.h"
#include "runtime/platform/win32/win32_surface.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KelvoraForm";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return window ? window->HandleMessage(hwnd, message, w, l) : DefWindowProcW(hwnd, message, w, l);
}

void RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = WindowProcedure;
    window_class.hInstance = Instance();
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    window_class.lpszClassName = kWindowClass;
    return RegisterClassExW(&window_class) != 0;
  }();
  (void)registered;
}

native::Modifiers ModifiersOf(WPARAM w) {
  return {(w & MK_SHIFT) != 0, (w & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0};
}

native::Modifiers KeyModifiers() {
  return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

// The kind of key that posted a character, from the scan code it carries:
// Ctrl+H gives 8 as Backspace does, but is a letter.
native::Key KeyOf(LPARAM l) {
  switch (MapVirtualKeyW((static_cast<UINT>(l) >> 16) & 0xFF, MAPVK_VSC_TO_VK)) {
    case VK_RETURN:
      return native::Key::kEnter;
    case VK_ESCAPE:
      return native::Key::kEscape;
    case VK_BACK:
      return native::Key::kBackspace;
    case VK_TAB:
      return native::Key::kTab;
    default:
      return native::Key::kCharacter;
  }
}

}  // namespace

Win32Window::Win32Window(const FormDesign& design, int client_width, int client_height,
                         native::WindowEvents& events)
    : events_(events),
      dialog_(design.border_style == BorderStyle::kFixedDialog),
      back_brush_(CreateSolidBrush(ToColorRef(design.back_color))),
      picture_(design.picture.empty() ? nullptr : LoadPictureBitmap(design.picture)),
      control_font_(CreateCarriedFont(9, FW_NORMAL)),
      icons_{LoadPictureIcon(design.icon, 32), LoadPictureIcon(design.icon, 16)} {
  RegisterWindowClass();
  // A screen saver's window has no frame; the dialog has a fixed one.
  const DWORD style = dialog_ ? WS_POPUP | WS_CAPTION | WS_SYSMENU : WS_POPUP;
  const DWORD ex_style = dialog_ ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_TOPMOST;
  RECT frame{0, 0, client_width, client_height};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  hwnd_ = CreateWindowExW(ex_style, kWindowClass, Widen(design.caption).c_str(), style, 0, 0, width,
                          height, nullptr, nullptr, Instance(), this);
  if (icons_[0] != nullptr) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_[0]));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_[1]));
  }
  if (dialog_) AddDialog(hwnd_);
  if (dialog_) AnnotateDialogRole(hwnd_);
  if (!design.accessible_name.empty()) AnnotateName(hwnd_, design.accessible_name);
}

Win32Window::~Win32Window() {
  if (dialog_) RemoveDialog(hwnd_);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);  // no message reaches this object again
  ClearAnnotations(hwnd_);
  DestroyWindow(hwnd_);
  DeleteObject(back_brush_);
  DeleteObject(control_font_);
  if (picture_ != nullptr) DeleteObject(picture_);
  for (HICON icon : icons_) {
    if (icon != nullptr) DestroyIcon(icon);
  }
}

void Win32Window::SetVisible(bool visible) {
  ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
  if (!visible) return;
  // Hidden at once, not at the pointer's first move over the rain.
  if (!dialog_) SetCursor(nullptr);
  // Sized again once shown: a hidden window's size may not survive its showing.
  if (fills_screen_) CoverScreen();
}

void Win32Window::MoveTo(int x, int y) {
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::TakeKeyboard() {
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
}

void Win32Window::FillScreen() {
  fills_screen_ = true;
  CoverScreen();
}

void Win32Window::CoverScreen() const {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN),
               GetSystemMetrics(SM_CYSCREEN), SWP_NOACTIVATE);
}

int Win32Window::OuterWidth() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.right - r.left;
}

int Win32Window::OuterHeight() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}

int Win32Window::ClientWidth() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.right;
}

int Win32Window::ClientHeight() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

void Win32Window::Invalidate(const native::PixelRect& area) {
  const RECT r{area.x, area.y, area.x + area.width, area.y + area.height};
  InvalidateRect(hwnd_, &r, FALSE);
}

std::unique_ptr<native::Surface> Win32Window::CreateSurface(const FontDesign& font) {
  return std::make_unique<Win32Surface>(font);
}

std::unique_ptr<native::ControlPeer> Win32Window::CreateControl(const native::ControlLook& look,
                                                                const native::PixelRect& bounds,
                                                                native::ControlPeer*,
                                                                native::ControlEvents& events) {
  auto control = std::make_unique<Win32Control>(
      hwnd_, look, bounds, kFirstControlId + static_cast<int>(controls_.size()), control_font_,
      events);
  controls_.push_back(control.get());
  return control;
}

// The dialog manager follows the windows' order for Tab and the arrow keys:
// each goes to the bottom in turn, so the first ends on top.
void Win32Window::OrderControls(const std::vector<native::FocusStop>& order) {
  for (const native::FocusStop& stop : order) {
    const auto* control = static_cast<const Win32Control*>(stop.control);
    SetWindowPos(control->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    control->SetStyle(WS_TABSTOP, stop.takes_focus);
    control->SetStyle(WS_GROUP, stop.starts_group);
  }
}

Win32Control* Win32Window::ControlOf(HWND hwnd) const {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [&](const Win32Control* c) { return c->hwnd() == hwnd; });
  return found == controls_.end() ? nullptr : *found;
}

void Win32Window::OnPaint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(hwnd_, &paint);
  FillRect(dc, &paint.rcPaint, back_brush_);
  if (picture_ != nullptr) {
    const HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ original = SelectObject(source, picture_);
    BitBlt(dc, 0, 0, 4096, 4096, source, 0, 0, SRCCOPY);  // clipped to the bitmap and the area
    SelectObject(source, original);
    DeleteDC(source);
  }
  for (const Win32Control* control : controls_) {
    if (control->kind() == native::ControlKind::kFrame) {
      FillRect(dc, &control->bounds(), control->back_brush());
    }
  }
  const RECT& area = paint.rcPaint;
  events_.ForEachBoxIn({area.left, area.top, area.right - area.left, area.bottom - area.top},
                       [&](const native::Surface& surface, const native::PixelRect& bounds) {
                         BitBlt(dc, bounds.x, bounds.y, bounds.width, bounds.height,
                                static_cast<const Win32Surface&>(surface).dc(), 0, 0, SRCCOPY);
                       });
  EndPaint(hwnd_, &paint);
}

void Win32Window::OnCommand(int id) {
  // Enter in a dialog arrives as IDOK: it presses the button that has the focus.
  const HWND source = id == IDOK ? GetFocus() : GetDlgItem(hwnd_, id);
  const Win32Control* control = ControlOf(source);
  if (control == nullptr || (control->kind() != native::ControlKind::kCommandButton &&
                             control->kind() != native::ControlKind::kOptionButton)) {
    return;
  }
  control->events().Pressed();
}

// The window keeps the pointer while a button is held, so that moves and the
// release outside it still arrive.
void Win32Window::ButtonDown(native::PointerButton button, WPARAM w, LPARAM l) {
  SetCapture(hwnd_);
  events_.ButtonDown(button, GET_X_LPARAM(l), GET_Y_LPARAM(l), ModifiersOf(w),
                     static_cast<uint32_t>(GetMessageTime()));
}

void Win32Window::ButtonUp(native::PointerButton button, WPARAM w, LPARAM l) {
  if ((w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) == 0) {
    ReleaseCapture();
  }
  events_.ButtonUp(button, GET_X_LPARAM(l), GET_Y_LPARAM(l), ModifiersOf(w));
}

// Each case hands over to the form and returns at once: the form may unload,
// and so delete this window, inside the call.
LRESULT Win32Window::HandleMessage(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ButtonDown(1, w, l);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      ButtonDown(2, w, l);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      ButtonDown(3, w, l);
      return 0;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      ButtonDown(GET_XBUTTON_WPARAM(w) == XBUTTON1 ? 8 : 9, w, l);
      return TRUE;
    case WM_LBUTTONUP:
      ButtonUp(1, w, l);
      return 0;
    case WM_MBUTTONUP:
      ButtonUp(2, w, l);
      return 0;
    case WM_RBUTTONUP:
      ButtonUp(3, w, l);
      return 0;
    case WM_XBUTTONUP:
      ButtonUp(GET_XBUTTON_WPARAM(w) == XBUTTON1 ? 8 : 9, w, l);
      return TRUE;
    case WM_MOUSEMOVE:
      events_.PointerMoved(GET_X_LPARAM(l), GET_Y_LPARAM(l), ModifiersOf(w));
      return 0;
    // Strokes that give no character post neither of these: nothing to report.
    case WM_CHAR:
      events_.KeyDown({KeyOf(l), static_cast<char32_t>(w), KeyModifiers()});
      return 0;
    case WM_SYSCHAR: {
      native::Modifiers modifiers = KeyModifiers();
      modifiers.alt = true;
      events_.KeyDown({KeyOf(l), static_cast<char32_t>(w), modifiers});
      break;  // the system menu's keys; only the message's own values are used
    }
    case kArrowMessage:
      if (const Win32Control* control = ControlOf(reinterpret_cast<HWND>(l));
          control != nullptr && control->kind() == native::ControlKind::kOptionButton) {
        control->events().Arrow(w == VK_LEFT || w == VK_UP ? -1 : 1);
        return TRUE;
      }
      return FALSE;
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED) OnCommand(LOWORD(w));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (const Win32Control* control = ControlOf(reinterpret_cast<HWND>(l))) {
        return reinterpret_cast<LRESULT>(control->Color(reinterpret_cast<HDC>(w)));
      }
      break;
    case WM_DRAWITEM:
      if (const Win32Control* control =
              ControlOf(reinterpret_cast<const DRAWITEMSTRUCT*>(l)->hwndItem)) {
        control->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
        return TRUE;
      }
      break;
    case WM_SETCURSOR:
      // A screen saver shows no pointer over its rain.
      if (!dialog_ && LOWORD(l) == HTCLIENT) {
        SetCursor(nullptr);
        return TRUE;
      }
      if (const Win32Control* control = ControlOf(reinterpret_cast<HWND>(w));
          control != nullptr && control->cursor() != nullptr) {
        SetCursor(control->cursor());
        return TRUE;
      }
      break;
    case WM_CLOSE:
      events_.CloseRequested();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

std::unique_ptr<native::Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                 int client_height, native::WindowEvents& events) {
  return std::make_unique<Win32Window>(design, client_width, client_height, events);
}

}  // namespace rt::win32
