// SPDX-License-Identifier: MIT
#include "CQtHeroBoardDlg.h"

#include <QKeyEvent>
#include <QLabel>

#include "CDialogLayout.h"
#include "CGbk.h"
#include "CHeroList.h"
#include "Texts.h"

namespace {

const int kRowPitch = 10;

QString RowName(const char* pColumn, int nRow)
{
    return QString::fromLatin1(pColumn) + QString::number(nRow);
}

}  // namespace

CQtHeroBoardDlg::CQtHeroBoardDlg(const CHeroList& heroes, QWidget* pParent) : QDialog(pParent)
{
    static_assert(kRows == CHeroList::kMaxRecords, "one row per place");
    const CDialogLayout layout;
    layout.SetUpDialog(*this, QString::fromUtf8(TXT_HERO_BOARD_CAPTION), 225, 125);
    AddHeadings(layout);
    AddRows(layout);
    FillRows(heroes);
}

int CQtHeroBoardDlg::DoModal()
{
    return exec();
}

void CQtHeroBoardDlg::keyPressEvent(QKeyEvent* pEvent)
{
    const bool bEnter = pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
    if (bEnter && (pEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

void CQtHeroBoardDlg::AddHeadings(const CDialogLayout& layout)
{
    // Made first, so that everything else lies on top of the frame.
    layout.AddEtched(*this, 0, 0, 225, 125);
    layout.AddText(*this, QString::fromUtf8(TXT_HERO_BOARD_RANK), 10, 5, 20, 8, Qt::AlignHCenter);
    layout.AddText(*this, QString::fromUtf8(TXT_HERO_BOARD_NAME), 45, 5, 85, 8, Qt::AlignLeft);
    layout.AddText(*this, QString::fromUtf8(TXT_HERO_BOARD_SCORE), 145, 5, 25, 8, Qt::AlignRight);
    layout.AddText(*this, QString::fromUtf8(TXT_HERO_BOARD_BALLS), 195, 5, 20, 8, Qt::AlignRight);
    layout.AddEtched(*this, 5, 15, 215, 1);
}

void CQtHeroBoardDlg::AddRows(const CDialogLayout& layout)
{
    const QString nameDots = QString::fromUtf8(TXT_HERO_BOARD_NO_NAME);
    const QString numberDots = QString::fromUtf8(TXT_HERO_BOARD_NO_NUMBER);
    for (int r = 0; r < kRows; ++r) {
        // Score and balls sit one unit above the rank and the name.
        const int y = 21 + kRowPitch * r;
        layout.AddText(*this, QString::number(r + 1), 10, y, 20, 8, Qt::AlignHCenter);
        m_apName[r] = layout.AddText(*this, nameDots, 45, y, 85, 8, Qt::AlignLeft);
        m_apScore[r] = layout.AddText(*this, numberDots, 145, y - 1, 25, 8, Qt::AlignRight);
        m_apBalls[r] = layout.AddText(*this, numberDots, 190, y - 1, 25, 8, Qt::AlignRight);
        m_apName[r]->setObjectName(RowName("name", r));
        m_apScore[r]->setObjectName(RowName("score", r));
        m_apBalls[r]->setObjectName(RowName("balls", r));
    }
}

void CQtHeroBoardDlg::FillRows(const CHeroList& heroes)
{
    int r = 0;
    for (const auto& pRecord : heroes.Records()) {
        if (r == kRows)
            break;
        m_apName[r]->setText(QString::fromStdString(CGbk::GbkToUtf8(pRecord->GetName())));
        m_apScore[r]->setText(QString::number(pRecord->GetScore()));
        m_apBalls[r]->setText(QString::number(pRecord->GetBalls()));
        ++r;
    }
}
