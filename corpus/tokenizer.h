// Splits the text of one input file into folded words, block by block.
//
// A word is a maximal run of word characters (IsWordChar); every other byte
// separates. A NUL byte ends the scan of its line: the bytes after it up to the
// next LF give no words. A 1A byte ends the file's text. A word may run across
// the blocks it arrives in, and has no length limit.
#pragma once

#include <string>
#include <string_view>

#include "corpus/word_counter.h"

namespace tavro {

class Tokenizer {
public:
    // Counts the words that end in `block` into `counter`. Returns false once the
    // text has ended (a 1A byte): the rest of the file is not to be read.
    bool Feed(std::string_view block, WordCounter& counter);

    // The end of the file: counts a word that was still open.
    void Finish(WordCounter& counter);

private:
    std::string m_token;           // the folded bytes of the word being read
    bool m_skippingLine = false;  // after a NUL byte, until the next LF
};

}  // namespace tavro
