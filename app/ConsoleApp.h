#pragma once
// CConsoleApp: starts the socket service, runs the console and ends the program with it.

#include "framework/WinApp.h"

class CConsoleApp : public CWinApp {
public:
    CConsoleApp();
    ~CConsoleApp() override;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
