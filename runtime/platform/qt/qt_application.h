// The Qt application object, made on first need: a run that shows no form
// (/P, an unknown switch) needs no display at all.
#pragma once

class QApplication;

namespace rt::qt {

void SetProgramName(const char* argv0);
QApplication& EnsureApplication();
bool HasApplication();

}  // namespace rt::qt
