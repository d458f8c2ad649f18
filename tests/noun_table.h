// A noun table for a test, its nouns written readably in UTF-8.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "corpus/word_table.h"
#include "tests/greek_text.h"

namespace tavro::testing {

inline WordTable NounTable(std::initializer_list<const char*> utf8) {
    std::vector<WordEntry> entries;
    for (const char* noun : utf8) entries.emplace_back(Greek(noun), 0);
    return WordTable::FromEntries(std::move(entries));
}

}  // namespace tavro::testing
