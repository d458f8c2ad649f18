#include "corpus/token_windows.h"

#include <algorithm>
#include <bit>

namespace tavro {

namespace {

constexpr std::uint32_t kTail = kWindowTokens - 1;

}  // namespace

std::uint32_t WindowScratch::Remember(std::uint64_t hash, std::uint32_t at) {
    const std::size_t mask = m_seen.size() - 1;
    for (std::size_t i = SlotOf(hash);; i = (i + 1) & mask) {
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
    m_shift = 64 - std::countr_zero(m_seen.size());
    const std::size_t mask = m_seen.size() - 1;
    for (const Seen& seen : old) {
        if (seen.stamp != m_stamp) continue;
        std::size_t i = SlotOf(seen.hash);
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
    m_starts.assign(2 * kWindowTokens, 0);
    m_tail.resize(kTail);
}

void BlockWindows::Note(const std::uint64_t* hashes, std::size_t n) {
    // The block's words outgrow the cache: ask for the batch's slots at once.
    if (m_scratch->m_seen.size() > (std::size_t{1} << 14)) {
        for (std::size_t i = 0; i < n; ++i) m_scratch->Prefetch(hashes[i]);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t hash = hashes[i];
        const auto at = static_cast<std::uint32_t>(m_tokens++);
        const std::uint32_t previousPlusOne = m_scratch->Remember(hash, at);
        // The token begins a type in its window when the window starts after
        // the word's last occurrence: for a block that starts at stream position
        // p, when (p + at) % kWindowTokens < distance, which holds for `distance`
        // consecutive values of p % kWindowTokens from (-at) % kWindowTokens
        // (m_from) on, cyclically; for every value when the word was not met in
        // the last kWindowTokens - 1 tokens. The difference array is twice as
        // long, and folded in Close. No branch: which it is cannot be foreseen.
        const std::uint32_t distance = std::min(
            previousPlusOne == 0 ? kWindowTokens : at + 1 - previousPlusOne, kWindowTokens);
        ++m_starts[m_from];
        --m_starts[m_from + distance];
        if (at < kTail && previousPlusOne == 0) m_head.push_back({at, hash});
        m_from = m_from == 0 ? kWindowTokens - 1 : m_from - 1;
        m_tail[m_tailNext] = hash;
        if (++m_tailNext == kTail) m_tailNext = 0;
    }
}

void BlockWindows::Close() {
    if (m_tokens < kTail) {
        m_tail.resize(m_tokens);
    } else {
        std::rotate(m_tail.begin(), m_tail.begin() + static_cast<std::ptrdiff_t>(m_tailNext),
                    m_tail.end());
    }
    m_tailNext = 0;
    // From differences to the tokens each start counts, then folded: a start c
    // counts what covers c and c + kWindowTokens.
    for (std::size_t j = 1; j < m_starts.size(); ++j) m_starts[j] += m_starts[j - 1];
    for (std::uint32_t c = 0; c < kWindowTokens; ++c) m_starts[c] += m_starts[c + kWindowTokens];
    m_starts.resize(kWindowTokens);
    m_scratch = nullptr;
}

void WindowStream::Add(const BlockWindows& block) {
    const std::uint64_t start = m_tokens;
    const std::uint64_t phase = start % kWindowTokens;
    std::int64_t types = 0;
    if (!block.m_starts.empty()) types += block.m_starts[phase];
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
