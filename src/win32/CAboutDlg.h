// SPDX-License-Identifier: MIT
#pragma once

#include "CDialog.h"
#include "WinResource.h"

// The about box: everything it shows is in its template.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND hParent = nullptr) : CDialog(IDD_ABOUTBOX, hParent) {}
};
