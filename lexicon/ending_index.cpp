#include "lexicon/ending_index.h"

namespace tavro {

EndingIndex::EndingIndex(const std::vector<EndingGroup>& table) {
    for (std::uint32_t g = 0; g < table.size(); ++g) {
        if (table[g].empty()) continue;
        const std::string& ending = table[g].front().text;
        if (ending.empty()) {
            m_emptyEndings.push_back(g);
            for (auto& groups : m_byLastByte) groups.push_back(g);
        } else {
            m_byLastByte[static_cast<unsigned char>(ending.back())].push_back(g);
        }
    }
}

}  // namespace tavro
