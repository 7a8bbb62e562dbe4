// SPDX-License-Identifier: MIT
#include "CDialog.h"

#include "CenterWindow.h"

HWND CDialog::s_hDefaultOwner = nullptr;

INT_PTR CDialog::DoModal()
{
    HWND hOwner = m_hParent ? m_hParent : s_hDefaultOwner;
    // A hidden owner would hide the dialog with it.
    if (hOwner && !IsWindowVisible(hOwner))
        hOwner = nullptr;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nTemplateId), hOwner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog()
{
    CenterOnOwner();
    DoDataExchange(false);
    return TRUE;
}

// Over the middle of the owner, or of the screen's work area without one.
void CDialog::CenterOnOwner() const
{
    RECT area{};
    HWND hOwner = GetWindow(m_hWnd, GW_OWNER);
    if (hOwner && IsWindowVisible(hOwner))
        GetWindowRect(hOwner, &area);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    CenterWindowIn(m_hWnd, area);
}

bool CDialog::DoDataExchange(bool)
{
    return true;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* pDlg = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        pDlg->m_hWnd = hWnd;
        return pDlg->OnInitDialog();
    }
    auto* pDlg = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (!pDlg || message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        if (pDlg->DoDataExchange(true))
            EndDialog(hWnd, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(hWnd, IDCANCEL);
        return TRUE;
    default:
        return pDlg->OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    }
}
