#include "framework/HandlerBoundary.h"

#include "framework/StringIds.h"
#include "framework/WinApp.h"

void AfxReportHandlerError(const CException& error, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    // A validation failure was reported already; an error while painting leaves the window
    // counted as painted and shows nothing, or the box would be painted over and raise it again.
    if (dynamic_cast<const CUserException*>(&error) != nullptr || message == WM_PAINT) {
        return;
    }
    if (dynamic_cast<const CMemoryException*>(&error) != nullptr) {
        AfxMessageBox(AFX_IDS_MEMORY_EXCEPTION, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
        return;
    }
    if (error.MessageId() != 0) {
        AfxMessageBox(error.MessageId(), MB_ICONSTOP);
        return;
    }
    const bool commandWithoutControl = message == WM_COMMAND && lParam == 0;
    AfxMessageBox(commandWithoutControl ? AFX_IDP_COMMAND_FAILURE : AFX_IDP_INTERNAL_FAILURE, MB_ICONSTOP);
}
