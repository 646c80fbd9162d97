// The program's life on Windows: the message loop, the screen's density,
// message boxes and the end of the process.
#include "runtime/platform/win32/win32_program.h"

#include <algorithm>
#include <vector>

#include "runtime/platform/native.h"
#include "runtime/platform/win32/win32_fonts.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt {
namespace win32 {
namespace {

std::vector<HWND> dialogs;

bool IsArrow(WPARAM key) {
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

// Option groups follow the forms layer's order, not the dialog manager's.
bool TakeArrow(HWND dialog, const MSG& message) {
  return message.message == WM_KEYDOWN && IsArrow(message.wParam) &&
         GetParent(message.hwnd) == dialog &&
         SendMessageW(dialog, kArrowMessage, message.wParam,
                      reinterpret_cast<LPARAM>(message.hwnd)) != FALSE;
}

void Dispatch(const MSG& message) {
  for (HWND dialog : dialogs) {
    if (TakeArrow(dialog, message) || IsDialogMessageW(dialog, const_cast<MSG*>(&message))) {
      return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

void AddDialog(HWND window) { dialogs.push_back(window); }

void RemoveDialog(HWND window) { std::erase(dialogs, window); }

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

}  // namespace win32

namespace native {

void StartProgram(int, char**) { win32::LoadCarriedFonts(); }

// Nothing posts WM_QUIT: the program ends when its last form goes.
void WaitEvents() {
  WaitMessage();
  HandlePendingEvents();
}

void HandlePendingEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) win32::Dispatch(message);
}

DotsPerInch ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const DotsPerInch dpi{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return dpi;
}

void ShowMessage(const std::string& text, MessageKind kind) {
  const bool error = kind == MessageKind::kError;
  MessageBoxW(error ? nullptr : GetActiveWindow(), win32::Widen(text).c_str(), L"kelvora",
              MB_OK | (error ? MB_ICONERROR : MB_ICONWARNING));
}

// At once: not even the system's own clean-up in its libraries runs (called
// from inside a window procedure, it can trip over windows it still handles).
void ExitProcess(int status) {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
  ::ExitProcess(static_cast<UINT>(status));  // not reached
}

}  // namespace native
}  // namespace rt
