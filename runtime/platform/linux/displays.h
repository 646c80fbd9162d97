// The display servers that the environment names (X through DISPLAY,
// Wayland through WAYLAND_DISPLAY) and whether each answers: a name left
// from an ended session is no display.
#pragma once

namespace rt::linux_program {

// Whether the named display takes a connection; each is asked once.
bool HasXDisplay();
bool HasWaylandDisplay();
// Ends the program with one line naming what was tried when no named
// display answers, before a backend tries one and fails with a message
// about it alone (or Qt aborts).
void RequireADisplay();
// Points Qt at the one display that answers, when only one does, unless
// the user chose Qt's platform: its own choice may be the other.
void SteerQtToTheDisplayThatAnswers();

}  // namespace rt::linux_program
