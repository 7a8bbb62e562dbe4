// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

// The about box: the game's icon, version and a few words about it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

    int DoModal();
};
