// SPDX-License-Identifier: MIT
#include "CBoardAccessible.h"

#include <QAccessibleTableInterface>
#include <QPointer>
#include <QWindow>

#include "CBoardGeometry.h"
#include "CBoardReader.h"
#include "CClientWidget.h"
#include "CGameView.h"
#include "Texts.h"

namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

QRect ClientRect(const CRect& rc)
{
    return QRect(QPoint(rc.left, rc.top), QPoint(rc.right, rc.bottom));
}

QRect CellRect(int row, int col)
{
    return QRect(CBoardGeometry::SquareLeft(col), CBoardGeometry::SquareTop(row),
                 CBoardGeometry::kSquare, CBoardGeometry::kSquare);
}

}  // namespace

// One part of the client area that is no widget of its own: a cell, the
// board, a counter, the preview or the status line. It lives as long as
// Qt keeps it, and may outlive the client area: then it is no longer valid.
class CPartAccessible : public QAccessibleInterface {
public:
    CPartAccessible(CClientWidget* pWidget, QAccessible::Role role, QRect rc)
        : m_pWidget(pWidget), m_role(role), m_rc(rc)
    {
    }

    bool isValid() const override { return !m_pWidget.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return m_pWidget ? m_pWidget->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return m_pWidget ? QAccessible::queryAccessibleInterface(m_pWidget.data()) : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && m_pWidget ? FromUtf8(m_name) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!m_pWidget)
            return QRect();
        return QRect(m_pWidget->mapToGlobal(m_rc.topLeft()), m_rc.size());
    }
    QAccessible::Role role() const override { return m_role; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        if (!m_pWidget || !m_pWidget->isVisible())
            state.invisible = true;
        return state;
    }

    void SetName(const std::string& name) { m_name = name; }

protected:
    CClientAccessible* Client() const
    {
        return m_pWidget ? static_cast<CClientAccessible*>(
                               QAccessible::queryAccessibleInterface(m_pWidget.data()))
                         : nullptr;
    }

    QPointer<CClientWidget> m_pWidget;

private:
    QAccessible::Role m_role;
    QRect m_rc;
    std::string m_name;
};

// A square of the board: named by its place and content, focusable, the
// focus while the keyboard's frame is on it.
class CCellAccessible : public CPartAccessible, public QAccessibleTableCellInterface {
public:
    CCellAccessible(CClientWidget* pWidget, int row, int col)
        : CPartAccessible(pWidget, QAccessible::Cell, CellRect(row, col)), m_row(row), m_col(col)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = CPartAccessible::state();
        state.focusable = true;
        const CBoardReader* pReader = Reader();
        if (pReader && pReader->FocusRow() == m_row && pReader->FocusCol() == m_col)
            state.focused = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_col - 1; }
    int rowIndex() const override { return m_row - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override
    {
        const CClientAccessible* pClient = Client();
        return pClient ? pClient->child(0) : nullptr;
    }
    QAccessibleInterface* parent() const override { return table(); }

private:
    const CBoardReader* Reader() const
    {
        const CClientAccessible* pClient = Client();
        return pClient ? pClient->Reader() : nullptr;
    }

    int m_row;
    int m_col;
};

// The board: a table of 9 x 9 cells, row by row.
class CBoardTableAccessible : public CPartAccessible, public QAccessibleTableInterface {
public:
    CBoardTableAccessible(CClientWidget* pWidget, const CClientAccessible& client)
        : CPartAccessible(pWidget, QAccessible::Table,
                          QRect(CBoardGeometry::kLeft, CBoardGeometry::kTop,
                                CBoardGeometry::kCells * CBoardGeometry::kSquare,
                                CBoardGeometry::kCells * CBoardGeometry::kSquare)),
          m_client(client)
    {
        SetName(TXT_READ_BOARD);
    }

    QAccessibleInterface* child(int index) const override
    {
        return index >= 0 && index < CClientAccessible::kCells && isValid() ? m_client.m_cells[index]
                                                                             : nullptr;
    }
    int childCount() const override { return CClientAccessible::kCells; }
    int indexOfChild(const QAccessibleInterface* pChild) const override
    {
        for (int i = 0; i < CClientAccessible::kCells; ++i)
            if (m_client.m_cells[i] == pChild)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (!m_pWidget)
            return nullptr;
        const QPoint at = m_pWidget->mapFromGlobal(QPoint(x, y));
        int row = 0;
        int col = 0;
        return CBoardGeometry::CellAt(at.x(), at.y(), row, col) ? cellAt(row - 1, col - 1) : nullptr;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = CPartAccessible::state();
        state.focusable = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        const int cells = CBoardGeometry::kCells;
        return row >= 0 && row < cells && column >= 0 && column < cells ? child(row * cells + column)
                                                                        : nullptr;
    }
    int columnCount() const override { return CBoardGeometry::kCells; }
    int rowCount() const override { return CBoardGeometry::kCells; }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return QString(); }
    QString rowDescription(int) const override { return QString(); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    const CClientAccessible& m_client;
};

CClientAccessible::CClientAccessible(CClientWidget* pWidget)
    : QAccessibleWidget(pWidget, QAccessible::Client)
{
    m_parts[Board] = new CBoardTableAccessible(pWidget, *this);
    m_parts[Balls] = new CPartAccessible(pWidget, QAccessible::StaticText,
                                         ClientRect(CGameView::kBallsRect));
    m_parts[Preview] = new CPartAccessible(pWidget, QAccessible::StaticText,
                                           ClientRect(CGameView::kPreviewRect));
    m_parts[Score] = new CPartAccessible(pWidget, QAccessible::StaticText,
                                         ClientRect(CGameView::kScoreRect));
    m_parts[Outcome] = new CPartAccessible(pWidget, QAccessible::StatusBar,
                                           QRect(0, 0, pWidget->width(), pWidget->height()));
    for (int i = 0; i < kCells; ++i)
        m_cells[i] = new CCellAccessible(pWidget, i / CBoardGeometry::kCells + 1,
                                         i % CBoardGeometry::kCells + 1);
    for (int i = 0; i < PartCount; ++i)
        m_ids[i] = QAccessible::registerAccessibleInterface(m_parts[i]);
    for (int i = 0; i < kCells; ++i)
        m_ids[PartCount + i] = QAccessible::registerAccessibleInterface(m_cells[i]);
    m_names[Board] = TXT_READ_BOARD;
    // Not told: Qt is still making this interface, and a client that asks
    // for it now finds it with these names.
    Update(false);
}

CClientAccessible::~CClientAccessible()
{
    // Qt deletes what is registered; the parts go with the client area.
    for (QAccessible::Id id : m_ids)
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* CClientAccessible::Create(const QString&, QObject* pObject)
{
    auto* pWidget = qobject_cast<CClientWidget*>(pObject);
    return pWidget ? new CClientAccessible(pWidget) : nullptr;
}

CClientWidget* CClientAccessible::Widget() const
{
    return static_cast<CClientWidget*>(widget());
}

const CBoardReader* CClientAccessible::Reader() const
{
    return Widget()->Reader();
}

int CClientAccessible::childCount() const
{
    return PartCount;
}

QAccessibleInterface* CClientAccessible::child(int index) const
{
    return index >= 0 && index < PartCount ? m_parts[index] : nullptr;
}

int CClientAccessible::indexOfChild(const QAccessibleInterface* pChild) const
{
    for (int i = 0; i < PartCount; ++i)
        if (m_parts[i] == pChild)
            return i;
    return -1;
}

QAccessibleInterface* CClientAccessible::childAt(int x, int y) const
{
    for (int i = 0; i < PartCount; ++i)
        if (i != Outcome && m_parts[i]->rect().contains(x, y))
            return m_parts[i];
    return nullptr;
}

QAccessibleInterface* CClientAccessible::focusChild() const
{
    const CBoardReader* pReader = Reader();
    if (!pReader || pReader->FocusRow() == 0)
        return nullptr;
    return m_cells[(pReader->FocusRow() - 1) * CBoardGeometry::kCells + pReader->FocusCol() - 1];
}

void CClientAccessible::Update(bool bTell)
{
    const CBoardReader* pReader = Reader();
    if (!pReader)
        return;
    const auto tell = [this, bTell](int index, CPartAccessible* pPart, const std::string& name,
                                    bool bAlways) {
        if (name == m_names[index] && !bAlways)
            return;
        m_names[index] = name;
        pPart->SetName(name);
        if (!bTell)
            return;
        QAccessibleEvent event(pPart, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    };
    for (int i = 0; i < kCells; ++i)
        tell(PartCount + i, m_cells[i],
             pReader->CellName(i / CBoardGeometry::kCells + 1, i % CBoardGeometry::kCells + 1),
             false);
    tell(Balls, m_parts[Balls], pReader->BallsName(), false);
    tell(Preview, m_parts[Preview], pReader->PreviewName(), false);
    tell(Score, m_parts[Score], pReader->ScoreName(), false);
    // The same outcome twice (no way there, twice) is said twice.
    const bool bNewOutcome = pReader->OutcomeCount() != m_nOutcomes;
    m_nOutcomes = pReader->OutcomeCount();
    tell(Outcome, m_parts[Outcome], pReader->Outcome(), bNewOutcome && !pReader->Outcome().empty());

    if (pReader->FocusRow() != m_focusRow || pReader->FocusCol() != m_focusCol) {
        m_focusRow = pReader->FocusRow();
        m_focusCol = pReader->FocusCol();
        QAccessibleInterface* pFocus = focusChild();
        if (pFocus && bTell) {
            QAccessibleEvent event(pFocus, QAccessible::Focus);
            QAccessible::updateAccessibility(&event);
        }
    }
}
