// SPDX-License-Identifier: MIT
#include "CInstallMark.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "CPrivateProfile.h"

namespace {

// A program folder that Wine, like an elevated player, may write: only the
// mark keeps the settings out of it.
class InstallMark : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"orvo-mark-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr));
        m_program = m_folder + L"\\orvo.exe";
    }
    void TearDown() override
    {
        DeleteFileW(Mark().c_str());
        RemoveDirectoryW(Mark().c_str());
        RemoveDirectoryW(m_folder.c_str());
    }

    std::wstring Mark() const { return m_folder + L"\\" + CInstallMark::kFileName; }
    static std::wstring PlayersFile()
    {
        wchar_t appData[MAX_PATH] = {};
        EXPECT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr,
                                               SHGFP_TYPE_CURRENT, appData)));
        return std::wstring(appData) + L"\\Orvo\\orvo.ini";
    }

    std::wstring m_folder;
    std::wstring m_program;
};

TEST_F(InstallMark, MarkedFolderKeepsSettingsInThePlayersFolder)
{
    ASSERT_TRUE(CPrivateProfile::CanWriteIn(m_folder));
    EXPECT_FALSE(CInstallMark::IsBeside(m_program));
    EXPECT_EQ(CPrivateProfile::Locate(m_program), m_folder + L"\\orvo.ini");

    std::ofstream(Mark().c_str()) << "installed\r\n";
    EXPECT_TRUE(CInstallMark::IsBeside(m_program));
    EXPECT_EQ(CPrivateProfile::Locate(m_program), PlayersFile());
}

// A folder of that name is no mark; nor is a mark in another folder.
TEST_F(InstallMark, OnlyAFileBesideTheProgramMarksIt)
{
    ASSERT_TRUE(CreateDirectoryW(Mark().c_str(), nullptr));
    EXPECT_FALSE(CInstallMark::IsBeside(m_program));
    EXPECT_EQ(CPrivateProfile::Locate(m_program), m_folder + L"\\orvo.ini");
    RemoveDirectoryW(Mark().c_str());

    std::ofstream(Mark().c_str()) << "installed\r\n";
    EXPECT_FALSE(CInstallMark::IsBeside(m_folder + L"\\sub\\orvo.exe"));
    EXPECT_FALSE(CInstallMark::IsBeside(L"orvo.exe"));
}

}  // namespace
