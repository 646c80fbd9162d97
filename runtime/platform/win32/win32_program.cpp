// The program's life on Windows: the message loop, the screen's density,
// message boxes and the end of the process.
#include "runtime/platform/win32/win32_program.h"

#include <algorithm>
#include <vector>

#include "runtime/platform/backends.h"
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

class Win32Backend final : public native::Backend {
 public:
  std::unique_ptr<native::Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                   int client_height,
                                                   native::WindowEvents& events) override {
    return win32::CreateFormWindow(design, client_width, client_height, events);
  }

  std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick) override {
    return win32::CreateTimerSource(std::move(on_tick));
  }

  // Nothing posts WM_QUIT: the program ends when its last form goes.
  void WaitEvents() override {
    WaitMessage();
    HandlePendingEvents();
  }

  void HandlePendingEvents() override {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Dispatch(message);
  }

  native::DotsPerInch ScreenDpi() override { return win32::ScreenDpi(); }

  native::PixelRect WorkArea() override {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {work.left, work.top, work.right - work.left, work.bottom - work.top};
  }

  // The rectangle's size is the whole width and height, centred on the
  // first press.
  native::DoubleClickLimits DoubleClickSetting() override {
    return {GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK) / 2,
            GetSystemMetrics(SM_CYDOUBLECLK) / 2};
  }

  void ShowMessage(const std::string& text, native::MessageKind kind) override {
    const bool error = kind == native::MessageKind::kError;
    MessageBoxW(error ? nullptr : GetActiveWindow(), Widen(text).c_str(), L"kelvora",
                MB_OK | (error ? MB_ICONERROR : MB_ICONWARNING));
  }

  // At once: not even the system's own clean-up in its libraries runs (called
  // from inside a window procedure, it can trip over windows it still handles).
  [[noreturn]] void ExitProcess(int status) override {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    ::ExitProcess(static_cast<UINT>(status));  // not reached
  }
};

constexpr native::BackendEntry kBackends[] = {
    {"win32", [](const native::FormNeeds&) { return true; },
     []() -> native::Backend* {
       static Win32Backend backend;
       return &backend;
     },
     true},
};

}  // namespace

void AddDialog(HWND window) { dialogs.push_back(window); }

void RemoveDialog(HWND window) { std::erase(dialogs, window); }

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

native::DotsPerInch ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const native::DotsPerInch dpi{GetDeviceCaps(screen, LOGPIXELSX),
                                GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace win32

namespace native {

void StartProgram(int, char**) { win32::LoadCarriedFonts(); }

std::span<const BackendEntry> PlatformBackends() { return win32::kBackends; }

}  // namespace native
}  // namespace rt
