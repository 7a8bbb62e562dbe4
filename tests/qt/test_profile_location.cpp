// SPDX-License-Identifier: MIT
// Where the settings file lives: beside the program, named after it, or in
// the player's configuration folder when the program is installed or its
// folder is read-only.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "AppTestSupport.h"
#include "CProfileLocation.h"

namespace {

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

TEST(ProfileLocationTest, OnlyTheBinOrGamesFolderOfThePrefixCountsAsInstalled)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath("usr");
    ASSERT_TRUE(QDir().mkpath(prefix + "/games") && QDir().mkpath(prefix + "/bin"));
    // Installed programs are often reached through a link to the prefix.
    ASSERT_TRUE(QFile::link(prefix, dir.filePath("linked")));
    struct Case {
        QString program;
        QString prefix;
        bool bInstalled;
    };
    const Case cases[] = {
        {prefix + "/games/orvo", prefix, true},
        {prefix + "/bin/orvo", prefix, true},
        {prefix + "/bin/orvo", prefix + "/", true},
        {prefix + "/games/orvo", dir.filePath("linked"), true},
        {dir.filePath("linked/bin/orvo"), prefix, true},
        {prefix + "/games/../bin/orvo", prefix, true},
        {prefix + "/lib/orvo", prefix, false},
        {prefix + "/games/orvo/orvo", prefix, false},
        {prefix + "/orvo", prefix, false},
        {dir.filePath("usr2/bin/orvo"), prefix, false},
        {prefix + "/bin/orvo", QString(), false},
        {QString(), prefix, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CProfileLocation::IsInstalled(c.program, c.prefix), c.bInstalled)
            << c.program.toStdString() << " in " << c.prefix.toStdString();
}

TEST(ProfileLocationTest, InstalledProgramUsesTheConfigurationFolderThoughItsFolderIsWritable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("games")));
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    EXPECT_EQ(CProfileLocation::Locate(dir.filePath("games/orvo"), dir.path()),
              config + "/orvo.ini");
    // The same folder outside any install keeps the file beside the program.
    EXPECT_EQ(CProfileLocation::Locate(dir.filePath("games/orvo"), dir.filePath("elsewhere")),
              dir.filePath("games/orvo.ini"));
}

TEST(ProfileLocationTest, StartUpUsesTheProgramsOwnPath)
{
    CQtGameApp app;
    app.SetInstanceName(UniqueInstanceName());
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.ProfilePath(),
              CProfileLocation::Locate(QCoreApplication::applicationFilePath()));
    EXPECT_TRUE(app.ProfilePath().endsWith("/qt_test_profile_location.ini"));
}

}  // namespace
