// SPDX-License-Identifier: MIT
#include "CGameApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CGameApp app(hInstance);
    if (!app.InitInstance())
        return app.ExitInstance();
    app.Run();
    return app.ExitInstance();
}
