#include "app/ConsoleApp.h"

#include "console/ConsoleDlg.h"
#include "net/AsyncSocket.h"
#include "res/Resources.h"

CConsoleApp::CConsoleApp() { AfxSetResourceTable(&QuenzoResources()); }

CConsoleApp::~CConsoleApp() = default;

BEGIN_MESSAGE_MAP(CConsoleApp, CWinApp)
END_MESSAGE_MAP()

// The program's whole working life passes inside this call; it always ends the program.
BOOL CConsoleApp::InitInstance() {
    // The system shows no critical-error or file-not-found boxes for this process.
    ::SetErrorMode(::SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    if (!StartSocketService()) {
        AfxMessageBox(IDS_SOCKETS_INIT_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // Closing the console closes both endpoints as it is destroyed, the peer first.
    CConsoleDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
