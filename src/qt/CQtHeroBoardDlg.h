// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <array>

class CHeroList;
class QKeyEvent;
class QLabel;

// The hero board: the top-ten list as it stands when the board opens, one
// row per place; places without a record keep their dots.
class CQtHeroBoardDlg : public QDialog {
    Q_OBJECT

public:
    explicit CQtHeroBoardDlg(const CHeroList& heroes, QWidget* pParent = nullptr);

    int DoModal();

protected:
    // With no buttons, Enter closes the board as OK would.
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    static constexpr int kRows = 10;

    void FillRows(const CHeroList& heroes);

    std::array<QLabel*, kRows> m_apName{};
    std::array<QLabel*, kRows> m_apScore{};
    std::array<QLabel*, kRows> m_apBalls{};
};
