// SPDX-License-Identifier: MIT
#include "CQtNewHeroDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>
#include <QValidator>

#include "CDialogLayout.h"
#include "CHeroRecord.h"
#include "Texts.h"

class CQtNewHeroDlg::CNameValidator : public QValidator {
public:
    explicit CNameValidator(QObject* pParent) : QValidator(pParent) {}

    State validate(QString& input, int& /*pos*/) const override
    {
        const CHeroRecord::NameFit fit = CHeroRecord::FitName(input.toStdString());
        m_bLastUnrepresentable = fit == CHeroRecord::NameFit::Unstorable;
        return fit == CHeroRecord::NameFit::Fits ? Acceptable : Invalid;
    }

    // Why the last text was refused: a character GBK lacks, or the length.
    bool LastRefusalUnrepresentable() const { return m_bLastUnrepresentable; }

private:
    mutable bool m_bLastUnrepresentable = false;
};

CQtNewHeroDlg::CQtNewHeroDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogControls controls = CDialogLayout().Build(*this, QtUi::kNewHero);
    m_pNameEdit = controls.Get<QLineEdit>(IDC_NAME);
    m_pValidator = new CNameValidator(m_pNameEdit);
    m_pNameEdit->setValidator(m_pValidator);
    connect(m_pNameEdit, &QLineEdit::inputRejected, this, &CQtNewHeroDlg::OnInputRejected);
}

int CQtNewHeroDlg::DoModal()
{
    // Setting the text bypasses the validator, so even an over-long preset
    // shows as it is, and can be shortened.
    m_pNameEdit->setText(QString::fromStdString(m_strName));
    m_pNameEdit->selectAll();
    m_pNameEdit->setFocus();
    return exec();
}

void CQtNewHeroDlg::accept()
{
    m_strName = m_pNameEdit->text().toStdString();
    QDialog::accept();
}

void CQtNewHeroDlg::OnInputRejected()
{
    if (!m_pValidator->LastRefusalUnrepresentable()) {
        QApplication::beep();
        return;
    }
    QToolTip::showText(m_pNameEdit->mapToGlobal(QPoint(0, m_pNameEdit->height())),
                       QString::fromUtf8(TXT_NAME_UNSTORABLE), m_pNameEdit);
}
