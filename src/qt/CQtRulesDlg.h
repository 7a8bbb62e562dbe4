// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

// The game instructions, shown read-only. The caller fills m_strText
// (UTF-8, lines ending "\r\n") before DoModal.
class CQtRulesDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQtRulesDlg(QWidget* pParent = nullptr);

    int DoModal();

    std::string m_strText;

private:
    QPlainTextEdit* m_pText;
    QPushButton* m_pOk;
};
