// SPDX-License-Identifier: MIT
#include "CRulesDlg.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include "AppIdentity.h"
#include "CDialogLayout.h"

std::string CRulesDlg::RulesText()
{
    return ORVO_APP_TITLE " " ORVO_VERSION_SHORT "\r\n"
           "\r\n"
           "玩法：\r\n"
           "    鼠标左键单击游戏窗口中的彩色小球，然后单击窗口中一空白小格，若两小格存在路径"
           "(没有其他小球拦住)，小球将移至目标空格。五个或更多同色小球连成直线(横竖斜都可)"
           "自动删除。如果移动一步没有小球删除，游戏随机在三个空闲位置产生随机颜色彩球，"
           "直到没有空闲位置。游戏根据删除小球的多少来排名次。\r\n"
           "\r\n"
           "\r\n"
           "祝你玩得开心！\r\n";
}

CRulesDlg::CRulesDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogLayout layout;
    layout.SetUpDialog(*this, QStringLiteral("游戏说明"), 228, 133);

    m_pOk = layout.AddOkButton(*this, 173, 115);

    m_pText = new QPlainTextEdit(this);
    m_pText->setObjectName(QStringLiteral("IDC_RULES_TEXT"));
    m_pText->setReadOnly(true);
    m_pText->setFocusPolicy(Qt::NoFocus);
    m_pText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pText->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    // A read-only edit shows the dialog's face, not the white of one that
    // takes typing.
    QPalette palette = m_pText->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_pText->setPalette(palette);
    layout.Place(*m_pText, 4, 4, 220, 105);
}

int CRulesDlg::DoModal()
{
    m_pText->setPlainText(QString::fromStdString(m_strText));
    m_pOk->setFocus();
    return exec();
}
