// SPDX-License-Identifier: MIT
#include "CProfileLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "CProfilePlace.h"

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
    return QString::fromStdString(CProfilePlace::BesideProgram(programPath.toStdString()));
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
    const bool bBesideWritable =
        !beside.isEmpty() && IsWritableFolder(QFileInfo(beside).absolutePath());
    const bool bInstalled = IsInstalled(programPath, installPrefix);
    // The player's folder is made only when it is wanted.
    const QString players = bBesideWritable && !bInstalled ? QString() : Fallback();
    return QString::fromStdString(CProfilePlace::Choose(
        beside.toStdString(), bInstalled, bBesideWritable, players.toStdString()));
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
