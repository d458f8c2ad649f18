#include "tests/counted_words.h"

namespace tavro::testing {

Counts CountsOf(const WordCounter& counter) {
    Counts counts;
    for (std::size_t p = 0; p < counter.Partitions(); ++p) {
        for (const auto& word : counter.Part(p).SortedWords()) {
            counts[std::string(word.word)] += word.count;
        }
    }
    return counts;
}

}  // namespace tavro::testing
