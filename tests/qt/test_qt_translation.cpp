// SPDX-License-Identifier: MIT
// Qt's own texts, such as a line edit's context menu, speak Chinese like the
// rest of the game.

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <memory>

#include "AppTestSupport.h"
#include "CQtNewHeroDlg.h"

namespace {

bool IsChinese(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF)
            return true;
    }
    return false;
}

TEST(QtTranslationTest, NameBoxContextMenuIsChinese)
{
    CQtNewHeroDlg dlg;
    QLineEdit* pEdit = dlg.findChild<QLineEdit*>(QStringLiteral("IDC_NAME"));
    ASSERT_NE(pEdit, nullptr);
    const std::unique_ptr<QMenu> pMenu(pEdit->createStandardContextMenu());
    int nItems = 0;
    for (const QAction* pAction : pMenu->actions()) {
        if (pAction->isSeparator())
            continue;
        ++nItems;
        EXPECT_TRUE(IsChinese(pAction->text())) << pAction->text().toStdString();
    }
    // Undo, redo, cut, copy, paste, delete, select all.
    EXPECT_GE(nItems, 7);
}

TEST(QtTranslationTest, StandardButtonsAreChinese)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Orvo"), QString(),
                    QMessageBox::Ok | QMessageBox::Cancel);
    for (QMessageBox::StandardButton which : {QMessageBox::Ok, QMessageBox::Cancel})
        EXPECT_TRUE(IsChinese(box.button(which)->text())) << box.button(which)->text().toStdString();
}

}  // namespace
