#include "report/greek_order.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <numeric>

#include "corpus/word_entry.h"
#include "platform/text_encoding.h"

namespace tavro {

struct GreekCollator::Impl {
    std::unique_ptr<icu::Collator> collator;
};

GreekCollator::GreekCollator() : m_impl(new Impl) {
    UErrorCode status = U_ZERO_ERROR;
    m_impl->collator.reset(icu::Collator::createInstance(icu::Locale("el"), status));
    if (U_FAILURE(status)) m_impl->collator.reset();
    if (m_impl->collator) {
        // Letters first, then accents; case and the form of sigma only in the
        // byte order that breaks the remaining ties.
        m_impl->collator->setStrength(icu::Collator::SECONDARY);
    }
}

GreekCollator::~GreekCollator() { delete m_impl; }

std::string GreekCollator::Key(std::string_view cp1253Word) const {
    if (!m_impl->collator) return std::string(cp1253Word);
    const std::string utf8 = EncodeCp1253(cp1253Word, TextEncoding::kUtf8);
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
    std::string key(64, '\0');
    for (;;) {
        const int32_t length = m_impl->collator->getSortKey(
            text, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
        if (length <= static_cast<int32_t>(key.size())) {
            key.resize(length > 0 ? static_cast<std::size_t>(length) - 1 : 0);  // no final NUL
            return key;
        }
        key.resize(static_cast<std::size_t>(length));
    }
}

bool GreekCollator::Less(std::string_view a, std::string_view b) const {
    const std::string ka = Key(a);
    const std::string kb = Key(b);
    if (ka != kb) return ka < kb;
    return CompareWords(a, b) < 0;
}

std::vector<std::uint32_t> GreekOrder(const std::vector<std::string_view>& words) {
    const GreekCollator collator;
    std::vector<std::string> keys;
    keys.reserve(words.size());
    for (const std::string_view word : words) keys.push_back(collator.Key(word));
    std::vector<std::uint32_t> order(words.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        if (keys[a] != keys[b]) return keys[a] < keys[b];
        return CompareWords(words[a], words[b]) < 0;
    });
    return order;
}

}  // namespace tavro
