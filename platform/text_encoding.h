// Text in the encodings Greek text is found in, decoded at the edge into the
// engine's code page 1253 bytes; from there on nothing changes.
//
// Every text that comes in (input files, the lexicon, the inflection table, a
// typed word) goes through one rule: it is decoded, put in Unicode Normalization
// Form C (so that a decomposed α + U+0301 is the precomposed ά, as the Unicode
// normalizer of ICU composes it), and each character written as its cp1253 byte.
// A character that cp1253 cannot hold becomes a space (a byte that separates
// words); each malformed byte sequence (a maximal ill-formed subpart, as the
// Unicode Standard counts them) becomes one space too and is counted. Code page
// 1253 itself is read byte for byte, as the engine has always read it: no byte
// of it is ever changed, and none counts as malformed.
//
// Decoding never reads outside what it is given and never fails: any bytes give
// cp1253 bytes, at most as many as were given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavro {

enum class TextEncoding { kCp1253, kIso8859_7, kUtf8 };

// What a run reads its input files as: detected per file, or one encoding for all.
enum class EncodingChoice { kAuto, kCp1253, kIso8859_7, kUtf8 };

// "auto", "utf-8", "cp1253", "iso-8859-7" and their usual aliases ("utf8",
// "windows-1253", "iso8859-7", ...), in any letter case; nothing for another name.
std::optional<EncodingChoice> ParseEncodingChoice(std::string_view name);

// The name a person reads: "UTF-8", "code page 1253", "ISO-8859-7".
const char* EncodingName(TextEncoding encoding);

// The encoding of text that begins with `bytes`: UTF-8 when they start with its
// byte-order mark or hold well-formed multi-byte UTF-8 sequences and at most half
// as many malformed ones (Greek in a one-byte encoding holds far more malformed
// than well-formed ones, so a few damaged bytes do not make UTF-8 text one of
// those; the first 4096 well-formed ones decide); otherwise code page 1253 or
// ISO-8859-7, told apart by the bytes in which the two differ (capital alpha with
// tonos is A2 in one and B6 in the other), cp1253 when nothing tells them apart.
// Nothing when the bytes are plain ASCII, which reads the same in all three.
std::optional<TextEncoding> DetectEncoding(std::string_view bytes);

// The encoding to read a whole text in: the forced one, or the detected one
// (cp1253 for plain ASCII).
TextEncoding EncodingFor(std::string_view bytes, EncodingChoice choice);

// Decodes blocks of text into cp1253, reusing one buffer.
class Cp1253Decoder {
  public:
    // `nulEndsLine`: input text, where a NUL byte ends the scan of its line. The
    // bytes after a NUL, up to the next line feed, give no words and are not
    // decoded (they are dropped, and not counted as malformed).
    explicit Cp1253Decoder(bool nulEndsLine = false) : m_nulEndsLine(nulEndsLine) {}

    // The cp1253 text of `bytes`, in this decoder's buffer (valid until the next
    // call). `bytes` must end at a character boundary of the encoding (any ASCII
    // byte is one), or a sequence cut off at the end counts as malformed.
    // For kCp1253 the result holds `bytes` unchanged. `continues`: `bytes` go on
    // from those of the last call (a line that a NUL ended there is still skipped).
    std::span<char> Decode(std::string_view bytes, TextEncoding encoding, bool continues = false);

    // Of the last Decode: how many malformed sequences (or bytes that are no
    // character of the encoding) it met; how many characters cp1253 cannot hold;
    // where in `bytes` the first of either began (npos when there was none).
    std::uint64_t BadSequences() const { return m_bad; }
    std::uint64_t Unheld() const { return m_unheld; }
    std::size_t FirstProblem() const { return m_firstProblem; }
    // The first character cp1253 cannot hold (after normalization), when there was one.
    char32_t FirstUnheld() const { return m_firstUnheld; }
    // Whether the first problem was such a character (rather than a malformed sequence).
    bool FirstProblemUnheld() const { return m_firstProblemUnheld; }

  private:
    char* Reserve(std::size_t size);
    std::size_t DecodeUtf8(const unsigned char* in, std::size_t size, unsigned char* out);
    std::size_t DecodeIso8859_7(const unsigned char* in, std::size_t size, unsigned char* out);
    void NoteProblem(std::size_t at, bool unheld) {
        if (m_firstProblem != std::string_view::npos) return;
        m_firstProblem = at;
        m_firstProblemUnheld = unheld;
    }

    bool m_nulEndsLine;
    bool m_inNulLine = false;  // the last call ended inside the rest of a line after a NUL
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_capacity = 0;
    std::uint64_t m_bad = 0;
    std::uint64_t m_unheld = 0;
    std::size_t m_firstProblem = std::string_view::npos;
    char32_t m_firstUnheld = 0;
    bool m_firstProblemUnheld = false;
};

// A whole text decoded at once, as the data files and a typed word are.
struct DecodedText {
    TextEncoding encoding = TextEncoding::kCp1253;
    std::string text;  // cp1253; a byte-order mark at the start is dropped
    std::uint64_t badSequences = 0;
    std::uint64_t unheld = 0;
    std::size_t firstProblem = std::string_view::npos;  // offset in the bytes given
    char32_t firstUnheld = 0;
    bool firstProblemUnheld = false;  // the first problem is firstUnheld, not a malformed sequence
    bool clean() const { return badSequences == 0 && unheld == 0; }
};

DecodedText DecodeText(std::string_view bytes, EncodingChoice choice = EncodingChoice::kAuto);

// UTF-8 as cp1253 bytes (composed to NFC); nothing when the text is not valid
// UTF-8 or holds a character that cp1253 cannot hold.
std::optional<std::string> Utf8ToCp1253(std::string_view text);

// What is wrong with a text that did not decode cleanly, naming its line (lines
// end at LF, or at a CR that no LF follows): "line 3 holds U+0436 CYRILLIC SMALL
// LETTER ZHE, which code page 1253 cannot hold" or "line 3 is not valid UTF-8"
// (ASCII). `bytes` are the bytes that were decoded.
std::string DecodingProblem(const DecodedText& decoded, std::string_view bytes);

// "U+0436 CYRILLIC SMALL LETTER ZHE": a character named for a message (ASCII).
std::string DescribeCharacter(char32_t character);

// The report (or any cp1253 text) in the encoding asked for: cp1253 as it is,
// or UTF-8. ISO-8859-7 cannot hold every cp1253 byte and is not offered.
std::string EncodeCp1253(std::string_view text, TextEncoding encoding);

}  // namespace tavro
