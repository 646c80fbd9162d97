#include "runtime/platform/win32/win32_accessible.h"

// The annotation GUIDs are defined here, the one place that uses them.
#include <initguid.h>
#include <oleacc.h>

#include <iterator>

#include "runtime/platform/win32/win32_text.h"

namespace rt::win32 {
namespace {

// The service, made once on the user-interface thread and kept for the run.
IAccPropServices* Service() {
  static IAccPropServices* const service = [] {
    IAccPropServices* made = nullptr;
    // S_FALSE: COM was already set up on this thread; either way it stays.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return made;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&made)))) {
      made = nullptr;
    }
    return made;
  }();
  return service;
}

}  // namespace

bool AnnotateName(HWND hwnd, const std::string& name) {
  IAccPropServices* service = Service();
  return service != nullptr &&
         SUCCEEDED(service->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                           PROPID_ACC_NAME, Widen(name).c_str()));
}

bool AnnotateDialogRole(HWND hwnd) {
  IAccPropServices* service = Service();
  if (service == nullptr) return false;
  VARIANT role;
  VariantInit(&role);
  role.vt = VT_I4;
  role.lVal = ROLE_SYSTEM_DIALOG;
  return SUCCEEDED(service->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                        PROPID_ACC_ROLE, role));
}

void ClearAnnotations(HWND hwnd) {
  IAccPropServices* service = Service();
  if (service == nullptr) return;
  MSAAPROPID props[] = {PROPID_ACC_NAME, PROPID_ACC_ROLE};
  service->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, props,
                          static_cast<int>(std::size(props)));
}

}  // namespace rt::win32
