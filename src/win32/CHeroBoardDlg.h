// SPDX-License-Identifier: MIT
#pragma once

#include "CDialog.h"
#include "WinResource.h"

class CHeroList;

// The top-ten board: rows with no record keep the template's dots.
class CHeroBoardDlg : public CDialog {
public:
    explicit CHeroBoardDlg(const CHeroList& heroes, HWND hParent = nullptr)
        : CDialog(IDD_HERO_BOARD, hParent), m_heroes(heroes)
    {
    }

protected:
    BOOL OnInitDialog() override;

private:
    const CHeroList& m_heroes;
};
