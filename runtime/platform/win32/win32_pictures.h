// The pictures compiled into the executable, by their names in the design.
#pragma once

#include <windows.h>

#include <string>

namespace rt::win32 {

HBITMAP LoadPictureBitmap(const std::string& name);
HICON LoadPictureIcon(const std::string& name, int size);
HCURSOR LoadPictureCursor(const std::string& name);

}  // namespace rt::win32
