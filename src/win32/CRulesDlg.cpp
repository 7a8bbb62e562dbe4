// SPDX-License-Identifier: MIT
#include "CRulesDlg.h"

bool CRulesDlg::DoDataExchange(bool bSave)
{
    if (!bSave)
        SetDlgItemTextW(GetSafeHwnd(), IDC_RULES_TEXT, m_strText.c_str());
    return true;
}
