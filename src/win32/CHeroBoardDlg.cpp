// SPDX-License-Identifier: MIT
#include "CHeroBoardDlg.h"

#include <string>

#include "CHeroList.h"
#include "CWideText.h"

BOOL CHeroBoardDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND hWnd = GetSafeHwnd();
    int r = 0;
    for (const auto& record : m_heroes.Records()) {
        SetDlgItemTextW(hWnd, IDC_HERO_NAME0 + r, CWideText::FromGbk(record->GetName()).c_str());
        SetDlgItemTextW(hWnd, IDC_HERO_SCORE0 + r, std::to_wstring(record->GetScore()).c_str());
        SetDlgItemTextW(hWnd, IDC_HERO_BALLS0 + r, std::to_wstring(record->GetBalls()).c_str());
        ++r;
    }
    return TRUE;
}
