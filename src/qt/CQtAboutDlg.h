// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// The about box: the game's icon, version and a few words about it.
class CQtAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQtAboutDlg(QWidget* pParent = nullptr);

    int DoModal();
};
