#include "runtime/platform/win32/win32_per_user_profile.h"

#include <windows.h>

#include <string>

#include "runtime/platform/win32/win32_text.h"

namespace rt::win32 {
namespace {

std::wstring FolderOf(const std::wstring& file) {
  const size_t slash = file.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : file.substr(0, slash);
}

// Access rights alone do not tell (a read-only attribute on a folder means
// nothing to Windows, a read-only disk or share does): a file is made there
// and goes when closed. (GetTempFileName reports success when it could not
// make its file, under Wine at least.)
bool FolderWritable(const std::wstring& file) {
  const std::wstring probe = FolderOf(file) + L"\\~kelvora-" +
                             std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount64()) + L".tmp";
  const HANDLE handle = CreateFileW(
      probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}

std::wstring PerUserCopyOf(const std::wstring& file) {
  wchar_t local[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"";
  const size_t slash = file.find_last_of(L"\\/");
  const std::wstring name = slash == std::wstring::npos ? file : file.substr(slash + 1);
  const size_t dot = name.rfind(L'.');
  return std::wstring(local) + L"\\" + name.substr(0, dot == 0 ? std::wstring::npos : dot) + L"\\" +
         name;
}

bool Exists(const std::wstring& file) {
  return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string ProfileToRead(const std::string& path) {
  const std::wstring file = Widen(path);
  if (FolderWritable(file)) return path;
  const std::wstring copy = PerUserCopyOf(file);
  return !copy.empty() && Exists(copy) ? Narrow(copy) : path;
}

WrittenProfile ProfileWritten(const std::string& path) {
  const std::wstring file = Widen(path);
  if (FolderWritable(file)) return {path, false};
  const std::wstring copy = PerUserCopyOf(file);
  if (copy.empty()) return {path, true};
  return {Narrow(copy), false};
}

std::string ProfileToWrite(const std::string& path) {
  const WrittenProfile place = ProfileWritten(path);
  if (place.path == path) return path;
  const std::wstring file = Widen(path);
  const std::wstring copy = Widen(place.path);
  if (Exists(copy)) return place.path;
  // Never over a copy that another writer made meanwhile. Where no copy can
  // be made, the write to the copy's place fails, and says where.
  if (CreateDirectoryW(FolderOf(copy).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
    CopyFileW(file.c_str(), copy.c_str(), TRUE);
  return place.path;
}

}  // namespace rt::win32
