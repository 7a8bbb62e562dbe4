// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "CInstanceGuard.h"

class CClientWindow;
class CHeroList;
class CProfile;

// The main window as the application sees it: the client area the game
// draws on, its blink timer and the menu's check mark. Each program's main
// frame is one.
class CAppWindow {
public:
    virtual CClientWindow& ClientWindow() = 0;
    virtual void Show() = 0;
    // False before the window is shown and while it is hidden (Esc).
    virtual bool IsShown() const = 0;
    virtual void StartBlinkTimer() = 0;
    virtual void StopBlinkTimer() = 0;
    virtual void SetSoundChecked(bool bOn) = 0;

protected:
    ~CAppWindow() = default;
};

// What the application needs from the window system it runs on: the one
// main window, the modal boxes and dialogs. The Qt program, the Windows
// program and the tests each give one; everything else, the order of the
// start and what a command or the end of a game does, is CAppController's.
// Texts arrive in UTF-8, names as the GBK bytes the list keeps.
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
    // The main window, created hidden with its menu and keys, centred; null
    // when there is none. It lives until the shell reports it closed.
    virtual CAppWindow* CreateMainWindow() = 0;

    // A modal box with one OK button.
    virtual void ShowNotice(NoticeKind kind, const std::string& caption,
                            const std::string& text) = 0;
    // The modal name dialog, preset with name; true on OK with the name as
    // entered, which CAppController::NameRefusal did not refuse.
    virtual bool AskName(std::string& name) = 0;
    virtual void ShowHeroBoard(const CHeroList& heroes) = 0;
    virtual void ShowRules(const std::string& text) = 0;
    virtual void ShowAbout() = 0;

protected:
    ~CAppShell() = default;
};
