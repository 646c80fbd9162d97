// What the Windows backend's parts share: dialogs in the message loop, the
// program's instance, the screen's density and the makers of windows and
// timers.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "runtime/forms/design.h"
#include "runtime/platform/native.h"

namespace rt::win32 {

// Sent to a dialog for an arrow key on one of its controls (l: the control,
// w: the key); TRUE when the dialog took it.
constexpr UINT kArrowMessage = WM_APP + 1;

// Dialog windows get Tab, Enter and arrow keys through IsDialogMessage.
void AddDialog(HWND window);
void RemoveDialog(HWND window);
HINSTANCE Instance();
native::DotsPerInch ScreenDpi();

std::unique_ptr<native::Window> CreateFormWindow(const FormDesign& design, int client_width,
                                                 int client_height, native::WindowEvents& events);
std::unique_ptr<native::TimerSource> CreateTimerSource(std::function<void()> on_tick);

}  // namespace rt::win32
