// The help engine on Qt's platforms (framework/HelpEngine.h): there is none that reads a Windows
// help file, so help can never be started. Twin of win32/HelpEngine.cpp.
#include "framework/HelpEngine.h"

namespace afx {

bool ShowHelpTopic(const std::string& /*helpFile*/, DWORD /*context*/) { return false; }

}  // namespace afx
