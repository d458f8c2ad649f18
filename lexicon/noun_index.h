// A hash index over the nodes of a noun tree, so that crediting a candidate costs
// one hash lookup instead of a walk down the tree. Each noun gets an ordinal (its
// place in word order), so that threads can add up credits in arrays of their own.
// It holds pointers into the tree: build it after the tree is complete and drop it
// before the tree changes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "corpus/word_tree.h"

namespace tavro {

class NounIndex {
public:
    static constexpr std::uint32_t kNotFound = 0xFFFFFFFF;

    explicit NounIndex(WordNode* root);

    // The ordinal of `word`, or kNotFound when the lexicon does not hold it.
    std::uint32_t Find(std::string_view word) const;

    std::size_t size() const { return m_nodes.size(); }
    WordNode& Node(std::uint32_t ordinal) const { return *m_nodes[ordinal]; }

private:
    std::vector<WordNode*> m_nodes;     // in word order
    std::vector<std::uint32_t> m_slots;  // ordinal + 1; 0 marks a free slot
    std::size_t m_mask = 0;
};

}  // namespace tavro
