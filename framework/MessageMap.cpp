#include "framework/MessageMap.h"

bool CCmdTarget::OnWndMsg(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT* /*result*/) { return false; }
