#include "corpus/word_counter.h"

#include <algorithm>

namespace tavro {

WordCounter::WordCounter(std::size_t partitions, std::size_t longestSlotWord) {
    partitions = std::max<std::size_t>(partitions, 1);
    // The tables of all partitions together start as large as one table does.
    const std::size_t slots = std::max<std::size_t>(CountTable::kInitialSlots / partitions, 64);
    m_parts.reserve(partitions);
    for (std::size_t p = 0; p < partitions; ++p) m_parts.emplace_back(slots, longestSlotWord);
}

void WordCounter::TrackFiles() {
    for (CountTable& part : m_parts) part.TrackFiles();
}

void WordCounter::SetFile(std::uint32_t file) {
    for (CountTable& part : m_parts) part.SetFile(file);
}

void WordCounter::NoteWindows(BlockWindows* windows) {
    if (m_windows != nullptr) m_firstToken += m_windows->Next();
    m_windows = windows;
    if (windows == nullptr) return;
    // The numbers start over long before they could wrap: a block holds at most
    // one token per two bytes of a few megabytes.
    if (m_firstToken > (std::uint32_t{1} << 31)) m_firstToken = 0;
    for (CountTable& part : m_parts) {
        if (!m_positionsTracked) part.TrackPositions();
        part.StartBlock(m_firstToken);
    }
    m_positionsTracked = true;
}

std::size_t WordCounter::size() const {
    std::size_t words = 0;
    for (const CountTable& part : m_parts) words += part.size();
    return words;
}

}  // namespace tavro
