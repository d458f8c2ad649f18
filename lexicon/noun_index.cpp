#include "lexicon/noun_index.h"

#include <bit>

#include "corpus/word_counter.h"

namespace tavro {

NounIndex::NounIndex(WordNode* root) {
    const std::size_t slots = std::bit_ceil(CountNodes(root) * 2 + 2);
    m_slots.assign(slots, nullptr);
    m_mask = slots - 1;
    AddTree(root);
}

void NounIndex::AddTree(WordNode* root) {
    if (root == nullptr) return;
    AddTree(root->left);
    Add(root);
    AddTree(root->right);
}

void NounIndex::Add(WordNode* node) {
    std::size_t slot = WordCounter::Hash(node->entry.word) & m_mask;
    while (m_slots[slot] != nullptr) slot = (slot + 1) & m_mask;
    m_slots[slot] = node;
}

WordNode* NounIndex::Find(std::string_view word) const {
    std::size_t slot = WordCounter::Hash(word) & m_mask;
    while (WordNode* node = m_slots[slot]) {
        if (node->entry.word == word) return node;
        slot = (slot + 1) & m_mask;
    }
    return nullptr;
}

}  // namespace tavro
