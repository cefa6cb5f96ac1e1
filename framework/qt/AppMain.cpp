#include <QCoreApplication>

#include <atomic>

#include "framework/MessageLoop.h"
#include "framework/WinApp.h"

// No system of this platform shows such boxes: the mode is kept for the program to read back.
UINT SetErrorMode(UINT mode) {
    static std::atomic<UINT> current{0};
    return current.exchange(mode);
}

int AfxWinMain(int argc, char** argv) {
    CPlatform platform(argc, argv);
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 1;
    }
    AfxDeriveAppNames(app, QCoreApplication::applicationFilePath().toStdString());
    // The program's whole life passes inside InitInstance; its result only decides whether an
    // application message loop would follow, and this program never has one.
    app->InitInstance();
    return app->ExitInstance();
}
