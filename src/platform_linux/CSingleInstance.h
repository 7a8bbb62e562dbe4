// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "CFd.h"
#include "CInstanceGuard.h"

// One game per user and display: the running instance listens on a Unix
// socket in a folder only this user can reach, and a second start that
// reaches it asks it to come forward and then ends.
//
// The instance needs the program's event loop only for one descriptor:
//
//     CSingleInstance instance(CSingleInstance::DefaultName(bWayland));
//     instance.SetWakeHandler([&](const std::string& token) { window.Wake(token); });
//     if (instance.Claim() == OtherInstance::None && instance.IsListening())
//         loop.WhenReadable(instance.EventFd(), [&] { instance.OnReadable(); });
class CSingleInstance final : public CInstanceGuard {
public:
    // activationToken: what a second start hands the running game to come
    // forward with.
    explicit CSingleInstance(std::string name, std::string activationToken = ActivationToken());
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Per display, so that a start on another display is a game of its own;
    // the folder it lives in is already per user. bWayland: the game shows
    // on the Wayland display rather than on X's.
    static std::string DefaultName(bool bWayland);

    // The private folder the rendezvous lives in: $XDG_RUNTIME_DIR/orvo when
    // that is private, else orvo-<uid> in the temporary folder. Created if
    // need be; empty (and the reason said on stderr) when none is safe.
    static std::string RendezvousFolder();

    // The token a launcher gave this start to bring a window forward with
    // (XDG_ACTIVATION_TOKEN), or empty.
    static std::string ActivationToken();

    // Woken when an instance of this user answered on the name and has been
    // asked to wake, with the activation token handed over when there is
    // one; NoAnswer when one of this user's took the call and the wake line
    // but said nothing back in time (stopped, hung, or busy for longer than
    // a move lasts: it still wakes if it ever reads the line). The caller
    // must then end. Otherwise (None) this one becomes the instance that
    // listens there, clearing whatever was left at the path. Decides within
    // about two seconds whatever the other side does; anything odd is said
    // on stderr and never keeps the game from starting.
    OtherInstance Claim() override;
    bool IsListening() const { return m_listener.Get() >= 0; }

    // Called with the caller's activation token (or empty) when a later
    // start asks this game to come forward.
    void SetWakeHandler(std::function<void(const std::string&)> wake) { m_wake = std::move(wake); }

    // While listening: readable whenever a caller waits to be served, says
    // something, or has said nothing for too long. The event loop then
    // calls OnReadable, which never blocks.
    int EventFd() const { return m_events.Get(); }
    void OnReadable();

    static constexpr const char* kWakeMessage = "wake\n";
    static constexpr const char* kAckMessage = "awake\n";

private:
    struct SCall {
        int nFd;
        std::chrono::steady_clock::time_point deadline;
        std::string line;
        bool bWake;  // its line was a wake line
    };
    enum class CCallState { Talking, Over };

    bool Listen(const std::string& path);
    void AcceptCalls();
    CCallState ServeCall(SCall& call, std::string& token);
    void HangUp(std::size_t nCall, bool bClose = true);
    void ArmTimer();

    std::string m_name;
    std::string m_activationToken;
    std::function<void(const std::string&)> m_wake;
    CFd m_listener;
    CFd m_events;  // epoll: the listener, the calls, and m_timer
    CFd m_timer;   // the first call's deadline
    std::vector<SCall> m_calls;
    std::string m_socketPath;
    dev_t m_socketDev = 0;
    ino_t m_socketIno = 0;
};
