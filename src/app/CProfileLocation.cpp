// SPDX-License-Identifier: MIT
#include "CProfileLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The real path where it exists, so that a prefix reached through a symbolic
// link still matches the program's own (always resolved) path.
QString Resolved(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool IsWritableFolder(const QString& path)
{
    const QFileInfo folder(path);
    return folder.isDir() && folder.isWritable();
}

}  // namespace

QString CProfileLocation::BesideProgram(const QString& programPath)
{
    if (programPath.isEmpty())
        return QString();
    const QFileInfo program(programPath);
    return program.absolutePath() + '/' + program.completeBaseName() + ".ini";
}

bool CProfileLocation::IsInstalled(const QString& programPath, const QString& installPrefix)
{
    if (programPath.isEmpty() || installPrefix.isEmpty())
        return false;
    const QString folder = Resolved(QFileInfo(programPath).absolutePath());
    const QString prefix = Resolved(installPrefix);
    for (const char* pSubfolder : {"bin", "games"}) {
        if (folder == Resolved(prefix + '/' + pSubfolder))
            return true;
    }
    return false;
}

QString CProfileLocation::Locate(const QString& programPath, const QString& installPrefix)
{
    const QString beside = BesideProgram(programPath);
    if (beside.isEmpty())
        return QString();
    const bool bBesideUsable = IsWritableFolder(QFileInfo(beside).absolutePath());
    if (bBesideUsable && !IsInstalled(programPath, installPrefix))
        return beside;
    const QString fallback = Fallback();
    if (fallback.isEmpty() && bBesideUsable)
        return beside;
    return fallback;
}

QString CProfileLocation::Locate(const QString& programPath)
{
    return Locate(programPath, QStringLiteral(ORVO_INSTALL_PREFIX));
}

QString CProfileLocation::Fallback()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    return folder + "/orvo.ini";
}
