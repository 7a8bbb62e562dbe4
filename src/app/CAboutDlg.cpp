// SPDX-License-Identifier: MIT
#include "CAboutDlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "AppIdentity.h"
#include "CDialogLayout.h"
#include "resource.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogLayout layout;
    layout.SetUpDialog(*this, QString::fromUtf8("关于" ORVO_APP_TITLE), 230, 125);
    layout.AddIcon(*this, IDR_MAINFRAME, 10, 15);
    layout.AddText(*this, QString::fromUtf8(ORVO_APP_TITLE " " ORVO_VERSION_SHORT " 版"), 40, 10,
                   119, 8);
    layout.AddText(*this, QString::fromUtf8("版本号 " ORVO_VERSION), 40, 25, 119, 8);
    layout.AddOkButton(*this, 170, 10)->setFocus();

    layout.AddText(*this, QStringLiteral("一个在 Linux 桌面上的益智游戏"), 40, 40, 120, 8);
    layout.AddText(*this, QStringLiteral("用 C++17 和 Qt 6 写成"), 40, 55, 120, 8);
    layout.AddText(*this, QString::fromUtf8("版权所有 (C) " ORVO_APP_TITLE " 开发者"), 40, 70, 120, 9);
    QFrame* pRule = layout.AddEtched(*this, 5, 85, 220, 1);
    pRule->setObjectName(QStringLiteral("rule"));
    QLabel* pParagraph = layout.AddText(
        *this,
        QStringLiteral("单击小球再单击空格，把它移过去；五个或更多同色小球连成直线就会消去。"
                       "消去的球越多，名次越靠前。按 F1 查看游戏说明，按 Esc 可把游戏藏到通知区域。"),
        10, 95, 210, 25);
    pParagraph->setWordWrap(true);
}

int CAboutDlg::DoModal()
{
    return exec();
}
