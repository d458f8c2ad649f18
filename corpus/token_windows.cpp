#include "corpus/token_windows.h"

#include <algorithm>

namespace tavro {

namespace {

constexpr std::uint32_t kTail = kWindowTokens - 1;

}  // namespace

BlockWindows BlockWindows::Open() {
    BlockWindows block;
    block.m_starts.assign(2 * kWindowTokens, 0);
    block.m_tail.resize(kTail);
    return block;
}

void BlockWindows::Note(const std::uint64_t* hashes, const std::uint32_t* previousPlusOne,
                        std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t hash = hashes[i];
        const auto at = static_cast<std::uint32_t>(m_tokens++);
        // The token begins a type in its window when the window starts after
        // the word's last occurrence: for a block that starts at stream position
        // p, when (p + at) % kWindowTokens < distance, which holds for `distance`
        // consecutive values of p % kWindowTokens from (-at) % kWindowTokens
        // (m_from) on, cyclically; for every value when the word was not met in
        // the last kWindowTokens - 1 tokens. The difference array is twice as
        // long, and folded in Close; its +1 at m_from is the same for every
        // token, so Close adds them all at once. No branch: which it is cannot
        // be foreseen.
        const std::uint32_t distance = std::min(
            previousPlusOne[i] == 0 ? kWindowTokens : at + 1 - previousPlusOne[i], kWindowTokens);
        --m_starts[m_from + distance];
        if (at < kTail && previousPlusOne[i] == 0) m_head.push_back({at, hash});
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
    // Each token's +1 at its m_from: the token at position `at` has m_from
    // (-at) % kWindowTokens, so start c gets those at c's residue class.
    for (std::uint32_t c = 0; c < kWindowTokens; ++c) {
        const std::uint64_t first = c == 0 ? 0 : kWindowTokens - c;
        if (first < m_tokens) {
            m_starts[c] += static_cast<std::int64_t>((m_tokens - 1 - first) / kWindowTokens + 1);
        }
    }
    // From differences to the tokens each start counts, then folded: a start c
    // counts what covers c and c + kWindowTokens.
    for (std::size_t j = 1; j < m_starts.size(); ++j) m_starts[j] += m_starts[j - 1];
    for (std::uint32_t c = 0; c < kWindowTokens; ++c) m_starts[c] += m_starts[c + kWindowTokens];
    m_starts.resize(kWindowTokens);
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
