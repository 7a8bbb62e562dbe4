// SPDX-License-Identifier: MIT
#include "CAppOutput.h"

#include "AppIdentity.h"
#include "CGame.h"
#include "CMainFrame.h"
#include "CNewHeroDlg.h"

#include <string>

namespace {

const struct {
    CProfileError why;
    const wchar_t* text;
} kSaveFailureReasons[] = {
    {CProfileError::NoPermission, L"没有写入设置文件的权限。"},
    {CProfileError::ReadOnly, L"设置文件是只读的。"},
    {CProfileError::DiskFull, L"磁盘空间不足。"},
    {CProfileError::NotAFile, L"设置文件的位置上不是普通文件。"},
    {CProfileError::Damaged, L"设置文件过大，已损坏。"},
    {CProfileError::Unstorable, L"名字中有无法保存的字符。"},
};

const wchar_t* SaveFailureReason(CProfileError why)
{
    for (const auto& reason : kSaveFailureReasons) {
        if (reason.why == why)
            return reason.text;
    }
    return L"无法写入设置文件。";
}

}  // namespace

void CAppOutput::Pause(std::uint32_t ms)
{
    // Nobody watches a hidden window: the first game's balls fall before it
    // is shown.
    if (m_pFrame && IsWindowVisible(m_pFrame->GetSafeHwnd()))
        m_clock.Pause(ms);
}

std::uint32_t CAppOutput::GetTickCount()
{
    return ::GetTickCount();
}

void CAppOutput::StartBlinkTimer()
{
    if (m_pFrame)
        m_pFrame->StartBlinkTimer();
}

void CAppOutput::StopBlinkTimer()
{
    if (m_pFrame)
        m_pFrame->StopBlinkTimer();
}

void CAppOutput::ShowGameOver()
{
    MessageBoxW(m_pFrame ? m_pFrame->GetSafeHwnd() : nullptr, L"游戏结束，请重新开始！", L"提示",
                MB_OK | MB_ICONINFORMATION);
}

bool CAppOutput::AskName(std::string& name)
{
    CNewHeroDlg dlg;
    dlg.m_strName = name;
    if (dlg.DoModal() != IDOK)
        return false;
    name = dlg.m_strName;
    return true;
}

void CAppOutput::ReportSaveFailure(CProfileError why)
{
    const std::wstring text = std::wstring(L"英雄板无法保存，新成绩在退出后将会丢失。\n") +
                              SaveFailureReason(why);
    MessageBoxW(m_pFrame ? m_pFrame->GetSafeHwnd() : nullptr, text.c_str(), L"" ORVO_APP_TITLE,
                MB_OK | MB_ICONWARNING);
}
