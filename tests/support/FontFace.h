#pragma once
// The face a control's text is drawn in, as the window system chose it for the font the control
// asked for (a system may draw a font it does not have in another). In plain types, so that a
// backend may ask through its system's own calls.

#include <string>

namespace test {

// The face of the font that the window whose handle (m_hWnd) is `window` draws its text in.
std::string FontFaceOf(void* window);

}  // namespace test
