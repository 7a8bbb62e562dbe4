// SPDX-License-Identifier: MIT
#pragma once

// MenusAndDialogs.h as constant tables: the menu bar, the keys and the four
// dialogs the Qt shell builds. Everything here is fixed when the program is
// compiled; nothing is read or parsed at start-up.

#include <Qt>
#include <array>
#include <cstddef>

#include "MenusAndDialogs.h"
#include "Texts.h"

namespace QtUi {

enum class MenuEntryKind { Popup, EndPopup, Item, Separator };

struct MenuEntry {
    MenuEntryKind kind;
    const char* pText;  // UTF-8
    unsigned nId;
    // The command's name (ID_GAME_NEW), the action's object name.
    const char* pName;
    // The key shown right of the text, 0 for none.
    int nKey;
};

struct Accelerator {
    int nKey;
    unsigned nId;
};

enum class ControlKind { Text, Icon, Button, DefaultButton, Edit, TextBox, Rule, Frame };

// Position and size in dialog units.
struct Control {
    ControlKind kind;
    const char* pText;  // UTF-8, null for an icon, a field or a line
    int nId;
    // The id's name (IDOK) for buttons and fields, null for the rest.
    const char* pName;
    int x;
    int y;
    int cx;
    int cy;
    Qt::AlignmentFlag align;  // of a text
    int nIcon;                // of an icon
};

template <std::size_t N>
struct Dialog {
    int nId;
    int cx;
    int cy;
    const char* pCaption;
    std::array<Control, N> controls;
};

template <std::size_t N>
constexpr Dialog<N> MakeDialog(int nId, int cx, int cy, const char* pCaption,
                               const std::array<Control, N>& controls)
{
    return Dialog<N>{nId, cx, cy, pCaption, controls};
}

#define ORVO_SYSTEM_TEXT(name) TXT_##name##_LINUX
#define ORVO_STYLE(flags)
#define ORVO_QT_ALIGN_LTEXT Qt::AlignLeft
#define ORVO_QT_ALIGN_CTEXT Qt::AlignHCenter
#define ORVO_QT_ALIGN_RTEXT Qt::AlignRight
#define ORVO_QT_BUTTON_PUSHBUTTON ControlKind::Button
#define ORVO_QT_BUTTON_DEFPUSHBUTTON ControlKind::DefaultButton

#define ORVO_POPUP(text, entries) \
    MenuEntry{MenuEntryKind::Popup, text, 0, nullptr, 0}, entries \
    MenuEntry{MenuEntryKind::EndPopup, nullptr, 0, nullptr, 0},
#define ORVO_ITEM(text, id) MenuEntry{MenuEntryKind::Item, text, id, #id, 0},
#define ORVO_ITEM_KEY(text, id, key) MenuEntry{MenuEntryKind::Item, text, id, #id, Qt::Key_##key},
#define ORVO_SEPARATOR MenuEntry{MenuEntryKind::Separator, nullptr, 0, nullptr, 0},
#define ORVO_ACCEL(key, id) Accelerator{Qt::Key_##key, id},

#define ORVO_DIALOG(id, cx, cy, caption, controls) \
    MakeDialog(id, cx, cy, caption, std::array{controls})
#define ORVO_TEXT(align, text, id, x, y, cx, cy, style) \
    Control{ControlKind::Text, text, id, nullptr, x, y, cx, cy, ORVO_QT_ALIGN_##align, 0},
#define ORVO_ICON(icon, x, y, cx, cy) \
    Control{ControlKind::Icon, nullptr, IDC_STATIC, nullptr, x, y, cx, cy, Qt::AlignLeft, icon},
#define ORVO_BUTTON(kind, text, id, x, y, cx, cy, style) \
    Control{ORVO_QT_BUTTON_##kind, text, id, #id, x, y, cx, cy, Qt::AlignHCenter, 0},
#define ORVO_EDIT(id, x, y, cx, cy, style) \
    Control{ControlKind::Edit, nullptr, id, #id, x, y, cx, cy, Qt::AlignLeft, 0},
#define ORVO_TEXT_BOX(id, x, y, cx, cy) \
    Control{ControlKind::TextBox, nullptr, id, #id, x, y, cx, cy, Qt::AlignLeft, 0},
#define ORVO_RULE(style, x, y, cx, cy) \
    Control{ControlKind::Rule, nullptr, IDC_STATIC, nullptr, x, y, cx, cy, Qt::AlignLeft, 0},
#define ORVO_FRAME(x, y, cx, cy) \
    Control{ControlKind::Frame, nullptr, IDC_STATIC, nullptr, x, y, cx, cy, Qt::AlignLeft, 0},

inline constexpr MenuEntry kMainMenu[] = {ORVO_MAIN_MENU};
inline constexpr Accelerator kMainKeys[] = {ORVO_MAIN_KEYS};

inline constexpr auto kAboutBox = ORVO_ABOUT_BOX;
inline constexpr auto kNewHero = ORVO_NEW_HERO;
inline constexpr auto kHeroBoard = ORVO_HERO_BOARD;
inline constexpr auto kRules = ORVO_RULES;

// Whether an item of the menu shows the key and gives the same command.
constexpr bool MenuShowsKey(const Accelerator& key)
{
    for (const MenuEntry& entry : kMainMenu) {
        if (entry.kind == MenuEntryKind::Item && entry.nKey == key.nKey)
            return entry.nId == key.nId;
    }
    return false;
}

// A key the menu shows is a key that works: in the Windows program only
// the accelerators do.
constexpr bool EveryShownKeyWorks()
{
    for (const MenuEntry& entry : kMainMenu) {
        if (entry.kind != MenuEntryKind::Item || entry.nKey == 0)
            continue;
        bool bFound = false;
        for (const Accelerator& key : kMainKeys)
            bFound = bFound || (key.nKey == entry.nKey && key.nId == entry.nId);
        if (!bFound)
            return false;
    }
    return true;
}
static_assert(EveryShownKeyWorks(), "a menu item shows a key that no accelerator gives");

#undef ORVO_SYSTEM_TEXT
#undef ORVO_STYLE
#undef ORVO_QT_ALIGN_LTEXT
#undef ORVO_QT_ALIGN_CTEXT
#undef ORVO_QT_ALIGN_RTEXT
#undef ORVO_QT_BUTTON_PUSHBUTTON
#undef ORVO_QT_BUTTON_DEFPUSHBUTTON
#undef ORVO_POPUP
#undef ORVO_ITEM
#undef ORVO_ITEM_KEY
#undef ORVO_SEPARATOR
#undef ORVO_ACCEL
#undef ORVO_DIALOG
#undef ORVO_TEXT
#undef ORVO_ICON
#undef ORVO_BUTTON
#undef ORVO_EDIT
#undef ORVO_TEXT_BOX
#undef ORVO_RULE
#undef ORVO_FRAME

}  // namespace QtUi
