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
#include "resource.h"

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
    const CDialogLayout layout;
    layout.SetUpDialog(*this, QString::fromUtf8(TXT_NEW_HERO_CAPTION), 187, 91);
    layout.AddIcon(*this, IDI_HERO, 11, 10);
    layout.AddText(*this, QString::fromUtf8(TXT_NEW_HERO_LINE1), 45, 10, 125, 8);
    layout.AddText(*this, QString::fromUtf8(TXT_NEW_HERO_LINE2), 45, 25, 85, 8);

    m_pNameEdit = new QLineEdit(this);
    m_pNameEdit->setObjectName(QStringLiteral("IDC_NAME"));
    layout.Place(*m_pNameEdit, 45, 40, 116, 14);
    m_pValidator = new CNameValidator(m_pNameEdit);
    m_pNameEdit->setValidator(m_pValidator);
    connect(m_pNameEdit, &QLineEdit::inputRejected, this, &CQtNewHeroDlg::OnInputRejected);

    layout.AddOkButton(*this, 45, 65);

    QPushButton* pCancel = layout.AddButton(*this, QString::fromUtf8(TXT_BUTTON_CANCEL), 110, 65, 50, 14);
    pCancel->setObjectName(QStringLiteral("IDCANCEL"));
    connect(pCancel, &QPushButton::clicked, this, &CQtNewHeroDlg::reject);
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
