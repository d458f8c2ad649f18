#include "corpus/word_entry.h"

#include "corpus/char_classes.h"

namespace tavro {

std::string FoldGreek(std::string_view raw) {
    std::string folded(raw);
    for (char& c : folded) c = ToLowerGreek(c);
    return folded;
}

WordEntry::WordEntry(std::string_view raw, Count count) : word(FoldGreek(raw)), count(count) {}

}  // namespace tavro
