#include "platform/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace tavro {
namespace {

class MemorySource : public ByteSource {
  public:
    MemorySource(const std::string& contents, bool failsReading, std::optional<std::uint64_t> size)
        : m_contents(contents), m_failsReading(failsReading), m_size(size) {}
    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min(capacity, m_contents.size() - m_position);
        if (n == 0 && m_failsReading) return std::nullopt;
        std::memcpy(buffer, m_contents.data() + m_position, n);
        m_position += n;
        return n;
    }
    std::optional<std::uint64_t> Size() const override { return m_size; }
    std::string Problem() const override { return m_failsReading ? "Input/output error" : ""; }

  private:
    const std::string& m_contents;
    bool m_failsReading;
    std::optional<std::uint64_t> m_size;
    std::size_t m_position = 0;
};

// Writes into a string owned by the file system; can stop half-way or fail to sync.
class MemorySink : public ByteSink {
  public:
    MemorySink(std::string& contents, bool shortWrite, bool failsSync)
        : m_contents(contents), m_shortWrite(shortWrite), m_failsSync(failsSync) {}
    bool Write(std::string_view bytes) override {
        if (m_shortWrite) {
            m_contents.append(bytes.substr(0, bytes.size() / 2));
            m_problem = "No space left on device";
            return false;
        }
        m_contents.append(bytes);
        return true;
    }
    bool Sync() override {
        if (m_failsSync) m_problem = "Input/output error";
        return !m_failsSync;
    }
    bool Close() override { return true; }
    std::string Problem() const override { return m_problem; }

  private:
    std::string& m_contents;
    bool m_shortWrite;
    bool m_failsSync;
    std::string m_problem;
};

}  // namespace

void MemoryFileSystem::Add(const std::string& path, std::string contents) {
    m_files[path] = {std::move(contents), std::nullopt};
}

void MemoryFileSystem::AddShrunk(const std::string& path, std::string contents,
                                 std::uint64_t reportedSize) {
    m_files[path] = {std::move(contents), reportedSize};
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
    if (const auto file = m_files.find(path); file != m_files.end()) return file->second.contents;
    if (const auto device = m_devices.find(path); device != m_devices.end()) return device->second;
    return std::nullopt;
}

std::vector<std::string> MemoryFileSystem::FilePaths() const {
    std::vector<std::string> paths;
    for (const auto& [path, file] : m_files) paths.push_back(path);
    return paths;
}

int MemoryFileSystem::OpenCount(const std::string& path) const {
    const auto found = m_opens.find(path);
    return found == m_opens.end() ? 0 : found->second;
}

OpenedSource MemoryFileSystem::OpenForRead(const std::string& path) {
    ++m_opens[path];
    const std::string target = FollowLinks(path);
    if (Fails(Failure::kOpen, path)) return {nullptr, "Permission denied"};
    if (m_folders.count(target) != 0) return {nullptr, "Is a directory"};
    const auto found = m_files.find(target);
    if (found == m_files.end()) return {nullptr, "No such file or directory"};
    const File& file = found->second;
    const std::uint64_t size = file.reportedSize.value_or(file.contents.size());
    return {std::make_unique<MemorySource>(file.contents, Fails(Failure::kRead, path), size), {}};
}

FileKind MemoryFileSystem::KindOf(const std::string& path) {
    const std::string target = FollowLinks(path);
    if (m_folders.count(target) != 0) return FileKind::kDirectory;
    if (m_devices.count(target) != 0) return FileKind::kOther;
    if (m_files.count(target) != 0) return FileKind::kRegular;
    return FileKind::kMissing;
}

std::string MemoryFileSystem::FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        const auto link = m_links.find(current);
        if (link == m_links.end()) break;
        current = link->second;
    }
    return current;
}

OpenedSink MemoryFileSystem::CreateTemporaryBeside(const std::string& target) {
    if (Fails(Failure::kOpen, target)) return {nullptr, {}, "Permission denied"};
    const std::string path = target + ".tmp" + std::to_string(++m_temporaries);
    std::string& contents = m_files[path].contents;
    return {std::make_unique<MemorySink>(contents, Fails(Failure::kShortWrite, target),
                                         Fails(Failure::kSync, target)),
            path,
            {}};
}

OpenedSink MemoryFileSystem::OpenExistingForWrite(const std::string& path) {
    const auto device = m_devices.find(path);
    if (Fails(Failure::kOpen, path) || device == m_devices.end()) {
        return {nullptr, path, "Permission denied"};
    }
    return {std::make_unique<MemorySink>(device->second, Fails(Failure::kShortWrite, path),
                                         Fails(Failure::kSync, path)),
            path,
            {}};
}

std::string MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
    if (Fails(Failure::kRename, to)) return "Permission denied";
    const auto found = m_files.find(from);
    if (found == m_files.end()) return "No such file or directory";
    File file = std::move(found->second);
    m_files.erase(found);
    m_files[to] = std::move(file);
    return {};
}

std::string MemoryFileSystem::SyncFolderOf(const std::string& path) {
    return Fails(Failure::kSyncFolder, path) ? "Input/output error" : "";
}

}  // namespace tavro
