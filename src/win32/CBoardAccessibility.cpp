// SPDX-License-Identifier: MIT
#include "CBoardAccessibility.h"

#include <ole2.h>
#include <oleacc.h>

#include <utility>

#include "CBoardReader.h"
#include "CClientArea.h"
#include "CGameView.h"
#include "CWideText.h"
#include "Texts.h"

namespace {

using CLink = CBoardAccessibility::CLink;

// IAccessible's id by __uuidof: the IID_IAccessible of mingw-w64's oleacc
// import library is the address of an import thunk, not the id.
const IID& kIidAccessible = __uuidof(IAccessible);

constexpr int kCells = CBoardGeometry::kCells;
constexpr LONG kBoardId = CBoardAccessibility::kBoardId;
constexpr LONG kBallsId = CBoardAccessibility::kBallsId;
constexpr LONG kPreviewId = CBoardAccessibility::kPreviewId;
constexpr LONG kScoreId = CBoardAccessibility::kScoreId;
constexpr LONG kOutcomeId = CBoardAccessibility::kOutcomeId;
constexpr LONG kFirstCellId = CBoardAccessibility::kFirstCellId;
constexpr LONG kLastCellId = CBoardAccessibility::CellId(kCells, kCells);

bool IsCell(LONG id)
{
    return id >= kFirstCellId && id <= kLastCellId;
}

int RowOf(LONG id)
{
    return static_cast<int>(id - kFirstCellId) / kCells + 1;
}

int ColOf(LONG id)
{
    return static_cast<int>(id - kFirstCellId) % kCells + 1;
}

// The panels' corners are inclusive; a RECT's right and bottom are not.
RECT PanelRect(const CRect& rc)
{
    return RECT{rc.left, rc.top, rc.right + 1, rc.bottom + 1};
}

// Where a part lies in the client area, in client pixels. The status line
// has no place of its own: it speaks for the whole client area.
RECT PartRect(LONG id)
{
    if (IsCell(id)) {
        const LONG left = CBoardGeometry::SquareLeft(ColOf(id));
        const LONG top = CBoardGeometry::SquareTop(RowOf(id));
        return RECT{left, top, left + CBoardGeometry::kSquare, top + CBoardGeometry::kSquare};
    }
    switch (id) {
    case kBoardId:
        return RECT{CBoardGeometry::kLeft, CBoardGeometry::kTop, CBoardGeometry::kRight + 1,
                    CBoardGeometry::kBottom + 1};
    case kBallsId:
        return PanelRect(CGameView::kBallsRect);
    case kPreviewId:
        return PanelRect(CGameView::kPreviewRect);
    case kScoreId:
        return PanelRect(CGameView::kScoreRect);
    default:
        return RECT{0, 0, CClientWindow::kWidth, CClientWindow::kHeight};
    }
}

bool Contains(const RECT& rc, LONG x, LONG y)
{
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

LONG ChildCount(LONG id)
{
    if (id == CHILDID_SELF)
        return CBoardAccessibility::kPartCount;
    return id == kBoardId ? kCells * kCells : 0;
}

// The index-th child (1-based) of a part, as an id.
LONG ChildId(LONG id, LONG index)
{
    return id == kBoardId ? kFirstCellId + index - 1 : index;
}

LONG ParentId(LONG id)
{
    return IsCell(id) ? kBoardId : CHILDID_SELF;
}

// A part's place among its parent's children, 1-based.
LONG IndexOf(LONG id)
{
    return IsCell(id) ? id - kFirstCellId + 1 : id;
}

HRESULT ToBstr(const std::string& utf8, BSTR* pOut)
{
    *pOut = nullptr;
    if (utf8.empty())
        return S_FALSE;
    const std::wstring wide = CWideText::FromUtf8(utf8).value_or(std::wstring());
    *pOut = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *pOut ? S_OK : E_OUTOFMEMORY;
}

// One part of the client area, the client area itself included (id
// CHILDID_SELF), as a COM object of its own. Made on request and dropped by
// the client when done: two objects with one id are the same part.
class CPartObject final : public IAccessible {
public:
    CPartObject(std::shared_ptr<const CLink> pLink, LONG id) : m_pLink(std::move(pLink)), m_id(id)
    {
    }
    CPartObject(const CPartObject&) = delete;
    CPartObject& operator=(const CPartObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIidAccessible) {
            *ppv = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&m_nRefs));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG n = InterlockedDecrement(&m_nRefs);
        if (n == 0)
            delete this;
        return static_cast<ULONG>(n);
    }

    // IDispatch: clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pCount) override
    {
        if (!pCount)
            return E_POINTER;
        *pCount = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppInfo) override
    {
        if (ppInfo)
            *ppInfo = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppParent) override
    {
        if (!ppParent)
            return E_POINTER;
        *ppParent = nullptr;
        if (!Connected())
            return RPC_E_DISCONNECTED;
        // Above the client area is the window, as the system shows it.
        if (m_id == CHILDID_SELF)
            return CreateStdAccessibleObject(m_pLink->hWnd, OBJID_WINDOW, IID_IDispatch,
                                             reinterpret_cast<void**>(ppParent));
        *ppParent = Part(ParentId(m_id));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* pCount) override
    {
        if (!pCount)
            return E_POINTER;
        *pCount = 0;
        if (!Connected())
            return RPC_E_DISCONNECTED;
        *pCount = ChildCount(m_id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** ppChild) override
    {
        if (!ppChild)
            return E_POINTER;
        *ppChild = nullptr;
        LONG id = 0;
        const HRESULT hr = Resolve(child, id);
        if (hr != S_OK)
            return hr;
        if (id == m_id)
            return E_INVALIDARG;
        *ppChild = Part(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* pName) override
    {
        if (!pName)
            return E_POINTER;
        *pName = nullptr;
        LONG id = 0;
        const HRESULT hr = Resolve(child, id);
        return hr == S_OK ? ToBstr(Name(id), pName) : hr;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* pValue) override
    {
        return NoString(pValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* pText) override
    {
        return NoString(pText);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* pRole) override
    {
        return NumberOf(child, pRole, [this](LONG id) { return Role(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* pState) override
    {
        return NumberOf(child, pState, [this](LONG id) { return State(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* pHelp) override { return NoString(pHelp); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pFile, VARIANT, LONG* pTopic) override
    {
        if (pTopic)
            *pTopic = 0;
        return NoString(pFile);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* pKeys) override
    {
        return NoString(pKeys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pFocus) override
    {
        if (!pFocus)
            return E_POINTER;
        VariantInit(pFocus);
        if (!Connected())
            return RPC_E_DISCONNECTED;
        // The keyboard's focus cell while it shows; otherwise the client
        // area itself while the window has the focus.
        const LONG focus = FocusCellId();
        if (focus != 0 && (m_id == CHILDID_SELF || m_id == kBoardId)) {
            pFocus->vt = VT_DISPATCH;
            pFocus->pdispVal = Part(focus);
            return S_OK;
        }
        if ((focus != 0 && m_id == focus) ||
            (focus == 0 && m_id == CHILDID_SELF && GetFocus() == m_pLink->hWnd)) {
            pFocus->vt = VT_I4;
            pFocus->lVal = CHILDID_SELF;
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pSelection) override
    {
        if (pSelection)
            VariantInit(pSelection);
        return Connected() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* pAction) override
    {
        return NoString(pAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override
    {
        return Connected() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* pLeft, LONG* pTop, LONG* pWidth, LONG* pHeight,
                                          VARIANT child) override
    {
        if (!pLeft || !pTop || !pWidth || !pHeight)
            return E_POINTER;
        *pLeft = *pTop = *pWidth = *pHeight = 0;
        LONG id = 0;
        const HRESULT hr = Resolve(child, id);
        if (hr != S_OK)
            return hr;
        // Client pixels are Scale() device pixels each.
        const RECT rc = PartRect(id);
        const int scale = Scale();
        POINT at{rc.left * scale, rc.top * scale};
        ClientToScreen(m_pLink->hWnd, &at);
        *pLeft = at.x;
        *pTop = at.y;
        *pWidth = (rc.right - rc.left) * scale;
        *pHeight = (rc.bottom - rc.top) * scale;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* pEnd) override
    {
        if (!pEnd)
            return E_POINTER;
        VariantInit(pEnd);
        LONG id = 0;
        const HRESULT hr = Resolve(start, id);
        if (hr != S_OK)
            return hr;
        const LONG to = Neighbour(id, direction, start.lVal == CHILDID_SELF);
        if (to == -1)
            return E_INVALIDARG;
        if (to == 0)
            return S_FALSE;
        pEnd->vt = VT_DISPATCH;
        pEnd->pdispVal = Part(to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* pHit) override
    {
        if (!pHit)
            return E_POINTER;
        VariantInit(pHit);
        if (!Connected())
            return RPC_E_DISCONNECTED;
        POINT at{x, y};
        ScreenToClient(m_pLink->hWnd, &at);
        const int scale = Scale();
        // Whole client pixels, rounding down on both sides of the corner.
        const LONG cx = at.x >= 0 ? at.x / scale : -1;
        const LONG cy = at.y >= 0 ? at.y / scale : -1;
        if (!Contains(PartRect(m_id), cx, cy))
            return S_FALSE;
        // The deepest child there, one level at a time as clients ask.
        for (LONG i = 1; i <= ChildCount(m_id); ++i) {
            const LONG child = ChildId(m_id, i);
            // The status line covers everything, and would hide the rest.
            if (child != kOutcomeId && Contains(PartRect(child), cx, cy)) {
                pHit->vt = VT_DISPATCH;
                pHit->pdispVal = Part(child);
                return S_OK;
            }
        }
        pHit->vt = VT_I4;
        pHit->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override
    {
        return Connected() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~CPartObject() = default;

    bool Connected() const { return m_pLink->hWnd != nullptr; }
    // Device pixels per client pixel.
    int Scale() const { return m_pLink->pClient ? m_pLink->pClient->Scale() : 1; }

    IDispatch* Part(LONG id) const { return new CPartObject(m_pLink, id); }

    // A number about the part child names (its role, its state), value(id).
    template <class Value>
    HRESULT NumberOf(const VARIANT& child, VARIANT* pOut, Value value) const
    {
        if (!pOut)
            return E_POINTER;
        VariantInit(pOut);
        LONG id = 0;
        const HRESULT hr = Resolve(child, id);
        if (hr != S_OK)
            return hr;
        pOut->vt = VT_I4;
        pOut->lVal = value(id);
        return S_OK;
    }

    // The part a child id names, seen from this one: itself for
    // CHILDID_SELF, a child by its place, and from the client area also
    // any cell by its event id.
    HRESULT Resolve(const VARIANT& child, LONG& id) const
    {
        if (!Connected())
            return RPC_E_DISCONNECTED;
        if (child.vt != VT_I4)
            return E_INVALIDARG;
        const LONG n = child.lVal;
        if (n == CHILDID_SELF)
            id = m_id;
        else if (n >= 1 && n <= ChildCount(m_id))
            id = ChildId(m_id, n);
        else if (m_id == CHILDID_SELF && IsCell(n))
            id = n;
        else
            return E_INVALIDARG;
        return S_OK;
    }

    // A property this game does not have: DISP_E_MEMBERNOTFOUND, as MSAA
    // expects of one.
    HRESULT NoString(BSTR* pOut) const
    {
        if (pOut)
            *pOut = nullptr;
        return Connected() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED;
    }

    LONG FocusCellId() const
    {
        const CBoardReader* pReader = m_pLink->pReader;
        if (!pReader || pReader->FocusRow() == 0)
            return 0;
        return CBoardAccessibility::CellId(pReader->FocusRow(), pReader->FocusCol());
    }

    std::string Name(LONG id) const
    {
        if (id == kBoardId)
            return TXT_READ_BOARD;
        if (id == CHILDID_SELF) {
            // The window's title, as the system's own client object has it.
            wchar_t title[128] = L"";
            GetWindowTextW(m_pLink->hWnd, title, static_cast<int>(sizeof title / sizeof title[0]));
            return CWideText::ToUtf8(title);
        }
        const CBoardReader* pReader = m_pLink->pReader;
        if (!pReader)
            return std::string();
        if (IsCell(id))
            return pReader->CellName(RowOf(id), ColOf(id));
        switch (id) {
        case kBallsId:
            return pReader->BallsName();
        case kPreviewId:
            return pReader->PreviewName();
        case kScoreId:
            return pReader->ScoreName();
        default:
            return pReader->Outcome();
        }
    }

    static LONG Role(LONG id)
    {
        if (IsCell(id))
            return ROLE_SYSTEM_CELL;
        switch (id) {
        case CHILDID_SELF:
            return ROLE_SYSTEM_CLIENT;
        case kBoardId:
            return ROLE_SYSTEM_TABLE;
        case kOutcomeId:
            return ROLE_SYSTEM_STATUSBAR;
        default:
            return ROLE_SYSTEM_STATICTEXT;
        }
    }

    LONG State(LONG id) const
    {
        LONG state = 0;
        if (!IsWindowVisible(m_pLink->hWnd))
            state |= STATE_SYSTEM_INVISIBLE;
        if (id == CHILDID_SELF) {
            state |= STATE_SYSTEM_FOCUSABLE;
            if (FocusCellId() == 0 && GetFocus() == m_pLink->hWnd)
                state |= STATE_SYSTEM_FOCUSED;
            return state;
        }
        // Nothing here is typed into: everything is read only.
        state |= STATE_SYSTEM_READONLY;
        if (id == kBoardId || IsCell(id))
            state |= STATE_SYSTEM_FOCUSABLE;
        if (IsCell(id) && id == FocusCellId())
            state |= STATE_SYSTEM_FOCUSED;
        return state;
    }

    // Where accNavigate goes from id: another part's id, 0 for nowhere,
    // -1 for a direction that does not apply. First and last child only
    // from the object itself; siblings in their parent's order; the arrows
    // from cell to cell, as the keyboard's focus moves.
    static LONG Neighbour(LONG id, LONG direction, bool bSelf)
    {
        switch (direction) {
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD: {
            if (!bSelf)
                return -1;
            const LONG n = ChildCount(id);
            if (n == 0)
                return 0;
            return ChildId(id, direction == NAVDIR_FIRSTCHILD ? 1 : n);
        }
        case NAVDIR_NEXT:
        case NAVDIR_PREVIOUS: {
            if (id == CHILDID_SELF)
                return 0;
            const LONG parent = ParentId(id);
            const LONG index = IndexOf(id) + (direction == NAVDIR_NEXT ? 1 : -1);
            return index >= 1 && index <= ChildCount(parent) ? ChildId(parent, index) : 0;
        }
        case NAVDIR_UP:
        case NAVDIR_DOWN:
        case NAVDIR_LEFT:
        case NAVDIR_RIGHT: {
            if (!IsCell(id))
                return 0;
            int row = RowOf(id);
            int col = ColOf(id);
            row += direction == NAVDIR_DOWN ? 1 : direction == NAVDIR_UP ? -1 : 0;
            col += direction == NAVDIR_RIGHT ? 1 : direction == NAVDIR_LEFT ? -1 : 0;
            if (row < 1 || row > kCells || col < 1 || col > kCells)
                return 0;
            return CBoardAccessibility::CellId(row, col);
        }
        default:
            return -1;
        }
    }

    LONG m_nRefs = 1;
    std::shared_ptr<const CLink> m_pLink;
    LONG m_id;
};

}  // namespace

CBoardAccessibility::CBoardAccessibility() : m_pLink(std::make_shared<CLink>())
{
    m_partNames[kBoardId] = TXT_READ_BOARD;
}

CBoardAccessibility::~CBoardAccessibility()
{
    Disconnect();
}

void CBoardAccessibility::Connect(HWND hWnd, const CClientArea& client)
{
    m_pLink->hWnd = hWnd;
    m_pLink->pClient = &client;
}

void CBoardAccessibility::Disconnect()
{
    *m_pLink = CLink{};
    if (m_bComStarted) {
        m_bComStarted = false;
        CoUninitialize();
    }
}

LRESULT CBoardAccessibility::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    // The id comes as a DWORD, widened without its sign.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || !m_pLink->hWnd)
        return 0;
    // Handing an object out marshals it; COM starts with the first client
    // that asks, so a game nobody reads never starts it.
    if (!m_bComStarted)
        m_bComStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IAccessible* pClient = new CPartObject(m_pLink, CHILDID_SELF);
    const LRESULT result = LresultFromObject(kIidAccessible, wParam, pClient);
    pClient->Release();
    // Should it fail the system's own client object stands in.
    return result > 0 ? result : 0;
}

void CBoardAccessibility::OnReadingChanged(const CBoardReader& reader)
{
    m_pLink->pReader = &reader;
    const HWND hWnd = m_pLink->hWnd;
    // A hidden window has nobody listening; what it shows is told once it
    // changes after the window is back.
    const bool bTell = hWnd && IsWindowVisible(hWnd);
    const auto tell = [hWnd, bTell](std::string& told, std::string name, LONG id, bool bAlways) {
        if (name == told && !bAlways)
            return;
        told = std::move(name);
        if (bTell)
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hWnd, OBJID_CLIENT, id);
    };
    for (int row = 1; row <= kCells; ++row)
        for (int col = 1; col <= kCells; ++col)
            tell(m_cellNames[(row - 1) * kCells + col - 1], reader.CellName(row, col),
                 CellId(row, col), false);
    tell(m_partNames[kBallsId], reader.BallsName(), kBallsId, false);
    tell(m_partNames[kPreviewId], reader.PreviewName(), kPreviewId, false);
    tell(m_partNames[kScoreId], reader.ScoreName(), kScoreId, false);
    // The same outcome twice (no way there, twice) is said twice.
    const bool bNewOutcome = reader.OutcomeCount() != m_nOutcomes;
    m_nOutcomes = reader.OutcomeCount();
    tell(m_partNames[kOutcomeId], reader.Outcome(), kOutcomeId,
         bNewOutcome && !reader.Outcome().empty());

    if (reader.FocusRow() == m_focusRow && reader.FocusCol() == m_focusCol)
        return;
    const bool bWasShown = m_focusRow != 0;
    m_focusRow = reader.FocusRow();
    m_focusCol = reader.FocusCol();
    if (!bTell)
        return;
    if (m_focusRow != 0)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, hWnd, OBJID_CLIENT, CellId(m_focusRow, m_focusCol));
    else if (bWasShown && GetFocus() == hWnd)
        // The mouse took the focus frame away: the focus is the client
        // area's again, as accFocus now says.
        NotifyWinEvent(EVENT_OBJECT_FOCUS, hWnd, OBJID_CLIENT, CHILDID_SELF);
}
