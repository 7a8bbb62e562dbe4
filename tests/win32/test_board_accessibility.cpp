// SPDX-License-Identifier: MIT
// The screen reader's view of the real main window, played by the real
// controller: what a client gets from AccessibleObjectFromWindow and the
// events NotifyWinEvent gives it, caught by an in-context hook.

#include <ole2.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BoardText.h"
#include "CAppController.h"
#include "CBoardAccessibility.h"
#include "CMainFrame.h"
#include "CSoundPlayer.h"
#include "CWideText.h"

namespace {

// Time that passes without waiting: the game's pauses cost nothing.
class CInstantClock final : public CTickClock {
public:
    std::uint32_t GetTickCount() const override { return m_nNow; }

protected:
    void Sleep(std::uint32_t ms) const override { m_nNow += ms + 1; }

private:
    mutable std::uint32_t m_nNow = 1000;
};

// The program's shell with the real main window and no dialogs: none is
// expected, and one would fail the test rather than wait for a player.
class CWindowShell final : public CAppShell {
public:
    std::unique_ptr<CMainFrame> pFrame;

    OtherInstance WakeOtherInstance() override { return OtherInstance::None; }
    CProfile* OpenProfile() override { return nullptr; }
    CAppWindow* CreateMainWindow(CAppInput& input) override
    {
        HINSTANCE hInstance = GetModuleHandleW(nullptr);
        if (!CMainFrame::RegisterWindowClass(hInstance))
            return nullptr;
        pFrame = std::make_unique<CMainFrame>(input);
        return pFrame->Create(hInstance, "Orvo", 1) ? pFrame.get() : nullptr;
    }
    void ShowNotice(NoticeKind, const std::string&, const std::string& text) override
    {
        ADD_FAILURE() << "notice: " << text;
    }
    bool AskName(std::string&) override
    {
        ADD_FAILURE() << "name asked";
        return false;
    }
    void ShowHeroBoard(const CHeroList&) override { ADD_FAILURE() << "hero board"; }
    void ShowRules(const std::string&) override { ADD_FAILURE() << "rules"; }
    void ShowAbout() override { ADD_FAILURE() << "about"; }
};

// The events told while the hook is set, in order.
struct SEvent {
    DWORD event;
    HWND hWnd;
    LONG idObject;
    LONG idChild;
};
std::vector<SEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hWnd, LONG idObject, LONG idChild, DWORD,
                         DWORD)
{
    g_events.push_back(SEvent{event, hWnd, idObject, idChild});
}

VARIANT Child(LONG id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// Takes ownership of a dispatch pointer that should be an IAccessible.
std::shared_ptr<IAccessible> AsAccessible(IDispatch* pDispatch)
{
    IAccessible* pAcc = nullptr;
    if (pDispatch) {
        pDispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&pAcc));
        pDispatch->Release();
    }
    return std::shared_ptr<IAccessible>(pAcc, [](IAccessible* p) {
        if (p)
            p->Release();
    });
}

std::shared_ptr<IAccessible> ChildOf(IAccessible* pParent, LONG id)
{
    IDispatch* pDispatch = nullptr;
    EXPECT_EQ(pParent->get_accChild(Child(id), &pDispatch), S_OK) << id;
    return AsAccessible(pDispatch);
}

// The object in a VARIANT that should hold one.
std::shared_ptr<IAccessible> ObjectIn(VARIANT& v)
{
    if (v.vt != VT_DISPATCH) {
        VariantClear(&v);
        return nullptr;
    }
    IDispatch* pDispatch = v.pdispVal;
    v.vt = VT_EMPTY;
    return AsAccessible(pDispatch);
}

std::string NameOf(IAccessible* pAcc, LONG id = CHILDID_SELF)
{
    BSTR name = nullptr;
    if (!pAcc || FAILED(pAcc->get_accName(Child(id), &name)) || !name)
        return std::string();
    const std::string text = CWideText::ToUtf8(std::wstring(name, SysStringLen(name)));
    SysFreeString(name);
    return text;
}

LONG RoleOf(IAccessible* pAcc)
{
    VARIANT role;
    VariantInit(&role);
    if (!pAcc || pAcc->get_accRole(Child(CHILDID_SELF), &role) != S_OK || role.vt != VT_I4)
        return -1;
    return role.lVal;
}

LONG StateOf(IAccessible* pAcc)
{
    VARIANT state;
    VariantInit(&state);
    if (!pAcc || pAcc->get_accState(Child(CHILDID_SELF), &state) != S_OK || state.vt != VT_I4)
        return -1;
    return state.lVal;
}

RECT LocationOf(IAccessible* pAcc)
{
    LONG x = 0, y = 0, cx = 0, cy = 0;
    EXPECT_EQ(pAcc->accLocation(&x, &y, &cx, &cy, Child(CHILDID_SELF)), S_OK);
    return RECT{x, y, x + cx, y + cy};
}

// Balls on the first row and in its corners, a closed-in empty cell at
// (9, 9), and (2, 9) and (9, 2) told apart: a row and a column mixed up
// show at once.
const char* const kPosition[9] = {
    "4.2......", "........6", ".........", ".........", "....1....",
    ".........", ".........", "........3", ".7.....3.",
};

class BoardAccessibilityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        m_controller.SetClock(m_clock);
        ASSERT_TRUE(m_controller.InitInstance());
        m_hWnd = m_shell.pFrame->GetSafeHwnd();
        SetBoard(m_controller.Game(), kPosition);
        // As after any change the controller makes.
        m_shell.pFrame->OnReadingChanged(m_controller.Reader());
        IAccessible* pClient = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(m_hWnd, static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&pClient)),
                  S_OK);
        m_pClient = AsAccessible(pClient);
        ASSERT_TRUE(m_pClient);
        // Only this process's events, called right inside NotifyWinEvent.
        g_events.clear();
        m_hHook =
            SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, GetModuleHandleW(nullptr),
                            OnWinEvent, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
        ASSERT_NE(m_hHook, nullptr);
    }

    void TearDown() override
    {
        if (m_hHook)
            UnhookWinEvent(m_hHook);
        m_pClient.reset();
        CloseWindow();
        CoUninitialize();
    }

    void CloseWindow()
    {
        m_controller.OnMainWindowClosed();
        m_shell.pFrame.reset();
    }

    void Key(WPARAM nVirtualKey) { SendMessageW(m_hWnd, WM_KEYDOWN, nVirtualKey, 0); }
    // In device pixels, at the window's scale: the screen's density decides
    // it, and the scaled end-to-end test leaves the Wine prefix at 192.
    void Click(int row, int col)
    {
        const int scale = m_shell.pFrame->Scale();
        SendMessageW(m_hWnd, WM_LBUTTONUP, 0,
                     MAKELPARAM(CBoardGeometry::CentreX(col) * scale,
                                CBoardGeometry::CentreY(row) * scale));
    }

    std::shared_ptr<IAccessible> Board()
    {
        return ChildOf(m_pClient.get(), CBoardAccessibility::kBoardId);
    }

    // The ids of the events of one kind told since the last call.
    std::vector<LONG> Told(DWORD event)
    {
        std::vector<LONG> ids;
        for (const SEvent& e : g_events)
            if (e.event == event && e.hWnd == m_hWnd && e.idObject == OBJID_CLIENT)
                ids.push_back(e.idChild);
        return ids;
    }

    // What a client gets for an event: the object it names.
    std::shared_ptr<IAccessible> FromEvent(LONG idChild)
    {
        IAccessible* pAcc = nullptr;
        VARIANT child;
        VariantInit(&child);
        EXPECT_EQ(AccessibleObjectFromEvent(m_hWnd, static_cast<DWORD>(OBJID_CLIENT), idChild,
                                            &pAcc, &child),
                  S_OK);
        // The object itself, or its parent and the child's id.
        if (pAcc && child.vt == VT_I4 && child.lVal != CHILDID_SELF) {
            auto pParent = std::shared_ptr<IAccessible>(pAcc, [](IAccessible* p) { p->Release(); });
            return ChildOf(pParent.get(), child.lVal);
        }
        return std::shared_ptr<IAccessible>(pAcc, [](IAccessible* p) {
            if (p)
                p->Release();
        });
    }

    CInstantClock m_clock;
    CSoundPlayer m_player{[](const CWaveFile&) { return true; }};
    CWindowShell m_shell;
    CAppController m_controller{m_shell, m_player};
    HWND m_hWnd = nullptr;
    std::shared_ptr<IAccessible> m_pClient;
    HWINEVENTHOOK m_hHook = nullptr;
};

TEST_F(BoardAccessibilityTest, TheClientAreaHoldsTheBoardsCellsRowByRowAndTheTexts)
{
    EXPECT_EQ(RoleOf(m_pClient.get()), ROLE_SYSTEM_CLIENT);
    LONG count = 0;
    ASSERT_EQ(m_pClient->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 5);
    const struct {
        LONG id, role;
        std::string name;
    } parts[] = {
        {CBoardAccessibility::kBoardId, ROLE_SYSTEM_TABLE, "棋盘"},
        {CBoardAccessibility::kBallsId, ROLE_SYSTEM_STATICTEXT, "消去球数：0"},
        {CBoardAccessibility::kPreviewId, ROLE_SYSTEM_STATICTEXT,
         m_controller.Reader().PreviewName()},
        {CBoardAccessibility::kScoreId, ROLE_SYSTEM_STATICTEXT, "得分：0"},
        // Nothing done yet: nothing to say.
        {CBoardAccessibility::kOutcomeId, ROLE_SYSTEM_STATUSBAR, ""},
    };
    for (const auto& part : parts) {
        SCOPED_TRACE(part.id);
        const auto pPart = ChildOf(m_pClient.get(), part.id);
        ASSERT_TRUE(pPart);
        EXPECT_EQ(RoleOf(pPart.get()), part.role);
        EXPECT_EQ(NameOf(pPart.get()), part.name);
        // Asked of the client area by the child's id, the same.
        EXPECT_EQ(NameOf(m_pClient.get(), part.id), part.name);
    }
    EXPECT_EQ(NameOf(ChildOf(m_pClient.get(), CBoardAccessibility::kPreviewId).get())
                  .rfind("下一批：", 0),
              0u);

    const auto pBoard = Board();
    ASSERT_EQ(pBoard->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 81);
    const struct {
        LONG index;
        const char* name;
    } cells[] = {
        {1, "第1行第1列，红球"},  {2, "第1行第2列，空"},    {3, "第1行第3列，绿球"},
        {18, "第2行第9列，黄球"}, {41, "第5行第5列，蓝球"}, {74, "第9行第2列，银球"},
        {81, "第9行第9列，空"},
    };
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.index);
        const auto pCell = ChildOf(pBoard.get(), cell.index);
        ASSERT_TRUE(pCell);
        EXPECT_EQ(RoleOf(pCell.get()), ROLE_SYSTEM_CELL);
        EXPECT_EQ(NameOf(pCell.get()), cell.name);
        // A cell's parent is the board, the board's the client area.
        IDispatch* pParent = nullptr;
        ASSERT_EQ(pCell->get_accParent(&pParent), S_OK);
        EXPECT_EQ(RoleOf(AsAccessible(pParent).get()), ROLE_SYSTEM_TABLE);
    }
    IDispatch* pParent = nullptr;
    ASSERT_EQ(pBoard->get_accParent(&pParent), S_OK);
    EXPECT_EQ(RoleOf(AsAccessible(pParent).get()), ROLE_SYSTEM_CLIENT);
    // Above the client area, the window as the system shows it. (Wine's
    // window object does not answer accRole: only that there is one shows.)
    ASSERT_EQ(m_pClient->get_accParent(&pParent), S_OK);
    EXPECT_TRUE(AsAccessible(pParent));

    // Siblings in order, the arrows from cell to cell, nothing past the edge.
    const struct {
        std::shared_ptr<IAccessible> pFrom;
        LONG direction;
        const char* name;
    } moves[] = {
        {m_pClient, NAVDIR_FIRSTCHILD, "棋盘"},
        {pBoard, NAVDIR_LASTCHILD, "第9行第9列，空"},
        {ChildOf(pBoard.get(), 41), NAVDIR_UP, "第4行第5列，空"},
        {ChildOf(pBoard.get(), 41), NAVDIR_NEXT, "第5行第6列，空"},
        {ChildOf(pBoard.get(), 9), NAVDIR_RIGHT, nullptr},
        {pBoard, NAVDIR_NEXT, "消去球数：0"},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(move.direction);
        VARIANT to;
        VariantInit(&to);
        const HRESULT hr = move.pFrom->accNavigate(move.direction, Child(CHILDID_SELF), &to);
        if (!move.name) {
            EXPECT_EQ(hr, S_FALSE);
            EXPECT_EQ(to.vt, VT_EMPTY);
            continue;
        }
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(NameOf(ObjectIn(to).get()), move.name);
    }
}

// Each part where the player sees it, at either scale; a point finds the
// part under it, one level at a time.
TEST_F(BoardAccessibilityTest, PartsLieWhereTheyAreDrawnAtTheWindowsScale)
{
    for (const int dpi : {96, 192}) {
        SCOPED_TRACE(dpi);
        RECT suggested{40, 30, 400, 500};
        SendMessageW(m_hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        const int s = dpi / 96;
        POINT origin{0, 0};
        ClientToScreen(m_hWnd, &origin);
        const auto screen = [&](LONG left, LONG top, LONG right, LONG bottom) {
            return RECT{origin.x + left * s, origin.y + top * s, origin.x + right * s,
                        origin.y + bottom * s};
        };
        const auto pBoard = Board();
        const struct {
            std::shared_ptr<IAccessible> pPart;
            RECT rc;
        } parts[] = {
            {m_pClient, screen(0, 0, 308, 348)},
            {pBoard, screen(10, 50, 298, 338)},
            // Row 2, column 9.
            {ChildOf(pBoard.get(), 18), screen(266, 82, 298, 114)},
            {ChildOf(m_pClient.get(), CBoardAccessibility::kBallsId), screen(8, 8, 97, 41)},
            {ChildOf(m_pClient.get(), CBoardAccessibility::kScoreId), screen(211, 8, 300, 41)},
        };
        for (const auto& part : parts) {
            const RECT rc = LocationOf(part.pPart.get());
            EXPECT_EQ(rc.left, part.rc.left);
            EXPECT_EQ(rc.top, part.rc.top);
            EXPECT_EQ(rc.right, part.rc.right);
            EXPECT_EQ(rc.bottom, part.rc.bottom);
        }

        // The last device pixel of row 9, column 2, then the preview.
        VARIANT hit;
        VariantInit(&hit);
        const RECT cell = screen(42, 306, 74, 338);
        ASSERT_EQ(m_pClient->accHitTest(cell.right - 1, cell.bottom - 1, &hit), S_OK);
        auto pHit = ObjectIn(hit);
        ASSERT_EQ(RoleOf(pHit.get()), ROLE_SYSTEM_TABLE);
        ASSERT_EQ(pHit->accHitTest(cell.right - 1, cell.bottom - 1, &hit), S_OK);
        EXPECT_EQ(NameOf(ObjectIn(hit).get()), "第9行第2列，银球");
        ASSERT_EQ(m_pClient->accHitTest(origin.x + 150 * s, origin.y + 20 * s, &hit), S_OK);
        EXPECT_EQ(NameOf(ObjectIn(hit).get()), m_controller.Reader().PreviewName());
        // Between the panels: the client area itself; outside it, nothing.
        ASSERT_EQ(m_pClient->accHitTest(origin.x + 100 * s, origin.y + 20 * s, &hit), S_OK);
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, CHILDID_SELF);
        EXPECT_EQ(m_pClient->accHitTest(origin.x - 1, origin.y, &hit), S_FALSE);
        EXPECT_EQ(hit.vt, VT_EMPTY);
    }
}

// The keyboard's focus cell is the accessible focus and is told as it
// moves; the mouse takes it away again.
TEST_F(BoardAccessibilityTest, TheFocusCellFollowsTheKeysAndIsTold)
{
    VARIANT focus;
    VariantInit(&focus);
    EXPECT_TRUE(SUCCEEDED(m_pClient->get_accFocus(&focus)));
    EXPECT_NE(focus.vt, VT_DISPATCH);
    VariantClear(&focus);

    // The first arrow shows the focus where it stands, the next moves it.
    Key(VK_RIGHT);
    EXPECT_EQ(Told(EVENT_OBJECT_FOCUS), std::vector<LONG>{CBoardAccessibility::CellId(5, 5)});
    Key(VK_RIGHT);
    Key(VK_UP);
    const LONG id = CBoardAccessibility::CellId(4, 6);
    EXPECT_EQ(Told(EVENT_OBJECT_FOCUS), (std::vector<LONG>{CBoardAccessibility::CellId(5, 5),
                                                           CBoardAccessibility::CellId(5, 6), id}));
    EXPECT_EQ(NameOf(FromEvent(id).get()), "第4行第6列，空");

    ASSERT_EQ(m_pClient->get_accFocus(&focus), S_OK);
    const auto pFocus = ObjectIn(focus);
    EXPECT_EQ(NameOf(pFocus.get()), "第4行第6列，空");
    EXPECT_TRUE(StateOf(pFocus.get()) & STATE_SYSTEM_FOCUSED);
    EXPECT_FALSE(StateOf(ChildOf(Board().get(), 41).get()) & STATE_SYSTEM_FOCUSED);

    // A click: no focus frame, no focused cell; no focus event for a cell.
    g_events.clear();
    Click(5, 5);
    EXPECT_FALSE(StateOf(pFocus.get()) & STATE_SYSTEM_FOCUSED);
    EXPECT_TRUE(SUCCEEDED(m_pClient->get_accFocus(&focus)));
    EXPECT_NE(focus.vt, VT_DISPATCH);
    VariantClear(&focus);
    for (const LONG told : Told(EVENT_OBJECT_FOCUS))
        EXPECT_EQ(told, CHILDID_SELF);
}

// A name that changes is told, and so is each new outcome, even one that
// says what the last one said; what did not change is not.
TEST_F(BoardAccessibilityTest, ChangedNamesAndEveryNewOutcomeAreTold)
{
    Click(5, 5);
    const std::vector<LONG> picked = Told(EVENT_OBJECT_NAMECHANGE);
    EXPECT_EQ(picked, (std::vector<LONG>{CBoardAccessibility::CellId(5, 5),
                                         CBoardAccessibility::kOutcomeId}));
    EXPECT_EQ(NameOf(FromEvent(CBoardAccessibility::CellId(5, 5)).get()),
              "第5行第5列，蓝球，已选中");
    const std::string outcome = NameOf(FromEvent(CBoardAccessibility::kOutcomeId).get());
    EXPECT_EQ(outcome, m_controller.Reader().Outcome());
    EXPECT_NE(outcome.find("第5行第5列"), std::string::npos) << outcome;

    // (9, 9) is walled in: no way there, twice.
    for (int i = 0; i < 2; ++i) {
        g_events.clear();
        Click(9, 9);
        EXPECT_EQ(Told(EVENT_OBJECT_NAMECHANGE),
                  std::vector<LONG>{CBoardAccessibility::kOutcomeId});
        EXPECT_EQ(NameOf(FromEvent(CBoardAccessibility::kOutcomeId).get()), "无法到达第9行第9列。");
    }
}

// A client may hold the objects after the window has gone: they answer,
// as disconnected, without reaching for the window or the game.
TEST_F(BoardAccessibilityTest, ObjectsHeldPastTheWindowAnswerDisconnected)
{
    const auto pBoard = Board();
    const auto pCell = ChildOf(pBoard.get(), 1);
    CloseWindow();
    BSTR name = nullptr;
    EXPECT_EQ(pCell->get_accName(Child(CHILDID_SELF), &name), RPC_E_DISCONNECTED);
    EXPECT_EQ(name, nullptr);
    LONG count = -1;
    EXPECT_EQ(m_pClient->get_accChildCount(&count), RPC_E_DISCONNECTED);
    IDispatch* pChild = nullptr;
    EXPECT_EQ(m_pClient->get_accChild(Child(CBoardAccessibility::kBoardId), &pChild),
              RPC_E_DISCONNECTED);
    EXPECT_EQ(pChild, nullptr);
    LONG x = 0, y = 0, cx = 0, cy = 0;
    EXPECT_EQ(pBoard->accLocation(&x, &y, &cx, &cy, Child(CHILDID_SELF)), RPC_E_DISCONNECTED);
}

}  // namespace
