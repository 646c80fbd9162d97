// How a failure inside Qt ends the program: one line on standard error and
// status 1, never an abort, a core file or a crash in Qt's own exit. The
// settings file is left as it was: nothing is written on the way out.
#pragma once

namespace rt::qt {

// Before the application is made: Qt's messages come here from now on, and
// those of its start are held, so that a start that fails says one line.
void CatchQtFailures();
// The application is made: the held messages go out, and later ones as
// they come.
void QtStarted();

}  // namespace rt::qt
