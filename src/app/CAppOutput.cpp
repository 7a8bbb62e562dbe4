// SPDX-License-Identifier: MIT
#include "CAppOutput.h"

#include <QMessageBox>
#include <QPushButton>

#include "AppIdentity.h"
#include "CDialogLayout.h"
#include "CGame.h"
#include "CMainFrame.h"
#include "CNewHeroDlg.h"

namespace {

// A modal box with one OK button, as the game's notices look.
void ShowNotice(QMessageBox::Icon icon, const QString& caption, const QString& text,
                const char* pName, QWidget* pParent)
{
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, pParent);
    box.setObjectName(pName);
    box.setDefaultButton(box.addButton(CDialogLayout::OkText(), QMessageBox::AcceptRole));
    box.exec();
}

QString SaveFailureReason(CProfileError why)
{
    switch (why) {
    case CProfileError::NoPermission:
        return QString::fromUtf8("没有写入设置文件的权限。");
    case CProfileError::ReadOnly:
        return QString::fromUtf8("设置文件是只读的。");
    case CProfileError::DiskFull:
        return QString::fromUtf8("磁盘空间不足。");
    case CProfileError::NotAFile:
        return QString::fromUtf8("设置文件的位置上不是普通文件。");
    case CProfileError::Damaged:
        return QString::fromUtf8("设置文件过大，已损坏。");
    case CProfileError::Unstorable:
        return QString::fromUtf8("名字中有无法保存的字符。");
    default:
        return QString::fromUtf8("无法写入设置文件。");
    }
}

}  // namespace

void CAppOutput::SetFrame(CMainFrame* pFrame)
{
    m_pFrame = pFrame;
}

void CAppOutput::Pause(std::uint32_t ms)
{
    // A pause paces a step the player watches. While the window is not
    // shown (the first balls of a start fall before it is) there is
    // nothing to watch, and waiting would only delay the window.
    if (m_pFrame && m_pFrame->isVisible())
        m_pClock->Pause(ms);
}

std::uint32_t CAppOutput::GetTickCount()
{
    return m_pClock->GetTickCount();
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
    ShowNotice(QMessageBox::Information, QString::fromUtf8("提示"),
               QString::fromUtf8("游戏结束，请重新开始！"), "GameOverBox", m_pFrame);
}

bool CAppOutput::AskName(std::string& name)
{
    CNewHeroDlg dlg(m_pFrame);
    dlg.m_strName = name;
    if (dlg.DoModal() != QDialog::Accepted)
        return false;
    name = dlg.m_strName;
    return true;
}

void CAppOutput::ReportSaveFailure(CProfileError why)
{
    ShowNotice(QMessageBox::Warning, QString::fromUtf8(ORVO_APP_TITLE),
               QString::fromUtf8("英雄板无法保存，新成绩在退出后将会丢失。\n") +
                   SaveFailureReason(why),
               "SaveFailureBox", m_pFrame);
}
