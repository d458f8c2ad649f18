#include "report/word_list.h"

#include <algorithm>

namespace tavro {

bool CompareFrequency(const WordEntry& a, const WordEntry& b) { return a.count > b.count; }

std::vector<WordEntry> BuildDisplayList(const WordNode* tree, bool sortByFrequency) {
    std::vector<WordEntry> list;
    CollectInOrder(tree, list);
    if (sortByFrequency) std::stable_sort(list.begin(), list.end(), CompareFrequency);
    return list;
}

}  // namespace tavro
