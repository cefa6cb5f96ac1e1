// The system's help engine, asked for a topic by context number (framework/HelpEngine.h). Twin of
// qt/HelpEngine.cpp.
#include "framework/HelpEngine.h"

#include "framework/WinApp.h"
#include "framework/win32/User32.h"

namespace afx {

bool ShowHelpTopic(const std::string& helpFile, DWORD context) {
    CWnd* main = AfxGetMainWnd();
    auto* owner = main != nullptr && ::IsWindow(main->m_hWnd) ? reinterpret_cast<w32::Handle>(main->m_hWnd) : nullptr;
    return w32::ShowHelpTopic(owner, helpFile, context);
}

}  // namespace afx
