#include <windows.h>

#include "tests/support/win32/KeyState.h"

namespace test::keys {

HeldModifiers::HeldModifiers(bool shift, bool control) : m_saved{}, m_changed(shift || control) {
    if (!m_changed) {
        return;
    }
    ::GetKeyboardState(m_saved);
    BYTE state[256];
    ::GetKeyboardState(state);
    if (shift) {
        state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    }
    if (control) {
        state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    }
    ::SetKeyboardState(state);
}

HeldModifiers::~HeldModifiers() {
    if (m_changed) {
        ::SetKeyboardState(m_saved);
    }
}

}  // namespace test::keys
