// A reference word counter: what `tavro-cli --all-words` prints, done the plain
// fast way, so the benchmark can show what tavro-cli's extra work costs.
//
// Usage: tavro_reference_counter [--block-bytes N] FILE...   ("-" is standard input;
// --block-bytes sets the read size, for tests of words that cross blocks)
// Words are maximal runs of the word bytes 30-39 41-5A 5F 61-7A A2 B8-BA BC BE-FE
// with Greek capitals folded; a NUL ends the scan of its line, a 1A ends the file.
// Prints "word count" lines in byte order. One thread; it shares no code with the
// engine. Exit status 0, 1 when an input cannot be read or the report written, 2
// on a usage error.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Folded value of each word byte; 0 for every separator (no word byte folds to 0).
constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> fold{};
    auto keep = [&fold](int lo, int hi) {
        for (int b = lo; b <= hi; ++b) fold[b] = static_cast<unsigned char>(b);
    };
    keep(0x30, 0x39);  // digits, ASCII letters and the underscore stay as they are
    keep(0x41, 0x5A);
    keep(0x5F, 0x5F);
    keep(0x61, 0x7A);
    keep(0xBE, 0xFE);  // Greek letters; the capitals among them are replaced below
    for (int b = 0xC1; b <= 0xD9; ++b) fold[b] = static_cast<unsigned char>(b + 0x20);
    constexpr unsigned char kPairs[][2] = {{0xA2, 0xDC}, {0xB8, 0xDD}, {0xB9, 0xDE},
                                           {0xBA, 0xDF}, {0xBC, 0xFC}, {0xBE, 0xFD},
                                           {0xBF, 0xFE}, {0xDA, 0xFA}, {0xDB, 0xFB}};
    for (const auto& pair : kPairs) fold[pair[0]] = pair[1];
    return fold;
}
constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

std::uint64_t Load64(const unsigned char* p) {
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
    const __uint128_t product = static_cast<__uint128_t>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

// A word's bytes: first eight (zero-padded, little-endian) kept apart, every byte hashed.
struct Word {
    const unsigned char* data;
    std::uint32_t length;
    std::uint64_t prefix;
    std::uint64_t hash;
};

Word MakeWord(const unsigned char* data, std::size_t length) {  // 8 bytes readable at data
    constexpr std::uint64_t k0 = 0xA0761D6478BD642Full, k1 = 0xE7037ED1A0B428DBull;
    const std::uint64_t prefix =
        length >= 8 ? Load64(data) : Load64(data) & ((1ull << (8 * length)) - 1);
    std::uint64_t hash = Mix(prefix ^ k0, length ^ k1);
    for (std::size_t i = 8; i < length; i += 8) {
        hash =
            Mix(hash ^ Load64(data + std::min(i, length - 8)), k1);  // the last load ends the word
    }
    return {data, static_cast<std::uint32_t>(length), prefix, hash};
}

// Whether two words of `length` > 8 bytes, equal in their first eight, are equal.
bool SameTail(const unsigned char* a, const unsigned char* b, std::size_t length) {
    for (std::size_t i = 8; i + 8 < length; i += 8) {
        if (Load64(a + i) != Load64(b + i)) return false;
    }
    return Load64(a + length - 8) == Load64(b + length - 8);
}

class Table {
  public:
    // Counts one occurrence of `w` (its bytes valid only for this call).
    void Add(const Word& w) {
        for (std::size_t i = w.hash & m_mask;; i = (i + 1) & m_mask) {
            Slot& s = m_slots[i];
            if (s.length == 0) return Insert(s, w);
            if (s.hash == static_cast<std::uint32_t>(w.hash) && s.length == w.length &&
                s.prefix == w.prefix &&
                (w.length <= 8 || SameTail(&m_bytes[s.offset], w.data, w.length))) {
                ++s.count;
                return;
            }
        }
    }
    void Prefetch(const Word& w) const { __builtin_prefetch(&m_slots[w.hash & m_mask]); }

    // Writes "word count\n" for every word in byte order; false when writing fails.
    bool Print(std::FILE* out) {
        auto used = std::partition(m_slots.begin(), m_slots.end(),
                                   [](const Slot& s) { return s.length != 0; });
        for (auto s = m_slots.begin(); s != used; ++s)
            s->prefix = __builtin_bswap64(s->prefix);  // sort key
        std::sort(m_slots.begin(), used, [this](const Slot& a, const Slot& b) {
            if (a.prefix != b.prefix) return a.prefix < b.prefix;
            // Distinct words with equal keys: both are at least eight bytes long.
            const int c = std::memcmp(&m_bytes[a.offset + 8], &m_bytes[b.offset + 8],
                                      std::min(a.length, b.length) - 8);
            return c != 0 ? c < 0 : a.length < b.length;
        });
        std::string text;
        for (auto s = m_slots.begin(); s != used; ++s) {
            // The words' bytes lie in the order they were first seen: fetch ahead.
            if (used - s > 16) __builtin_prefetch(&m_bytes[s[16].offset]);
            char digits[24];
            text.append(reinterpret_cast<const char*>(&m_bytes[s->offset]), s->length) += ' ';
            text.append(digits, std::to_chars(digits, digits + sizeof digits, s->count).ptr) +=
                '\n';
            if (text.size() >= kOutputBytes) {
                if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) return false;
                text.clear();
            }
        }
        return std::fwrite(text.data(), 1, text.size(), out) == text.size() &&
               std::fflush(out) == 0;
    }

  private:
    static constexpr std::size_t kOutputBytes = std::size_t{1} << 20;
    struct alignas(32) Slot {  // two a cache line
        std::uint64_t prefix;
        std::uint32_t hash;    // low half of the hash
        std::uint32_t length;  // 0: free
        std::uint64_t offset;  // of the word in m_bytes
        std::uint64_t count;
    };

    void Insert(Slot& s, const Word& w) {
        s = {w.prefix, static_cast<std::uint32_t>(w.hash), w.length, m_bytes.size(), 1};
        m_bytes.insert(m_bytes.end(), w.data, w.data + w.length);
        if (++m_size * 4 > m_slots.size() * 3) Grow();  // load factor 3/4
    }
    void Grow() {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        m_mask = m_slots.size() - 1;
        for (const Slot& s : old) {
            if (s.length == 0) continue;
            std::size_t i = s.hash & m_mask;
            while (m_slots[i].length != 0) i = (i + 1) & m_mask;
            m_slots[i] = s;
        }
    }

    std::vector<Slot> m_slots = std::vector<Slot>(1 << 12);
    std::size_t m_mask = (1 << 12) - 1;  // index bits: the table stays below 2^32 slots
    std::size_t m_size = 0;
    std::vector<unsigned char> m_bytes;  // every word's bytes, back to back
};

// Words wait a few places between hashing and counting, so their slots are fetched
// ahead; they point into the read buffer, so the queue is drained before it changes.
class Counter {
  public:
    explicit Counter(std::size_t blockBytes) : m_block(blockBytes), m_buffer(blockBytes + 16) {}

    // Counts the words of the file open as `fd`; false on a read error.
    bool CountFile(int fd) {
        std::size_t carried = 0;  // bytes of an unfinished word at the start of m_buffer
        bool skippingLine = false;
        for (;;) {
            if (carried == m_block) {  // one word fills the buffer
                if ((m_block *= 2) > UINT32_MAX) return errno = EFBIG, false;
                m_buffer.resize(m_block + 16);
            }
            const ssize_t got = read(fd, m_buffer.data() + carried, m_block - carried);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return false;
            unsigned char* p = m_buffer.data();
            unsigned char* const end = p + carried + got;
            *end = 0;  // the sentinel: a NUL at `end` stops both scanning loops
            const bool last = got == 0;
            for (;;) {
                if (skippingLine) {
                    auto* lf = static_cast<unsigned char*>(std::memchr(p, '\n', end - p));
                    if (std::memchr(p, 0x1A, (lf ? lf : end) - p) != nullptr) return Drain(), true;
                    if (lf == nullptr) break;
                    p = lf + 1, skippingLine = false;
                }
                while (kFold[*p] == 0 && *p != 0 && *p != 0x1A) ++p;
                if (*p == 0x1A) return Drain(), true;  // the end of the text
                if (*p == 0) {
                    if (p == end) break;
                    ++p, skippingLine = true;
                    continue;
                }
                unsigned char* const start = p;
                for (unsigned char c; (c = kFold[*p]) != 0; ++p) *p = c;
                if (p == end && !last) {  // the word may go on in the next block
                    p = start;
                    break;
                }
                Queue(MakeWord(start, p - start));
            }
            Drain();
            carried = skippingLine || last ? 0 : end - p;
            if (last) return true;
            std::memmove(m_buffer.data(), p, carried);
        }
    }
    Table& table() { return m_table; }

  private:
    static constexpr std::size_t kAhead = 16;
    void Queue(const Word& w) {
        m_table.Prefetch(w);
        if (m_queued == kAhead) {
            m_table.Add(m_queue[m_head]);  // the oldest word leaves
        } else {
            ++m_queued;
        }
        m_queue[m_head] = w;
        m_head = (m_head + 1) % kAhead;
    }
    void Drain() {
        for (std::size_t i = (m_head + kAhead - m_queued) % kAhead; m_queued > 0;
             --m_queued, i = (i + 1) % kAhead) {
            m_table.Add(m_queue[i]);
        }
    }

    std::size_t m_block;
    std::vector<unsigned char> m_buffer;
    Table m_table;
    std::array<Word, kAhead> m_queue;
    std::size_t m_head = 0;  // where the next word goes; the oldest when the queue is full
    std::size_t m_queued = 0;
};

}  // namespace

int main(int argc, char** argv) {
    auto usage = [] {
        std::fputs("Usage: tavro_reference_counter [--block-bytes N] FILE...\n", stderr);
        return 2;
    };
    std::size_t blockBytes = std::size_t{1} << 20;
    int first = 1;  // options come before the files; "--" ends them
    for (; first < argc && argv[first][0] == '-' && argv[first][1] != '\0'; ++first) {
        const std::string_view arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg != "--block-bytes" || first + 1 == argc) return usage();
        if ((blockBytes = std::strtoull(argv[++first], nullptr, 10)) == 0) return usage();
    }
    if (first == argc) return usage();
    Counter counter(blockBytes);
    for (int i = first; i < argc; ++i) {
        const int fd = std::string_view(argv[i]) == "-" ? STDIN_FILENO : open(argv[i], O_RDONLY);
        if (fd > STDIN_FILENO) posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        if (fd < 0 || !counter.CountFile(fd)) {
            std::fprintf(stderr, "tavro_reference_counter: %s: %s\n", argv[i],
                         std::strerror(errno));
            return 1;
        }
        if (fd != STDIN_FILENO) close(fd);
    }
    if (!counter.table().Print(stdout)) {
        std::fprintf(stderr, "tavro_reference_counter: cannot write the report: %s\n",
                     std::strerror(errno));
        return 1;
    }
    return 0;
}
