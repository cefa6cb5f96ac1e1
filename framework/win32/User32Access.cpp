// The window system's accessibility: the names assistive technology reads for the controls.
// Win32 only, as is each bridge file (User32.h).
#include "framework/win32/User32Bridge.h"

#include <vector>

namespace w32 {

bool AnnotateNames(const std::vector<std::pair<Handle, std::string_view>>& names) {
    // The accessibility layer's annotation service, made through COM for this one call.
    static constexpr GUID kService = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
    static constexpr GUID kServices = {0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
    static constexpr GUID kName = {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccPropServices* services = nullptr;
    HRESULT result =
        ::CoCreateInstance(kService, nullptr, CLSCTX_INPROC_SERVER, kServices, reinterpret_cast<void**>(&services));
    if (SUCCEEDED(result)) {
        // Kept with each window itself: readers find it there, whatever this thread does with COM later.
        for (const auto& [window, name] : names) {
            if (SUCCEEDED(result)) {
                result = services->SetHwndPropStr(H(window), static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kName,
                                                  Utf16(name).c_str());
            }
        }
        services->Release();
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return SUCCEEDED(result);
}

}  // namespace w32
