// SPDX-License-Identifier: MIT
#include "CNewHeroDlg.h"

#include <algorithm>

#include "CHeroRecord.h"
#include "CWideText.h"

namespace {

bool FitsLimit(const std::wstring& text)
{
    return CHeroRecord::FitName(CWideText::ToUtf8(text)) == CHeroRecord::NameFit::Fits;
}

}  // namespace

std::wstring CNewHeroDlg::EditText() const
{
    HWND hEdit = GetDlgItem(GetSafeHwnd(), IDC_NAME);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hEdit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hEdit, text.data(),
                                                        static_cast<int>(text.size()))));
    return text;
}

bool CNewHeroDlg::DoDataExchange(bool bSave)
{
    HWND hEdit = GetDlgItem(GetSafeHwnd(), IDC_NAME);
    if (!bSave) {
        m_strAccepted = CWideText::FromUtf8(m_strName).value_or(std::wstring());
        SetWindowTextW(hEdit, m_strAccepted.c_str());
        SendMessageW(hEdit, EM_LIMITTEXT, CHeroRecord::kNameBytes, 0);
        return true;
    }
    m_strName = CWideText::ToUtf8(EditText());
    return true;
}

bool CNewHeroDlg::OnCommand(WORD nId, WORD nCode)
{
    if (nId != IDC_NAME || nCode != EN_CHANGE)
        return false;
    OnNameChanged();
    return true;
}

void CNewHeroDlg::OnNameChanged()
{
    const std::wstring text = EditText();
    if (FitsLimit(text)) {
        m_strAccepted = text;
        return;
    }
    HWND hEdit = GetDlgItem(GetSafeHwnd(), IDC_NAME);
    DWORD nStart = 0;
    SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart), 0);
    // The caret stays where the refused text began.
    const std::size_t nGrown = text.size() - std::min(text.size(), m_strAccepted.size());
    const DWORD nCaret = nStart > nGrown ? static_cast<DWORD>(nStart - nGrown) : 0;
    SetWindowTextW(hEdit, m_strAccepted.c_str());
    SendMessageW(hEdit, EM_SETSEL, nCaret, nCaret);
    MessageBeep(MB_OK);
}
