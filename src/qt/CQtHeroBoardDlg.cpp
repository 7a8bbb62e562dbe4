// SPDX-License-Identifier: MIT
#include "CQtHeroBoardDlg.h"

#include <QKeyEvent>
#include <QLabel>

#include "CDialogLayout.h"
#include "CGbk.h"
#include "CHeroList.h"

namespace {

QString RowName(const char* pColumn, int nRow)
{
    return QString::fromLatin1(pColumn) + QString::number(nRow);
}

}  // namespace

CQtHeroBoardDlg::CQtHeroBoardDlg(const CHeroList& heroes, QWidget* pParent) : QDialog(pParent)
{
    static_assert(kRows == CHeroList::kMaxRecords, "one row per place");
    const CDialogControls controls = CDialogLayout().Build(*this, QtUi::kHeroBoard);
    for (int r = 0; r < kRows; ++r) {
        m_apName[r] = controls.Get<QLabel>(IDC_HERO_NAME0 + r);
        m_apScore[r] = controls.Get<QLabel>(IDC_HERO_SCORE0 + r);
        m_apBalls[r] = controls.Get<QLabel>(IDC_HERO_BALLS0 + r);
        m_apName[r]->setObjectName(RowName("name", r));
        m_apScore[r]->setObjectName(RowName("score", r));
        m_apBalls[r]->setObjectName(RowName("balls", r));
    }
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
