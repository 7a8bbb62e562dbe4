// SPDX-License-Identifier: MIT
#pragma once

// One game per player and screen. Each system has its own way of finding a
// game already running (a socket in a private folder on Linux, a named
// mutex and the window on Windows); the shells see only this:
//
//     CAppShell::OtherInstance CMyApp::WakeOtherInstance()
//     {
//         return m_instanceGuard.Claim();  // held until m_instanceGuard goes
//     }
class CInstanceGuard {
public:
    // What a start finds of a game already running here.
    enum class OtherInstance {
        None,      // nothing: this start is the game
        Woken,     // one that has been brought back
        NoAnswer,  // one that did not answer in time: stopped or hung
    };

    // Whether another game runs here, and if so asks it to come back and
    // decides within a few seconds. With None this start is now the game
    // the later starts find, for as long as the guard lives; any other
    // answer ends this start.
    virtual OtherInstance Claim() = 0;

protected:
    ~CInstanceGuard() = default;
};
