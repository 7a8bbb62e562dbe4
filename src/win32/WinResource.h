// SPDX-License-Identifier: MIT
// The numbers only the Windows program has: its dialogs' controls, the
// title string and the tray message. The game's
// resources keep their one list in resource.h.
#pragma once

#include "resource.h"

#define IDC_NAME 1000
#define IDC_HERO_NAME0 1000
#define IDC_HERO_SCORE0 1010
#define IDC_HERO_BALLS0 1020

/* The string-table entry that holds the program's title. */
#define AFX_IDS_APP_TITLE 57344

#define WM_TRAYNOTIFY 10106
