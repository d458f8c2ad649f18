#include "tests/encoding_reference.h"

#include <iconv.h>
#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <cerrno>
#include <memory>
#include <stdexcept>

namespace tavro::testing {
namespace {

icu::UnicodeString IcuDecode(std::string_view bytes, const char* icuName) {
    UErrorCode error = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(icuName, &error);
    if (U_FAILURE(error)) throw std::runtime_error(std::string("no ICU converter ") + icuName);
    // The default callback substitutes U+FFFD for each maximal ill-formed subpart
    // (ICU's substitution character for a Unicode target).
    icu::UnicodeString text(bytes.data(), static_cast<int32_t>(bytes.size()), converter, error);
    ucnv_close(converter);
    if (U_FAILURE(error)) throw std::runtime_error("ICU could not decode");
    return text;
}

std::string Utf8Of(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

// Converts with iconv; nothing (empty optional) when iconv stops.
bool IconvAll(iconv_t cd, std::string_view in, std::string& out) {
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buffer[256];
    while (left > 0) {
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t done = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return true;
}

std::size_t Utf8Length(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

std::string IconvFromUtf8(std::string_view text, const char* to) {
    iconv_t cd = iconv_open(to, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no iconv converter");
    std::string out;
    char* src = const_cast<char*>(text.data());
    std::size_t left = text.size();
    char buffer[4096];
    while (left > 0) {
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t done = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // iconv stopped before a character it cannot write (or cannot read).
        const std::size_t n = Utf8Length(static_cast<unsigned char>(*src));
        if (errno != EILSEQ || n > left) {
            iconv_close(cd);
            throw std::invalid_argument("not UTF-8");
        }
        out += ' ';
        src += n;
        left -= n;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

std::string IconvToUtf8(std::string_view bytes, const char* from) {
    iconv_t cd = iconv_open("UTF-8", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no iconv converter");
    std::string out;
    const bool ok = IconvAll(cd, bytes, out);
    iconv_close(cd);
    if (!ok) throw std::invalid_argument(std::string("iconv cannot read this as ") + from);
    return out;
}

std::string ReferenceCp1253(std::string_view bytes, const char* icuName) {
    const icu::UnicodeString decoded = IcuDecode(bytes, icuName);
    UErrorCode error = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(error);
    const icu::UnicodeString composed = nfc->normalize(decoded, error);
    if (U_FAILURE(error)) throw std::runtime_error("ICU could not normalize");
    return IconvFromUtf8(Utf8Of(composed), "CP1253");
}

std::string NfdUtf8(std::string_view utf8) {
    UErrorCode error = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(error);
    return Utf8Of(nfd->normalize(icu::UnicodeString::fromUTF8(utf8), error));
}

std::string NfcUtf8(std::string_view utf8) {
    UErrorCode error = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(error);
    return Utf8Of(nfc->normalize(icu::UnicodeString::fromUTF8(utf8), error));
}

}  // namespace tavro::testing
