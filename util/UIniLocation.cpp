#include "util/UIniLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString IniFileName = QStringLiteral("KORVALMeridal.ini");

// The install's configuration folder, on platforms whose program folders are
// not the user's to edit.
QString InstallConfigFolder()
{
#ifdef MERIDAL_INSTALL_CONFIG_FOLDER
    return QStringLiteral(MERIDAL_INSTALL_CONFIG_FOLDER);
#else
    return {};
#endif
}

} // namespace

QString IniFilePath()
{
    return IniFilePath(QCoreApplication::applicationDirPath(), InstallConfigFolder());
}

QString IniFilePath(const QString& programFolder, const QString& configFolder)
{
    const QString besideProgram = QDir(programFolder).filePath(IniFileName);
    if (configFolder.isEmpty() || QFileInfo::exists(besideProgram))
        return besideProgram;
    const QString installed = QDir(configFolder).filePath(IniFileName);
    return QFileInfo::exists(installed) ? installed : besideProgram;
}
