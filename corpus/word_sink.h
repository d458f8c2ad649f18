// Where the tokeniser puts the words it finds: a counter of the thread's own
// (word_counter.h), or a router that hands each word to the thread that owns it
// (word_router.h). Words come in batches, so that the call is made once per
// batch, and the sink can hash a whole batch and fetch ahead before it counts.
#pragma once

#include <cstddef>
#include <string_view>

namespace tavro {

// A word waiting in a batch (its bytes must stay valid until AddBatch returns).
// The first word_hash::kPaddedReadBytes bytes from its start can be read
// whatever its length (the sink reads a short word's bytes in two loads).
struct PendingWord {
    const char* data;
    std::size_t length;
};

class WordSink {
  public:
    static constexpr std::size_t kBatch = 32;

    virtual ~WordSink() = default;
    // Adds one occurrence of `word`.
    virtual void Add(std::string_view word) = 0;
    // Adds one occurrence of each word of the batch (at most kBatch words).
    virtual void AddBatch(const PendingWord* words, std::size_t n) = 0;
};

}  // namespace tavro
