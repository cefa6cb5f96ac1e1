// A bare Windows program, without Quenzo, that shows a fault of Wine 8's text layout: a multi-line
// edit control in "MS Sans Serif" 8 is given a line that starts with U+02DC SMALL TILDE (byte 98
// in code page 1252). Where Wine has no MS Sans Serif of its own (the fonts-wine package) it draws
// the font in DejaVu Sans, whose glyph positioning takes the tilde for a mark; Wine's placing of a
// mark with no glyph before it (GPOS_apply_MarkToLigature) then reads outside its glyphs and the
// process faults. With Wine's own fonts, as a usual Wine install has them, it ends with 0.
//   small_tilde_repro.exe
#include <windows.h>

#include <cstdio>

int main() {
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0,
                                  0, 400, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    HDC screen = ::GetDC(nullptr);
    HFONT font = ::CreateFontW(-::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                               FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    const HGDIOBJ old = ::SelectObject(screen, font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(screen, LF_FACESIZE, face);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    std::printf("MS Sans Serif is drawn in %ls\n", face);
    std::fflush(stdout);
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\x02DC"));
    std::printf("laid out %d character\n", ::GetWindowTextLengthW(edit));
    ::DestroyWindow(edit);
    ::DeleteObject(font);
    return 0;
}
