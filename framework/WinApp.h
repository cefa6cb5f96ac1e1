#pragma once
// CWinApp: the application object. Exactly one exists while the program runs; it derives the
// program's names from its executable, starts the program in InitInstance, receives the commands no
// window handles (the Help command) and reports errors caught at handler boundaries.

#include <string>

#include "framework/MessageMap.h"
#include "framework/Wnd.h"

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Shows a message box with the application title as caption; a box asked for without an icon
    // gets the exclamation icon. Owned by the main window when there is one.
    virtual int DoMessageBox(const char* prompt, UINT type, UINT helpId);

    // The Help command: asks the help engine for the topic of the dialog that holds the focus.
    void OnHelp();
    // Asks the system's help engine for topic `context` of the help file, and reports that help
    // could not be started when the engine cannot start (framework/HelpEngine.h).
    virtual void WinHelp(DWORD context);

    // Names derived from the executable at start-up.
    std::string m_strExeName;       // file name without folder and extension
    std::string m_strAppName;       // the application title: caption of every message box
    std::string m_strHelpFilePath;  // full path with the extension replaced by ".HLP"
    CWnd* m_pMainWnd = nullptr;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Derives the application's names from the path of the running executable.
void AfxDeriveAppNames(CWinApp* app, const std::string& executablePath);

int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = UINT(-1));

// The process's error mode: which of the system's error boxes (a critical error, a file it cannot
// open) the process is spared. Sets it and returns the one before.
inline constexpr UINT SEM_FAILCRITICALERRORS = 0x0001;
inline constexpr UINT SEM_NOOPENFILEERRORBOX = 0x8000;
UINT SetErrorMode(UINT mode);

// The platform's beep: the program refuses what the user just asked for, without a message.
BOOL MessageBeep(UINT type);

// The program's entry point: the platform, the application's names, InitInstance, the exit status.
int AfxWinMain(int argc, char** argv);
