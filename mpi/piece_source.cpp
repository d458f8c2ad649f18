#include "mpi/piece_source.h"

#include <cstring>
#include <string_view>

#include "corpus/text_mode.h"

namespace tavro {

PieceSource::PieceSource(std::unique_ptr<ByteSource> file, const Piece& piece)
    : m_file(std::move(file)),
      m_end(piece.end),
      m_position(OpenAt(piece)),
      m_skipping(piece.begin != 0) {}

std::size_t PieceSource::SkipToLineStart(char* buffer, std::size_t n) {
    const void* lineEnd = std::memchr(buffer, '\n', n);
    if (lineEnd == nullptr) {
        m_position += n;
        return 0;
    }
    const auto skipped = static_cast<std::size_t>(static_cast<const char*>(lineEnd) - buffer) + 1;
    m_skipping = false;
    m_position += skipped;
    // The piece would end at the line feed just skipped: it holds nothing.
    if (m_end && m_position >= *m_end) m_done = true;
    std::memmove(buffer, buffer + skipped, n - skipped);
    return n - skipped;
}

std::size_t PieceSource::Deliverable(const char* buffer, std::size_t n) {
    if (!m_end || m_position + n < *m_end) return n;
    // The piece ends after the first line feed at or after byte end - 1.
    const std::uint64_t lastLineFrom = std::max(m_position, *m_end - 1) - m_position;
    const std::string_view rest(buffer + lastLineFrom, n - lastLineFrom);
    const std::size_t lineEnd = rest.find('\n');
    if (lineEnd == std::string_view::npos) return n;
    m_done = true;
    return lastLineFrom + lineEnd + 1;
}

std::optional<std::size_t> PieceSource::Read(char* buffer, std::size_t capacity) {
    while (!m_done) {
        const std::optional<std::size_t> read = m_file->Read(buffer, capacity);
        if (!read) return std::nullopt;
        if (*read == 0) {
            m_endOfFile = m_position;
            m_done = true;
            break;
        }
        std::size_t n = *read;
        if (m_skipping) n = SkipToLineStart(buffer, n);
        if (m_done) break;
        if (n == 0) continue;
        n = Deliverable(buffer, n);
        if (!m_endOfText) {
            if (const void* end = std::memchr(buffer, kEndOfText, n)) {
                m_endOfText =
                    m_position + static_cast<std::size_t>(static_cast<const char*>(end) - buffer);
            }
        }
        m_position += n;
        return n;
    }
    return 0;
}

}  // namespace tavro
