#include "app/data_location.h"

#include <QCoreApplication>
#include <QDir>

#include "app/native_path.h"

namespace tavro {
namespace {

bool HoldsDataFile(FileSystem& files, const QDir& dir, const DataFiles& names) {
    for (const std::string& name : {names.lexicon, names.conjugation}) {
        const QString path = dir.filePath(QString::fromStdString(name));
        if (files.KindOf(NativePath(path)) != FileKind::kMissing) return true;
    }
    return false;
}

}  // namespace

DataFiles LocateDataFiles(FileSystem& files, const QString& currentDir,
                          const QString& installedDir) {
    const DataFiles plain;
    if (HoldsDataFile(files, QDir(currentDir), plain) || installedDir.isEmpty()) return plain;
    const QDir installed(installedDir);
    if (!HoldsDataFile(files, installed, plain)) return plain;
    return {NativePath(installed.filePath(QString::fromStdString(plain.lexicon))),
            NativePath(installed.filePath(QString::fromStdString(plain.conjugation)))};
}

QString InstalledDataDir() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(TAVRO_DATA_DIR_FROM_BIN));
}

}  // namespace tavro
