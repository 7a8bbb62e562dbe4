// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

// A modal dialog from a template in the resources: the data exchange loads
// the controls when the dialog opens and reads them back on OK, which ends
// the dialog only when the exchange succeeds; Cancel, Esc and the close box end it at once.
class CDialog {
public:
    explicit CDialog(int nTemplateId, HWND hParent = nullptr)
        : m_nTemplateId(nTemplateId), m_hParent(hParent)
    {
    }
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // IDOK or IDCANCEL; -1 when the dialog could not be made.
    INT_PTR DoModal();

    HWND GetSafeHwnd() const { return m_hWnd; }

    // No parent given: the application's main window owns it.
    static void SetDefaultOwner(HWND hOwner) { s_hDefaultOwner = hOwner; }

protected:
    // True lets the system put the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    // bSave false: into the controls; true: out of them. False refuses OK.
    virtual bool DoDataExchange(bool bSave);
    // Any other command from a control; true when handled.
    virtual bool OnCommand(WORD /*nId*/, WORD /*nCode*/) { return false; }

private:
    void CenterOnOwner() const;
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    int m_nTemplateId;
    HWND m_hParent;
    HWND m_hWnd = nullptr;
    static HWND s_hDefaultOwner;
};
