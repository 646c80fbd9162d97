// Asks Windows what each key stroke types, so that tests can hold the forms
// layer's KeyPress rule against it (under Wine).
// Usage: key_probe CASE...   where CASE is vk * 8 + modifiers (1 Shift,
// 2 Ctrl, 4 Alt). Prints a line per case: the case, the character the key
// gives with Shift alone (0 for none), and the character TranslateMessage
// posts as WM_CHAR (-1 for none; WM_SYSCHAR counts as none).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void SetModifiers(BYTE* state, int modifiers) {
  const auto down = [&](int left, int both) { state[left] = state[both] = 0x80; };
  if (modifiers & 1) down(VK_LSHIFT, VK_SHIFT);
  if (modifiers & 2) down(VK_LCONTROL, VK_CONTROL);
  if (modifiers & 4) down(VK_LMENU, VK_MENU);
}

int Base(UINT vk, UINT scan, int modifiers) {
  BYTE state[256] = {};
  SetModifiers(state, modifiers & 1);
  wchar_t text[8] = {};
  const int length = ToUnicode(vk, scan, state, text, 8, 0);
  return length == 1 ? text[0] : 0;
}

int Posted(HWND window, UINT vk, UINT scan, int modifiers) {
  BYTE state[256] = {};
  SetModifiers(state, modifiers);
  SetKeyboardState(state);
  const bool alt_alone = (modifiers & 4) && !(modifiers & 2);
  MSG message{};
  message.hwnd = window;
  message.message = alt_alone ? WM_SYSKEYDOWN : WM_KEYDOWN;
  message.wParam = vk;
  message.lParam = static_cast<LPARAM>((scan << 16) | 1 | ((modifiers & 4) ? 1u << 29 : 0));
  TranslateMessage(&message);
  int posted = -1;
  MSG out;
  while (PeekMessageW(&out, window, 0, 0, PM_REMOVE)) {
    if (out.message == WM_CHAR) posted = static_cast<int>(out.wParam);
  }
  return posted;
}

}  // namespace

int main(int argc, char** argv) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  for (int i = 1; i < argc; ++i) {
    const int test = std::atoi(argv[i]);
    const auto vk = static_cast<UINT>(test / 8);
    const int modifiers = test % 8;
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    std::printf("%d %d %d\n", test, Base(vk, scan, modifiers), Posted(window, vk, scan, modifiers));
  }
  return 0;
}
