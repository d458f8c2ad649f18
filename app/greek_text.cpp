#include "app/greek_text.h"

#include <array>

#include "platform/cp1253.h"

namespace tavro {
namespace {

// One table lookup per byte: the view converts reports of many megabytes.
const std::array<char16_t, 256>& CharTable() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            t[b] = static_cast<char16_t>(Cp1253ToUnicode(static_cast<unsigned char>(b)));
        }
        return t;
    }();
    return table;
}

}  // namespace

QString Cp1253ToQString(std::string_view bytes) {
    const std::array<char16_t, 256>& table = CharTable();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) *out++ = QChar(table[static_cast<unsigned char>(byte)]);
    return text;
}

std::string QStringToCp1253(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t c : text.toStdU32String()) {
        const std::optional<unsigned char> byte = UnicodeToCp1253(c);
        bytes += byte ? static_cast<char>(*byte) : '?';
    }
    return bytes;
}

}  // namespace tavro
