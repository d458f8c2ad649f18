// The bytes of one block of input text.
//
// Like a string of bytes, except that making it longer leaves the new bytes as
// they were: the reader reads over them at once, so clearing them first would
// only write every byte of the corpus one more time. The storage is kept when
// the bytes are replaced or the buffer made shorter, so that a recycled buffer
// is read into without asking the system for memory again.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace tavro {

class BlockBuffer {
  public:
    BlockBuffer() = default;
    explicit BlockBuffer(std::string_view bytes) { Assign(bytes); }

    char* data() { return m_bytes.get(); }
    const char* data() const { return m_bytes.get(); }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::size_t capacity() const { return m_capacity; }
    operator std::string_view() const { return {m_bytes.get(), m_size}; }

    void Assign(std::string_view bytes);
    // Makes room for `capacity` bytes in all, keeping the bytes there are.
    void Reserve(std::size_t capacity);
    // Makes the buffer `size` bytes long, keeping the bytes up to its old size;
    // the bytes past that are unspecified.
    void Resize(std::size_t size);
    // Removes `count` bytes from `from` on.
    void Erase(std::size_t from, std::size_t count);

  private:
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

}  // namespace tavro
