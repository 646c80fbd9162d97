// Program life on Windows: start, the message loop, End, DoEvents, MsgBox,
// the screen and the message of an unhandled run-time error.
#include "runtime/win32/win32_program.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "runtime/event_guard.h"
#include "runtime/form.h"
#include "runtime/native.h"
#include "runtime/program.h"
#include "runtime/runtime_error.h"
#include "runtime/win32/win32_fonts.h"
#include "runtime/win32/win32_text.h"

namespace rt {
namespace win32 {
namespace {

std::vector<HWND> dialogs;

int Dpi(int axis) {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, axis);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

void AddDialog(HWND window) { dialogs.push_back(window); }

void RemoveDialog(HWND window) { std::erase(dialogs, window); }

bool DispatchOne(const MSG& message) {
  if (message.message == WM_QUIT) return false;
  for (HWND dialog : dialogs) {
    if (IsDialogMessageW(dialog, const_cast<MSG*>(&message))) return true;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

int ScreenDpiX() {
  static const int dpi = Dpi(LOGPIXELSX);
  return dpi;
}

int ScreenDpiY() {
  static const int dpi = Dpi(LOGPIXELSY);
  return dpi;
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

}  // namespace win32

int ThunRTMain(int, char**, void (*main_procedure)()) {
  win32::LoadCarriedFonts();
  RunGuarded(main_procedure);
  int status = 0;
  MSG message;
  while (AnyFormLoaded()) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      status = static_cast<int>(message.wParam);
      break;
    }
    win32::DispatchOne(message);
  }
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(status));
}

// At once, as End must: no further code runs, not even the system's own
// clean-up in its libraries (which, called from inside a window procedure,
// can trip over windows it is still handling).
void End() {
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);  // not reached
}

void DoEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!win32::DispatchOne(message)) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that owns it
      return;
    }
  }
}

void MsgBox(const std::string& prompt) {
  MessageBoxW(GetActiveWindow(), win32::Widen(prompt).c_str(), L"kelvora", MB_OK | MB_ICONWARNING);
}

float Screen::TwipsPerPixelX() { return 1440.0f / static_cast<float>(win32::ScreenDpiX()); }
float Screen::TwipsPerPixelY() { return 1440.0f / static_cast<float>(win32::ScreenDpiY()); }

namespace native {

void QuitEventLoop() { PostQuitMessage(0); }

void FatalError(int number) {
  const std::string message = ErrorMessage(number);
  std::fprintf(stderr, "kelvora: %s\n", message.c_str());
  std::fflush(stderr);
  // No event code runs while the message is up, and no window of ours hides it.
  win32::StopAllTimers();
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        ShowWindow(window, SW_HIDE);
        return TRUE;
      },
      0);
  MessageBoxW(nullptr, win32::Widen(message).c_str(), L"kelvora", MB_OK | MB_ICONERROR);
  TerminateProcess(GetCurrentProcess(), 1);
  ExitProcess(1);  // not reached
}

}  // namespace native
}  // namespace rt
