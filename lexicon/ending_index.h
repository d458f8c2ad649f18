// The groups of an inflection table sorted by the last byte of their ending, in
// table order, so that a word is tested only against the groups that can close
// it. Groups with an empty ending close every word and stand in every list;
// groups without tokens stand in none. The index refers to the table by group
// number: build it after the table is complete.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lexicon/ending_table.h"

namespace tavro {

class EndingIndex {
  public:
    explicit EndingIndex(const std::vector<EndingGroup>& table);

    // The numbers of the groups whose ending may close `word`, ascending.
    const std::vector<std::uint32_t>& GroupsFor(std::string_view word) const {
        return word.empty() ? m_emptyEndings
                            : m_byLastByte[static_cast<unsigned char>(word.back())];
    }

  private:
    std::array<std::vector<std::uint32_t>, 256> m_byLastByte;
    std::vector<std::uint32_t> m_emptyEndings;
};

}  // namespace tavro
