// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "CBoardGeometry.h"

class CGameSession;

// The client area in words, for a screen reader, in UTF-8: each cell by its
// place and content ("第3行第5列，红球"), the two counters and the preview
// with their values, the keyboard's focus cell, and what the player's last
// input did ("红球从第1行第1列移到第9行第9列。落下：..."). Each shell
// shows these through its platform's accessibility interfaces; the texts
// are decided here, once.
//
//     CBoardReader reader(session);
//     reader.Begin(9, 9);             // a click on row 9, column 9 follows
//     session.Game().OnClick(...);
//     tell(reader.End());             // "", or what the click did
class CBoardReader {
public:
    explicit CBoardReader(const CGameSession& session);

    std::string CellName(int row, int col) const;
    std::string BallsName() const;
    std::string ScoreName() const;
    std::string PreviewName() const;
    // The keyboard's focus cell, or row 0 while no focus is shown.
    int FocusRow() const;
    int FocusCol() const;
    // A colour's name ("红球"); empty for no colour.
    static std::string BallName(std::uint8_t colour);

    // Before an input acts on the game: the state that End compares with,
    // and the cell the input aims at (row 0 for none: a right click, a key
    // that only moves the focus, a command).
    void Begin(int row = 0, int col = 0);
    // After it: what changed, in sentences, which Outcome() keeps until the
    // next input that changes something; empty when nothing changed.
    std::string End();
    const std::string& Outcome() const { return m_outcome; }
    // How many outcomes have been told: a new one may say what the last said.
    int OutcomeCount() const { return m_nOutcomes; }
    // A new game: nothing has been done in it yet.
    void Clear()
    {
        Begin();
        m_outcome.clear();
    }

private:
    struct CState {
        std::uint8_t cells[CBoardGeometry::kCells][CBoardGeometry::kCells];
        int balls, score, count;
        bool selected;
        int selRow, selCol;
        std::uint8_t At(int row, int col) const { return cells[row - 1][col - 1]; }
    };
    CState Now() const;

    const CGameSession& m_session;
    CState m_before{};
    int m_targetRow = 0;
    int m_targetCol = 0;
    std::string m_outcome;
    int m_nOutcomes = 0;
};
