// SPDX-License-Identifier: MIT
// The numbers only the Windows program has: the title string and the tray
// message. The game's resources keep their one list in resource.h, the
// dialogs' controls theirs in MenusAndDialogs.h.
#pragma once

#include "MenusAndDialogs.h"
#include "resource.h"

/* The string-table entry that holds the program's title. */
#define AFX_IDS_APP_TITLE 57344

#define WM_TRAYNOTIFY 10106
