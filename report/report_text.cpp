#include "report/report_text.h"

#include <charconv>

#include "lexicon/tavro_doc.h"
#include "report/word_list.h"

namespace tavro {

std::string RenderReport(const std::vector<WordEntry>& list) {
    std::size_t size = 0;
    for (const WordEntry& entry : list) {
        if (entry.count != 0) size += entry.word.size() + 22;
    }
    std::string text;
    text.reserve(size);
    char digits[24];
    for (const WordEntry& entry : list) {
        if (entry.count == 0) continue;
        text += entry.word;
        text += ' ';
        const auto end = std::to_chars(digits, digits + sizeof digits, entry.count).ptr;
        text.append(digits, end);
        text += '\n';
    }
    return text;
}

void CTavroDoc::BuildReportText(const std::vector<WordEntry>& list) {
    m_reportText = RenderReport(list);
}

void CTavroDoc::RefreshView() {
    const WordNode* tree = m_bShowAllWords != 0 ? m_pWordTree : m_pNounTree;
    BuildReportText(BuildDisplayList(tree, m_bSortByFrequency != 0));
    m_platform.UpdateAllViews();
}

}  // namespace tavro
