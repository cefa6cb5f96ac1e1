#pragma once
// The system's help engine: shows one topic of a help file, on behalf of the program's main window.

#include <string>

#include "framework/AfxTypes.h"

namespace afx {

// Asks the help engine to show the topic with context number `context` from `helpFile`; false
// when the engine could not be started. What the engine then shows (the topic, or its own message
// that the file is missing) is its own. Windows has such an engine; Qt's platforms have none, so
// there it is always false.
bool ShowHelpTopic(const std::string& helpFile, DWORD context);

}  // namespace afx
