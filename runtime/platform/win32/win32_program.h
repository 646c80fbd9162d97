// What the Windows backend's parts share: dialogs in the message loop and
// the program's instance.
#pragma once

#include <windows.h>

namespace rt::win32 {

// Sent to a dialog for an arrow key on one of its controls (l: the control,
// w: the key); TRUE when the dialog took it.
constexpr UINT kArrowMessage = WM_APP + 1;

// Dialog windows get Tab, Enter and arrow keys through IsDialogMessage.
void AddDialog(HWND window);
void RemoveDialog(HWND window);
HINSTANCE Instance();

}  // namespace rt::win32
