#include "mpi/wire.h"

namespace tavro::wire {

void AppendNumber(std::string& out, std::uint64_t value) {
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

void AppendBytes(std::string& out, std::string_view bytes) {
    AppendNumber(out, bytes.size());
    out.append(bytes);
}

void AppendOptionalNumber(std::string& out, const std::optional<std::uint64_t>& value) {
    AppendNumber(out, value ? *value + 1 : 0);
}

bool Reader::Number(std::uint64_t& value) {
    std::uint64_t result = 0;
    for (std::size_t i = m_position, shift = 0; i < m_bytes.size() && shift < 64; ++i, shift += 7) {
        const auto byte = static_cast<unsigned char>(m_bytes[i]);
        result |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            value = result;
            m_position = i + 1;
            return true;
        }
    }
    return false;
}

bool Reader::Bytes(std::string_view& bytes) {
    const std::size_t start = m_position;
    std::uint64_t length = 0;
    if (!Number(length)) return false;
    if (length > m_bytes.size() - m_position) {
        m_position = start;
        return false;
    }
    bytes = m_bytes.substr(m_position, static_cast<std::size_t>(length));
    m_position += static_cast<std::size_t>(length);
    return true;
}

bool Reader::OptionalNumber(std::optional<std::uint64_t>& value) {
    std::uint64_t stored = 0;
    if (!Number(stored)) return false;
    value = stored == 0 ? std::nullopt : std::optional<std::uint64_t>(stored - 1);
    return true;
}

}  // namespace tavro::wire
