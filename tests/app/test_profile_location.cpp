// Where the settings file lives: beside the program, named after it, or in
// the player's configuration folder when the program's folder is read-only.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "AppTestSupport.h"
#include "CProfileLocation.h"

namespace {

TEST(ProfileLocationTest, BesideTheProgramWithItsExtensionReplaced)
{
    struct Case {
        const char* pProgram;
        const char* pIni;
    };
    const Case cases[] = {
        {"/opt/Play/orvo", "/opt/Play/orvo.ini"},
        {"/opt/Play/Orvo.EXE", "/opt/Play/Orvo.ini"},
        {"/opt/Play/orvo.AppImage", "/opt/Play/orvo.ini"},
        {"/opt/My.Games/orvo.bin", "/opt/My.Games/orvo.ini"},
        {"/opt/Play/orvo.tar.bin", "/opt/Play/orvo.tar.ini"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CProfileLocation::BesideProgram(c.pProgram), QString(c.pIni)) << c.pProgram;
}

TEST(ProfileLocationTest, WritableProgramFolderKeepsTheFileBesideTheProgram)
{
    QTemporaryDir dir;
    const QString program = dir.filePath("orvo");
    EXPECT_EQ(CProfileLocation::Locate(program), dir.filePath("orvo.ini"));
}

TEST(ProfileLocationTest, UnusableProgramFolderFallsBackToTheConfigurationFolder)
{
    QTemporaryDir dir;
    // A folder that does not exist cannot be written, even by root.
    const QString located = CProfileLocation::Locate(dir.filePath("gone/orvo"));
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    ASSERT_FALSE(config.isEmpty());
    EXPECT_EQ(located, config + "/orvo.ini");
    EXPECT_TRUE(QFileInfo(config).isDir()) << "the folder is created";
}

TEST(ProfileLocationTest, StartUpUsesTheProgramsOwnPath)
{
    CGameApp app;
    app.SetInstanceName(UniqueInstanceName());
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.ProfilePath(),
              CProfileLocation::Locate(QCoreApplication::applicationFilePath()));
    EXPECT_TRUE(app.ProfilePath().endsWith("/app_test_profile_location.ini"));
}

}  // namespace
