// SPDX-License-Identifier: MIT
/* The game's resource numbers: the one list read by the embedded-resource
   table, by every caller, and by the Windows resource script. Plain
   preprocessor definitions, so that a resource compiler can read them too. */
#ifndef ORVO_RESOURCE_H
#define ORVO_RESOURCE_H

/* Main window: icon, title, menu and accelerators share the number. */
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

#define IDC_RULES_TEXT 1000

#define ID_GAME_NEW 32766
#define ID_GAME_SOUND 32768
#define ID_GAME_HEROES 32769
#define ID_HELP_RULES 32770
/* About and Exit: command numbers in the range kept for application-wide
   commands, apart from the game's own. */
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

#define IDS_RULES 57345

#endif
