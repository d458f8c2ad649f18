#include "mpi/packed_words.h"

#include "mpi/wire.h"

namespace tavro {

void AppendPackedWord(std::string& out, std::string_view word, Count count) {
    wire::AppendBytes(out, word);
    wire::AppendNumber(out, static_cast<std::uint64_t>(count));
}

void PackedWordReader::Feed(std::string_view chunk) {
    m_bytes.erase(0, m_read);
    m_read = 0;
    m_bytes.append(chunk);
}

bool PackedWordReader::Next(std::string_view& word, Count& count) {
    wire::Reader reader(std::string_view(m_bytes).substr(m_read));
    std::uint64_t number = 0;
    if (!reader.Bytes(word) || !reader.Number(number)) return false;
    count = static_cast<Count>(number);
    m_read += reader.Consumed();
    return true;
}

}  // namespace tavro
