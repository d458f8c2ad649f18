#include "report/word_list.h"

#include <algorithm>

#include "corpus/huge_page_allocator.h"

namespace tavro {

bool CompareFrequency(const WordEntry& a, const WordEntry& b) { return a.count > b.count; }

DisplayList BuildDisplayList(const WordTable& table, bool sortByFrequency) {
    DisplayList list;
    list.reserve(table.size());
    AdviseHugePages(list);
    for (const WordEntry& entry : table.Entries()) list.push_back(&entry);
    if (sortByFrequency) {
        std::stable_sort(list.begin(), list.end(), [](const WordEntry* a, const WordEntry* b) {
            return CompareFrequency(*a, *b);
        });
    }
    return list;
}

}  // namespace tavro
