// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "CInstanceGuard.h"
#include "CAppInput.h"

class CBoardReader;
class CClientWindow;
class CHeroList;
class CProfile;

// The main window as the application sees it: the client area the game
// draws on, its blink timer and the menu's check mark. Each program's main
// frame is one, and reports what the player does to the CAppInput it was
// made with.
class CAppWindow {
public:
    virtual CClientWindow& ClientWindow() = 0;
    // Device pixels per client pixel, a whole number: 2 on a screen that
    // shows each of the board's pixels as a 2 x 2 block.
    virtual int Scale() const = 0;
    virtual void Show() = 0;
    // False before the window is shown and while it is hidden (Esc).
    virtual bool IsShown() const = 0;
    // Ticks OnBlinkTimer every nIntervalMs until stopped; starting it
    // again starts the interval anew.
    virtual void StartBlinkTimer(unsigned nIntervalMs) = 0;
    virtual void StopBlinkTimer() = 0;
    virtual void SetSoundChecked(bool bOn) = 0;
    // What a screen reader may read of the client area has changed (a
    // cell, a counter, the preview, the focus, the last input's outcome):
    // reader says what it is now, and stays valid while the window lives.
    // Called once before the window is first shown.
    virtual void OnReadingChanged(const CBoardReader& reader) { static_cast<void>(reader); }

protected:
    ~CAppWindow() = default;
};

// What the application needs from the window system it runs on: the one
// main window, the modal boxes and dialogs. The Qt program, the Windows
// program and the tests each give one; everything else, the order of the
// start and what a command or the end of a game does, is CAppController's.
// Texts go both ways in UTF-8.
//
//     class CMyShell : private CAppShell {
//         CAppController m_controller{*this, m_player};  // runs every flow
//         CAppWindow* CreateMainWindow(CAppInput& input) override
//         {
//             return new CMyFrame(input);  // hidden, centred; input gets its clicks
//         }
//         bool AskName(std::string& name) override
//         {
//             CMyNameDialog dlg(name);  // preset with name, no checks of its own
//             return dlg.Run() == OK && (name = dlg.Text(), true);
//         }
//         // ... the boxes and dialogs likewise
//     };
//     if (!shell.m_controller.InitInstance()) return shell.m_controller.ExitCode();
class CAppShell {
public:
    enum class NoticeKind { Information, Warning };
    // What a start finds of a game already running here: the answer of
    // the platform's guard.
    using OtherInstance = CInstanceGuard::OtherInstance;

    // Whether another game runs here, and if so asks it to come back; with
    // None this start is now the one that later starts find. Any other
    // answer ends this start.
    virtual OtherInstance WakeOtherInstance() = 0;
    // The settings file, kept by the shell for the whole run; null when it
    // cannot be placed anywhere: the game then plays without one.
    virtual CProfile* OpenProfile() = 0;
    // The main window, created hidden with its menu and keys, centred,
    // reporting to input; null when there is none. It lives until the
    // shell reports it closed.
    virtual CAppWindow* CreateMainWindow(CAppInput& input) = 0;

    // A modal box with one OK button.
    virtual void ShowNotice(NoticeKind kind, const std::string& caption,
                            const std::string& text) = 0;
    // The modal name dialog, preset with name; true on OK with the text as
    // typed, which may still be refused: the caller tells why and asks again.
    virtual bool AskName(std::string& name) = 0;
    virtual void ShowHeroBoard(const CHeroList& heroes) = 0;
    virtual void ShowRules(const std::string& text) = 0;
    virtual void ShowAbout() = 0;

protected:
    ~CAppShell() = default;
};
