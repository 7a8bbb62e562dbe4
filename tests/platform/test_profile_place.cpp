// SPDX-License-Identifier: MIT
// Where the settings file lives: one rule for both systems.

#include <gtest/gtest.h>

#include <string>

#include "CProfilePlace.h"

namespace {

using Where = CProfilePlace::Where;

TEST(ProfilePlaceTest, BesideTheProgramWithItsExtensionReplaced)
{
    const struct {
        const char* pProgram;
        const char* pIni;
    } narrow[] = {
        {"/opt/Play/orvo", "/opt/Play/orvo.ini"},
        {"/opt/Play/Orvo.EXE", "/opt/Play/Orvo.ini"},
        {"/opt/Play/orvo.AppImage", "/opt/Play/orvo.ini"},
        {"/opt/My.Games/orvo", "/opt/My.Games/orvo.ini"},
        {"/opt/Play/orvo.tar.bin", "/opt/Play/orvo.tar.ini"},
        {"/opt/Play/.orvo", "/opt/Play/.orvo.ini"},
        {"orvo", "orvo.ini"},
        {"", ""},
    };
    for (const auto& c : narrow)
        EXPECT_EQ(CProfilePlace::BesideProgram(std::string(c.pProgram)), c.pIni) << c.pProgram;

    const struct {
        const wchar_t* pProgram;
        const wchar_t* pIni;
    } wide[] = {
        {L"D:\\Play\\Game.EXE", L"D:\\Play\\Game.ini"},
        {L"C:\\x.y\\orvo.exe", L"C:\\x.y\\orvo.ini"},
        {L"C:\\x.y\\orvo", L"C:\\x.y\\orvo.ini"},
        {L"C:/Games/orvo.exe", L"C:/Games/orvo.ini"},
        {L"", L""},
    };
    for (const auto& c : wide)
        EXPECT_EQ(CProfilePlace::BesideProgram(std::wstring(c.pProgram)), c.pIni);
}

TEST(ProfilePlaceTest, BesideTheProgramUnlessInstalledOrClosed)
{
    const struct {
        const char* pWhat;
        bool bHaveBeside, bInstalled, bBesideWritable, bHavePlayersFolder;
        Where where;
    } cases[] = {
        {"a build tree", true, false, true, true, Where::BesideProgram},
        {"a build tree, no player's folder", true, false, true, false, Where::BesideProgram},
        {"installed", true, true, true, true, Where::PlayersFolder},
        {"a closed folder", true, false, false, true, Where::PlayersFolder},
        // Still a game to play; what cannot be saved is told then.
        {"installed, no player's folder", true, true, true, false, Where::BesideProgram},
        {"closed, no player's folder", true, false, false, false, Where::BesideProgram},
        {"no program path", false, false, true, true, Where::Nowhere},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pWhat);
        EXPECT_EQ(CProfilePlace::Choose(c.bHaveBeside, c.bInstalled, c.bBesideWritable,
                                        c.bHavePlayersFolder),
                  c.where);
    }
}

}  // namespace
