#include "tests/support/FontFace.h"

#include <windows.h>

namespace test {

std::string FontFaceOf(void* window) {
    const auto control = static_cast<HWND>(window);
    HDC dc = ::GetDC(control);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    char utf8[LF_FACESIZE * 3] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, face, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

}  // namespace test
