// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "CDialog.h"
#include "WinResource.h"

// The game instructions in a read-only edit; OK is the only tab stop.
class CRulesDlg : public CDialog {
public:
    explicit CRulesDlg(HWND hParent = nullptr) : CDialog(IDD_RULES, hParent) {}

    std::wstring m_strText;

protected:
    bool DoDataExchange(bool bSave) override;
};
