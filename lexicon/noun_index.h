// A hash index over the nodes of a noun tree, so that crediting a candidate costs
// one hash lookup instead of a walk down the tree. It holds pointers into the
// tree: build it after the tree is complete and drop it before the tree changes.
#pragma once

#include <string_view>
#include <vector>

#include "corpus/word_tree.h"

namespace tavro {

class NounIndex {
public:
    explicit NounIndex(WordNode* root);

    // The node of `word`, or null when the lexicon does not hold it.
    WordNode* Find(std::string_view word) const;

private:
    void Add(WordNode* node);
    void AddTree(WordNode* root);

    std::vector<WordNode*> m_slots;
    std::size_t m_mask = 0;
};

}  // namespace tavro
