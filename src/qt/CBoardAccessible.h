// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleWidget>
#include <QString>
#include <array>
#include <string>

class CBoardReader;
class CClientWidget;
class CPartAccessible;

// The client area as a screen reader sees it through Qt's accessibility
// (AT-SPI on Linux): a table of 9 x 9 cells, the two counters and the
// preview with their values, and a status line with what the last input
// did, all named by CBoardReader. The keyboard's focus cell is the
// accessible focus. The parts that are not widgets are made once, with the
// client area's interface, and registered with Qt, which owns them from
// then on and hands them to clients by id.
class CClientAccessible : public QAccessibleWidget {
public:
    explicit CClientAccessible(CClientWidget* pWidget);
    ~CClientAccessible() override;

    // Qt's factory: an interface for the client area, none for the rest.
    static QAccessibleInterface* Create(const QString& className, QObject* pObject);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* pChild) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // Takes what changed since the last call (names of cells, counters and
    // preview, a new outcome, the focus cell) and tells Qt's clients of it.
    void Update(bool bTell = true);

    CClientWidget* Widget() const;
    // The reader the client area was last given; null before.
    const CBoardReader* Reader() const;

private:
    enum Part { Board, Balls, Preview, Score, Outcome, PartCount };
    static constexpr int kCells = 81;

    std::array<CPartAccessible*, PartCount> m_parts{};
    std::array<CPartAccessible*, kCells> m_cells{};
    std::array<QAccessible::Id, PartCount + kCells> m_ids{};
    // What clients were last told.
    std::array<std::string, PartCount + kCells> m_names;
    int m_nOutcomes = 0;
    int m_focusRow = 0;
    int m_focusCol = 0;

    friend class CPartAccessible;
    friend class CBoardTableAccessible;
};
