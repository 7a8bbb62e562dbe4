// SPDX-License-Identifier: MIT
// The application as both programs run it, against a shell that writes
// down what it is asked: the start and its order, the commands, the sound
// switch and its check mark, and what the end of a game shows and keeps.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "AppIdentity.h"
#include "CAppController.h"
#include "CBoardGeometry.h"
#include "CClientWindow.h"
#include "CMemoryProfile.h"
#include "CSoundPlayer.h"
#include "EndOfGame.h"
#include "Texts.h"
#include "resource.h"

namespace {

// Counts the pauses that really wait.
class CCountingClock : public CTickClock {
public:
    std::uint32_t GetTickCount() const override { return m_nNow; }
    int sleeps = 0;

protected:
    void Sleep(std::uint32_t ms) const override
    {
        ++const_cast<CCountingClock*>(this)->sleeps;
        m_nNow += ms + 1;
    }

private:
    mutable std::uint32_t m_nNow = 1000;
};

class CFakeShell : public CAppShell, public CAppWindow {
public:
    // What the shell was asked, in order, one line a call.
    std::vector<std::string> calls;
    OtherInstance otherInstance = OtherInstance::None;
    bool bHasProfile = true;
    bool bCanCreate = true;
    bool bShown = false;
    bool bChecked = false;
    int nScale = 1;
    // The names the player types, one per prompt; none left: Cancel.
    std::vector<std::string> names;
    std::vector<std::string> presets;
    // The game's ball count when the window was shown.
    int nCountWhenShown = -1;
    CMemoryProfile profile;
    CClientWindow client;
    std::function<int()> countBalls;

    OtherInstance WakeOtherInstance() override
    {
        calls.push_back("wake");
        return otherInstance;
    }
    CProfile* OpenProfile() override
    {
        calls.push_back("profile");
        return bHasProfile ? &profile : nullptr;
    }
    CAppWindow* CreateMainWindow(CAppInput&) override
    {
        calls.push_back("create");
        return bCanCreate ? this : nullptr;
    }
    CClientWindow& ClientWindow() override { return client; }
    int Scale() const override { return nScale; }
    void Show() override
    {
        calls.push_back("show");
        bShown = true;
        if (countBalls)
            nCountWhenShown = countBalls();
    }
    bool IsShown() const override { return bShown; }
    void StartBlinkTimer(unsigned nIntervalMs) override
    {
        calls.push_back("timer on " + std::to_string(nIntervalMs));
    }
    void StopBlinkTimer() override { calls.push_back("timer off"); }
    void SetSoundChecked(bool bOn) override
    {
        bChecked = bOn;
        calls.push_back(bOn ? "check on" : "check off");
    }
    // The screen reader's view, as last told, and what it said when the
    // name was asked for.
    const CBoardReader* pReader = nullptr;
    int nReadingChanges = 0;
    std::string outcomeAtName;
    void OnReadingChanged(const CBoardReader& reader) override
    {
        pReader = &reader;
        ++nReadingChanges;
    }
    void ShowNotice(NoticeKind kind, const std::string& caption, const std::string& text) override
    {
        calls.push_back(std::string(kind == NoticeKind::Warning ? "warning " : "notice ") +
                        caption + ": " + text);
    }
    bool AskName(std::string& name) override
    {
        calls.push_back("name");
        outcomeAtName = pReader ? pReader->Outcome() : "";
        presets.push_back(name);
        if (names.empty())
            return false;
        name = names.front();
        names.erase(names.begin());
        return true;
    }
    void ShowHeroBoard(const CHeroList&) override { calls.push_back("heroes"); }
    void ShowRules(const std::string& text) override { calls.push_back("rules " + text); }
    void ShowAbout() override { calls.push_back("about"); }
};

class AppControllerTest : public ::testing::Test {
protected:
    AppControllerTest() : m_player([](const CWaveFile&) { return true; })
    {
        m_controller.SetClock(m_clock);
        m_shell.countBalls = [this] { return m_controller.Game().Count(); };
    }

    bool Start()
    {
        const bool bStarted = m_controller.InitInstance();
        m_shell.calls.clear();
        return bStarted;
    }

    void StartOneMoveFromTheEnd()
    {
        ASSERT_TRUE(Start());
        m_controller.Game().SetPosition(OneMoveFromAFullBoard().data());
    }

    // The last move: the board fills and the game ends.
    void FillTheBoard()
    {
        for (int col : kLastMoveColumns)
            m_controller.OnClick(CBoardGeometry::CentreX(col), CBoardGeometry::CentreY(kLastMoveRow));
        ASSERT_EQ(m_controller.Game().Count(), 81);
    }

    // The shell's calls from the end of the move on.
    std::vector<std::string> EndCalls() const
    {
        std::vector<std::string> calls;
        for (const std::string& call : m_shell.calls)
            if (call.rfind("timer", 0) != 0)
                calls.push_back(call);
        return calls;
    }

    CFakeShell m_shell;
    CCountingClock m_clock;
    CSoundPlayer m_player;
    CAppController m_controller{m_shell, m_player};
};

TEST_F(AppControllerTest, StartsInItsOrderWithTheFirstBallsFallenBeforeTheWindowShows)
{
    ASSERT_TRUE(m_controller.InitInstance());
    EXPECT_EQ(m_shell.calls,
              (std::vector<std::string>{"wake", "profile", "create", "check off", "show"}));
    EXPECT_EQ(m_shell.nCountWhenShown, 3);
    EXPECT_EQ(m_clock.sleeps, 0) << "nobody watches the balls fall before the window is shown";
    // The game drew on the window it was given.
    EXPECT_NE(m_shell.client.Surface(), CClientWindow().Surface());
}

TEST_F(AppControllerTest, AStartEndsAtTheFirstStepThatFails)
{
    const std::string noAnswer =
        std::string("warning ") + ORVO_APP_TITLE + ": " + TXT_OTHER_NO_ANSWER;
    const std::string noAnswerLine =
        "orvo: another game is running here but does not answer; close it and try again\n";
    const struct {
        const char* pWhat;
        std::function<void(CFakeShell&)> prepare;
        std::vector<std::string> calls;
        int nExitCode;
        std::string stderrText;
    } cases[] = {
        {"another game runs and is woken",
         [](CFakeShell& shell) { shell.otherInstance = CAppShell::OtherInstance::Woken; },
         {"wake"}, 0, ""},
        // Stopped or hung: the player is told instead of seeing nothing happen.
        {"another game runs and does not answer",
         [](CFakeShell& shell) { shell.otherInstance = CAppShell::OtherInstance::NoAnswer; },
         {"wake", noAnswer}, CAppController::kExitNoAnswer, noAnswerLine},
        {"no window", [](CFakeShell& shell) { shell.bCanCreate = false; },
         {"wake", "profile", "create"}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        CFakeShell shell;
        c.prepare(shell);
        CAppController controller(shell, m_player);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(controller.InitInstance());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.stderrText);
        EXPECT_EQ(shell.calls, c.calls);
        EXPECT_EQ(controller.ExitCode(), c.nExitCode);
        EXPECT_EQ(controller.Game().Count(), 0) << "no game without a window";
    }
}

// With nowhere to keep the settings the game still plays; the sound switch
// works for this run, and the first switch that cannot be kept says why,
// once.
TEST_F(AppControllerTest, WithoutASettingsFileTheGamePlaysAndSaysSoOnce)
{
    CFakeShell shell;
    shell.bHasProfile = false;
    CAppController controller(shell, m_player);
    ASSERT_TRUE(controller.InitInstance());
    shell.calls.clear();
    controller.OnGameSound();
    controller.OnGameSound();
    controller.OnGameSound();
    EXPECT_TRUE(controller.Game().IsSoundOn());
    EXPECT_EQ(shell.calls, (std::vector<std::string>{
                               std::string("warning ") + ORVO_APP_TITLE + ": " +
                                   TXT_SOUND_SAVE_FAILED + "\n" + TXT_SAVE_NO_PLACE,
                               "check on", "check off", "check on"}));
}

TEST_F(AppControllerTest, PacesMovesOnlyWhileTheWindowIsShown)
{
    ASSERT_TRUE(Start());
    m_controller.Pause(50);
    EXPECT_EQ(m_clock.sleeps, 1);
    m_shell.bShown = false;  // Esc
    m_controller.Pause(50);
    EXPECT_EQ(m_clock.sleeps, 1);
}

TEST_F(AppControllerTest, TheSoundSwitchStartsFromTheSettingsFileWithItsCheckMark)
{
    const struct {
        const char* pStored;  // nullptr: no key
        bool bOn;
    } cases[] = {{nullptr, false}, {"1", true}, {"7", true}, {"0", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pStored ? c.pStored : "no key");
        CFakeShell shell;
        if (c.pStored)
            shell.profile.values[{"CONFIG", "PlaySound"}] = c.pStored;
        CAppController controller(shell, m_player);
        ASSERT_TRUE(controller.InitInstance());
        EXPECT_EQ(controller.Game().IsSoundOn(), c.bOn);
        EXPECT_EQ(shell.bChecked, c.bOn);
        EXPECT_EQ(shell.profile.writes, 0);
    }
}

TEST_F(AppControllerTest, TheSoundCommandFlipsTheSwitchItsMarkAndTheFile)
{
    ASSERT_TRUE(Start());
    for (const bool bOn : {true, false, true}) {
        ASSERT_TRUE(m_controller.OnCommand(ID_GAME_SOUND));
        EXPECT_EQ(m_controller.Game().IsSoundOn(), bOn);
        EXPECT_EQ(m_shell.bChecked, bOn);
        EXPECT_EQ((m_shell.profile.values[{"CONFIG", "PlaySound"}]), bOn ? "1" : "0");
    }
    // A file that cannot be written costs only the setting's future.
    m_shell.profile.failWrites = true;
    m_controller.OnGameSound();
    EXPECT_FALSE(m_controller.Game().IsSoundOn());
    EXPECT_FALSE(m_shell.bChecked);
}

TEST_F(AppControllerTest, EachCommandReachesItsDialogOrTheGame)
{
    ASSERT_TRUE(Start());
    const struct {
        unsigned nId;
        std::string call;
    } cases[] = {
        {ID_APP_ABOUT, "about"},
        {ID_HELP_RULES, std::string("rules ") + TXT_RULES},
        {ID_GAME_HEROES, "heroes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nId);
        m_shell.calls.clear();
        EXPECT_TRUE(m_controller.OnCommand(c.nId));
        EXPECT_EQ(m_shell.calls, std::vector<std::string>{c.call});
    }
    // The instructions begin with the game's name and version.
    EXPECT_EQ(std::string(TXT_RULES).rfind("Orvo 1.0\r\n\r\n", 0), 0u);

    // A new game at once, whatever the state: a selection ends with it.
    m_controller.Game().SetPosition(std::array<std::uint8_t, 81>{1}.data());
    m_shell.calls.clear();
    m_controller.OnClick(CBoardGeometry::CentreX(1), CBoardGeometry::CentreY(1));
    ASSERT_EQ(m_shell.calls, std::vector<std::string>{"timer on 500"});
    m_shell.calls.clear();
    EXPECT_TRUE(m_controller.OnCommand(ID_GAME_NEW));
    EXPECT_EQ(m_controller.Game().Count(), 3);
    EXPECT_EQ(m_shell.calls.front(), "timer off");

    // Exit is the window's own business.
    EXPECT_FALSE(m_controller.OnCommand(ID_APP_EXIT));
}

TEST_F(AppControllerTest, AQualifyingResultAsksForANameAndKeepsIt)
{
    StartOneMoveFromTheEnd();
    m_shell.names = {"Ann"};
    FillTheBoard();
    EXPECT_EQ(EndCalls(), std::vector<std::string>{"name"});
    EXPECT_EQ(m_shell.presets, std::vector<std::string>{ORVO_APP_TITLE});
    ASSERT_EQ(m_controller.Heroes().GetCount(), 1);
    EXPECT_EQ(m_controller.Heroes().Records().front()->GetName(), "Ann");
    EXPECT_EQ(m_shell.profile.values.count({"TOPTEN", "Hero0"}), 1u);
}

// The dialog returns what was typed; a name that cannot be kept is refused
// with its reason and asked for again, preset with what was typed.
TEST_F(AppControllerTest, ARefusedNameIsToldAndAskedForAgain)
{
    const std::string tooLong = std::string("warning ") + ORVO_APP_TITLE + ": " +
                                CAppController::NameRefusal(CHeroRecord::NameFit::TooLong);
    const std::string unstorable = std::string("warning ") + ORVO_APP_TITLE + ": " + TXT_NAME_UNSTORABLE;
    const std::string gameOver = std::string("notice ") + TXT_NOTICE_CAPTION + ": " + TXT_GAME_OVER;
    const struct {
        const char* pWhat;
        std::vector<std::string> typed;  // then Cancel
        std::vector<std::string> calls;
        std::vector<std::string> presets;
        const char* pKept;  // GBK; nullptr: nothing kept
    } cases[] = {
        {"too long, then shortened", {"abcdefghijklm", "abcdefghijkl"},
         {"name", tooLong, "name"}, {ORVO_APP_TITLE, "abcdefghijklm"}, "abcdefghijkl"},
        {"no GBK form, then cancelled", {"a\xF0\x9F\x98\x80"},
         {"name", unstorable, "name", gameOver}, {ORVO_APP_TITLE, "a\xF0\x9F\x98\x80"}, nullptr},
        {"Chinese, kept as GBK", {"英雄"}, {"name"}, {ORVO_APP_TITLE}, "\xD3\xA2\xD0\xDB"},
    };
    int nKept = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        m_shell.presets.clear();
        StartOneMoveFromTheEnd();
        m_shell.names = c.typed;
        FillTheBoard();
        EXPECT_EQ(EndCalls(), c.calls);
        EXPECT_EQ(m_shell.presets, c.presets);
        // Equal results: the newest entry is last.
        nKept += c.pKept ? 1 : 0;
        ASSERT_EQ(m_controller.Heroes().GetCount(), nKept);
        if (c.pKept) {
            EXPECT_EQ(m_controller.Heroes().Records().back()->GetName(), c.pKept);
        }
    }
}

TEST_F(AppControllerTest, DecliningTheNameShowsTheGameOverNotice)
{
    StartOneMoveFromTheEnd();
    FillTheBoard();
    EXPECT_EQ(EndCalls(), (std::vector<std::string>{
                              "name", std::string("notice ") + TXT_NOTICE_CAPTION + ": " + TXT_GAME_OVER}));
    EXPECT_EQ(m_controller.Heroes().GetCount(), 0);
    EXPECT_EQ(m_shell.profile.writes, 0);
}

// A save that fails is told, in one box after the name, with its reason;
// the list keeps the entry for this run, reading the file again does not
// lose it, and the first save that works writes it too. (A file too big to
// be settings is told otherwise: below.)
TEST_F(AppControllerTest, AFailedSaveIsReportedWithItsReason)
{
    const struct {
        CProfileError why;
        const char* pReason;
    } cases[] = {
        {CProfileError::NoPermission, TXT_SAVE_NO_PERMISSION},
        {CProfileError::ReadOnly, TXT_SAVE_READ_ONLY},
        {CProfileError::DiskFull, TXT_SAVE_DISK_FULL},
        {CProfileError::NotAFile, TXT_SAVE_NOT_A_FILE},
        {CProfileError::Unstorable, TXT_NAME_UNSTORABLE},
        {CProfileError::Other, TXT_SAVE_OTHER},
    };
    int nUnsaved = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pReason);
        m_shell.calls.clear();
        m_shell.profile.failWrites = true;
        m_shell.profile.failure = c.why;
        StartOneMoveFromTheEnd();
        m_controller.Heroes().Load();
        m_shell.names = {"Ann"};
        FillTheBoard();
        EXPECT_EQ(EndCalls(), (std::vector<std::string>{
                                  "name", std::string("warning ") + ORVO_APP_TITLE + ": " +
                                              TXT_SAVE_FAILED + "\n" + c.pReason}));
        EXPECT_EQ(m_controller.Heroes().GetCount(), ++nUnsaved);
        EXPECT_EQ(m_shell.profile.values.count({"TOPTEN", "Hero0"}), 0u);
    }

    // The same failure again is not told again.
    m_shell.calls.clear();
    StartOneMoveFromTheEnd();
    m_shell.names = {"Bob"};
    FillTheBoard();
    EXPECT_EQ(EndCalls(), std::vector<std::string>{"name"});

    m_shell.profile.failWrites = false;
    StartOneMoveFromTheEnd();
    m_shell.names = {"Cy"};
    FillTheBoard();
    EXPECT_EQ(m_controller.Heroes().GetCount(), nUnsaved + 2);
    EXPECT_EQ(m_shell.profile.values.count({"TOPTEN", "Hero" + std::to_string(nUnsaved + 1)}), 1u);
}

// A settings file too big to be one reads as an empty list and keeps no
// entry: the player hears of it once a run, whether the board or the end of
// a game comes first, and never again that run.
class OversizedSettingsTest : public AppControllerTest {
protected:
    void SetUp() override
    {
        m_shell.profile.readError = CProfileError::Damaged;
        m_shell.profile.failWrites = true;
        m_shell.profile.failure = CProfileError::Damaged;
        ASSERT_TRUE(Start());
    }
    std::vector<std::string> EndAGame()
    {
        m_shell.calls.clear();
        m_shell.names = {"Ann"};
        m_controller.Game().SetPosition(OneMoveFromAFullBoard().data());
        FillTheBoard();
        return EndCalls();
    }
    std::vector<std::string> ShowBoard()
    {
        m_shell.calls.clear();
        m_controller.OnCommand(ID_GAME_HEROES);
        return m_shell.calls;
    }

    using Calls = std::vector<std::string>;
    const std::string m_told =
        std::string("warning ") + ORVO_APP_TITLE + ": " + TXT_SETTINGS_TOO_BIG;
};

TEST_F(OversizedSettingsTest, ToldOnceWhenTheBoardComesFirst)
{
    EXPECT_EQ(ShowBoard(), (Calls{m_told, "heroes"}));
    EXPECT_EQ(EndAGame(), Calls{"name"});
    EXPECT_EQ(ShowBoard(), Calls{"heroes"});
}

TEST_F(OversizedSettingsTest, ToldOnceWhenAGameEndsFirst)
{
    EXPECT_EQ(EndAGame(), (Calls{"name", m_told}));
    EXPECT_EQ(ShowBoard(), Calls{"heroes"});
    EXPECT_EQ(EndAGame(), Calls{"name"});
}

// A release in device pixels reaches the game in client pixels, on a
// screen of any whole factor; one outside the client area (a drag that
// ended elsewhere) reaches nothing.
TEST(ClientPointTest, DevicePixelsBecomeClientPixelsInsideTheClientArea)
{
    const struct {
        int nScale, x, y;
        bool bInside;
        int xClient, yClient;
    } cases[] = {
        {1, 0, 0, true, 0, 0},
        {1, 307, 347, true, 307, 347},
        {1, 308, 10, false, 0, 0},
        {1, 10, 348, false, 0, 0},
        {1, -1, 10, false, 0, 0},
        {2, 21, 101, true, 10, 50},
        {2, 615, 695, true, 307, 347},
        {2, 616, 10, false, 0, 0},
        {3, 29, 149, true, 9, 49},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nScale << ": " << c.x << "," << c.y);
        int x = c.x, y = c.y;
        ASSERT_EQ(CAppController::ToClientPixels(c.nScale, x, y), c.bInside);
        if (c.bInside) {
            EXPECT_EQ(x, c.xClient);
            EXPECT_EQ(y, c.yClient);
        }
    }
}

TEST_F(AppControllerTest, ClicksAreScaledByTheWindowsFactorAndFilteredToItsClientArea)
{
    m_shell.nScale = 2;
    ASSERT_TRUE(Start());
    m_controller.Game().SetPosition(std::array<std::uint8_t, 81>{1}.data());
    // On the board's first square at twice the size: selected.
    m_controller.OnClick(2 * CBoardGeometry::CentreX(1), 2 * CBoardGeometry::CentreY(1));
    ASSERT_TRUE(m_controller.Game().IsSelected());
    // A right release beyond the doubled client area is none of the game's.
    m_controller.OnRightClick(2 * CClientWindow::kWidth, 10);
    EXPECT_TRUE(m_controller.Game().IsSelected());
    m_controller.OnRightClick(2 * CClientWindow::kWidth - 1, 10);
    EXPECT_FALSE(m_controller.Game().IsSelected());
}

struct CFocusCase {
    const char* name;
    std::vector<CKey> keys;
    bool bShown;
    int row;
    int col;
};

TEST_F(AppControllerTest, ArrowsShowTheFocusAtTheCentreThenMoveItAndStopAtTheEdges)
{
    using K = CKey;
    const std::vector<K> up8(8, K::Up), left8(8, K::Left), down8(8, K::Down), right8(8, K::Right);
    auto join = [](std::vector<K> a, const std::vector<K>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const CFocusCase cases[] = {
        {"hidden at first", {}, false, 5, 5},
        {"the first arrow only shows it", {K::Left}, true, 5, 5},
        {"so does Space", {K::Space}, true, 5, 5},
        {"so does Enter", {K::Enter}, true, 5, 5},
        {"Backspace shows nothing", {K::Backspace, K::Delete}, false, 5, 5},
        {"each arrow its way", {K::Down, K::Left, K::Left, K::Up, K::Up, K::Up, K::Right}, true, 2, 4},
        {"top-left corner", join({K::Up}, join(join(up8, left8), {K::Up, K::Left})), true, 1, 1},
        {"bottom-right corner", join({K::Down}, join(join(down8, right8), {K::Down, K::Right})), true, 9, 9},
    };
    for (const CFocusCase& c : cases) {
        CFakeShell shell;
        CAppController controller(shell, m_player);
        controller.SetClock(m_clock);
        ASSERT_TRUE(controller.InitInstance());
        controller.Game().SetPosition(std::array<std::uint8_t, 81>{}.data());
        for (CKey key : c.keys)
            controller.OnKey(key);
        const CGameSession& session = controller.Session();
        EXPECT_EQ(session.IsFocusShown(), c.bShown) << c.name;
        EXPECT_EQ(session.FocusRow(), c.row) << c.name;
        EXPECT_EQ(session.FocusCol(), c.col) << c.name;
        EXPECT_FALSE(controller.Game().IsSelected()) << c.name;
    }
}

TEST_F(AppControllerTest, TheMouseHidesTheFocusAndTheNextKeyShowsItOnThePickedUpBall)
{
    ASSERT_TRUE(Start());
    std::array<std::uint8_t, 81> cells{};
    cells[2 * 9 + 6] = 4;  // row 3, column 7
    m_controller.Game().SetPosition(cells.data());
    const CGameSession& session = m_controller.Session();
    m_controller.OnKey(CKey::Up);
    m_controller.OnKey(CKey::Up);
    ASSERT_TRUE(session.IsFocusShown());
    // A release outside the client area is not the mouse on the board.
    m_controller.OnRightClick(CClientWindow::kWidth, 10);
    EXPECT_TRUE(session.IsFocusShown());
    m_controller.OnRightClick(10, 10);
    EXPECT_FALSE(session.IsFocusShown());
    m_controller.OnKey(CKey::Down);
    EXPECT_TRUE(session.IsFocusShown());
    EXPECT_EQ(session.FocusRow(), 4);  // shown where it was left, not moved
    m_controller.OnClick(CBoardGeometry::CentreX(7), CBoardGeometry::CentreY(3));
    ASSERT_TRUE(m_controller.Game().IsSelected());
    EXPECT_FALSE(session.IsFocusShown());
    m_controller.OnKey(CKey::Right);
    EXPECT_TRUE(session.IsFocusShown());
    EXPECT_EQ(session.FocusRow(), 3);
    EXPECT_EQ(session.FocusCol(), 7);
}

struct CKeyActionCase {
    const char* name;
    bool bSelectFirst;  // the ball at (1, 1) picked up before the key
    int col;            // the focus's column on row 1
    CKey key;
    // Afterwards: the selection (0: none) and the colours on row 1, columns 1..3.
    int selCol;
    std::array<int, 3> row1;
};

TEST_F(AppControllerTest, SpaceAndEnterActOnTheFocusCellAsALeftClickBackspaceAndDeleteAsARightOne)
{
    const CKeyActionCase cases[] = {
        {"Space picks a ball up", false, 1, CKey::Space, 1, {1, 0, 2}},
        {"Enter picks a ball up", false, 3, CKey::Enter, 3, {1, 0, 2}},
        {"Space on an empty cell with nothing picked up", false, 2, CKey::Space, 0, {1, 0, 2}},
        {"Space picks up another", true, 3, CKey::Space, 3, {1, 0, 2}},
        {"Enter moves the picked-up ball", true, 2, CKey::Enter, 0, {0, 1, 2}},
        {"Backspace puts it down", true, 2, CKey::Backspace, 0, {1, 0, 2}},
        {"Delete puts it down", true, 3, CKey::Delete, 0, {1, 0, 2}},
    };
    for (const CKeyActionCase& c : cases) {
        CFakeShell shell;
        CAppController controller(shell, m_player);
        controller.SetClock(m_clock);
        ASSERT_TRUE(controller.InitInstance());
        std::array<std::uint8_t, 81> cells{};
        cells[0] = 1;
        cells[2] = 2;
        controller.Game().SetPosition(cells.data());
        if (c.bSelectFirst)
            controller.Game().SetSelection(1, 1);
        controller.OnKey(CKey::Up);  // shows the focus: on (1, 1) or the centre
        while (controller.Session().FocusRow() > 1)
            controller.OnKey(CKey::Up);
        while (controller.Session().FocusCol() > c.col)
            controller.OnKey(CKey::Left);
        while (controller.Session().FocusCol() < c.col)
            controller.OnKey(CKey::Right);
        controller.OnKey(c.key);
        const CGame& game = controller.Game();
        EXPECT_EQ(game.IsSelected() ? game.SelCol() : 0, c.selCol) << c.name;
        EXPECT_EQ((std::array<int, 3>{game.Cell(1, 1), game.Cell(1, 2), game.Cell(1, 3)}), c.row1)
            << c.name;
        // The keys never hide the focus.
        EXPECT_TRUE(controller.Session().IsFocusShown()) << c.name;
    }
}

TEST(NameRuleTest, ANameFitsInTwelveGbkBytesOrIsRefusedWithItsReason)
{
    const struct {
        const char* pName;
        CHeroRecord::NameFit fit;
    } cases[] = {
        {"", CHeroRecord::NameFit::Fits},
        {"Ann", CHeroRecord::NameFit::Fits},
        {"abcdefghijkl", CHeroRecord::NameFit::Fits},
        {"abcdefghijklm", CHeroRecord::NameFit::TooLong},
        {"英雄英雄英雄", CHeroRecord::NameFit::Fits},  // two bytes each
        {"英雄英雄英雄a", CHeroRecord::NameFit::TooLong},
        {"\xF0\x9F\x98\x80", CHeroRecord::NameFit::Unstorable},  // an emoji: no GBK form
        {"\xFF", CHeroRecord::NameFit::Unstorable},                // not UTF-8
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pName);
        std::string gbk = "untouched";
        EXPECT_EQ(CHeroRecord::FitName(c.pName, &gbk), c.fit);
        EXPECT_EQ(gbk != "untouched", c.fit == CHeroRecord::NameFit::Fits);
    }
    std::string gbk;
    EXPECT_EQ(CHeroRecord::FitName("英雄", &gbk), CHeroRecord::NameFit::Fits);
    EXPECT_EQ(gbk, "\xD3\xA2\xD0\xDB");
    EXPECT_EQ(CAppController::NameRefusal(CHeroRecord::NameFit::TooLong),
              "\xE2\x80\x9C请填入不多于12个的字符。\xE2\x80\x9D");
    EXPECT_EQ(CAppController::NameRefusal(CHeroRecord::NameFit::Unstorable), TXT_NAME_UNSTORABLE);
    EXPECT_EQ(CAppController::NameRefusal(CHeroRecord::NameFit::Fits), "");
}

// Seven lines, each ended with CR LF: the name and version, an empty line,
// the heading, the rules, two empty lines and a closing line.
TEST(RulesTextTest, HasItsSevenLinesEachEndedWithCrLf)
{
    std::string text = TXT_RULES;
    ASSERT_GE(text.size(), 2u);
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Orvo 1.0");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "玩法：");
    EXPECT_EQ(lines[3].rfind("    鼠标左键单击游戏窗口中的彩色小球，", 0), 0u);
    EXPECT_NE(lines[3].find("五个或更多同色小球连成直线(横竖斜都可)自动删除。"), std::string::npos);
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "");
    EXPECT_NE(lines[6].find_first_not_of(' '), std::string::npos);
}

}  // namespace

// The screen reader's view: each cell by place and content, the counters
// and the preview with their values, told before the window shows.
TEST_F(AppControllerTest, TheReaderNamesCellsCountersAndPreview)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(m_shell.pReader, nullptr);
    const CBoardReader& reader = *m_shell.pReader;
    std::array<std::uint8_t, 81> cells{};
    cells[0] = 1;
    cells[1] = 7;
    cells[80] = 4;
    m_controller.Game().SetPosition(cells.data());
    m_controller.Game().SetSelection(1, 2);
    const struct {
        int row, col;
        const char* name;
    } cases[] = {
        {1, 1, "第1行第1列，蓝球"},
        {1, 2, "第1行第2列，银球，已选中"},
        {1, 3, "第1行第3列，空"},
        {9, 9, "第9行第9列，红球"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reader.CellName(c.row, c.col), c.name);
    EXPECT_EQ(reader.BallsName(), "消去球数：0");
    EXPECT_EQ(reader.ScoreName(), "得分：0");
    const CGame& game = m_controller.Game();
    EXPECT_EQ(reader.PreviewName(), "下一批：" + CBoardReader::BallName(game.Next(0)) + "、" +
                                        CBoardReader::BallName(game.Next(1)) + "、" +
                                        CBoardReader::BallName(game.Next(2)));
    EXPECT_EQ(CBoardReader::BallName(0), "");
    EXPECT_EQ(CBoardReader::BallName(8), "");
}

// What an input did, in words, by mouse or by keys.
TEST_F(AppControllerTest, TheReaderTellsWhatEachInputDid)
{
    // Row 1: four blue balls, a gap, then green; a blue one at (3, 5); an
    // empty cell walled in at (9, 9).
    std::array<std::uint8_t, 81> cells{};
    for (int col = 1; col <= 4; ++col)
        cells[col - 1] = 1;
    cells[5] = 2;
    cells[2 * 9 + 4] = 1;
    cells[79] = 6;
    cells[71] = 6;
    const int x35 = CBoardGeometry::CentreX(5), y35 = CBoardGeometry::CentreY(3);
    const struct {
        const char* name;
        std::function<void(CAppController&)> before;  // sets up the selection
        std::function<void(CAppController&)> input;
        const char* said;
    } cases[] = {
        {"a ball picked up", [](CAppController&) {},
         [&](CAppController& c) { c.OnClick(x35, y35); }, "选中第3行第5列蓝球。"},
        {"another picked up", [](CAppController& c) { c.Game().SetSelection(3, 5); },
         [](CAppController& c) { c.OnClick(CBoardGeometry::CentreX(6), CBoardGeometry::CentreY(1)); },
         "选中第1行第6列绿球。"},
        {"put down by the right button", [](CAppController& c) { c.Game().SetSelection(3, 5); },
         [](CAppController& c) { c.OnRightClick(5, 5); }, "放下第3行第5列蓝球。"},
        {"put down by Delete", [](CAppController& c) { c.Game().SetSelection(1, 6); },
         [](CAppController& c) { c.OnKey(CKey::Delete); }, "放下第1行第6列绿球。"},
        {"no way there", [](CAppController& c) { c.Game().SetSelection(3, 5); },
         [](CAppController& c) { c.OnClick(CBoardGeometry::CentreX(9), CBoardGeometry::CentreY(9)); },
         "无法到达第9行第9列。"},
        {"a line of five", [](CAppController& c) { c.Game().SetSelection(3, 5); },
         [](CAppController& c) { c.OnClick(CBoardGeometry::CentreX(5), CBoardGeometry::CentreY(1)); },
         "蓝球从第3行第5列移到第1行第5列。消去5个球，得25分。"},
        {"the first Space shows the focus and acts on nothing", [](CAppController&) {},
         [](CAppController& c) { c.OnKey(CKey::Space); }, ""},
        {"an arrow moves the focus and says nothing", [](CAppController&) {},
         [](CAppController& c) { c.OnKey(CKey::Up); }, ""},
    };
    for (const auto& c : cases) {
        CFakeShell shell;
        CAppController controller(shell, m_player);
        controller.SetClock(m_clock);
        ASSERT_TRUE(controller.InitInstance());
        controller.Game().SetPosition(cells.data());
        c.before(controller);
        const int nChanges = shell.nReadingChanges;
        c.input(controller);
        EXPECT_EQ(controller.Reader().Outcome(), c.said) << c.name;
        // Every input is told, even one that changes only the focus.
        EXPECT_EQ(shell.nReadingChanges, nChanges + 1) << c.name;
    }
}

TEST_F(AppControllerTest, TheReaderNamesTheBallsThatFellAsTheBoardHoldsThem)
{
    ASSERT_TRUE(Start());
    std::array<std::uint8_t, 81> cells{};
    cells[0] = 3;
    m_controller.Game().SetPosition(cells.data());
    // By keys: the focus shows at the centre, goes up to (1, 5), then left.
    m_controller.OnKey(CKey::Up);
    for (int i = 0; i < 4; ++i)
        m_controller.OnKey(CKey::Up);
    for (int i = 0; i < 4; ++i)
        m_controller.OnKey(CKey::Left);
    ASSERT_EQ(m_controller.Reader().FocusRow(), 1);
    ASSERT_EQ(m_controller.Reader().FocusCol(), 1);
    m_controller.OnKey(CKey::Enter);
    EXPECT_EQ(m_controller.Reader().Outcome(), "选中第1行第1列青球。");
    m_controller.OnClick(CBoardGeometry::CentreX(9), CBoardGeometry::CentreY(9));
    // The mouse hides the focus.
    EXPECT_EQ(m_controller.Reader().FocusRow(), 0);

    const std::string said = m_controller.Reader().Outcome();
    const std::string moved = "青球从第1行第1列移到第9行第9列。落下：";
    ASSERT_EQ(said.substr(0, moved.size()), moved);
    // Three new balls, each named where the board has it (one may have
    // fallen where the ball was).
    const CGame& game = m_controller.Game();
    int nNamed = 0;
    for (int row = 1; row <= 9; ++row)
        for (int col = 1; col <= 9; ++col) {
            const bool bNew = game.Cell(row, col) != 0 && !(row == 9 && col == 9);
            const std::string one = "第" + std::to_string(row) + "行第" + std::to_string(col) +
                                    "列" + CBoardReader::BallName(game.Cell(row, col));
            EXPECT_EQ(said.find(one) != std::string::npos, bNew) << one << " in " << said;
            nNamed += bNew;
        }
    EXPECT_EQ(nNamed, 3);
}

TEST_F(AppControllerTest, TheEndOfAGameIsToldBeforeTheNameIsAskedAndANewGameForgetsIt)
{
    StartOneMoveFromTheEnd();
    FillTheBoard();
    const std::string over = "游戏结束，共消去0个球，得0分。";
    const std::string& said = m_shell.outcomeAtName;
    ASSERT_GE(said.size(), over.size());
    EXPECT_EQ(said.substr(said.size() - over.size()), over);
    EXPECT_EQ(m_controller.Reader().Outcome(), said);
    m_controller.OnCommand(ID_GAME_NEW);
    EXPECT_EQ(m_controller.Reader().Outcome(), "");
}
