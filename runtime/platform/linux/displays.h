// The display servers that the environment names: X through DISPLAY,
// Wayland through WAYLAND_DISPLAY.
#pragma once

namespace rt::linux_program {

bool HasXDisplay();
bool HasWaylandDisplay();
// Ends the program with one line naming both when the environment names
// neither, before a backend tries one and fails with a message about it alone.
void RequireADisplay();

}  // namespace rt::linux_program
