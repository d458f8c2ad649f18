#include "app/data_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "app/native_path.h"

namespace tavro {
namespace {

bool HoldsDataFile(const QDir& dir, const DataFiles& names) {
    return QFile::exists(dir.filePath(QString::fromStdString(names.lexicon))) ||
           QFile::exists(dir.filePath(QString::fromStdString(names.conjugation)));
}

}  // namespace

DataFiles LocateDataFiles(const QString& currentDir, const QString& installedDir) {
    const DataFiles plain;
    if (HoldsDataFile(QDir(currentDir), plain) || installedDir.isEmpty()) return plain;
    const QDir installed(installedDir);
    if (!HoldsDataFile(installed, plain)) return plain;
    return {NativePath(installed.filePath(QString::fromStdString(plain.lexicon))),
            NativePath(installed.filePath(QString::fromStdString(plain.conjugation)))};
}

QString InstalledDataDir() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(TAVRO_DATA_DIR_FROM_BIN));
}

}  // namespace tavro
