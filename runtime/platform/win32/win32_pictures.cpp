#include "runtime/platform/win32/win32_pictures.h"

#include <ocidl.h>
#include <olectl.h>

#include "runtime/platform/win32/win32_program.h"
#include "runtime/platform/win32/win32_text.h"

namespace rt::win32 {
namespace {

bool EndsWith(const std::string& name, const std::string& extension) {
  return name.size() >= extension.size() &&
         name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

// A JPEG from the resources, decoded by the system's picture loader.
HBITMAP LoadJpeg(const std::wstring& name) {
  const HRSRC resource = FindResourceW(Instance(), name.c_str(), MAKEINTRESOURCEW(10));  // RCDATA
  if (resource == nullptr) return nullptr;
  const DWORD size = SizeofResource(Instance(), resource);
  const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (copy == nullptr) return nullptr;
  CopyMemory(GlobalLock(copy), LockResource(LoadResource(Instance(), resource)), size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  // From here the stream owns the copy and frees it with itself.
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  IPicture* picture = nullptr;
  const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded)) return nullptr;
  OLE_HANDLE handle = 0;
  picture->get_Handle(&handle);
  const auto bitmap = static_cast<HBITMAP>(
      CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
  picture->Release();
  return bitmap;
}

}  // namespace

// Pictures are resources named by their files (kelvora.rc).
HBITMAP LoadPictureBitmap(const std::string& name) {
  if (EndsWith(name, ".jpg")) return LoadJpeg(Widen(name));
  if (!EndsWith(name, ".bmp")) return nullptr;
  return static_cast<HBITMAP>(
      LoadImageW(Instance(), Widen(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HICON LoadPictureIcon(const std::string& name, int size) {
  if (!EndsWith(name, ".ico")) return nullptr;
  return static_cast<HICON>(LoadImageW(Instance(), Widen(name).c_str(), IMAGE_ICON, size, size, 0));
}

HCURSOR LoadPictureCursor(const std::string& name) {
  if (!EndsWith(name, ".cur")) return nullptr;
  return LoadCursorW(Instance(), Widen(name).c_str());
}

}  // namespace rt::win32
