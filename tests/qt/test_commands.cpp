// SPDX-License-Identifier: MIT
// The menu, its keys and the commands behind them: sound switch and its
// setting, the dialogs, exit, and the end-of-game dialogs a move can open.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "CBoardGeometry.h"
#include "AppTestSupport.h"
#include "EndOfGame.h"
#include "CQtAboutDlg.h"
#include "CQtHeroBoardDlg.h"
#include "CQtNewHeroDlg.h"
#include "CQtRulesDlg.h"
#include "Texts.h"

namespace {

struct MenuEntry {
    const char* pText;  // nullptr: a separator
    QKeySequence key;
    bool bCheckable;
};

void ExpectMenu(QMenu* pMenu, const std::vector<MenuEntry>& expected)
{
    const QList<QAction*> actions = pMenu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size())) << pMenu->title().toStdString();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QAction* pAction = actions[static_cast<qsizetype>(i)];
        SCOPED_TRACE(i);
        if (!expected[i].pText) {
            EXPECT_TRUE(pAction->isSeparator());
            continue;
        }
        EXPECT_EQ(pAction->text(), QString::fromUtf8(expected[i].pText));
        EXPECT_EQ(pAction->shortcut(), expected[i].key);
        EXPECT_EQ(pAction->isCheckable(), expected[i].bCheckable);
    }
}

QMenu* GameMenu(CQtMainFrame& frame)
{
    return frame.menuBar()->actions().at(0)->menu();
}

QAction* Command(CQtMainFrame& frame, const char* pId)
{
    return frame.findChild<QAction*>(pId);
}

// What the game menu's check mark shows when the menu opens.
bool SoundCheckShown(CQtMainFrame& frame)
{
    Q_EMIT GameMenu(frame)->aboutToShow();
    return Command(frame, "ID_GAME_SOUND")->isChecked();
}

TEST(CommandsTest, MenuHasTheTwoPopUpsWithTheirItemsKeysAndSeparators)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    const QList<QAction*> popUps = started.Frame().menuBar()->actions();
    ASSERT_EQ(popUps.size(), 2);
    EXPECT_EQ(popUps[0]->text(), QString::fromUtf8("游戏(&G)"));
    EXPECT_EQ(popUps[1]->text(), QString::fromUtf8("帮助(&H)"));

    ExpectMenu(popUps[0]->menu(), {
                                      {"开始(&N)", QKeySequence(Qt::Key_F2), false},
                                      {nullptr, {}, false},
                                      {"得分(&C)...", QKeySequence(Qt::Key_F3), false},
                                      {"声音(&S)", QKeySequence(Qt::Key_F4), true},
                                      {nullptr, {}, false},
                                      {"退出(&X)", {}, false},
                                  });
    // The instructions show no key, although F1 opens them.
    ExpectMenu(popUps[1]->menu(), {
                                      {"游戏说明(&G)", {}, false},
                                      {nullptr, {}, false},
                                      {"关于Orvo(&A)", {}, false},
                                  });
}

TEST(CommandsTest, SoundSwitchStartsFromTheSettingsFile)
{
    struct Case {
        const char* pIni;  // nullptr: no file at all
        bool bOn;
    };
    const Case cases[] = {
        {nullptr, false},
        {"[CONFIG]\nPlaySound=1\n", true},
        {"[CONFIG]\nPlaySound=7\n", true},
        {"[CONFIG]\nPlaySound=0\n", false},
        {"[CONFIG]\nPlaySound=on\n", false},
        {"[CONFIG]\n", false},
        {"[OTHER]\nPlaySound=1\n", false},
        {"[config]\nplaysound=1\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pIni ? c.pIni : "no file");
        CStartedApp started(c.pIni ? QByteArray(c.pIni) : QByteArray());
        ASSERT_TRUE(started.Started());
        EXPECT_EQ(started.Game().IsSoundOn(), c.bOn);
        EXPECT_EQ(SoundCheckShown(started.Frame()), c.bOn);
    }
}

TEST(CommandsTest, F4TogglesTheSoundAndWritesItAtOnce)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    ASSERT_TRUE(started.Activate());

    QTest::keyClick(&started.Frame(), Qt::Key_F4);
    EXPECT_TRUE(started.Game().IsSoundOn());
    EXPECT_TRUE(SoundCheckShown(started.Frame()));
    EXPECT_EQ(started.IniText(), "[CONFIG]\nPlaySound=1\n");

    QTest::keyClick(&started.Frame(), Qt::Key_F4);
    EXPECT_FALSE(started.Game().IsSoundOn());
    EXPECT_FALSE(SoundCheckShown(started.Frame()));
    EXPECT_EQ(started.IniText(), "[CONFIG]\nPlaySound=0\n");

    // The menu item does the same.
    Command(started.Frame(), "ID_GAME_SOUND")->trigger();
    EXPECT_TRUE(started.Game().IsSoundOn());
    EXPECT_EQ(started.IniText(), "[CONFIG]\nPlaySound=1\n");
}

// The pixels of the sound item's check column that differ from the same
// column of an item that cannot be checked, as the open menu shows them.
std::vector<QPoint> SoundMarkPixels(CQtMainFrame& frame)
{
    QMenu* pMenu = GameMenu(frame);
    Q_EMIT pMenu->aboutToShow();
    const QImage shown = pMenu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect sound = pMenu->actionGeometry(Command(frame, "ID_GAME_SOUND"));
    const QRect plain = pMenu->actionGeometry(Command(frame, "ID_GAME_HEROES"));
    // The column left of the text, wherever the style puts the text.
    const int nColumn = pMenu->fontMetrics().height() + 12;
    std::vector<QPoint> differing;
    for (int y = 0; y < std::min(sound.height(), plain.height()); ++y)
        for (int x = 0; x < nColumn; ++x)
            if (shown.pixel(sound.x() + x, sound.y() + y) != shown.pixel(plain.x() + x, plain.y() + y))
                differing.emplace_back(x, y);
    return differing;
}

// The longest straight run of pixels in a row or a column: a box's sides
// are long, a check mark's strokes are short.
int LongestRun(const std::vector<QPoint>& pixels)
{
    int nLongest = 0;
    for (const QPoint& p : pixels) {
        for (const QPoint step : {QPoint(1, 0), QPoint(0, 1)}) {
            int n = 1;
            while (std::find(pixels.begin(), pixels.end(), p + step * n) != pixels.end())
                ++n;
            nLongest = std::max(nLongest, n);
        }
    }
    return nLongest;
}

TEST(CommandsTest, SoundItemShowsACheckMarkWhenOnAndNothingWhenOff)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    EXPECT_TRUE(SoundMarkPixels(started.Frame()).empty()) << "something shows beside the item while off";

    Command(started.Frame(), "ID_GAME_SOUND")->trigger();
    const std::vector<QPoint> mark = SoundMarkPixels(started.Frame());
    EXPECT_GE(mark.size(), 10u) << "no check mark while on";
    EXPECT_LE(LongestRun(mark), 8) << "a box, not a check mark";
}

TEST(CommandsTest, SoundToggleKeepsTheRestOfTheFile)
{
    CStartedApp started("[TOPTEN]\nHero0=ABC\n[CONFIG]\nPlaySound=7\n");
    ASSERT_TRUE(started.Started());
    started.App().Controller().OnGameSound();
    EXPECT_FALSE(started.Game().IsSoundOn());
    EXPECT_TRUE(started.IniText().startsWith("[TOPTEN]\nHero0=ABC\n"));
    EXPECT_TRUE(started.IniText().endsWith("[CONFIG]\nPlaySound=0\n"));
}

TEST(CommandsTest, SoundToggleTakesEffectWhenTheFileCannotBeWritten)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    // The folder goes away under the running game: the switch still holds
    // for this run, and one box says it could not be kept.
    QDir(QFileInfo(started.IniPath()).absolutePath()).removeRecursively();
    {
        CModalScript script({[&](QWidget* pModal) {
            auto* pBox = qobject_cast<QMessageBox*>(pModal);
            ASSERT_NE(pBox, nullptr);
            EXPECT_EQ(pBox->icon(), QMessageBox::Warning);
            EXPECT_TRUE(pBox->text().startsWith(QString::fromUtf8(TXT_SOUND_SAVE_FAILED)))
                << pBox->text().toStdString();
            pBox->buttons().front()->click();
        }});
        started.App().Controller().OnGameSound();
    }
    EXPECT_TRUE(started.Game().IsSoundOn());
    EXPECT_TRUE(SoundCheckShown(started.Frame()));
    EXPECT_FALSE(QFile::exists(started.IniPath()));
}

TEST(CommandsTest, CommandsOpenTheirDialogsOverTheMainWindow)
{
    CStartedApp started("[TOPTEN]\n");
    ASSERT_TRUE(started.Started());
    ASSERT_TRUE(started.Activate());
    CQtMainFrame& frame = started.Frame();

    struct Case {
        const char* pName;
        std::function<void()> open;
        std::function<bool(QWidget*)> isExpected;
    };
    const Case cases[] = {
        {"F3", [&] { QTest::keyClick(&frame, Qt::Key_F3); },
         [](QWidget* p) { return qobject_cast<CQtHeroBoardDlg*>(p) != nullptr; }},
        {"F1", [&] { QTest::keyClick(&frame, Qt::Key_F1); },
         [](QWidget* p) {
             auto* pDlg = qobject_cast<CQtRulesDlg*>(p);
             return pDlg && pDlg->m_strText == TXT_RULES;
         }},
        {"ID_HELP_RULES", [&] { Command(frame, "ID_HELP_RULES")->trigger(); },
         [](QWidget* p) { return qobject_cast<CQtRulesDlg*>(p) != nullptr; }},
        {"ID_GAME_HEROES", [&] { Command(frame, "ID_GAME_HEROES")->trigger(); },
         [](QWidget* p) { return qobject_cast<CQtHeroBoardDlg*>(p) != nullptr; }},
        {"ID_APP_ABOUT", [&] { Command(frame, "ID_APP_ABOUT")->trigger(); },
         [](QWidget* p) { return qobject_cast<CQtAboutDlg*>(p) != nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pName);
        bool bSeen = false;
        {
            CModalScript script({[&](QWidget* pModal) {
                bSeen = true;
                EXPECT_TRUE(c.isExpected(pModal)) << pModal->metaObject()->className();
                EXPECT_EQ(pModal->parentWidget(), &frame);
                qobject_cast<QDialog*>(pModal)->accept();
            }});
            c.open();
        }
        EXPECT_TRUE(bSeen);
        ASSERT_TRUE(started.Activate());
    }
}

TEST(CommandsTest, ExitClosesAndDeletesTheMainWindow)
{
    CStartedApp started;
    ASSERT_TRUE(started.Started());
    QPointer<CQtMainFrame> pFrame = &started.Frame();
    Command(*pFrame, "ID_APP_EXIT")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pFrame.isNull(); }, 2000));
    EXPECT_EQ(started.App().MainFrame(), nullptr);
}

// The real dialogs and boxes of a game's end, on a board one move from full.
class GameEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_started.Started());
        m_started.Game().SetPosition(OneMoveFromAFullBoard().data());
    }

    // Makes the last move with the mouse. Returns once the move, and every
    // dialog it opened, is over.
    void FillTheBoard()
    {
        QWidget* pClient = m_started.Frame().ClientWidget();
        for (int col : kLastMoveColumns) {
            const QPoint pos(CBoardGeometry::CentreX(col), CBoardGeometry::CentreY(kLastMoveRow));
            QMouseEvent release(QEvent::MouseButtonRelease, pos, pClient->mapToGlobal(pos),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(pClient, &release);
        }
        ASSERT_EQ(m_started.Game().Count(), 81);
    }

    CStartedApp m_started{"[TOPTEN]\n"};
};

TEST_F(GameEndTest, AQualifyingResultAsksForANameAndKeepsIt)
{
    {
        CModalScript script({[](QWidget* pModal) {
            auto* pDlg = qobject_cast<CQtNewHeroDlg*>(pModal);
            ASSERT_NE(pDlg, nullptr);
            EXPECT_EQ(pDlg->m_strName, "Orvo");
            pDlg->findChild<QLineEdit*>()->setText("Ann");
            pDlg->accept();
        }});
        FillTheBoard();
    }
    ASSERT_EQ(m_started.App().Heroes().GetCount(), 1);
    EXPECT_EQ(m_started.App().Heroes().Records().front()->GetName(), "Ann");
    EXPECT_TRUE(m_started.IniText().contains("Hero0="));
}

TEST_F(GameEndTest, DecliningTheNameShowsTheGameOverNotice)
{
    {
        CModalScript script({
            [](QWidget* pModal) {
                ASSERT_NE(qobject_cast<CQtNewHeroDlg*>(pModal), nullptr);
                qobject_cast<QDialog*>(pModal)->reject();
            },
            [&](QWidget* pModal) {
                auto* pBox = qobject_cast<QMessageBox*>(pModal);
                ASSERT_NE(pBox, nullptr);
                EXPECT_EQ(pBox->windowTitle(), QString::fromUtf8("提示"));
                EXPECT_EQ(pBox->text(), QString::fromUtf8("游戏结束，请重新开始！"));
                EXPECT_EQ(pBox->icon(), QMessageBox::Information);
                EXPECT_EQ(pBox->parentWidget(), &m_started.Frame());
                ASSERT_EQ(pBox->buttons().size(), 1);
                EXPECT_EQ(pBox->buttons().front()->text(), QString::fromUtf8("确定"));
                pBox->buttons().front()->click();
            },
        });
        FillTheBoard();
    }
    EXPECT_EQ(m_started.App().Heroes().GetCount(), 0);
    EXPECT_EQ(m_started.IniText(), "[TOPTEN]\n");
}

// A save that fails is told, in one box after the name, and the list keeps
// the entry for this run; the file stays as it was.
TEST_F(GameEndTest, AFailedSaveIsReportedWithItsReason)
{
    QFile::setPermissions(m_started.IniPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    {
        CModalScript script({
            [](QWidget* pModal) {
                ASSERT_NE(qobject_cast<CQtNewHeroDlg*>(pModal), nullptr);
                qobject_cast<QDialog*>(pModal)->accept();
            },
            [&](QWidget* pModal) {
                auto* pBox = qobject_cast<QMessageBox*>(pModal);
                ASSERT_NE(pBox, nullptr);
                EXPECT_EQ(pBox->icon(), QMessageBox::Warning);
                EXPECT_EQ(pBox->parentWidget(), &m_started.Frame());
                const QStringList lines = pBox->text().split('\n');
                ASSERT_EQ(lines.size(), 2) << pBox->text().toStdString();
                EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("英雄板无法保存")));
                EXPECT_EQ(lines[1], QString::fromUtf8("设置文件是只读的。"));
                ASSERT_EQ(pBox->buttons().size(), 1);
                pBox->buttons().front()->click();
            },
        });
        FillTheBoard();
    }
    EXPECT_EQ(m_started.App().Heroes().GetCount(), 1);
    EXPECT_EQ(m_started.IniText(), "[TOPTEN]\n");
}

}  // namespace
