// Asks Windows what pointer the user sees: prints 1 when a cursor shape is
// shown and 0 when none is (a null cursor, or one hidden by ShowCursor), as
// GetCursorInfo reports for the window that has the input.
#include <windows.h>

#include <cstdio>

int main() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  if (!GetCursorInfo(&info)) return 1;
  std::printf("%d\n", info.hCursor != nullptr && (info.flags & CURSOR_SHOWING) != 0);
  return 0;
}
