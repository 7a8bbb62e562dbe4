// SPDX-License-Identifier: MIT
#include "CAppController.h"

#include <cstdio>

#include "AppIdentity.h"
#include "CClientWindow.h"
#include "CGame.h"
#include "CGbk.h"
#include "Texts.h"
#include "resource.h"

CAppController::CAppController(CAppShell& shell, CSoundPlayer& player)
    : m_shell(shell), m_session(*this, *this, &player)
{
}

CAppController::~CAppController() = default;

bool CAppController::InitInstance()
{
    switch (m_shell.WakeOtherInstance()) {
    case CAppShell::OtherInstance::None:
        break;
    case CAppShell::OtherInstance::Woken:
        return false;
    case CAppShell::OtherInstance::NoAnswer:
        TellOtherDoesNotAnswer();
        return false;
    }
    CProfile* pProfile = m_shell.OpenProfile();
    m_session.LoadSettings(pProfile ? *pProfile : m_noProfile);

    m_pWindow = m_shell.CreateMainWindow(*this);
    if (!m_pWindow)
        return false;
    m_pWindow->SetSoundChecked(Game().IsSoundOn());
    m_session.View().Attach(&m_pWindow->ClientWindow());
    // The first three balls fall while the window is still hidden.
    Game().NewGame();
    m_reader.Clear();
    m_pWindow->OnReadingChanged(m_reader);
    m_pWindow->Show();
    return true;
}

void CAppController::TellOtherDoesNotAnswer()
{
    m_nExitCode = kExitNoAnswer;
    // First the line, so that a script or a terminal has it while the box waits.
    std::fputs("orvo: another game is running here but does not answer; "
               "close it and try again\n",
               stderr);
    std::fflush(stderr);
    m_shell.ShowNotice(CAppShell::NoticeKind::Warning, ORVO_APP_TITLE, TXT_OTHER_NO_ANSWER);
}

void CAppController::OnMainWindowClosed()
{
    m_session.View().Attach(nullptr);
    m_pWindow = nullptr;
}

void CAppController::OnPaint(CDC& dc)
{
    m_session.View().Paint(dc, Game());
}

bool CAppController::ToClientPixels(int nScale, int& x, int& y)
{
    // A press made in the client area and released elsewhere belongs to
    // whatever lies under the pointer, not to the board.
    if (nScale < 1 || x < 0 || y < 0 || x >= CClientWindow::kWidth * nScale ||
        y >= CClientWindow::kHeight * nScale)
        return false;
    x /= nScale;
    y /= nScale;
    return true;
}

bool CAppController::ClientPoint(int& x, int& y) const
{
    return ToClientPixels(m_pWindow ? m_pWindow->Scale() : 1, x, y);
}

void CAppController::OnClick(int x, int y)
{
    if (!ClientPoint(x, y))
        return;
    m_session.OnMouse();
    int row = 0;
    int col = 0;
    CBoardGeometry::CellAt(x, y, row, col);
    m_reader.Begin(row, col);
    Game().OnClick(x, y);
    Tell();
}

void CAppController::OnRightClick(int x, int y)
{
    if (!ClientPoint(x, y))
        return;
    m_session.OnMouse();
    m_reader.Begin();
    Game().OnRightClick();
    Tell();
}

void CAppController::OnKey(CKey key)
{
    // Space and Enter act on the focus cell once the focus shows.
    const bool bActs = key == CKey::Space || key == CKey::Enter;
    m_reader.Begin(bActs ? m_reader.FocusRow() : 0, bActs ? m_reader.FocusCol() : 0);
    m_session.OnKey(key);
    Tell();
}

void CAppController::Tell()
{
    m_reader.End();
    if (m_pWindow)
        m_pWindow->OnReadingChanged(m_reader);
}

void CAppController::OnBlinkTimer()
{
    Game().OnBlinkTimer();
}

bool CAppController::OnCommand(unsigned nId)
{
    switch (nId) {
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    case ID_HELP_RULES:
        OnHelpRules();
        return true;
    case ID_GAME_NEW:
        OnGameNew();
        return true;
    case ID_GAME_SOUND:
        OnGameSound();
        return true;
    case ID_GAME_HEROES:
        OnGameHeroes();
        return true;
    default:
        return false;
    }
}

void CAppController::OnAppAbout()
{
    m_shell.ShowAbout();
}

void CAppController::OnHelpRules()
{
    m_shell.ShowRules(TXT_RULES);
}

void CAppController::OnGameNew()
{
    Game().NewGame();
    m_reader.Clear();
    if (m_pWindow)
        m_pWindow->OnReadingChanged(m_reader);
}

void CAppController::OnGameSound()
{
    CProfileError why = CProfileError::None;
    const bool bOn = m_session.SwitchSound(why);
    if (why != CProfileError::None)
        TellSaveFailure(TXT_SOUND_SAVE_FAILED, why);
    if (m_pWindow)
        m_pWindow->SetSoundChecked(bOn);
}

void CAppController::OnGameHeroes()
{
    // The board shows what the file holds now, other games' entries too.
    Heroes().Load();
    if (m_session.Profile() && m_session.Profile()->IsOversized())
        TellOversizedOnce();
    m_shell.ShowHeroBoard(Heroes());
}

void CAppController::TellOversizedOnce()
{
    if (!m_toldFailures.emplace(TXT_SETTINGS_TOO_BIG, CProfileError::Damaged).second)
        return;
    m_shell.ShowNotice(CAppShell::NoticeKind::Warning, ORVO_APP_TITLE, TXT_SETTINGS_TOO_BIG);
}

std::string CAppController::NameRefusal(CHeroRecord::NameFit fit)
{
    switch (fit) {
    case CHeroRecord::NameFit::TooLong: {
        std::string text = TXT_NAME_TOO_LONG;
        const std::size_t at = text.find("%1");
        if (at != std::string::npos)
            text.replace(at, 2, std::to_string(CHeroRecord::kNameBytes));
        return text;
    }
    case CHeroRecord::NameFit::Unstorable:
        return TXT_NAME_UNSTORABLE;
    case CHeroRecord::NameFit::Fits:
        break;
    }
    return std::string();
}

std::string CAppController::SaveFailureReason(CProfileError why)
{
    switch (why) {
    case CProfileError::NoPermission:
        return TXT_SAVE_NO_PERMISSION;
    case CProfileError::ReadOnly:
        return TXT_SAVE_READ_ONLY;
    case CProfileError::DiskFull:
        return TXT_SAVE_DISK_FULL;
    case CProfileError::NotAFile:
        return TXT_SAVE_NOT_A_FILE;
    case CProfileError::Damaged:
        return TXT_SETTINGS_TOO_BIG;
    case CProfileError::Unstorable:
        return TXT_NAME_UNSTORABLE;
    case CProfileError::TooBig:
        return TXT_SAVE_TOO_BIG;
    case CProfileError::Busy:
        return TXT_SAVE_BUSY;
    case CProfileError::Unreadable:
        return TXT_SAVE_UNREADABLE;
    case CProfileError::NoPlace:
        return TXT_SAVE_NO_PLACE;
    case CProfileError::None:
    case CProfileError::Other:
        break;
    }
    return TXT_SAVE_OTHER;
}

void CAppController::DrawCell(int row, int col, std::uint8_t value)
{
    m_session.Drawing().DrawCell(row, col, value);
}

void CAppController::Push(std::uint8_t colour)
{
    m_session.Drawing().Push(colour);
}

void CAppController::SetBallsValue(int value)
{
    m_session.Drawing().SetBallsValue(value);
}

void CAppController::SetScoreValue(int value)
{
    m_session.Drawing().SetScoreValue(value);
}

void CAppController::Paint()
{
    m_session.Drawing().Paint();
}

void CAppController::PlayEffect(std::uint16_t id)
{
    m_session.PlayEffect(id);
}

bool CAppController::TryEnter(int balls, int score)
{
    // The game is over: told now, before the fanfare and the boxes, and
    // not again once the input that ended it returns.
    Tell();
    return m_session.TryEnter(balls, score);
}

void CAppController::Pause(std::uint32_t ms)
{
    // A pause paces a step the player watches. While the window is not
    // shown (the first balls of a start fall before it is) there is
    // nothing to watch, and waiting would only delay the window.
    if (m_pWindow && m_pWindow->IsShown())
        m_pClock->Pause(ms);
}

std::uint32_t CAppController::GetTickCount()
{
    return m_pClock->GetTickCount();
}

void CAppController::StartBlinkTimer()
{
    if (m_pWindow)
        m_pWindow->StartBlinkTimer(BLINK_INTERVAL_MS);
}

void CAppController::StopBlinkTimer()
{
    if (m_pWindow)
        m_pWindow->StopBlinkTimer();
}

void CAppController::ShowGameOver()
{
    m_shell.ShowNotice(CAppShell::NoticeKind::Information, TXT_NOTICE_CAPTION, TXT_GAME_OVER);
}

bool CAppController::AskName(std::string& name)
{
    // The dialog shows and returns UTF-8; the list keeps GBK.
    std::string typed = CGbk::GbkToUtf8(name);
    for (;;) {
        if (!m_shell.AskName(typed))
            return false;
        std::string gbk;
        const CHeroRecord::NameFit fit = CHeroRecord::FitName(typed, &gbk);
        if (fit == CHeroRecord::NameFit::Fits) {
            name = gbk;
            return true;
        }
        // Asked again with what was typed, to be mended rather than retyped.
        m_shell.ShowNotice(CAppShell::NoticeKind::Warning, ORVO_APP_TITLE, NameRefusal(fit));
    }
}

void CAppController::ReportSaveFailure(CProfileError why)
{
    TellSaveFailure(TXT_SAVE_FAILED, why);
}

void CAppController::TellSaveFailure(const char* pWhat, CProfileError why)
{
    if (why == CProfileError::Damaged) {
        TellOversizedOnce();
        return;
    }
    if (!m_toldFailures.emplace(pWhat, why).second)
        return;
    m_shell.ShowNotice(CAppShell::NoticeKind::Warning, ORVO_APP_TITLE,
                       std::string(pWhat) + "\n" + SaveFailureReason(why));
}
