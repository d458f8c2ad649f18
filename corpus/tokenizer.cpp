#include "corpus/tokenizer.h"

#include "corpus/char_classes.h"
#include "corpus/text_mode.h"

namespace tavro {

bool Tokenizer::Feed(std::string_view block, WordCounter& counter) {
    const auto* p = reinterpret_cast<const unsigned char*>(block.data());
    const unsigned char* const end = p + block.size();
    while (p < end) {
        if (m_skippingLine) {
            while (p < end && *p != '\n' && *p != kEndOfText) ++p;
            if (p == end) return true;
            if (*p == kEndOfText) return false;
            m_skippingLine = false;
            ++p;
            continue;
        }
        const unsigned char folded = WordFold(*p);
        if (folded != 0) {
            m_token += static_cast<char>(folded);
            ++p;
            continue;
        }
        if (!m_token.empty()) {
            counter.Add(m_token);
            m_token.clear();
        }
        if (*p == kEndOfText) return false;
        if (*p == '\0') m_skippingLine = true;
        ++p;
    }
    return true;
}

void Tokenizer::Finish(WordCounter& counter) {
    if (!m_token.empty()) counter.Add(m_token);
    m_token.clear();
    m_skippingLine = false;
}

}  // namespace tavro
