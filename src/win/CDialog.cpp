#include "CDialog.h"

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
    DoDataExchange(false);
    return TRUE;
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
