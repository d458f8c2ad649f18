// Code page 1253 text at the edge where a person reads or types it.
//
// Inside, the program keeps all text as cp1253 bytes; only what is shown in a
// widget or taken from one passes through these two functions. File paths are
// not text in this sense: they go through QFile::encodeName/decodeName.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tavro {

// The characters of cp1253 bytes; unassigned bytes become U+FFFD.
QString Cp1253ToQString(std::string_view bytes);

// The cp1253 bytes of typed text; a character the code page cannot hold becomes
// '?', as the system's own conversion of typed text does.
std::string QStringToCp1253(const QString& text);

}  // namespace tavro
