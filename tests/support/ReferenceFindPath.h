// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

using Walk = std::vector<std::pair<int, int>>;

// The search as first designed, transcribed step by step: one heap record
// per queued cell, repeats included, a cell marked when it is expanded. The
// engine's search must find exactly the walk this one finds.
struct PathNode {
    unsigned char row, col;
    PathNode* pParent;
    PathNode* pNext;
};

inline bool ReferenceFindPath(std::uint8_t board[11][11], int selRow, int selCol, int row, int col,
                       Walk& walk, long& records)
{
    static const int dirs[4][2] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};
    PathNode* first = new PathNode{static_cast<unsigned char>(row),
                                   static_cast<unsigned char>(col), nullptr, nullptr};
    PathNode* tail = first;
    PathNode* current = first;
    records = 1;
    bool found = false;
    while (current && !found) {
        for (const auto& d : dirs) {
            const int r = current->row + d[0], c = current->col + d[1];
            if (r == selRow && c == selCol) {
                found = true;
                break;
            }
            if (board[r][c] == 0) {
                auto* node = new PathNode{static_cast<unsigned char>(r),
                                          static_cast<unsigned char>(c), current, nullptr};
                tail->pNext = node;
                tail = node;
                ++records;
            }
        }
        if (found)
            break;
        board[current->row][current->col] = 0x80;
        current = current->pNext;
    }
    if (found) {
        walk.assign(1, {selRow, selCol});
        for (PathNode* p = current; p; p = p->pParent)
            walk.emplace_back(p->row, p->col);
    }
    for (PathNode* p = first; p;) {
        PathNode* next = p->pNext;
        delete p;
        p = next;
    }
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c)
            if (board[r][c] == 0x80)
                board[r][c] = 0;
    return found;
}
