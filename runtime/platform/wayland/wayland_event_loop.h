// The Wayland backend's event loop: each window sends what changed, events
// go to their listeners, timers fire on their deadlines, and the loop sleeps
// in ppoll until the next event or deadline.
#pragma once

namespace rt::wayland {

// Sends and handles what is pending without waiting; looks at the socket at
// most once every few milliseconds, as the program calls it hundreds of
// times a tick.
void DoEvents();
// As DoEvents, at once.
void ProcessPending();
// Waits for an event or a due timer, then handles what is pending.
void WaitEvents();

}  // namespace rt::wayland
