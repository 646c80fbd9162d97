// Asks the system's accessibility layer (oleacc) what a screen reader would
// read of the settings dialog, so that tests can check the names the program
// annotates (under Wine).
// Usage: accessible_probe TITLE_START
//   Waits up to a minute for a shown top-level window whose caption starts
//   with the text, then prints a line for it and each of its children, in
//   UTF-8: the window class, the caption, the result of
//   AccessibleObjectFromWindow (hex), and the accessible name and role read
//   from the object (empty and 0 where none).
// Usage: accessible_probe --annotate NAME
//   Names a button of its own captioned "Option2" through dynamic
//   annotation, as the program does, and prints the results of making the
//   service and of SetHwndPropStr (hex), then the button's line as above.
#include <windows.h>
// clang-format off: the GUIDs that oleacc.h declares are defined here
#include <initguid.h>
#include <oleacc.h>
// clang-format on
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string Narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
  return narrow;
}

std::wstring TextOf(HWND hwnd, bool class_name) {
  wchar_t text[256] = {};
  if (class_name) {
    GetClassNameW(hwnd, text, 256);
  } else {
    GetWindowTextW(hwnd, text, 256);
  }
  return text;
}

void Describe(HWND hwnd) {
  IAccessible* accessible = nullptr;
  const HRESULT found =
      AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&accessible));
  std::wstring name;
  long role = 0;
  if (SUCCEEDED(found) && accessible != nullptr) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (SUCCEEDED(accessible->get_accName(self, &text)) && text != nullptr) {
      name = text;
      SysFreeString(text);
    }
    VARIANT answer;
    VariantInit(&answer);
    if (SUCCEEDED(accessible->get_accRole(self, &answer)) && answer.vt == VT_I4) role = answer.lVal;
    accessible->Release();
  }
  std::printf("%s\t%s\t%08lx\t%s\t%ld\n", Narrow(TextOf(hwnd, true)).c_str(),
              Narrow(TextOf(hwnd, false)).c_str(), static_cast<unsigned long>(found),
              Narrow(name).c_str(), role);
}

struct Search {
  std::wstring title_start;
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM l) {
  auto* search = reinterpret_cast<Search*>(l);
  if (IsWindowVisible(hwnd) && TextOf(hwnd, false).starts_with(search->title_start)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK DescribeChild(HWND hwnd, LPARAM) {
  Describe(hwnd);
  return TRUE;
}

int Annotate(const wchar_t* name) {
  const HWND button = CreateWindowExW(0, L"BUTTON", L"Option2", WS_POPUP | BS_AUTORADIOBUTTON, 0, 0,
                                      17, 13, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  IAccPropServices* service = nullptr;
  const HRESULT made = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IAccPropServices, reinterpret_cast<void**>(&service));
  HRESULT annotated = E_POINTER;
  if (SUCCEEDED(made)) {
    annotated = service->SetHwndPropStr(button, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                        PROPID_ACC_NAME, name);
  }
  std::printf("%08lx\t%08lx\n", static_cast<unsigned long>(made),
              static_cast<unsigned long>(annotated));
  Describe(button);
  if (service != nullptr) service->Release();
  DestroyWindow(button);
  return 0;
}

}  // namespace

int main() {
  // Texts as typed, whatever the code page.
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (argc == 3 && std::wstring(argv[1]) == L"--annotate") {
    const int status = Annotate(argv[2]);
    std::fflush(stdout);
    return status;
  }
  if (argc != 2) return 2;
  Search search{argv[1]};
  for (int tries = 0; tries < 600 && search.found == nullptr; ++tries) {
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) Sleep(100);
  }
  if (search.found == nullptr) return 1;
  Describe(search.found);
  EnumChildWindows(search.found, DescribeChild, 0);
  std::fflush(stdout);
  CoUninitialize();
  return 0;
}
