#include "framework/WinApp.h"

#include "framework/Dialog.h"
#include "framework/HelpEngine.h"
#include "framework/MessageBox.h"
#include "framework/PaintDC.h"
#include "framework/Resources.h"
#include "framework/StringIds.h"

namespace {
CWinApp*& TheApp() {
    static CWinApp* app = nullptr;
    return app;
}
}  // namespace

CWinApp::CWinApp() { TheApp() = this; }

CWinApp::~CWinApp() {
    if (TheApp() == this) {
        TheApp() = nullptr;
    }
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CWinApp* AfxGetApp() { return TheApp(); }

CWnd* AfxGetMainWnd() { return TheApp() != nullptr ? TheApp()->m_pMainWnd : nullptr; }

void AfxDeriveAppNames(CWinApp* app, const std::string& executablePath) {
    // Either separator ends a folder: a path may come in the system's own form or the other.
    const std::size_t slash = executablePath.find_last_of("/\\");
    const std::string fileName = slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    const std::size_t dot = fileName.find_last_of('.');
    app->m_strExeName = dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
    // The title is string 57344 when the program has one, else the executable name.
    const char* title = AfxFindString(0xE000);
    app->m_strAppName = title != nullptr ? title : app->m_strExeName;
    const std::size_t pathDot = executablePath.find_last_of('.');
    const bool hasExtension = pathDot != std::string::npos && (slash == std::string::npos || pathDot > slash + 1);
    app->m_strHelpFilePath = (hasExtension ? executablePath.substr(0, pathDot) : executablePath) + ".HLP";
}

void CWinApp::OnHelp() {
    const CDialog* dialog = CDialog::FromFocus();
    WinHelp(0x20000 + (dialog != nullptr ? dialog->TemplateId() : 0));
}

void CWinApp::WinHelp(DWORD context) {
    if (!afx::ShowHelpTopic(m_strHelpFilePath, context)) {
        AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP);
    }
}

int CWinApp::DoMessageBox(const char* prompt, UINT type, UINT helpId) {
    if ((type & MB_ICONMASK) == 0) {
        type |= MB_ICONEXCLAMATION;
    }
    return afx::ShowMessageBox({prompt, m_strAppName, type, helpId});
}

int AfxMessageBox(const char* text, UINT type, UINT helpId) {
    if (CWinApp* app = AfxGetApp()) {
        return app->DoMessageBox(text, type, helpId);
    }
    if ((type & MB_ICONMASK) == 0) {
        type |= MB_ICONEXCLAMATION;
    }
    return afx::ShowMessageBox({text, "", type, helpId});
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId) {
    CString text;
    AfxLoadString(stringId, text);
    return AfxMessageBox(text, type, helpId == UINT(-1) ? stringId : helpId);
}
