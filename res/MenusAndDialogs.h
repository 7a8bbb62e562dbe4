/* SPDX-License-Identifier: MIT */
/* The game's menu, its keys and its dialogs, written once. The Windows
   resource script and the Qt shell both read this file: each defines the
   ORVO_ macros below its own way and then expands the lists, the resource
   script into MENU, ACCELERATORS and DIALOG statements, the Qt shell into
   constant tables it builds its menu and dialogs from.

   Plain preprocessor definitions, so that a resource compiler reads them
   too. Texts are the TXT_ names of Texts.h; a text that differs between the
   systems is ORVO_SYSTEM_TEXT(NAME), which each reader maps to its own
   TXT_NAME_WINDOWS or TXT_NAME_LINUX.

   The menu
     ORVO_POPUP(text, entries)           a drop-down menu on the menu bar
     ORVO_ITEM(text, id)                 a command
     ORVO_ITEM_KEY(text, id, key)        a command showing its key (F2, ...)
                                         right of its text
     ORVO_SEPARATOR                      a line between groups
   The keys
     ORVO_ACCEL(key, id)                 a key that gives the command, with
                                         the menus shut
   A dialog, id and size in dialog units, its controls in tab order; where
   controls overlap, the earlier one lies on top.
     ORVO_DIALOG(id, cx, cy, caption, controls)
     ORVO_TEXT(align, text, id, x, y, cx, cy, style)
                                         static text; align is LTEXT, CTEXT
                                         or RTEXT
     ORVO_ICON(icon, x, y, cx, cy)       an icon at its own size
     ORVO_BUTTON(kind, text, id, x, y, cx, cy, style)
                                         DEFPUSHBUTTON or PUSHBUTTON
     ORVO_EDIT(id, x, y, cx, cy, style)  a one-line text field
     ORVO_TEXT_BOX(id, x, y, cx, cy)     read-only text of many lines, never
                                         focused
     ORVO_RULE(style, x, y, cx, cy)      an etched line
     ORVO_FRAME(x, y, cx, cy)            an etched frame
   A style is empty or ORVO_STYLE(window styles): only the resource script
   reads it, and without one a control keeps its kind's default styles. */
#ifndef ORVO_MENUS_AND_DIALOGS_H
#define ORVO_MENUS_AND_DIALOGS_H

#include "resource.h"

#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#endif
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* The name dialog's field and the hero board's cells, a row apart by one. */
#define IDC_NAME 1000
#define IDC_HERO_NAME0 1000
#define IDC_HERO_SCORE0 1010
#define IDC_HERO_BALLS0 1020

#define ORVO_MAIN_MENU \
    ORVO_POPUP(TXT_MENU_GAME, \
        ORVO_ITEM_KEY(TXT_MENU_GAME_NEW, ID_GAME_NEW, F2) \
        ORVO_SEPARATOR \
        ORVO_ITEM_KEY(TXT_MENU_GAME_HEROES, ID_GAME_HEROES, F3) \
        ORVO_ITEM_KEY(TXT_MENU_GAME_SOUND, ID_GAME_SOUND, F4) \
        ORVO_SEPARATOR \
        ORVO_ITEM(TXT_MENU_APP_EXIT, ID_APP_EXIT)) \
    ORVO_POPUP(TXT_MENU_HELP, \
        ORVO_ITEM(TXT_MENU_HELP_RULES, ID_HELP_RULES) \
        ORVO_SEPARATOR \
        ORVO_ITEM(TXT_MENU_APP_ABOUT, ID_APP_ABOUT))

/* F1 shows no key in the menu, yet opens the instructions. */
#define ORVO_MAIN_KEYS \
    ORVO_ACCEL(F1, ID_HELP_RULES) \
    ORVO_ACCEL(F2, ID_GAME_NEW) \
    ORVO_ACCEL(F3, ID_GAME_HEROES) \
    ORVO_ACCEL(F4, ID_GAME_SOUND)

#define ORVO_ABOUT_BOX \
    ORVO_DIALOG(IDD_ABOUTBOX, 230, 125, TXT_ABOUT_CAPTION, \
        ORVO_ICON(IDR_MAINFRAME, 10, 15, 20, 20) \
        ORVO_TEXT(LTEXT, TXT_ABOUT_NAME, IDC_STATIC, 40, 10, 119, 8, ORVO_STYLE(SS_NOPREFIX)) \
        ORVO_TEXT(LTEXT, TXT_ABOUT_VERSION, IDC_STATIC, 40, 25, 119, 8, ) \
        ORVO_BUTTON(DEFPUSHBUTTON, TXT_BUTTON_OK, IDOK, 170, 10, 50, 14, ORVO_STYLE(WS_GROUP)) \
        ORVO_TEXT(LTEXT, ORVO_SYSTEM_TEXT(ABOUT_DESKTOP), IDC_STATIC, 40, 40, 120, 8, ) \
        ORVO_TEXT(LTEXT, ORVO_SYSTEM_TEXT(ABOUT_BUILT), IDC_STATIC, 40, 55, 120, 8, ) \
        ORVO_TEXT(LTEXT, TXT_ABOUT_COPYRIGHT, IDC_STATIC, 40, 70, 120, 9, ) \
        ORVO_RULE(SS_ETCHEDHORZ | SS_SUNKEN, 5, 85, 220, 1) \
        ORVO_TEXT(LTEXT, TXT_ABOUT_PARAGRAPH, IDC_STATIC, 10, 95, 210, 25, ))

#define ORVO_NEW_HERO \
    ORVO_DIALOG(IDD_NEW_HERO, 187, 91, TXT_NEW_HERO_CAPTION, \
        ORVO_ICON(IDI_HERO, 11, 10, 20, 20) \
        ORVO_TEXT(LTEXT, TXT_NEW_HERO_LINE1, IDC_STATIC, 45, 10, 125, 8, ) \
        ORVO_TEXT(LTEXT, TXT_NEW_HERO_LINE2, IDC_STATIC, 45, 25, 85, 8, ) \
        ORVO_EDIT(IDC_NAME, 45, 40, 116, 14, ORVO_STYLE(ES_AUTOHSCROLL)) \
        ORVO_BUTTON(DEFPUSHBUTTON, TXT_BUTTON_OK, IDOK, 45, 65, 50, 14, ) \
        ORVO_BUTTON(PUSHBUTTON, TXT_BUTTON_CANCEL, IDCANCEL, 110, 65, 50, 14, ))

/* One place of the top ten: rank and name, then score and balls one unit
   higher. */
#define ORVO_HERO_BOARD_ROW(rank, y) \
    ORVO_TEXT(CTEXT, #rank, IDC_STATIC, 10, y, 20, 8, ) \
    ORVO_TEXT(LTEXT, TXT_HERO_BOARD_NO_NAME, IDC_HERO_NAME0 + rank - 1, 45, y, 85, 8, ) \
    ORVO_TEXT(RTEXT, TXT_HERO_BOARD_NO_NUMBER, IDC_HERO_SCORE0 + rank - 1, 145, y - 1, 25, 8, ) \
    ORVO_TEXT(RTEXT, TXT_HERO_BOARD_NO_NUMBER, IDC_HERO_BALLS0 + rank - 1, 190, y - 1, 25, 8, )

#define ORVO_HERO_BOARD \
    ORVO_DIALOG(IDD_HERO_BOARD, 225, 125, TXT_HERO_BOARD_CAPTION, \
        ORVO_TEXT(CTEXT, TXT_HERO_BOARD_RANK, IDC_STATIC, 10, 5, 20, 8, ) \
        ORVO_TEXT(LTEXT, TXT_HERO_BOARD_NAME, IDC_STATIC, 45, 5, 85, 8, ) \
        ORVO_TEXT(RTEXT, TXT_HERO_BOARD_SCORE, IDC_STATIC, 145, 5, 25, 8, ) \
        ORVO_TEXT(RTEXT, TXT_HERO_BOARD_BALLS, IDC_STATIC, 195, 5, 20, 8, ) \
        ORVO_RULE(SS_ETCHEDHORZ, 5, 15, 215, 1) \
        ORVO_HERO_BOARD_ROW(1, 21) \
        ORVO_HERO_BOARD_ROW(2, 31) \
        ORVO_HERO_BOARD_ROW(3, 41) \
        ORVO_HERO_BOARD_ROW(4, 51) \
        ORVO_HERO_BOARD_ROW(5, 61) \
        ORVO_HERO_BOARD_ROW(6, 71) \
        ORVO_HERO_BOARD_ROW(7, 81) \
        ORVO_HERO_BOARD_ROW(8, 91) \
        ORVO_HERO_BOARD_ROW(9, 101) \
        ORVO_HERO_BOARD_ROW(10, 111) \
        ORVO_FRAME(0, 0, 225, 125))

#define ORVO_RULES \
    ORVO_DIALOG(IDD_RULES, 228, 133, TXT_RULES_CAPTION, \
        ORVO_BUTTON(DEFPUSHBUTTON, TXT_BUTTON_OK, IDOK, 173, 115, 50, 14, ) \
        ORVO_TEXT_BOX(IDC_RULES_TEXT, 4, 4, 220, 105))

#endif
