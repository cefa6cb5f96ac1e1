// The interfaces' identities are defined in this file: taken from the import libraries instead,
// IAccessible's made the accessibility layer answer E_NOINTERFACE under Wine.
#include <initguid.h>
#include <windows.h>

#include <oleacc.h>

#include "tests/support/win32/CodePage.h"
#include "tests/support/win32/Msaa.h"

namespace test::msaa {

std::optional<std::string> Name(void* window) {
    // The accessibility layer answers through COM, ready on this thread from the first call on.
    static const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    IAccessible* accessible = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(static_cast<HWND>(window), static_cast<DWORD>(OBJID_CLIENT),
                                            IID_IAccessible, reinterpret_cast<void**>(&accessible)))) {
        return std::nullopt;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT result = accessible->get_accName(self, &name);
    accessible->Release();
    if (result != S_OK || name == nullptr) {
        return std::nullopt;
    }
    std::string text = codepage::Utf8(std::wstring(name, ::SysStringLen(name)));
    ::SysFreeString(name);
    return text;
}

bool TakesAnnotations() {
    static const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    IAccPropServices* services = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                  reinterpret_cast<void**>(&services)))) {
        return false;
    }
    HWND probe = ::CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const HRESULT result =
        services->SetHwndPropStr(probe, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, L"probe");
    services->Release();
    ::DestroyWindow(probe);
    return SUCCEEDED(result);
}

}  // namespace test::msaa
