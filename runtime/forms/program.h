// The program's life and surroundings: start through Main, End, DoEvents, the
// App object, the command-line text and the screen's twips per pixel. Start,
// End, DoEvents, MsgBox and Screen are portable (program.cpp, screen.cpp)
// over the backend's primitives; App and Command come from the platform.
#pragma once

#include <string>

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

struct App {
  // True only while another copy of this same executable runs.
  static bool PrevInstance();
  // The executable's folder; ends in a separator only at the root.
  static std::string Path();
  // What goes between the folder and a file name in a path.
  static std::string PathSeparator();
};

// The arguments after the program's name, joined by single blanks.
std::string Command();

struct Screen {
  // From the display's dots per inch: 15 at 96.
  static float TwipsPerPixelX();
  static float TwipsPerPixelY();
  // Twips as whole screen pixels, rounded to the nearest.
  static int PixelsX(float twips);
  static int PixelsY(float twips);
};

}  // namespace rt
