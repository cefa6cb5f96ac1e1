#pragma once
// What the bridge files to the window system (User32*.cpp) share: the system's headers, which no
// other file of the framework includes, and the few helpers each of them needs. Win32 only: on Qt
// the toolkit is the bridge.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <oleacc.h>

#include <string>
#include <string_view>

#include "framework/win32/User32.h"

namespace w32 {

inline HWND H(Handle window) { return static_cast<HWND>(window); }

// UTF-16 text in UTF-8, or in another code page (the system's, CP_ACP).
std::string Narrow(const wchar_t* text, int length, UINT codePage = CP_UTF8);

// The procedure a routed window had before, kept on the window itself.
inline constexpr wchar_t kSuperProperty[] = L"QuenzoSuperProc";

}  // namespace w32
