// The program's life and surroundings: start through Main, End, DoEvents,
// MsgBox and the screen's twips per pixel, over the backend's primitives;
// the App object and the command line are the platform's (os_services.h).
#pragma once

#include <string>

#include "runtime/platform/os_services.h"

namespace rt {

// The executable's entry hands the start-up procedure to the runtime, which
// calls it once before any form exists and then runs while a form is loaded.
int ThunRTMain(int argc, char** argv, void (*main_procedure)());

// Stops the program at once: no further event code, not even Unload handlers.
[[noreturn]] void End();

// Handles the pending window and timer events, then returns.
void DoEvents();

// Shows a message to the user and waits until it is closed.
void MsgBox(const std::string& prompt);

// An unhandled run-time error: says so on the standard error, stops every
// timer, hides the program's windows, shows the message and ends with 1.
[[noreturn]] void FailWithError(int number);

struct Screen {
  // From the display's dots per inch: 15 at 96.
  static float TwipsPerPixelX();
  static float TwipsPerPixelY();
  // Twips as whole screen pixels, rounded to the nearest.
  static int PixelsX(float twips);
  static int PixelsY(float twips);
};

}  // namespace rt
