// What the fuzz targets share: a check that aborts (so that libFuzzer keeps the
// input), the bundled lexicon and inflection table, and a way to cut one input
// into several files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "corpus/word_table.h"
#include "lexicon/ending_table.h"

namespace tavro::fuzz {

// Aborts when `condition` is false.
void Check(bool condition);

// The bytes of a file of the bundled data/ (read once).
const std::string& BundledFile(const std::string& name);

// The bundled data/finalList.txt and data/conjugation.txt, loaded once.
const WordTable& BundledNouns();
const std::vector<EndingGroup>& BundledTable();

// `bytes` cut at every `separator` byte (n separators give n + 1 pieces).
std::vector<std::string> SplitAt(std::string_view bytes, char separator);

}  // namespace tavro::fuzz
