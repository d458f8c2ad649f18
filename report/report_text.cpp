#include "report/report_text.h"

#include <charconv>

#include "corpus/huge_page_allocator.h"

namespace tavro {

std::string RenderReport(const DisplayList& list) {
    std::size_t size = 0;
    for (const WordEntry* entry : list) {
        if (entry->count != 0) size += entry->word.size() + 22;
    }
    std::string text;
    text.reserve(size);
    AdviseHugePages(text.data(), text.capacity());
    char digits[24];
    for (const WordEntry* entry : list) {
        if (entry->count == 0) continue;
        text += entry->word;
        text += ' ';
        const auto end = std::to_chars(digits, digits + sizeof digits, entry->count).ptr;
        text.append(digits, end);
        text += '\n';
    }
    return text;
}

}  // namespace tavro
