// SPDX-License-Identifier: MIT
#include "CQtAboutDlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "CDialogLayout.h"
#include "Texts.h"
#include "resource.h"

CQtAboutDlg::CQtAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogLayout layout;
    layout.SetUpDialog(*this, QString::fromUtf8(TXT_ABOUT_CAPTION), 230, 125);
    layout.AddIcon(*this, IDR_MAINFRAME, 10, 15);
    layout.AddText(*this, QString::fromUtf8(TXT_ABOUT_NAME), 40, 10, 119, 8);
    layout.AddText(*this, QString::fromUtf8(TXT_ABOUT_VERSION), 40, 25, 119, 8);
    layout.AddOkButton(*this, 170, 10)->setFocus();

    layout.AddText(*this, QString::fromUtf8(TXT_ABOUT_DESKTOP_LINUX), 40, 40, 120, 8);
    layout.AddText(*this, QString::fromUtf8(TXT_ABOUT_BUILT_LINUX), 40, 55, 120, 8);
    layout.AddText(*this, QString::fromUtf8(TXT_ABOUT_COPYRIGHT), 40, 70, 120, 9);
    QFrame* pRule = layout.AddEtched(*this, 5, 85, 220, 1);
    pRule->setObjectName(QStringLiteral("rule"));
    QLabel* pParagraph =
        layout.AddText(*this, QString::fromUtf8(TXT_ABOUT_PARAGRAPH), 10, 95, 210, 25);
    pParagraph->setWordWrap(true);
}

int CQtAboutDlg::DoModal()
{
    return exec();
}
