#include "corpus/count_file.h"

namespace tavro {

std::string RenderCountFile(const WordCounts&) { return {}; }
LoadedCounts ReadCountFile(FileSystem&, const std::string&) { return {}; }
LoadedCounts ParseCountFile(std::string_view, const std::string&) { return {}; }
WordCounts AddCounts(WordCounts a, const WordCounts&) { return a; }

}  // namespace tavro
