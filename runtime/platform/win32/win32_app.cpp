// App on Windows: the executable's folder, the command-line text, and one
// running copy per executable, held as a named mutex that the system frees
// when the process ends in any way.
#include <windows.h>

#include <functional>
#include <string>

#include "runtime/platform/os_services.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt {
namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool AnotherCopyRuns() {
  std::wstring key = ModulePath();
  CharLowerW(key.data());
  const std::wstring name = L"Local\\kelvora-" + std::to_wstring(std::hash<std::wstring>{}(key));
  // Kept open for the program's life.
  CreateMutexW(nullptr, FALSE, name.c_str());
  return GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool App::PrevInstance() {
  static const bool previous = AnotherCopyRuns();
  return previous;
}

std::string App::Path() {
  std::wstring folder = ModulePath();
  folder.resize(folder.find_last_of(L"\\/"));
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive's root
  return win32::Narrow(folder);
}

std::string App::PathSeparator() { return "\\"; }

std::string Command() {
  const wchar_t* line = GetCommandLineW();
  // The program's name, quoted or not, then the blanks before the arguments.
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return win32::Narrow(line);
}

}  // namespace rt
