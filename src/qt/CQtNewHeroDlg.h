// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <string>

class QLineEdit;

// Asks a player whose result made the top ten for a name. The caller presets
// m_strName and reads back what was typed after OK; it holds UTF-8 both
// ways, and is left alone unless the dialog ends with OK. Whether the name
// can be kept is the caller's to decide.
class CQtNewHeroDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQtNewHeroDlg(QWidget* pParent = nullptr);

    // Shows the preset selected in the edit and runs the dialog;
    // QDialog::Accepted on OK.
    int DoModal();

    std::string m_strName;

public slots:
    // OK: takes the text as it stands.
    void accept() override;

private:
    // Refuses, as it is typed, any text that GBK cannot hold or that is
    // longer than the record's name field.
    class CNameValidator;

    void OnInputRejected();

    CNameValidator* m_pValidator;
    QLineEdit* m_pNameEdit;
};
