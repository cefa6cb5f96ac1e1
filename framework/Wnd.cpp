#include "framework/Wnd.h"

#include <new>

#include "framework/HandlerBoundary.h"

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result)) {
        return result;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return 0; }

LRESULT CWnd::CallWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return WindowProc(message, wParam, lParam);
    } catch (const CException& error) {
        AfxReportHandlerError(error, message);
    } catch (const std::bad_alloc&) {
        AfxReportHandlerError(CMemoryException(), message);
    }
    return 0;
}
