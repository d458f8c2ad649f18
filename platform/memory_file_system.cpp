#include "platform/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace tavro {
namespace {

class MemorySource : public ByteSource {
public:
    MemorySource(const std::string& contents, bool failsReading)
        : m_contents(contents), m_failsReading(failsReading) {}
    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min(capacity, m_contents.size() - m_position);
        if (n == 0 && m_failsReading) return std::nullopt;
        std::memcpy(buffer, m_contents.data() + m_position, n);
        m_position += n;
        return n;
    }

private:
    const std::string& m_contents;
    bool m_failsReading;
    std::size_t m_position = 0;
};

}  // namespace

std::unique_ptr<ByteSource> MemoryFileSystem::OpenForRead(const std::string& path) {
    ++m_opens[path];
    const auto found = m_files.find(path);
    if (found == m_files.end()) return nullptr;
    return std::make_unique<MemorySource>(found->second.contents, found->second.failsReading);
}

int MemoryFileSystem::OpenCount(const std::string& path) const {
    const auto found = m_opens.find(path);
    return found == m_opens.end() ? 0 : found->second;
}

}  // namespace tavro
