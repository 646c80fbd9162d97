// Names and roles for assistive technology through MSAA's dynamic
// annotation: the system's own accessible object of a window answers with
// them, and the window's caption stays as designed.
#pragma once

#include <windows.h>

#include <string>

namespace rt::win32 {

// Names the window's client (the control itself); false when the system
// has no annotation service or refused it.
bool AnnotateName(HWND hwnd, const std::string& name);
// Makes the window's client a dialog to assistive technology.
bool AnnotateDialogRole(HWND hwnd);
// Drops what was annotated, before the window goes.
void ClearAnnotations(HWND hwnd);

}  // namespace rt::win32
