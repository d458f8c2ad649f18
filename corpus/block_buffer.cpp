#include "corpus/block_buffer.h"

#include <algorithm>
#include <cstring>

namespace tavro {

void BlockBuffer::Assign(std::string_view bytes) {
    m_size = 0;
    Resize(bytes.size());
    if (!bytes.empty()) std::memmove(m_bytes.get(), bytes.data(), bytes.size());
}

void BlockBuffer::Reserve(std::size_t capacity) {
    if (capacity <= m_capacity) return;
    auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_size != 0) std::memcpy(bytes.get(), m_bytes.get(), m_size);
    m_bytes = std::move(bytes);
    m_capacity = capacity;
}

void BlockBuffer::Resize(std::size_t size) {
    // Growing by half at least, so that a long run of growing copies each byte
    // only a few times.
    if (size > m_capacity) Reserve(std::max(size, m_capacity + m_capacity / 2));
    m_size = size;
}

void BlockBuffer::Erase(std::size_t from, std::size_t count) {
    from = std::min(from, m_size);
    count = std::min(count, m_size - from);
    if (count == 0) return;
    std::memmove(m_bytes.get() + from, m_bytes.get() + from + count, m_size - from - count);
    m_size -= count;
}

}  // namespace tavro
