// SPDX-License-Identifier: MIT
// The command line: --help and --version answer, any other option or word is
// refused, and an empty one starts the game.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <vector>

#include "CCommandLine.h"

namespace {

using Action = CCommandLine::Action;

CCommandLine Parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "/usr/games/orvo");
    return CCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLineTest, ChoosesTheActionFromTheFirstOption)
{
    struct Case {
        std::vector<const char*> args;
        Action action;
    };
    const Case cases[] = {
        {{}, Action::Run},
        {{"--"}, Action::Run},
        {{"save.ini"}, Action::Refuse},
        {{"-"}, Action::Refuse},
        {{"--", "--version"}, Action::Refuse},
        {{"--", "--"}, Action::Refuse},
        {{"--help"}, Action::Help},
        {{"-h"}, Action::Help},
        {{"file", "--help"}, Action::Help},
        {{"--help", "--bogus"}, Action::Help},
        {{"--version"}, Action::Version},
        {{"--version", "--help"}, Action::Version},
        {{"--bogus", "--help"}, Action::Refuse},
        {{"-v"}, Action::Refuse},
        {{"--help=1"}, Action::Refuse},
        {{"--versio"}, Action::Refuse},
        {{"-platform", "offscreen"}, Action::Refuse},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const char* pArg : c.args)
            line += std::string(pArg) + ' ';
        EXPECT_EQ(Parse(c.args).GetAction(), c.action) << line;
    }
}

TEST(CommandLineTest, AnswersNameTheProgramAndTheVersion)
{
    const std::string version = Parse({"--version"}).Message();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Orvo [0-9]+(\\.[0-9]+)*\n$"))
                    .match(QString::fromStdString(version))
                    .hasMatch())
        << version;
    const std::string help = Parse({"--help"}).Message();
    EXPECT_EQ(help.rfind("Usage: orvo [--help | --version]\n", 0), 0u) << help;
    EXPECT_NE(help.find("--version"), std::string::npos);
    EXPECT_EQ(Parse({}).Message(), "");
}

TEST(CommandLineTest, RefusalNamesTheWordAndGivesTheUsage)
{
    EXPECT_EQ(Parse({"--fullscreen"}).Message(),
              "orvo: unknown option '--fullscreen'\nUsage: orvo [--help | --version]\n");
    // An unknown option is named before any stray word; else the first word.
    EXPECT_EQ(Parse({"extra", "more", "--bogus"}).Message(),
              "orvo: unknown option '--bogus'\nUsage: orvo [--help | --version]\n");
    EXPECT_EQ(Parse({"extra", "more"}).Message(),
              "orvo: unexpected argument 'extra'\nUsage: orvo [--help | --version]\n");
    // Without a program name the game still names itself.
    const char* const noName[] = {"", "-x"};
    EXPECT_EQ(CCommandLine(2, noName).Message(),
              "orvo: unknown option '-x'\nUsage: orvo [--help | --version]\n");
}

}  // namespace
