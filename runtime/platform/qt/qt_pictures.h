// The pictures embedded in the executable (Qt resources under :/assets).
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <string>

namespace rt::qt {

QPixmap Picture(const std::string& name);
QIcon Icon(const std::string& name);
// A Windows cursor file, with the hot spot its file gives.
QCursor Cursor(const std::string& name);

}  // namespace rt::qt
