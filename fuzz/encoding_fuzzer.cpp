// libFuzzer target: detecting and decoding any bytes, in every encoding.
//
// Checks, for every input: detection and decoding never crash or read outside
// the input; decoding never writes more bytes than it was given, and writes only
// bytes that are characters of code page 1253 (cp1253 itself is passed through
// unchanged); the count of malformed sequences is at most the input's size, is
// nonzero exactly when a malformed sequence was noted first or later, and is the
// same when the input is decoded in two pieces cut after an ASCII byte (a
// malformed sequence never spans an ASCII byte); the UTF-8 of cp1253 text
// decodes back to that text, byte for byte.
//
// Build (clang with libFuzzer), from the top of the repository:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
//       fuzz/encoding_fuzzer.cpp platform/text_encoding.cpp platform/cp1253.cpp \
//       $(pkg-config --cflags --libs icu-uc) -o encoding_fuzzer
//   ./encoding_fuzzer -max_len=4096 -max_total_time=60

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "platform/cp1253.h"
#include "platform/text_encoding.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool HeldByCp1253(char byte) {
    return tavro::Cp1253ToUnicode(static_cast<unsigned char>(byte)) != 0xFFFD;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavro;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<TextEncoding> detected = DetectEncoding(bytes);
    if (!detected) {
        for (const char c : bytes) Check(static_cast<unsigned char>(c) < 0x80);
    }

    for (const TextEncoding encoding :
         {TextEncoding::kCp1253, TextEncoding::kIso8859_7, TextEncoding::kUtf8}) {
        for (const bool nulEndsLine : {false, true}) {
            Cp1253Decoder decoder(nulEndsLine);
            const std::span<char> text = decoder.Decode(bytes, encoding);
            const std::string decoded(text.data(), text.size());
            Check(decoded.size() <= size);
            Check(decoder.BadSequences() <= size);
            Check((decoder.BadSequences() != 0 || decoder.Unheld() != 0) ==
                  (decoder.FirstProblem() != std::string_view::npos));
            if (encoding == TextEncoding::kCp1253) {
                Check(decoded == bytes);
                Check(decoder.BadSequences() == 0);
                continue;
            }
            for (const char c : decoded) Check(HeldByCp1253(c));
            if (nulEndsLine) continue;
            // The same input in two pieces, cut after its first ASCII byte.
            std::size_t cut = 0;
            while (cut < size && data[cut] >= 0x80) ++cut;
            if (cut < size) {
                Cp1253Decoder pieces;
                pieces.Decode(bytes.substr(0, cut + 1), encoding);
                std::uint64_t bad = pieces.BadSequences();
                pieces.Decode(bytes.substr(cut + 1), encoding);
                bad += pieces.BadSequences();
                Check(bad == decoder.BadSequences());
            }
        }
    }

    // cp1253 text (each unassigned byte made a space) through UTF-8 and back.
    std::string cp1253(bytes);
    for (char& c : cp1253) {
        if (!HeldByCp1253(c)) c = ' ';
    }
    Cp1253Decoder decoder;
    const std::span<char> back = decoder.Decode(Cp1253ToUtf8(cp1253), TextEncoding::kUtf8);
    Check(std::string_view(back.data(), back.size()) == cp1253);
    Check(decoder.BadSequences() == 0 && decoder.Unheld() == 0);

    const DecodedText whole = DecodeText(bytes);
    if (!whole.clean()) Check(!DecodingProblem(whole, bytes).empty());
    return 0;
}
