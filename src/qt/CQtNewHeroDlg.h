// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "CHeroRecord.h"

class QLineEdit;

// Asks a player whose result made the top ten for a name. The caller presets
// m_strName and reads it back after OK; it holds GBK bytes both ways, and
// is left alone unless the dialog ends with OK.
class CQtNewHeroDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQtNewHeroDlg(QWidget* pParent = nullptr);

    // Shows the preset selected in the edit and runs the dialog;
    // QDialog::Accepted on OK.
    int DoModal();

    // The warning for a name that cannot be kept, by why.
    static QString RefusalText(CHeroRecord::NameFit fit);

    std::string m_strName;

public slots:
    // OK: keeps the name if it can be stored, otherwise says why and stays.
    void accept() override;

private:
    // Refuses, as it is typed, any text that GBK cannot hold or that is
    // longer than the record's name field.
    class CNameValidator;

    void OnInputRejected();
    void FailOnName(const QString& message);

    CNameValidator* m_pValidator;
    QLineEdit* m_pNameEdit;
};
