// SPDX-License-Identifier: MIT
#include "CQtRulesDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include "CDialogLayout.h"

CQtRulesDlg::CQtRulesDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogControls controls = CDialogLayout().Build(*this, QtUi::kRules);
    m_pOk = controls.Get<QPushButton>(IDOK);
    m_pText = controls.Get<QPlainTextEdit>(IDC_RULES_TEXT);
}

int CQtRulesDlg::DoModal()
{
    m_pText->setPlainText(QString::fromStdString(m_strText));
    m_pOk->setFocus();
    return exec();
}
