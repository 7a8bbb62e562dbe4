// SPDX-License-Identifier: MIT
#include "CQtAboutDlg.h"

#include "CDialogLayout.h"

CQtAboutDlg::CQtAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    const CDialogControls controls = CDialogLayout().Build(*this, QtUi::kAboutBox);
    controls.Find(IDOK)->setFocus();
}

int CQtAboutDlg::DoModal()
{
    return exec();
}
