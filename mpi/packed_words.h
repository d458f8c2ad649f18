// Counted words as the ranks send them to each other: one after the other,
// each as its bytes (a wire byte string) and its count (a wire number).
//
// A run of packed words may be cut into chunks at any byte, so that a message
// stays within a bounded size however long a word is; PackedWordReader takes
// the chunks of one run in order and gives back whole words.
#pragma once

#include <string>
#include <string_view>

#include "corpus/word_entry.h"

namespace tavro {

// Appends `word` with `count` (not negative) to `out`.
void AppendPackedWord(std::string& out, std::string_view word, Count count);

class PackedWordReader {
  public:
    // The next chunk of the run.
    void Feed(std::string_view chunk);
    // The next whole word and its count; false when the chunks fed so far hold
    // no further whole word. `word` stays valid until the next Feed.
    bool Next(std::string_view& word, Count& count);
    // Whether bytes of a word that is not whole yet are left.
    bool Pending() const { return m_read < m_bytes.size(); }

  private:
    std::string m_bytes;
    std::size_t m_read = 0;  // bytes of m_bytes already given back as words
};

}  // namespace tavro
