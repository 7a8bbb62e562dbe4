#include <QApplication>

#include "CGameApp.h"

int main(int argc, char* argv[])
{
    CGameApp::SetUpBeforeApplication();
    QApplication application(argc, argv);
    CGameApp::SetUpApplication();

    CGameApp app;
    if (!app.InitInstance())
        return 0;
    return application.exec();
}
