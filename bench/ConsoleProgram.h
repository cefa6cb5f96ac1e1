#pragma once
// What the benchmarks that run on either backend share: the program's start, and a console run in
// its own modal loop as the program runs it.

#include <cstdio>
#include <functional>

#include "app/ConsoleApp.h"
#include "console/ConsoleDlg.h"
#include "framework/MessageLoop.h"
#include "net/AsyncSocket.h"
#include "res/Resources.h"
#include "tests/support/DialogDriver.h"

namespace bench {

// Starts the platform, the program's resources and the socket service, then runs `body`; its
// result, or 1 when the socket service did not start.
inline int RunProgram(int argc, char** argv, const std::function<int()>& body) {
    test::PrepareBackend();
    CPlatform platform(argc, argv);
    AfxSetResourceTable(&QuenzoResources());
    if (!StartSocketService()) {
        std::printf("FAILED: the socket service did not start\n");
        return 1;
    }
    return body();
}

// Runs a console with `script` inside its loop, under an application object of its own.
inline void RunConsole(const std::function<void(CConsoleDlg&)>& script) {
    CConsoleApp app;
    AfxDeriveAppNames(&app, "quenzo");
    CConsoleDlg dialog;
    app.m_pMainWnd = &dialog;
    test::RunDialog(dialog, [&] { script(dialog); });
    app.m_pMainWnd = nullptr;
}

}  // namespace bench
