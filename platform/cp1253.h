// Conversion between code page 1253 bytes and Unicode, for the edges of the program
// that show text to a person or take it from one. Inside, all text stays cp1253.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavro {

// The character of a cp1253 byte; U+FFFD for the bytes the code page leaves unassigned.
char32_t Cp1253ToUnicode(unsigned char byte);

// The cp1253 byte of a character, or nothing when the code page cannot hold it.
std::optional<unsigned char> UnicodeToCp1253(char32_t character);

// cp1253 bytes as UTF-8 (unassigned bytes become U+FFFD).
std::string Cp1253ToUtf8(std::string_view text);

}  // namespace tavro
