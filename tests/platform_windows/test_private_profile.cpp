// SPDX-License-Identifier: MIT
#include "CPrivateProfile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "CHeroList.h"

namespace {

class PrivateProfile : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"orvo-profile-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_folder.c_str(), nullptr);
        m_path = m_folder + L"\\orvo.ini";
    }
    void TearDown() override
    {
        DeleteFileW(m_path.c_str());
        DeleteFileW((m_folder + L"\\.orvo.ini.lock").c_str());
        RemoveDirectoryW(m_folder.c_str());
    }

    std::string FileText() const
    {
        std::ifstream in(m_path.c_str(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void SetFileText(const std::string& text) const
    {
        std::ofstream out(m_path.c_str(), std::ios::binary);
        out << text;
    }
    // Nothing but the settings file may be left in the folder, besides the
    // writers' lock file, which stays once made.
    int FilesInFolder() const
    {
        WIN32_FIND_DATAW data;
        HANDLE hFind = FindFirstFileW((m_folder + L"\\*").c_str(), &data);
        int n = 0;
        if (hFind == INVALID_HANDLE_VALUE)
            return 0;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                std::wstring(data.cFileName) != L".orvo.ini.lock")
                ++n;
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
        return n;
    }

    std::wstring m_folder;
    std::wstring m_path;
};

TEST_F(PrivateProfile, MissingFileReadsAsDefaults)
{
    CPrivateProfile profile(m_path);
    EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 0), 0);
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), "");
}

TEST_F(PrivateProfile, SoundSwitchIsWrittenAsTheOldFunctionsWroteIt)
{
    CPrivateProfile profile(m_path);
    ASSERT_TRUE(profile.WriteInt("CONFIG", "PlaySound", 1));
    EXPECT_EQ(FileText(), "[CONFIG]\r\nPlaySound=1\r\n");
    EXPECT_EQ(profile.GetInt("config", "playsound", 0), 1);
    ASSERT_TRUE(profile.WriteInt("CONFIG", "PlaySound", 0));
    EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 1), 0);
    EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(PrivateProfile, WriteKeepsOtherSectionsAndRemovesKeys)
{
    SetFileText("; mine\r\n[CONFIG]\r\nPlaySound=1\r\n[TOPTEN]\r\nHero0=abc\r\nHero1=def\r\n");
    CPrivateProfile profile(m_path);
    ASSERT_TRUE(profile.Write({{"TOPTEN", "Hero0", std::string("xyz")},
                               {"TOPTEN", "Hero1", std::nullopt}}));
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), "xyz");
    EXPECT_EQ(profile.GetString("TOPTEN", "Hero1", "gone"), "gone");
    EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 0), 1);
    EXPECT_NE(FileText().find("; mine"), std::string::npos);
}

TEST_F(PrivateProfile, RefusedBatchLeavesFileUntouched)
{
    const std::string before = "[CONFIG]\r\nPlaySound=1\r\n";
    SetFileText(before);
    CPrivateProfile profile(m_path);
    const std::vector<CProfileEdit> refused[] = {
        {{"CONFIG", "PlaySound", std::string("0")}, {"TOPTEN", "Hero0", std::string("a\nb")}},
        {{"CON]FIG", "PlaySound", std::string("0")}},
        {{"CONFIG", "Play=Sound", std::string("0")}},
    };
    for (const auto& edits : refused) {
        EXPECT_FALSE(profile.Write(edits));
        EXPECT_EQ(profile.GetLastWriteError(), CProfileError::Unstorable);
        EXPECT_EQ(FileText(), before);
    }
    EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(PrivateProfile, UnwritableFolderFailsWithoutLeftovers)
{
    CPrivateProfile profile(m_folder + L"\\no such folder\\orvo.ini");
    EXPECT_FALSE(profile.WriteInt("CONFIG", "PlaySound", 1));
    EXPECT_EQ(profile.GetLastWriteError(), CProfileError::NoPermission);
    EXPECT_EQ(FilesInFolder(), 0);
}

TEST_F(PrivateProfile, ReadOnlyFileIsNeitherReplacedNorChanged)
{
    const std::string before = "[CONFIG]\r\nPlaySound=1\r\n";
    SetFileText(before);
    SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    CPrivateProfile profile(m_path);
    EXPECT_FALSE(profile.WriteInt("CONFIG", "PlaySound", 0));
    EXPECT_EQ(profile.GetLastWriteError(), CProfileError::ReadOnly);
    SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FileText(), before);
    EXPECT_EQ(FilesInFolder(), 1);
}

// The same rule as on Linux: beyond 1 MiB the file is damaged, not
// settings; it reads as empty and no write replaces it.
TEST_F(PrivateProfile, OversizedFileReadsAsEmptyAndIsKept)
{
    const std::string head = "[CONFIG]\r\nPlaySound=1\r\n[TOPTEN]\r\nHero0=ABC\r\n";
    for (const std::size_t nSize : {CProfile::MAX_FILE_BYTES, CProfile::MAX_FILE_BYTES + 1}) {
        SCOPED_TRACE(nSize);
        const std::string text = head + std::string(nSize - head.size() - 2, ';') + "\r\n";
        SetFileText(text);
        CPrivateProfile profile(m_path);
        const bool bWithin = nSize <= CProfile::MAX_FILE_BYTES;

        EXPECT_EQ(profile.IsOversized(), !bWithin);
        EXPECT_EQ(profile.GetInt("CONFIG", "PlaySound", 0), bWithin ? 1 : 0);
        EXPECT_EQ(profile.GetString("TOPTEN", "Hero0", ""), bWithin ? "ABC" : "");
        EXPECT_EQ(profile.WriteInt("CONFIG", "PlaySound", 0), bWithin);
        if (!bWithin) {
            EXPECT_EQ(profile.GetLastWriteError(), CProfileError::Damaged);
            EXPECT_EQ(FileText(), text);
            EXPECT_EQ(FilesInFolder(), 1);
        }
    }
}

TEST_F(PrivateProfile, TopTenListSurvivesTheRoundTripAndShrinks)
{
    CPrivateProfile profile(m_path);
    CHeroList heroes;
    heroes.SetProfile(&profile);
    for (int i = 0; i < 3; ++i) {
        auto record = std::make_unique<CHeroRecord>();
        record->SetName("\xD3\xA2\xD0\xDB" + std::to_string(i));  // GBK, whatever the code page
        record->SetBalls(10 * (i + 1));
        record->SetScore(100 * (i + 1));
        record->Encode();
        heroes.Insert(std::move(record));
    }
    ASSERT_TRUE(heroes.Save());

    CHeroList loaded;
    loaded.SetProfile(&profile);
    loaded.Load();
    ASSERT_EQ(loaded.GetCount(), 3);
    EXPECT_EQ(loaded.Records().front()->GetName(), "\xD3\xA2\xD0\xDB" "2");
    EXPECT_EQ(loaded.Records().front()->GetBalls(), 30);

    // A shorter list leaves no older entry behind.
    CHeroList shorter;
    shorter.SetProfile(&profile);
    ASSERT_TRUE(shorter.Save());
    EXPECT_EQ(FileText().find("Hero"), std::string::npos);
}

TEST(ProfileLocation, FallsBackToApplicationDataWhereTheFolderIsClosed)
{
    const std::wstring path = CPrivateProfile::Locate(L"Z:\\no\\such\\folder\\orvo.exe");
    const std::wstring tail = L"\\Orvo\\orvo.ini";
    ASSERT_GT(path.size(), tail.size());
    EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    EXPECT_EQ(CPrivateProfile::Locate(std::wstring(temp) + L"orvo.exe"),
              std::wstring(temp) + L"orvo.ini");
}

}  // namespace
