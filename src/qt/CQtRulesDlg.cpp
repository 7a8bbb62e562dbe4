// SPDX-License-Identifier: MIT
#include "CQtRulesDlg.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include "CDialogLayout.h"
#include "Texts.h"

CQtRulesDlg::CQtRulesDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogLayout layout;
    layout.SetUpDialog(*this, QString::fromUtf8(TXT_RULES_CAPTION), 228, 133);

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

int CQtRulesDlg::DoModal()
{
    m_pText->setPlainText(QString::fromStdString(m_strText));
    m_pOk->setFocus();
    return exec();
}
