// Timer events on Qt.
#pragma once

namespace rt::qt {

// No timer event of the program runs after this (the program is ending).
void StopAllTimers();

}  // namespace rt::qt
