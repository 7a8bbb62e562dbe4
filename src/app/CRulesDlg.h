// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

// The game instructions, shown read-only. The caller fills m_strText
// (UTF-8, lines ending "\r\n") before DoModal, usually with RulesText().
class CRulesDlg : public QDialog {
    Q_OBJECT

public:
    explicit CRulesDlg(QWidget* pParent = nullptr);

    // The instructions text IDS_RULES: lines joined and ended with "\r\n".
    static std::string RulesText();

    int DoModal();

    std::string m_strText;

private:
    QPlainTextEdit* m_pText;
    QPushButton* m_pOk;
};
