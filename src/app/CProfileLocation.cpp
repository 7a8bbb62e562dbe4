#include "CProfileLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString CProfileLocation::BesideProgram(const QString& programPath)
{
    if (programPath.isEmpty())
        return QString();
    const QFileInfo program(programPath);
    return program.absolutePath() + '/' + program.completeBaseName() + ".ini";
}

QString CProfileLocation::Locate(const QString& programPath)
{
    const QString beside = BesideProgram(programPath);
    if (beside.isEmpty())
        return QString();
    const QFileInfo folder(QFileInfo(beside).absolutePath());
    if (folder.isDir() && folder.isWritable())
        return beside;
    return Fallback();
}

QString CProfileLocation::Fallback()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    return folder + "/orvo.ini";
}
