// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "CBoardGeometry.h"

class CBoardReader;
class CClientArea;

// The client area as a screen reader sees it on Windows, through Active
// Accessibility (IAccessible), with the names CBoardReader gives:
//
//     client area           ROLE_SYSTEM_CLIENT, what WM_GETOBJECT hands out
//       1 board             ROLE_SYSTEM_TABLE, named 棋盘
//           81 cells        ROLE_SYSTEM_CELL, row by row, the focus cell focused
//       2 balls counter     ROLE_SYSTEM_STATICTEXT
//       3 preview           ROLE_SYSTEM_STATICTEXT
//       4 score counter     ROLE_SYSTEM_STATICTEXT
//       5 last outcome      ROLE_SYSTEM_STATUSBAR
//
// Every part is an object of its own rather than a simple element: a cell
// is then a child of the board, as in a table, and an event can still name
// it by one id on the client area (OBJID_CLIENT), whose accChild answers
// for the parts (1..5) and for every cell (CellId) alike. That is what a
// client does with an event: AccessibleObjectFromEvent asks the client
// area's accChild for the id it was given.
//
// The objects may outlive the window (a client holds them as long as it
// likes): they share a link with this class that Disconnect cuts, after
// which they answer RPC_E_DISCONNECTED and touch nothing.
class CBoardAccessibility {
public:
    // The ids, on OBJID_CLIENT, that events and accChild name the parts by.
    enum : LONG {
        kBoardId = 1,
        kBallsId,
        kPreviewId,
        kScoreId,
        kOutcomeId,
        kPartCount = kOutcomeId
    };
    static constexpr LONG kFirstCellId = 0x100;
    static constexpr LONG CellId(int row, int col)
    {
        return kFirstCellId + (row - 1) * CBoardGeometry::kCells + col - 1;
    }

    CBoardAccessibility();
    ~CBoardAccessibility();
    CBoardAccessibility(const CBoardAccessibility&) = delete;
    CBoardAccessibility& operator=(const CBoardAccessibility&) = delete;

    // The window and its client area, whose scale places the parts on the
    // screen; both must live until Disconnect.
    void Connect(HWND hWnd, const CClientArea& client);
    // WM_DESTROY: the objects handed out no longer reach the window.
    void Disconnect();

    // WM_GETOBJECT: the client area's object for OBJID_CLIENT, 0 (for the
    // system's default) for everything else.
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);

    // Takes what changed since the last call (names of cells, counters and
    // preview, a new outcome, the focus cell) and tells clients through
    // NotifyWinEvent; nothing is told while the window is hidden. reader
    // must stay valid until the next call or Disconnect.
    void OnReadingChanged(const CBoardReader& reader);

    // What the objects see: null once disconnected.
    struct CLink {
        HWND hWnd = nullptr;
        const CClientArea* pClient = nullptr;
        const CBoardReader* pReader = nullptr;
    };

private:
    static constexpr int kCellCount = CBoardGeometry::kCells * CBoardGeometry::kCells;

    std::shared_ptr<CLink> m_pLink;
    // What clients were last told: the parts' names by id (the board's is
    // fixed), the cells' row by row.
    std::array<std::string, kPartCount + 1> m_partNames;
    std::array<std::string, kCellCount> m_cellNames;
    int m_nOutcomes = 0;
    int m_focusRow = 0;
    int m_focusCol = 0;
    // COM, started on this thread by the first request, ended with the window.
    bool m_bComStarted = false;
};
