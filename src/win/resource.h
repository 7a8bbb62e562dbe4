// SPDX-License-Identifier: MIT
// Resource and command numbers of the Windows program, shared by orvo.rc
// and the code; plain #defines so that windres reads them too.
#pragma once

#define IDR_MAINFRAME 128
#define IDB_BALLS 130
#define IDR_WAVE_LINE 131
#define IDR_WAVE_PLACE 132
#define IDR_WAVE_STEP 133
#define IDR_WAVE_NOPATH 134
#define IDR_WAVE_HERO 137
#define IDI_HERO 148

#define IDD_ABOUTBOX 100
#define IDD_NEW_HERO 102
#define IDD_HERO_BOARD 103
#define IDD_RULES 104

#define IDC_NAME 1000
#define IDC_RULES_TEXT 1000
#define IDC_HERO_NAME0 1000
#define IDC_HERO_SCORE0 1010
#define IDC_HERO_BALLS0 1020

#define ID_GAME_NEW 32766
#define ID_GAME_SOUND 32768
#define ID_GAME_HEROES 32769
#define ID_HELP_RULES 32770
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

#define AFX_IDS_APP_TITLE 57344
#define IDS_RULES 57345

#define WM_TRAYNOTIFY 10106
