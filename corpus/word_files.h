// The files each word of a run occurs in: for every word of the run's table (by
// position), the ascending indexes of the input files it occurs in, each once.
//
// Files are numbered in the order the run read them from 0, text files first;
// the files of an added count file follow, renumbered (count_file.h). The sets
// are kept in one array of file indexes, cut by an offset per word, so that a
// run of many words costs two vectors, not one per word. A noun's dispersion is
// the size of the union of its forms' sets (UnionSize).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tavro {

class WordFiles {
  public:
    WordFiles() = default;
    // `offsets` holds one more entry than there are words, from 0 up to
    // files.size(); word w's files are files[offsets[w]] to files[offsets[w + 1]].
    WordFiles(std::vector<std::uint64_t> offsets, std::vector<std::uint32_t> files)
        : m_offsets(std::move(offsets)), m_files(std::move(files)) {}

    std::size_t WordCount() const { return m_offsets.empty() ? 0 : m_offsets.size() - 1; }
    bool empty() const { return m_offsets.empty(); }
    // The files of the word at `position`, ascending.
    std::span<const std::uint32_t> Of(std::size_t position) const {
        return {m_files.data() + m_offsets[position],
                static_cast<std::size_t>(m_offsets[position + 1] - m_offsets[position])};
    }
    std::uint32_t CountOf(std::size_t position) const {
        return static_cast<std::uint32_t>(m_offsets[position + 1] - m_offsets[position]);
    }

  private:
    std::vector<std::uint64_t> m_offsets;
    std::vector<std::uint32_t> m_files;
};

// How many distinct files the words at `positions` occur in together.
std::uint32_t UnionSize(const WordFiles& files, std::span<const std::uint32_t> positions);

}  // namespace tavro
