#pragma once
// The window system's basic types, as the application code names them.

#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LPCTSTR = const char*;

inline constexpr BOOL FALSE = 0;
inline constexpr BOOL TRUE = 1;

// A window handle is an opaque token: it is never a pointer the caller may follow, and a handle of a
// destroyed window is never given out again, so a stale handle can only fail.
struct HWND__;
using HWND = HWND__*;

constexpr WORD LOWORD(DWORD value) { return static_cast<WORD>(value & 0xFFFFu); }
constexpr WORD HIWORD(DWORD value) { return static_cast<WORD>((value >> 16) & 0xFFFFu); }
constexpr DWORD MAKELONG(WORD low, WORD high) { return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16); }
constexpr WORD MAKEWORD(BYTE low, BYTE high) { return static_cast<WORD>(low | (high << 8)); }
constexpr BYTE LOBYTE(WORD value) { return static_cast<BYTE>(value & 0xFFu); }
constexpr BYTE HIBYTE(WORD value) { return static_cast<BYTE>((value >> 8) & 0xFFu); }

// Messages of the window system that the framework itself handles.
inline constexpr UINT WM_USER = 0x0400;
