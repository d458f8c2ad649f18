// An independent way to the cp1253 text of bytes in another encoding, for checking
// the decoder: ICU's converter decodes (each malformed sequence becomes U+FFFD),
// ICU's normalizer composes (NFC), and glibc's iconv writes each character as a
// cp1253 byte, or as a space when cp1253 cannot hold it.
#pragma once

#include <string>
#include <string_view>

namespace tavro::testing {

// The cp1253 text of `bytes` in the encoding ICU names `icuName` ("UTF-8",
// "ISO-8859-7", "windows-1253"), by the rule above.
std::string ReferenceCp1253(std::string_view bytes, const char* icuName);

// `text` (UTF-8) converted by iconv to `to`, character by character; a character
// that `to` cannot hold becomes a space. Throws for text that is not UTF-8.
std::string IconvFromUtf8(std::string_view text, const char* to);

// `bytes` converted by iconv from `from` to UTF-8; throws when iconv fails.
std::string IconvToUtf8(std::string_view bytes, const char* from);

// UTF-8 text in Normalization Form D or C (ICU).
std::string NfdUtf8(std::string_view utf8);
std::string NfcUtf8(std::string_view utf8);

}  // namespace tavro::testing
