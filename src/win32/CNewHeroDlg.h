// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "CDialog.h"
#include "WinResource.h"

// Asks a player who made the top ten for a name: m_strName is the preset
// before and what was typed after OK, in UTF-8 both ways, whatever the
// system's code page. Whether the name can be kept is the caller's to decide.
class CNewHeroDlg : public CDialog {
public:
    explicit CNewHeroDlg(HWND hParent = nullptr) : CDialog(IDD_NEW_HERO, hParent) {}

    std::string m_strName;

protected:
    bool DoDataExchange(bool bSave) override;
    bool OnCommand(WORD nId, WORD nCode) override;

private:
    std::wstring EditText() const;
    // The edit refuses what would go beyond the limit, as a byte-counting
    // edit would: the last text that fitted comes back.
    void OnNameChanged();

    std::wstring m_strAccepted;
};
