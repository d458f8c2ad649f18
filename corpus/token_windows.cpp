#include "corpus/token_windows.h"

#include <algorithm>
#include <bit>

namespace tavro {

namespace {

constexpr std::uint32_t kTail = kWindowTokens - 1;

std::size_t SlotOf(std::uint64_t hash, std::size_t size) {
    return static_cast<std::size_t>(hash >> (64 - std::countr_zero(size)));
}

}  // namespace

std::uint32_t WindowScratch::Remember(std::uint64_t hash, std::uint32_t at) {
    const std::size_t mask = m_seen.size() - 1;
    for (std::size_t i = SlotOf(hash, m_seen.size());; i = (i + 1) & mask) {
        Seen& seen = m_seen[i];
        if (seen.stamp != m_stamp) {
            seen = {hash, m_stamp, at};
            if (++m_used * 2 > m_seen.size()) Grow();
            return 0;
        }
        if (seen.hash == hash) {
            const std::uint32_t previous = seen.at + 1;
            seen.at = at;
            return previous;
        }
    }
}

void WindowScratch::Grow() {
    std::vector<Seen> old(m_seen.size() * 2);
    old.swap(m_seen);
    const std::size_t mask = m_seen.size() - 1;
    for (const Seen& seen : old) {
        if (seen.stamp != m_stamp) continue;
        std::size_t i = SlotOf(seen.hash, m_seen.size());
        while (m_seen[i].stamp == m_stamp) i = (i + 1) & mask;
        m_seen[i] = seen;
    }
}

BlockWindows::BlockWindows(WindowScratch& scratch) : m_scratch(&scratch) {
    // A new stamp marks every slot free; once the stamps wrap, they are cleared.
    if (++scratch.m_stamp == 0) {
        scratch.m_seen.assign(scratch.m_seen.size(), {});
        scratch.m_stamp = 1;
    }
    scratch.m_used = 0;
}

void BlockWindows::Note(const std::uint64_t* hashes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t hash = hashes[i];
        const auto at = static_cast<std::uint32_t>(m_tokens++);
        const std::uint32_t previousPlusOne = m_scratch->Remember(hash, at);
        const std::uint32_t distance =
            previousPlusOne == 0 ? kWindowTokens : at + 1 - previousPlusOne;
        if (previousPlusOne == 0 && at < kTail) m_head.push_back({at, hash});
        if (distance >= kWindowTokens) {
            ++m_alwaysNew;
        } else {
            // The token begins a type in its window when the window starts after
            // the word's last occurrence: for a block that starts at stream
            // position p, when (p + at) % kWindowTokens < distance, which holds
            // for `distance` consecutive values of p % kWindowTokens from
            // (-at) % kWindowTokens on, cyclically.
            if (m_starts.empty()) m_starts.assign(kWindowTokens + 1, 0);
            const std::uint32_t from = (kWindowTokens - at % kWindowTokens) % kWindowTokens;
            const std::uint32_t to = from + distance;
            ++m_starts[from];
            if (to <= kWindowTokens) {
                --m_starts[to];
            } else {
                ++m_starts[0];
                --m_starts[to - kWindowTokens];
            }
        }
        if (m_tail.size() < kTail) {
            m_tail.push_back(hash);
        } else {
            m_tail[m_tailNext] = hash;
            m_tailNext = (m_tailNext + 1) % kTail;
        }
    }
}

void BlockWindows::Close() {
    std::rotate(m_tail.begin(), m_tail.begin() + static_cast<std::ptrdiff_t>(m_tailNext),
                m_tail.end());
    m_tailNext = 0;
    m_scratch = nullptr;
}

void WindowStream::Add(const BlockWindows& block) {
    const std::uint64_t start = m_tokens;
    const std::uint64_t phase = start % kWindowTokens;
    std::int64_t types = static_cast<std::int64_t>(block.m_alwaysNew);
    if (!block.m_starts.empty()) {
        for (std::uint64_t c = 0; c <= phase; ++c) types += block.m_starts[c];
    }
    // A word first met early in the block may have occurred in the part of its
    // window that lies before the block.
    for (const BlockWindows::HeadToken& head : block.m_head) {
        const std::uint64_t at = start + head.at;
        const std::uint64_t windowStart = at - at % kWindowTokens;
        if (windowStart >= start) continue;
        const auto found = m_recent.find(head.hash);
        if (found != m_recent.end() && found->second >= windowStart) --types;
    }
    m_types += static_cast<std::uint64_t>(types);
    m_tokens += block.m_tokens;
    std::uint64_t at = m_tokens - block.m_tail.size();
    for (const std::uint64_t hash : block.m_tail) m_recent[hash] = at++;
    if (m_recent.size() > 8 * kWindowTokens) {
        const std::uint64_t keepFrom = m_tokens > kTail ? m_tokens - kTail : 0;
        std::erase_if(m_recent, [&](const auto& entry) { return entry.second < keepFrom; });
    }
}

WindowTally WindowStream::Tally() const {
    WindowTally tally;
    tally.windows = m_tokens / kWindowTokens;
    const std::uint64_t partialStart = tally.windows * kWindowTokens;
    std::uint64_t partialTypes = 0;
    for (const auto& [hash, at] : m_recent) {
        if (at >= partialStart) ++partialTypes;
    }
    tally.typesInWindows = m_types - partialTypes;
    return tally;
}

}  // namespace tavro
