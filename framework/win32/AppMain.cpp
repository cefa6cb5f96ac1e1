#include "framework/MessageLoop.h"
#include "framework/WinApp.h"
#include "framework/win32/User32.h"

UINT SetErrorMode(UINT mode) { return w32::SetErrorMode(mode); }

int AfxWinMain(int argc, char** argv) {
    CPlatform platform(argc, argv);
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 1;
    }
    AfxDeriveAppNames(app, w32::ModulePath());
    // The program's whole life passes inside InitInstance; its result only decides whether an
    // application message loop would follow, and this program never has one.
    app->InitInstance();
    return app->ExitInstance();
}
