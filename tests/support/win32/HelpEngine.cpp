// A stand-in for the system's help engine (tests/support/HelpEngine.h): a window of the engine's
// class, "MS_WINHELP", that takes each request the system's help call copies to it. The request is
// the help engine's record: its size, the command, the context number, a reserved field, and the
// offsets of the file's name and of further data from its start. Twin of qt/HelpEngine.cpp.
#include <windows.h>

#include <cstring>

#include "tests/support/HelpEngine.h"

namespace test {
namespace {

constexpr wchar_t kEngineClass[] = L"MS_WINHELP";

#pragma pack(push, 1)
struct EngineRecord {
    WORD size;
    WORD command;
    LONG data;
    LONG reserved;
    WORD fileOffset;
    WORD dataOffset;
};
#pragma pack(pop)

LRESULT CALLBACK EngineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        auto* engine = reinterpret_cast<HelpEngine*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        const auto* copied = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (engine == nullptr || copied == nullptr || copied->cbData < sizeof(EngineRecord)) {
            return FALSE;
        }
        EngineRecord record;
        std::memcpy(&record, copied->lpData, sizeof record);
        HelpEngine::Request request{record.command, static_cast<unsigned long>(record.data), {}};
        const auto* bytes = static_cast<const char*>(copied->lpData);
        if (record.fileOffset != 0 && record.fileOffset < copied->cbData) {
            request.file.assign(bytes + record.fileOffset,
                                ::strnlen(bytes + record.fileOffset, copied->cbData - record.fileOffset));
        }
        engine->requests.push_back(request);
        return engine->refuses ? FALSE : TRUE;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND& EngineWindow() {
    static HWND window = nullptr;
    return window;
}

}  // namespace

HelpEngine::HelpEngine() {
    WNDCLASSW kind{};
    kind.lpfnWndProc = EngineProc;
    kind.hInstance = ::GetModuleHandleW(nullptr);
    kind.lpszClassName = kEngineClass;
    ::RegisterClassW(&kind);
    EngineWindow() = ::CreateWindowExW(0, kEngineClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr, kind.hInstance, nullptr);
    ::SetWindowLongPtrW(EngineWindow(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HelpEngine::~HelpEngine() {
    ::DestroyWindow(EngineWindow());
    EngineWindow() = nullptr;
}

bool HelpEngine::Exists() { return true; }

}  // namespace test
