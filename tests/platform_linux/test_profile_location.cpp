// SPDX-License-Identifier: MIT
// Where the settings file lives: beside the program, named after it, or in
// the player's configuration folder when the program is installed or its
// folder is read-only.

#include "CLinuxProfileLocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "CProfile.h"
#include "CProfileLocation.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder, resolved, gone with its contents when the test is done;
// the player's configuration folder lives in it while the test runs.
class ProfileLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = fs::temp_directory_path().string() + "/orvo-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = fs::canonical(pattern).string();
        const char* pSaved = std::getenv("XDG_CONFIG_HOME");
        if (pSaved)
            m_savedConfig = pSaved;
        setenv("XDG_CONFIG_HOME", (m_dir + "/config").c_str(), 1);
    }
    void TearDown() override
    {
        if (m_savedConfig)
            setenv("XDG_CONFIG_HOME", m_savedConfig->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code error;
        fs::remove_all(m_dir, error);
    }
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    std::string PlayersFile() const { return m_dir + "/config/orvo/orvo.ini"; }

    std::string m_dir;
    std::optional<std::string> m_savedConfig;
};

TEST_F(ProfileLocationTest, WritableProgramFolderKeepsTheFileBesideTheProgram)
{
    EXPECT_EQ(CLinuxProfileLocation::Locate(Path("orvo")), Path("orvo.ini"));
    EXPECT_FALSE(fs::exists(m_dir + "/config")) << "the player's folder is made only when wanted";
}

TEST_F(ProfileLocationTest, UnusableProgramFolderFallsBackToTheConfigurationFolder)
{
    // A folder that does not exist cannot be written, even by root.
    EXPECT_EQ(CLinuxProfileLocation::Locate(Path("gone/orvo")), PlayersFile());
    EXPECT_TRUE(fs::is_directory(m_dir + "/config/orvo")) << "the folder is created";
    // Without any configuration folder, the file stays beside the program.
    unsetenv("XDG_CONFIG_HOME");
    const char* pHome = std::getenv("HOME");
    const std::string home = pHome ? pHome : "";
    unsetenv("HOME");
    EXPECT_EQ(CLinuxProfileLocation::Locate(Path("gone/orvo")), Path("gone/orvo.ini"));
    setenv("HOME", home.c_str(), 1);
}

TEST_F(ProfileLocationTest, OnlyTheBinOrGamesFolderOfThePrefixCountsAsInstalled)
{
    const std::string prefix = Path("usr");
    ASSERT_TRUE(fs::create_directories(prefix + "/games") && fs::create_directories(prefix + "/bin"));
    // Installed programs are often reached through a link to the prefix.
    fs::create_directory_symlink(prefix, Path("linked"));
    struct Case {
        std::string program;
        std::string prefix;
        bool bInstalled;
    };
    const Case cases[] = {
        {prefix + "/games/orvo", prefix, true},
        {prefix + "/bin/orvo", prefix, true},
        {prefix + "/bin/orvo", prefix + "/", true},
        {prefix + "/games/orvo", Path("linked"), true},
        {Path("linked/bin/orvo"), prefix, true},
        {prefix + "/games/../bin/orvo", prefix, true},
        {prefix + "/lib/orvo", prefix, false},
        {prefix + "/games/orvo/orvo", prefix, false},
        {prefix + "/orvo", prefix, false},
        {Path("usr2/bin/orvo"), prefix, false},
        {prefix + "/bin/orvo", std::string(), false},
        {std::string(), prefix, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLinuxProfileLocation::IsInstalled(c.program, c.prefix), c.bInstalled)
            << c.program << " in " << c.prefix;
}

TEST_F(ProfileLocationTest, InstalledProgramUsesTheConfigurationFolderThoughItsFolderIsWritable)
{
    ASSERT_TRUE(fs::create_directories(Path("games")));
    EXPECT_EQ(CLinuxProfileLocation::Locate(Path("games/orvo"), m_dir), PlayersFile());
    // The same folder outside any install keeps the file beside the program.
    EXPECT_EQ(CLinuxProfileLocation::Locate(Path("games/orvo"), Path("elsewhere")),
              Path("games/orvo.ini"));
}

// The game opens the file named after the running program, beside it here.
TEST_F(ProfileLocationTest, TheRunningProgramKeepsItsFileBesideItself)
{
    const std::string program = CLinuxProfileLocation::ProgramPath();
    EXPECT_EQ(program, fs::canonical("/proc/self/exe").string());
    EXPECT_EQ(fs::path(program).filename(), "platform_linux_test_profile_location");
    const std::string ini = program + ".ini";
    std::error_code error;
    fs::remove(ini, error);
    std::unique_ptr<CProfile> pProfile = CProfileLocation::OpenForThisProgram();
    ASSERT_NE(pProfile, nullptr);
    EXPECT_TRUE(pProfile->WriteString("Test", "Key", "here"));
    std::ifstream file(ini);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("Key=here"), std::string::npos);
    fs::remove(ini, error);
}

}  // namespace
