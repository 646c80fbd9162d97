#include "runtime/win32/win32_window.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "runtime/characters.h"
#include "runtime/form.h"
#include "runtime/program.h"
#include "runtime/win32/win32_fonts.h"
#include "runtime/win32/win32_pictures.h"
#include "runtime/win32/win32_program.h"
#include "runtime/win32/win32_surface.h"
#include "runtime/win32/win32_text.h"

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

int16_t ShiftOf(WPARAM w) {
  return static_cast<int16_t>((w & MK_SHIFT ? 1 : 0) | (w & MK_CONTROL ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

int16_t ButtonsOf(WPARAM w) {
  return static_cast<int16_t>((w & MK_LBUTTON ? kLeftButton : 0) |
                              (w & MK_RBUTTON ? kRightButton : 0) |
                              (w & MK_MBUTTON ? kMiddleButton : 0));
}

}  // namespace

Win32Window::Win32Window(Form& form, const FormDesign& design)
    : form_(&form),
      dialog_(design.border_style == BorderStyle::kFixedDialog),
      back_brush_(CreateSolidBrush(ToColorRef(design.back_color))),
      picture_(design.picture.empty() ? nullptr : LoadPictureBitmap(design.picture)),
      control_font_(CreateCarriedFont(9, FW_NORMAL)),
      icons_{LoadPictureIcon(design.icon, 32), LoadPictureIcon(design.icon, 16)} {
  RegisterWindowClass();
  // A screen saver's window has no frame; the dialog has a fixed one.
  const DWORD style = dialog_ ? WS_POPUP | WS_CAPTION | WS_SYSMENU : WS_POPUP;
  const DWORD ex_style = dialog_ ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_TOPMOST;
  RECT frame{0, 0, Screen::PixelsX(design.client_width), Screen::PixelsY(design.client_height)};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = 0, y = 0;
  if (design.centered) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    x = work.left + (work.right - work.left - width) / 2;
    y = work.top + (work.bottom - work.top - height) / 2;
  }
  hwnd_ = CreateWindowExW(ex_style, kWindowClass, Widen(design.caption).c_str(), style, x, y, width,
                          height, nullptr, nullptr, Instance(), this);
  if (icons_[0] != nullptr) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons_[0]));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons_[1]));
  }
  if (dialog_) AddDialog(hwnd_);
}

Win32Window::~Win32Window() {
  if (dialog_) RemoveDialog(hwnd_);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);  // no message reaches this object again
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
  // Sized again once shown: a hidden window's size may not survive its showing.
  if (fills_screen_) CoverScreen();
  SetForegroundWindow(hwnd_);
  SetFocus(first_focus_ != nullptr ? first_focus_ : hwnd_);
  first_focus_ = nullptr;  // only the first showing decides
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

void Win32Window::Invalidate(const native::PixelRect& area) {
  const RECT r{area.x, area.y, area.x + area.width, area.y + area.height};
  InvalidateRect(hwnd_, &r, FALSE);
}

std::unique_ptr<native::Surface> Win32Window::CreateSurface(const FontDesign& font) {
  return std::make_unique<Win32Surface>(font);
}

std::unique_ptr<native::Control> Win32Window::CreateControl(native::ControlKind kind,
                                                            const ControlDesign& design,
                                                            native::Control* container,
                                                            std::function<void()> on_click) {
  auto control = std::make_unique<Win32Control>(
      hwnd_, kind, design, static_cast<Win32Control*>(container),
      kFirstControlId + static_cast<int>(controls_.size()), control_font_, std::move(on_click));
  controls_.push_back(control.get());
  return control;
}

// The focus order is the windows' order: controls that take the focus by
// tab index, then the rest, frames last so that they lie beneath what they hold.
void Win32Window::ControlsCreated() {
  std::vector<Win32Control*> order = controls_;
  const auto rank = [](const Win32Control* c) {
    return c->takes_focus() ? 0 : c->kind() == native::ControlKind::kFrame ? 2 : 1;
  };
  const auto area = [](const Win32Control* c) {
    const RECT& r = c->bounds();
    return (r.right - r.left) * (r.bottom - r.top);
  };
  std::stable_sort(order.begin(), order.end(), [&](const Win32Control* a, const Win32Control* b) {
    if (rank(a) != rank(b)) return rank(a) < rank(b);
    if (rank(a) == 2) return area(a) < area(b);  // an outer frame beneath the frames it holds
    return a->tab_index() < b->tab_index();
  });
  const Win32Control* previous = nullptr;
  for (Win32Control* control : order) {
    SetWindowPos(control->hwnd(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // An option group starts where the previous control is no option button.
    const bool starts_group = control->kind() != native::ControlKind::kOptionButton ||
                              previous == nullptr ||
                              previous->kind() != native::ControlKind::kOptionButton ||
                              GetParent(previous->hwnd()) != GetParent(control->hwnd()) ||
                              previous->tab_index() + 1 != control->tab_index();
    if (starts_group) {
      SetWindowLongPtrW(control->hwnd(), GWL_STYLE,
                        GetWindowLongPtrW(control->hwnd(), GWL_STYLE) | WS_GROUP);
    }
    previous = control;
  }
  if (!order.empty() && order.front()->takes_focus()) first_focus_ = order.front()->hwnd();
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
  form_->ForEachBoxIn({area.left, area.top, area.right - area.left, area.bottom - area.top},
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
  control->Clicked();
}

void Win32Window::OnMouseButton(int16_t button, LPARAM l, WPARAM w) {
  pressed_ = true;
  form_->InputMouseDown(button, ShiftOf(w), GET_X_LPARAM(l), GET_Y_LPARAM(l));
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
      OnMouseButton(kLeftButton, l, w);
      return 0;
    case WM_RBUTTONDOWN:
      OnMouseButton(kRightButton, l, w);
      return 0;
    case WM_MBUTTONDOWN:
      OnMouseButton(kMiddleButton, l, w);
      return 0;
    case WM_LBUTTONUP:
      if (std::exchange(pressed_, false)) form_->InputClick(GET_X_LPARAM(l), GET_Y_LPARAM(l));
      return 0;
    case WM_LBUTTONDBLCLK:
      OnMouseButton(kLeftButton, l, w);
      form_->InputDblClick(GET_X_LPARAM(l), GET_Y_LPARAM(l));
      return 0;
    case WM_MOUSEMOVE:
      form_->InputMouseMove(ButtonsOf(w), ShiftOf(w), GET_X_LPARAM(l), GET_Y_LPARAM(l));
      return 0;
    case WM_CHAR: {
      const std::string text = Narrow(std::wstring(1, static_cast<wchar_t>(w)));
      form_->InputKeyPress(static_cast<int16_t>(Asc(text) & 0x7FFF));
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED) OnCommand(LOWORD(w));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (const Win32Control* control = ControlOf(reinterpret_cast<HWND>(l))) {
        return reinterpret_cast<LRESULT>(control->Colour(reinterpret_cast<HDC>(w)));
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
      if (const Win32Control* control = ControlOf(reinterpret_cast<HWND>(w));
          control != nullptr && control->cursor() != nullptr) {
        SetCursor(control->cursor());
        return TRUE;
      }
      break;
    case WM_CLOSE:
      form_->InputClose();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, w, l);
}

}  // namespace rt::win32

namespace rt::native {

std::unique_ptr<Window> CreateFormWindow(Form& form, const FormDesign& design) {
  return std::make_unique<win32::Win32Window>(form, design);
}

}  // namespace rt::native
