// What a counter holds, as an ordered map, for comparing with a reference count.
#pragma once

#include <map>
#include <string>

#include "corpus/word_counter.h"

namespace tavro::testing {

using Counts = std::map<std::string, Count>;

// Every word of every partition of `counter` with its count.
Counts CountsOf(const WordCounter& counter);

}  // namespace tavro::testing
