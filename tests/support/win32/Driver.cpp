// The dialog driver's acts on the Win32 backend: the system's messages for the mouse and the
// keyboard, posted to the window that would receive them and delivered by the running loop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "framework/MessageLoop.h"
#include "framework/win32/User32.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/win32/CodePage.h"
#include "tests/support/win32/KeyState.h"
#include "tests/support/win32/Poll.h"
#include "tests/support/win32/Msaa.h"

namespace test {
namespace {

constexpr unsigned kSetText = 0x000C;
constexpr unsigned kCommand = 0x0111;
constexpr w32::Word kIdOk = 1;
constexpr unsigned kKeyDown = 0x0100;
constexpr unsigned kKeyUp = 0x0101;
constexpr unsigned kChar = 0x0102;
constexpr unsigned kSysKeyDown = 0x0104;
constexpr unsigned kSysKeyUp = 0x0105;
constexpr w32::Long kAltDown = 1L << 29;
constexpr w32::Long kReleased = (1L << 30) | (1L << 31);

w32::Handle Native(const CWnd& wnd) { return reinterpret_cast<w32::Handle>(wnd.m_hWnd); }

w32::Word VirtualKey(Key key) {
    switch (key) {
        case Key::Return: return 0x0D;
        case Key::Escape: return 0x1B;
        case Key::Tab: return 0x09;
        case Key::Up: return 0x26;
        case Key::Down: return 0x28;
        case Key::F1: return 0x70;
        case Key::F4: return 0x73;
        case Key::Space: return 0x20;
        case Key::Break: return 0x03;  // Ctrl+Break's key
    }
    return 0;
}

w32::Handle KeyTarget() {
    w32::Handle focus = w32::Focus();
    return focus != nullptr ? focus : w32::ActiveWindow();
}

}  // namespace

void EveryFewMs(std::function<bool()> tick) { test::poll::Every(5, std::move(tick)); }

bool IsActiveWindow(const CWnd& window) { return window.m_hWnd != nullptr && w32::ActiveWindow() == Native(window); }

void Click(const CWnd& dialog, int id) {
    CWnd* button = dialog.GetDlgItem(id);
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(button->IsWindowEnabled()) << "clicking a disabled control " << id;
    w32::Send(Native(*button), w32::msg::BmClick);
}

void InjectClick(const CWnd& dialog, int id) {
    CWnd* button = dialog.GetDlgItem(id);
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(w32::ClickWithMouse(Native(*button)));
}

void PressKey(Key key, int modifiers) {
    const bool alt = (modifiers & kAlt) != 0;
    const w32::Word code = VirtualKey(key);
    w32::Handle target = KeyTarget();
    // The loop turns the key into its character, as it does for the keyboard's.
    const test::keys::HeldModifiers held((modifiers & kShift) != 0, (modifiers & kControl) != 0);
    w32::Post(target, alt ? kSysKeyDown : kKeyDown, code, 1 | (alt ? kAltDown : 0));
    w32::Post(target, alt ? kSysKeyUp : kKeyUp, code, 1 | kReleased | (alt ? kAltDown : 0));
    AfxPumpWaitingMessages();
}

void TypeText(const std::string& text) {
    for (const wchar_t unit : w32::Utf16(text)) {
        w32::Post(KeyTarget(), kChar, unit, 1);
        AfxPumpWaitingMessages();
    }
}

void SetTextFromOutside(const CWnd& control, const std::string& text) {
    // The message comes from another thread, and the window's thread takes it in its loop.
    std::atomic<bool> done{false};
    std::thread outside([&] {
        w32::SendText(Native(control), kSetText, 0, text);
        done = true;
    });
    const bool delivered = AfxPumpMessagesUntil([&] { return done.load(); }, 5000);
    outside.join();
    EXPECT_TRUE(delivered) << "the control never took the text";
}

std::string TextFromOutside(const CWnd& control) {
    // The system's own call sends WM_GETTEXT to a window of another thread.
    return w32::GetText(Native(control));
}

struct SystemMessageBoxes::Watch {
    std::atomic<bool> stop{false};
    std::atomic<int> answered{0};
    std::thread thread;
};

SystemMessageBoxes::SystemMessageBoxes(std::function<void()> atOpen, int lookAfterMs, std::function<void()> look)
    : m_watch(std::make_unique<Watch>()) {
    Watch& watch = *m_watch;
    watch.thread = std::thread([&watch, atOpen = std::move(atOpen), lookAfterMs, look = std::move(look)] {
        while (!watch.stop) {
            const w32::Handle box = w32::ShownSystemMessageBox();
            if (box == nullptr) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            atOpen();
            std::this_thread::sleep_for(std::chrono::milliseconds(lookAfterMs));
            look();
            ++watch.answered;
            w32::Post(box, kCommand, kIdOk);
            while (!watch.stop && w32::IsWindow(box)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    });
}

SystemMessageBoxes::~SystemMessageBoxes() {
    m_watch->stop = true;
    m_watch->thread.join();
}

int SystemMessageBoxes::Answered() const { return m_watch->answered; }

std::string DecodedAsTheBoxShows(const std::string& bytes) { return codepage::RoundTrip(bytes); }

std::string EncodedForTheBoxes(const std::string& utf8) { return codepage::FromUtf8(utf8); }

std::string ShownCharacters(const CWnd& control) { return codepage::WindowCharacters(Native(control)); }

std::string AMultiByteCharacter() {
    // 中 in the system's code page, where it takes more than one byte and is no stand-in.
    const std::string han = codepage::FromUtf8("\xE4\xB8\xAD");
    return han.size() > 1 && codepage::ToUtf8(han) == "\xE4\xB8\xAD" ? han : std::string();
}

std::string AccessibleName(const CWnd& control) { return test::msaa::Name(Native(control)).value_or(""); }

bool AccessibleNamesGivenAreTaken() {
    static const bool taken = test::msaa::TakesAnnotations();
    return taken;
}

std::pair<int, int> Selection(const CWnd& control) {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    w32::Send(Native(control), w32::msg::EmGetSel, reinterpret_cast<w32::Word>(&start),
              reinterpret_cast<w32::Long>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

void Select(const CWnd& control, int start, int end) {
    w32::Send(Native(control), w32::msg::EmSetSel, static_cast<w32::Word>(start), end);
}

RECT ControlRect(const CWnd& control) {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
    w32::ChildRect(Native(control), &left, &top, &right, &bottom);
    return {left, top, right, bottom};
}

int VisibleTopLevelWindows() { return w32::VisibleTopLevelWindows(); }

void PrepareBackend() {}

}  // namespace test
