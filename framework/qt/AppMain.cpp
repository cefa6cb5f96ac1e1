#include <QCoreApplication>

#include "framework/MessageLoop.h"
#include "framework/WinApp.h"

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
