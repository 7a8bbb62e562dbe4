// SPDX-License-Identifier: MIT
#include "CQtNewHeroDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolTip>
#include <QValidator>

#include "AppIdentity.h"
#include "CAppController.h"
#include "CDialogLayout.h"
#include "CGbk.h"

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
    // shows as it is, and can be shortened; OK refuses it until it fits.
    m_pNameEdit->setText(QString::fromStdString(CGbk::GbkToUtf8(m_strName)));
    m_pNameEdit->selectAll();
    m_pNameEdit->setFocus();
    return exec();
}

QString CQtNewHeroDlg::RefusalText(CHeroRecord::NameFit fit)
{
    return QString::fromStdString(CAppController::NameRefusal(fit));
}

void CQtNewHeroDlg::accept()
{
    std::string name;
    const CHeroRecord::NameFit fit = CHeroRecord::FitName(m_pNameEdit->text().toStdString(), &name);
    if (fit != CHeroRecord::NameFit::Fits) {
        FailOnName(RefusalText(fit));
        return;
    }
    m_strName = name;
    QDialog::accept();
}

void CQtNewHeroDlg::OnInputRejected()
{
    if (!m_pValidator->LastRefusalUnrepresentable()) {
        QApplication::beep();
        return;
    }
    QToolTip::showText(m_pNameEdit->mapToGlobal(QPoint(0, m_pNameEdit->height())),
                       RefusalText(CHeroRecord::NameFit::Unstorable), m_pNameEdit);
}

void CQtNewHeroDlg::FailOnName(const QString& message)
{
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(ORVO_APP_TITLE), message,
                    QMessageBox::Ok, this);
    box.button(QMessageBox::Ok)->setText(CDialogLayout::OkText());
    box.exec();
    m_pNameEdit->setFocus();
    m_pNameEdit->selectAll();
}
