#pragma once
// Holds Shift and Ctrl down, as the window system's key state reports them, while it lives: keys
// the test driver posts then read as pressed with them. In plain types, since <windows.h> and the
// framework's headers do not meet.

namespace test::keys {

class HeldModifiers {
public:
    HeldModifiers(bool shift, bool control);
    ~HeldModifiers();
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    unsigned char m_saved[256];
    bool m_changed;
};

}  // namespace test::keys
