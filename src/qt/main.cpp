// SPDX-License-Identifier: MIT
#include <QApplication>
#include <cstdio>
#include <optional>

#include "CCommandLine.h"
#include "CDisplayGuard.h"
#include "CQtGameApp.h"

namespace {

// Answers --help, --version or a bad option without a display; returns the
// exit code, or -1 when the game is to start.
int AnswerCommandLine(int argc, char* argv[])
{
    const CCommandLine commandLine(argc, argv);
    if (commandLine.GetAction() == CCommandLine::Action::Run)
        return -1;
    const bool bRefused = commandLine.GetAction() == CCommandLine::Action::Refuse;
    std::FILE* pStream = bRefused ? stderr : stdout;
    const std::string text = commandLine.Message();
    std::fputs(text.c_str(), pStream);
    // A help text lost to a full disk or a closed pipe is a failure, not an answer.
    if (std::fflush(pStream) != 0 || std::ferror(pStream))
        return 1;
    return bRefused ? CCommandLine::kExitUsage : CCommandLine::kExitAnswered;
}

}  // namespace

int main(int argc, char* argv[])
{
    const int nAnswered = AnswerCommandLine(argc, argv);
    if (nAnswered >= 0)
        return nAnswered;

    CQtGameApp::SetUpBeforeApplication();
    std::optional<CDisplayGuard> displayGuard(std::in_place);
    QApplication application(argc, argv);
    displayGuard.reset();
    CQtGameApp::SetUpApplication();

    CQtGameApp app;
    if (!app.InitInstance())
        return app.ExitCode();
    return application.exec();
}
