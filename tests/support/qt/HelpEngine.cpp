// Qt's platforms have no help engine: the stand-in takes nothing. Twin of win32/HelpEngine.cpp.
#include "tests/support/HelpEngine.h"

namespace test {

HelpEngine::HelpEngine() = default;
HelpEngine::~HelpEngine() = default;
bool HelpEngine::Exists() { return false; }

}  // namespace test
