#include "runtime/win32/win32_pictures.h"

#include <ocidl.h>
#include <olectl.h>

#include "runtime/win32/win32_program.h"
#include "runtime/win32/win32_resources.h"

namespace rt::win32 {
namespace {

// A JPEG from the resources, decoded by the system's picture loader.
HBITMAP LoadJpeg(int id) {
  const HRSRC resource = FindResourceW(Instance(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
  if (resource == nullptr) return nullptr;
  const DWORD size = SizeofResource(Instance(), resource);
  const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  CopyMemory(GlobalLock(copy), LockResource(LoadResource(Instance(), resource)), size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) return nullptr;
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

HBITMAP LoadPictureBitmap(const std::string& name) {
  if (name == "button.jpg") return LoadJpeg(IDR_BUTTON_FACE);
  if (name == "background.bmp") {
    return static_cast<HBITMAP>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDB_BACKGROUND),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  }
  return nullptr;
}

HICON LoadPictureIcon(const std::string& name, int size) {
  if (name != "kelvora.ico") return nullptr;
  return static_cast<HICON>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_KELVORA), IMAGE_ICON, size, size, 0));
}

HCURSOR LoadPictureCursor(const std::string& name) {
  if (name != "hand.cur") return nullptr;
  return LoadCursorW(Instance(), MAKEINTRESOURCEW(IDC_KELVORA_HAND));
}

}  // namespace rt::win32
