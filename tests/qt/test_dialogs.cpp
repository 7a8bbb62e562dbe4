// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "CQtAboutDlg.h"
#include "CDialogLayout.h"
#include "CGbk.h"
#include "CQtHeroBoardDlg.h"
#include "CHeroList.h"
#include "CQtNewHeroDlg.h"
#include "CQtRulesDlg.h"
#include "Texts.h"
#include "NamedCase.h"
#include "QtMenusAndDialogs.h"

namespace {

// Calls handle with the active modal window once one other than pNot is up
// and has the focus, which the platform hands over only after the window
// shows.
void WhenModalUp(QWidget* pNot, const std::function<void(QWidget*)>& handle, int nTries = 500)
{
    QWidget* pModal = QApplication::activeModalWidget();
    if (pModal && pModal != pNot && pModal->isActiveWindow()) {
        handle(pModal);
        return;
    }
    if (nTries == 0) {
        ADD_FAILURE() << "no modal window came up";
        handle(pModal);
        return;
    }
    QTimer::singleShot(10, [pNot, handle, nTries] { WhenModalUp(pNot, handle, nTries - 1); });
}

// Runs a modal dialog with script playing the user once it is up. Should the
// script leave it open (after a failed check), the watchdog closes whatever
// modal window remains, so the suite fails instead of hanging.
int RunModal(const std::function<int()>& doModal, const std::function<void()>& script)
{
    WhenModalUp(nullptr, [script](QWidget*) { script(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "a modal dialog was left open";
        while (auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            pDialog->reject();
    });
    watchdog.start(10000);
    return doModal();
}

void SendKey(QWidget* pTarget, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(pTarget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(pTarget, &release);
}

// One key press per character, as a keyboard would send them.
void Type(QWidget* pTarget, const QString& text)
{
    for (const char32_t ch : text.toUcs4())
        SendKey(pTarget, Qt::Key_unknown, QString::fromUcs4(&ch, 1));
}

// A phrase committed at once, as an input method does.
void Commit(QWidget* pTarget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(pTarget, &event);
}

std::string Gbk(const char* pUtf8)
{
    return CGbk::Utf8ToGbk(pUtf8).value();
}

// ---------------------------------------------------------------- name entry

class NewHeroDlgTest : public ::testing::Test {
protected:
    QLineEdit* Edit() const { return m_dlg.findChild<QLineEdit*>(QStringLiteral("IDC_NAME")); }
    QPushButton* Button(const char* pName) const
    {
        return m_dlg.findChild<QPushButton*>(QString::fromLatin1(pName));
    }
    int Run(const std::function<void()>& script)
    {
        return RunModal([this] { return m_dlg.DoModal(); }, script);
    }

    CQtNewHeroDlg m_dlg;
};

TEST_F(NewHeroDlgTest, OpensWithPresetSelectedAndFocusedSoTypingReplacesIt)
{
    m_dlg.m_strName = "Orvo";
    const int result = Run([this] {
        EXPECT_EQ(Edit()->text(), QStringLiteral("Orvo"));
        EXPECT_EQ(Edit()->selectedText(), QStringLiteral("Orvo"));
        EXPECT_EQ(QApplication::focusWidget(), Edit());
        Type(Edit(), QStringLiteral("王"));
        Button("IDOK")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(m_dlg.m_strName, "王");
}

struct SEntryCase {
    const char* name;
    const char* pPreset;  // UTF-8
    const char* pTyped;   // typed after clearing the edit, or nullptr to keep the preset
    bool bCommit;         // typed through an input method in one go
    const char* pShown;   // UTF-8
};

class NewHeroEntryTest : public NewHeroDlgTest, public ::testing::WithParamInterface<SEntryCase> {};

// The edit refuses a keystroke that would pass 12 GBK bytes; what it shows is
// returned on OK exactly, untrimmed, possibly empty.
TEST_P(NewHeroEntryTest, KeepsAtMostTwelveGbkBytesAndStoresThemExactly)
{
    const SEntryCase& c = GetParam();
    m_dlg.m_strName = c.pPreset;
    const int result = Run([this, &c] {
        if (c.pTyped) {
            SendKey(Edit(), Qt::Key_Backspace);  // the preset is selected
            if (c.bCommit)
                Commit(Edit(), QString::fromUtf8(c.pTyped));
            else
                Type(Edit(), QString::fromUtf8(c.pTyped));
        }
        EXPECT_EQ(Edit()->text(), QString::fromUtf8(c.pShown));
        Button("IDOK")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(m_dlg.m_strName, c.pShown);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NewHeroEntryTest,
    ::testing::Values(SEntryCase{"SevenChinese", "Orvo", "一二三四五六七", false, "一二三四五六"},
                      SEntryCase{"ThirteenAscii", "Orvo", "abcdefghijklm", false, "abcdefghijkl"},
                      SEntryCase{"OddByteLeft", "Orvo", "a一二三四五六", false, "a一二三四五"},
                      SEntryCase{"ExactlyTwelve", "Orvo", "一二三四五六", false, "一二三四五六"},
                      SEntryCase{"LongPhrase", "Orvo", "张三李四王五赵", true, ""},
                      SEntryCase{"ShortPhrase", "Orvo", "张三", true, "张三"},
                      SEntryCase{"Empty", "Orvo", "", false, ""},
                      SEntryCase{"Untrimmed", " a b ", nullptr, false, " a b "},
                      SEntryCase{"ChinesePreset", "英雄", nullptr, false, "英雄"}),
    CaseName());

// An over-long preset shows as it is and can be shortened; OK hands on
// whatever stands, the caller deciding whether it can be kept.
TEST_F(NewHeroDlgTest, OverLongPresetShowsAsItIsAndOkHandsItOn)
{
    m_dlg.m_strName = "abcdefghijklmn";
    const int result = Run([this] {
        EXPECT_EQ(Edit()->text(), QStringLiteral("abcdefghijklmn"));
        Button("IDOK")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(m_dlg.m_strName, "abcdefghijklmn");
}

TEST_F(NewHeroDlgTest, CharacterGbkLacksIsRefusedAsTyped)
{
    const int result = Run([this] {
        SendKey(Edit(), Qt::Key_Backspace);
        Type(Edit(), QStringLiteral("a\U0001F600b"));
        EXPECT_EQ(Edit()->text(), QStringLiteral("ab"));
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), QString::fromUtf8(TXT_NAME_UNSTORABLE));
        Button("IDOK")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(m_dlg.m_strName, "ab");
}

struct SCloseCase {
    const char* pWay;
    std::function<void(CQtNewHeroDlg&, QLineEdit*)> close;
    int nResult;
};

TEST_F(NewHeroDlgTest, CancelEscAndCloseBoxLeaveTheNameAloneWhileEnterIsOk)
{
    const std::vector<SCloseCase> cases = {
        {"Cancel", [](CQtNewHeroDlg& dlg, QLineEdit*) {
             dlg.findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->click();
         }, QDialog::Rejected},
        {"Esc", [](CQtNewHeroDlg&, QLineEdit* pEdit) { SendKey(pEdit, Qt::Key_Escape); },
         QDialog::Rejected},
        {"close box", [](CQtNewHeroDlg& dlg, QLineEdit*) { dlg.close(); }, QDialog::Rejected},
        {"Enter", [](CQtNewHeroDlg&, QLineEdit* pEdit) { SendKey(pEdit, Qt::Key_Return); },
         QDialog::Accepted},
    };
    for (const SCloseCase& c : cases) {
        SCOPED_TRACE(c.pWay);
        CQtNewHeroDlg dlg;
        dlg.m_strName = "Orvo";
        const int result = RunModal([&dlg] { return dlg.DoModal(); }, [&dlg, &c] {
            auto* pEdit = dlg.findChild<QLineEdit*>(QStringLiteral("IDC_NAME"));
            Type(pEdit, QStringLiteral("Ann"));
            c.close(dlg, pEdit);
        });
        EXPECT_EQ(result, c.nResult);
        EXPECT_EQ(dlg.m_strName, c.nResult == QDialog::Accepted ? "Ann" : "Orvo");
    }
}

// ---------------------------------------------------------------- hero board

std::unique_ptr<CHeroRecord> MakeRecord(const std::string& name, int balls, int score)
{
    auto pRecord = std::make_unique<CHeroRecord>();
    pRecord->SetName(name);
    pRecord->SetBalls(balls);
    pRecord->SetScore(score);
    return pRecord;
}

QString CellText(const QDialog& dlg, const char* pColumn, int nRow)
{
    const auto* pLabel = dlg.findChild<QLabel*>(QString::fromLatin1(pColumn) + QString::number(nRow));
    return pLabel ? pLabel->text() : QStringLiteral("(missing)");
}

TEST(HeroBoardDlg, ShowsRecordsBestFirstAndDotsBelow)
{
    CHeroList heroes;
    heroes.Insert(MakeRecord("Orvo", 40, 0));
    heroes.Insert(MakeRecord(Gbk("张三李四王五"), 95, 1234));
    heroes.Insert(MakeRecord("ab\xFF", 5, 25));
    const CQtHeroBoardDlg dlg(heroes);

    const QString rows[][3] = {
        {QStringLiteral("张三李四王五"), QStringLiteral("1234"), QStringLiteral("95")},
        {QStringLiteral("Orvo"), QStringLiteral("0"), QStringLiteral("40")},
        {QStringLiteral("ab\uFFFD"), QStringLiteral("25"), QStringLiteral("5")},
    };
    for (int r = 0; r < CHeroList::kMaxRecords; ++r) {
        SCOPED_TRACE(r);
        const bool bFilled = r < 3;
        EXPECT_EQ(CellText(dlg, "name", r), bFilled ? rows[r][0] : QStringLiteral("....."));
        EXPECT_EQ(CellText(dlg, "score", r), bFilled ? rows[r][1] : QStringLiteral("...."));
        EXPECT_EQ(CellText(dlg, "balls", r), bFilled ? rows[r][2] : QStringLiteral("...."));
    }
}

TEST(HeroBoardDlg, EscEnterAndCloseBoxCloseIt)
{
    struct SWay {
        const char* pName;
        std::function<void(QDialog&)> close;
        int nResult;
    };
    const SWay ways[] = {
        {"Esc", [](QDialog& dlg) { SendKey(&dlg, Qt::Key_Escape); }, QDialog::Rejected},
        {"Enter", [](QDialog& dlg) { SendKey(&dlg, Qt::Key_Return); }, QDialog::Accepted},
        {"close box", [](QDialog& dlg) { dlg.close(); }, QDialog::Rejected},
    };
    const CHeroList heroes;
    for (const SWay& way : ways) {
        SCOPED_TRACE(way.pName);
        CQtHeroBoardDlg dlg(heroes);
        EXPECT_EQ(RunModal([&dlg] { return dlg.DoModal(); }, [&dlg, &way] { way.close(dlg); }),
                  way.nResult);
    }
}

// ------------------------------------------------------- information dialogs

TEST(AboutDlg, ShowsIconVersionAndClosesWithOk)
{
    CQtAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("关于Orvo"));
    QStringList texts;
    bool bIcon = false;
    for (const QLabel* pLabel : dlg.findChildren<QLabel*>()) {
        texts << pLabel->text();
        bIcon = bIcon || !pLabel->pixmap().isNull();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("Orvo 1.0 版")));
    EXPECT_TRUE(bIcon);

    const int result = RunModal([&dlg] { return dlg.DoModal(); }, [&dlg] {
        auto* pOk = dlg.findChild<QPushButton*>(QStringLiteral("IDOK"));
        EXPECT_TRUE(pOk->isDefault());
        EXPECT_EQ(QApplication::focusWidget(), pOk);
        SendKey(pOk, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
}

TEST(RulesDlg, ShowsTheTextReadOnlyWithOkFocused)
{
    CQtRulesDlg dlg;
    dlg.m_strText = TXT_RULES;
    const int result = RunModal([&dlg] { return dlg.DoModal(); }, [&dlg] {
        auto* pText = dlg.findChild<QPlainTextEdit*>(QStringLiteral("IDC_RULES_TEXT"));
        auto* pOk = dlg.findChild<QPushButton*>(QStringLiteral("IDOK"));
        const QString shown = pText->toPlainText();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Orvo 1.0\n\n玩法：\n")));
        EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
        EXPECT_TRUE(pText->isReadOnly());
        EXPECT_EQ(pText->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(pText->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(QApplication::focusWidget(), pOk);

        Type(pText, QStringLiteral("x"));
        SendKey(pText, Qt::Key_Backspace);
        EXPECT_EQ(pText->toPlainText(), shown);
        SendKey(pOk, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
}

// ------------------------------------------------------------------- layout

TEST(DialogLayout, RoundsLikeTheClassicDialogUnits)
{
    struct SMulDiv {
        int n, nNumerator, nDenominator, nExpected;
    };
    const SMulDiv mulDivs[] = {
        {187, 6, 4, 281},  // 280.5 rounds up
        {91, 13, 8, 148},
        {7, 7, 4, 12},     // 12.25
        {-3, 3, 2, -5},    // halves go away from zero
        {0, 7, 4, 0},
    };
    for (const SMulDiv& m : mulDivs)
        EXPECT_EQ(CDialogLayout::MulDiv(m.n, m.nNumerator, m.nDenominator), m.nExpected)
            << m.n << " * " << m.nNumerator << " / " << m.nDenominator;

    // Width of the 52 letters -> average: 6.0 -> 6, 6.5 -> 7, just under 6.5 -> 6.
    const int alphabet[][2] = {{312, 6}, {338, 7}, {337, 6}, {364, 7}};
    for (const auto& a : alphabet)
        EXPECT_EQ(CDialogLayout::AverageCharWidth(a[0]), a[1]) << a[0];
}

TEST(DialogLayout, MapsCornersSoNeighboursStillMeet)
{
    const CDialogLayout layout(6, 13);
    EXPECT_EQ(layout.MapRect(45, 40, 116, 14), QRect(68, 65, 174, 23));
    EXPECT_EQ(layout.MapSize(187, 91), QSize(281, 148));
    // 45 units is 67.5 pixels: the left cell must not end short of the right.
    EXPECT_EQ(layout.MapRect(0, 0, 45, 8).right() + 1, layout.MapRect(45, 0, 85, 8).left());
}

TEST(DialogLayout, DialogFontCarriesChineseGlyphs)
{
    const QFontMetrics metrics(CDialogLayout::DialogFont());
    EXPECT_TRUE(metrics.inFont(QChar(0x82F1)));  // 英
    EXPECT_TRUE(metrics.inFont(QChar(0x96C4)));  // 雄
}

struct SDialogCase {
    const char* pName;
    std::function<std::unique_ptr<QDialog>()> make;
    QSize templateSize;
};

// Every dialog is its template's size, cannot be resized, and no text of
// its labels runs past its control.
TEST(Dialogs, AreTemplateSizedFixedAndUnclipped)
{
    static const CHeroList s_heroes;
    const std::vector<SDialogCase> cases = {
        {"name", [] { return std::make_unique<CQtNewHeroDlg>(); }, {187, 91}},
        {"board", [] { return std::make_unique<CQtHeroBoardDlg>(s_heroes); }, {225, 125}},
        {"about", [] { return std::make_unique<CQtAboutDlg>(); }, {230, 125}},
        {"rules", [] { return std::make_unique<CQtRulesDlg>(); }, {228, 133}},
    };
    const CDialogLayout layout;
    for (const SDialogCase& c : cases) {
        SCOPED_TRACE(c.pName);
        const std::unique_ptr<QDialog> pDlg = c.make();
        const QSize expected = layout.MapSize(c.templateSize.width(), c.templateSize.height());
        EXPECT_EQ(pDlg->size(), expected);
        EXPECT_EQ(pDlg->minimumSize(), expected);
        EXPECT_EQ(pDlg->maximumSize(), expected);
        EXPECT_FALSE(pDlg->windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
        EXPECT_FALSE(pDlg->isSizeGripEnabled());
        for (const QLabel* pLabel : pDlg->findChildren<QLabel*>()) {
            if (pLabel->text().isEmpty() || pLabel->wordWrap())
                continue;
            SCOPED_TRACE(pLabel->text().toStdString());
            const QFontMetrics metrics(pLabel->font());
            EXPECT_LE(metrics.horizontalAdvance(pLabel->text()), pLabel->width());
            EXPECT_LE(metrics.height(), pLabel->height());
            EXPECT_TRUE(pDlg->rect().contains(pLabel->geometry()));
        }
    }
}

TEST(Dialogs, NameEditSitsWhereItsTemplatePutsIt)
{
    const CQtNewHeroDlg dlg;
    const CDialogLayout layout;
    EXPECT_EQ(dlg.findChild<QLineEdit*>(QStringLiteral("IDC_NAME"))->geometry(),
              layout.MapRect(45, 40, 116, 14));
}

// Every dialog holds the controls its description lists, in the same order
// (the first on top), each of its kind, where its rectangle puts it and
// with its text.
TEST(Dialogs, HoldTheDescribedControlsWhereTheDescriptionPutsThem)
{
    static const CHeroList s_heroes;
    struct SCase {
        const char* pName;
        std::function<std::unique_ptr<QDialog>()> make;
        std::vector<QtUi::Control> controls;
    };
    const auto list = [](const auto& dialog) {
        return std::vector<QtUi::Control>(dialog.controls.begin(), dialog.controls.end());
    };
    const std::vector<SCase> cases = {
        {"name", [] { return std::make_unique<CQtNewHeroDlg>(); }, list(QtUi::kNewHero)},
        {"board", [] { return std::make_unique<CQtHeroBoardDlg>(s_heroes); }, list(QtUi::kHeroBoard)},
        {"about", [] { return std::make_unique<CQtAboutDlg>(); }, list(QtUi::kAboutBox)},
        {"rules", [] { return std::make_unique<CQtRulesDlg>(); }, list(QtUi::kRules)},
    };
    const CDialogLayout layout;
    using QtUi::ControlKind;
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pName);
        const std::unique_ptr<QDialog> pDlg = c.make();
        // Children run bottom first: the description's order backwards.
        std::vector<QWidget*> widgets;
        for (QObject* pChild : pDlg->children()) {
            if (auto* pWidget = qobject_cast<QWidget*>(pChild))
                widgets.insert(widgets.begin(), pWidget);
        }
        ASSERT_EQ(widgets.size(), c.controls.size());
        for (std::size_t i = 0; i < widgets.size(); ++i) {
            SCOPED_TRACE(i);
            const QtUi::Control& control = c.controls[i];
            QWidget* pWidget = widgets[i];
            const QRect rect = layout.MapRect(control.x, control.y, control.cx, control.cy);
            if (control.kind == ControlKind::Icon)
                EXPECT_EQ(pWidget->pos(), rect.topLeft());
            else
                EXPECT_EQ(pWidget->geometry(), rect);
            const QString text = QString::fromUtf8(control.pText);
            switch (control.kind) {
            case ControlKind::Text: {
                auto* pLabel = qobject_cast<QLabel*>(pWidget);
                ASSERT_NE(pLabel, nullptr);
                EXPECT_EQ(pLabel->text(), text);
                EXPECT_EQ(pLabel->alignment() & Qt::AlignHorizontal_Mask, control.align);
                break;
            }
            case ControlKind::Icon:
                ASSERT_NE(qobject_cast<QLabel*>(pWidget), nullptr);
                EXPECT_FALSE(qobject_cast<QLabel*>(pWidget)->pixmap().isNull());
                break;
            case ControlKind::Button:
            case ControlKind::DefaultButton: {
                auto* pButton = qobject_cast<QPushButton*>(pWidget);
                ASSERT_NE(pButton, nullptr);
                EXPECT_EQ(pButton->text(), text);
                EXPECT_EQ(pButton->isDefault(), control.kind == ControlKind::DefaultButton);
                break;
            }
            case ControlKind::Edit:
                EXPECT_NE(qobject_cast<QLineEdit*>(pWidget), nullptr);
                break;
            case ControlKind::TextBox:
                EXPECT_NE(qobject_cast<QPlainTextEdit*>(pWidget), nullptr);
                EXPECT_EQ(pWidget->focusPolicy(), Qt::NoFocus);
                break;
            case ControlKind::Rule:
            case ControlKind::Frame: {
                auto* pFrame = qobject_cast<QFrame*>(pWidget);
                ASSERT_NE(pFrame, nullptr);
                EXPECT_EQ(pFrame->frameShape(),
                          control.kind == ControlKind::Rule ? QFrame::HLine : QFrame::Box);
                break;
            }
            }
        }
    }
}

}  // namespace
