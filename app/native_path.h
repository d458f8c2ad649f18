// File paths between Qt and the engine: the engine takes a path as the
// platform's own bytes, Qt as characters. Paths are not text in the sense of
// greek_text.h: they are converted the way the file system names them.
#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace tavro {

inline std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

inline QString PathForDisplay(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace tavro
