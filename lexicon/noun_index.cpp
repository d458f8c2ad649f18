#include "lexicon/noun_index.h"

#include <bit>

#include "corpus/word_counter.h"

namespace tavro {

NounIndex::NounIndex(WordNode* root) {
    CollectNodesInOrder(root, m_nodes);
    const std::size_t slots = std::bit_ceil(m_nodes.size() * 2 + 2);
    m_slots.assign(slots, 0);
    m_mask = slots - 1;
    for (std::uint32_t ordinal = 0; ordinal < m_nodes.size(); ++ordinal) {
        std::size_t slot = WordCounter::Hash(m_nodes[ordinal]->entry.word) & m_mask;
        while (m_slots[slot] != 0) slot = (slot + 1) & m_mask;
        m_slots[slot] = ordinal + 1;
    }
}

std::uint32_t NounIndex::Find(std::string_view word) const {
    std::size_t slot = WordCounter::Hash(word) & m_mask;
    for (std::uint32_t cell; (cell = m_slots[slot]) != 0; slot = (slot + 1) & m_mask) {
        if (m_nodes[cell - 1]->entry.word == word) return cell - 1;
    }
    return kNotFound;
}

}  // namespace tavro
