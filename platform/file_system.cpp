#include "platform/file_system.h"

#include <algorithm>

namespace tavro {
namespace {

// A source whose first `skip` bytes are read and dropped before the first Read
// returns, so that a read error on the way is a read error like any other.
class SkippingSource : public ByteSource {
  public:
    SkippingSource(std::unique_ptr<ByteSource> file, std::uint64_t skip)
        : m_file(std::move(file)), m_skip(skip) {}
    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
        while (m_skip > 0) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(m_skip, capacity));
            const std::optional<std::size_t> n = m_file->Read(buffer, want);
            if (!n || *n == 0) return n;
            m_skip -= *n;
        }
        return m_file->Read(buffer, capacity);
    }
    std::optional<std::uint64_t> Size() const override { return m_file->Size(); }
    std::string Problem() const override { return m_file->Problem(); }

  private:
    std::unique_ptr<ByteSource> m_file;
    std::uint64_t m_skip;
};

}  // namespace

OpenedSource FileSystem::OpenForReadFrom(const std::string& path, std::uint64_t offset) {
    OpenedSource opened = OpenForRead(path);
    if (opened.file != nullptr && offset > 0) {
        opened.file = std::make_unique<SkippingSource>(std::move(opened.file), offset);
    }
    return opened;
}

std::optional<std::string> ReadAll(ByteSource& source) {
    std::string data;
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    for (;;) {
        const std::size_t used = data.size();
        data.resize(used + kBlock);
        const std::optional<std::size_t> n = source.Read(data.data() + used, kBlock);
        if (!n) return std::nullopt;
        data.resize(used + *n);
        if (*n == 0) return data;
    }
}

}  // namespace tavro
