// What the Windows backend's parts share: dialogs in the message loop, the
// timers to stop when the program ends on an error, the screen's DPI.
#pragma once

#include <windows.h>

namespace rt::win32 {

// Dialog windows get Tab, Enter and arrow keys through IsDialogMessage.
void AddDialog(HWND window);
void RemoveDialog(HWND window);
// Translates and dispatches one message; false for WM_QUIT.
bool DispatchOne(const MSG& message);
void StopAllTimers();
int ScreenDpiX();
int ScreenDpiY();
HINSTANCE Instance();

}  // namespace rt::win32
